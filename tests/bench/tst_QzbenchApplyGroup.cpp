// qzbench apply copy-group: a sector group of a second level file is appended to the level, joined
// to the sector it touches; undo gives back the level as opened; a missing or damaged file is
// refused with the level unwritten.

#include "engine/RenderData.h"
#include "framework/FileIO.h"
#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/QzbenchProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

class QzbenchApplyGroupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The library: the L corridor, sectors 0 and 1 in the group "Hall", joined to sector 2.
        CQzlSections library = MakeLCorridor();
        library.m_sectors[0]->m_groupName = "Hall";
        library.m_sectors[1]->m_groupName = "Hall";
        AddCrate(library, 1, {1.5f, 0.5f, 0.5f});
        SaveQzeFile(m_temp / "library.qze", library, CDocumentFields{});
        // The level: a room where the corridor's sector 2 stands.
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {1, 0, 1}, {2, 1, 2});
        FinishFixture(level);
        SaveQzeFile(m_temp / "in.qze", level, CDocumentFields{});
    }

    std::string Apply(const std::string& words, const std::string& out, int& status)
    {
        return RunQzbenchApply(m_temp / "in.qze", m_temp / out, words, status);
    }

    std::string From(const std::string& name) { return "'from=" + (m_temp / name).string() + "'"; }

    CTempFolder m_temp{"qz_apply_group"};
};

}  // namespace

TEST_F(QzbenchApplyGroupTest, CopiesTheGroupAndJoinsIt)
{
    int status = -1;
    std::string output =
        Apply("copy-group " + From("library.qze") + " group=hall", "out.qze", status);
    ASSERT_EQ(status, 0) << output;
    const CQzlSections level = std::move(LoadLevelFile(m_temp / "out.qze", 0).m_contents.m_level);
    EXPECT_TRUE(LevelIsSound(level));
    ASSERT_EQ(level.m_sectors.size(), 3u);
    // The pair between the copies and the pair to the room.
    EXPECT_EQ(level.m_adjoins.size(), 4u);
    const std::int32_t room = BoxSurface(level, 0, kBoxZLow);
    EXPECT_EQ(level.m_surfaces[static_cast<std::size_t>(room)]->m_adjoin, 3);
    ASSERT_EQ(level.m_things.size(), 1u);
    EXPECT_EQ(level.m_things[0]->m_sector, 2);

    // Undo gives back the level as the editor opened it.
    output = Apply("undo copy-group " + From("library.qze") + " group=hall", "undone.qze", status);
    ASSERT_EQ(status, 0) << output;
    CLevelFile opened = LoadLevelFile(m_temp / "in.qze", 0);
    CFixtureEngine engine(std::move(opened.m_contents.m_level));
    RebuildAll(engine.m_view, true);
    EXPECT_EQ(ReadFileBytes(m_temp / "undone.qze"),
              WriteQzeBytes(engine.m_level, opened.m_contents.m_document));
}

TEST_F(QzbenchApplyGroupTest, RefusesWhatIsNoLevel)
{
    WriteFileAtomic(m_temp / "notes.qze", Bytes{'h', 'e', 'l', 'l', 'o', '\n'});
    struct Case {
        std::string words;
        const char* message;
    };
    const Case cases[] = {
        {"copy-group " + From("missing.qze") + " group=hall", "missing.qze"},
        {"copy-group " + From("notes.qze") + " group=hall", "copy-group refused"},
        {"copy-group group=hall", "copy-group needs from=NAME"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words);
        int status = -1;
        const std::string output = Apply(c.words, "out.qze", status);
        EXPECT_NE(status, 0);
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
        EXPECT_FALSE(fs::exists(m_temp / "out.qze"));
    }
}
