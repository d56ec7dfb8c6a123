#pragma once
// The command table of the application: one row per command (id, menu text, shortcut shown in the
// menu, prompt, tool-bar icon). The menus, the tool bars and the command routing of the main
// frame are all built from it, together with the menu structures (menu 128 while no document is
// open, menu 129 while one is), the four tool bars and the two accelerator tables (113 while the
// 3D view has the focus, 128 otherwise).
//
// Adding a command is adding a row; adding it to a menu or a tool bar is adding its id to that
// menu's or tool bar's list.

#include <QKeyCombination>
#include <QKeySequence>
#include <QString>

#include <cstdint>
#include <span>

class QIcon;
class QStyle;

namespace Cmd {

// Framework commands.
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileClose = 57602;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFileMru1 = 57616;  // 57616..57619: the recent-file entries
inline constexpr int kRecentFileCount = 4;
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditUndo = 57643;
inline constexpr int kEditRedo = 57644;
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;
inline constexpr int kHelpIndex = 57666;
inline constexpr int kHelpFinder = 57667;
inline constexpr int kContextHelp = 57669;
inline constexpr int kHelp = 57670;
inline constexpr int kDefaultHelp = 57671;
inline constexpr int kNextPane = 57680;
inline constexpr int kPrevPane = 57681;
inline constexpr int kViewStandardToolBar = 59392;
inline constexpr int kViewStatusBar = 59393;

// The editor's own commands used by the frame.
inline constexpr int kViewViewToolBar = 32835;
inline constexpr int kViewPositionToolBar = 2064;
inline constexpr int kViewToolToolBar = 32860;
inline constexpr int kTipOfTheDay = 504;
inline constexpr int kSelectProduct = 2007;
inline constexpr int kFileManager = 32772;
inline constexpr int kTemplateManager = 2077;
inline constexpr int kMultiLevelEditor = 2078;
inline constexpr int kHelpTutorials = 2054;
inline constexpr int kHelpFaqs = 2053;

// Menu and tool-bar list markers.
inline constexpr int kSeparator = 0;
inline constexpr int kRecentFiles = -1;  // the place of the recent-file entries

}  // namespace Cmd

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
    // Menu text with its mnemonic ("&New"); "&&" is a plain ampersand.
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
    std::span<const int> m_items;  // command ids, Cmd::kSeparator, Cmd::kRecentFiles
};
// Menu 128 (no document open) or 129 (a document open); empty for other ids.
std::span<const CMenuPopup> MenuPopups(int menu);

// ---- Tool bars ----
struct CToolBarInfo {
    int m_id;                        // control id, also the object name: 128, 114, 5015, 135
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
// Accelerator table 113 (the 3D view has the focus) or 128 (otherwise); empty for other ids.
std::span<const CAccelerator> AcceleratorEntries(int table);
// The command of key in table; 0 when the table has none. A sequence of more than one key has
// none.
int AcceleratorCommand(int table, const QKeySequence& key);
