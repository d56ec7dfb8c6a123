// qzbench apply runs Create Light from a script: flat light on a sector and on a corner, the
// distance mode across the portal into the room the sector sees, the dialog's distance range
// refused with its message, a light that changes nothing refused, and undo giving back the level
// as opened.

#include "framework/FileIO.h"
#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/OpenedLevel.h"
#include "support/QzbenchProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using CIntensities = std::array<float, 4>;

class QzbenchApplyLightTest : public QzbenchApplyFileTest {
protected:
    QzbenchApplyLightTest() : QzbenchApplyFileTest("qz_apply_light") {}

    void SetUp() override
    {
        CQzlSections level = MakeTwoJoinedRooms();
        SaveIn(level);
    }
};

CIntensities Corner(const CQzlSections& level, int surface, std::size_t corner)
{
    const float* i =
        level.m_surfaces[static_cast<std::size_t>(surface)]->m_vertices[corner].m_intensity;
    return {i[0], i[1], i[2], i[3]};
}

// The intensities of every corner of sector, in surface and corner order.
std::vector<CIntensities> SectorCorners(const CQzlSections& level, int sector)
{
    std::vector<CIntensities> corners;
    for (const std::int32_t f : level.m_sectors[static_cast<std::size_t>(sector)]->m_surfaces)
        for (std::size_t k = 0;
             k < level.m_surfaces[static_cast<std::size_t>(f)]->m_vertices.size(); ++k)
            corners.push_back(Corner(level, f, k));
    return corners;
}

TEST_F(QzbenchApplyLightTest, LightsAndUndoGivesBackTheOpenedLevel)
{
    const std::vector<std::uint8_t> opened = OpenedLevelBytes(In());
    const CIntensities blue{1, 0, 0, 1};
    const CIntensities white{1, 1, 1, 1};

    // Flat blue on sector 0; sector 1 as it was.
    CQzlSections out = Applied("create-light sector=0 start=0xFF0000");
    EXPECT_TRUE(LevelIsSound(out));
    for (const CIntensities& c : SectorCorners(out, 0))
        EXPECT_EQ(c, blue);
    for (const CIntensities& c : SectorCorners(out, 1))
        EXPECT_EQ(c, white);

    // From sector 0's centre, black at the light to white at 10: sector 1 takes it, sector 0's
    // own corners stay white.
    out = Applied("create-light sector=0 distance-dependent=yes distance=10");
    EXPECT_TRUE(LevelIsSound(out));
    for (const CIntensities& c : SectorCorners(out, 0))
        EXPECT_EQ(c, white);
    for (const CIntensities& c : SectorCorners(out, 1))
        EXPECT_LT(c[0], 1.0f);

    // One corner of the floor.
    const int floor = BoxSurface(out, 0, kBoxFloor);
    out = Applied("create-light sector=0 surface=" + std::to_string(floor) +
                  " vertex=1 start=0x0000ff");
    for (std::size_t k = 0; k < out.m_surfaces[static_cast<std::size_t>(floor)]->m_vertices.size();
         ++k)
        EXPECT_EQ(Corner(out, floor, k), (k == 1 ? CIntensities{0, 1, 0, 0} : white));

    int status = -1;
    const std::string output = Run("undo create-light sector=0 start=0xFF0000", status);
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(ReadFileBytes(Out()), opened);
}

TEST_F(QzbenchApplyLightTest, RefusalsWriteNothing)
{
    const auto in = In();
    const auto out = Out();
    for (const char* distance : {"0.005", "10.5"})
        EXPECT_TRUE(ApplyRefuses(in, out,
                                 std::string("create-light sector=0 distance-dependent=yes "
                                             "distance=") +
                                     distance,
                                 "Please enter a number between 0.01 and 10."));
    EXPECT_TRUE(ApplyRefuses(in, out, "create-light sector=0 start=blue", "0xBBGGRR"));
    EXPECT_TRUE(ApplyRefuses(in, out, "create-light", "needs a current sector"));
    // White on corners that are white already.
    EXPECT_TRUE(ApplyRefuses(in, out, "create-light sector=0 start=0xFFFFFF", "refused"));
}

}  // namespace
