#pragma once
// One undo or redo step: the level's editable records in the archive's object form, with the
// engine's selection and camera at the moment it was taken.
//
// The level part holds every stored member that an undoable edit can change: the materials,
// adjoins, surfaces, sectors, things and cogs, the world and texture vertices, the cog-script
// names, the templates and the other resource name lists (sounds, colour maps, AI classes,
// models, sprites, keyframes, puppets, sound classes; rebuilding the resource lists rewrites
// them) and the header (the Header dialog's OK is undoable). The notice lines, the level's own
// files and the camera bookmarks change only by edits that cannot be undone; they are not in it
// and stay as they are across undo and redo. Snapshots are never written to a file.

#include "math/Vector3.h"

#include <cstdint>
#include <span>
#include <vector>

class CQzlSections;

class CUndoSnapshot {
public:
    // Serialises the level part of level into m_bytes.
    void StoreLevel(const CQzlSections& level);
    // Replaces the level part of level by the one in m_bytes. Throws CArchiveException when the
    // bytes do not read back; level is then unchanged. The use counts are left to the caller.
    void LoadLevel(CQzlSections& level) const;

    std::vector<std::uint8_t> m_bytes;  // the serialised records; its size is the length

    // Engine selection, -1 = none.
    std::int32_t m_currentSector = -1;
    std::int32_t m_currentSurface = -1;
    std::int32_t m_currentThing = -1;
    std::int32_t m_currentVertex = -1;  // corner index within its surface
    std::int32_t m_vertexSurface = -1;

    // Camera: position, forward axis (the first axis), up axis (the second).
    CVector3 m_cameraPosition;
    CVector3 m_cameraAxis1;
    CVector3 m_cameraAxis2;
};
