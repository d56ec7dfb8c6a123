// qzbench apply runs Insert and Paste from a script, without the game: each adds what it should,
// a cancelled picker refuses, and undo gives back the level as opened.

#include "engine/RenderData.h"
#include "framework/FileIO.h"
#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "level/QzlTemplate.h"
#include "support/FixtureLevels.h"
#include "support/OpenedLevel.h"
#include "support/QzbenchProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class QzbenchApplyInsertTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The L corridor with a crate in sector 0 and the template "crate".
        CQzlSections level = MakeLCorridor();
        auto thing = std::make_unique<CQzlThing>();
        thing->m_template = thing->m_name = "crate";
        thing->m_position = {0.5f, 0.5f, 0.5f};
        level.m_things.push_back(std::move(thing));
        auto crate = std::make_unique<CQzlTemplate>();
        crate->m_name = "crate";
        level.m_templates.push_back(std::move(crate));
        SaveQzeFile(m_temp / "in.qze", level, CDocumentFields{});
    }

    std::string Apply(const std::string& words, int& status)
    {
        return RunQzbenchApply(m_temp / "in.qze", m_temp / "out.qze", words, status);
    }

    CQzlSections Out()
    {
        return std::move(LoadLevelFile(m_temp / "out.qze", 0).m_contents.m_level);
    }

    CTempFolder m_temp{"qz_apply_insert"};
};

struct InsertCase {
    const char* words;
    std::size_t surfaces, vertices, things;  // the L corridor: 18 surfaces, 16 vertices, 1 thing
};

TEST_F(QzbenchApplyInsertTest, EachOperationAddsItsRecords)
{
    const InsertCase cases[] = {
        {"insert-vertex sector=0 surface=0 vertex=0", 18, 17, 1},
        {"insert-surface sector=0 surface=0 pick=dflt.mat", 19, 20, 1},
        // Without the game: the thing is inserted all the same.
        {"insert-thing sector=0 thing=0 pick=crate x=0.5 y=0.2 z=0.25", 18, 16, 2},
        {"paste-thing sector=2 from=0 x=1.5 y=0.5 z=1.5", 18, 16, 2},
        {"paste-surface sector=1 surface=6 from=0", 18, 16, 1},
    };
    for (const InsertCase& c : cases) {
        SCOPED_TRACE(c.words);
        int status = -1;
        const std::string output = Apply(c.words, status);
        ASSERT_EQ(status, 0) << output;
        const CQzlSections out = Out();
        EXPECT_EQ(out.m_surfaces.size(), c.surfaces);
        EXPECT_EQ(out.m_worldVertices.size(), c.vertices);
        EXPECT_EQ(out.m_things.size(), c.things);
    }
    int status = -1;
    Apply("insert-thing sector=0 thing=0 pick=crate x=0.5 y=0.2 z=0.25", status);
    const CQzlSections out = Out();
    const CQzlThing& added = *out.m_things.back();
    EXPECT_EQ(added.m_template, "crate");
    EXPECT_EQ(added.m_sector, 0);
    EXPECT_FLOAT_EQ(added.m_position.x, 0.5f);
    EXPECT_FLOAT_EQ(added.m_position.z, 0.25f);
}

TEST_F(QzbenchApplyInsertTest, RefusalsWriteNothing)
{
    for (const char* words : {"insert-surface sector=0 surface=0",          // the picker cancelled
                              "insert-thing sector=0 pick=nosuchtemplate",  // not listed
                              "insert-vertex sector=0", "paste-thing sector=0 from=4"}) {
        SCOPED_TRACE(words);
        int status = -1;
        const std::string output = Apply(words, status);
        EXPECT_EQ(status, 2) << output;
        EXPECT_NE(output.find("refused"), std::string::npos) << output;
    }
}

TEST_F(QzbenchApplyInsertTest, UndoGivesBackTheOpenedLevel)
{
    const Bytes opened = OpenedLevelBytes(m_temp / "in.qze");

    for (const char* words : {"insert-surface sector=0 surface=0 pick=dflt.mat",
                              "insert-thing sector=0 thing=0 pick=crate x=0.5 y=0.5 z=0.5"}) {
        SCOPED_TRACE(words);
        int status = -1;
        const std::string output = Apply(std::string("undo ") + words, status);
        ASSERT_EQ(status, 0) << output;
        EXPECT_EQ(ReadFileBytes(m_temp / "out.qze"), opened);
    }
}

}  // namespace
