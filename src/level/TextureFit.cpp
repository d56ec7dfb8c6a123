#include "level/TextureFit.h"

#include "level/QzlSections.h"
#include "math/Rounding.h"

#include <cmath>
#include <cstddef>

namespace {

struct CPoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

CPoint Sub(const CPoint& a, const CPoint& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

// p / length, component by component.
CPoint Unit(const CPoint& p, double length)
{
    return {p.x / length, p.y / length, p.z / length};
}

double Length(const CPoint& p)
{
    return std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
}

double Dot(const CPoint& a, const CPoint& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

}  // namespace

void ComputeTextureCoords(CQzlSections& level, int surface, int startVertex, float angle,
                          float uScale, float vScale, float uOffset, float vOffset, int mirror)
{
    if (surface < 0 || static_cast<std::size_t>(surface) >= level.m_surfaces.size())
        return;
    ComputeTextureCoords(level.m_worldVertices,
                         *level.m_surfaces[static_cast<std::size_t>(surface)], startVertex, angle,
                         uScale, vScale, uOffset, vOffset, mirror);
}

void ComputeTextureCoords(const std::vector<CWorldVertex>& worldVertices, CQzlSurface& surface,
                          int startVertex, float angle, float uScale, float vScale, float uOffset,
                          float vOffset, int mirror)
{
    std::vector<CQzlVertex>& corners = surface.m_vertices;
    const std::size_t n = corners.size();
    if (startVertex < 0 || static_cast<std::size_t>(startVertex) >= n)
        return;

    std::vector<CPoint> points(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::int32_t w = corners[i].m_worldVertex;
        if (w < 0 || static_cast<std::size_t>(w) >= worldVertices.size())
            return;
        const CWorldVertex& v = worldVertices[static_cast<std::size_t>(w)];
        points[i] = {static_cast<double>(v.x), static_cast<double>(v.y), static_cast<double>(v.z)};
    }

    const std::size_t start = static_cast<std::size_t>(startVertex);
    const CPoint& S = points[start];
    const CPoint toPrevious = Sub(points[start == 0 ? n - 1 : start - 1], S);
    const double previousLength = Length(toPrevious);
    const CPoint previousUnit = previousLength > 0.0 ? Unit(toPrevious, previousLength) : CPoint{};
    const double theta = static_cast<double>(angle) * 3.1415927 / 180.0;

    // Visiting order: the start corner, then backwards round the surface.
    std::vector<std::size_t> order(n);
    for (std::size_t k = 0; k < n; ++k)
        order[k] = (start + n - k) % n;

    std::vector<double> U(n);
    std::vector<double> V(n);
    for (const std::size_t i : order) {
        const CPoint d = Sub(points[i], S);
        const double L = Length(d);
        double along = 0.0;
        double across = 0.0;
        if (L > 0.0) {
            // A corner before the start that coincides with it gives no direction: everything is
            // then measured across.
            double c = previousLength > 0.0 ? Dot(Unit(d, L), previousUnit) : 0.0;
            if (mirror != 0)
                c = -c;
            if (std::fabs(c) < 1e-6)
                c = 0.0;
            along = c * L;
            // Rounding can make |along| exceed L by a hair; that is no distance across.
            if (std::fabs(L - along) < 1e-9 || L < along)
                across = 0.0;
            else
                across = std::sqrt(std::fmax(0.0, L * L - along * along));
        }
        U[i] = static_cast<double>(uScale) * across;
        V[i] = static_cast<double>(vScale) * along;
    }

    const double U0 = U[start];
    const double V0 = V[start];
    float umin = 0.0f;
    float vmin = 0.0f;
    for (const std::size_t i : order) {
        const double du = U[i] - U0;
        const double dv = V[i] - V0;
        const double phi = std::atan2(dv, du);
        const double r = std::sqrt(du * du + dv * dv);
        CQzlVertex& corner = corners[i];
        corner.m_u = static_cast<float>(std::cos(phi + theta) * r + static_cast<double>(uOffset));
        corner.m_v = static_cast<float>(std::sin(phi + theta) * r + static_cast<double>(vOffset));
        umin = std::fmin(umin, corner.m_u);
        vmin = std::fmin(vmin, corner.m_v);
    }

    RoundToThousandth(umin, vmin);
    const double shiftU = WholeSizeShift(umin, surface.m_textureWidth, false);
    const double shiftV = WholeSizeShift(vmin, surface.m_textureHeight, false);
    for (const std::size_t i : order) {
        CQzlVertex& corner = corners[i];
        corner.m_u = static_cast<float>(static_cast<double>(corner.m_u) + shiftU);
        corner.m_v = static_cast<float>(static_cast<double>(corner.m_v) + shiftV);
        RoundToThousandth(corner.m_u, corner.m_v);
    }
}
