// The command table: rows for every command of the menus and tool bars, menu texts and prompts,
// the accelerator tables and the tool-bar images.

#include "AppTestSupport.h"

#include "app/Commands.h"

#include <QIcon>
#include <QPixmap>
#include <QSet>

#include <gtest/gtest.h>

namespace {

TEST(CommandTableTest, EveryMenuAndToolBarCommandHasOneRow)
{
    QSet<int> ids;
    for (const CCommandInfo& info : CommandTable()) {
        EXPECT_FALSE(ids.contains(info.m_id)) << "two rows for " << info.m_id;
        ids.insert(info.m_id);
        EXPECT_NE(info.m_menuText, nullptr) << info.m_id;
    }
    for (const int menu : {128, 129})
        for (const CMenuPopup& popup : MenuPopups(menu))
            for (const int item : popup.m_items)
                if (item > 0) {
                    EXPECT_NE(FindCommand(item), nullptr) << menu << " " << item;
                }
    for (const CToolBarInfo& bar : ToolBars())
        for (const int button : bar.m_buttons)
            if (button != Cmd::kSeparator) {
                const CCommandInfo* info = FindCommand(button);
                ASSERT_NE(info, nullptr) << bar.m_id << " " << button;
                EXPECT_NE(info->m_icon, ECommandIcon::None) << button;
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
        {57600, "&New\tCtrl+N", "New (Ctrl+N)", "New (Ctrl+N)"},
        {57634, "&Copy\tCtrl+C, C", "Copy (Ctrl+C, C)", "Copy (Ctrl+C, C)"},
        {32776, "&Sector\tM", "Sector Mode (M)", "Sector Mode (M)"},
        // No prompt of its own: the menu text without its mnemonic.
        {57604, "Save &As...", "Save As...", "Save As..."},
        {2064, "&Position Toolbar", "Position Toolbar", "Position Toolbar"},
        // A prompt with a status text and a tool tip.
        {2067, "Make grid nodes && vertices larger", "Make grid nodes & vertices larger",
         "Nodes/Vertices larger"},
        {504, "Ti&p of the Day...", "Displays a Tip of the Day.", "Displays a Tip of the Day."},
        // "&&" is one ampersand once the mnemonics are gone.
        {2002, "Sector Rendered && Wireframes", "Sector Rendering & Wireframes",
         "Sector Rendering & Wireframes"},
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
        {128, QKeySequence(ctrl | Qt::Key_C), 57634},
        {128, QKeySequence(ctrl | Qt::Key_P), 57607},
        {128, QKeySequence(Qt::Key_Delete), 32810},
        {128, QKeySequence(shift | Qt::Key_F1), 57669},
        {128, QKeySequence(shift | Qt::Key_F6), 57681},
        {128, QKeySequence(ctrl | Qt::Key_Z), 57643},
        // Keys of the 3D view only.
        {128, QKeySequence(Qt::Key_C), 0},
        {128, QKeySequence(Qt::Key_Up), 0},
        {128, QKeySequence(ctrl | Qt::Key_F), 0},
        {113, QKeySequence(Qt::Key_C), 57634},
        {113, QKeySequence(ctrl | Qt::Key_C), 57634},
        {113, QKeySequence(Qt::Key_0), 28},
        {113, QKeySequence(Qt::Key_9), 37},
        {113, QKeySequence(ctrl | Qt::Key_0), 18},
        {113, QKeySequence(ctrl | Qt::Key_9), 27},
        {113, QKeySequence(Qt::Key_F), 2100},
        {113, QKeySequence(ctrl | Qt::Key_F), 2045},
        {113, QKeySequence(Qt::Key_U), 14},
        {113, QKeySequence(Qt::Key_D), 15},
        {113, QKeySequence(Qt::Key_L), 16},
        {113, QKeySequence(Qt::Key_R), 17},
        {113, QKeySequence(Qt::AltModifier | Qt::Key_Backspace), 57643},
        {113, QKeySequence(pad | Qt::Key_Plus), 32786},
        {113, QKeySequence(ctrl | pad | Qt::Key_Minus), 2068},
        {113, QKeySequence(Qt::Key_Plus), 0},  // the main keyboard's plus is no grid key
        {113, QKeySequence(shift | Qt::Key_Delete), 57635},
        {113, QKeySequence(shift | Qt::Key_PageDown), 32790},
        {113, QKeySequence(ctrl | Qt::Key_Left), 32785},
        {113, QKeySequence(Qt::Key_Z), 0},
        // Two-key sequences are no accelerators.
        {128, QKeySequence(QStringLiteral("Ctrl+C, Ctrl+V")), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AcceleratorCommand(c.table, c.key), c.id)
            << c.table << " " << c.key.toString().toStdString();

    // Table 128 keeps a part of table 113 with the same commands; no key twice in a table.
    EXPECT_EQ(AcceleratorEntries(128).size(), 17U);
    for (const CAccelerator& entry : AcceleratorEntries(128))
        EXPECT_EQ(AcceleratorCommand(113, QKeySequence(entry.m_key)), entry.m_id);
    for (const int table : {113, 128}) {
        QSet<int> keys;
        for (const CAccelerator& entry : AcceleratorEntries(table)) {
            EXPECT_FALSE(keys.contains(entry.m_key.toCombined())) << table;
            keys.insert(entry.m_key.toCombined());
        }
    }
    EXPECT_TRUE(AcceleratorEntries(5).empty());
}

TEST(CommandTableTest, ToolBarImagesAreSixteenPixels)
{
    EnsureQApplication();
    for (const CToolBarInfo& bar : ToolBars())
        for (const int button : bar.m_buttons) {
            if (button == Cmd::kSeparator)
                continue;
            const QIcon icon = CommandIcon(*FindCommand(button), nullptr);
            ASSERT_FALSE(icon.isNull()) << button;
            const QPixmap pixmap = icon.pixmap(16, 16);
            EXPECT_EQ(pixmap.size(), QSize(16, 16)) << button;
            // Something is drawn.
            const QImage image = pixmap.toImage();
            bool drawn = false;
            for (int y = 0; y < 16 && !drawn; ++y)
                for (int x = 0; x < 16 && !drawn; ++x)
                    drawn = qAlpha(image.pixel(x, y)) != 0;
            EXPECT_TRUE(drawn) << button;
        }
    EXPECT_TRUE(CommandIcon(*FindCommand(57604), nullptr).isNull());
}

}  // namespace
