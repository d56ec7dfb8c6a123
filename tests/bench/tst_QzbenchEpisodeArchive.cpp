// qzbench episode-archive builds the episode archive of a ".qml" list as the Multi Level Editor's
// Save As does: the episode file, the message file and every level that opens; what is left out
// is printed, and a damaged list or bad arguments are refused without an archive.

#include "episode/EpisodeArchive.h"
#include "episode/MultiLevelEntries.h"
#include "episode/MultiLevelItem.h"
#include "framework/FileIO.h"
#include "level/QzeFile.h"
#include "resources/GobArchive.h"
#include "support/EpisodeLevels.h"
#include "support/QzbenchProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class QzbenchEpisodeArchiveTest : public ::testing::Test {
protected:
    // A list of the levels named (each written with its episode fields), saved as list.qml.
    void SaveList(std::initializer_list<const char*> names)
    {
        CMultiLevelList list;
        list.m_masterTitle = "The Mines";
        list.m_masterType = 1;
        for (const char* name : names) {
            const std::filesystem::path path = WriteEpisodeLevel(m_temp.Path(), {name, name});
            CDocumentFields fields = LoadQzeFile(path).m_document;
            AppendEntry(list.m_items, EntryFromLevel(path.string(), fields));
        }
        const std::vector<std::uint8_t> bytes = WriteMultiLevelBytes(list);
        WriteFileAtomic(List(), bytes);
        m_list = std::move(list);
    }
    std::filesystem::path List() const { return m_temp / "list.qml"; }
    std::filesystem::path Out() const { return m_temp / "episode.gob"; }
    std::string Run(const std::string& words, int& status) const
    {
        return RunQzbench("", "episode-archive " + words, status);
    }
    std::string Quoted(const std::filesystem::path& path) const
    {
        return "'" + path.string() + "'";
    }

    CTempFolder m_temp{"qz_bench_episode"};
    CMultiLevelList m_list;
};

TEST_F(QzbenchEpisodeArchiveTest, BuildsTheArchiveOfTheList)
{
    SaveList({"alpha", "beta"});
    int status = -1;
    const std::string output = Run(Quoted(List()) + " " + Quoted(Out()), status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output, "levels=2 skipped=0\n");
    const CGobArchive archive = CGobArchive::Load(Out());
    std::vector<std::string> names;
    for (const auto& entry : archive.GetEntries())
        names.push_back(entry.m_path);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"episode.qz", "misc\\cogstrings.uni",
                                               "qzl\\alpha.qzl", "qzl\\beta.qzl"}));
    const std::string episode = WriteEpisodeFile("The Mines", 1, m_list.m_items);
    const std::vector<std::uint8_t> bytes = ReadFileBytes(Out());
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), episode.begin(), episode.end()), bytes.end());
}

TEST_F(QzbenchEpisodeArchiveTest, ReportsWhatIsLeftOutAndRefusesBadInput)
{
    SaveList({"alpha", "beta"});
    std::filesystem::remove(m_temp / "beta.qze");
    int status = -1;
    std::string output = Run(Quoted(List()) + " " + Quoted(Out()), status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_TRUE(output.starts_with("levels=1 skipped=1\nskipped: ")) << output;
    EXPECT_NE(output.find("beta.qze"), std::string::npos) << output;

    // A list cut short: no archive.
    std::vector<std::uint8_t> bytes = ReadFileBytes(List());
    bytes.resize(bytes.size() - 3);
    WriteFileAtomic(List(), bytes);
    std::filesystem::remove(Out());
    output = Run(Quoted(List()) + " " + Quoted(Out()), status);
    EXPECT_EQ(status, 2) << output;
    EXPECT_TRUE(output.starts_with("qzbench: error: ")) << output;
    EXPECT_FALSE(std::filesystem::exists(Out()));

    output = Run(Quoted(List()), status);
    EXPECT_EQ(status, 1) << output;
    output = Run(Quoted(m_temp / "none.qml") + " " + Quoted(Out()), status);
    EXPECT_EQ(status, 3) << output;
}

}  // namespace
