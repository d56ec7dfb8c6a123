// qzbench apply runs Change Texture Coordinates from a script: the surface stores the values
// given and keeps its others, its corners take new coordinates, and a start corner the surface
// lacks is refused with nothing written.

#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/QzbenchProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

class QzbenchApplyTextureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CQzlSections room = MakeBoxRoom();
        m_wall = BoxSurface(room, 0, kBoxXLow);
        room.m_surfaces[m_wall]->m_uOffset = 12.0f;
        SaveQzeFile(m_temp / "room.qze", room, CDocumentFields{});
    }

    std::string Apply(const std::string& words, int& status)
    {
        return RunQzbench("LC_ALL=C",
                          "apply '" + (m_temp / "room.qze").string() + "' '" +
                              (m_temp / "out.qze").string() + "' " + words,
                          status);
    }

    CQzlSections Load(const char* name)
    {
        return std::move(LoadLevelFile(m_temp / name, 0).m_contents.m_level);
    }

    CTempFolder m_temp{"qz_apply_texture"};
    int m_wall = -1;
};

TEST_F(QzbenchApplyTextureTest, TheSurfaceStoresTheValuesAndItsCornersFollow)
{
    int status = -1;
    const std::string output =
        Apply("texture-coordinates sector=0 surface=" + std::to_string(m_wall) +
                  " start=2 angle=90 v-scale=160 mirror=yes",
              status);
    ASSERT_EQ(status, 0) << output;
    const CQzlSections in = Load("room.qze");
    const CQzlSections out = Load("out.qze");
    EXPECT_TRUE(LevelIsSound(out));
    const CQzlSurface& wall = *out.m_surfaces[m_wall];
    EXPECT_EQ(wall.m_startVertex, 2);
    EXPECT_EQ(wall.m_angle, 90.0f);
    EXPECT_EQ(wall.m_vScale, 160.0f);
    EXPECT_EQ(wall.m_uScale, 320.0f);
    EXPECT_EQ(wall.m_uOffset, 12.0f);
    bool moved = false;
    for (std::size_t i = 0; i < wall.m_vertices.size(); ++i) {
        const CQzlVertex& before = in.m_surfaces[m_wall]->m_vertices[i];
        moved =
            moved || before.m_u != wall.m_vertices[i].m_u || before.m_v != wall.m_vertices[i].m_v;
    }
    EXPECT_TRUE(moved);
}

TEST_F(QzbenchApplyTextureTest, AStartCornerTheSurfaceLacksIsRefused)
{
    int status = -1;
    const std::string output = Apply(
        "texture-coordinates sector=0 surface=" + std::to_string(m_wall) + " start=4", status);
    EXPECT_EQ(status, 2) << output;
    EXPECT_NE(output.find("start takes 0 to 3."), std::string::npos) << output;
    EXPECT_FALSE(std::filesystem::exists(m_temp / "out.qze"));
}

}  // namespace
