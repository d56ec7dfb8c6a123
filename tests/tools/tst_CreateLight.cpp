// Create Light: the intensities of a colour, where the light stands, flat and distance-dependent
// painting over two joined rooms and a room they cannot see, the refusals that leave the level
// alone, one undo step per Apply that changed something, and the modified flag. The level oracle
// holds after every Apply and undo gives the level back exactly.

#include "tools/CreateLight.h"

#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "geometry/Predicates.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

using CIntensities = std::array<float, 4>;

constexpr CIntensities kDark{0.25f, 0.25f, 0.25f, 0.25f};
constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kBlue = 0x00FF0000;
constexpr std::uint32_t kRed = 0x000000FF;

TEST(CreateLight, ColourIntensities)
{
    const struct {
        std::uint32_t color;
        CIntensities intensities;
    } cases[] = {
        {kWhite, {1.0f, 1.0f, 1.0f, 1.0f}},
        {kBlue, {1.0f, 0.0f, 0.0f, 1.0f}},
        {kRed, {0.0f, 1.0f, 0.0f, 0.0f}},
        {0x00336699, {0x33 / 255.0f, 0x99 / 255.0f, 0x66 / 255.0f, 0x33 / 255.0f}},
        // The high byte is no colour.
        {0xFF000000, {0.0f, 0.0f, 0.0f, 0.0f}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.color);
        EXPECT_EQ(LightIntensities(c.color), c.intensities);
    }
}

// Sector 0 (0..1)^3 and sector 1 (1..2, 0..1, 0..1) joined through x = 1, and sector 2 (0..1,
// 0..1, 1.5..2.5) on its own, which neither of them sees. Every corner starts at kDark.
CQzlSections MakeLitRooms()
{
    CQzlSections level = MakeTwoJoinedRooms();
    AddBoxSector(level, {0, 0, 1.5f}, {1, 1, 2.5f});
    FinishFixture(level);
    for (const auto& surface : level.m_surfaces)
        for (CQzlVertex& corner : surface->m_vertices)
            std::copy(kDark.begin(), kDark.end(), corner.m_intensity);
    return level;
}

class CreateLightTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Opened as the editor opens a level: render data built, the visible lists filled.
        RebuildAll(m_engine.m_view, false, ERebuildAll::Restore);
        ASSERT_EQ(m_level.m_sectors[0]->m_visible, (std::vector<std::int32_t>{0, 1}));
        m_engine.m_host.Clear();
    }

    CIntensities At(int surface, std::size_t corner) const
    {
        const float* i =
            m_level.m_surfaces[static_cast<std::size_t>(surface)]->m_vertices[corner].m_intensity;
        return {i[0], i[1], i[2], i[3]};
    }
    CVector3 Position(int surface, std::size_t corner) const
    {
        return WorldPosition(m_level, m_level.m_surfaces[static_cast<std::size_t>(surface)]
                                          ->m_vertices[corner]
                                          .m_worldVertex);
    }
    // The index of the corner of surface at p.
    std::size_t CornerAt(int surface, const CVector3& p) const
    {
        const auto& corners = m_level.m_surfaces[static_cast<std::size_t>(surface)]->m_vertices;
        for (std::size_t k = 0; k < corners.size(); ++k)
            if (Position(surface, k) == p)
                return k;
        ADD_FAILURE() << "no corner at " << p.x << "," << p.y << "," << p.z;
        return 0;
    }
    void Select(int sector, int surface = -1, int corner = -1)
    {
        CSelection& selection = m_engine.m_view.m_selection;
        selection.m_sector = sector;
        selection.m_surface = selection.m_vertexSurface = surface;
        selection.m_vertex = corner;
    }
    // Every corner of sector: what it holds.
    template <class Expect>
    void ForEachCorner(int sector, Expect expect) const
    {
        for (const std::int32_t f : m_level.m_sectors[static_cast<std::size_t>(sector)]->m_surfaces)
            for (std::size_t k = 0;
                 k < m_level.m_surfaces[static_cast<std::size_t>(f)]->m_vertices.size(); ++k) {
                SCOPED_TRACE("surface " + std::to_string(f) + " corner " + std::to_string(k));
                expect(f, k);
            }
    }
    void ExpectSectorLit(int sector, const CIntensities& expected) const
    {
        ForEachCorner(sector, [&](int f, std::size_t k) { EXPECT_EQ(At(f, k), expected); });
    }

    // What a corner of sector holds after a light at light: the blend by its distance; kDark
    // beyond the distance and on the surfaces kept says.
    template <class Kept>
    void ExpectDistanceLight(int sector, const CVector3& light, float distance,
                             const CIntensities& start, const CIntensities& end, Kept kept) const
    {
        ForEachCorner(sector, [&](int f, std::size_t k) {
            const float t = VectorLength(Position(f, k) - light) / distance;
            if (kept(f) || t > 1.0f) {
                EXPECT_EQ(At(f, k), kDark);
                return;
            }
            for (std::size_t i = 0; i < 4; ++i)
                EXPECT_FLOAT_EQ(At(f, k)[i], t * end[i] + (1.0f - t) * start[i]);
        });
    }

    CFixtureEngine m_engine{MakeLitRooms()};
    CQzlSections& m_level = m_engine.m_level;
};

TEST_F(CreateLightTest, FlatModePaintsTheSectorTheSurfaceOrTheCorner)
{
    // No surface, no corner: every corner of the current sector, and only of it.
    Select(0);
    ASSERT_TRUE(ApplyLight(m_engine.m_view, {kWhite, 0, 0.5f, false}));
    ExpectSectorLit(0, {1, 1, 1, 1});
    ExpectSectorLit(1, kDark);
    ExpectSectorLit(2, kDark);
    EXPECT_TRUE(LevelIsSound(m_level));
    EXPECT_EQ(m_engine.m_host.Count(CRecordingEngineHost::ECall::UpdateAllViews), 1u);

    ASSERT_TRUE(ApplyLight(m_engine.m_view, {kBlue, 0, 0.5f, false}));
    ExpectSectorLit(0, {1, 0, 0, 1});

    // A surface: its corners alone.
    const int floor = BoxSurface(m_level, 0, kBoxFloor);
    Select(0, floor);
    ASSERT_TRUE(ApplyLight(m_engine.m_view, {kRed, 0, 0.5f, false}));
    ForEachCorner(0, [&](int f, std::size_t k) {
        const CIntensities expected =
            f == floor ? CIntensities{0, 1, 0, 0} : CIntensities{1, 0, 0, 1};
        EXPECT_EQ(At(f, k), expected);
    });

    // A corner: that corner alone.
    Select(0, floor, 2);
    ASSERT_TRUE(ApplyLight(m_engine.m_view, {kWhite, 0, 0.5f, false}));
    ForEachCorner(0, [&](int f, std::size_t k) {
        const CIntensities expected = f != floor ? CIntensities{1, 0, 0, 1}
                                      : k == 2   ? CIntensities{1, 1, 1, 1}
                                                 : CIntensities{0, 1, 0, 0};
        EXPECT_EQ(At(f, k), expected);
    });
    EXPECT_TRUE(LevelIsSound(m_level));
}

TEST_F(CreateLightTest, DistanceModeFromACorner)
{
    // The light at the floor's corner (0, 0, 0); start red, end blue, distance 1.
    const int floor = BoxSurface(m_level, 0, kBoxFloor);
    const std::size_t c = CornerAt(floor, {0, 0, 0});
    Select(0, floor, static_cast<int>(c));
    EXPECT_EQ(LightPosition(m_engine.m_view), CVector3(0, 0, 0));
    ASSERT_TRUE(ApplyLight(m_engine.m_view, {kRed, kBlue, 1.0f, true}));
    const CIntensities start{0, 1, 0, 0};
    const CIntensities end{1, 0, 0, 1};
    for (const int sector : {0, 1})
        ForEachCorner(sector, [&](int f, std::size_t k) {
            const float d = VectorLength(Position(f, k));
            if (f == floor && k == c)
                EXPECT_EQ(At(f, k), kDark);  // the light's own corner
            else if (d == 0.0f)
                EXPECT_EQ(At(f, k), start);  // the same point in another surface
            else if (d == 1.0f)
                EXPECT_EQ(At(f, k), end);  // exactly at the distance, in either sector
            else if (d > 1.0f)
                EXPECT_EQ(At(f, k), kDark);  // beyond it
            else
                ADD_FAILURE() << "a corner between";
        });
    ExpectSectorLit(2, kDark);
    EXPECT_TRUE(LevelIsSound(m_level));

    // Halfway: the two colours mixed evenly.
    ASSERT_TRUE(ApplyLight(m_engine.m_view, {kWhite, 0x000000, 2.0f, true}));
    const int far = BoxSurface(m_level, 1, kBoxFloor);
    EXPECT_EQ(At(far, CornerAt(far, {1, 0, 0})), (CIntensities{0.5f, 0.5f, 0.5f, 0.5f}));
}

TEST_F(CreateLightTest, DistanceModeFromASector)
{
    // From the centre of sector 0: its own corners stay, sector 1 takes the light, sector 2 is
    // not seen even with a distance that reaches it.
    Select(0);
    const CVector3 centre{0.5f, 0.5f, 0.5f};
    EXPECT_EQ(LightPosition(m_engine.m_view), centre);
    ASSERT_TRUE(ApplyLight(m_engine.m_view, {kWhite, 0x000000, 10.0f, true}));
    ExpectSectorLit(0, kDark);
    ExpectDistanceLight(1, centre, 10.0f, {1, 1, 1, 1}, {0, 0, 0, 0}, [](int) { return false; });
    ExpectSectorLit(2, kDark);
    EXPECT_TRUE(LevelIsSound(m_level));
}

TEST_F(CreateLightTest, DistanceModeFromASurface)
{
    // The middle of the box of sector 1's floor is the light; the floor itself stays, the
    // corners of both rooms within 1 of the light take it.
    const int floor = BoxSurface(m_level, 1, kBoxFloor);
    Select(1, floor);
    const CVector3 middle{1.5f, 0, 0.5f};
    EXPECT_EQ(LightPosition(m_engine.m_view), middle);
    ASSERT_TRUE(ApplyLight(m_engine.m_view, {kBlue, kRed, 1.0f, true}));
    for (const int sector : {0, 1})
        ExpectDistanceLight(sector, middle, 1.0f, {1, 0, 0, 1}, {0, 1, 0, 0},
                            [floor](int f) { return f == floor; });
    ExpectSectorLit(2, kDark);
    EXPECT_TRUE(LevelIsSound(m_level));
}

TEST_F(CreateLightTest, NothingWithoutASectorOrWithoutAChange)
{
    const std::vector<std::uint8_t> before = WriteLevelBytes(m_level);
    const int floor = BoxSurface(m_level, 0, kBoxFloor);
    // No current sector (a surface and a corner alone), or one the level does not have.
    for (const int sector : {-1, 3}) {
        SCOPED_TRACE(sector);
        Select(sector, floor, 0);
        EXPECT_FALSE(RunCreateLightCommand(m_engine.m_view, {kWhite, 0, 0.5f, false}));
        EXPECT_FALSE(RunCreateLightCommand(m_engine.m_view, {kWhite, 0, 0.5f, true}));
    }
    // Distance mode with no distance.
    Select(0);
    EXPECT_FALSE(RunCreateLightCommand(m_engine.m_view, {kWhite, 0, 0.0f, true}));
    EXPECT_EQ(WriteLevelBytes(m_level), before);
    // A corner that already holds the colour.
    Select(0, floor, 0);
    ASSERT_TRUE(ApplyLight(m_engine.m_view, {kWhite, 0, 0.5f, false}));
    m_engine.m_host.Clear();
    EXPECT_FALSE(RunCreateLightCommand(m_engine.m_view, {kWhite, 0, 0.5f, false}));
    EXPECT_FALSE(CanUndo(m_engine.m_view));
    EXPECT_EQ(m_engine.m_host.Count(CRecordingEngineHost::ECall::SetModifiedFlag), 0u);
    EXPECT_EQ(m_engine.m_host.Count(CRecordingEngineHost::ECall::UpdateAllViews), 0u);
}

TEST_F(CreateLightTest, EachApplyIsOneUndoStepAndMarksTheDocumentModified)
{
    Select(0);
    ASSERT_TRUE(RunCreateLightCommand(m_engine.m_view, {kBlue, 0, 0.5f, false}));
    EXPECT_EQ(m_engine.m_host.Numbers(CRecordingEngineHost::ECall::SetModifiedFlag),
              (std::vector<int>{1, 1}));
    ASSERT_TRUE(RunCreateLightCommand(m_engine.m_view, {kWhite, 0, 0.5f, false}));
    EXPECT_EQ(m_level.m_undoList.size(), 2u);
    // The same light again changes nothing: no third step.
    EXPECT_FALSE(RunCreateLightCommand(m_engine.m_view, {kWhite, 0, 0.5f, false}));
    EXPECT_EQ(m_level.m_undoList.size(), 2u);
    ASSERT_TRUE(UndoCommand(m_engine.m_view));
    ExpectSectorLit(0, {1, 0, 0, 1});

    Select(0, BoxSurface(m_level, 0, kBoxFloor), 1);
    EXPECT_TRUE(UndoGivesBackExactBytes(m_engine.m_view, [this] {
        return ApplyLight(m_engine.m_view, {kRed, kWhite, 1.5f, true});
    }));
    EXPECT_TRUE(LevelIsSound(m_level));

    // With undo switched off the document is marked modified all the same.
    m_engine.m_settings.m_undoRedo = 0;
    m_engine.m_host.Clear();
    Select(1);
    ASSERT_TRUE(RunCreateLightCommand(m_engine.m_view, {kBlue, 0, 0.5f, false}));
    EXPECT_EQ(m_engine.m_host.Numbers(CRecordingEngineHost::ECall::SetModifiedFlag),
              (std::vector<int>{1, 1}));
}

}  // namespace
