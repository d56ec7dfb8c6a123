#pragma once
// The Direct3D 7 lit vertex (D3DFVF_LVERTEX) and the fixed table of the eight corners of the cube
// of half-size 1.

#include <array>
#include <cstdint>

#include "math/Vector3.h"

struct D3DLVERTEX {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    std::uint32_t reserved = 0;  // always 0
    std::uint32_t color = 0;     // ARGB 0xAARRGGBB
    std::uint32_t specular = 0;  // ARGB 0xAARRGGBB
    float tu = 0.0f;
    float tv = 0.0f;

    friend constexpr bool operator==(const D3DLVERTEX&, const D3DLVERTEX&) = default;
};
static_assert(sizeof(D3DLVERTEX) == 32);

// The D3DLVERTEX constructor: position, colour, specular, u and v; the reserved word is 0.
[[nodiscard]] constexpr D3DLVERTEX MakeLitVertex(const CVector3& pos, std::uint32_t color,
                                                 std::uint32_t specular, float tu, float tv)
{
    return D3DLVERTEX{pos.x, pos.y, pos.z, 0u, color, specular, tu, tv};
}

// The eight corners of the cube from (-1,-1,-1) to (1,1,1): the bottom square (y = -1) in the
// order (-1,-1), (-1,1), (1,1), (1,-1) of (x, z), then the top square (y = 1) in the same order.
// Colour, specular, u and v are all 0.
[[nodiscard]] const std::array<D3DLVERTEX, 8>& CubeCorners();
