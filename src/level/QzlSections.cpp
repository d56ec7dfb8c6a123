#include "level/QzlSections.h"

#include "framework/StringUtil.h"

#include <cmath>

QZ_IMPLEMENT_SERIAL(CQzlSections, 2)

int CQzlSections::AddVertex(CWorldVertex v)
{
    // A level just read carries no use counts yet; never count past the end of the list.
    if (m_useCounts.size() < m_worldVertices.size())
        m_useCounts.resize(m_worldVertices.size(), 0);

    for (std::size_t i = 0; i < m_worldVertices.size(); ++i) {
        const CWorldVertex& w = m_worldVertices[i];
        const float dx = w.x - v.x;
        const float dy = w.y - v.y;
        const float dz = w.z - v.z;
        if (std::sqrt(dx * dx + dy * dy + dz * dz) < 0.0001f) {
            ++m_useCounts[i];
            return static_cast<int>(i);
        }
    }

    const std::size_t index = m_worldVertices.size();
    m_useCounts.resize(index + 1);
    m_useCounts[index] = 1;
    m_worldVertices.push_back(v);
    return static_cast<int>(index);
}

int CQzlSections::AddVertexXYZ(float x, float y, float z)
{
    CWorldVertex v;
    v.x = x;
    v.y = y;
    v.z = z;
    return AddVertex(v);
}

void CQzlSections::LinkAdjoins()
{
    const auto valid = [](std::int32_t index, std::size_t size) {
        return index >= 0 && static_cast<std::size_t>(index) < size;
    };
    for (std::size_t s = 0; s < m_sectors.size(); ++s) {
        for (const std::int32_t f : m_sectors[s]->m_surfaces) {
            if (!valid(f, m_surfaces.size()))
                continue;
            const std::int32_t a = m_surfaces[static_cast<std::size_t>(f)]->m_adjoin;
            if (!valid(a, m_adjoins.size()))
                continue;
            const std::int32_t m = m_adjoins[static_cast<std::size_t>(a)]->m_mirror;
            if (!valid(m, m_adjoins.size()))
                continue;
            CQzlAdjoin& mirror = *m_adjoins[static_cast<std::size_t>(m)];
            mirror.m_otherSector = static_cast<std::int32_t>(s);
            mirror.m_otherSurface = f;
        }
    }
}

void CQzlSections::GetSurfacePoints(std::vector<CVector3>& points, const CQzlSurface& surface,
                                    const std::vector<CWorldVertex>& worldVertices)
{
    points.clear();
    const std::size_t n = surface.m_vertices.size();
    std::vector<CVector3> corners;
    corners.reserve(n);
    for (const CQzlVertex& corner : surface.m_vertices) {
        const std::int32_t w = corner.m_worldVertex;
        if (w < 0 || static_cast<std::size_t>(w) >= worldVertices.size())
            return;
        const CWorldVertex& wv = worldVertices[static_cast<std::size_t>(w)];
        corners.emplace_back(wv.x, wv.y, wv.z);
    }

    for (std::size_t i = 0; i < n; ++i) {
        const CVector3& p = corners[i == 0 ? n - 1 : i - 1];
        const CVector3& c = corners[i];
        const CVector3& next = corners[(i + 1) % n];
        const CDVector3 d1 = NormalizeVector(c - p);
        const CDVector3 d2 = NormalizeVector(next - c);
        if (DotProduct(d1, d2) < 0.999)
            points.push_back(c);
    }
}

int CQzlSections::FindMaterial(std::string_view name)
{
    for (std::size_t i = 0; i < m_materials.size(); ++i) {
        if (m_materials[i] && EqualsNoCase(m_materials[i]->m_name, name))
            return static_cast<int>(i);
    }
    m_materials.push_back(std::make_unique<CQzlMaterial>(std::string(name)));
    return static_cast<int>(m_materials.size() - 1);
}

int CQzlSections::FindDefaultMaterial()
{
    return FindMaterial("dflt.mat");
}
