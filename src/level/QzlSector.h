#pragma once
// One convex cell of the level: flags, light, colour map, sound, boxes, its surfaces, the sorted
// set of sectors visible from it, and its group name.

#include "framework/Object.h"
#include "math/BoundingBox.h"
#include "math/Vector3.h"

#include <cstdint>
#include <string>
#include <vector>

class CQzlSector : public CObject {
    QZ_DECLARE_SERIAL(CQzlSector)

public:
    void Serialize(CArchive& ar) override;

    // Binary search of the visible set: 1 with the value's position when present, else 0 with the
    // position where it would be inserted (the first element greater than value).
    int FindSortedIndex(std::int32_t value, int& position) const;
    // Inserts value into the visible set unless present; returns its position.
    int InsertSortedIndex(std::int32_t value);

    std::int32_t m_number = 0;
    std::uint32_t m_flags = 0;    // bit 0x1000: the text writer emits the collide box
    std::int32_t m_colormap = 0;  // index into the level's colour-map names
    float m_ambientLight = 0.0f;
    float m_extraLight = 0.0f;
    float m_tint[3] = {};
    CBoundingBox m_boundBox;
    CBoundingBox m_collideBox;
    std::int32_t m_sound = -1;  // index into the level's sound names
    float m_soundVolume = 0.0f;
    CVector3 m_center;
    float m_radius = 0.0f;
    std::vector<std::int32_t> m_surfaces;
    std::vector<std::int32_t> m_visible;  // sorted, distinct; not stored
    std::string m_groupName = "Default";
    std::int32_t m_runtime[3] = {};  // not stored; [2] is the visiting flag of visibility
    // Not stored: a stamp of the render vertices of the sector's surfaces, new at every change of
    // them (engine/RenderData.h MarkSectorChanged); 0 for vertices the render data never built.
    std::uint64_t m_renderVersion = 0;
};
