#pragma once
// The command table of the application: one row per command (id, menu text, shortcut shown in the
// menu, prompt, tool-bar icon). The menus, the tool bars and the command routing of the main
// frame are all built from it, together with the menu structures (Menu::kNoDocument while no
// document is open, Menu::kDocument while one is), the four tool bars and the two accelerator
// tables (AccelTable::kView while the 3D view has the focus, AccelTable::kFrame otherwise). The
// ids are those of engine/CommandIds.h.
//
// Adding a command is adding a row; adding it to a menu or a tool bar is adding its id to that
// menu's or tool bar's list. Every command of a menu, a tool bar or an accelerator table has a
// row. A row alone enables nothing: a command that no target handles is greyed and does nothing
// when a key or a stale button sends it, until its handler is registered (app/CommandTarget.h).

#include "engine/CommandIds.h"

#include <QKeyCombination>
#include <QKeySequence>
#include <QString>

#include <cstdint>
#include <span>

class QIcon;
class QStyle;

// How a command's 16 x 16 tool-bar image is drawn.
enum class ECommandIcon : std::uint8_t {
    None,  // no image (menu-only command)
    Text,  // the icon text in a framed box
    New,   // the style's standard images
    Open,
    Save,
    Help,
    Cut,      // drawn here: scissors
    Copy,     // two sheets
    Paste,    // clipboard
    Undo,     // curved arrow left
    Redo,     // curved arrow right
    ArrowUp,  // arrow with the icon text as the axis
    ArrowDown,
    ArrowLeft,
    ArrowRight,
    RotateLeft,  // circular arrow with the icon text as the axis
    RotateRight,
};

struct CCommandInfo {
    int m_id;
    // Menu text with its mnemonic ("&New"); "&&" is a plain ampersand. Null for a command that
    // only keys send (no menu item, no button).
    const char* m_menuText;
    // The shortcut shown right-aligned in the menu ("Ctrl+N"); null for none.
    const char* m_shortcut;
    // The prompt: "status-bar text\ntool tip", or one text for both; null: the menu text without
    // its mnemonic.
    const char* m_prompt;
    ECommandIcon m_icon;
    const char* m_iconText;  // 1 to 3 characters for ECommandIcon::Text and the arrows
};

// Every command of the table, in id-independent table order.
std::span<const CCommandInfo> CommandTable();
// The row of id; null when id has none.
const CCommandInfo* FindCommand(int id);

// The text of the command's menu item: the menu text, and the shortcut after a tab
// ("&New\tCtrl+N").
QString MenuItemText(const CCommandInfo& info);
// The status-bar prompt (the part before "\n") and the tool tip (the part after it; the whole
// prompt when it has no "\n"); both default to the menu text without mnemonic.
QString StatusPrompt(const CCommandInfo& info);
QString ToolTipText(const CCommandInfo& info);
// The menu text without mnemonic markers ("Sector Rendered && Wireframes" ->
// "Sector Rendered & Wireframes").
QString StripMnemonic(const QString& text);

// The 16 x 16 image of a tool-bar command (an empty icon for ECommandIcon::None).
QIcon CommandIcon(const CCommandInfo& info, const QStyle* style);

// ---- Menus ----
struct CMenuPopup {
    const char* m_title;           // "&File"
    std::span<const int> m_items;  // command ids, Cmd::kSeparator, Cmd::kRecentFiles, Cmd::kSubMenu
    // The submenus, one for each Cmd::kSubMenu of m_items in order.
    std::span<const CMenuPopup> m_subMenus = {};
};
// Menu::kNoDocument or Menu::kDocument; empty for other ids.
std::span<const CMenuPopup> MenuPopups(int menu);

// ---- Tool bars ----
struct CToolBarInfo {
    int m_id;                        // control id (Ctl::k...ToolBar), also the object name
    const char* m_title;             // caption when floating
    int m_showCommand;               // the View menu command that shows and hides it
    std::span<const int> m_buttons;  // command ids and Cmd::kSeparator
};
// The four tool bars in creation order: Standard, View, Position, Tool.
std::span<const CToolBarInfo> ToolBars();

// ---- Accelerators ----
struct CAccelerator {
    QKeyCombination m_key;
    int m_id;
};
// Accelerator table AccelTable::kView (the 3D view has the focus) or AccelTable::kFrame
// (otherwise); empty for other ids.
std::span<const CAccelerator> AcceleratorEntries(int table);
// The command of key in table; 0 when the table has none. A sequence of more than one key has
// none.
int AcceleratorCommand(int table, const QKeySequence& key);
