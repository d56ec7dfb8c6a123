#pragma once
// The whole level in memory: every record list, the world-vertex array with its use counts, the
// resource name lists, the level's own files and the camera bookmarks. All cross references
// between records are zero-based indices into these lists, -1 meaning none.
//
// The container is archived member by member by the level archive; its own Serialize is empty.
// It is movable, so a loader can fill a fresh container and swap it in only on success.

#include "framework/Object.h"
#include "level/QzlAdjoin.h"
#include "level/QzlCog.h"
#include "level/QzlHeader.h"
#include "level/QzlMaterial.h"
#include "level/QzlSector.h"
#include "level/QzlSurface.h"
#include "level/QzlTemplate.h"
#include "level/QzlThing.h"
#include "level/UndoSnapshot.h"
#include "level/WorldVertex.h"
#include "math/Vector3.h"
#include "resources/Tree.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CQzlSections : public CObject {
    QZ_DECLARE_SERIAL(CQzlSections)

public:
    // Index of the world vertex at (x, y, z) of v: the first existing one closer than 0.0001,
    // whose use count goes up by one, or v appended with a use count of 1.
    int AddVertex(CWorldVertex v);
    int AddVertexXYZ(float x, float y, float z);

    // Sets the other sector and other surface of the mirror of every adjoin that a sector's
    // surface owns. Indices out of range are passed over.
    void LinkAdjoins();

    // The surface's corner positions without the corners that lie straight between their
    // neighbours. Empty when a corner names no world vertex.
    static void GetSurfacePoints(std::vector<CVector3>& points, const CQzlSurface& surface,
                                 const std::vector<CWorldVertex>& worldVertices);

    // Index of the material of that name (letter case ignored), appended when absent.
    int FindMaterial(std::string_view name);
    int FindDefaultMaterial();

    std::string m_gameTag;               // "QZ" after every archive load or store
    std::vector<std::string> m_notices;  // the "COPYRIGHT" lines
    CQzlHeader m_header;
    std::vector<std::string> m_sounds;
    std::vector<std::unique_ptr<CQzlMaterial>> m_materials;
    std::vector<std::string> m_colormaps;
    std::vector<CWorldVertex> m_worldVertices;
    std::vector<std::int32_t> m_useCounts;        // corners naming each world vertex
    std::vector<CWorldVertex> m_textureVertices;  // older files: u in extra[3], v in extra[4]
    std::vector<std::unique_ptr<CQzlAdjoin>> m_adjoins;
    std::vector<std::unique_ptr<CQzlSurface>> m_surfaces;
    std::vector<std::unique_ptr<CQzlSector>> m_sectors;
    std::vector<std::string> m_aiClasses;
    std::vector<std::string> m_models;
    std::vector<std::string> m_sprites;
    std::vector<std::string> m_keyframes;
    std::vector<std::string> m_puppets;
    std::vector<std::string> m_soundClasses;
    std::vector<std::string> m_cogScripts;
    std::vector<std::unique_ptr<CQzlCog>> m_cogs;
    std::vector<std::unique_ptr<CQzlTemplate>> m_templates;
    std::vector<std::unique_ptr<CQzlThing>> m_things;
    CTree m_levelFiles;
    std::vector<CWorldVertex> m_bookmarks;  // camera position, then two camera axes
    // Undo and redo snapshots, oldest first; never part of a file.
    std::vector<std::unique_ptr<CUndoSnapshot>> m_undoList;
    std::vector<std::unique_ptr<CUndoSnapshot>> m_redoList;
};
