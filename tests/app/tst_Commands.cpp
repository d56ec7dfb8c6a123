// The command table: rows for every command of the menus and tool bars, menu texts and prompts,
// the accelerator tables (the pictograms: tst_CommandIcons.cpp).

#include "AppTestSupport.h"

#include "app/Commands.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

TEST(CommandTableTest, EveryMenuAndToolBarCommandHasOneRow)
{
    QSet<int> ids;
    for (const CCommandInfo& info : CommandTable()) {
        EXPECT_FALSE(ids.contains(info.m_id)) << "two rows for " << info.m_id;
        ids.insert(info.m_id);
    }
    // Items of menus and submenus have a menu text; each submenu marker has its submenu.
    for (const int menu : {Menu::kNoDocument, Menu::kDocument})
        ForEachPopup(menu, [](const CMenuPopup& popup) {
            std::size_t subMenus = 0;
            for (const int item : popup.m_items)
                if (item == Cmd::kSubMenu) {
                    ++subMenus;
                } else if (item > 0) {
                    const CCommandInfo* info = FindCommand(item);
                    ASSERT_NE(info, nullptr) << popup.m_title << " " << item;
                    EXPECT_NE(info->m_menuText, nullptr) << item;
                }
            EXPECT_EQ(subMenus, popup.m_subMenus.size()) << popup.m_title;
        });
    for (const CToolBarInfo& bar : ToolBars())
        for (const int button : bar.m_buttons)
            if (button != Cmd::kSeparator) {
                const CCommandInfo* info = FindCommand(button);
                ASSERT_NE(info, nullptr) << bar.m_id << " " << button;
                EXPECT_NE(info->m_menuText, nullptr) << button;
                EXPECT_NE(info->m_iconName, nullptr) << button;
            }
    EXPECT_EQ(FindCommand(12345), nullptr);
    EXPECT_TRUE(MenuPopups(130).empty());
}

TEST(CommandTableTest, MenuTextsPromptsAndToolTips)
{
    struct Case {
        int id;
        const char* menu;
        const char* status;
        const char* tip;
    };
    const Case cases[] = {
        // Shortcut shown right-aligned after a tab.
        {Cmd::kFileNew, "&New\tCtrl+N", "New (Ctrl+N)", "New (Ctrl+N)"},
        {Cmd::kEditCopy, "&Copy\tCtrl+C, C", "Copy (Ctrl+C, C)", "Copy (Ctrl+C, C)"},
        {Cmd::kSectorMode, "&Sector\tM", "Sector Mode (M)", "Sector Mode (M)"},
        // No prompt of its own: the menu text without its mnemonic.
        {Cmd::kFileSaveAs, "Save &As...", "Save As...", "Save As..."},
        {Cmd::kViewPositionToolBar, "&Position Toolbar", "Position Toolbar", "Position Toolbar"},
        // A prompt with a status text and a tool tip.
        {Cmd::kNodesLarger, "Make grid nodes && vertices larger",
         "Make grid nodes & vertices larger", "Nodes/Vertices larger"},
        {Cmd::kTipOfTheDay, "Ti&p of the Day...", "Displays a Tip of the Day.",
         "Displays a Tip of the Day."},
        // "&&" is one ampersand once the mnemonics are gone.
        {Cmd::kSectorRenderedWireframes, "Sector Rendered && Wireframes",
         "Sector Rendering & Wireframes", "Sector Rendering & Wireframes"},
    };
    for (const Case& c : cases) {
        const CCommandInfo* info = FindCommand(c.id);
        ASSERT_NE(info, nullptr) << c.id;
        EXPECT_EQ(MenuItemText(*info), QString::fromLatin1(c.menu)) << c.id;
        EXPECT_EQ(StatusPrompt(*info), QString::fromLatin1(c.status)) << c.id;
        EXPECT_EQ(ToolTipText(*info), QString::fromLatin1(c.tip)) << c.id;
    }
    EXPECT_EQ(StripMnemonic(QStringLiteral("Sector Rendered && Wireframes")),
              QStringLiteral("Sector Rendered & Wireframes"));
    EXPECT_EQ(StripMnemonic(QStringLiteral("E&xit")), QStringLiteral("Exit"));
}

TEST(CommandTableTest, AcceleratorTables)
{
    struct Case {
        int table;
        QKeySequence key;
        int id;
    };
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    const Qt::KeyboardModifiers pad = Qt::KeypadModifier;
    const Case cases[] = {
        {AccelTable::kFrame, QKeySequence(ctrl | Qt::Key_C), Cmd::kEditCopy},
        {AccelTable::kFrame, QKeySequence(ctrl | Qt::Key_P), Cmd::kFilePrint},
        {AccelTable::kFrame, QKeySequence(Qt::Key_Delete), Cmd::kDelete},
        {AccelTable::kFrame, QKeySequence(shift | Qt::Key_F1), Cmd::kContextHelp},
        {AccelTable::kFrame, QKeySequence(shift | Qt::Key_F6), Cmd::kPrevPane},
        {AccelTable::kFrame, QKeySequence(ctrl | Qt::Key_Z), Cmd::kEditUndo},
        // Keys of the 3D view only.
        {AccelTable::kFrame, QKeySequence(Qt::Key_C), 0},
        {AccelTable::kFrame, QKeySequence(Qt::Key_Up), 0},
        {AccelTable::kFrame, QKeySequence(ctrl | Qt::Key_F), 0},
        {AccelTable::kView, QKeySequence(Qt::Key_C), Cmd::kEditCopy},
        {AccelTable::kView, QKeySequence(ctrl | Qt::Key_C), Cmd::kEditCopy},
        {AccelTable::kView, QKeySequence(Qt::Key_0), Cmd::kRecallBookmark0},
        {AccelTable::kView, QKeySequence(Qt::Key_9), Cmd::kRecallBookmark0 + 9},
        {AccelTable::kView, QKeySequence(ctrl | Qt::Key_0), Cmd::kStoreBookmark0},
        {AccelTable::kView, QKeySequence(ctrl | Qt::Key_9), Cmd::kStoreBookmark0 + 9},
        {AccelTable::kView, QKeySequence(Qt::Key_F), Cmd::kUnservedF},
        {AccelTable::kView, QKeySequence(ctrl | Qt::Key_F), Cmd::kFindItem},
        {AccelTable::kView, QKeySequence(Qt::Key_U), Cmd::kPanUp},
        {AccelTable::kView, QKeySequence(Qt::Key_D), Cmd::kPanDown},
        {AccelTable::kView, QKeySequence(Qt::Key_L), Cmd::kPanLeft},
        {AccelTable::kView, QKeySequence(Qt::Key_R), Cmd::kPanRight},
        {AccelTable::kView, QKeySequence(Qt::AltModifier | Qt::Key_Backspace), Cmd::kEditUndo},
        {AccelTable::kView, QKeySequence(pad | Qt::Key_Plus), Cmd::kGridSmaller},
        {AccelTable::kView, QKeySequence(ctrl | pad | Qt::Key_Minus), Cmd::kNodesSmaller},
        {AccelTable::kView, QKeySequence(Qt::Key_Plus),
         0},  // the main keyboard's plus is no grid key
        {AccelTable::kView, QKeySequence(shift | Qt::Key_Delete), Cmd::kEditCut},
        {AccelTable::kView, QKeySequence(shift | Qt::Key_PageDown), Cmd::kCameraTiltDownKey},
        {AccelTable::kView, QKeySequence(ctrl | Qt::Key_Left), Cmd::kCameraLeftKey},
        {AccelTable::kView, QKeySequence(Qt::Key_Z), 0},
        // Two-key sequences are no accelerators.
        {AccelTable::kFrame, QKeySequence(QStringLiteral("Ctrl+C, Ctrl+V")), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AcceleratorCommand(c.table, c.key), c.id)
            << c.table << " " << c.key.toString().toStdString();

    // The frame's table keeps a part of the view's with the same commands; no key twice in a table.
    EXPECT_EQ(AcceleratorEntries(AccelTable::kFrame).size(), 17U);
    for (const CAccelerator& entry : AcceleratorEntries(AccelTable::kFrame))
        EXPECT_EQ(AcceleratorCommand(AccelTable::kView, QKeySequence(entry.m_key)), entry.m_id);
    for (const int table : {AccelTable::kView, AccelTable::kFrame}) {
        QSet<int> keys;
        for (const CAccelerator& entry : AcceleratorEntries(table)) {
            EXPECT_FALSE(keys.contains(entry.m_key.toCombined())) << table;
            keys.insert(entry.m_key.toCombined());
        }
    }
    EXPECT_TRUE(AcceleratorEntries(5).empty());
}

}  // namespace
