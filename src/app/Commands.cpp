#include "app/Commands.h"

#include "ui/DialogIds.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

#include <algorithm>
#include <array>
#include <utility>

namespace {

// clang-format off
constexpr CCommandInfo kCommands[] = {
    // File
    {Cmd::kFileNew, "&New", "Ctrl+N", "New (Ctrl+N)", "file-new"},
    {Cmd::kFileOpen, "&Open...", "Ctrl+O", "Open (Ctrl+O)", "file-open"},
    {Cmd::kFileClose, "&Close", nullptr, nullptr, nullptr},
    {Cmd::kFileSave, "&Save", "Ctrl+S", "Save (Ctrl+S)", "file-save"},
    {Cmd::kFileSaveAs, "Save &As...", nullptr, nullptr, nullptr},
    {Cmd::kFileMru1, "Recent File", nullptr, nullptr, nullptr},
    {Cmd::kFileMru1 + 1, "Recent File", nullptr, nullptr, nullptr},
    {Cmd::kFileMru1 + 2, "Recent File", nullptr, nullptr, nullptr},
    {Cmd::kFileMru1 + 3, "Recent File", nullptr, nullptr, nullptr},
    {Cmd::kAppExit, "E&xit", nullptr, nullptr, nullptr},

    // Edit
    {Cmd::kEditCut, "Cu&t", "Ctrl+X", "Cut (Ctrl+X)", "edit-cut"},
    {Cmd::kEditCopy, "&Copy", "Ctrl+C, C", "Copy (Ctrl+C, C)", "edit-copy"},
    {Cmd::kEditPaste, "&Paste", "Ctrl+V, V", "Paste (Ctrl+V, V)", "edit-paste"},
    {Cmd::kEditUndo, "&Undo", "Ctrl+Z", "Undo (Ctrl+Z)", "edit-undo"},
    {Cmd::kEditRedo, "&Redo", "Ctrl+Y", "Redo (Ctrl+Y)", "edit-redo"},
    {Cmd::kInsert, "&Insert", "Ctrl+I, Ins", nullptr, nullptr},
    {Cmd::kDelete, "&Delete", "Ctrl+D, Del", nullptr, nullptr},
    {Cmd::kLink, "&Link", "Ctrl+L", "Link (Ctrl+L)", "link"},
    {Cmd::kUnlink, "U&nlink", "Ctrl+U", "Unlink (Ctrl+U)", "unlink"},

    // View: render modes, edit modes, switches
    {Cmd::kAllSectorsRendered, "All Sectors Rendered", nullptr, "All sectors rendered", "all-sectors-rendered"},
    {Cmd::kAllSectorsWireframes, "All Sectors as Wireframes",
     nullptr, "All sectors as wireframes", "all-sectors-wireframes"},
    {Cmd::kSectorRenderedWireframes, "Sector Rendered && Wireframes",
     nullptr, "Sector Rendering && Wireframes", "sector-rendered-wireframes"},
    {Cmd::kSectorRendered, "Sector Rendered", nullptr, "Sector Rendered", "sector-rendered"},
    {Cmd::kSectorWireframe, "Sector as Wireframe", nullptr, "Sector as wireframe", "sector-wireframe"},
    {Cmd::kSectorMode, "&Sector", "M", "Sector Mode (M)", "sector-mode"},
    {Cmd::kLight, "&Light", nullptr, "Light Mode", "light"},
    {Cmd::kSurfaceMode, "Sur&face", nullptr, "Surface Mode", "surface-mode"},
    {Cmd::kTexturing, "&Texturing", nullptr, "Texturing Mode", "texturing"},
    {Cmd::kVertexMode, "&Vertex", nullptr, "Vertex Mode", "vertex-mode"},
    {Cmd::kObjectMode, "&Object", nullptr, "Object Mode", "object-mode"},
    {Cmd::kAdjoinRendering, "Ad&join Rendering", "J", "Adjoin Rendering (J)", "adjoin-rendering"},
    {Cmd::kObjectRendering, "O&bject Rendering", "B", "Object Rendering (B)", "object-rendering"},
    {Cmd::kCollision, "&Collison Detection", "Q", "Collison Detection (Q)", "collision"},
    {Cmd::kLockSector, "L&ock Sector", "X", "Lock Current Sector (X)", "lock-sector"},

    // View: camera, grid, nodes
    {Cmd::kStepForward, "&Foreward", nullptr, "Forward", "step-forward"},
    {Cmd::kStepBackward, "&Backward", nullptr, "Backward", "step-backward"},
    {Cmd::kResetCamera, "&Middle", nullptr, "Middle", "reset-camera"},
    {Cmd::kGridSmaller, "&Smaller", nullptr, "Grid smaller", "grid-smaller"},
    {Cmd::kGridLarger, "&Larger", nullptr, "Grid larger", "grid-larger"},
    {Cmd::kGridOn, "&On", "G", "Grid on/off (G)", "grid-on"},
    {Cmd::kGridSurfaceOnly, "S&urface Only", nullptr, "Surface Only", "grid-surface-only"},
    {Cmd::kGridEdgesOnly, "&Edges Only", nullptr, "Edges Only", "grid-edges-only"},
    {Cmd::kNodesLarger, "Make grid nodes && vertices larger", nullptr,
     "Make grid nodes & vertices larger\nNodes/Vertices larger", "nodes-larger"},
    {Cmd::kNodesSmaller, "Make grid nodes && vertices smaller", nullptr,
     "Make grid nodes & vertices smaller\nNodes/Vertices smaller", "nodes-smaller"},
    {Cmd::kFindItem, "F&ind Item", "Ctrl+F", "Find Item", "find-item"},
    {Cmd::kTextureCoordinates, "Change &Texture Coordinates...",
     "T", "Change Texture Coordinates (T)", "texture-coordinates"},
    {Cmd::kEnlargeView, "Enlarge Vie&w", "W", "Enlarge View (W)", "enlarge-view"},
    {Cmd::kUpdateVertices, "&Update Vertices...", nullptr, "Update Vertices", "update-vertices"},
    {Cmd::kHiddenSectorRemoval, "&Hidden Sector Removal...", "H", nullptr, nullptr},

    // Position: move and rotate
    {Cmd::kMoveUpY, "Up (Along Y)", nullptr, "Move Up", "move-up-y"},
    {Cmd::kMoveDownY, "Down (Along Y)", nullptr, "Move Down", "move-down-y"},
    {Cmd::kMoveRightX, "Right (Along X)", nullptr, "Move Right", "move-right-x"},
    {Cmd::kMoveLeftX, "Left (Along X)", nullptr, "Move Left", "move-left-x"},
    {Cmd::kMoveRightZ, "Right (Along Z)", nullptr, "Move Right", "move-right-z"},
    {Cmd::kMoveLeftZ, "Left (Along Z)", nullptr, "Move Left", "move-left-z"},
    {Cmd::kRotateLeftY, "Left (Around Y)", nullptr, "Rotate Left Around Y", "rotate-left-y"},
    {Cmd::kRotateRightY, "Right (Around Y)", nullptr, "Rotate Right Around Y", "rotate-right-y"},
    {Cmd::kRotateLeftX, "Left (Around X)", nullptr, "Rotate Left Around X", "rotate-left-x"},
    {Cmd::kRotateRightX, "Right (Around X)", nullptr, "Rotate Right Around X", "rotate-right-x"},
    {Cmd::kRotateLeftZ, "Left (Around Z)", nullptr, "Rotate Left Around Z", "rotate-left-z"},
    {Cmd::kRotateRightZ, "Right (Around Z)", nullptr, "Rotate Right Around Z", "rotate-right-z"},

    // Tools and Create
    {Cmd::kSplit, "&Split Sector/Surface...", "S", "Split Sector/Surface (S)", "split"},
    {Cmd::kSplitByPolygon, "Split by Poly&gon...", "K", "Split by Polygon (K)", "split-by-polygon"},
    {Cmd::kMergeSurfaces, "Merge Surfaces...", nullptr, "Merge Surfaces", "merge-surfaces"},
    {Cmd::kMergeSectors, "Merge Sectors...", nullptr, "Merge Sectors", "merge-sectors"},
    {Cmd::kCarve, "C&arve Sector/Surface...", "A", "Carve Sector/Surface (A)", "carve"},
    {Cmd::kExtrudeSurface, "&Extrude Surface...", "E", "Extrude Surface (E)", "extrude-surface"},
    {Cmd::kExpandSurface, "Ex&pand Surface...", "P", "Expand Surface (P)", "expand-surface"},
    {Cmd::kCreateLight, "&Light...", "I", "Create Light (I)", "create-light"},
    {Cmd::kCreateDoor, "D&oor...", "O", "Create Door (O)", "create-door"},
    {Cmd::kCreateElevator, "&Elevator...", "Y", "Create Elevator (Y)", "create-elevator"},
    {Cmd::kCreateStairs, "S&tairs...", nullptr, "Create Stairs", "create-stairs"},
    {Cmd::kCreateRectangle, "&Rectangle...", nullptr, "Create Rectangle", "create-rectangle"},
    {Cmd::kCreateCylinder, "&Cylinder...", nullptr, "Create Cylinder", "create-cylinder"},
    {Cmd::kCreatePyramid, "&Pyramid...", nullptr, "Create Pyramid", "create-pyramid"},
    {Cmd::kCreateDome, "&Dome...", nullptr, "Create Dome", "create-dome"},
    {Cmd::kCreateLayer, "La&yer...", nullptr, "Create Layer", "create-layer"},
    {Cmd::kCreateLandscape, "L&andscape...", nullptr, "Create Landscape", "create-landscape"},
    {Cmd::kCreateWater, "&Water...", nullptr, "Create Water", "create-water"},
    {Cmd::kCreateForceField, "&Force Field...", nullptr, "Create Force Field", "create-force-field"},
    {Cmd::kCreateBreakingGlass, "&Breaking Glass...", nullptr, "Create Breaking Glass", "create-breaking-glass"},
    {Cmd::kCreateSlashableGrate, "Slashable &Grate...",
     nullptr, "Create Slashable Grate", "create-slashable-grate"},
    {Cmd::kCreateSwitch, "&Switch...", nullptr, "Create Switch", "create-switch"},
    {Cmd::kCreateConveyorBelt, "Con&veyor Belt...", nullptr, "Create Conveyor Belt", "create-conveyor-belt"},

    // Tool bars and status bar
    {Cmd::kViewStandardToolBar, "&Standard Toolbar", nullptr, nullptr, nullptr},
    {Cmd::kViewViewToolBar, "&View Toolbar", nullptr, nullptr, nullptr},
    {Cmd::kViewPositionToolBar, "&Position Toolbar", nullptr, nullptr, nullptr},
    {Cmd::kViewToolToolBar, "&Tool Toolbar", nullptr, nullptr, nullptr},
    {Cmd::kViewStatusBar, "&Status Bar", nullptr, nullptr, nullptr},

    // Tools menu of the application
    {Cmd::kSelectProduct, "&Select Product...", nullptr, nullptr, nullptr},
    {Cmd::kFileManager, "&File Manager...", nullptr, nullptr, nullptr},
    {Cmd::kTemplateManager, "Template &Manager...", nullptr, nullptr, nullptr},
    {Cmd::kMultiLevelEditor, "Multi &Level Editor...", nullptr, nullptr, nullptr},

    // Level
    {Cmd::kHeader, "&Header...", nullptr, nullptr, nullptr},
    {Cmd::kStatistics, "&Statistics...", nullptr, nullptr, nullptr},
    {Cmd::kEpisodeEditor, "&Episode Editor...", nullptr, nullptr, nullptr},
    {Cmd::kStartupEditor, "Startup Editor...", nullptr, nullptr, nullptr},
    {Cmd::kStartupCogEditor, "StartUp Cog Editor...", nullptr, nullptr, nullptr},
    {Cmd::kGoalsCogEditor, "Goals Cog Editor...", nullptr, nullptr, nullptr},
    {Cmd::kCogsInLevel, "&Cogs in Level...", nullptr, nullptr, nullptr},
    {Cmd::kErrors, "E&rrors...", nullptr, nullptr, nullptr},
    {Cmd::kFilesInLevel, "&Files in Level...", nullptr, nullptr, nullptr},
    {Cmd::kTestLevel, "Test &Level", nullptr, nullptr, nullptr},

    // Tools menu of the document
    {Cmd::kAnimationManager, "Animation Manager...", nullptr, nullptr, nullptr},
    {Cmd::kSelectColorMap, "Select Color Map...", nullptr, nullptr, nullptr},
    {Cmd::kSelectSound, "Select Sound...", nullptr, nullptr, nullptr},
    {Cmd::kOptions, "Optio&ns...", nullptr, nullptr, nullptr},
    {Cmd::kRestoreSurface, "&Restore Surface", nullptr, nullptr, nullptr},

    // Library: sector groups
    {Cmd::kLibraryRename, "Rename...", nullptr, nullptr, nullptr},
    {Cmd::kLibraryDelete, "Delete...", nullptr, nullptr, nullptr},
    {Cmd::kLibrarySave, "Save...", nullptr, nullptr, nullptr},
    {Cmd::kLibraryLoad, "Load...", nullptr, nullptr, nullptr},

    // Help
    {Cmd::kTipOfTheDay, "Ti&p of the Day...", nullptr, "Displays a Tip of the Day.", nullptr},
    {Cmd::kHelpFinder, "&Help Topics", nullptr, nullptr, nullptr},
    {Cmd::kHelpIndex, "Help &Index", nullptr, nullptr, nullptr},
    {Cmd::kHelpTutorials, "Help &Tutorial's",
     nullptr, "Opens Help Tutorial's on Web", nullptr},
    {Cmd::kHelpFaqs, "Help &FAQ's", nullptr, "Opens Help FAQ's on Web", nullptr},
    {Cmd::kAppAbout, "&About QzEdit...", nullptr, nullptr, nullptr},
    {Cmd::kContextHelp, "Help", "Shift+F1", "Help", "context-help"},

    // Commands of keys only: no menu item, no button.
    {Cmd::kFilePrint, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kHelp, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kNextPane, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kPrevPane, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kUnservedF, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kCameraForwardKey, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kCameraBackwardKey, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kCameraLeftKey, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kCameraRightKey, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kCameraTiltUpKey, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kCameraTiltDownKey, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kPanUp, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kPanDown, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kPanLeft, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kPanRight, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kStoreBookmark0, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kStoreBookmark0 + 1, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kStoreBookmark0 + 2, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kStoreBookmark0 + 3, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kStoreBookmark0 + 4, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kStoreBookmark0 + 5, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kStoreBookmark0 + 6, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kStoreBookmark0 + 7, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kStoreBookmark0 + 8, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kStoreBookmark0 + 9, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kRecallBookmark0, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kRecallBookmark0 + 1, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kRecallBookmark0 + 2, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kRecallBookmark0 + 3, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kRecallBookmark0 + 4, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kRecallBookmark0 + 5, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kRecallBookmark0 + 6, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kRecallBookmark0 + 7, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kRecallBookmark0 + 8, nullptr, nullptr, nullptr, nullptr},
    {Cmd::kRecallBookmark0 + 9, nullptr, nullptr, nullptr, nullptr},
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

// ---- Pictograms ----

// Renders an SVG text at each size and device pixel ratio asked, so that the pictograms stay crisp
// at any scale; the disabled and selected images are the style's, made from the normal one.
class CSvgIconEngine final : public QIconEngine {
public:
    explicit CSvgIconEngine(QByteArray svg) : m_svg(std::move(svg)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal scale =
            painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size() * scale, mode, state, scale));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    // size is in device pixels (QIcon passes the logical size times scale).
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        Q_UNUSED(state);
        if (size.isEmpty())
            return {};
        const QString key = QStringLiteral("%1x%2:%3")
                                .arg(size.width())
                                .arg(size.height())
                                .arg(static_cast<int>(mode));
        if (const auto it = m_cache.constFind(key); it != m_cache.cend())
            return *it;
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        {
            QSvgRenderer renderer(m_svg);
            QPainter painter(&pixmap);
            renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
        }
        if (mode == QIcon::Disabled || mode == QIcon::Selected) {
            if (const QStyle* style = QApplication::style()) {
                QStyleOption option;
                option.palette = QGuiApplication::palette();
                pixmap = style->generatedIconPixmap(mode, pixmap, &option);
            }
        }
        pixmap.setDevicePixelRatio(scale > 0 ? scale : 1.0);
        m_cache.insert(key, pixmap);
        return pixmap;
    }

    QIconEngine* clone() const override { return new CSvgIconEngine(*this); }
    QString key() const override { return QStringLiteral("QzSvgText"); }
    bool isNull() override { return m_svg.isEmpty(); }

private:
    CSvgIconEngine(const CSvgIconEngine&) = default;

    QByteArray m_svg;
    QHash<QString, QPixmap> m_cache;
};

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

bool IsDarkPalette(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

QIcon SvgIcon(const QString& path, bool dark)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray svg = file.readAll();
    if (dark)
        svg.replace(kOutlineColor, kDarkOutlineColor);
    if (!QSvgRenderer(svg).isValid())
        return {};
    return QIcon(new CSvgIconEngine(std::move(svg)));
}

QIcon CommandIcon(const CCommandInfo& info, bool dark)
{
    if (info.m_iconName == nullptr)
        return {};
    return SvgIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(info.m_iconName)), dark);
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
