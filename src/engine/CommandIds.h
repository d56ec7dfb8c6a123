#pragma once
// The numbers that name the editor's commands, menus, accelerator tables and property views, in
// one place. They are the numbers of the editor's resources, so they never change: tool-bar
// layouts and help contexts are stored by them, and every widget of a command carries its number
// as its object name. The engine's commands use them, and the application builds its menus, tool
// bars and accelerator tables from them.

namespace Cmd {

// ---- File ----
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileClose = 57602;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFileMru1 = 57616;  // 57616..57619: the recent-file entries
inline constexpr int kRecentFileCount = 4;
inline constexpr int kAppExit = 57665;
inline constexpr int kSetupProduct = 13;  // posted by the splash; no menu item

// ---- Edit ----
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditUndo = 57643;
inline constexpr int kEditRedo = 57644;
inline constexpr int kInsert = 32809;  // "&Insert Ctrl+I, Ins"
inline constexpr int kDelete = 32810;  // "&Delete Ctrl+D, Del"
inline constexpr int kLink = 32773;
inline constexpr int kUnlink = 32774;

// ---- View: render modes ----
inline constexpr int kAllSectorsRendered = 2001;        // render mode 0
inline constexpr int kSectorRenderedWireframes = 2002;  // render mode 1
inline constexpr int kAllSectorsWireframes = 2003;      // render mode 2
inline constexpr int kSectorRendered = 2004;            // render mode 3
inline constexpr int kSectorWireframe = 2008;           // render mode 4

// ---- View: edit modes and switches ----
inline constexpr int kSectorMode = 32776;          // "&Sector M"
inline constexpr int kLight = 2039;                // "&Light"
inline constexpr int kSurfaceMode = 32779;         // "Sur&face"
inline constexpr int kTexturing = 2005;            // "&Texturing"
inline constexpr int kVertexMode = 32798;          // "&Vertex"
inline constexpr int kObjectMode = 32781;          // "&Object"
inline constexpr int kAdjoinRendering = 2049;      // "Ad&join Rendering J"
inline constexpr int kObjectRendering = 2052;      // "O&bject Rendering B"
inline constexpr int kCollision = 2027;            // "&Collison Detection Q"
inline constexpr int kLockSector = 2113;           // "L&ock Sector X"
inline constexpr int kEnlargeView = 2055;          // "Enlarge Vie&w W"
inline constexpr int kFindItem = 2045;             // "F&ind Item"
inline constexpr int kTextureCoordinates = 2019;   // "Change &Texture Coordinates... T"
inline constexpr int kUpdateVertices = 2087;       // "&Update Vertices..."
inline constexpr int kHiddenSectorRemoval = 2047;  // "&Hidden Sector Removal... H"
inline constexpr int kUnservedF = 2100;            // key F of the 3D view: no handler serves it

// ---- View: grid and nodes ----
inline constexpr int kGridOn = 32789;          // "&On G"
inline constexpr int kGridSurfaceOnly = 2109;  // "S&urface Only"
inline constexpr int kGridEdgesOnly = 2111;    // "&Edges Only"
inline constexpr int kGridSmaller = 32786;     // "&Smaller"
inline constexpr int kGridLarger = 32787;      // "&Larger"
inline constexpr int kNodesLarger = 2067;      // "Make grid nodes && vertices larger"
inline constexpr int kNodesSmaller = 2068;     // "Make grid nodes && vertices smaller"

// ---- View: camera ----
inline constexpr int kStepForward = 32784;        // View Move "&Foreward"
inline constexpr int kStepBackward = 32778;       // View Move "&Backward"
inline constexpr int kResetCamera = 32842;        // View Move "&Middle"
inline constexpr int kCameraForwardKey = 32782;   // Up
inline constexpr int kCameraBackwardKey = 32783;  // Down
inline constexpr int kCameraLeftKey = 32785;      // Left
inline constexpr int kCameraRightKey = 32791;     // Right
inline constexpr int kCameraTiltUpKey = 32794;    // Page Up
inline constexpr int kCameraTiltDownKey = 32790;  // Page Down
inline constexpr int kPanUp = 14;                 // U
inline constexpr int kPanDown = 15;               // D
inline constexpr int kPanLeft = 16;               // L
inline constexpr int kPanRight = 17;              // R
inline constexpr int kStoreBookmark0 = 18;        // Ctrl+0 .. Ctrl+9: 18 .. 27
inline constexpr int kRecallBookmark0 = 28;       // 0 .. 9: 28 .. 37
inline constexpr int kBookmarkCount = 10;

// ---- Position: move and rotate the selection ----
inline constexpr int kMoveUpY = 2020;
inline constexpr int kMoveDownY = 2021;
inline constexpr int kMoveLeftX = 2022;
inline constexpr int kMoveRightX = 2023;
inline constexpr int kMoveRightZ = 2024;
inline constexpr int kMoveLeftZ = 2025;
inline constexpr int kRotateRightX = 2012;
inline constexpr int kRotateLeftY = 2013;
inline constexpr int kRotateRightY = 2014;
inline constexpr int kRotateLeftX = 2015;
inline constexpr int kRotateLeftZ = 2016;
inline constexpr int kRotateRightZ = 2017;

// ---- Tools and Create ----
inline constexpr int kSplit = 2028;
inline constexpr int kSplitByPolygon = 2061;
inline constexpr int kMergeSurfaces = 2083;
inline constexpr int kMergeSectors = 2084;
inline constexpr int kCarve = 2059;
inline constexpr int kExtrudeSurface = 2026;
inline constexpr int kExpandSurface = 2043;
inline constexpr int kCreateLight = 2046;
inline constexpr int kCreateDoor = 2050;
inline constexpr int kCreateElevator = 2057;
inline constexpr int kCreateStairs = 2076;
inline constexpr int kCreateRectangle = 2081;
inline constexpr int kCreateCylinder = 2063;
inline constexpr int kCreatePyramid = 2069;
inline constexpr int kCreateDome = 2072;
inline constexpr int kCreateLayer = 2118;
inline constexpr int kCreateLandscape = 2079;
inline constexpr int kCreateWater = 2089;
inline constexpr int kCreateForceField = 2090;
inline constexpr int kCreateBreakingGlass = 2091;
inline constexpr int kCreateSlashableGrate = 2106;
inline constexpr int kCreateSwitch = 2098;
inline constexpr int kCreateConveyorBelt = 2103;
inline constexpr int kSelectProduct = 2007;
inline constexpr int kFileManager = 32772;
inline constexpr int kTemplateManager = 2077;
inline constexpr int kMultiLevelEditor = 2078;
inline constexpr int kRestoreSurface = 2105;  // "&Restore Surface"

// ---- Level ----
inline constexpr int kHeader = 2006;            // "&Header..."
inline constexpr int kStatistics = 2009;        // "&Statistics..."
inline constexpr int kEpisodeEditor = 2010;     // "&Episode Editor..."
inline constexpr int kStartupEditor = 2119;     // "Startup Editor..."
inline constexpr int kStartupCogEditor = 2040;  // "StartUp Cog Editor..."
inline constexpr int kGoalsCogEditor = 2048;    // "Goals Cog Editor..."
inline constexpr int kCogsInLevel = 2029;       // "&Cogs in Level..."
inline constexpr int kErrors = 2037;            // "E&rrors..."
inline constexpr int kFilesInLevel = 2042;      // "&Files in Level..."
inline constexpr int kTestLevel = 2018;         // "Test &Level"

// ---- Tools of the document ----
inline constexpr int kAnimationManager = 2116;  // "Animation Manager..."
inline constexpr int kSelectColorMap = 2102;    // "Select Color Map..."
inline constexpr int kSelectSound = 2108;       // "Select Sound..."
inline constexpr int kOptions = 32771;          // "Optio&ns..."

// ---- Library: sector groups ----
inline constexpr int kLibraryRename = 2095;  // "Rename..."
inline constexpr int kLibraryDelete = 2096;  // "Delete..."
inline constexpr int kLibrarySave = 32873;   // "Save..."
inline constexpr int kLibraryLoad = 32872;   // "Load..."

// ---- Tool bars, status bar, panes ----
inline constexpr int kViewStandardToolBar = 59392;
inline constexpr int kViewViewToolBar = 32835;
inline constexpr int kViewPositionToolBar = 2064;
inline constexpr int kViewToolToolBar = 32860;
inline constexpr int kViewStatusBar = 59393;
inline constexpr int kNextPane = 57680;
inline constexpr int kPrevPane = 57681;

// ---- Help ----
inline constexpr int kTipOfTheDay = 504;
inline constexpr int kAppAbout = 57664;
inline constexpr int kHelpIndex = 57666;
inline constexpr int kHelpFinder = 57667;
inline constexpr int kContextHelp = 57669;
inline constexpr int kHelp = 57670;
inline constexpr int kDefaultHelp = 57671;
inline constexpr int kHelpTutorials = 2054;
inline constexpr int kHelpFaqs = 2053;

// Markers of the menu and tool-bar lists (no commands).
inline constexpr int kSeparator = 0;
inline constexpr int kRecentFiles = -1;  // the place of the recent-file entries
inline constexpr int kSubMenu = -2;      // the place of a popup's next submenu

}  // namespace Cmd

// The two menus of the main window.
namespace Menu {
inline constexpr int kNoDocument = 128;  // while no document is open
inline constexpr int kDocument = 129;    // while a document is open
}  // namespace Menu

// The two accelerator tables.
namespace AccelTable {
inline constexpr int kFrame = 128;  // the main window's keys
inline constexpr int kView = 113;   // while the 3D view has the focus
}  // namespace AccelTable

// The form views of the property pane of a document window (their dialog ids); the engine
// switches the pane to one of them.
namespace PropertyView {
inline constexpr int kSurface = 186;
inline constexpr int kThings = 190;
inline constexpr int kVertex = 1098;
}  // namespace PropertyView
