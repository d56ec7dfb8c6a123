// The Rename dialog and the Files in Level dialog driven by control id: Rename's OK, Cancel and
// the name; Files in Level's Add (several files, materials by the folder selected, bitmaps
// converted through the colour map chosen, the overwrite question), three files dropped on the
// tree, Delete, Rename (the index stays sorted, the path follows), Edit, Save and the drag-out
// file into a temporary folder, names that would leave it refused; the document command.

#include "AppTestSupport.h"

#include "SyntheticGame.h"
#include "app/QzEditDoc.h"
#include "engine/DecodeMaterial.h"
#include "engine/MaterialConversion.h"
#include "framework/FileIO.h"
#include "framework/Settings.h"
#include "level/LevelFiles.h"
#include "level/QzlSections.h"
#include "resources/ui/DragListCtrl.h"
#include "resources/ui/EditorDlg.h"
#include "resources/ui/FileDataSource.h"
#include "resources/ui/FilesInLevelDlg.h"
#include "resources/ui/RenameDlg.h"
#include "support/FixtureLevels.h"

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>

#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes TextBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// An 8 x 4 bitmap with colours of its own.
Bytes SmallBmp()
{
    CPalette palette{};
    for (std::size_t i = 0; i < 256; ++i) {
        palette[i * 3] = static_cast<std::uint8_t>(i);
        palette[i * 3 + 1] = static_cast<std::uint8_t>(i * 7);
        palette[i * 3 + 2] = static_cast<std::uint8_t>(255 - i);
    }
    Bytes pixels;
    for (int i = 0; i < 32; ++i)
        pixels.push_back(static_cast<std::uint8_t>(i * 8));
    CBitmapImage image;
    image.CreateFromBits(palette, pixels, 8, 4, 8);
    return image.WriteBmp();
}

class FilesInLevelTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        MakeApp();
        m_level.m_colormaps = {"DFLT.CMP", "WARM.CMP"};
    }

    // Writes a host file of that name and bytes; its path.
    QString HostFile(const std::string& name, const Bytes& bytes)
    {
        const std::filesystem::path path = Temp() / "disk" / name;
        std::filesystem::create_directories(path.parent_path());
        WriteFileAtomic(path, bytes);
        return QString::fromStdString(path.string());
    }

    std::unique_ptr<CFilesInLevelDlg> Dialog()
    {
        return std::make_unique<CFilesInLevelDlg>(m_level, m_synthetic->m_resources,
                                                  m_app->m_settings, [this] { ++m_modified; });
    }

    // The paths of the level's files in index order, ";" after each.
    std::string Paths() const
    {
        std::string text;
        for (const auto& entry : m_level.m_levelFiles.m_entries)
            text += entry->m_path + ";";
        return text;
    }

    QTreeWidget& List(CFilesInLevelDlg& dialog)
    {
        return *Control<QTreeWidget>(dialog, Ctl::kFilesList);
    }

    // Selects the list row named name.
    void SelectRow(CFilesInLevelDlg& dialog, const QString& name)
    {
        const QList<QTreeWidgetItem*> found = List(dialog).findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        List(dialog).setCurrentItem(found.front());
    }

    QStringList Rows(CFilesInLevelDlg& dialog)
    {
        QStringList rows;
        for (int i = 0; i < List(dialog).topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = List(dialog).topLevelItem(i);
            rows.push_back(row->text(0) + QLatin1Char(' ') + row->text(1) + QLatin1Char(' ') +
                           row->text(2));
        }
        return rows;
    }

    std::unique_ptr<CSyntheticGame> m_synthetic = MakeSyntheticGame(0);
    CQzlSections m_level = MakeBoxRoom();
    int m_modified = 0;
};

}  // namespace

TEST_F(FilesInLevelTest, RenameHandsBackTheNameOnOkOnly)
{
    struct Case {
        const char* typed;  // null: nothing typed
        int button;
        const char* want;
    };
    const Case cases[] = {
        {nullptr, Ctl::kOk, "door.cog"},
        {"gate.cog", Ctl::kOk, "gate.cog"},
        {"", Ctl::kOk, ""},
        {"gate.cog", Ctl::kCancel, "door.cog"},
    };
    for (const Case& c : cases) {
        CRenameDlg dialog(QStringLiteral("door.cog"));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Rename"));
        auto* old = Control<QLineEdit>(dialog, Ctl::kRenameOldName);
        ASSERT_NE(old, nullptr);
        EXPECT_TRUE(old->isReadOnly());
        EXPECT_EQ(old->text(), QStringLiteral("door.cog"));
        if (c.typed != nullptr)
            Control<QLineEdit>(dialog, Ctl::kRenameNewName)->setText(QString::fromLatin1(c.typed));
        Click(dialog, c.button);
        EXPECT_EQ(dialog.result(), c.button == Ctl::kOk ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(dialog.m_newName, QString::fromLatin1(c.want)) << c.typed;
        EXPECT_EQ(dialog.m_oldName, QStringLiteral("door.cog"));
    }
}

TEST_F(FilesInLevelTest, AddPutsEachFileInItsFolderAndConvertsBitmaps)
{
    auto dialog = Dialog();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Files in Level"));
    EXPECT_EQ(dialog->CurrentFolder(), kLevelFilesCog);
    auto* palette = Control<QComboBox>(*dialog, Ctl::kFilesPalette);
    ASSERT_EQ(palette->count(), 2);
    EXPECT_EQ(palette->currentText(), QStringLiteral("dflt.cmp"));
    palette->setCurrentIndex(1);
    for (const int id : {Ctl::kFilesEdit, Ctl::kFilesDelete, Ctl::kFilesRename, Ctl::kFilesSave})
        EXPECT_FALSE(Control<QPushButton>(*dialog, id)->isEnabled()) << id;

    // Several files from the Add dialog; a file of no known type and a missing one are skipped.
    m_fileAnswers.push_back(HostFile("Door.COG", TextBytes("cog text")) + QLatin1Char('\n') +
                            HostFile("a.mat", Bytes(12, 1)) + QLatin1Char('\n') +
                            HostFile("b.bmp", SmallBmp()) + QLatin1Char('\n') +
                            HostFile("notes.txt", Bytes(3)) + QLatin1Char('\n') +
                            QString::fromStdString((Temp() / "missing.cog").string()));
    Click(*dialog, Ctl::kFilesAdd);
    EXPECT_EQ(m_fileDialogs, QStringList{QStringLiteral("Add")});
    EXPECT_EQ(Paths(), "mat\\a.mat;mat\\b.mat;cog\\door.cog;");
    EXPECT_EQ(m_modified, 3);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
    // The bitmap became a material in the palette of the colour map chosen.
    const CColorMap warm =
        FindColorMap(CAssetSources{&m_synthetic->m_resources, &m_level.m_levelFiles}, "warm.cmp");
    const CColorMap dflt =
        FindColorMap(CAssetSources{&m_synthetic->m_resources, &m_level.m_levelFiles}, "dflt.cmp");
    ASSERT_FALSE(warm.IsEmpty());
    const Bytes& converted = *m_level.m_levelFiles.m_entries[1]->m_data;
    EXPECT_EQ(converted, ConvertBmpToMat(SmallBmp(), warm.GetPalette(), "b.bmp"));
    EXPECT_NE(converted, ConvertBmpToMat(SmallBmp(), dflt.GetPalette(), "b.bmp"));
    // The folder of the last file added is selected and listed.
    const QString materialSize = QString::number(converted.size());
    EXPECT_EQ(dialog->CurrentFolder(), 5);
    EXPECT_EQ(Rows(*dialog), (QStringList{QStringLiteral("a.mat 0 12"),
                                          QStringLiteral("b.mat 12 ") + materialSize}));

    // A material added while the 3do folder is selected goes into "3do\mat\".
    dialog->SelectFolder(1);
    dialog->AddFiles({HostFile("c.mat", Bytes(4, 2))});
    EXPECT_EQ(Paths(), "mat\\a.mat;mat\\b.mat;3do\\mat\\c.mat;cog\\door.cog;");
    EXPECT_EQ(dialog->CurrentFolder(), 3);
    EXPECT_EQ(Rows(*dialog), QStringList{QStringLiteral("c.mat %1 4").arg(12 + converted.size())});
}

TEST_F(FilesInLevelTest, TheSamePathAsksBeforeItIsReplacedAndBadBitmapsAreRefused)
{
    auto dialog = Dialog();
    dialog->AddFiles({HostFile("x.cog", TextBytes("old"))});
    m_answers.push_back(QMessageBox::No);
    dialog->AddFiles({HostFile("sub/X.cog", TextBytes("newer"))});
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_EQ(m_messages[0], QStringLiteral("The item \"x.cog\" already exist. Do you want to "
                                            "overwrite the existing item?"));
    EXPECT_EQ(*m_level.m_levelFiles.m_entries[0]->m_data, TextBytes("old"));

    m_answers.push_back(QMessageBox::Yes);
    dialog->AddFiles({HostFile("sub/X.cog", TextBytes("newer"))});
    ASSERT_EQ(m_level.m_levelFiles.m_entries.size(), 1U);
    EXPECT_EQ(*m_level.m_levelFiles.m_entries[0]->m_data, TextBytes("newer"));

    // "Warning" off: replaced without a question.
    m_app->m_settings.m_warning = 0;
    dialog->AddFiles({HostFile("x.cog", TextBytes("third"))});
    EXPECT_EQ(m_messages.size(), 2);
    EXPECT_EQ(*m_level.m_levelFiles.m_entries[0]->m_data, TextBytes("third"));

    // A cut-short bitmap is refused with a message naming it and changes nothing.
    const Bytes bmp = SmallBmp();
    const int modified = m_modified;
    dialog->AddFiles({HostFile("cut.bmp", Bytes(bmp.begin(), bmp.begin() + 60))});
    ASSERT_EQ(m_messages.size(), 3);
    EXPECT_TRUE(m_messages[2].contains(QStringLiteral("cut.bmp"))) << m_messages[2].toStdString();
    EXPECT_EQ(Paths(), "cog\\x.cog;");
    EXPECT_EQ(m_modified, modified);
}

TEST_F(FilesInLevelTest, ThreeDroppedFilesAreAddedInOrder)
{
    auto dialog = Dialog();
    dialog->show();
    auto* tree = Control<QTreeWidget>(*dialog, Ctl::kFilesTree);
    ASSERT_TRUE(tree->acceptDrops());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(HostFile("one.cog", Bytes(1))),
                  QUrl::fromLocalFile(HostFile("two.wav", Bytes(2))),
                  QUrl::fromLocalFile(HostFile("three.cog", Bytes(3)))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(Paths(), "cog\\one.cog;cog\\three.cog;sound\\two.wav;");
    EXPECT_EQ(m_modified, 3);
    EXPECT_EQ(dialog->CurrentFolder(), kLevelFilesCog);
    EXPECT_EQ(Rows(*dialog),
              (QStringList{QStringLiteral("one.cog 0 1"), QStringLiteral("three.cog 1 3")}));
    dialog->SelectFolder(14);
    EXPECT_EQ(Rows(*dialog), QStringList{QStringLiteral("two.wav 4 2")});
}

TEST_F(FilesInLevelTest, DeleteRenameEditAndSave)
{
    auto dialog = Dialog();
    dialog->AddFiles({HostFile("s.wav", Bytes(5)), HostFile("a.cog", TextBytes("aaaa")),
                      HostFile("m.cog", TextBytes("mm")), HostFile("z.cog", TextBytes("z\r\nz"))});
    ASSERT_EQ(m_modified, 4);
    EXPECT_EQ(Rows(*dialog), (QStringList{QStringLiteral("a.cog 0 4"), QStringLiteral("m.cog 4 2"),
                                          QStringLiteral("z.cog 11 4")}));

    // Delete: the entries after it move up, the list is filled anew.
    SelectRow(*dialog, QStringLiteral("a.cog"));
    EXPECT_EQ(dialog->SelectedRow(), 0);
    EXPECT_TRUE(Control<QPushButton>(*dialog, Ctl::kFilesDelete)->isEnabled());
    Click(*dialog, Ctl::kFilesDelete);
    EXPECT_EQ(Paths(), "cog\\m.cog;sound\\s.wav;cog\\z.cog;");
    EXPECT_EQ(Rows(*dialog),
              (QStringList{QStringLiteral("m.cog 0 2"), QStringLiteral("z.cog 7 4")}));
    EXPECT_EQ(m_modified, 5);
    EXPECT_FALSE(Control<QPushButton>(*dialog, Ctl::kFilesSave)->isEnabled());

    // Rename: the entry takes its sorted place and its path follows the name.
    SelectRow(*dialog, QStringLiteral("m.cog"));
    OnModal<CRenameDlg>(m_app.get(), [](CRenameDlg& rename) {
        Control<QLineEdit>(rename, Ctl::kRenameNewName)->setText(QStringLiteral("x.cog"));
        Click(rename, Ctl::kOk);
    });
    Click(*dialog, Ctl::kFilesRename);
    EXPECT_EQ(Paths(), "sound\\s.wav;cog\\x.cog;cog\\z.cog;");
    int found = -1;
    EXPECT_TRUE(m_level.m_levelFiles.Find("x.cog", found));
    EXPECT_EQ(found, 1);
    EXPECT_EQ(Rows(*dialog),
              (QStringList{QStringLiteral("x.cog 5 2"), QStringLiteral("z.cog 7 4")}));
    EXPECT_EQ(m_modified, 6);

    // A name that would leave its folder is refused with a message.
    SelectRow(*dialog, QStringLiteral("x.cog"));
    OnModal<CRenameDlg>(m_app.get(), [](CRenameDlg& rename) {
        Control<QLineEdit>(rename, Ctl::kRenameNewName)->setText(QStringLiteral("..\\x.cog"));
        Click(rename, Ctl::kOk);
    });
    Click(*dialog, Ctl::kFilesRename);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_EQ(Paths(), "sound\\s.wav;cog\\x.cog;cog\\z.cog;");
    EXPECT_EQ(m_modified, 6);

    // Edit: the cog editor gets the text, OK writes it back with the file's line ends.
    SelectRow(*dialog, QStringLiteral("z.cog"));
    QString shown;
    QString title;
    OnModal<CEditorDlg>(m_app.get(), [&](CEditorDlg& editor) {
        title = editor.windowTitle();
        auto* text = Control<QPlainTextEdit>(editor, Ctl::kEditorText);
        shown = text->toPlainText();
        text->setPlainText(QStringLiteral("z\nzz\n"));
        Click(editor, Ctl::kOk);
    });
    Click(*dialog, Ctl::kFilesEdit);
    EXPECT_EQ(title, QStringLiteral("Cog Editor"));
    EXPECT_EQ(shown, QStringLiteral("z\nz"));
    EXPECT_EQ(*m_level.m_levelFiles.m_entries[2]->m_data, TextBytes("z\r\nzz\r\n"));
    EXPECT_EQ(m_level.m_levelFiles.m_entries[2]->m_size, 7);
    EXPECT_EQ(m_modified, 7);

    // Save: the bytes go to the file chosen, named after the entry.
    SelectRow(*dialog, QStringLiteral("x.cog"));
    const std::filesystem::path saved = Temp() / "saved" / "x.cog";
    std::filesystem::create_directories(saved.parent_path());
    m_fileAnswers.push_back(QString::fromStdString(saved.string()));
    Click(*dialog, Ctl::kFilesSave);
    EXPECT_EQ(ReadFileBytes(saved), TextBytes("mm"));

    // Edit on a type without an editor says so.
    dialog->SelectFolder(14);
    SelectRow(*dialog, QStringLiteral("s.wav"));
    Click(*dialog, Ctl::kFilesEdit);
    ASSERT_EQ(m_messages.size(), 2);
    EXPECT_EQ(m_messages[1], QStringLiteral("No editor exist for this item."));
}

TEST_F(FilesInLevelTest, DragOutWritesItsFileOnceAndOnlyInsideItsFolder)
{
    const auto add = [this](const char* name, const std::string& bytes, std::int32_t size) {
        auto entry = std::make_unique<CTreeObject>(name, TextBytes(bytes), 0);
        entry->m_path = std::string("cog\\") + name;
        entry->m_size = size;
        m_level.m_levelFiles.m_entries.push_back(std::move(entry));
    };
    add("../up.cog", "bad", 5);  // leaves its folder, and holds fewer bytes than its size
    add("ok.cog", "ok", 2);
    add("c:drive.cog", "c", 1);
    auto dialog = Dialog();
    CDragListCtrl& list = *Control<CDragListCtrl>(*dialog, Ctl::kFilesList);
    ASSERT_EQ(list.topLevelItemCount(), 3);

    std::unique_ptr<CFileDataSource> source = list.MakeDataSource(1);
    ASSERT_NE(source, nullptr);
    const std::filesystem::path file = source->TempFile();
    EXPECT_EQ(file.filename(), "ok.cog");
    EXPECT_FALSE(std::filesystem::exists(file));  // nothing is written before the target asks
    const QList<QUrl> urls = source->urls();
    ASSERT_EQ(urls.size(), 1);
    EXPECT_EQ(urls[0].toLocalFile().toStdString(), file.string());
    EXPECT_EQ(ReadFileBytes(file), TextBytes("ok"));
    // Asked again, the target gets the same file, not written anew.
    std::filesystem::remove(file);
    EXPECT_EQ(source->urls(), urls);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(m_messages.isEmpty());

    // Only the file name counts, inside the list's folder; the short file is refused with its
    // message and nothing is written.
    source = list.MakeDataSource(0);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->TempFile().parent_path(), file.parent_path());
    EXPECT_EQ(source->TempFile().filename(), "up.cog");
    source->urls();
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_FALSE(std::filesystem::exists(source->TempFile()));
    EXPECT_FALSE(std::filesystem::exists(file.parent_path().parent_path() / "up.cog"));
    // A name with a drive letter, and a row that is not there, offer nothing.
    EXPECT_EQ(list.MakeDataSource(2), nullptr);
    EXPECT_EQ(list.MakeDataSource(7), nullptr);
}

TEST_F(FilesInLevelTest, TheDocumentCommandOpensTheDialogAndChangesMarkTheDocumentModified)
{
    EndApp();
    CQzEditDoc* doc = StartShownWithDocument();
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(false);
    const QString cog = HostFile("door.cog", TextBytes("cog"));
    bool shown = false;
    OnModal<CFilesInLevelDlg>(m_app.get(), [&](CFilesInLevelDlg& dialog) {
        shown = true;
        dialog.AddFiles({cog});
        Click(dialog, Ctl::kOk);
    });
    TriggerCommand(*m_app->m_pMainFrame, Cmd::kFilesInLevel);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(doc->IsModified());
    ASSERT_EQ(doc->m_level->m_levelFiles.m_entries.size(), 1U);
    EXPECT_EQ(doc->m_level->m_levelFiles.m_entries[0]->m_path, "cog\\door.cog");
}
