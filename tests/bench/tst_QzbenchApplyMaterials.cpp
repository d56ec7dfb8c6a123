// qzbench apply runs the Materials dialog's level changes from a script: add-material appends the
// material in upper case with tiling 1 x 1 and keeps the level's record of a name it has;
// delete-material puts the surfaces of the material on "dflt.mat" and numbers the materials
// behind it one lower; set-material-tiles writes a material's tiling in the dialog's range;
// undo gives back the level as opened.

#include "framework/FileIO.h"
#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/OpenedLevel.h"
#include "support/QzbenchProcess.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class QzbenchApplyMaterialsTest : public QzbenchApplyFileTest {
protected:
    QzbenchApplyMaterialsTest() : QzbenchApplyFileTest("qz_apply_materials") {}

    // Two joined rooms on "dflt.mat", "BRICK.MAT" (sector 0's ceiling) and "SKY.MAT" (sector 1's
    // floor), all used in this order, so opening keeps them as they are.
    void SetUp() override
    {
        CQzlSections level = MakeTwoJoinedRooms();
        level.m_materials.push_back(std::make_unique<CQzlMaterial>("BRICK.MAT"));
        level.m_materials.push_back(std::make_unique<CQzlMaterial>("SKY.MAT"));
        level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 0, kBoxCeiling))]->m_material =
            1;
        level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 1, kBoxFloor))]->m_material = 2;
        SaveIn(level);
    }

    static std::vector<std::string> Names(const CQzlSections& level)
    {
        std::vector<std::string> names;
        for (const auto& material : level.m_materials)
            names.push_back(material->m_name);
        return names;
    }
};

TEST_F(QzbenchApplyMaterialsTest, AddAppendsOrReusesAndDeleteRenumbers)
{
    const CQzlSections opened = LoadLevelFile(In(), 0).m_contents.m_level;
    ASSERT_EQ(Names(opened), (std::vector<std::string>{"dflt.mat", "BRICK.MAT", "SKY.MAT"}));

    const CQzlSections added = Applied("add-material name=lava.mat");
    EXPECT_EQ(Names(added),
              (std::vector<std::string>{"dflt.mat", "BRICK.MAT", "SKY.MAT", "LAVA.MAT"}));
    EXPECT_EQ(added.m_materials[3]->m_xTile, 1.0f);
    EXPECT_EQ(added.m_materials[3]->m_yTile, 1.0f);
    EXPECT_TRUE(LevelIsSound(added));

    // A name the level has, in any letter case: no second record.
    const CQzlSections reused = Applied("add-material name=Brick.Mat");
    EXPECT_EQ(Names(reused), Names(opened));

    const CQzlSections deleted = Applied("delete-material material=1");
    EXPECT_EQ(Names(deleted), (std::vector<std::string>{"dflt.mat", "SKY.MAT"}));
    EXPECT_EQ(deleted.m_surfaces[static_cast<std::size_t>(BoxSurface(deleted, 0, kBoxCeiling))]
                  ->m_material,
              0);
    EXPECT_EQ(
        deleted.m_surfaces[static_cast<std::size_t>(BoxSurface(deleted, 1, kBoxFloor))]->m_material,
        1);
    EXPECT_TRUE(LevelIsSound(deleted));

    EXPECT_TRUE(ApplyRefuses(In(), m_temp / "out2.qze",
                             "add-material name=", "add-material takes a material name."));
    for (const char* words :
         {"undo add-material name=lava.mat", "undo delete-material material=1"}) {
        SCOPED_TRACE(words);
        Apply(words);
        EXPECT_EQ(ReadFileBytes(Out()), OpenedLevelBytes(In()));
    }
}

TEST_F(QzbenchApplyMaterialsTest, SetMaterialTilesWritesTheTilingOrSaysWhyNot)
{
    const CQzlSections out = Applied("set-material-tiles material=1 x=2.5 y=100");
    EXPECT_EQ(out.m_materials[1]->m_xTile, 2.5f);
    EXPECT_EQ(out.m_materials[1]->m_yTile, 100.0f);
    EXPECT_EQ(Names(out), (std::vector<std::string>{"dflt.mat", "BRICK.MAT", "SKY.MAT"}));
    ExpectBuildsAndUndoes("set-material-tiles material=1 x=2.5 y=100", 2);

    struct Case {
        const char* words;
        const char* message;
    };
    const Case refused[] = {
        {"set-material-tiles material=3 x=2 y=2", "The level has no material 3."},
        {"set-material-tiles material=-1 x=2 y=2", "The level has no material -1."},
        {"set-material-tiles material=2147483647 x=2 y=2", "The level has no material 2147483647."},
        {"delete-material material=-7", "The level has no material -7."},
        {"delete-material material=2147483647", "The level has no material 2147483647."},
        {"set-material-tiles material=1 x=0.5 y=2", "Please enter a number between 1 and 100."},
        {"set-material-tiles material=1 x=2 y=101", "Please enter a number between 1 and 100."},
        {"set-material-tiles material=1 x=1 y=1", "set-material-tiles changes nothing."},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.words);
        EXPECT_TRUE(ApplyRefuses(In(), m_temp / "out2.qze", c.words, c.message));
    }
}

}  // namespace
