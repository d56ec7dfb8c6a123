// The generated benchmark levels must be sound levels: the benchmarks time real work on them.

#include "GridLevel.h"

#include "geometry/Predicates.h"
#include "geometry/SectorBounds.h"
#include "level/LevelValidator.h"

#include <gtest/gtest.h>

namespace {

// Adjoin records of the shared-vertex grid of the same count (both sides of each joined wall).
std::size_t GridAdjoinCount(int sectors)
{
    CQzlSections level;
    GenerateGridLevel(level, sectors);
    return level.m_adjoins.size();
}

}  // namespace

TEST(GridLevel, IsSoundAndWoundInward)
{
    for (const EGridVertices vertices : {EGridVertices::shared, EGridVertices::ownPerBox})
        for (int sectors : {1, 7, 12}) {
            SCOPED_TRACE(sectors);
            CQzlSections level;
            GenerateGridLevel(level, sectors, vertices);
            EXPECT_TRUE(ValidateLevel(level, {.checkUseCounts = true}).empty());
            ASSERT_EQ(level.m_sectors.size(), static_cast<std::size_t>(sectors));
            if (vertices == EGridVertices::ownPerBox) {
                // Eight corners of its own for every box, each used by three of its faces.
                EXPECT_EQ(level.m_worldVertices.size(), static_cast<std::size_t>(sectors) * 8);
                for (const int uses : level.m_useCounts)
                    EXPECT_EQ(uses, 3);
                EXPECT_EQ(level.m_adjoins.size(), GridAdjoinCount(sectors));
            }

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
