#pragma once
// One flat polygon of a sector: material, flags, adjoin, its corners in winding order, the normal,
// the texture-fitting parameters, and the render data that the 3D view keeps with it.

#include "framework/Object.h"
#include "level/QzlVertex.h"
#include "math/BoundingBox.h"
#include "math/LitVertex.h"
#include "math/Vector3.h"

#include <cstdint>
#include <vector>

class CTexture;  // the 3D view's texture object

class CQzlSurface : public CObject {
    QZ_DECLARE_SERIAL(CQzlSurface)

public:
    CQzlSurface() = default;
    // Copies every field except the corners, the render arrays, the render index (-1) and the
    // spare words (0). With copyCorners each corner is copied as a new corner (unmarked), in
    // source order, or in opposite winding when reverse is set. The adjoin is copied as it is.
    CQzlSurface(const CQzlSurface& source, bool copyCorners, bool reverse);
    CQzlSurface(const CQzlSurface&) = delete;
    CQzlSurface& operator=(const CQzlSurface&) = delete;
    CQzlSurface(CQzlSurface&&) noexcept = default;
    CQzlSurface& operator=(CQzlSurface&&) noexcept = default;
    ~CQzlSurface() override = default;

    void Serialize(CArchive& ar) override;

    std::int32_t m_material = -1;
    std::uint32_t m_surfaceFlags = 0;
    std::uint32_t m_faceFlags = 0;
    std::int32_t m_geo = 0;
    std::int32_t m_light = 0;
    std::int32_t m_tex = 0;
    std::int32_t m_adjoin = -1;
    float m_extraLight = 0.0f;
    std::vector<CQzlVertex> m_vertices;  // corners in winding order
    CVector3 m_normal;

    // Render data of the 3D view; never stored.
    float m_textureWidth = 768.0f;
    float m_textureHeight = 768.0f;
    float m_xTile = 1.0f;
    float m_yTile = 1.0f;
    float m_plane[4] = {};  // a, b, c, d with (a, b, c) = minus the normal
    CBoundingBox m_box;
    CTexture* m_texture = nullptr;             // not owned
    std::vector<D3DLVERTEX> m_renderVertices;  // one lit vertex per corner
    std::int32_t m_renderIndex = -1;
    std::vector<CVector3> m_renderPoints;

    // Texture fitting.
    std::int32_t m_startVertex = 0;
    float m_angle = 0.0f;
    float m_uOffset = 0.0f;
    float m_vOffset = 0.0f;
    float m_uScale = 320.0f;
    float m_vScale = 320.0f;
    std::int32_t m_spare[2] = {};  // not copied, not stored
    std::int32_t m_mirror = 0;     // not stored

    // Walk mode; never stored, reset by every set-up and tear-down of walk mode.
    std::int32_t m_triggeredThing = -1;  // the mover this surface switches when touched
    float m_scrollU = 0.0f;              // texture scroll speeds, added once per drawn frame
    float m_scrollV = 0.0f;
};
