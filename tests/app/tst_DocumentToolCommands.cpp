// The document's Level, Tools and Library commands in the running application, driven through
// the menu and the dialogs' controls by id: the sector library's Save and Load round trip (the
// file made only after OK), Rename and Delete preset with the current sector's group, Select
// Sound through the sound picker, the cog editors on the user's copies with their failures shown,
// and the commands whose dialogs or builders do not exist yet greyed. The surface effects and the
// conveyor belt ask their question while "Warning" is on (No leaves no undo step) and build in
// one undo step; a library Load of a group the level has replaces it, with or without the game's
// archive, and marks the document modified; Save and Load offer OK only with a group selected.

#include "AppTestSupport.h"

#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "engine/CommandIds.h"
#include "engine/Undo.h"
#include "framework/Settings.h"
#include "level/QzeFile.h"
#include "level/QzlCog.h"
#include "resources/ui/AnimationManagerDlg.h"
#include "resources/ui/EditorDlg.h"
#include "resources/ui/SoundsDlg.h"
#include "support/FixtureLevels.h"
#include "tools/SectorLibrary.h"
#include "tools/ui/LibraryDeleteDlg.h"
#include "tools/ui/LibraryLoadDlg.h"
#include "tools/ui/LibraryRenameDlg.h"
#include "tools/ui/LibrarySaveDlg.h"
#include "ui/DialogIds.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Selects text in the group list and presses OK.
template <class T>
std::function<void(T&)> ChooseGroup(const QString& text, QStringList* listed = nullptr)
{
    return [text, listed](T& dialog) {
        QListWidget* list = Control<QListWidget>(dialog, Ctl::kGroupNames);
        if (listed != nullptr)
            for (int i = 0; i < list->count(); ++i)
                listed->append(list->item(i)->text());
        const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
        if (!found.isEmpty())
            list->setCurrentItem(found.front());
        Click(dialog, Ctl::kOk);
    };
}

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class DocumentToolCommandsTest : public AppTest {
protected:
    CMainFrame& Frame() { return *m_app->m_pMainFrame; }

    // Two joined rooms, sector 1 of group "Annex", sector 0 current.
    CQzEditDoc& Start()
    {
        m_doc = StartShownWithDocument();
        EXPECT_NE(m_doc, nullptr);
        CQzlSections level = MakeTwoJoinedRooms();
        level.m_sectors[1]->m_groupName = "Annex";
        C3dView& engine = GiveDocumentEngine(*m_doc, std::move(level));
        engine.m_selection.m_sector = 1;
        return *m_doc;
    }

    bool Enabled(int id)
    {
        Frame().UpdateCommandUI();
        const QAction* action = Frame().Action(id);
        return action != nullptr && action->isEnabled();
    }

    void Run(int id)
    {
        Frame().UpdateCommandUI();
        ASSERT_TRUE(Enabled(id)) << id;
        Frame().Action(id)->trigger();
    }

    CQzEditDoc* m_doc = nullptr;
};

TEST_F(DocumentToolCommandsTest, LibrarySaveDeleteAndLoadGiveTheGroupBack)
{
    CQzEditDoc& doc = Start();
    const QString library = QString::fromStdString((Temp() / "annex.qze").string());

    // Save: the file, then the group; the dialog shows the file's name and the level's groups.
    doc.SetModifiedFlag(false);
    m_fileAnswers.push_back(library);
    QStringList listed;
    QString shownFile;
    OnModal<CLibrarySaveDlg>(m_app.get(), [&](CLibrarySaveDlg& dialog) {
        shownFile = Control<QLineEdit>(dialog, Ctl::kLibraryFile)->text();
        ChooseGroup<CLibrarySaveDlg>(QStringLiteral("Annex"), &listed)(dialog);
    });
    Run(Cmd::kLibrarySave);
    EXPECT_EQ(m_fileDialogs, QStringList{QStringLiteral("Library, Save")});
    EXPECT_EQ(shownFile, QStringLiteral("annex.qze"));
    EXPECT_EQ(listed, (QStringList{QStringLiteral("Annex"), QStringLiteral("Default")}));
    ASSERT_TRUE(std::filesystem::exists(library.toStdString()));
    EXPECT_EQ(ReadLibraryFile(library.toStdString(), 0).m_sectors.size(), 1U);
    EXPECT_FALSE(doc.IsModified());

    // Delete, preset with the current sector's group.
    QString preset;
    OnModal<CLibraryDeleteDlg>(m_app.get(), [&](CLibraryDeleteDlg& dialog) {
        preset = Control<QLineEdit>(dialog, Ctl::kGroupName)->text();
        Click(dialog, Ctl::kOk);
    });
    Run(Cmd::kLibraryDelete);
    EXPECT_EQ(preset, QStringLiteral("Annex"));
    ASSERT_EQ(doc.m_level->m_sectors.size(), 1U);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(CanUndo(*m_engine));

    // Load: the group comes back beside the room, joined to it.
    m_fileAnswers.push_back(library);
    OnModal<CLibraryLoadDlg>(m_app.get(), ChooseGroup<CLibraryLoadDlg>(QStringLiteral("Annex")));
    Run(Cmd::kLibraryLoad);
    ASSERT_EQ(doc.m_level->m_sectors.size(), 2U);
    EXPECT_EQ(doc.m_level->m_sectors[1]->m_groupName, "Annex");
    EXPECT_GE(
        doc.m_level->m_surfaces[static_cast<std::size_t>(BoxSurface(*doc.m_level, 0, kBoxXHigh))]
            ->m_adjoin,
        0);
    EXPECT_EQ(doc.m_level->m_undoList.size(), 2U);
}

TEST_F(DocumentToolCommandsTest, LibrarySaveCancelledAtTheGroupsMakesNoFile)
{
    Start();
    const std::filesystem::path library = Temp() / "cancelled.qze";
    m_fileAnswers.push_back(QString::fromStdString(library.string()));
    OnModal<CLibrarySaveDlg>(m_app.get(),
                             [](CLibrarySaveDlg& dialog) { Click(dialog, Ctl::kCancel); });
    Run(Cmd::kLibrarySave);
    EXPECT_FALSE(std::filesystem::exists(library));
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(DocumentToolCommandsTest, LibraryLoadOfABadFileSaysWhyAndChangesNothing)
{
    CQzEditDoc& doc = Start();
    const std::filesystem::path bad = Temp() / "bad.qze";
    std::ofstream(bad, std::ios::binary) << "QZ not a level";
    m_fileAnswers.push_back(QString::fromStdString(bad.string()));
    Run(Cmd::kLibraryLoad);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].contains(QStringLiteral("bad.qze")));
    EXPECT_EQ(doc.m_level->m_sectors.size(), 2U);
    EXPECT_FALSE(CanUndo(*m_engine));
}

TEST_F(DocumentToolCommandsTest, LibraryRenameTakesTheDialogsNames)
{
    CQzEditDoc& doc = Start();
    OnModal<CLibraryRenameDlg>(m_app.get(), [](CLibraryRenameDlg& dialog) {
        EXPECT_EQ(Control<QLineEdit>(dialog, Ctl::kOldGroupName)->text(), QStringLiteral("Annex"));
        Control<QLineEdit>(dialog, Ctl::kNewGroupName)->setText(QStringLiteral("Hall"));
        Click(dialog, Ctl::kOk);
    });
    Run(Cmd::kLibraryRename);
    EXPECT_EQ(doc.m_level->m_sectors[1]->m_groupName, "Hall");
    EXPECT_EQ(doc.m_level->m_sectors[0]->m_groupName, "Default");

    // Cancel changes nothing and takes no undo step.
    const std::size_t steps = doc.m_level->m_undoList.size();
    OnModal<CLibraryRenameDlg>(m_app.get(),
                               [](CLibraryRenameDlg& dialog) { Click(dialog, Ctl::kCancel); });
    Run(Cmd::kLibraryRename);
    EXPECT_EQ(doc.m_level->m_undoList.size(), steps);
}

TEST_F(DocumentToolCommandsTest, SelectSoundThroughThePicker)
{
    CQzEditDoc& doc = Start();
    m_engine->m_selection.m_sector = -1;
    EXPECT_FALSE(Enabled(Cmd::kSelectSound));
    m_engine->m_selection.m_sector = 0;
    QString caption;
    OnModal<CSoundsDlg>(m_app.get(), [&caption](CSoundsDlg& dialog) {
        caption = dialog.windowTitle();
        QListWidget* list = Control<QListWidget>(dialog, Ctl::kSoundsList);
        ASSERT_GT(list->count(), 0);
        list->setCurrentRow(0);
        Click(dialog, Ctl::kOk);
    });
    Run(Cmd::kSelectSound);
    EXPECT_EQ(caption, QStringLiteral("Add Sound to level"));
    ASSERT_EQ(doc.m_level->m_sounds.size(), 1U);
    EXPECT_EQ(doc.m_level->m_sectors[0]->m_sound, 0);
    EXPECT_TRUE(CanUndo(*m_engine));
}

TEST_F(DocumentToolCommandsTest, CogEditorsWorkOnTheUsersCopy)
{
    Start();
    struct Case {
        int command;
        const char* file;
        const char* title;
    };
    const Case cases[] = {
        {Cmd::kStartupCogEditor, "qzedit_start.cog", "Startup Cog Editor"},
        {Cmd::kGoalsCogEditor, "qzedit_goals.cog", "Goals Cog Editor"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const std::string installed = ReadText(ProgramDir() / c.file);
        ASSERT_FALSE(installed.empty());
        QString title;
        QString shown;
        OnModal<CEditorDlg>(m_app.get(), [&](CEditorDlg& dialog) {
            title = dialog.windowTitle();
            auto* editor = Control<QPlainTextEdit>(dialog, Ctl::kEditorText);
            shown = editor->toPlainText();
            editor->setPlainText(QStringLiteral("# edited\n") + shown);
            Click(dialog, Ctl::kOk);
        });
        Run(c.command);
        EXPECT_EQ(title, QString::fromLatin1(c.title));
        EXPECT_TRUE(shown.startsWith(QString::fromLatin1(installed.substr(0, 10).c_str())));
        // The user's copy holds the edit with the file's own line ends; the default stays.
        const std::string copy = ReadText(UserDataDir() / c.file);
        const bool crlf = installed.find("\r\n") != std::string::npos;
        EXPECT_EQ(copy.substr(0, crlf ? 10 : 9), crlf ? "# edited\r\n" : "# edited\n");
        EXPECT_EQ(ReadText(ProgramDir() / c.file), installed);
        // The next edit starts from the user's copy.
        OnModal<CEditorDlg>(m_app.get(), [&](CEditorDlg& dialog) {
            shown = Control<QPlainTextEdit>(dialog, Ctl::kEditorText)->toPlainText();
            Click(dialog, Ctl::kCancel);
        });
        Run(c.command);
        EXPECT_TRUE(shown.startsWith(QStringLiteral("# edited\n")));
    }
    // The window's rectangle was stored by the OKs.
    EXPECT_GE(m_app->m_settings.m_editWindowW, 1);
    EXPECT_TRUE(m_messages.isEmpty());

    // Switched off in the episode fields, the editors are greyed.
    m_doc->m_fields.m_startCogOn = 0;
    EXPECT_FALSE(Enabled(Cmd::kStartupCogEditor));
    EXPECT_TRUE(Enabled(Cmd::kGoalsCogEditor));
}

TEST_F(DocumentToolCommandsTest, CogEditorFailuresAreReported)
{
    Start();
    // Nothing to read: neither a user's copy nor the default.
    std::filesystem::remove(ProgramDir() / "qzedit_goals.cog");
    Run(Cmd::kGoalsCogEditor);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].contains(QStringLiteral("qzedit_goals.cog")));

    // Nowhere to write: the user's data folder is a file.
    m_messages.clear();
    std::ofstream(UserDataDir()) << "in the way";
    OnModal<CEditorDlg>(m_app.get(), [](CEditorDlg& dialog) { Click(dialog, Ctl::kOk); });
    Run(Cmd::kStartupCogEditor);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].contains(QStringLiteral("qzedit_start.cog")));
}

TEST_F(DocumentToolCommandsTest, AnimationManagerOpensOnTheCurrentSurfacesMaterial)
{
    CQzEditDoc& doc = Start();
    CQzlSections& level = *doc.m_level;
    level.m_materials[0]->m_name = "FIRE.MAT";
    struct Case {
        int surface;
        int material;
        const char* shown;
    };
    const Case cases[] = {
        {BoxSurface(level, 0, kBoxXLow), 0, "fire.mat"},
        {BoxSurface(level, 0, kBoxXLow), -1, ""},
        {-1, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        m_engine->m_selection.m_surface = c.surface;
        if (c.surface >= 0)
            level.m_surfaces[static_cast<std::size_t>(c.surface)]->m_material = c.material;
        QString caption;
        std::string shown = "unset";
        OnModal<CAnimationManagerDlg>(m_app.get(), [&](CAnimationManagerDlg& dialog) {
            caption = dialog.windowTitle();
            shown = dialog.Animation();
            Click(dialog, Ctl::kOk);
        });
        Run(Cmd::kAnimationManager);
        EXPECT_EQ(shown, c.shown);
        // The material is not among the level's files: nothing to manage yet.
        EXPECT_EQ(caption, QStringLiteral("Animation Manager"));
    }
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocumentToolCommandsTest, CommandsWithoutTheirDialogOrBuilderAreGreyed)
{
    CQzEditDoc& doc = Start();
    C3dView& engine = *m_engine;
    // A selection that every Create rule accepts but Light's: a portal with two nodes.
    engine.m_selection.m_sector = 0;
    engine.m_selection.m_surface = BoxSurface(*doc.m_level, 0, kBoxXHigh);
    engine.m_selection.m_pickedNodes = {CVector3{}, CVector3{1, 0, 0}};
    for (const int id : {Cmd::kCreateDome, Cmd::kCreateLayer})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(Cmd::kFilesInLevel));
    for (const int id : {Cmd::kFindItem,
                         Cmd::kHeader,
                         Cmd::kStatistics,
                         Cmd::kUpdateVertices,
                         Cmd::kRestoreSurface,
                         Cmd::kSelectSound,
                         Cmd::kSelectColorMap,
                         Cmd::kLibraryRename,
                         Cmd::kLibraryDelete,
                         Cmd::kLibrarySave,
                         Cmd::kLibraryLoad,
                         Cmd::kStartupCogEditor,
                         Cmd::kGoalsCogEditor,
                         Cmd::kCreateDoor,
                         Cmd::kCreateElevator,
                         Cmd::kCreateRectangle,
                         Cmd::kCreateCylinder,
                         Cmd::kCreatePyramid,
                         Cmd::kCreateStairs,
                         Cmd::kCreateLandscape,
                         Cmd::kCreateWater,
                         Cmd::kCreateForceField,
                         Cmd::kCreateBreakingGlass,
                         Cmd::kCreateSlashableGrate,
                         Cmd::kCreateConveyorBelt,
                         Cmd::kCreateSwitch,
                         Cmd::kAnimationManager})
        EXPECT_TRUE(Enabled(id)) << id;

    // Restore Surface and Update Vertices run on the engine with an undo step each.
    Run(Cmd::kRestoreSurface);
    Run(Cmd::kUpdateVertices);
    EXPECT_EQ(doc.m_level->m_undoList.size(), 2U);
}

// ---- The surface effects and the conveyor belt ----

TEST_F(DocumentToolCommandsTest, TheEffectsAskThenBuildInOneUndoStep)
{
    CQzEditDoc& doc = Start();
    C3dView& engine = *m_engine;
    engine.m_selection.m_sector = 0;
    const struct {
        int id;
        const char* question;
        const char* material;
    } cases[] = {
        {Cmd::kCreateWater, "Do you want to create a water sector?", "00fwater.mat"},
        {Cmd::kCreateForceField, "Do you want to create a Force Field?", "00wwarny.mat"},
        {Cmd::kCreateBreakingGlass, "Do you want to create a Breaking Glass?", "00wglas1.mat"},
        {Cmd::kCreateSlashableGrate, "Do you want to create a Slashable Grate?", "08tgrate.mat"},
    };
    // A wall without an adjoin offers none of them.
    engine.m_selection.m_surface = BoxSurface(*doc.m_level, 0, kBoxFloor);
    for (const auto& c : cases)
        EXPECT_FALSE(Enabled(c.id)) << c.question;
    engine.m_selection.m_surface = BoxSurface(*doc.m_level, 0, kBoxXHigh);

    m_app->m_settings.m_warning = 1;
    std::size_t undoSteps = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.question);
        doc.SetModifiedFlag(false);
        const std::vector<std::uint8_t> before = WriteLevelBytes(*doc.m_level);
        m_messages.clear();
        m_answers = {QMessageBox::No};
        Run(c.id);
        EXPECT_EQ(m_messages, QStringList{QString::fromLatin1(c.question)});
        EXPECT_EQ(WriteLevelBytes(*doc.m_level), before);
        EXPECT_EQ(doc.m_level->m_undoList.size(), undoSteps);
        EXPECT_FALSE(doc.IsModified());

        m_messages.clear();
        Run(c.id);  // Yes
        EXPECT_EQ(m_messages, QStringList{QString::fromLatin1(c.question)});
        EXPECT_EQ(doc.m_level->m_undoList.size(), ++undoSteps);
        EXPECT_TRUE(doc.IsModified());
        const CQzlSurface& front =
            *doc.m_level
                 ->m_surfaces[static_cast<std::size_t>(BoxSurface(*doc.m_level, 0, kBoxXHigh))];
        ASSERT_GE(front.m_material, 0);
        EXPECT_EQ(doc.m_level->m_materials[static_cast<std::size_t>(front.m_material)]->m_name,
                  c.material);
    }

    // "Warning" off: no question.
    m_app->m_settings.m_warning = 0;
    m_messages.clear();
    Run(Cmd::kCreateWater);
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(doc.m_level->m_undoList.size(), undoSteps + 1);
}

TEST_F(DocumentToolCommandsTest, TheConveyorBeltNeedsTwoNodesAndTurnsTheGridOff)
{
    CQzEditDoc& doc = Start();
    C3dView& engine = *m_engine;
    engine.m_selection.m_sector = 0;
    m_app->m_settings.m_warning = 0;
    engine.m_selection.m_surface = BoxSurface(*doc.m_level, 0, kBoxFloor);
    EXPECT_FALSE(Enabled(Cmd::kCreateConveyorBelt));
    engine.m_selection.m_pickedNodes = {CVector3{0, 0, 0}, CVector3{0, 0, 1}};
    doc.m_state.m_gridOn = 1;
    Run(Cmd::kCreateConveyorBelt);
    ASSERT_EQ(doc.m_level->m_cogs.size(), 1U);
    EXPECT_EQ(doc.m_level->m_cogs[0]->m_values[0], "(0.0/1.0/0.0)");
    EXPECT_EQ(doc.m_state.m_gridOn, 0);
    EXPECT_TRUE(CanUndo(engine));
    EXPECT_FALSE(Enabled(Cmd::kCreateConveyorBelt));
}

TEST_F(DocumentToolCommandsTest, LoadingAGroupTheLevelHasReplacesItAndMarksTheDocument)
{
    CQzEditDoc& doc = Start();
    ASSERT_NE(m_app->m_product.m_resources.m_archive, nullptr);
    // The library holds group "Annex": the second room of the same two rooms.
    CQzlSections library = MakeTwoJoinedRooms();
    library.m_sectors[1]->m_groupName = "Annex";
    const std::filesystem::path path = Temp() / "annex.qze";
    SaveLibraryFile(path, library, "Annex", CDocumentFields{}, CGameResources{});
    doc.m_level->m_sectors[1]->m_groupName = "ANNEX";  // Start() named it "Annex"

    // Without the game's archive, too: the level's own group goes before the loaded one comes.
    CGameResources kept = std::move(m_app->m_product.m_resources);
    m_app->m_product.m_resources = CGameResources{};
    for (int round = 0; round < 2; ++round) {
        doc.SetModifiedFlag(false);
        m_fileAnswers.push_back(QString::fromStdString(path.string()));
        OnModal<CLibraryLoadDlg>(m_app.get(), [](CLibraryLoadDlg& dialog) {
            QListWidget* list = Control<QListWidget>(dialog, Ctl::kGroupNames);
            ASSERT_EQ(list->count(), 1);
            list->setCurrentRow(0);
            Click(dialog, Ctl::kOk);
        });
        Run(Cmd::kLibraryLoad);
        EXPECT_EQ(doc.m_level->m_sectors.size(), 2U);
        EXPECT_TRUE(doc.IsModified());
    }
    EXPECT_EQ(doc.m_level->m_sectors[1]->m_groupName, "Annex");
    EXPECT_EQ(doc.m_level->m_undoList.size(), 2U);
    m_app->m_product.m_resources = std::move(kept);
}

TEST_F(DocumentToolCommandsTest, LibraryGroupDialogsOfferOkOnlyWithAGroupSelected)
{
    for (const bool save : {true, false}) {
        SCOPED_TRACE(save ? "save" : "load");
        const std::vector<std::string> names{"Annex", "Default"};
        std::unique_ptr<CLibraryGroupDlg> dialog;
        if (save)
            dialog = std::make_unique<CLibrarySaveDlg>("a.qze", names, nullptr);
        else
            dialog = std::make_unique<CLibraryLoadDlg>("a.qze", names, nullptr);
        QPushButton* ok = Control<QPushButton>(*dialog, Ctl::kOk);
        QListWidget* list = Control<QListWidget>(*dialog, Ctl::kGroupNames);
        EXPECT_FALSE(ok->isEnabled());
        dialog->accept();
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        list->setCurrentRow(1);
        EXPECT_TRUE(ok->isEnabled());
        list->clearSelection();
        EXPECT_FALSE(ok->isEnabled());
        list->setCurrentRow(0);
        dialog->accept();
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(dialog->m_groupName, "Annex");
    }
}

}  // namespace
