// The Multi Level Editor driven by control id: the controls and their lists, Add numbering and
// linking the levels (also after a Delete), the fields stored when the selection changes, the
// ".qml" file written and read back, Save As building the episode archive, Close writing the
// list, and every failure reported with the list kept.

#include "AppTestSupport.h"

#include "app/MainFrame.h"
#include "engine/CommandIds.h"
#include "episode/MultiLevelItem.h"
#include "episode/ui/MultiLevelEditorDlg.h"
#include "framework/FileIO.h"
#include "level/GameResources.h"
#include "resources/GobArchive.h"
#include "support/EpisodeLevels.h"
#include "ui/DialogIds.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

class MultiLevelEditorDlgTest : public AppTest {
protected:
    QString MakeLevel(const CEpisodeLevelSpec& spec)
    {
        return QString::fromStdString(WriteEpisodeLevel(Temp(), spec).string());
    }

    // Adds the levels in one multi-select Add.
    void Add(CMultiLevelEditorDlg& dialog, const QStringList& paths)
    {
        m_fileAnswers.push_back(paths.join(QLatin1Char('\n')));
        Click(dialog, Ctl::kMultiAdd);
    }

    // Three levels added: a (Level), b (Cut Scene, powers 3/6), c (Decision, powers 8/8).
    void AddThree(CMultiLevelEditorDlg& dialog)
    {
        Add(dialog, {MakeLevel({"a", "Alpha", 0, 0, 0}), MakeLevel({"b", "Beta", 1, 3, 6}),
                     MakeLevel({"c", "Gamma", 2, 8, 8})});
    }

    static QString Text(QWidget& dialog, int id)
    {
        if (auto* text = dialog.findChild<QTextEdit*>(Id(id)))
            return text->toPlainText();
        return Control<QLineEdit>(dialog, id)->text();
    }
    static QComboBox* List(QWidget& dialog, int id) { return Control<QComboBox>(dialog, id); }
    static QStringList Items(QComboBox& list)
    {
        QStringList items;
        for (int i = 0; i < list.count(); ++i)
            items << list.itemText(i);
        return items;
    }

    CGameResources m_game;
};

TEST_F(MultiLevelEditorDlgTest, ShowsItsControlsAndLists)
{
    CMultiLevelEditorDlg dialog(m_game, 0);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("5030"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Multi Level Editor"));
    EXPECT_EQ(Items(*List(dialog, Ctl::kMultiMasterType)),
              (QStringList{"Single User", "Death Match", "Multi Player", "Team Death Match"}));
    EXPECT_EQ(Items(*List(dialog, Ctl::kMultiLevelType)),
              (QStringList{"Level", "Cut Scene", "Decision"}));
    const QStringList light = Items(*List(dialog, Ctl::kMultiLightPower));
    const QStringList dark = Items(*List(dialog, Ctl::kMultiDarkPower));
    ASSERT_EQ(light.size(), 9);
    ASSERT_EQ(dark.size(), 9);
    EXPECT_EQ(light.front(), QStringLiteral("None"));
    EXPECT_EQ(dark.front(), QStringLiteral("None"));
    EXPECT_NE(light, dark);
    for (const int id : {Ctl::kMultiGoals, Ctl::kMultiTexts, Ctl::kMultiCogs})
        EXPECT_EQ(Control<QTextEdit>(dialog, id)->font().family(), QStringLiteral("Courier New"))
            << id;
    EXPECT_TRUE(List(dialog, Ctl::kMultiLevelTitles)->isEditable());
    const std::pair<int, const char*> buttons[] = {
        {Ctl::kMultiOpen, "&Open"}, {Ctl::kCancel, "&Close"}, {Ctl::kMultiSaveAs, "&Save As"},
        {Ctl::kHelp, "&Help"},      {Ctl::kMultiAdd, "&Add"}, {Ctl::kMultiDelete, "&Delete"}};
    for (const auto& [id, text] : buttons)
        EXPECT_EQ(Control<QPushButton>(dialog, id)->text(), QString::fromLatin1(text)) << id;
    EXPECT_FALSE(Control<QPushButton>(dialog, Ctl::kMultiDelete)->isEnabled());
    unsigned int helpShown = 0;
    const CHelpHandler previous =
        SetHelpHandler([&helpShown](unsigned int context) { helpShown = context; });
    Click(dialog, Ctl::kHelp);
    SetHelpHandler(previous);
    EXPECT_EQ(helpShown, 0x20000U + 5030U);
    EXPECT_EQ(Text(dialog, Ctl::kMultiLevelNumber), QStringLiteral("10"));
    EXPECT_EQ(Text(dialog, Ctl::kMultiGotoA), QStringLiteral("-1"));
    EXPECT_EQ(Text(dialog, Ctl::kMultiGotoB), QStringLiteral("-1"));
}

TEST_F(MultiLevelEditorDlgTest, AddNumbersAndLinksTheLevelsFromTheirFields)
{
    CMultiLevelEditorDlg dialog(m_game, 0);
    AddThree(dialog);
    EXPECT_EQ(m_fileDialogs, (QStringList{"Add"}));
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
    const auto& items = dialog.List().m_items;
    ASSERT_EQ(items.size(), 3u);
    struct Want {
        const char* file;
        const char* title;
        int line, base, gotoA, type, light, dark;
    };
    const Want wants[] = {{"a", "Alpha", 10, 1000, 20, 0, 0, 0},
                          {"b", "Beta", 20, 2000, 30, 1, 3, 6},
                          {"c", "Gamma", 30, 3000, -1, 2, 8, 8}};
    for (std::size_t i = 0; i < 3; ++i) {
        const CMultiLevelItem& item = *items[i];
        const Want& w = wants[i];
        EXPECT_EQ(item.m_fileName, w.file) << i;
        EXPECT_EQ(item.m_levelPath, (Temp() / (std::string(w.file) + ".qze")).string()) << i;
        EXPECT_EQ(item.m_levelTitle, w.title) << i;
        EXPECT_EQ(item.m_lineNumber, w.line) << i;
        EXPECT_EQ(item.m_goalsBase, w.base) << i;
        EXPECT_EQ(item.m_cogsBase, w.base) << i;
        EXPECT_EQ(item.m_gotoA, w.gotoA) << i;
        EXPECT_EQ(item.m_gotoB, -1) << i;
        EXPECT_EQ(item.m_levelType, w.type) << i;
        EXPECT_EQ(item.m_lightPower, w.light) << i;
        EXPECT_EQ(item.m_darkPower, w.dark) << i;
        EXPECT_EQ(item.m_texts, (Strings{"^Objectives", "Reach the exit."})) << i;
        EXPECT_EQ(item.m_goals, (Strings{std::string("Goal of ") + w.file})) << i;
        EXPECT_EQ(item.m_cogs, (Strings{std::string("Cog of ") + w.file})) << i;
    }
    // The first level names the episode; the last is shown.
    EXPECT_EQ(Text(dialog, Ctl::kMultiMasterTitle), QStringLiteral("Episode of a"));
    QComboBox* titles = List(dialog, Ctl::kMultiLevelTitles);
    EXPECT_EQ(Items(*titles), (QStringList{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(titles->currentIndex(), 2);
    EXPECT_EQ(titles->currentText(), QStringLiteral("Gamma"));
    EXPECT_EQ(dialog.CurrentEntry(), 2);
    EXPECT_EQ(Text(dialog, Ctl::kMultiLevelFile), QStringLiteral("c"));
    EXPECT_EQ(Text(dialog, Ctl::kMultiLevelNumber), QStringLiteral("30"));
    EXPECT_EQ(Text(dialog, Ctl::kMultiGotoA), QStringLiteral("-1"));
    EXPECT_EQ(Text(dialog, Ctl::kMultiGoalsBase), QStringLiteral("03000"));
    EXPECT_EQ(Text(dialog, Ctl::kMultiCogsBase), QStringLiteral("03000"));
    EXPECT_EQ(Text(dialog, Ctl::kMultiTexts), QStringLiteral("^Objectives\nReach the exit.\n"));
    EXPECT_EQ(List(dialog, Ctl::kMultiLevelType)->currentIndex(), 2);
    EXPECT_EQ(List(dialog, Ctl::kMultiLightPower)->currentIndex(), 8);
    EXPECT_TRUE(Control<QPushButton>(dialog, Ctl::kMultiDelete)->isEnabled());

    // Selecting another line shows it.
    titles->setCurrentIndex(0);
    EXPECT_EQ(dialog.CurrentEntry(), 0);
    EXPECT_EQ(Text(dialog, Ctl::kMultiGotoA), QStringLiteral("20"));
    EXPECT_EQ(Text(dialog, Ctl::kMultiGoals), QStringLiteral("Goal of a\n"));
    EXPECT_EQ(List(dialog, Ctl::kMultiDarkPower)->currentIndex(), 0);
}

TEST_F(MultiLevelEditorDlgTest, SwitchingStoresEveryFieldOfTheLevel)
{
    CMultiLevelEditorDlg dialog(m_game, 0);
    AddThree(dialog);
    QComboBox* titles = List(dialog, Ctl::kMultiLevelTitles);
    titles->setCurrentIndex(1);
    titles->setEditText(QStringLiteral("Beta Two"));
    Control<QLineEdit>(dialog, Ctl::kMultiLevelFile)->setText(QStringLiteral("beta2"));
    Control<QLineEdit>(dialog, Ctl::kMultiLevelPath)->setText(QStringLiteral("/x/beta2.qze"));
    Control<QLineEdit>(dialog, Ctl::kMultiLevelNumber)->setText(QStringLiteral("25"));
    Control<QLineEdit>(dialog, Ctl::kMultiGotoA)->setText(QStringLiteral("30"));
    Control<QLineEdit>(dialog, Ctl::kMultiGotoB)->setText(QStringLiteral("10"));
    Control<QLineEdit>(dialog, Ctl::kMultiGoalsBase)->setText(QStringLiteral("2500x"));
    Control<QLineEdit>(dialog, Ctl::kMultiCogsBase)->setText(QStringLiteral("none"));
    Control<QTextEdit>(dialog, Ctl::kMultiGoals)->setPlainText(QStringLiteral("a\n\nb"));
    Control<QTextEdit>(dialog, Ctl::kMultiCogs)->clear();
    List(dialog, Ctl::kMultiLevelType)->setCurrentIndex(2);
    List(dialog, Ctl::kMultiLightPower)->setCurrentIndex(5);
    List(dialog, Ctl::kMultiDarkPower)->setCurrentIndex(7);
    titles->setCurrentIndex(0);

    const CMultiLevelItem& item = *dialog.List().m_items[1];
    EXPECT_EQ(item.m_levelTitle, "Beta Two");
    EXPECT_EQ(titles->itemText(1), QStringLiteral("Beta Two"));
    EXPECT_EQ(titles->currentText(), QStringLiteral("Alpha"));
    EXPECT_EQ(item.m_fileName, "beta2");
    EXPECT_EQ(item.m_levelPath, "/x/beta2.qze");
    EXPECT_EQ(item.m_lineNumber, 25);
    EXPECT_EQ(item.m_gotoA, 30);
    EXPECT_EQ(item.m_gotoB, 10);
    EXPECT_EQ(item.m_goalsBase, 2500);  // the decimal value the text begins with
    EXPECT_EQ(item.m_cogsBase, 2000);   // no number: the base stays
    EXPECT_EQ(item.m_goals, (Strings{"a", "", "b"}));
    EXPECT_TRUE(item.m_cogs.empty());
    EXPECT_EQ(item.m_texts, (Strings{"^Objectives", "Reach the exit."}));
    // The three selections are the level's too.
    EXPECT_EQ(item.m_levelType, 2);
    EXPECT_EQ(item.m_lightPower, 5);
    EXPECT_EQ(item.m_darkPower, 7);

    // An integer field left without a number keeps the level's value.
    titles->setCurrentIndex(1);
    Control<QLineEdit>(dialog, Ctl::kMultiLevelNumber)->setText(QStringLiteral("twenty"));
    titles->setCurrentIndex(2);
    EXPECT_EQ(dialog.List().m_items[1]->m_lineNumber, 25);
}

TEST_F(MultiLevelEditorDlgTest, AddAfterDeleteTakesNumbersNotInUse)
{
    CMultiLevelEditorDlg dialog(m_game, 0);
    AddThree(dialog);
    QComboBox* titles = List(dialog, Ctl::kMultiLevelTitles);
    titles->setCurrentIndex(0);
    Click(dialog, Ctl::kMultiDelete);
    EXPECT_EQ(Items(*titles), (QStringList{"Beta", "Gamma"}));
    EXPECT_EQ(dialog.CurrentEntry(), -1);
    EXPECT_EQ(titles->currentIndex(), -1);
    EXPECT_FALSE(Control<QPushButton>(dialog, Ctl::kMultiDelete)->isEnabled());
    // Any line, also the one shown before, can be chosen again.
    titles->setCurrentIndex(0);
    EXPECT_EQ(dialog.CurrentEntry(), 0);
    EXPECT_EQ(Text(dialog, Ctl::kMultiLevelFile), QStringLiteral("b"));

    Add(dialog, {MakeLevel({"d", "Delta", 0, 1, 1})});
    const auto& items = dialog.List().m_items;
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[2]->m_lineNumber, 40);
    EXPECT_EQ(items[2]->m_goalsBase, 4000);
    EXPECT_EQ(items[2]->m_cogsBase, 4000);
    EXPECT_EQ(items[1]->m_gotoA, 40);
    EXPECT_EQ(items[0]->m_lineNumber, 20);

    // The last Delete clears the fields.
    for (int i = 0; i < 3; ++i) {
        titles->setCurrentIndex(0);
        Click(dialog, Ctl::kMultiDelete);
    }
    EXPECT_TRUE(dialog.List().m_items.empty());
    EXPECT_EQ(titles->count(), 0);
    EXPECT_EQ(Text(dialog, Ctl::kMultiLevelNumber), QStringLiteral("10"));
    EXPECT_EQ(Text(dialog, Ctl::kMultiGotoA), QStringLiteral("-1"));
    EXPECT_EQ(Text(dialog, Ctl::kMultiGotoB), QStringLiteral("-1"));
    for (const int id : {Ctl::kMultiLevelFile, Ctl::kMultiLevelPath, Ctl::kMultiGoalsBase,
                         Ctl::kMultiGoals, Ctl::kMultiTexts, Ctl::kMultiCogs})
        EXPECT_TRUE(Text(dialog, id).isEmpty()) << id;
}

TEST_F(MultiLevelEditorDlgTest, QmlFileWrittenAndReadBackGivesTheSameList)
{
    const QString qml = QString::fromStdString((Temp() / "episode.qml").string());
    CMultiLevelList saved;
    {
        CMultiLevelEditorDlg dialog(m_game, 0);
        AddThree(dialog);
        Control<QLineEdit>(dialog, Ctl::kMultiMasterTitle)->setText(QStringLiteral("The Mines"));
        List(dialog, Ctl::kMultiMasterType)->setCurrentIndex(3);
        Control<QTextEdit>(dialog, Ctl::kMultiGoals)->setPlainText(QStringLiteral("a\n\nb"));
        m_fileAnswers.push_back(qml);
        Click(dialog, Ctl::kMultiSaveAs);
        EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Multi Level Editor - ") + qml);
        // The level shown is still the one the fields edit.
        EXPECT_EQ(dialog.CurrentEntry(), 2);
        saved = ReadMultiLevelBytes(ReadFileBytes(qml.toStdString()));
        EXPECT_EQ(saved.m_masterTitle, "The Mines");
        EXPECT_EQ(saved.m_masterType, 3);
        ASSERT_EQ(saved.m_items.size(), 3u);
        EXPECT_EQ(saved.m_items[2]->m_goals, (Strings{"a", "", "b"}));
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(*saved.m_items[i], *dialog.List().m_items[i]) << i;
    }
    CMultiLevelEditorDlg dialog(m_game, 0);
    m_fileAnswers.push_back(qml);
    Click(dialog, Ctl::kMultiOpen);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Multi Level Editor - ") + qml);
    ASSERT_EQ(dialog.List().m_items.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(*dialog.List().m_items[i], *saved.m_items[i]) << i;
    EXPECT_EQ(Text(dialog, Ctl::kMultiMasterTitle), QStringLiteral("The Mines"));
    EXPECT_EQ(List(dialog, Ctl::kMultiMasterType)->currentIndex(), 3);
    EXPECT_EQ(Items(*List(dialog, Ctl::kMultiLevelTitles)),
              (QStringList{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(dialog.CurrentEntry(), 0);
    EXPECT_EQ(Text(dialog, Ctl::kMultiLevelFile), QStringLiteral("a"));

    // Close writes the list, with the edits, to the file last opened.
    Control<QLineEdit>(dialog, Ctl::kMultiLevelFile)->setText(QStringLiteral("first"));
    Click(dialog, Ctl::kCancel);
    EXPECT_FALSE(dialog.isVisible());
    const CMultiLevelList closed = ReadMultiLevelBytes(ReadFileBytes(qml.toStdString()));
    ASSERT_EQ(closed.m_items.size(), 3u);
    EXPECT_EQ(closed.m_items[0]->m_fileName, "first");
    EXPECT_EQ(closed.m_masterTitle, "The Mines");
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
}

TEST_F(MultiLevelEditorDlgTest, SaveAsGobBuildsTheEpisodeArchive)
{
    CMultiLevelEditorDlg dialog(m_game, 0);
    Add(dialog, {MakeLevel({"one", "One", 0, 0, 0}), MakeLevel({"Two", "Two", 0, 0, 0})});
    const std::filesystem::path gob = Temp() / "Episode.GOB";
    m_fileAnswers.push_back(QString::fromStdString(gob.string()));
    Click(dialog, Ctl::kMultiSaveAs);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
    // Not a list file: the caption and the file Close writes stay as they were.
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Multi Level Editor"));
    const CGobArchive archive = CGobArchive::Load(gob);
    std::vector<std::string> names;
    for (const auto& entry : archive.GetEntries())
        names.push_back(entry.m_path);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (Strings{"episode.qz", "misc\\cogstrings.uni", "qzl\\one.qzl", "qzl\\two.qzl"}));

    // A level gone from the disk is left out, and the user is told.
    std::filesystem::remove(Temp() / "Two.qze");
    m_fileAnswers.push_back(QString::fromStdString((Temp() / "second.goo").string()));
    Click(dialog, Ctl::kMultiSaveAs);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].startsWith(
        QStringLiteral("The episode archive was written without these items:\n")));
    EXPECT_TRUE(m_messages[0].contains(QStringLiteral("Two.qze"))) << m_messages[0].toStdString();
    EXPECT_TRUE(std::filesystem::exists(Temp() / "second.goo"));

    // An archive that cannot be written says so.
    m_fileAnswers.push_back(QString::fromStdString((Temp() / "absent" / "x.gob").string()));
    Click(dialog, Ctl::kMultiSaveAs);
    ASSERT_EQ(m_messages.size(), 2);
    EXPECT_TRUE(m_messages[1].endsWith(QStringLiteral("The episode archive was not written.")))
        << m_messages[1].toStdString();
}

TEST_F(MultiLevelEditorDlgTest, FailuresAreReportedAndTheListKept)
{
    CMultiLevelEditorDlg dialog(m_game, 0);
    AddThree(dialog);
    const std::filesystem::path damaged = Temp() / "damaged.qml";
    {
        std::vector<std::uint8_t> bytes = WriteMultiLevelBytes(dialog.List());
        bytes.resize(bytes.size() / 2);
        std::ofstream(damaged, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    struct Case {
        std::filesystem::path path;
        const char* begins;
    };
    const Case cases[] = {{damaged, "\""}, {Temp() / "missing.qml", "Cannot open"}};
    for (const Case& c : cases) {
        m_messages.clear();
        m_fileAnswers.push_back(QString::fromStdString(c.path.string()));
        Click(dialog, Ctl::kMultiOpen);
        ASSERT_EQ(m_messages.size(), 1) << c.path;
        EXPECT_TRUE(m_messages[0].startsWith(QString::fromLatin1(c.begins)))
            << m_messages[0].toStdString();
        EXPECT_TRUE(m_messages[0].contains(QString::fromStdString(c.path.string())));
        EXPECT_TRUE(m_messages[0].endsWith(QStringLiteral("The list is left as it was.")));
        EXPECT_EQ(dialog.List().m_items.size(), 3u);
        EXPECT_EQ(Items(*List(dialog, Ctl::kMultiLevelTitles)).size(), 3);
        EXPECT_EQ(dialog.CurrentEntry(), 2);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Multi Level Editor"));
    }

    // A list file that cannot be written.
    m_messages.clear();
    const QString nowhere = QString::fromStdString((Temp() / "absent" / "e.qml").string());
    m_fileAnswers.push_back(nowhere);
    Click(dialog, Ctl::kMultiSaveAs);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].startsWith(QStringLiteral("Cannot create \"") + nowhere))
        << m_messages[0].toStdString();
    EXPECT_TRUE(m_messages[0].endsWith(QStringLiteral("The list was not saved.")));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Multi Level Editor"));

    // Levels that do not open are named; the others are added.
    m_messages.clear();
    std::ofstream(Temp() / "junk.qze", std::ios::binary) << "\x05QZ junk";
    const QString junk = QString::fromStdString((Temp() / "junk.qze").string());
    const QString gone = QString::fromStdString((Temp() / "gone.qze").string());
    Add(dialog, {junk, MakeLevel({"e", "Epsilon", 0, 0, 0}), gone});
    EXPECT_EQ(dialog.List().m_items.size(), 4u);
    EXPECT_EQ(dialog.CurrentEntry(), 3);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].startsWith(QStringLiteral("These levels could not be added:\n")));
    EXPECT_TRUE(m_messages[0].contains(junk));
    EXPECT_TRUE(m_messages[0].contains(gone));

    // Close after a list file was saved to a folder that is gone.
    m_messages.clear();
    const std::filesystem::path folder = Temp() / "later";
    std::filesystem::create_directory(folder);
    m_fileAnswers.push_back(QString::fromStdString((folder / "e.qml").string()));
    Click(dialog, Ctl::kMultiSaveAs);
    ASSERT_TRUE(m_messages.isEmpty());
    std::filesystem::remove_all(folder);
    dialog.show();
    Click(dialog, Ctl::kCancel);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].endsWith(QStringLiteral("The list was not saved.")));
    // The list is not lost: the dialog stays open with every entry, to be saved elsewhere.
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(dialog.List().m_items.size(), 4u);
}

TEST_F(MultiLevelEditorDlgTest, CommandOpensTheDialogModally)
{
    MakeApp();
    bool modal = false;
    CModalAnswer answer([&modal](QWidget& dialog) {
        EXPECT_EQ(dialog.objectName(), QString::number(Dlg::kMultiLevelEditor));
        modal = dialog.isModal();
        Click(dialog, Ctl::kCancel);
    });
    TriggerCommand(*m_app->m_pMainFrame, Cmd::kMultiLevelEditor);
    EXPECT_TRUE(answer.Answered());
    EXPECT_TRUE(modal);
}

}  // namespace
