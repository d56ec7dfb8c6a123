// The File Manager driven by control id on archives of our own: New, Open and the list by folder,
// the add-file tables, adding with an exact-path overwrite, Delete and Save As with their
// questions, files dropped on the tree, the drag-out file, and hostile entry names that must
// never write outside the chosen folder (the picture of the dialog on the synthetic game's archive
// is taken in the running editor: tests/gl/tst_FileManagerScreen.cpp).

#include "AppTestSupport.h"

#include "SyntheticGame.h"
#include "framework/FileIO.h"
#include "framework/Settings.h"
#include "resources/GobArchive.h"
#include "resources/ui/DragListCtrl.h"
#include "resources/ui/DragTreeCtrl.h"
#include "resources/ui/FileDataSource.h"
#include "resources/ui/FileManagerDlg.h"

#include <QApplication>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Text(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

std::vector<std::string> PathsOf(const std::filesystem::path& archive)
{
    std::vector<std::string> paths;
    for (const CGobEntry& entry : CGobArchive::ReadDirectory(archive).m_entries)
        paths.push_back(entry.m_path);
    return paths;
}

// An archive image written entry by entry as given (no ordering), as another tool may write one.
void WriteRawArchive(const std::filesystem::path& file,
                     const std::vector<std::pair<std::string, std::string>>& entries)
{
    Bytes b;
    const auto word = [&b](std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8)
            b.push_back(static_cast<std::uint8_t>(v >> shift));
    };
    b.insert(b.end(), {'G', 'O', 'B', ' '});
    word(0x14);
    word(12);
    word(static_cast<std::uint32_t>(entries.size()));
    std::uint32_t offset = 16 + 136 * static_cast<std::uint32_t>(entries.size());
    for (const auto& [path, data] : entries) {
        word(offset);
        word(static_cast<std::uint32_t>(data.size()));
        b.insert(b.end(), path.begin(), path.end());
        b.insert(b.end(), 128 - path.size(), 0);
        offset += static_cast<std::uint32_t>(data.size());
    }
    for (const auto& entry : entries)
        b.insert(b.end(), entry.second.begin(), entry.second.end());
    WriteFileAtomic(file, b);
}

class FileManagerTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_dialog = std::make_unique<CFileManagerDlg>(m_settings, nullptr);
        m_dialog->m_archiveWritten = [this](const std::filesystem::path& archive) {
            m_written.push_back(PathsOf(archive));
        };
    }
    void TearDown() override
    {
        m_dialog.reset();
        AppTest::TearDown();
    }

    CDragTreeCtrl& Tree() { return *Control<CDragTreeCtrl>(*m_dialog, Ctl::kFileManagerTree); }
    CDragListCtrl& List() { return *Control<CDragListCtrl>(*m_dialog, Ctl::kFileManagerList); }
    QPushButton& Button(int id) { return *Control<QPushButton>(*m_dialog, id); }

    // The labels of the tree, depth first, indented by two blanks per level.
    QStringList TreeLabels()
    {
        QStringList labels;
        std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* item, int depth) {
            labels.push_back(QString(depth * 2, QLatin1Char(' ')) + item->text(0));
            for (int i = 0; i < item->childCount(); ++i)
                walk(item->child(i), depth + 1);
        };
        for (int i = 0; i < Tree().topLevelItemCount(); ++i)
            walk(Tree().topLevelItem(i), 0);
        return labels;
    }
    QTreeWidgetItem* FindFolder(const QString& label)
    {
        const QList<QTreeWidgetItem*> found =
            Tree().findItems(label, Qt::MatchExactly | Qt::MatchRecursive);
        EXPECT_EQ(found.size(), 1) << label.toStdString();
        return found.value(0);
    }
    // Selects the folder as a user does and gives the list's names.
    QStringList SelectFolder(const QString& label)
    {
        if (QTreeWidgetItem* item = FindFolder(label))
            Tree().setCurrentItem(item);
        QStringList names;
        for (int i = 0; i < List().topLevelItemCount(); ++i)
            names.push_back(List().topLevelItem(i)->text(0));
        return names;
    }
    void SelectRows(std::initializer_list<int> rows)
    {
        for (const int row : rows)
            List().topLevelItem(row)->setSelected(true);
    }
    std::filesystem::path MakeFile(const std::string& name, const std::string& text)
    {
        const std::filesystem::path file = Temp() / "disk" / name;
        std::filesystem::create_directories(file.parent_path());
        WriteFileAtomic(file, Text(text));
        return file;
    }

    CSettings m_settings;
    std::unique_ptr<CFileManagerDlg> m_dialog;
    std::vector<std::vector<std::string>> m_written;  // the entries after each write
};

TEST(FileManagerTables, FolderOfEachTypeAndTheAddFilter)
{
    const std::pair<const char*, const char*> folders[] = {
        {"door.cog", "cog\\"},
        {"level.qzl", "qzl\\"},
        {"a.uni", "misc\\"},
        {"crate.3do", "3do\\"},
        {"WALL.MAT", "mat\\"},
        {"walk.key", "3do\\key\\"},
        {"guard.ai0", "misc\\ai\\"},
        {"dflt.cmp", "misc\\cmp\\"},
        {"fire.par", "misc\\par\\"},
        {"x.per", "misc\\per\\"},
        {"man.pup", "misc\\pup\\"},
        {"step.snd", "misc\\snd\\"},
        {"glow.spr", "misc\\spr\\"},
        {"hello.wav", "voiceuu\\"},
        {"episode.qz", ""},
        {"notes.txt", ""},
        {"a.dat", ""},
    };
    for (const auto& [name, prefix] : folders)
        EXPECT_EQ(CFileManagerDlg::FolderPrefix(name), prefix) << name;

    EXPECT_EQ(CFileManagerDlg::AddFilter("door.cog"), QStringLiteral("COG Files (*.cog)|*.cog||"));
    // ".qz" is looked for last: a level's folder offers QZL files alone.
    EXPECT_EQ(CFileManagerDlg::AddFilter("x.qzl"), QStringLiteral("QZL Files (*.qzl)|*.qzl||"));
    EXPECT_EQ(CFileManagerDlg::AddFilter("episode.qz"), QStringLiteral("QZ Files (*.qz)|*.qz||"));
    const QString all = CFileManagerDlg::AddFilter("");
    EXPECT_TRUE(all.startsWith(QStringLiteral("QZ Files (*.qz)|*.qz|COG Files")))
        << all.toStdString();
    EXPECT_TRUE(all.endsWith(QStringLiteral("BMP Files (*.bmp)|*.bmp||"))) << all.toStdString();
    EXPECT_EQ(all.count(QStringLiteral(" Files (")), 17);
    EXPECT_EQ(CFileManagerDlg::AddFilter("readme"), all);
}

TEST_F(FileManagerTest, NewOpenAndTheListByFolder)
{
    EXPECT_FALSE(Button(Ctl::kFileManagerAdd).isEnabled());
    EXPECT_FALSE(Button(Ctl::kFileManagerSaveAs).isEnabled());
    EXPECT_FALSE(Button(Ctl::kFileManagerDelete).isEnabled());
    EXPECT_TRUE(Button(Ctl::kFileManagerAdd).isHidden());
    EXPECT_FALSE(Button(Ctl::kFileManagerNew).isHidden());

    const std::filesystem::path archive = Temp() / "new.gob";
    m_fileAnswers.push_back(QString::fromStdString(archive.string()));
    Click(*m_dialog, Ctl::kFileManagerNew);
    EXPECT_EQ(m_fileDialogs, QStringList{QStringLiteral("New")});
    EXPECT_EQ(ReadFileBytes(archive), CGobArchive::EmptyArchiveBytes());
    EXPECT_EQ(m_dialog->windowTitle(),
              QStringLiteral("File Manager - ") + QString::fromStdString(archive.string()));
    EXPECT_EQ(TreeLabels(), QStringList{QStringLiteral("new.gob")});
    EXPECT_TRUE(Button(Ctl::kFileManagerAdd).isEnabled());
    EXPECT_TRUE(Button(Ctl::kFileManagerNew).isHidden());

    for (const char* name :
         {"episode.qz", "door.cog", "lift.cog", "crate.3do", "walk.key", "level.qzl"}) {
        m_fileAnswers.push_back(QString::fromStdString(MakeFile(name, name).string()));
        Click(*m_dialog, Ctl::kFileManagerAdd);
    }
    EXPECT_EQ(PathsOf(archive),
              (std::vector<std::string>{"episode.qz", "3do\\crate.3do", "3do\\key\\walk.key",
                                        "cog\\door.cog", "cog\\lift.cog", "qzl\\level.qzl"}));
    EXPECT_EQ(TreeLabels(), (QStringList{"new.gob", "  3do", "    key", "  cog", "  qzl"}));

    EXPECT_EQ(SelectFolder("cog"), (QStringList{"door.cog", "lift.cog"}));
    EXPECT_EQ(List().topLevelItem(0)->text(1), QString::number(16 + 136 * 6 + 10 + 9 + 8));
    EXPECT_EQ(List().topLevelItem(1)->text(2), QStringLiteral("8"));
    EXPECT_EQ(SelectFolder("key"), QStringList{"walk.key"});
    EXPECT_TRUE(Button(Ctl::kFileManagerAdd).isEnabled());
    // Another dialog opens what this one wrote.
    CFileManagerDlg other(m_settings, nullptr);
    m_fileAnswers.push_back(QString::fromStdString(archive.string()));
    Click(other, Ctl::kFileManagerOpen);
    EXPECT_EQ(other.ArchivePath(), archive);
    auto* otherTree = Control<CDragTreeCtrl>(other, Ctl::kFileManagerTree);
    ASSERT_EQ(otherTree->topLevelItemCount(), 1);
    EXPECT_EQ(otherTree->topLevelItem(0)->childCount(), 3);  // 3do, cog, qzl

    // A file that is not an archive is reported and leaves the open archive as it was.
    m_messages.clear();
    m_fileAnswers.push_back(
        QString::fromStdString(MakeFile("junk.gob", "not an archive").string()));
    Click(other, Ctl::kFileManagerOpen);
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_EQ(other.ArchivePath(), archive);
}

TEST_F(FileManagerTest, AddingReplacesOnlyTheEntryOfTheSamePath)
{
    const std::filesystem::path archive = Temp() / "a.gob";
    CGobArchive::CreateEmptyArchive(archive);
    ASSERT_TRUE(m_dialog->OpenArchive(archive));
    m_dialog->AddFile(MakeFile("a.cog", "first"));
    // The name of an entry inside another file's name is no reason to remove it.
    m_dialog->AddFile(MakeFile("ba.cog", "other"));
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    EXPECT_EQ(PathsOf(archive), (std::vector<std::string>{"cog\\a.cog", "cog\\ba.cog"}));

    // The same path again (letter case aside) asks; No keeps everything.
    const std::filesystem::path again = MakeFile("sub/A.COG", "second");
    m_answers.push_back(QMessageBox::No);
    m_dialog->AddFile(again);
    EXPECT_EQ(m_messages, QStringList{QStringLiteral(
                              "The item \"a.cog\" already exist. Do you want to overwrite the "
                              "existing item?")});
    EXPECT_EQ(PathsOf(archive), (std::vector<std::string>{"cog\\a.cog", "cog\\ba.cog"}));

    // Yes replaces that entry alone; with "Warning" off nothing is asked.
    m_dialog->AddFile(again);
    EXPECT_EQ(PathsOf(archive), (std::vector<std::string>{"cog\\ba.cog", "cog\\A.COG"}));
    m_settings.m_warning = 0;
    m_messages.clear();
    m_dialog->AddFile(MakeFile("ba.cog", "third"));
    EXPECT_TRUE(m_messages.isEmpty());
    const CGobArchive read = CGobArchive::Load(archive);
    ASSERT_EQ(read.GetEntries().size(), 2u);
    EXPECT_EQ(Bytes(read.GetData(1).begin(), read.GetData(1).end()), Text("third"));
    EXPECT_EQ(Bytes(read.GetData(0).begin(), read.GetData(0).end()), Text("second"));

    // A file that cannot be read is reported and adds nothing.
    m_dialog->AddFile(Temp() / "missing.cog");
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_EQ(PathsOf(archive).size(), 2u);
}

TEST_F(FileManagerTest, DeleteAsksWhileWarningIsOn)
{
    const std::filesystem::path archive = Temp() / "d.gob";
    WriteRawArchive(archive, {{"cog\\a.cog", "a"}, {"cog\\b.cog", "b"}, {"cog\\c.cog", "c"}});
    ASSERT_TRUE(m_dialog->OpenArchive(archive));
    SelectFolder("cog");
    SelectRows({2, 0});
    EXPECT_EQ(m_dialog->SelectedRows(), (std::vector<int>{2, 0}));
    EXPECT_TRUE(Button(Ctl::kFileManagerDelete).isEnabled());
    EXPECT_FALSE(Button(Ctl::kFileManagerAdd).isEnabled());
    m_answers.push_back(QMessageBox::No);
    Click(*m_dialog, Ctl::kFileManagerDelete);
    EXPECT_EQ(m_messages, QStringList{QStringLiteral("Do you want to delete the selected items?")});
    EXPECT_EQ(PathsOf(archive).size(), 3u);
    Click(*m_dialog, Ctl::kFileManagerDelete);
    EXPECT_EQ(PathsOf(archive), std::vector<std::string>{"cog\\b.cog"});

    m_settings.m_warning = 0;
    m_messages.clear();
    SelectFolder("cog");
    SelectRows({0});
    Click(*m_dialog, Ctl::kFileManagerDelete);
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_TRUE(PathsOf(archive).empty());
    EXPECT_EQ(ReadFileBytes(archive).size(), 16u);
}

TEST_F(FileManagerTest, DroppedFilesAreAddedInTheOrderOfTheDrop)
{
    const std::filesystem::path archive = Temp() / "drop.gob";
    CGobArchive::CreateEmptyArchive(archive);
    ASSERT_TRUE(m_dialog->OpenArchive(archive));
    QStringList dropped;
    QObject::connect(&Tree(), &CDragTreeCtrl::FileDropped,
                     [&] { dropped.push_back(Tree().DroppedPath()); });
    QList<QUrl> urls;
    for (const char* name : {"c.cog", "a.cog", "b.cog"})
        urls.push_back(QUrl::fromLocalFile(QString::fromStdString(MakeFile(name, name).string())));
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Tree().viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Tree().viewport(), &drop);

    ASSERT_EQ(dropped.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(dropped[i], urls[i].toLocalFile());
    ASSERT_EQ(m_written.size(), 3u);
    EXPECT_EQ(m_written[0], std::vector<std::string>{"cog\\c.cog"});
    EXPECT_EQ(m_written[1], (std::vector<std::string>{"cog\\c.cog", "cog\\a.cog"}));
    EXPECT_EQ(m_written[2].size(), 3u);

    // Text without files is refused.
    QMimeData text;
    text.setText(QStringLiteral("x"));
    QDragEnterEvent textEnter(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton,
                              Qt::NoModifier);
    QApplication::sendEvent(Tree().viewport(), &textEnter);
    EXPECT_FALSE(textEnter.isAccepted());
}

TEST_F(FileManagerTest, DragOutWritesItsFileOnce)
{
    const std::filesystem::path archive = Temp() / "out.gob";
    WriteRawArchive(archive, {{"cog\\x.cog", "entry bytes"}, {"cog\\..", "dots"}});
    ASSERT_TRUE(m_dialog->OpenArchive(archive));
    SelectFolder("cog");
    std::unique_ptr<CFileDataSource> source = List().MakeDataSource(0);
    ASSERT_NE(source, nullptr);
    EXPECT_TRUE(source->hasUrls());
    const std::filesystem::path file = source->TempFile();
    EXPECT_EQ(file.filename(), "x.cog");
    EXPECT_FALSE(std::filesystem::exists(file));  // nothing is written before the target asks

    const QList<QUrl> urls = source->urls();
    ASSERT_EQ(urls.size(), 1);
    EXPECT_EQ(urls[0].toLocalFile().toStdString(), file.string());
    EXPECT_EQ(ReadFileBytes(file), Text("entry bytes"));
    EXPECT_EQ(source->Row(), -1);
    // Asked again, the target gets the same file, not written anew.
    std::filesystem::remove(file);
    EXPECT_EQ(source->urls(), urls);
    EXPECT_FALSE(std::filesystem::exists(file));

    // An entry whose name is no file name offers nothing.
    EXPECT_EQ(List().MakeDataSource(1), nullptr);
}

TEST_F(FileManagerTest, HostileNamesNeverWriteOutsideTheChosenFolder)
{
    const std::filesystem::path archive = Temp() / "hostile.gob";
    WriteRawArchive(archive, {{"first.cog", "1"},
                              {"/tmp/abs.cog", "2"},
                              {"C:drive.cog", "3"},
                              {"ctl\x01.cog", "4"},
                              {"..", "5"},
                              {"../../up.cog", "6"},
                              {"plain.cog", "7"}});
    ASSERT_TRUE(m_dialog->OpenArchive(archive));
    ASSERT_EQ(SelectFolder("hostile.gob").size(), 7);
    SelectRows({0, 1, 2, 3, 4, 5, 6});
    const std::filesystem::path out = Temp() / "a" / "b" / "out";
    std::filesystem::create_directories(out);
    m_fileAnswers.push_back(QString::fromStdString((out / "first.cog").string()));
    m_messages.clear();
    Click(*m_dialog, Ctl::kFileManagerSaveAs);
    EXPECT_EQ(m_fileDialogs, QStringList{QStringLiteral("Save As")});

    std::vector<std::string> written;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Temp())) {
        if (!entry.is_regular_file())
            continue;
        const std::filesystem::path relative = entry.path().lexically_relative(Temp());
        if (relative.begin()->string() == "a")
            written.push_back(relative.generic_string());
    }
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"a/b/out/abs.cog", "a/b/out/first.cog",
                                                 "a/b/out/plain.cog", "a/b/out/up.cog"}));
    EXPECT_FALSE(std::filesystem::exists(Temp() / "up.cog"));
    EXPECT_FALSE(std::filesystem::exists(Temp() / "a" / "up.cog"));
    // The three names that are no file names are each reported.
    EXPECT_EQ(m_messages.size(), 3) << m_messages.join('\n').toStdString();

    // Saving again asks before each file it would replace; No keeps the file on disk.
    WriteFileAtomic(out / "plain.cog", Text("mine"));
    m_fileAnswers.push_back(QString::fromStdString((out / "first.cog").string()));
    m_messages.clear();
    m_answers = {QMessageBox::Yes, QMessageBox::No, QMessageBox::No, QMessageBox::No};
    Click(*m_dialog, Ctl::kFileManagerSaveAs);
    EXPECT_TRUE(m_messages.first().startsWith(QStringLiteral("The file \"")));
    EXPECT_EQ(ReadFileBytes(out / "plain.cog"), Text("mine"));
}

// A material saved through the BMP filter is the bitmap of its first cel in the game's colours; the
// bitmap added back becomes a material in the "mat" folder, in the palette of "dflt.cmp", that
// saves as the same picture; a bitmap cut short is reported and adds nothing.
TEST_F(FileManagerTest, MaterialsGoOutAsBitmapsAndComeBackAsMaterials)
{
    const auto game = LoadSyntheticGame(TestGameDir(), 0);
    m_dialog = std::make_unique<CFileManagerDlg>(m_settings, &game->m_resources);
    const std::filesystem::path archive = Temp() / "m.gob";
    CGobArchive::CreateEmptyArchive(archive);
    ASSERT_TRUE(m_dialog->OpenArchive(archive));
    const std::filesystem::path wall = Temp() / "disk" / "wall.mat";
    std::filesystem::create_directories(wall.parent_path());
    WriteFileAtomic(wall, MakeSyntheticMat(8, 4, 2, 2));
    m_dialog->AddFile(wall);
    ASSERT_EQ(PathsOf(archive), std::vector<std::string>{"mat\\wall.mat"});

    // Save As of a material offers its own type, then BMP; a ".bmp" answer converts it.
    const std::filesystem::path out = Temp() / "out";
    std::filesystem::create_directories(out);
    // Saves the folder's first row, wall.mat.
    const auto saveAs = [&](const std::filesystem::path& answer) {
        ASSERT_EQ(SelectFolder("mat").value(0), QStringLiteral("wall.mat"));
        SelectRows({0});
        m_fileAnswers.push_back(QString::fromStdString(answer.string()));
        Click(*m_dialog, Ctl::kFileManagerSaveAs);
    };
    saveAs(out / "wall.bmp");
    const QImage first(QString::fromStdString((out / "wall.bmp").string()));
    ASSERT_FALSE(first.isNull()) << m_messages.join('\n').toStdString();
    EXPECT_EQ(first.size(), QSize(8, 4));
    QStringList colours;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            colours.push_back(first.pixelColor(x, y).name());
    colours.removeDuplicates();
    EXPECT_GT(colours.size(), 1);

    // The bitmap comes back as mat\\back.mat and goes out again as the same picture.
    std::filesystem::copy_file(out / "wall.bmp", Temp() / "disk" / "back.bmp");
    m_dialog->AddFile(Temp() / "disk" / "back.bmp");
    EXPECT_EQ(PathsOf(archive), (std::vector<std::string>{"mat\\wall.mat", "mat\\back.mat"}));
    const std::filesystem::path again = Temp() / "again";
    std::filesystem::create_directories(again);
    ASSERT_EQ(SelectFolder("mat"), (QStringList{"wall.mat", "back.mat"}));
    SelectRows({1});
    m_fileAnswers.push_back(QString::fromStdString((again / "back.bmp").string()));
    Click(*m_dialog, Ctl::kFileManagerSaveAs);
    const QImage second(QString::fromStdString((again / "back.bmp").string()));
    ASSERT_EQ(second.size(), first.size());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(second.pixelColor(x, y), first.pixelColor(x, y)) << x << "," << y;

    // Saved under its own type the material is written as it is.
    saveAs(out / "copy.mat");
    EXPECT_EQ(ReadFileBytes(out / "copy.mat"), MakeSyntheticMat(8, 4, 2, 2));

    // A bitmap cut short is reported; the archive keeps its two entries.
    const Bytes bmp = ReadFileBytes(out / "wall.bmp");
    WriteFileAtomic(Temp() / "disk" / "cut.bmp", Bytes(bmp.begin(), bmp.begin() + 60));
    m_messages.clear();
    m_dialog->AddFile(Temp() / "disk" / "cut.bmp");
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_EQ(PathsOf(archive).size(), 2u);
}

}  // namespace
