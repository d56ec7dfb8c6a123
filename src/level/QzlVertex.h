#pragma once
// One corner of a surface: world-vertex index, light intensities and texture coordinates.

#include "framework/Object.h"

#include <cstdint>

class CQzlVertex : public CObject {
    QZ_DECLARE_SERIAL(CQzlVertex)

public:
    CQzlVertex() = default;
    // A copy is a new corner: everything is copied except the mark (0) and the spare index (-1).
    CQzlVertex(const CQzlVertex& other);
    CQzlVertex& operator=(const CQzlVertex& other);
    // Moving keeps every field, so corner lists can grow and be reordered without losing marks.
    CQzlVertex(CQzlVertex&&) noexcept = default;
    CQzlVertex& operator=(CQzlVertex&&) noexcept = default;
    ~CQzlVertex() override = default;

    void Serialize(CArchive& ar) override;

    std::int32_t m_worldVertex = 0;
    std::int32_t m_textureVertex = 0;  // older files only; converted to u, v on load
    float m_intensity[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float m_u = 0.0f;
    float m_v = 0.0f;
    std::int32_t m_marked = 0;       // multi-selection mark of editing operations; not stored
    std::int32_t m_spareIndex = -1;  // not stored
};
