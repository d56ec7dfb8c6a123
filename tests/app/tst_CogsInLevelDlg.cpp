// The Cogs in Level window driven by control id through the document's command: the instances
// listed, the symbol rows and the scroll bar with 14 and 15 symbols, the value entry and Apply
// (one undo step, the document modified), Add through the nested "Add Cog to level" picker,
// Delete, Edit of a script the level carries, X, Y, Z with exactly two grid nodes, a second
// command replacing the window, the window's rectangle, Apply keeping what changed in the level
// behind the window, Delete then Cancel, closing the document while a value is typed, and the
// picker over empty index entries.

#include "AppTestSupport.h"

#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "engine/RenderData.h"
#include "framework/Settings.h"
#include "level/GameResources.h"
#include "level/LevelFiles.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "resources/TreeObject.h"
#include "resources/ui/CogsInLevelDlg.h"
#include "resources/ui/EditorDlg.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Values = std::vector<std::string>;

// A script of count int symbols "s0=d0" ... with their defaults.
std::vector<std::uint8_t> ScriptOf(int count)
{
    std::string text = "symbols\r\n";
    for (int i = 0; i < count; ++i)
        text += "int s" + std::to_string(i) + "=d" + std::to_string(i) + "\r\n";
    text += "end\r\n";
    return {text.begin(), text.end()};
}

std::unique_ptr<CQzlCog> Cog(const char* script, Values values)
{
    auto cog = std::make_unique<CQzlCog>(script);
    cog->m_values = std::move(values);
    return cog;
}

class CogsInLevelTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_doc = StartShownWithDocument();
        ASSERT_NE(m_doc, nullptr);
        CQzlSections level = MakeBoxRoom();
        AddLevelFile(level.m_levelFiles, "fourteen.cog", "cog\\fourteen.cog", ScriptOf(14));
        AddLevelFile(level.m_levelFiles, "fifteen.cog", "cog\\fifteen.cog", ScriptOf(15));
        level.m_cogs.push_back(Cog("FOURTEEN.COG", {"1", "2"}));
        level.m_cogs.push_back(Cog("switch.cog", {"0", "-1"}));  // its face and no cog
        level.m_cogs.push_back(Cog("fourteen.cog", {"9"}));
        level.m_cogScripts = {"FOURTEEN.COG", "switch.cog"};
        m_engine = &GiveDocumentEngine(*m_doc, std::move(level));
        // The level as the editor shows it, so that undo's rebuild changes nothing more.
        RebuildAll(*m_engine, false, ERebuildAll::Restore);
        m_doc->SetModifiedFlag(false);
    }

    CQzlSections& Level() { return *m_doc->m_level; }

    void Run(int id)
    {
        CMainFrame& frame = *m_app->m_pMainFrame;
        frame.UpdateCommandUI();
        QAction* action = frame.Action(id);
        ASSERT_NE(action, nullptr);
        ASSERT_TRUE(action->isEnabled()) << id;
        action->trigger();
        QApplication::processEvents();
    }

    // The command, then the window it shows.
    CCogsInLevelDlg* Open()
    {
        Run(Cmd::kCogsInLevel);
        CCogsInLevelDlg* found = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* window = qobject_cast<CCogsInLevelDlg*>(widget);
            if (window != nullptr && window->isVisible())
                found = window;
        }
        EXPECT_NE(found, nullptr);
        return found;
    }

    static QStringList Rows(QWidget& window)
    {
        QStringList rows;
        const auto* list = Control<QListWidget>(window, Ctl::kCogsList);
        for (int i = 0; i < list->count(); ++i)
            rows.push_back(list->item(i)->text());
        return rows;
    }

    static void Select(QWidget& window, int row)
    {
        Control<QListWidget>(window, Ctl::kCogsList)->setCurrentRow(row);
    }

    static QLineEdit* Name(QWidget& window, int row)
    {
        return Control<QLineEdit>(window, Ctl::kCogsNameFields[row]);
    }

    static QLineEdit* Value(QWidget& window, int row)
    {
        return Control<QLineEdit>(window, Ctl::kCogsValueFields[row]);
    }

    // Types text into the value field of row as the user does (the field is then modified).
    static void Type(QWidget& window, int row, const char* text)
    {
        QLineEdit* field = Value(window, row);
        field->setText(QString::fromLatin1(text));
        field->setModified(true);
    }

    static bool Shown(QWidget& window, int id)
    {
        return window.findChild<QWidget*>(Id(id))->isVisible();
    }

    CQzEditDoc* m_doc = nullptr;
    C3dView* m_engine = nullptr;
};

}  // namespace

TEST_F(CogsInLevelTest, ListsTheInstancesAndShowsTheRowsOfTheSelectedOne)
{
    CCogsInLevelDlg* window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Rows(*window),
              (QStringList{QStringLiteral("fourteen.cog"), QStringLiteral("fourteen.cog"),
                           QStringLiteral("switch.cog")}));
    // The first row, the first instance: its values lower-cased, fourteen rows, no scroll bar.
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Cogs in level - 0"));
    EXPECT_EQ(Name(*window, 0)->text(), QStringLiteral("s0=d0 (int)"));
    EXPECT_EQ(Value(*window, 0)->text(), QStringLiteral("1"));
    EXPECT_EQ(Value(*window, 2)->text(), QString());
    EXPECT_EQ(Name(*window, 13)->text(), QStringLiteral("s13=d13 (int)"));
    EXPECT_TRUE(Value(*window, 13)->isEnabled());
    EXPECT_EQ(Name(*window, 0)->toolTip(), QStringLiteral("s0=d0 (int)"));
    EXPECT_FALSE(Shown(*window, Ctl::kCogsScroll));
    EXPECT_TRUE(window->findChild<QPushButton*>(Id(Ctl::kCogsEdit))->isEnabled());
    EXPECT_TRUE(window->findChild<QPushButton*>(Id(Ctl::kCogsView))->isEnabled());

    // The second row with the same text is the second instance of that script.
    Select(*window, 1);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Cogs in level - 2"));
    EXPECT_EQ(Value(*window, 0)->text(), QStringLiteral("9"));

    // The game's switch: nine symbols, the rows below them empty and disabled; not editable.
    Select(*window, 2);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Cogs in level - 1"));
    EXPECT_EQ(Name(*window, 8)->text(), QStringLiteral("click=switch.wav (sound)"));
    EXPECT_EQ(Name(*window, 9)->text(), QString());
    EXPECT_FALSE(Value(*window, 9)->isEnabled());
    EXPECT_FALSE(window->findChild<QPushButton*>(Id(Ctl::kCogsEdit))->isEnabled());
    // View shows the game's script; what the editor gives back is not used.
    QString viewed;
    OnModal<CEditorDlg>(m_app.get(), [&](CEditorDlg& editor) {
        auto* edit = Control<QPlainTextEdit>(editor, Ctl::kEditorText);
        viewed = editor.windowTitle() + QLatin1Char('|') + edit->toPlainText();
        edit->setPlainText(QStringLiteral("changed"));
        Click(editor, Ctl::kOk);
    });
    Click(*window, Ctl::kCogsView);
    EXPECT_TRUE(viewed.startsWith(QStringLiteral("Cog Editor|# switch.cog")))
        << viewed.toStdString();
    EXPECT_FALSE(m_doc->IsModified());
    window->close();
}

TEST_F(CogsInLevelTest, AddThroughThePickerAndScrollFifteenSymbols)
{
    CCogsInLevelDlg* window = Open();
    ASSERT_NE(window, nullptr);
    QString caption;
    QStringList offered;
    bool rowsHidden = false;
    OnModal<CCogsInLevelDlg>(m_app.get(), [&](CCogsInLevelDlg& picker) {
        caption = picker.windowTitle();
        offered = Rows(picker);
        rowsHidden = !Shown(picker, Ctl::kCogsValueFields[0]) && !Shown(picker, Ctl::kCogsAdd);
        Select(picker, static_cast<int>(offered.indexOf(QStringLiteral("fifteen.cog"))));
        EXPECT_TRUE(picker.findChild<QPushButton*>(Id(Ctl::kCogsView))->isEnabled());
        Click(picker, Ctl::kOk);
    });
    Click(*window, Ctl::kCogsAdd);
    EXPECT_EQ(caption, QStringLiteral("Add Cog to level"));
    EXPECT_TRUE(rowsHidden);
    // The game's scripts and then the level's own.
    EXPECT_TRUE(offered.contains(QStringLiteral("00_lampbank.cog")));
    EXPECT_TRUE(offered.contains(QStringLiteral("fourteen.cog")));
    ASSERT_TRUE(offered.contains(QStringLiteral("fifteen.cog")));

    // The new instance is selected: fifteen symbols scroll by one.
    EXPECT_EQ(Rows(*window).size(), 4);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Cogs in level - 3"));
    EXPECT_EQ(Level().m_cogScripts, (Values{"FOURTEEN.COG", "switch.cog", "FIFTEEN.COG"}));
    EXPECT_TRUE(m_doc->IsModified());
    auto* scroll = Control<QScrollBar>(*window, Ctl::kCogsScroll);
    EXPECT_TRUE(scroll->isVisible());
    EXPECT_EQ(scroll->maximum(), 1);
    scroll->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(window->FirstShownSymbol(), 1);
    EXPECT_EQ(Name(*window, 0)->text(), QStringLiteral("s1=d1 (int)"));
    EXPECT_EQ(Name(*window, 13)->text(), QStringLiteral("s14=d14 (int)"));
    scroll->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(window->FirstShownSymbol(), 0);
    scroll->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(window->FirstShownSymbol(), 1);

    // The first shown symbol stays across selections, clamped to the script shown.
    EXPECT_EQ(Rows(*window).front(), QStringLiteral("fifteen.cog"));
    Select(*window, 1);
    EXPECT_EQ(window->FirstShownSymbol(), 0);
    EXPECT_FALSE(scroll->isVisible());

    // The instance reaches the level on Apply only.
    EXPECT_EQ(Level().m_cogs.size(), 3U);
    Click(*window, Ctl::kApplyNow);
    ASSERT_EQ(Level().m_cogs.size(), 4U);
    EXPECT_EQ(Level().m_cogs[3]->m_script, "FIFTEEN.COG");
    EXPECT_TRUE(LevelIsSound(Level()));
    window->close();
}

TEST_F(CogsInLevelTest, ValueEntryAppliesAsOneUndoStep)
{
    CCogsInLevelDlg* window = Open();
    ASSERT_NE(window, nullptr);
    const std::vector<std::uint8_t> before = SnapshotBytes(Level());
    // Row 5 of an instance with two values: values 3 and 4 take the script's defaults. A field
    // still being edited is taken by Apply.
    Type(*window, 4, "Ab");
    Click(*window, Ctl::kApplyNow);
    EXPECT_EQ(Level().m_cogs[0]->m_values, (Values{"1", "2", "d2", "d3", "AB"}));
    EXPECT_EQ(Value(*window, 4)->text(), QStringLiteral("ab"));
    EXPECT_EQ(Value(*window, 2)->text(), QStringLiteral("d2"));
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_TRUE(LevelIsSound(Level()));
    const std::vector<std::uint8_t> after = SnapshotBytes(Level());

    // Clearing the last value drops it; an empty value before it would go too.
    Type(*window, 4, "");
    Type(*window, 3, "");
    Click(*window, Ctl::kApplyNow);
    EXPECT_EQ(Level().m_cogs[0]->m_values, (Values{"1", "2", "d2"}));

    Run(Cmd::kEditUndo);
    EXPECT_EQ(SnapshotBytes(Level()), after);
    Run(Cmd::kEditUndo);
    EXPECT_EQ(SnapshotBytes(Level()), before);
    window->close();
}

TEST_F(CogsInLevelTest, DeleteKeepsTheScriptNameWhileAnotherInstanceUsesIt)
{
    CCogsInLevelDlg* window = Open();
    ASSERT_NE(window, nullptr);
    Click(*window, Ctl::kCogsDelete);
    EXPECT_EQ(Rows(*window).size(), 2);
    EXPECT_EQ(Level().m_cogScripts, (Values{"FOURTEEN.COG", "switch.cog"}));
    // The row at the same place is selected: the other fourteen.
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Cogs in level - 1"));
    EXPECT_EQ(Value(*window, 0)->text(), QStringLiteral("9"));
    Click(*window, Ctl::kCogsDelete);
    // The level's instances are there until OK, and so is their script's name.
    EXPECT_EQ(Level().m_cogScripts, (Values{"FOURTEEN.COG", "switch.cog"}));
    Click(*window, Ctl::kOk);
    ASSERT_EQ(Level().m_cogs.size(), 1U);
    EXPECT_EQ(Level().m_cogs[0]->m_script, "switch.cog");
    EXPECT_EQ(Level().m_cogScripts, Values{"switch.cog"});
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_TRUE(LevelIsSound(Level()));
}

TEST_F(CogsInLevelTest, DeleteThenCancelKeepsEveryInstanceWithItsScriptName)
{
    const std::vector<std::uint8_t> before = SnapshotBytes(Level());
    QPointer<CCogsInLevelDlg> window = Open();
    ASSERT_FALSE(window.isNull());
    Select(*window, 2);  // switch.cog, the only instance of its script
    Click(*window, Ctl::kCogsDelete);
    Click(*window, Ctl::kCogsDelete);
    Click(*window, Ctl::kCancel);
    QApplication::processEvents();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(Level().m_cogScripts, (Values{"FOURTEEN.COG", "switch.cog"}));
    EXPECT_EQ(SnapshotBytes(Level()), before);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(CogsInLevelTest, ClosingTheDocumentWhileAValueIsTypedTakesTheWindowFirst)
{
    QPointer<CCogsInLevelDlg> window = Open();
    ASSERT_FALSE(window.isNull());
    window->activateWindow();
    QLineEdit* field = Value(*window, 0);
    field->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([field] { return field->hasFocus(); }, 5000));
    QTest::keyClicks(field, "77");
    ASSERT_TRUE(field->isModified());
    // The window goes before the level: hiding it ends the edit, which reaches nothing freed.
    DropEngine();
    CloseWithoutSaving(*m_doc);
    EXPECT_TRUE(QTest::qWaitFor([&window] { return window.isNull(); }, 5000));
    m_doc = nullptr;
}

TEST_F(CogsInLevelTest, ThePickerPassesOverEmptyIndexEntries)
{
    CGameResources& game = m_app->m_product.m_resources;
    auto& files = Level().m_levelFiles.m_entries;
    game.m_treeCogs.m_entries.push_back(nullptr);
    files.insert(files.begin(), nullptr);
    CCogsInLevelContext context;
    context.m_level = &Level();
    context.m_game = &game;
    context.m_settings = &m_app->m_settings;
    QStringList offered;
    {
        CCogsInLevelDlg picker(std::move(context), 1);
        offered = Rows(picker);
    }
    game.m_treeCogs.m_entries.pop_back();
    files.erase(files.begin());
    EXPECT_TRUE(offered.contains(QStringLiteral("00_lampbank.cog")));
    EXPECT_TRUE(offered.contains(QStringLiteral("fifteen.cog")));
}

TEST_F(CogsInLevelTest, EditChangesTheLevelFile)
{
    CCogsInLevelDlg* window = Open();
    ASSERT_NE(window, nullptr);
    QString caption;
    QString text;
    OnModal<CEditorDlg>(m_app.get(), [&](CEditorDlg& editor) {
        caption = editor.windowTitle();
        auto* edit = Control<QPlainTextEdit>(editor, Ctl::kEditorText);
        text = edit->toPlainText();
        edit->setPlainText(QStringLiteral("symbols\r\nsector room=-1\r\nend\r\n"));
        Click(editor, Ctl::kOk);
    });
    Click(*window, Ctl::kCogsEdit);
    EXPECT_EQ(caption, QStringLiteral("Cog Editor"));
    EXPECT_TRUE(text.startsWith(QStringLiteral("symbols")));
    const int file = FindLevelFileByPath(Level().m_levelFiles, "cog\\fourteen.cog");
    ASSERT_GE(file, 0);
    EXPECT_EQ(LevelFileText(*Level().m_levelFiles.m_entries[static_cast<std::size_t>(file)]),
              "symbols\r\nsector room=-1\r\nend\r\n");
    EXPECT_EQ(Name(*window, 0)->text(), QStringLiteral("room=-1 (sector)"));
    EXPECT_FALSE(Value(*window, 1)->isEnabled());
    EXPECT_TRUE(m_doc->IsModified());
    window->close();
}

TEST_F(CogsInLevelTest, DirectionOnlyWithExactlyTwoGridNodes)
{
    const struct {
        std::vector<CVector3> nodes;
        bool shown;
    } cases[] = {
        {{}, false},
        {{CVector3{0, 0, 0}}, false},
        {{CVector3{0, 0, 0}, CVector3{0, 3, 4}}, true},
        {{CVector3{0, 0, 0}, CVector3{1, 0, 0}, CVector3{0, 1, 0}}, false},
    };
    QPointer<CCogsInLevelDlg> previous;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nodes.size());
        m_engine->m_selection.m_pickedNodes = c.nodes;
        QPointer<CCogsInLevelDlg> window = Open();
        ASSERT_FALSE(window.isNull());
        // A second command replaces the window.
        if (!previous.isNull())
            ADD_FAILURE() << "the previous window is still there";
        EXPECT_EQ(Shown(*window, Ctl::kCogsX), c.shown);
        EXPECT_EQ(Shown(*window, Ctl::kCogsY), c.shown);
        EXPECT_EQ(Shown(*window, Ctl::kCogsZ), c.shown);
        if (c.shown) {
            EXPECT_EQ(Control<QLineEdit>(*window, Ctl::kCogsX)->text(), QStringLiteral("0"));
            EXPECT_EQ(Control<QLineEdit>(*window, Ctl::kCogsY)->text(), QStringLiteral("0.6"));
            EXPECT_EQ(Control<QLineEdit>(*window, Ctl::kCogsZ)->text(), QStringLiteral("0.8"));
        }
        previous = window;
    }
    previous->close();
    QApplication::processEvents();
}

TEST_F(CogsInLevelTest, ApplyStoresTheWindowRectangleAndTheNextWindowTakesIt)
{
    CCogsInLevelDlg* window = Open();
    ASSERT_NE(window, nullptr);
    CSettings& settings = m_app->m_settings;
    EXPECT_EQ(settings.m_cogWindowX, -1);
    window->move(60, 70);
    window->resize(700, 420);
    QApplication::processEvents();
    const QRect frame = window->frameGeometry();
    Click(*window, Ctl::kApplyNow);
    EXPECT_EQ(settings.m_cogWindowX, frame.left());
    EXPECT_EQ(settings.m_cogWindowY, frame.top());
    EXPECT_EQ(settings.m_cogWindowW, frame.width());
    EXPECT_EQ(settings.m_cogWindowH, frame.height());
    EXPECT_TRUE(m_doc->IsModified());
    Click(*window, Ctl::kCancel);
    QApplication::processEvents();

    settings.m_cogWindowX = 90;
    settings.m_cogWindowY = 80;
    CCogsInLevelDlg* next = Open();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->frameGeometry().topLeft(), QPoint(90, 80));
    EXPECT_EQ(next->frameGeometry().size(), frame.size());
    next->close();
}

TEST_F(CogsInLevelTest, ApplyKeepsWhatChangedInTheLevelBehindTheWindow)
{
    CCogsInLevelDlg* window = Open();
    ASSERT_NE(window, nullptr);
    Type(*window, 0, "5");
    // Behind the window: the second fourteen is renumbered and a builder adds a cog.
    Level().m_cogs[2]->m_values = {"8"};
    Values belt{"(0.0/1.0/0.0)", "1", "0"};
    belt.resize(10, "-1");  // the belt's other surfaces: none
    Level().m_cogs.push_back(Cog("00_conveyor.cog", belt));
    Click(*window, Ctl::kOk);
    ASSERT_EQ(Level().m_cogs.size(), 4U);
    EXPECT_EQ(Level().m_cogs[0]->m_values, (Values{"5", "2"}));
    EXPECT_EQ(Level().m_cogs[1]->m_values, (Values{"0", "-1"}));
    EXPECT_EQ(Level().m_cogs[2]->m_values, Values{"8"});
    EXPECT_EQ(Level().m_cogs[3]->m_script, "00_conveyor.cog");
    EXPECT_TRUE(LevelIsSound(Level()));
}

// A damaged level behind the window: empty records among the level's files and cogs, a level
// file that claims bytes it does not hold, a cog with more values than its script has symbols,
// one whose script has no symbols and one whose script is found nowhere. Every row is selected
// and takes View, Edit and a value; Apply, OK and Cancel hold.
TEST_F(CogsInLevelTest, DamagedCogsAndLevelFilesHoldEveryButton)
{
    CTree& files = Level().m_levelFiles;
    AddLevelFile(files, "bare.cog", "cog\\bare.cog", ScriptOf(0));
    files.m_entries.insert(files.m_entries.begin(), nullptr);
    auto hollow = std::make_unique<CTreeObject>();
    hollow->m_name = "hollow.cog";
    hollow->m_path = "cog\\hollow.cog";
    hollow->m_size = 40;
    hollow->m_data = std::vector<std::uint8_t>{'s'};
    files.m_entries.push_back(std::move(hollow));
    Values many;
    for (int i = 0; i < 20; ++i)
        many.push_back(std::to_string(i));
    Level().m_cogs.clear();
    Level().m_cogs.push_back(Cog("FOURTEEN.COG", many));
    Level().m_cogs.push_back(Cog("nowhere.cog", {"x"}));
    Level().m_cogs.push_back(Cog("bare.cog", {"1"}));
    Level().m_cogs.push_back(Cog("hollow.cog", {}));
    Level().m_cogScripts = {"FOURTEEN.COG", "nowhere.cog", "bare.cog", "hollow.cog"};

    CCogsInLevelDlg* window = Open();
    ASSERT_NE(window, nullptr);
    // Every script editor that comes up is closed with Cancel.
    int editors = 0;
    OnModalWidget(window, [&editors](QWidget* widget) {
        if (auto* editor = qobject_cast<CEditorDlg*>(widget)) {
            ++editors;
            Click(*editor, Ctl::kCancel);
        }
        return false;
    });
    const QStringList rows = Rows(*window);
    EXPECT_EQ(rows, (QStringList{"bare.cog", "fourteen.cog", "hollow.cog", "nowhere.cog"}));
    struct Case {
        const char* row;
        QString firstName;  // of symbol row 0
        bool editable;      // a level file with bytes
    };
    const Case cases[] = {
        {"bare.cog", QString(), true},
        {"fourteen.cog", QStringLiteral("s0=d0 (int)"), true},
        {"hollow.cog", QString(), true},
        {"nowhere.cog", QString(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        Select(*window, static_cast<int>(rows.indexOf(QString::fromLatin1(c.row))));
        EXPECT_EQ(Name(*window, 0)->text(), c.firstName);
        EXPECT_EQ(Value(*window, 0)->isEnabled(), !c.firstName.isEmpty());
        EXPECT_EQ(window->findChild<QPushButton*>(Id(Ctl::kCogsEdit))->isEnabled(), c.editable);
        Type(*window, 13, "typed");
        Click(*window, Ctl::kCogsView);
        Click(*window, Ctl::kCogsEdit);
        QApplication::processEvents();
    }
    // View and Edit of the file claiming bytes it does not hold say so.
    EXPECT_EQ(m_messages.size(), 2) << m_messages.join('|').toStdString();
    for (const QString& message : m_messages)
        EXPECT_TRUE(message.contains("claims 40 bytes but holds 1")) << message.toStdString();

    Click(*window, Ctl::kApplyNow);
    ASSERT_EQ(Level().m_cogs.size(), 4U);
    for (const auto& cog : Level().m_cogs)
        ASSERT_NE(cog, nullptr);
    // The fourteen symbols' last value was typed; the six values past them stay.
    Values expected = many;
    expected[13] = "TYPED";
    EXPECT_EQ(Level().m_cogs[0]->m_values, expected);
    // The rows past a script's symbols take no value.
    EXPECT_TRUE(Level().m_cogs[1]->m_values == Values{"x"});
    EXPECT_TRUE(m_doc->IsModified());
    Click(*window, Ctl::kCancel);
    QApplication::processEvents();
    EXPECT_GE(editors, 1);
}
