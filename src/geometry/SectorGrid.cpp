#include "geometry/SectorGrid.h"

#include "level/QzlSections.h"
#include "math/BoundingBox.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>

namespace {

// Wider than PointInBox's slack, so that rounding never leaves a box out of a cell it reaches.
constexpr double kSlack = 0.001;
// A sector whose box covers more cells than this is asked for every point instead.
constexpr std::int64_t kMaxCellsPerSector = 64;

bool FiniteAndOrdered(const CBoundingBox& box)
{
    return IsFinite(box) && box.min.x <= box.max.x && box.min.y <= box.max.y &&
           box.min.z <= box.max.z;
}

double Axis(const CVector3& v, int axis)
{
    return static_cast<double>(axis == 0 ? v.x : axis == 1 ? v.y : v.z);
}

}  // namespace

CSectorGrid::CSectorGrid(const CQzlSections& level)
{
    const std::size_t n = level.m_sectors.size();
    std::vector<char> finite(n, 0);
    double lo[3] = {0, 0, 0};
    double hi[3] = {0, 0, 0};
    bool any = false;
    for (std::size_t s = 0; s < n; ++s) {
        const CQzlSector* sector = level.m_sectors[s].get();
        if (sector == nullptr || !FiniteAndOrdered(sector->m_boundBox))
            continue;
        finite[s] = 1;
        for (int a = 0; a < 3; ++a) {
            const double bmin = Axis(sector->m_boundBox.min, a);
            const double bmax = Axis(sector->m_boundBox.max, a);
            lo[a] = any ? std::min(lo[a], bmin) : bmin;
            hi[a] = any ? std::max(hi[a], bmax) : bmax;
        }
        any = true;
    }

    // About one cell per sector, cubes over the level's box (a flat level gets one layer).
    double extent[3];
    double volume = 1.0;
    int axes = 0;
    for (int a = 0; a < 3; ++a) {
        lo[a] -= kSlack;
        hi[a] += kSlack;
        extent[a] = hi[a] - lo[a];
        if (extent[a] > 4 * kSlack) {
            volume *= extent[a];
            ++axes;
        }
    }
    const double target = std::max<double>(1.0, static_cast<double>(n));
    const double size =
        axes == 0 ? 1.0 : std::pow(volume / target, 1.0 / static_cast<double>(axes));
    std::int64_t total = 1;
    for (int a = 0; a < 3; ++a) {
        double cells = std::ceil(extent[a] / size);
        if (!std::isfinite(cells) || cells < 1.0)
            cells = 1.0;
        m_cells[a] = std::min<std::int64_t>(static_cast<std::int64_t>(cells), 1 << 12);
        total *= m_cells[a];
    }
    while (total > static_cast<std::int64_t>(4 * n + 64)) {
        // Never more cells than a few per sector, whatever the shape of the level.
        total = 1;
        for (std::int64_t& c : m_cells) {
            c = std::max<std::int64_t>(1, c / 2);
            total *= c;
        }
    }
    for (int a = 0; a < 3; ++a) {
        m_origin[a] = lo[a];
        m_cellSize[a] = extent[a] / static_cast<double>(m_cells[a]);
    }

    // The cell range of each sector's box; counted first, then filled in index order.
    struct CRange {
        std::int64_t from[3];
        std::int64_t to[3];
    };
    std::vector<CRange> ranges(n);
    std::vector<char> gridded(n, 0);
    std::vector<std::int32_t> counts(static_cast<std::size_t>(total) + 1, 0);
    for (std::size_t s = 0; s < n; ++s) {
        if (finite[s] == 0) {
            if (level.m_sectors[s] != nullptr)
                m_everywhere.push_back(static_cast<std::int32_t>(s));
            continue;
        }
        const CBoundingBox& box = level.m_sectors[s]->m_boundBox;
        CRange& r = ranges[s];
        std::int64_t cover = 1;
        for (int a = 0; a < 3; ++a) {
            const auto index = [&](double v) {
                const double c = std::floor((v - m_origin[a]) / m_cellSize[a]);
                return std::clamp<std::int64_t>(static_cast<std::int64_t>(c), 0, m_cells[a] - 1);
            };
            r.from[a] = index(Axis(box.min, a) - kSlack);
            r.to[a] = index(Axis(box.max, a) + kSlack);
            cover *= r.to[a] - r.from[a] + 1;
        }
        if (cover > kMaxCellsPerSector) {
            m_everywhere.push_back(static_cast<std::int32_t>(s));
            continue;
        }
        gridded[s] = 1;
        for (std::int64_t z = r.from[2]; z <= r.to[2]; ++z)
            for (std::int64_t y = r.from[1]; y <= r.to[1]; ++y)
                for (std::int64_t x = r.from[0]; x <= r.to[0]; ++x)
                    ++counts[static_cast<std::size_t>((z * m_cells[1] + y) * m_cells[0] + x)];
    }
    m_start.assign(static_cast<std::size_t>(total) + 1, 0);
    for (std::size_t c = 0; c < static_cast<std::size_t>(total); ++c)
        m_start[c + 1] = m_start[c] + counts[c];
    m_items.resize(static_cast<std::size_t>(m_start.back()));
    std::vector<std::int32_t> fill(m_start.begin(), m_start.end() - 1);
    for (std::size_t s = 0; s < n; ++s) {
        if (gridded[s] == 0)
            continue;
        const CRange& r = ranges[s];
        for (std::int64_t z = r.from[2]; z <= r.to[2]; ++z)
            for (std::int64_t y = r.from[1]; y <= r.to[1]; ++y)
                for (std::int64_t x = r.from[0]; x <= r.to[0]; ++x)
                    m_items[static_cast<std::size_t>(
                        fill[static_cast<std::size_t>((z * m_cells[1] + y) * m_cells[0] + x)]++)] =
                        static_cast<std::int32_t>(s);
    }
}

bool CSectorGrid::CellOf(const CVector3& p, std::int64_t& cell) const
{
    std::int64_t index[3];
    for (int a = 0; a < 3; ++a) {
        const double c = std::floor((Axis(p, a) - m_origin[a]) / m_cellSize[a]);
        if (!(c >= 0.0) || c >= static_cast<double>(m_cells[a]))
            return false;  // outside the grid (or not a number): no gridded box holds it
        index[a] = static_cast<std::int64_t>(c);
    }
    cell = (index[2] * m_cells[1] + index[1]) * m_cells[0] + index[0];
    return true;
}

void CSectorGrid::Candidates(const CVector3& p, std::vector<std::int32_t>& out) const
{
    out.clear();
    std::int64_t cell = 0;
    if (!CellOf(p, cell)) {
        out = m_everywhere;
        return;
    }
    const auto first = m_items.begin() + m_start[static_cast<std::size_t>(cell)];
    const auto last = m_items.begin() + m_start[static_cast<std::size_t>(cell) + 1];
    std::merge(first, last, m_everywhere.begin(), m_everywhere.end(), std::back_inserter(out));
}
