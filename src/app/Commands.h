#pragma once
// The command table of the application: one row per command (id, menu text, shortcut shown in the
// menu, prompt, pictogram). The menus, the tool bars and the command routing of the main
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

#include <span>

class QIcon;
class QPalette;

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
    // The pictogram: the file res/icons/<name>.svg, built in as ":/icons/<name>.svg"; null for a
    // command without a button (menu and keys only).
    const char* m_iconName;
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

// ---- Pictograms ----
// The pictograms are drawn with the outline colour kOutlineColor; on a dark palette (a window
// colour of lightness below 128) it is replaced by kDarkOutlineColor so that the outlines stay
// visible on dark tool bars and menus.
inline constexpr char kOutlineColor[] = "#263238";
inline constexpr char kDarkOutlineColor[] = "#eceff1";
bool IsDarkPalette(const QPalette& palette);

// The pictogram of a command, rendered from its SVG file at the size and device pixel ratio asked
// (crisp at any scale); light outlines when dark is true. An empty icon for a command without a
// pictogram, and when its file is missing or is no valid SVG.
QIcon CommandIcon(const CCommandInfo& info, bool dark);
// The same for any SVG file (a resource path ":/icons/NAME.svg" or a file path).
QIcon SvgIcon(const QString& path, bool dark);

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
