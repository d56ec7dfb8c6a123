#include "app/Commands.h"

#include "ui/DialogIds.h"

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
    {Cmd::kFileNew, "&New", "Ctrl+N", "New (Ctrl+N)", New, nullptr},
    {Cmd::kFileOpen, "&Open...", "Ctrl+O", "Open (Ctrl+O)", Open, nullptr},
    {Cmd::kFileClose, "&Close", nullptr, nullptr, None, nullptr},
    {Cmd::kFileSave, "&Save", "Ctrl+S", "Save (Ctrl+S)", Save, nullptr},
    {Cmd::kFileSaveAs, "Save &As...", nullptr, nullptr, None, nullptr},
    {Cmd::kFileMru1, "Recent File", nullptr, nullptr, None, nullptr},
    {Cmd::kFileMru1 + 1, "Recent File", nullptr, nullptr, None, nullptr},
    {Cmd::kFileMru1 + 2, "Recent File", nullptr, nullptr, None, nullptr},
    {Cmd::kFileMru1 + 3, "Recent File", nullptr, nullptr, None, nullptr},
    {Cmd::kAppExit, "E&xit", nullptr, nullptr, None, nullptr},

    // Edit
    {Cmd::kEditCut, "Cu&t", "Ctrl+X", "Cut (Ctrl+X)", Cut, nullptr},
    {Cmd::kEditCopy, "&Copy", "Ctrl+C, C", "Copy (Ctrl+C, C)", Copy, nullptr},
    {Cmd::kEditPaste, "&Paste", "Ctrl+V, V", "Paste (Ctrl+V, V)", Paste, nullptr},
    {Cmd::kEditUndo, "&Undo", "Ctrl+Z", "Undo (Ctrl+Z)", Undo, nullptr},
    {Cmd::kEditRedo, "&Redo", "Ctrl+Y", "Redo (Ctrl+Y)", Redo, nullptr},
    {Cmd::kInsert, "&Insert", "Ctrl+I, Ins", nullptr, None, nullptr},
    {Cmd::kDelete, "&Delete", "Ctrl+D, Del", nullptr, None, nullptr},
    {Cmd::kLink, "&Link", "Ctrl+L", "Link (Ctrl+L)", Text, "Lk"},
    {Cmd::kUnlink, "U&nlink", "Ctrl+U", "Unlink (Ctrl+U)", Text, "Ul"},

    // View: render modes, edit modes, switches
    {Cmd::kAllSectorsRendered, "All Sectors Rendered", nullptr, "All sectors rendered", Text, "AR"},
    {Cmd::kAllSectorsWireframes, "All Sectors as Wireframes",
     nullptr, "All sectors as wireframes", Text, "AW"},
    {Cmd::kSectorRenderedWireframes, "Sector Rendered && Wireframes",
     nullptr, "Sector Rendering && Wireframes", Text, "RW"},
    {Cmd::kSectorRendered, "Sector Rendered", nullptr, "Sector Rendered", Text, "SR"},
    {Cmd::kSectorWireframe, "Sector as Wireframe", nullptr, "Sector as wireframe", Text, "SW"},
    {Cmd::kSectorMode, "&Sector", "M", "Sector Mode (M)", Text, "Sec"},
    {Cmd::kLight, "&Light", nullptr, "Light Mode", Text, "Lt"},
    {Cmd::kSurfaceMode, "Sur&face", nullptr, "Surface Mode", Text, "Srf"},
    {Cmd::kTexturing, "&Texturing", nullptr, "Texturing Mode", Text, "Tex"},
    {Cmd::kVertexMode, "&Vertex", nullptr, "Vertex Mode", Text, "Vtx"},
    {Cmd::kObjectMode, "&Object", nullptr, "Object Mode", Text, "Obj"},
    {Cmd::kAdjoinRendering, "Ad&join Rendering", "J", "Adjoin Rendering (J)", Text, "Adj"},
    {Cmd::kObjectRendering, "O&bject Rendering", "B", "Object Rendering (B)", Text, "3DO"},
    {Cmd::kCollision, "&Collison Detection", "Q", "Collison Detection (Q)", Text, "Col"},
    {Cmd::kLockSector, "L&ock Sector", "X", "Lock Current Sector (X)", Text, "Lck"},

    // View: camera, grid, nodes
    {Cmd::kStepForward, "&Foreward", nullptr, "Forward", Text, "Fw"},
    {Cmd::kStepBackward, "&Backward", nullptr, "Backward", Text, "Bw"},
    {Cmd::kResetCamera, "&Middle", nullptr, "Middle", Text, "Mid"},
    {Cmd::kGridSmaller, "&Smaller", nullptr, "Grid smaller", Text, "G-"},
    {Cmd::kGridLarger, "&Larger", nullptr, "Grid larger", Text, "G+"},
    {Cmd::kGridOn, "&On", "G", "Grid on/off (G)", Text, "G"},
    {Cmd::kGridSurfaceOnly, "S&urface Only", nullptr, "Surface Only", Text, "GS"},
    {Cmd::kGridEdgesOnly, "&Edges Only", nullptr, "Edges Only", Text, "GE"},
    {Cmd::kNodesLarger, "Make grid nodes && vertices larger", nullptr,
     "Make grid nodes & vertices larger\nNodes/Vertices larger", Text, "N+"},
    {Cmd::kNodesSmaller, "Make grid nodes && vertices smaller", nullptr,
     "Make grid nodes & vertices smaller\nNodes/Vertices smaller", Text, "N-"},
    {Cmd::kFindItem, "F&ind Item", "Ctrl+F", "Find Item", Text, "Fnd"},
    {Cmd::kTextureCoordinates, "Change &Texture Coordinates...",
     "T", "Change Texture Coordinates (T)", Text, "UV"},
    {Cmd::kEnlargeView, "Enlarge Vie&w", "W", "Enlarge View (W)", Text, "Zm"},
    {Cmd::kUpdateVertices, "&Update Vertices...", nullptr, "Update Vertices", Text, "UpV"},
    {Cmd::kHiddenSectorRemoval, "&Hidden Sector Removal...", "H", nullptr, None, nullptr},

    // Position: move and rotate
    {Cmd::kMoveUpY, "Up (Along Y)", nullptr, "Move Up", ArrowUp, "Y"},
    {Cmd::kMoveDownY, "Down (Along Y)", nullptr, "Move Down", ArrowDown, "Y"},
    {Cmd::kMoveRightX, "Right (Along X)", nullptr, "Move Right", ArrowRight, "X"},
    {Cmd::kMoveLeftX, "Left (Along X)", nullptr, "Move Left", ArrowLeft, "X"},
    {Cmd::kMoveRightZ, "Right (Along Z)", nullptr, "Move Right", ArrowRight, "Z"},
    {Cmd::kMoveLeftZ, "Left (Along Z)", nullptr, "Move Left", ArrowLeft, "Z"},
    {Cmd::kRotateLeftY, "Left (Around Y)", nullptr, "Rotate Left Around Y", RotateLeft, "Y"},
    {Cmd::kRotateRightY, "Right (Around Y)", nullptr, "Rotate Right Around Y", RotateRight, "Y"},
    {Cmd::kRotateLeftX, "Left (Around X)", nullptr, "Rotate Left Around X", RotateLeft, "X"},
    {Cmd::kRotateRightX, "Right (Around X)", nullptr, "Rotate Right Around X", RotateRight, "X"},
    {Cmd::kRotateLeftZ, "Left (Around Z)", nullptr, "Rotate Left Around Z", RotateLeft, "Z"},
    {Cmd::kRotateRightZ, "Right (Around Z)", nullptr, "Rotate Right Around Z", RotateRight, "Z"},

    // Tools and Create
    {Cmd::kSplit, "&Split Sector/Surface...", "S", "Split Sector/Surface (S)", Text, "Spl"},
    {Cmd::kSplitByPolygon, "Split by Poly&gon...", "K", "Split by Polygon (K)", Text, "SpP"},
    {Cmd::kMergeSurfaces, "Merge Surfaces...", nullptr, "Merge Surfaces", Text, "MSf"},
    {Cmd::kMergeSectors, "Merge Sectors...", nullptr, "Merge Sectors", Text, "MSc"},
    {Cmd::kCarve, "C&arve Sector/Surface...", "A", "Carve Sector/Surface (A)", Text, "Crv"},
    {Cmd::kExtrudeSurface, "&Extrude Surface...", "E", "Extrude Surface (E)", Text, "Ext"},
    {Cmd::kExpandSurface, "Ex&pand Surface...", "P", "Expand Surface (P)", Text, "Exp"},
    {Cmd::kCreateLight, "&Light...", "I", "Create Light (I)", Text, "Li"},
    {Cmd::kCreateDoor, "D&oor...", "O", "Create Door (O)", Text, "Dr"},
    {Cmd::kCreateElevator, "&Elevator...", "Y", "Create Elevator (Y)", Text, "El"},
    {Cmd::kCreateStairs, "S&tairs...", nullptr, "Create Stairs", Text, "St"},
    {Cmd::kCreateRectangle, "&Rectangle...", nullptr, "Create Rectangle", Text, "Rc"},
    {Cmd::kCreateCylinder, "&Cylinder...", nullptr, "Create Cylinder", Text, "Cy"},
    {Cmd::kCreatePyramid, "&Pyramid...", nullptr, "Create Pyramid", Text, "Py"},
    {Cmd::kCreateDome, "&Dome...", nullptr, "Create Dome", Text, "Dm"},
    {Cmd::kCreateLayer, "La&yer...", nullptr, "Create Layer", Text, "Ly"},
    {Cmd::kCreateLandscape, "L&andscape...", nullptr, "Create Landscape", Text, "Ls"},
    {Cmd::kCreateWater, "&Water...", nullptr, "Create Water", Text, "Wa"},
    {Cmd::kCreateForceField, "&Force Field...", nullptr, "Create Force Field", Text, "FF"},
    {Cmd::kCreateBreakingGlass, "&Breaking Glass...", nullptr, "Create Breaking Glass", Text, "BG"},
    {Cmd::kCreateSlashableGrate, "Slashable &Grate...",
     nullptr, "Create Slashable Grate", Text, "SG"},
    {Cmd::kCreateSwitch, "&Switch...", nullptr, "Create Switch", Text, "Sw"},
    {Cmd::kCreateConveyorBelt, "Con&veyor Belt...", nullptr, "Create Conveyor Belt", Text, "CB"},

    // Tool bars and status bar
    {Cmd::kViewStandardToolBar, "&Standard Toolbar", nullptr, nullptr, None, nullptr},
    {Cmd::kViewViewToolBar, "&View Toolbar", nullptr, nullptr, None, nullptr},
    {Cmd::kViewPositionToolBar, "&Position Toolbar", nullptr, nullptr, None, nullptr},
    {Cmd::kViewToolToolBar, "&Tool Toolbar", nullptr, nullptr, None, nullptr},
    {Cmd::kViewStatusBar, "&Status Bar", nullptr, nullptr, None, nullptr},

    // Tools menu of the application
    {Cmd::kSelectProduct, "&Select Product...", nullptr, nullptr, None, nullptr},
    {Cmd::kFileManager, "&File Manager...", nullptr, nullptr, None, nullptr},
    {Cmd::kTemplateManager, "Template &Manager...", nullptr, nullptr, None, nullptr},
    {Cmd::kMultiLevelEditor, "Multi &Level Editor...", nullptr, nullptr, None, nullptr},

    // Level
    {Cmd::kHeader, "&Header...", nullptr, nullptr, None, nullptr},
    {Cmd::kStatistics, "&Statistics...", nullptr, nullptr, None, nullptr},
    {Cmd::kEpisodeEditor, "&Episode Editor...", nullptr, nullptr, None, nullptr},
    {Cmd::kStartupEditor, "Startup Editor...", nullptr, nullptr, None, nullptr},
    {Cmd::kStartupCogEditor, "StartUp Cog Editor...", nullptr, nullptr, None, nullptr},
    {Cmd::kGoalsCogEditor, "Goals Cog Editor...", nullptr, nullptr, None, nullptr},
    {Cmd::kCogsInLevel, "&Cogs in Level...", nullptr, nullptr, None, nullptr},
    {Cmd::kErrors, "E&rrors...", nullptr, nullptr, None, nullptr},
    {Cmd::kFilesInLevel, "&Files in Level...", nullptr, nullptr, None, nullptr},
    {Cmd::kTestLevel, "Test &Level", nullptr, nullptr, None, nullptr},

    // Tools menu of the document
    {Cmd::kAnimationManager, "Animation Manager...", nullptr, nullptr, None, nullptr},
    {Cmd::kSelectColorMap, "Select Color Map...", nullptr, nullptr, None, nullptr},
    {Cmd::kSelectSound, "Select Sound...", nullptr, nullptr, None, nullptr},
    {Cmd::kOptions, "Optio&ns...", nullptr, nullptr, None, nullptr},
    {Cmd::kRestoreSurface, "&Restore Surface", nullptr, nullptr, None, nullptr},

    // Library: sector groups
    {Cmd::kLibraryRename, "Rename...", nullptr, nullptr, None, nullptr},
    {Cmd::kLibraryDelete, "Delete...", nullptr, nullptr, None, nullptr},
    {Cmd::kLibrarySave, "Save...", nullptr, nullptr, None, nullptr},
    {Cmd::kLibraryLoad, "Load...", nullptr, nullptr, None, nullptr},

    // Help
    {Cmd::kTipOfTheDay, "Ti&p of the Day...", nullptr, "Displays a Tip of the Day.", None, nullptr},
    {Cmd::kHelpFinder, "&Help Topics", nullptr, nullptr, None, nullptr},
    {Cmd::kHelpIndex, "Help &Index", nullptr, nullptr, None, nullptr},
    {Cmd::kHelpTutorials, "Help &Tutorial's",
     nullptr, "Opens Help Tutorial's on Web", None, nullptr},
    {Cmd::kHelpFaqs, "Help &FAQ's", nullptr, "Opens Help FAQ's on Web", None, nullptr},
    {Cmd::kAppAbout, "&About QzEdit...", nullptr, nullptr, None, nullptr},
    {Cmd::kContextHelp, "Help", "Shift+F1", "Help", Help, nullptr},

    // Commands of keys only: no menu item, no button.
    {Cmd::kFilePrint, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kHelp, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kNextPane, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kPrevPane, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kUnservedF, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kCameraForwardKey, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kCameraBackwardKey, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kCameraLeftKey, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kCameraRightKey, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kCameraTiltUpKey, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kCameraTiltDownKey, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kPanUp, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kPanDown, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kPanLeft, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kPanRight, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kStoreBookmark0, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kStoreBookmark0 + 1, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kStoreBookmark0 + 2, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kStoreBookmark0 + 3, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kStoreBookmark0 + 4, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kStoreBookmark0 + 5, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kStoreBookmark0 + 6, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kStoreBookmark0 + 7, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kStoreBookmark0 + 8, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kStoreBookmark0 + 9, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kRecallBookmark0, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kRecallBookmark0 + 1, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kRecallBookmark0 + 2, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kRecallBookmark0 + 3, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kRecallBookmark0 + 4, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kRecallBookmark0 + 5, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kRecallBookmark0 + 6, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kRecallBookmark0 + 7, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kRecallBookmark0 + 8, nullptr, nullptr, nullptr, None, nullptr},
    {Cmd::kRecallBookmark0 + 9, nullptr, nullptr, nullptr, None, nullptr},
};

constexpr int kMenu128File[] = {
    Cmd::kFileNew, Cmd::kFileOpen, Cmd::kSeparator,
    Cmd::kRecentFiles, Cmd::kSeparator,
    Cmd::kAppExit,
};
constexpr int kMenu128View[] = {
    Cmd::kViewStandardToolBar, Cmd::kViewViewToolBar, Cmd::kViewToolToolBar, Cmd::kViewStatusBar,
};
constexpr int kMenu128Tools[] = {
    Cmd::kSelectProduct, Cmd::kSeparator,
    Cmd::kFileManager, Cmd::kTemplateManager, Cmd::kSeparator,
    Cmd::kMultiLevelEditor,
};
constexpr int kMenuHelp[] = {
    Cmd::kHelpFinder, Cmd::kHelpIndex, Cmd::kHelpTutorials, Cmd::kHelpFaqs, Cmd::kSeparator,
    Cmd::kAppAbout,
};

constexpr int kMenu129File[] = {
    Cmd::kFileNew, Cmd::kFileOpen, Cmd::kFileClose, Cmd::kFileSave, Cmd::kFileSaveAs,
    Cmd::kSeparator,
    Cmd::kRecentFiles, Cmd::kSeparator,
    Cmd::kAppExit,
};

// Edit: Undo and Redo, then the 3D view's edit commands; Move and Rotate are submenus.
constexpr int kEditMove[] = {
    Cmd::kMoveUpY, Cmd::kMoveDownY, Cmd::kMoveLeftX, Cmd::kMoveRightX, Cmd::kMoveRightZ,
    Cmd::kMoveLeftZ,
};
constexpr int kEditRotate[] = {
    Cmd::kRotateRightX, Cmd::kRotateLeftY, Cmd::kRotateRightY, Cmd::kRotateLeftX,
    Cmd::kRotateLeftZ, Cmd::kRotateRightZ,
};
constexpr CMenuPopup kEditSubMenus[] = {
    {"&Move", kEditMove},
    {"R&otate", kEditRotate},
};
constexpr int kMenu129Edit[] = {
    Cmd::kEditUndo, Cmd::kEditRedo, Cmd::kSeparator,
    Cmd::kEditCut, Cmd::kEditCopy, Cmd::kEditPaste, Cmd::kInsert, Cmd::kDelete, Cmd::kSeparator,
    Cmd::kSubMenu, Cmd::kSubMenu, Cmd::kSeparator,
    Cmd::kLink, Cmd::kUnlink, Cmd::kSeparator,
    Cmd::kTextureCoordinates, Cmd::kExtrudeSurface, Cmd::kExpandSurface, Cmd::kSplit, Cmd::kCarve,
};

// View: the bars, the edit modes, the render modes, the Grid submenu, the switches and the
// camera's View Move submenu.
constexpr int kViewGrid[] = {
    Cmd::kGridOn, Cmd::kGridSurfaceOnly, Cmd::kGridEdgesOnly, Cmd::kGridSmaller, Cmd::kGridLarger,
    Cmd::kSeparator,
    Cmd::kNodesLarger, Cmd::kNodesSmaller,
};
constexpr int kViewMove[] = {
    Cmd::kStepForward, Cmd::kStepBackward, Cmd::kResetCamera,
};
constexpr CMenuPopup kViewSubMenus[] = {
    {"&Grid", kViewGrid},
    {"&Move", kViewMove},
};
constexpr int kMenu129View[] = {
    Cmd::kViewStandardToolBar, Cmd::kViewViewToolBar, Cmd::kViewPositionToolBar,
    Cmd::kViewToolToolBar, Cmd::kViewStatusBar, Cmd::kSeparator,
    Cmd::kSectorMode, Cmd::kLight, Cmd::kSurfaceMode, Cmd::kTexturing, Cmd::kVertexMode,
    Cmd::kObjectMode, Cmd::kSeparator,
    Cmd::kAllSectorsRendered, Cmd::kSectorRenderedWireframes, Cmd::kAllSectorsWireframes,
    Cmd::kSectorRendered, Cmd::kSectorWireframe, Cmd::kSeparator,
    Cmd::kSubMenu, Cmd::kSeparator,
    Cmd::kCollision, Cmd::kLockSector, Cmd::kAdjoinRendering, Cmd::kObjectRendering,
    Cmd::kEnlargeView, Cmd::kSeparator,
    Cmd::kSubMenu,
};

constexpr int kMenu129Level[] = {
    Cmd::kFindItem, Cmd::kSeparator,
    Cmd::kHeader, Cmd::kStatistics, Cmd::kEpisodeEditor, Cmd::kSeparator,
    Cmd::kStartupEditor, Cmd::kStartupCogEditor, Cmd::kGoalsCogEditor, Cmd::kSeparator,
    Cmd::kCogsInLevel, Cmd::kErrors, Cmd::kFilesInLevel, Cmd::kSeparator,
    Cmd::kTestLevel,
};
constexpr int kMenu129Tools[] = {
    Cmd::kFileManager, Cmd::kTemplateManager, Cmd::kAnimationManager, Cmd::kSelectColorMap,
    Cmd::kSelectSound, Cmd::kSeparator,
    Cmd::kHiddenSectorRemoval, Cmd::kOptions, Cmd::kSeparator,
    Cmd::kUpdateVertices, Cmd::kMergeSurfaces, Cmd::kMergeSectors, Cmd::kSplitByPolygon,
    Cmd::kRestoreSurface,
};
constexpr int kMenu129Create[] = {
    Cmd::kCreateLight, Cmd::kCreateDoor, Cmd::kCreateElevator, Cmd::kCreateStairs,
    Cmd::kCreateRectangle, Cmd::kCreateCylinder, Cmd::kCreatePyramid, Cmd::kCreateDome,
    Cmd::kCreateLayer, Cmd::kCreateLandscape, Cmd::kCreateWater, Cmd::kCreateForceField,
    Cmd::kCreateBreakingGlass, Cmd::kCreateSlashableGrate, Cmd::kCreateSwitch,
    Cmd::kCreateConveyorBelt,
};
constexpr int kMenu129Library[] = {
    Cmd::kLibraryRename, Cmd::kLibraryDelete, Cmd::kLibrarySave, Cmd::kLibraryLoad,
};

constexpr CMenuPopup kMenu128[] = {
    {"&File", kMenu128File},
    {"&View", kMenu128View},
    {"&Tools", kMenu128Tools},
    {"&Help", kMenuHelp},
};
constexpr CMenuPopup kMenu129[] = {
    {"&File", kMenu129File},
    {"&Edit", kMenu129Edit, kEditSubMenus},
    {"&View", kMenu129View, kViewSubMenus},
    {"&Level", kMenu129Level},
    {"&Tools", kMenu129Tools},
    {"&Create", kMenu129Create},
    {"L&ibrary", kMenu129Library},
    {"&Help", kMenuHelp},
};

constexpr int S = Cmd::kSeparator;
constexpr int kStandardButtons[] = {
    Cmd::kFileNew, Cmd::kFileOpen, Cmd::kFileSave, S,
    Cmd::kContextHelp, S,
    Cmd::kEditCut, Cmd::kEditCopy, Cmd::kEditPaste, S,
    Cmd::kEditUndo, Cmd::kEditRedo, S,
    Cmd::kLink, Cmd::kUnlink, S,
    Cmd::kAllSectorsRendered, Cmd::kAllSectorsWireframes, Cmd::kSectorRenderedWireframes,
    Cmd::kSectorRendered, Cmd::kSectorWireframe, S,
    Cmd::kSectorMode, Cmd::kLight, S,
    Cmd::kSurfaceMode, Cmd::kTexturing, Cmd::kVertexMode, Cmd::kObjectMode, S,
    Cmd::kAdjoinRendering, Cmd::kObjectRendering, S,
    Cmd::kCollision, Cmd::kLockSector,
};
constexpr int kViewButtons[] = {
    Cmd::kStepForward, Cmd::kStepBackward, Cmd::kResetCamera, S,
    Cmd::kGridSmaller, Cmd::kGridLarger, Cmd::kGridOn, Cmd::kGridSurfaceOnly, Cmd::kGridEdgesOnly,
    S,
    Cmd::kNodesLarger, Cmd::kNodesSmaller, S,
    Cmd::kFindItem, S,
    Cmd::kTextureCoordinates, Cmd::kEnlargeView, Cmd::kUpdateVertices,
};
constexpr int kPositionButtons[] = {
    Cmd::kMoveUpY, Cmd::kMoveDownY, Cmd::kMoveRightX, Cmd::kMoveLeftX, Cmd::kMoveRightZ,
    Cmd::kMoveLeftZ, S,
    Cmd::kRotateLeftY, Cmd::kRotateRightY, Cmd::kRotateLeftX, Cmd::kRotateRightX, Cmd::kRotateLeftZ,
    Cmd::kRotateRightZ,
};
constexpr int kToolButtons[] = {
    Cmd::kSplit, Cmd::kSplitByPolygon, S,
    Cmd::kMergeSurfaces, Cmd::kMergeSectors, S,
    Cmd::kCarve, Cmd::kExtrudeSurface, Cmd::kExpandSurface, S,
    Cmd::kCreateLight, Cmd::kCreateDoor, Cmd::kCreateElevator, Cmd::kCreateStairs,
    Cmd::kCreateRectangle, Cmd::kCreateCylinder, Cmd::kCreatePyramid, Cmd::kCreateDome,
    Cmd::kCreateLayer, Cmd::kCreateLandscape, Cmd::kCreateWater, Cmd::kCreateForceField,
    Cmd::kCreateBreakingGlass, Cmd::kCreateSlashableGrate, Cmd::kCreateSwitch,
    Cmd::kCreateConveyorBelt,
};

constexpr CToolBarInfo kToolBars[] = {
    {Ctl::kStandardToolBar, "Standard Toolbar", Cmd::kViewStandardToolBar, kStandardButtons},
    {Ctl::kViewToolBar, "View Toolbar", Cmd::kViewViewToolBar, kViewButtons},
    {Ctl::kPositionToolBar, "Position Toolbar", Cmd::kViewPositionToolBar, kPositionButtons},
    {Ctl::kToolToolBar, "Tool Toolbar", Cmd::kViewToolToolBar, kToolButtons},
};

constexpr Qt::KeyboardModifiers C = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers Sh = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers A = Qt::AltModifier;
constexpr Qt::KeyboardModifiers Pad = Qt::KeypadModifier;

// Table 128 (AccelTable::kFrame): the keys that work everywhere in the main window.
constexpr CAccelerator kTable128[] = {
    {C | Qt::Key_C, Cmd::kEditCopy}, {C | Qt::Key_D, Cmd::kDelete}, {C | Qt::Key_I, Cmd::kInsert},
    {C | Qt::Key_N, Cmd::kFileNew}, {C | Qt::Key_O, Cmd::kFileOpen},
    {C | Qt::Key_P, Cmd::kFilePrint},
    {C | Qt::Key_S, Cmd::kFileSave}, {C | Qt::Key_V, Cmd::kEditPaste},
    {QKeyCombination(Qt::Key_Delete), Cmd::kDelete},
    {QKeyCombination(Qt::Key_F1), Cmd::kHelp}, {Sh | Qt::Key_F1, Cmd::kContextHelp},
    {QKeyCombination(Qt::Key_F6), Cmd::kNextPane}, {Sh | Qt::Key_F6, Cmd::kPrevPane},
    {QKeyCombination(Qt::Key_Insert), Cmd::kInsert}, {C | Qt::Key_X, Cmd::kEditCut},
    {C | Qt::Key_Y, Cmd::kEditRedo}, {C | Qt::Key_Z, Cmd::kEditUndo},
};

// Table 113 (AccelTable::kView): the keys of the 3D view while it has the focus.
constexpr CAccelerator kTable113[] = {
    // 0..9 recall a camera bookmark, Ctrl+0..9 store one.
    {QKeyCombination(Qt::Key_0), Cmd::kRecallBookmark0},
    {QKeyCombination(Qt::Key_1), Cmd::kRecallBookmark0 + 1},
    {QKeyCombination(Qt::Key_2), Cmd::kRecallBookmark0 + 2},
    {QKeyCombination(Qt::Key_3), Cmd::kRecallBookmark0 + 3},
    {QKeyCombination(Qt::Key_4), Cmd::kRecallBookmark0 + 4},
    {QKeyCombination(Qt::Key_5), Cmd::kRecallBookmark0 + 5},
    {QKeyCombination(Qt::Key_6), Cmd::kRecallBookmark0 + 6},
    {QKeyCombination(Qt::Key_7), Cmd::kRecallBookmark0 + 7},
    {QKeyCombination(Qt::Key_8), Cmd::kRecallBookmark0 + 8},
    {QKeyCombination(Qt::Key_9), Cmd::kRecallBookmark0 + 9},
    {C | Qt::Key_0, Cmd::kStoreBookmark0}, {C | Qt::Key_1, Cmd::kStoreBookmark0 + 1},
    {C | Qt::Key_2, Cmd::kStoreBookmark0 + 2}, {C | Qt::Key_3, Cmd::kStoreBookmark0 + 3},
    {C | Qt::Key_4, Cmd::kStoreBookmark0 + 4}, {C | Qt::Key_5, Cmd::kStoreBookmark0 + 5},
    {C | Qt::Key_6, Cmd::kStoreBookmark0 + 6}, {C | Qt::Key_7, Cmd::kStoreBookmark0 + 7},
    {C | Qt::Key_8, Cmd::kStoreBookmark0 + 8}, {C | Qt::Key_9, Cmd::kStoreBookmark0 + 9},
    // Letters.
    {QKeyCombination(Qt::Key_A), Cmd::kCarve}, {QKeyCombination(Qt::Key_B), Cmd::kObjectRendering},
    {QKeyCombination(Qt::Key_C), Cmd::kEditCopy}, {C | Qt::Key_C, Cmd::kEditCopy},
    {QKeyCombination(Qt::Key_D), Cmd::kPanDown}, {C | Qt::Key_D, Cmd::kDelete},
    {QKeyCombination(Qt::Key_E), Cmd::kExtrudeSurface},
    {QKeyCombination(Qt::Key_F), Cmd::kUnservedF}, {C | Qt::Key_F, Cmd::kFindItem},
    {QKeyCombination(Qt::Key_G), Cmd::kGridOn},
    {QKeyCombination(Qt::Key_H), Cmd::kHiddenSectorRemoval},
    {QKeyCombination(Qt::Key_I), Cmd::kCreateLight}, {C | Qt::Key_I, Cmd::kInsert},
    {QKeyCombination(Qt::Key_J), Cmd::kAdjoinRendering},
    {QKeyCombination(Qt::Key_K), Cmd::kSplitByPolygon},
    {QKeyCombination(Qt::Key_L), Cmd::kPanLeft}, {QKeyCombination(Qt::Key_M), Cmd::kSectorMode},
    {C | Qt::Key_N, Cmd::kFileNew},
    {QKeyCombination(Qt::Key_O), Cmd::kCreateDoor}, {C | Qt::Key_O, Cmd::kFileOpen},
    {QKeyCombination(Qt::Key_P), Cmd::kExpandSurface}, {C | Qt::Key_P, Cmd::kFilePrint},
    {QKeyCombination(Qt::Key_Q), Cmd::kCollision}, {QKeyCombination(Qt::Key_R), Cmd::kPanRight},
    {QKeyCombination(Qt::Key_S), Cmd::kSplit}, {C | Qt::Key_S, Cmd::kFileSave},
    {QKeyCombination(Qt::Key_T), Cmd::kTextureCoordinates},
    {QKeyCombination(Qt::Key_U), Cmd::kPanUp},
    {QKeyCombination(Qt::Key_V), Cmd::kEditPaste}, {C | Qt::Key_V, Cmd::kEditPaste},
    {QKeyCombination(Qt::Key_W), Cmd::kEnlargeView},
    {QKeyCombination(Qt::Key_X), Cmd::kLockSector}, {C | Qt::Key_X, Cmd::kEditCut},
    {QKeyCombination(Qt::Key_Y), Cmd::kCreateElevator}, {C | Qt::Key_Y, Cmd::kEditRedo},
    {C | Qt::Key_Z, Cmd::kEditUndo}, {A | Qt::Key_Backspace, Cmd::kEditUndo},
    // Numeric pad: grid size, and with Ctrl the node size.
    {Pad | Qt::Key_Plus, Cmd::kGridSmaller}, {C | Pad | Qt::Key_Plus, Cmd::kNodesLarger},
    {Pad | Qt::Key_Minus, Cmd::kGridLarger}, {C | Pad | Qt::Key_Minus, Cmd::kNodesSmaller},
    // Editing keys and help.
    {QKeyCombination(Qt::Key_Delete), Cmd::kDelete}, {Sh | Qt::Key_Delete, Cmd::kEditCut},
    {QKeyCombination(Qt::Key_Insert), Cmd::kInsert},
    {QKeyCombination(Qt::Key_F1), Cmd::kHelp}, {Sh | Qt::Key_F1, Cmd::kContextHelp},
    {QKeyCombination(Qt::Key_F6), Cmd::kNextPane}, {Sh | Qt::Key_F6, Cmd::kPrevPane},
    // Camera keys, plain, with Ctrl and with Shift.
    {QKeyCombination(Qt::Key_Up), Cmd::kCameraForwardKey}, {C | Qt::Key_Up, Cmd::kCameraForwardKey},
    {Sh | Qt::Key_Up, Cmd::kCameraForwardKey},
    {QKeyCombination(Qt::Key_Down), Cmd::kCameraBackwardKey},
    {C | Qt::Key_Down, Cmd::kCameraBackwardKey},
    {Sh | Qt::Key_Down, Cmd::kCameraBackwardKey},
    {QKeyCombination(Qt::Key_Left), Cmd::kCameraLeftKey}, {C | Qt::Key_Left, Cmd::kCameraLeftKey},
    {Sh | Qt::Key_Left, Cmd::kCameraLeftKey},
    {QKeyCombination(Qt::Key_Right), Cmd::kCameraRightKey},
    {C | Qt::Key_Right, Cmd::kCameraRightKey},
    {Sh | Qt::Key_Right, Cmd::kCameraRightKey},
    {QKeyCombination(Qt::Key_PageUp), Cmd::kCameraTiltUpKey},
    {C | Qt::Key_PageUp, Cmd::kCameraTiltUpKey},
    {Sh | Qt::Key_PageUp, Cmd::kCameraTiltUpKey},
    {QKeyCombination(Qt::Key_PageDown), Cmd::kCameraTiltDownKey},
    {C | Qt::Key_PageDown, Cmd::kCameraTiltDownKey},
    {Sh | Qt::Key_PageDown, Cmd::kCameraTiltDownKey},
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
    if (menu == Menu::kNoDocument)
        return kMenu128;
    if (menu == Menu::kDocument)
        return kMenu129;
    return {};
}

std::span<const CToolBarInfo> ToolBars()
{
    return kToolBars;
}

std::span<const CAccelerator> AcceleratorEntries(int table)
{
    if (table == AccelTable::kView)
        return kTable113;
    if (table == AccelTable::kFrame)
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
