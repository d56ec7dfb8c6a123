// qzbench apply runs the Template dialog's Add and Delete from a script: Add takes the product's
// template with its bases (game=FOLDER), Delete removes a template with the bases only it used;
// a template a thing uses is refused with nothing written, and undo gives back the level as
// opened.

#include "SyntheticGame.h"
#include "level/LevelFile.h"
#include "level/QzlSections.h"
#include "level/QzlTemplate.h"
#include "level/TemplateList.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/QzbenchProcess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class QzbenchApplyTemplatesTest : public QzbenchApplyFileTest {
protected:
    QzbenchApplyTemplatesTest() : QzbenchApplyFileTest("qz_apply_templates") {}

    void SetUp() override
    {
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {2, 2, 2});
        AddCrate(level, 0, {1, 0.5f, 1});
        FinishFixture(level);
        level.m_templates = ReadTemplateList("_base none type=default\n"
                                             "_decor _base type=decor\n"
                                             "crate _decor model3d=crate.3do\n"
                                             "ranger _base model3d=ranger.3do\n"
                                             "warden ranger model3d=warden.3do\n");
        SaveIn(level);
        BuildSyntheticGame(m_temp / "game");
        m_game = " game='" + (m_temp / "game").string() + "'";
    }

    static std::vector<std::string> Names(const CQzlSections& level)
    {
        std::vector<std::string> names;
        for (const auto& entry : level.m_templates)
            names.push_back(entry->m_name);
        return names;
    }

    std::string m_game;
};

TEST_F(QzbenchApplyTemplatesTest, AddAndDeleteChangeTheTemplatesAndUndo)
{
    const CQzlSections added = Applied("add-template name=lamp" + m_game);
    EXPECT_TRUE(LevelIsSound(added));
    EXPECT_EQ(Names(added),
              (std::vector<std::string>{"_base", "_decor", "crate", "ranger", "warden", "lamp"}));
    ExpectBuildsAndUndoes("add-template name=lamp" + m_game, 1);

    const CQzlSections deleted = Applied("delete-template name=warden");
    EXPECT_TRUE(LevelIsSound(deleted));
    EXPECT_EQ(Names(deleted), (std::vector<std::string>{"_base", "_decor", "crate"}));
    ExpectBuildsAndUndoes("delete-template name=warden", 1);
}

TEST_F(QzbenchApplyTemplatesTest, RefusalsWriteNothing)
{
    EXPECT_TRUE(ApplyRefuses(In(), Out(), "delete-template name=crate",
                             "Cannot delete template, since it is used in level."));
    EXPECT_TRUE(ApplyRefuses(In(), Out(), "delete-template name=nosuch",
                             "delete-template names no template of the level."));
    EXPECT_TRUE(ApplyRefuses(In(), Out(), "add-template name=nosuch" + m_game,
                             "add-template names no template of the template list."));
}

// Templates based on themselves or on each other in a cycle: Delete ends, and undo gives back the
// level as opened.
TEST_F(QzbenchApplyTemplatesTest, DeleteEndsOnCyclesAndSelfBasedTemplates)
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {2, 2, 2});
    FinishFixture(level);
    level.m_templates = ReadTemplateList("a b x=1\n"
                                         "b a y=1\n"
                                         "self self model3d=\n"
                                         "words none no equals here\n");
    SaveIn(level);
    struct Case {
        const char* words;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {"delete-template name=SELF", {"a", "b", "words"}},
        {"delete-template name=a", {"self", "words"}},
        {"delete-template name=b", {"self", "words"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words);
        const CQzlSections out = Applied(c.words);
        EXPECT_TRUE(LevelIsSound(out));
        EXPECT_EQ(Names(out), c.left);
        ExpectBuildsAndUndoes(c.words, 1);
    }
}

}  // namespace
