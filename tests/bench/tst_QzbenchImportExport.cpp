// qzbench import-archive takes one level of a GOB with the archive's files into a .qze; qzbench
// export-project writes the project folder of a level file and reports what it left out.

#include "episode/StartGoalsCogs.h"
#include "level/GameResources.h"
#include "level/QzlWriter.h"
#include "support/QzbenchProcess.h"
#include "support/TwoLevelArchive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

std::string Quote(const fs::path& path)
{
    return "'" + path.string() + "'";
}

}  // namespace

class QzbenchImportExportTest : public TempFolderTest {};

TEST_F(QzbenchImportExportTest, ImportsTheNamedLevelAndExportsItsProject)
{
    MakeTwoLevelArchive().Save(m_dir / "two.gob");

    int status = -1;
    std::string output = RunQzbench(
        "LC_ALL=C",
        "import-archive " + Quote(m_dir / "two.gob") + " B.QZL " + Quote(m_dir / "b.qze"), status);
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(output, "cog\\lift.cog offset=0 size=5\nmat\\wall.mat offset=5 size=4\n"
                      "level=b.qzl files=2\n");
    const CLevelFile opened = LoadLevelFile(m_dir / "b.qze", 0);
    EXPECT_EQ(opened.m_contents.m_level.m_sectors.size(), 2u);
    EXPECT_EQ(opened.m_contents.m_document.m_startCogOn, 0);

    // A level the archive does not hold: refused, nothing written.
    output = RunQzbench(
        "LC_ALL=C",
        "import-archive " + Quote(m_dir / "two.gob") + " c.qzl " + Quote(m_dir / "c.qze"), status);
    EXPECT_EQ(status, 2) << output;
    EXPECT_NE(output.find("a.qzl b.qzl"), std::string::npos) << output;
    EXPECT_FALSE(fs::exists(m_dir / "c.qze"));

    // The project of the imported level: its switches are off, so nothing is left out.
    output = RunQzbench("LC_ALL=C",
                        "export-project " + Quote(m_dir / "b.qze") + " " + Quote(m_dir / "b.qzp"),
                        status);
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(ReadFileBytes(m_dir / "b" / "cog" / "lift.cog"), Bytes("lift!"));
    EXPECT_EQ(ReadFileBytes(m_dir / "b" / "mat" / "wall.mat"), Bytes("wall"));
    EXPECT_TRUE(fs::is_regular_file(m_dir / "b" / "qzl" / "qzedit.qzl"));

    // A text level has the default switches: the two cogs are not at hand and are listed.
    CQzlSections room = MakeBoxRoom();
    SaveQzlFile(m_dir / "room.qzl", room, CGameResources(), 0);
    output = RunQzbench(
        "LC_ALL=C", "export-project " + Quote(m_dir / "room.qzl") + " " + Quote(m_dir / "room.qzp"),
        status);
    EXPECT_EQ(status, 2) << output;
    EXPECT_NE(output.find("left_out=2"), std::string::npos) << output;
    EXPECT_TRUE(fs::is_regular_file(m_dir / "room" / "episode.qz"));
}
