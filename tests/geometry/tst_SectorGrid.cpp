#include "geometry/Predicates.h"
#include "geometry/SectorGrid.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

// The sectors PointInBox accepts, by asking every sector.
std::vector<std::int32_t> BoxesHolding(const CQzlSections& level, const CVector3& p)
{
    std::vector<std::int32_t> list;
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s)
        if (PointInBox(level.m_sectors[s]->m_boundBox, p))
            list.push_back(static_cast<std::int32_t>(s));
    return list;
}

// Whether every entry of sub is in list (both ascending).
bool Within(const std::vector<std::int32_t>& sub, const std::vector<std::int32_t>& list)
{
    return std::includes(list.begin(), list.end(), sub.begin(), sub.end());
}

}  // namespace

// The grid never leaves out a sector whose box holds the point, and lists in ascending order:
// boxes of many sizes (one spanning the level), a flat row, coordinates far from the origin, a
// box that is not a number, points on box faces, outside the level and not a number.
TEST(SectorGrid, ListsEverySectorWhoseBoxHoldsThePoint)
{
    CQzlSections level = MakeEmptyLevel();
    std::mt19937 random(7);
    std::uniform_real_distribution<float> place(-50.0f, 50.0f);
    std::uniform_real_distribution<float> size(0.01f, 6.0f);
    for (int i = 0; i < 300; ++i) {
        const CVector3 lo{place(random), place(random) / 10.0f, place(random)};
        AddBoxSector(level, lo, lo + CVector3{size(random), size(random), size(random)});
    }
    AddBoxSector(level, {-60.0f, -10.0f, -60.0f}, {60.0f, 10.0f, 60.0f});
    for (int i = 0; i < 20; ++i)
        AddBoxSector(level, {100000.0f + static_cast<float>(i), 0.0f, 0.0f},
                     {100001.0f + static_cast<float>(i), 1.0f, 1.0f});
    FinishFixture(level);
    level.m_sectors[5]->m_boundBox.max.x = std::numeric_limits<float>::quiet_NaN();

    const CSectorGrid grid(level);
    std::vector<CVector3> points;
    for (int i = 0; i < 3000; ++i)
        points.push_back({place(random) * 1.3f, place(random) / 8.0f, place(random) * 1.3f});
    for (const auto& sector : level.m_sectors) {
        points.push_back(sector->m_boundBox.min);
        points.push_back(sector->m_boundBox.max);
    }
    points.push_back({1e30f, 0.0f, 0.0f});
    points.push_back({std::numeric_limits<float>::quiet_NaN(), 0.0f, 0.0f});
    std::vector<std::int32_t> candidates;
    for (const CVector3& p : points) {
        grid.Candidates(p, candidates);
        EXPECT_TRUE(std::is_sorted(candidates.begin(), candidates.end()));
        EXPECT_TRUE(Within(BoxesHolding(level, p), candidates)) << p.x << " " << p.y << " " << p.z;
    }
    // A point among the far row is asked of that row and the box that is not a number, of none
    // of the 301 sectors around the origin.
    grid.Candidates({100000.5f, 0.5f, 0.5f}, candidates);
    EXPECT_LE(candidates.size(), 21u);
    EXPECT_TRUE(std::ranges::none_of(candidates, [](std::int32_t s) { return s < 301 && s != 5; }));
}

TEST(SectorGrid, AnEmptyLevelListsNothing)
{
    const CQzlSections level = MakeEmptyLevel();
    const CSectorGrid grid(level);
    std::vector<std::int32_t> candidates{3};
    grid.Candidates({0.0f, 0.0f, 0.0f}, candidates);
    EXPECT_TRUE(candidates.empty());
}
