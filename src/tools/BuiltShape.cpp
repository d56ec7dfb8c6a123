#include "tools/BuiltShape.h"

#include "framework/Indices.h"
#include "level/QzlSections.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <map>
#include <utility>

namespace {

constexpr double kSamePoint = 1e-4;
constexpr double kOnPlane = 1e-4;

struct CPoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

CPoint operator-(const CPoint& a, const CPoint& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double Dot(const CPoint& a, const CPoint& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
double Length(const CPoint& a)
{
    return std::sqrt(Dot(a, a));
}

// One sector's corners, each point once: world vertex index -> point index.
class CSectorPoints {
public:
    int Add(const CPoint& p)
    {
        for (std::size_t i = 0; i < m_points.size(); ++i)
            if (Length(m_points[i] - p) < kSamePoint)
                return static_cast<int>(i);
        m_points.push_back(p);
        return static_cast<int>(m_points.size()) - 1;
    }
    const std::vector<CPoint>& Points() const { return m_points; }

private:
    std::vector<CPoint> m_points;
};

bool SectorIsSound(const CQzlSections& level, const CQzlSector& sector)
{
    if (sector.m_surfaces.empty())
        return false;
    CSectorPoints points;
    std::vector<std::vector<int>> faces;
    for (const std::int32_t f : sector.m_surfaces) {
        if (!InRange(level.m_surfaces, f))
            return false;
        std::vector<int> face;
        for (const CQzlVertex& corner : At(level.m_surfaces, f)->m_vertices) {
            if (!InRange(level.m_worldVertices, corner.m_worldVertex))
                return false;
            const CWorldVertex& v = At(level.m_worldVertices, corner.m_worldVertex);
            face.push_back(points.Add({v.x, v.y, v.z}));
        }
        if (face.size() < 3)
            return false;
        faces.push_back(std::move(face));
    }
    const std::vector<CPoint>& p = points.Points();

    for (const std::vector<int>& face : faces) {
        // Newell's normal and the middle of the corners.
        CPoint normal;
        CPoint middle;
        for (std::size_t i = 0; i < face.size(); ++i) {
            const CPoint& a = p[static_cast<std::size_t>(face[i])];
            const CPoint& b = p[static_cast<std::size_t>(face[(i + 1) % face.size()])];
            normal = {normal.x + (a.y - b.y) * (a.z + b.z), normal.y + (a.z - b.z) * (a.x + b.x),
                      normal.z + (a.x - b.x) * (a.y + b.y)};
            middle = {middle.x + a.x, middle.y + a.y, middle.z + a.z};
        }
        const double length = Length(normal);
        if (length < 1e-12)
            return false;
        normal = {normal.x / length, normal.y / length, normal.z / length};
        const auto n = static_cast<double>(face.size());
        middle = {middle.x / n, middle.y / n, middle.z / n};
        for (const int c : face)
            if (std::fabs(Dot(normal, p[static_cast<std::size_t>(c)] - middle)) > kOnPlane)
                return false;
        bool front = false;
        bool back = false;
        for (const CPoint& q : p) {
            const double d = Dot(normal, q - middle);
            front = front || d > kOnPlane;
            back = back || d < -kOnPlane;
        }
        if (front && back)
            return false;
    }

    // Every edge, cut at the sector's points on it, once each way.
    std::map<std::pair<int, int>, int> uses;
    for (const std::vector<int>& face : faces) {
        for (std::size_t i = 0; i < face.size(); ++i) {
            const int a = face[i];
            const int b = face[(i + 1) % face.size()];
            if (a == b)
                return false;
            const CPoint& pa = p[static_cast<std::size_t>(a)];
            const CPoint ab = p[static_cast<std::size_t>(b)] - pa;
            const double length2 = Dot(ab, ab);
            std::vector<std::pair<double, int>> cuts;
            for (std::size_t c = 0; c < p.size(); ++c) {
                if (static_cast<int>(c) == a || static_cast<int>(c) == b)
                    continue;
                const CPoint ac = p[c] - pa;
                const double t = Dot(ac, ab) / length2;
                const CPoint off{ac.x - ab.x * t, ac.y - ab.y * t, ac.z - ab.z * t};
                if (t > 0.0 && t < 1.0 && Length(off) < kOnPlane)
                    cuts.emplace_back(t, static_cast<int>(c));
            }
            std::sort(cuts.begin(), cuts.end());
            int from = a;
            for (const auto& cut : cuts) {
                ++uses[{from, cut.second}];
                from = cut.second;
            }
            ++uses[{from, b}];
        }
    }
    for (const auto& [edge, forward] : uses) {
        const auto back = uses.find({edge.second, edge.first});
        if (forward != 1 || back == uses.end() || back->second != 1)
            return false;
    }
    return true;
}

}  // namespace

std::vector<std::int32_t> SectorsAndNeighbours(const CQzlSections& level,
                                               const std::vector<std::int32_t>& sectors)
{
    std::vector<std::int32_t> all;
    for (const std::int32_t s : sectors) {
        if (!InRange(level.m_sectors, s))
            continue;
        all.push_back(s);
        for (const std::int32_t f : At(level.m_sectors, s)->m_surfaces) {
            if (!InRange(level.m_surfaces, f))
                continue;
            const std::int32_t a = At(level.m_surfaces, f)->m_adjoin;
            if (InRange(level.m_adjoins, a) &&
                InRange(level.m_sectors, At(level.m_adjoins, a)->m_otherSector))
                all.push_back(At(level.m_adjoins, a)->m_otherSector);
        }
    }
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    return all;
}

CSoundnessCheck::CSoundnessCheck(const CQzlSections& level, std::int32_t sector)
{
    for (const std::int32_t s : SectorsAndNeighbours(level, {sector})) {
        const CQzlSector* record = At(level.m_sectors, s).get();
        if (!SectorIsSound(level, *record)) {
            m_unsound.push_back(record);
            m_startSound = m_startSound && s != sector;
        }
    }
}

bool CSoundnessCheck::Holds(const CQzlSections& level,
                            const std::vector<std::int32_t>& sectors) const
{
    if (!m_startSound)
        return true;
    return std::all_of(sectors.begin(), sectors.end(), [&](std::int32_t s) {
        if (!InRange(level.m_sectors, s))
            return false;
        const CQzlSector* record = At(level.m_sectors, s).get();
        return std::find(m_unsound.begin(), m_unsound.end(), record) != m_unsound.end() ||
               SectorIsSound(level, *record);
    });
}
