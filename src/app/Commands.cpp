#include "app/Commands.h"

#include <QFont>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

#include <algorithm>
#include <array>

namespace {

using enum ECommandIcon;

// clang-format off
constexpr CCommandInfo kCommands[] = {
    // File
    {Cmd::kFileNew,    "&New",        "Ctrl+N", "New (Ctrl+N)",   New,  nullptr},
    {Cmd::kFileOpen,   "&Open...",    "Ctrl+O", "Open (Ctrl+O)",  Open, nullptr},
    {Cmd::kFileClose,  "&Close",      nullptr,  nullptr,          None, nullptr},
    {Cmd::kFileSave,   "&Save",       "Ctrl+S", "Save (Ctrl+S)",  Save, nullptr},
    {Cmd::kFileSaveAs, "Save &As...", nullptr,  nullptr,          None, nullptr},
    {Cmd::kFileMru1,     "Recent File", nullptr, nullptr, None, nullptr},
    {Cmd::kFileMru1 + 1, "Recent File", nullptr, nullptr, None, nullptr},
    {Cmd::kFileMru1 + 2, "Recent File", nullptr, nullptr, None, nullptr},
    {Cmd::kFileMru1 + 3, "Recent File", nullptr, nullptr, None, nullptr},
    {Cmd::kAppExit,    "E&xit",       nullptr,  nullptr,          None, nullptr},

    // Edit
    {Cmd::kEditCut,   "Cu&t",   "Ctrl+X",    "Cut (Ctrl+X)",       Cut,   nullptr},
    {Cmd::kEditCopy,  "&Copy",  "Ctrl+C, C", "Copy (Ctrl+C, C)",   Copy,  nullptr},
    {Cmd::kEditPaste, "&Paste", "Ctrl+V, V", "Paste (Ctrl+V, V)",  Paste, nullptr},
    {Cmd::kEditUndo,  "&Undo",  "Ctrl+Z",    "Undo (Ctrl+Z)",      Undo,  nullptr},
    {Cmd::kEditRedo,  "&Redo",  "Ctrl+Y",    "Redo (Ctrl+Y)",      Redo,  nullptr},
    {32773, "&Link",   "Ctrl+L", "Link (Ctrl+L)",   Text, "Lk"},
    {32774, "U&nlink", "Ctrl+U", "Unlink (Ctrl+U)", Text, "Ul"},

    // View: render modes, edit modes, switches
    {2001, "All Sectors Rendered",          nullptr, "All sectors rendered",           Text, "AR"},
    {2003, "All Sectors as Wireframes",     nullptr, "All sectors as wireframes",      Text, "AW"},
    {2002, "Sector Rendered && Wireframes", nullptr, "Sector Rendering && Wireframes", Text, "RW"},
    {2004, "Sector Rendered",               nullptr, "Sector Rendered",                Text, "SR"},
    {2008, "Sector as Wireframe",           nullptr, "Sector as wireframe",            Text, "SW"},
    {32776, "&Sector",    "M", "Sector Mode (M)", Text, "Sec"},
    {2039,  "&Light",     nullptr, "Light Mode",     Text, "Lt"},
    {32779, "Sur&face",   nullptr, "Surface Mode",   Text, "Srf"},
    {2005,  "&Texturing", nullptr, "Texturing Mode", Text, "Tex"},
    {32798, "&Vertex",    nullptr, "Vertex Mode",    Text, "Vtx"},
    {32781, "&Object",    nullptr, "Object Mode",    Text, "Obj"},
    {2049, "Ad&join Rendering",   "J", "Adjoin Rendering (J)",   Text, "Adj"},
    {2052, "O&bject Rendering",   "B", "Object Rendering (B)",   Text, "3DO"},
    {2027, "&Collison Detection", "Q", "Collison Detection (Q)", Text, "Col"},
    {2113, "L&ock Sector",        "X", "Lock Current Sector (X)", Text, "Lck"},

    // View: camera, grid, nodes
    {32784, "&Foreward", nullptr, "Forward",  Text, "Fw"},
    {32778, "&Backward", nullptr, "Backward", Text, "Bw"},
    {32842, "&Middle",   nullptr, "Middle",   Text, "Mid"},
    {32786, "&Smaller",      nullptr, "Grid smaller",      Text, "G-"},
    {32787, "&Larger",       nullptr, "Grid larger",       Text, "G+"},
    {32789, "&On",           "G",     "Grid on/off (G)",   Text, "G"},
    {2109,  "S&urface Only", nullptr, "Surface Only",      Text, "GS"},
    {2111,  "&Edges Only",   nullptr, "Edges Only",        Text, "GE"},
    {2067, "Make grid nodes && vertices larger", nullptr,
     "Make grid nodes & vertices larger\nNodes/Vertices larger", Text, "N+"},
    {2068, "Make grid nodes && vertices smaller", nullptr,
     "Make grid nodes & vertices smaller\nNodes/Vertices smaller", Text, "N-"},
    {2045, "F&ind Item", "Ctrl+F", "Find Item", Text, "Fnd"},
    {2019, "Change &Texture Coordinates...", "T", "Change Texture Coordinates (T)", Text, "UV"},
    {2055, "Enlarge Vie&w", "W", "Enlarge View (W)", Text, "Zm"},
    {2087, "&Update Vertices...", nullptr, "Update Vertices", Text, "UpV"},
    {2047, "&Hidden Sector Removal...", "H", nullptr, None, nullptr},

    // Position: move and rotate
    {2020, "Up (Along Y)",    nullptr, "Move Up",    ArrowUp,    "Y"},
    {2021, "Down (Along Y)",  nullptr, "Move Down",  ArrowDown,  "Y"},
    {2023, "Right (Along X)", nullptr, "Move Right", ArrowRight, "X"},
    {2022, "Left (Along X)",  nullptr, "Move Left",  ArrowLeft,  "X"},
    {2024, "Right (Along Z)", nullptr, "Move Right", ArrowRight, "Z"},
    {2025, "Left (Along Z)",  nullptr, "Move Left",  ArrowLeft,  "Z"},
    {2013, "Left (Around Y)",  nullptr, "Rotate Left Around Y",  RotateLeft,  "Y"},
    {2014, "Right (Around Y)", nullptr, "Rotate Right Around Y", RotateRight, "Y"},
    {2015, "Left (Around X)",  nullptr, "Rotate Left Around X",  RotateLeft,  "X"},
    {2012, "Right (Around X)", nullptr, "Rotate Right Around X", RotateRight, "X"},
    {2016, "Left (Around Z)",  nullptr, "Rotate Left Around Z",  RotateLeft,  "Z"},
    {2017, "Right (Around Z)", nullptr, "Rotate Right Around Z", RotateRight, "Z"},

    // Tools and Create
    {2028, "&Split Sector/Surface...", "S", "Split Sector/Surface (S)", Text, "Spl"},
    {2061, "Split by Poly&gon...",     "K", "Split by Polygon (K)",     Text, "SpP"},
    {2083, "Merge Surfaces...", nullptr, "Merge Surfaces", Text, "MSf"},
    {2084, "Merge Sectors...",  nullptr, "Merge Sectors",  Text, "MSc"},
    {2059, "C&arve Sector/Surface...", "A", "Carve Sector/Surface (A)", Text, "Crv"},
    {2026, "&Extrude Surface...",      "E", "Extrude Surface (E)",      Text, "Ext"},
    {2043, "Ex&pand Surface...",       "P", "Expand Surface (P)",       Text, "Exp"},
    {2046, "&Light...",    "I", "Create Light (I)",    Text, "Li"},
    {2050, "D&oor...",     "O", "Create Door (O)",     Text, "Dr"},
    {2057, "&Elevator...", "Y", "Create Elevator (Y)", Text, "El"},
    {2076, "S&tairs...",          nullptr, "Create Stairs",          Text, "St"},
    {2081, "&Rectangle...",       nullptr, "Create Rectangle",       Text, "Rc"},
    {2063, "&Cylinder...",        nullptr, "Create Cylinder",        Text, "Cy"},
    {2069, "&Pyramid...",         nullptr, "Create Pyramid",         Text, "Py"},
    {2072, "&Dome...",            nullptr, "Create Dome",            Text, "Dm"},
    {2118, "La&yer...",           nullptr, "Create Layer",           Text, "Ly"},
    {2079, "L&andscape...",       nullptr, "Create Landscape",       Text, "Ls"},
    {2089, "&Water...",           nullptr, "Create Water",           Text, "Wa"},
    {2090, "&Force Field...",     nullptr, "Create Force Field",     Text, "FF"},
    {2091, "&Breaking Glass...",  nullptr, "Create Breaking Glass",  Text, "BG"},
    {2106, "Slashable &Grate...", nullptr, "Create Slashable Grate", Text, "SG"},
    {2098, "&Switch...",          nullptr, "Create Switch",          Text, "Sw"},
    {2103, "Con&veyor Belt...",   nullptr, "Create Conveyor Belt",   Text, "CB"},

    // Tool bars and status bar
    {Cmd::kViewStandardToolBar, "&Standard Toolbar", nullptr, nullptr, None, nullptr},
    {Cmd::kViewViewToolBar,     "&View Toolbar",     nullptr, nullptr, None, nullptr},
    {Cmd::kViewPositionToolBar, "&Position Toolbar", nullptr, nullptr, None, nullptr},
    {Cmd::kViewToolToolBar,     "&Tool Toolbar",     nullptr, nullptr, None, nullptr},
    {Cmd::kViewStatusBar,       "&Status Bar",       nullptr, nullptr, None, nullptr},

    // Tools menu of the application
    {Cmd::kSelectProduct,     "&Select Product...",     nullptr, nullptr, None, nullptr},
    {Cmd::kFileManager,       "&File Manager...",       nullptr, nullptr, None, nullptr},
    {Cmd::kTemplateManager,   "Template &Manager...",   nullptr, nullptr, None, nullptr},
    {Cmd::kMultiLevelEditor,  "Multi &Level Editor...", nullptr, nullptr, None, nullptr},

    // Help
    {Cmd::kTipOfTheDay, "Ti&p of the Day...", nullptr, "Displays a Tip of the Day.", None, nullptr},
    {Cmd::kHelpFinder,  "&Help Topics",       nullptr, nullptr, None, nullptr},
    {Cmd::kHelpIndex,   "Help &Index",        nullptr, nullptr, None, nullptr},
    {Cmd::kHelpTutorials, "Help &Tutorial's", nullptr, "Opens Help Tutorial's on Web", None, nullptr},
    {Cmd::kHelpFaqs,    "Help &FAQ's",        nullptr, "Opens Help FAQ's on Web", None, nullptr},
    {Cmd::kAppAbout,    "&About QzEdit...",   nullptr, nullptr, None, nullptr},
    {Cmd::kContextHelp, "Help",               "Shift+F1", "Help", Help, nullptr},
};

constexpr int kMenu128File[] = {Cmd::kFileNew, Cmd::kFileOpen, Cmd::kSeparator, Cmd::kRecentFiles,
                                Cmd::kSeparator, Cmd::kAppExit};
constexpr int kMenu128View[] = {Cmd::kViewStandardToolBar, Cmd::kViewViewToolBar,
                                Cmd::kViewToolToolBar, Cmd::kViewStatusBar};
constexpr int kMenu128Tools[] = {Cmd::kSelectProduct, Cmd::kSeparator, Cmd::kFileManager,
                                 Cmd::kTemplateManager, Cmd::kSeparator, Cmd::kMultiLevelEditor};
constexpr int kMenuHelp[] = {Cmd::kHelpFinder, Cmd::kHelpIndex, Cmd::kHelpTutorials,
                             Cmd::kHelpFaqs, Cmd::kSeparator, Cmd::kAppAbout};

constexpr int kMenu129File[] = {Cmd::kFileNew, Cmd::kFileOpen, Cmd::kFileClose, Cmd::kFileSave,
                                Cmd::kFileSaveAs, Cmd::kSeparator, Cmd::kRecentFiles,
                                Cmd::kSeparator, Cmd::kAppExit};
// The document's View menu: the bars, then the edit modes, the render modes, the camera's View
// Move commands, the grid and the switches.
constexpr int kMenu129View[] = {
    Cmd::kViewStandardToolBar, Cmd::kViewViewToolBar, Cmd::kViewPositionToolBar,
    Cmd::kViewToolToolBar, Cmd::kViewStatusBar, Cmd::kSeparator,
    32776, 2039, 32779, 2005, 32798, 32781, Cmd::kSeparator,
    2001, 2002, 2003, 2004, 2008, Cmd::kSeparator,
    32784, 32778, 32842, Cmd::kSeparator,
    32789, 2109, 2111, 32786, 32787, 2067, 2068, Cmd::kSeparator,
    2049, 2052, 2027, 2113, 2055};
constexpr int kMenu129Tools[] = {Cmd::kFileManager, Cmd::kTemplateManager, Cmd::kSeparator,
                                 2047};

constexpr CMenuPopup kMenu128[] = {
    {"&File", kMenu128File},
    {"&View", kMenu128View},
    {"&Tools", kMenu128Tools},
    {"&Help", kMenuHelp},
};
constexpr CMenuPopup kMenu129[] = {
    {"&File", kMenu129File},
    {"&View", kMenu129View},
    {"&Tools", kMenu129Tools},
    {"&Help", kMenuHelp},
};

constexpr int S = Cmd::kSeparator;
constexpr int kStandardButtons[] = {
    57600, 57601, 57603, S, 57669, S, 57635, 57634, 57637, S, 57643, 57644, S, 32773, 32774, S,
    2001, 2003, 2002, 2004, 2008, S, 32776, 2039, S, 32779, 2005, 32798, 32781, S, 2049, 2052, S,
    2027, 2113};
constexpr int kViewButtons[] = {32784, 32778, 32842, S, 32786, 32787, 32789, 2109, 2111, S,
                                2067, 2068, S, 2045, S, 2019, 2055, 2087};
constexpr int kPositionButtons[] = {2020, 2021, 2023, 2022, 2024, 2025, S,
                                    2013, 2014, 2015, 2012, 2016, 2017};
constexpr int kToolButtons[] = {2028, 2061, S, 2083, 2084, S, 2059, 2026, 2043, S, 2046, 2050,
                                2057, 2076, 2081, 2063, 2069, 2072, 2118, 2079, 2089, 2090, 2091,
                                2106, 2098, 2103};

constexpr CToolBarInfo kToolBars[] = {
    {128, "Standard Toolbar", Cmd::kViewStandardToolBar, kStandardButtons},
    {114, "View Toolbar", Cmd::kViewViewToolBar, kViewButtons},
    {5015, "Position Toolbar", Cmd::kViewPositionToolBar, kPositionButtons},
    {135, "Tool Toolbar", Cmd::kViewToolToolBar, kToolButtons},
};

constexpr Qt::KeyboardModifiers C = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers Sh = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers A = Qt::AltModifier;
constexpr Qt::KeyboardModifiers Pad = Qt::KeypadModifier;

// Table 128: the keys that work everywhere in the main window.
constexpr CAccelerator kTable128[] = {
    {C | Qt::Key_C, 57634}, {C | Qt::Key_D, 32810}, {C | Qt::Key_I, 32809},
    {C | Qt::Key_N, 57600}, {C | Qt::Key_O, 57601}, {C | Qt::Key_P, 57607},
    {C | Qt::Key_S, 57603}, {C | Qt::Key_V, 57637}, {QKeyCombination(Qt::Key_Delete), 32810},
    {QKeyCombination(Qt::Key_F1), 57670}, {Sh | Qt::Key_F1, 57669},
    {QKeyCombination(Qt::Key_F6), 57680}, {Sh | Qt::Key_F6, 57681},
    {QKeyCombination(Qt::Key_Insert), 32809}, {C | Qt::Key_X, 57635},
    {C | Qt::Key_Y, 57644}, {C | Qt::Key_Z, 57643},
};

// Table 113: the keys of the 3D view while it has the focus.
constexpr CAccelerator kTable113[] = {
    // 0..9 recall a camera bookmark, Ctrl+0..9 store one.
    {QKeyCombination(Qt::Key_0), 28}, {QKeyCombination(Qt::Key_1), 29},
    {QKeyCombination(Qt::Key_2), 30}, {QKeyCombination(Qt::Key_3), 31},
    {QKeyCombination(Qt::Key_4), 32}, {QKeyCombination(Qt::Key_5), 33},
    {QKeyCombination(Qt::Key_6), 34}, {QKeyCombination(Qt::Key_7), 35},
    {QKeyCombination(Qt::Key_8), 36}, {QKeyCombination(Qt::Key_9), 37},
    {C | Qt::Key_0, 18}, {C | Qt::Key_1, 19}, {C | Qt::Key_2, 20}, {C | Qt::Key_3, 21},
    {C | Qt::Key_4, 22}, {C | Qt::Key_5, 23}, {C | Qt::Key_6, 24}, {C | Qt::Key_7, 25},
    {C | Qt::Key_8, 26}, {C | Qt::Key_9, 27},
    // Letters.
    {QKeyCombination(Qt::Key_A), 2059}, {QKeyCombination(Qt::Key_B), 2052},
    {QKeyCombination(Qt::Key_C), 57634}, {C | Qt::Key_C, 57634},
    {QKeyCombination(Qt::Key_D), 15}, {C | Qt::Key_D, 32810},
    {QKeyCombination(Qt::Key_E), 2026},
    {QKeyCombination(Qt::Key_F), 2100}, {C | Qt::Key_F, 2045},
    {QKeyCombination(Qt::Key_G), 32789}, {QKeyCombination(Qt::Key_H), 2047},
    {QKeyCombination(Qt::Key_I), 2046}, {C | Qt::Key_I, 32809},
    {QKeyCombination(Qt::Key_J), 2049}, {QKeyCombination(Qt::Key_K), 2061},
    {QKeyCombination(Qt::Key_L), 16}, {QKeyCombination(Qt::Key_M), 32776},
    {C | Qt::Key_N, 57600},
    {QKeyCombination(Qt::Key_O), 2050}, {C | Qt::Key_O, 57601},
    {QKeyCombination(Qt::Key_P), 2043}, {C | Qt::Key_P, 57607},
    {QKeyCombination(Qt::Key_Q), 2027}, {QKeyCombination(Qt::Key_R), 17},
    {QKeyCombination(Qt::Key_S), 2028}, {C | Qt::Key_S, 57603},
    {QKeyCombination(Qt::Key_T), 2019}, {QKeyCombination(Qt::Key_U), 14},
    {QKeyCombination(Qt::Key_V), 57637}, {C | Qt::Key_V, 57637},
    {QKeyCombination(Qt::Key_W), 2055},
    {QKeyCombination(Qt::Key_X), 2113}, {C | Qt::Key_X, 57635},
    {QKeyCombination(Qt::Key_Y), 2057}, {C | Qt::Key_Y, 57644},
    {C | Qt::Key_Z, 57643}, {A | Qt::Key_Backspace, 57643},
    // Numeric pad: grid size, and with Ctrl the node size.
    {Pad | Qt::Key_Plus, 32786}, {C | Pad | Qt::Key_Plus, 2067},
    {Pad | Qt::Key_Minus, 32787}, {C | Pad | Qt::Key_Minus, 2068},
    // Editing keys and help.
    {QKeyCombination(Qt::Key_Delete), 32810}, {Sh | Qt::Key_Delete, 57635},
    {QKeyCombination(Qt::Key_Insert), 32809},
    {QKeyCombination(Qt::Key_F1), 57670}, {Sh | Qt::Key_F1, 57669},
    {QKeyCombination(Qt::Key_F6), 57680}, {Sh | Qt::Key_F6, 57681},
    // Camera keys, plain, with Ctrl and with Shift.
    {QKeyCombination(Qt::Key_Up), 32782}, {C | Qt::Key_Up, 32782}, {Sh | Qt::Key_Up, 32782},
    {QKeyCombination(Qt::Key_Down), 32783}, {C | Qt::Key_Down, 32783},
    {Sh | Qt::Key_Down, 32783},
    {QKeyCombination(Qt::Key_Left), 32785}, {C | Qt::Key_Left, 32785},
    {Sh | Qt::Key_Left, 32785},
    {QKeyCombination(Qt::Key_Right), 32791}, {C | Qt::Key_Right, 32791},
    {Sh | Qt::Key_Right, 32791},
    {QKeyCombination(Qt::Key_PageUp), 32794}, {C | Qt::Key_PageUp, 32794},
    {Sh | Qt::Key_PageUp, 32794},
    {QKeyCombination(Qt::Key_PageDown), 32790}, {C | Qt::Key_PageDown, 32790},
    {Sh | Qt::Key_PageDown, 32790},
};
// clang-format on

// ---- Icons ----

constexpr int kIconSize = 16;

QPolygonF Arrow(ECommandIcon icon)
{
    // An arrow pointing up in a 16 x 16 box, turned for the other directions.
    QPolygonF up;
    up << QPointF(8, 1) << QPointF(14, 7) << QPointF(10, 7) << QPointF(10, 11) << QPointF(6, 11)
       << QPointF(6, 7) << QPointF(2, 7);
    QTransform turn;
    turn.translate(8, 8);
    switch (icon) {
    case ArrowDown:
        turn.rotate(180);
        break;
    case ArrowLeft:
        turn.rotate(-90);
        break;
    case ArrowRight:
        turn.rotate(90);
        break;
    default:
        break;
    }
    turn.translate(-8, -8);
    return turn.map(up);
}

void DrawLetters(QPainter& painter, const QRectF& box, const QString& text, int pixelSize)
{
    QFont font = painter.font();
    font.setPixelSize(pixelSize);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(box, Qt::AlignCenter, text);
}

void DrawSheet(QPainter& painter, const QRectF& rect)
{
    painter.setBrush(Qt::white);
    painter.drawRect(rect);
    painter.drawLine(QPointF(rect.left() + 2, rect.top() + 3),
                     QPointF(rect.right() - 2, rect.top() + 3));
    painter.drawLine(QPointF(rect.left() + 2, rect.top() + 5),
                     QPointF(rect.right() - 2, rect.top() + 5));
}

QPixmap PaintIcon(const CCommandInfo& info)
{
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QColor ink(0x20, 0x20, 0x60);
    const QColor fill(0x40, 0x80, 0xC0);
    painter.setPen(QPen(ink, 1));
    const QString text = info.m_iconText ? QString::fromLatin1(info.m_iconText) : QString();

    switch (info.m_icon) {
    case Text: {
        painter.setBrush(QColor(0xF0, 0xF0, 0xE0));
        painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2, 2);
        DrawLetters(painter, QRectF(0, 0, kIconSize, kIconSize), text, text.size() > 2 ? 6 : 8);
        break;
    }
    case Cut:
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(2, 10, 4, 4));
        painter.drawEllipse(QRectF(10, 10, 4, 4));
        painter.drawLine(QPointF(5, 10), QPointF(11, 1));
        painter.drawLine(QPointF(11, 10), QPointF(5, 1));
        break;
    case Copy:
        DrawSheet(painter, QRectF(1.5, 1.5, 8, 10));
        DrawSheet(painter, QRectF(6.5, 4.5, 8, 10));
        break;
    case Paste:
        painter.setBrush(QColor(0xC0, 0x90, 0x50));
        painter.drawRect(QRectF(2.5, 2.5, 10, 12));
        painter.setBrush(Qt::gray);
        painter.drawRect(QRectF(5.5, 1.5, 4, 2));
        DrawSheet(painter, QRectF(7.5, 6.5, 7, 8));
        break;
    case Undo:
    case Redo: {
        const bool undo = info.m_icon == Undo;
        QPainterPath path;
        path.moveTo(undo ? 4 : 12, 6);
        path.cubicTo(undo ? 10 : 6, 2, undo ? 16 : 0, 8, undo ? 10 : 6, 14);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(fill.darker(), 2));
        painter.drawPath(path);
        QPolygonF head;
        if (undo)
            head << QPointF(1, 6) << QPointF(7, 2) << QPointF(7, 10);
        else
            head << QPointF(15, 6) << QPointF(9, 2) << QPointF(9, 10);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill.darker());
        painter.drawPolygon(head);
        break;
    }
    case ArrowUp:
    case ArrowDown:
    case ArrowLeft:
    case ArrowRight:
        painter.setBrush(fill);
        painter.drawPolygon(Arrow(info.m_icon));
        painter.setPen(ink);
        DrawLetters(painter, QRectF(9, 9, 7, 7), text, 7);
        break;
    case RotateLeft:
    case RotateRight: {
        const bool left = info.m_icon == RotateLeft;
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(fill.darker(), 2));
        painter.drawArc(QRectF(2, 2, 12, 12), left ? 30 * 16 : 150 * 16,
                        left ? 270 * 16 : -270 * 16);
        QPolygonF head;
        if (left)
            head << QPointF(11, 0) << QPointF(15, 5) << QPointF(9, 6);
        else
            head << QPointF(5, 0) << QPointF(1, 5) << QPointF(7, 6);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill.darker());
        painter.drawPolygon(head);
        painter.setPen(ink);
        DrawLetters(painter, QRectF(4, 4, 8, 8), text, 7);
        break;
    }
    default:
        break;
    }
    painter.end();
    return pixmap;
}

}  // namespace

std::span<const CCommandInfo> CommandTable()
{
    return kCommands;
}

const CCommandInfo* FindCommand(int id)
{
    const auto it = std::ranges::find(kCommands, id, &CCommandInfo::m_id);
    return it != std::ranges::end(kCommands) ? &*it : nullptr;
}

QString MenuItemText(const CCommandInfo& info)
{
    QString text = QString::fromLatin1(info.m_menuText);
    if (info.m_shortcut != nullptr)
        text += QLatin1Char('\t') + QString::fromLatin1(info.m_shortcut);
    return text;
}

QString StripMnemonic(const QString& text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&'))
                ++i;  // "&&" stands for one "&"
            else
                continue;
        }
        plain += text[i];
    }
    return plain;
}

QString StatusPrompt(const CCommandInfo& info)
{
    if (info.m_prompt == nullptr)
        return StripMnemonic(QString::fromLatin1(info.m_menuText));
    QString status = QString::fromLatin1(info.m_prompt).section(QLatin1Char('\n'), 0, 0);
    // Prompts are plain text: "&&" stands for one "&" as in the menus.
    status.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return status;
}

QString ToolTipText(const CCommandInfo& info)
{
    if (info.m_prompt == nullptr)
        return StripMnemonic(QString::fromLatin1(info.m_menuText));
    const QString prompt = QString::fromLatin1(info.m_prompt);
    const qsizetype newline = prompt.indexOf(QLatin1Char('\n'));
    QString tip = newline < 0 ? prompt : prompt.mid(newline + 1);
    // Plain text: "&&" stands for one "&".
    tip.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return tip;
}

QIcon CommandIcon(const CCommandInfo& info, const QStyle* style)
{
    if (style != nullptr) {
        switch (info.m_icon) {
        case New:
            return style->standardIcon(QStyle::SP_FileIcon);
        case Open:
            return style->standardIcon(QStyle::SP_DialogOpenButton);
        case Save:
            return style->standardIcon(QStyle::SP_DialogSaveButton);
        case Help:
            return style->standardIcon(QStyle::SP_TitleBarContextHelpButton);
        default:
            break;
        }
    }
    if (info.m_icon == None)
        return {};
    if (info.m_icon == New || info.m_icon == Open || info.m_icon == Save || info.m_icon == Help) {
        // Without a style: letters.
        CCommandInfo letters = info;
        letters.m_icon = Text;
        letters.m_iconText = info.m_icon == New    ? "N"
                             : info.m_icon == Open ? "O"
                             : info.m_icon == Save ? "S"
                                                   : "?";
        return QIcon(PaintIcon(letters));
    }
    return QIcon(PaintIcon(info));
}

std::span<const CMenuPopup> MenuPopups(int menu)
{
    if (menu == 128)
        return kMenu128;
    if (menu == 129)
        return kMenu129;
    return {};
}

std::span<const CToolBarInfo> ToolBars()
{
    return kToolBars;
}

std::span<const CAccelerator> AcceleratorEntries(int table)
{
    if (table == 113)
        return kTable113;
    if (table == 128)
        return kTable128;
    return {};
}

int AcceleratorCommand(int table, const QKeySequence& key)
{
    if (key.count() != 1)
        return 0;
    const QKeyCombination combination = key[0];
    for (const CAccelerator& entry : AcceleratorEntries(table))
        if (entry.m_key == combination)
            return entry.m_id;
    return 0;
}
