// The generated benchmark levels must be sound levels: the benchmarks time real work on them.

#include "GridLevel.h"

#include "geometry/Predicates.h"
#include "geometry/SectorBounds.h"
#include "level/LevelValidator.h"

#include <gtest/gtest.h>

TEST(GridLevel, IsSoundAndWoundInward)
{
    for (int sectors : {1, 7, 12}) {
        SCOPED_TRACE(sectors);
        CQzlSections level;
        GenerateGridLevel(level, sectors);
        EXPECT_TRUE(ValidateLevel(level, {.checkUseCounts = true}).empty());
        ASSERT_EQ(level.m_sectors.size(), static_cast<std::size_t>(sectors));

        // Recomputing every plane keeps the stored normals, and they point into their sectors.
        std::vector<CVector3> stored;
        for (const auto& s : level.m_surfaces)
            stored.push_back(s->m_normal);
        for (std::size_t i = 0; i < level.m_surfaces.size(); ++i)
            CalcSurfacePlane(level, static_cast<int>(i));
        for (std::size_t i = 0; i < level.m_surfaces.size(); ++i)
            EXPECT_EQ(level.m_surfaces[i]->m_normal, stored[i]) << "surface " << i;
        UpdateSectorBounds(level);
        for (std::size_t s = 0; s < level.m_sectors.size(); ++s)
            EXPECT_TRUE(
                PointInSector(level, static_cast<int>(s), level.m_sectors[s]->m_center, 0.0f))
                << "sector " << s;
    }
}
