#include "math/LitVertex.h"

namespace {

constexpr D3DLVERTEX Corner(float x, float y, float z)
{
    return MakeLitVertex(CVector3(x, y, z), 0u, 0u, 0.0f, 0.0f);
}

constexpr std::array<D3DLVERTEX, 8> kCubeCorners{
    Corner(-1.0f, -1.0f, -1.0f), Corner(-1.0f, -1.0f, 1.0f), Corner(1.0f, -1.0f, 1.0f),
    Corner(1.0f, -1.0f, -1.0f),  Corner(-1.0f, 1.0f, -1.0f), Corner(-1.0f, 1.0f, 1.0f),
    Corner(1.0f, 1.0f, 1.0f),    Corner(1.0f, 1.0f, -1.0f),
};

}  // namespace

const std::array<D3DLVERTEX, 8>& CubeCorners()
{
    return kCubeCorners;
}
