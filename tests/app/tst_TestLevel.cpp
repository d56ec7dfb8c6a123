// "Test &Level" with a fake game: shell scripts in a game folder of the test's own record the
// folder they run in and their arguments. The archive in the episode folder, the program and
// archive names of each product, the refusal of a level with a fatal finding, a build that fails,
// a program that cannot be started, the launchers of a Windows program, and the command greyed in
// walk mode and while the game runs.

#include "AppTestSupport.h"

#include "app/GameLauncher.h"
#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "app/SettingsStore.h"
#include "engine/Dsound.h"
#include "episode/ui/ErrorsDlg.h"
#include "level/QzlSections.h"
#include "resources/GobArchive.h"
#include "resources/TreeObject.h"
#include "support/FixtureLevels.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kGameArguments = {"-dispstats", "-debug", "log", "-displayconfig"};

std::vector<std::string> ReadLines(const fs::path& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

void WriteFile(const fs::path& path, const std::string& text, bool executable)
{
    std::ofstream(path, std::ios::binary) << text;
    if (executable)
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add);
}

// A script that writes the folder it runs in and its arguments, one a line, to record; it waits
// for the file hold, when given, to appear first.
std::string RecorderScript(const fs::path& record, const fs::path& hold = {})
{
    std::string script = "#!/bin/sh\n";
    if (!hold.empty())
        script += "while [ ! -e '" + hold.string() + "' ]; do sleep 0.05; done\n";
    script += "printf '%s\\n' \"$PWD\" \"$@\" > '" + record.string() + ".part'\n";
    script += "mv '" + record.string() + ".part' '" + record.string() + "'\n";
    return script;
}

class TestLevelTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_doc = StartShownWithDocument();
        ASSERT_NE(m_doc, nullptr);
        m_engineView = &GiveDocumentEngine(*m_doc, MakeTwoJoinedRooms());
        m_doc->SetModifiedFlag(false);
        m_install = Temp() / "game folder";
        fs::create_directories(m_install / "episode");
        m_app->m_product.m_installPath = m_install;
        m_app->m_product.m_episodePath = m_install / "episode";
        m_record = Temp() / "record.txt";
    }

    void TearDown() override
    {
        // A game left running by a failed check must not outlive the test's folder.
        EXPECT_TRUE(QTest::qWaitFor([this] { return !m_doc || !m_doc->IsGameRunning(); }, 5000));
        AppTest::TearDown();
    }

    CMainFrame& Frame() { return *m_app->m_pMainFrame; }
    bool Enabled()
    {
        Frame().UpdateCommandUI();
        const QAction* action = Frame().Action(Cmd::kTestLevel);
        return action != nullptr && action->isEnabled();
    }
    // The command, then the game's end (or at once when none started).
    void TestLevel()
    {
        ASSERT_TRUE(Enabled());
        Frame().Action(Cmd::kTestLevel)->trigger();
        EXPECT_TRUE(QTest::qWaitFor([this] { return !m_doc->IsGameRunning(); }, 10000));
        QApplication::processEvents();
    }

    std::vector<std::string> WantRecord() const
    {
        std::vector<std::string> want = {m_install.string()};
        want.insert(want.end(), kGameArguments.begin(), kGameArguments.end());
        return want;
    }

    static std::vector<std::string> EntryPaths(const fs::path& archive)
    {
        std::vector<std::string> paths;
        for (const CGobEntry& entry : CGobArchive::ReadDirectory(archive).m_entries)
            paths.push_back(entry.m_path);
        return paths;
    }

    CQzEditDoc* m_doc = nullptr;
    C3dView* m_engineView = nullptr;
    fs::path m_install;
    fs::path m_record;
};

}  // namespace

TEST_F(TestLevelTest, RunsTheGameOfEachProductOnItsArchive)
{
    const struct {
        int product;
        const char* program;
        const char* archive;
        const char* other;
    } cases[] = {
        {0, "qz.exe", "QzEdit.gob", "QzEdit.goo"},
        {1, "qzv.exe", "QzEdit.goo", "QzEdit.gob"},
    };
    const QString editorFolder = QDir::currentPath();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        m_app->m_settings.m_product = c.product;
        fs::remove(m_record);
        WriteFile(m_install / c.program, RecorderScript(m_record), true);
        m_engineView->m_sound =
            std::make_unique<CDsound>(nullptr, &m_engineView->GetGame(), &m_engineView->GetLevel());
        TestLevel();
        EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
        ASSERT_TRUE(QTest::qWaitFor([this] { return fs::exists(m_record); }, 5000));
        EXPECT_EQ(ReadLines(m_record), WantRecord());
        EXPECT_EQ(QDir::currentPath(), editorFolder);
        const fs::path archive = m_install / "episode" / c.archive;
        ASSERT_TRUE(fs::exists(archive));
        EXPECT_FALSE(fs::exists(m_install / "episode" / c.other));
        EXPECT_EQ(EntryPaths(archive),
                  (std::vector<std::string>{"episode.qz", "cog\\qzedit_goals.cog",
                                            "cog\\qzedit_start.cog", "misc\\cogstrings.uni",
                                            "qzl\\qzedit.qzl"}));
        fs::remove(archive);
        // The check that passed leaves its window hidden with the document.
        ASSERT_NE(m_doc->ErrorsWindow(), nullptr);
        EXPECT_FALSE(m_doc->ErrorsWindow()->isVisible());
        // The game has the sound: the view has none afterwards, and nothing was marked modified.
        EXPECT_EQ(m_engineView->m_sound, nullptr);
        EXPECT_FALSE(m_doc->IsModified());
    }
}

TEST_F(TestLevelTest, FatalFindingRefusesAndShowsTheErrors)
{
    m_doc->m_level->m_sectors[1]->m_surfaces.resize(3);
    WriteFile(m_install / "qz.exe", RecorderScript(m_record), true);
    TestLevel();
    EXPECT_EQ(m_messages, QStringList{QStringLiteral("CANNOT TEST LEVEL.\n\n"
                                                     "Your level contains fatal errors, which\n"
                                                     "will cause Korvath/Varnok to crash.")});
    ASSERT_NE(m_doc->ErrorsWindow(), nullptr);
    EXPECT_TRUE(m_doc->ErrorsWindow()->isVisible());
    EXPECT_TRUE(fs::is_empty(m_install / "episode"));
    QTest::qWait(200);
    EXPECT_FALSE(fs::exists(m_record));

    // A level with only warnings is played; with "Error Checking" off, so is one with a fatal
    // finding: nothing is checked.
    const struct {
        const char* name;
        int checking;
        void (*damage)(CQzlSections&);
    } played[] = {
        {"warning only", 1, [](CQzlSections& l) { l.m_things[0]->m_sector = 1; }},
        {"checking off", 0, [](CQzlSections& l) { l.m_sectors[1]->m_surfaces.resize(3); }},
    };
    for (const auto& c : played) {
        SCOPED_TRACE(c.name);
        m_messages.clear();
        fs::remove(m_record);
        delete m_doc->ErrorsWindow();
        m_app->m_settings.m_errorChecking = c.checking;
        CQzlSections level = MakeTwoJoinedRooms();
        AddCrate(level, 0, {0.5f, 0.5f, 0.5f});
        FinishFixture(level);
        c.damage(level);
        m_engineView = &GiveDocumentEngine(*m_doc, std::move(level));
        TestLevel();
        EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
        EXPECT_EQ(m_doc->ErrorsWindow() != nullptr, c.checking != 0);
        ASSERT_TRUE(QTest::qWaitFor([this] { return fs::exists(m_record); }, 5000));
        EXPECT_TRUE(fs::exists(m_install / "episode" / "QzEdit.gob"));
    }
}

TEST_F(TestLevelTest, NothingStartsWhenTheArchiveOrTheGameFails)
{
    WriteFile(m_install / "qz.exe", RecorderScript(m_record), true);
    const struct {
        const char* name;
        std::function<void()> arrange;
        const char* message;  // a part of the message shown
    } cases[] = {
        {"episode folder is a file",
         [this] {
             fs::remove_all(m_install / "episode");
             WriteFile(m_install / "episode", "not a folder", false);
         },
         "QzEdit.gob"},
        {"episode folder missing", [this] { fs::remove_all(m_install / "episode"); }, "QzEdit.gob"},
        {"no game folder",
         [this] {
             m_app->m_product.m_installPath.clear();
             m_app->m_product.m_episodePath.clear();
         },
         "the game's folder is not known"},
        {"program missing", [this] { fs::remove(m_install / "qz.exe"); }, "does not exist"},
        {"program not executable",
         [this] {
             fs::remove(m_install / "qz.exe");
             WriteFile(m_install / "qz.exe", "#!/bin/sh\nexit 0\n", false);
         },
         "is not a program that can be run"},
        {"launcher missing",
         [this] {
             m_app->Store().SetLauncher(0,
                                        QString::fromStdString((Temp() / "no-launcher").string()));
         },
         "launcher"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(m_install);
        fs::create_directories(m_install / "episode");
        fs::permissions(m_install, fs::perms::owner_all, fs::perm_options::add);
        WriteFile(m_install / "qz.exe", RecorderScript(m_record), true);
        m_app->m_product.m_installPath = m_install;
        m_app->m_product.m_episodePath = m_install / "episode";
        m_app->Store().SetLauncher(0, {});
        m_messages.clear();
        c.arrange();
        TestLevel();
        ASSERT_EQ(m_messages.size(), 1);
        EXPECT_TRUE(m_messages[0].contains(QString::fromUtf8(c.message)))
            << m_messages[0].toStdString();
        QTest::qWait(100);
        EXPECT_FALSE(fs::exists(m_record));
    }
}

TEST_F(TestLevelTest, WindowsProgramRunsThroughItsLauncher)
{
    // A Windows program: the file begins with "MZ" and is not run itself.
    WriteFile(m_install / "qz.exe", "MZ\x90\x00 not a script", false);
    const fs::path bin = Temp() / "bin";
    fs::create_directories(bin);
    WriteFile(bin / "wine", RecorderScript(m_record), true);
    WriteFile(Temp() / "my launcher", RecorderScript(m_record), true);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(bin.string()) + ":" + oldPath);

    const std::string program = (m_install / "qz.exe").string();
    const struct {
        const char* name;
        QString launcher;
        std::vector<std::string> before;  // the words the launcher gets before the program
    } cases[] = {
        {"default: wine", {}, {}},
        {"set launcher with words",
         QStringLiteral("'%1' --fast \"two words\" a\\ b")
             .arg(QString::fromStdString((Temp() / "my launcher").string())),
         {"--fast", "two words", "a b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(m_record);
        m_app->Store().SetLauncher(0, c.launcher);
        TestLevel();
        EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
        ASSERT_TRUE(QTest::qWaitFor([this] { return fs::exists(m_record); }, 5000));
        std::vector<std::string> want = {m_install.string()};
        want.insert(want.end(), c.before.begin(), c.before.end());
        want.push_back(program);
        want.insert(want.end(), kGameArguments.begin(), kGameArguments.end());
        EXPECT_EQ(ReadLines(m_record), want);
    }
    qputenv("PATH", oldPath);
}

TEST_F(TestLevelTest, GreyedInWalkModeAndWhileTheGameRuns)
{
    EXPECT_TRUE(Enabled());
    m_engineView->m_walk.m_on = 1;
    EXPECT_FALSE(Enabled());
    m_engineView->m_walk.m_on = 0;

    const fs::path hold = Temp() / "hold";
    WriteFile(m_install / "qz.exe", RecorderScript(m_record, hold), true);
    ASSERT_TRUE(Enabled());
    Frame().Action(Cmd::kTestLevel)->trigger();
    EXPECT_TRUE(m_doc->IsGameRunning());
    EXPECT_FALSE(Enabled());
    // One game at a time: every document's Test Level writes the same test archive.
    CQzEditDoc* other = m_app->NewDocument();
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(other->IsGameRunning());
    // The editor goes on handling events while the game runs.
    QTest::qWait(100);
    EXPECT_TRUE(m_doc->IsGameRunning());
    WriteFile(hold, "", false);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !m_doc->IsGameRunning(); }, 10000));
    EXPECT_TRUE(Enabled());
    EXPECT_EQ(ReadLines(m_record), WantRecord());
}

// The archive Save As writes: the user's copy of a cog before the installed default, a cog found
// nowhere left out without a word, an own file that cannot be stored named in a message, and a
// failure that leaves the file and the modified flag as they were.
TEST_F(TestLevelTest, BuildArchiveTakesTheUsersCogsAndReportsWhatItLeavesOut)
{
    fs::create_directories(UserDataDir());
    WriteFile(UserDataDir() / "qzedit_start.cog", "# the user's start\r\n", false);
    fs::remove(ProgramDir() / "qzedit_goals.cog");
    AddLevelFile(*m_doc->m_level, "door.cog", "script");
    AddLevelFile(*m_doc->m_level, "long.mat", "material");
    for (auto& file : m_doc->m_level->m_levelFiles.m_entries)
        file->m_path =
            file->m_name == "door.cog" ? "cog\\door.cog" : "mat\\" + std::string(130, 'l') + ".mat";
    m_doc->SetModifiedFlag(true);

    const fs::path path = Temp() / "saved.gob";
    ASSERT_TRUE(m_doc->BuildArchive(QString::fromStdString(path.string())));
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].contains(QStringLiteral("saved.gob")));
    EXPECT_TRUE(m_messages[0].contains(QString::fromStdString(std::string(130, 'l'))));
    const CGobArchive archive = CGobArchive::Load(path);
    std::vector<std::string> paths;
    for (const CGobEntry& entry : archive.GetEntries())
        paths.push_back(entry.m_path);
    EXPECT_EQ(paths,
              (std::vector<std::string>{"episode.qz", "cog\\door.cog", "cog\\qzedit_start.cog",
                                        "misc\\cogstrings.uni", "qzl\\qzedit.qzl"}));
    const auto start = archive.GetData(2);
    EXPECT_EQ(std::string(start.begin(), start.end()), "# the user's start\r\n");
    EXPECT_TRUE(m_doc->IsModified());

    // A folder in the way: false with a sentence naming the file, nothing else changed.
    const std::uintmax_t size = fs::file_size(path);
    m_messages.clear();
    EXPECT_FALSE(m_doc->BuildArchive(QString::fromStdString((path / "inside.gob").string())));
    EXPECT_TRUE(m_doc->LastError().contains(QStringLiteral("inside.gob")))
        << m_doc->LastError().toStdString();
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(fs::file_size(path), size);
    EXPECT_TRUE(m_doc->IsModified());
}
