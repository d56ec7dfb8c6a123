#pragma once
// The numbers of the editor's dialogs and of their controls, in one place. Every dialog and
// control carries its number as its object name (the form views of the property pane are
// named by engine/CommandIds.h, PropertyView).

namespace Dlg {
inline constexpr int kAbout = 100;           // "About QzEdit", also the start-up splash
inline constexpr int kParsingSectors = 102;  // the progress window of long passes
inline constexpr int kSectorView = 101;      // the sector form of the document window
inline constexpr int kSelectProduct = 140;
inline constexpr int kTipOfTheDay = 503;
inline constexpr int kExpandSurface = 5004;
inline constexpr int kHiddenSectorRemoval = 5005;
inline constexpr int kSplitByPolygon = 5014;
inline constexpr int kMerge = 5082;  // "Merge Surfaces" and "Merge Sectors"
inline constexpr int kCarveSectorSurface = 5006;
inline constexpr int kExtrudeSurface = 1102;
inline constexpr int kCreateDoor = 5011;
inline constexpr int kCreateElevator = 5012;
inline constexpr int kDistanceView = 5016;  // the distance form of the document window
// The text editor and the sector library's dialogs.
inline constexpr int kEditor = 142;
inline constexpr int kLibraryRename = 6100;
inline constexpr int kLibraryDelete = 6101;
inline constexpr int kLibrarySave = 6102;
inline constexpr int kLibraryLoad = 6103;
// The footprints of columns and pyramids.
inline constexpr int kCreateRectangle = 5033;
inline constexpr int kCreateCylinder = 5017;  // also "Create Pyramid"
inline constexpr int kCreatePyramidMode = 5018;

// The pages of the Options sheet.
inline constexpr int kGeneralPage = 185;
inline constexpr int kColorsPage = 202;
inline constexpr int kConfigurationPage = 5083;
}  // namespace Dlg

namespace Ctl {
// Buttons every dialog names alike.
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kHelp = 9;

// About box (100).
inline constexpr int kProgramIcon = 128;
inline constexpr int kVersion = 1027;
inline constexpr int kLegalNotice = 1022;

// Progress window (102).
inline constexpr int kParsingProgress = 219;

// Select Product (140).
inline constexpr int kKorvath = 222;
inline constexpr int kVarnok = 224;

// Tip of the Day (503).
inline constexpr int kTipBulbArea = 265;
inline constexpr int kNextTip = 510;
inline constexpr int kShowTipsOnStartUp = 511;
inline constexpr int kTipText = 512;

// Hidden Sector Removal (5005).
inline constexpr int kRemovalProgress = 4040;
inline constexpr int kLevelOfDetail = 4041;
inline constexpr int kNeighborRendering = 5214;
inline constexpr int kPortalRendering = 5215;
inline constexpr int kPotentialVisibleSet = 5226;

// Split by Polygon (5014).
inline constexpr int kPolygonView = 11;  // "&View": computes and shows the corners
inline constexpr int kPolygonSnap = 1101;
inline constexpr int kPolygonSides = 1103;
inline constexpr int kPolygonRadius = 1104;
inline constexpr int kPolygonSidesSpin = 1105;
inline constexpr int kPolygonRadiusSpin = 1106;

// Merge (5082).
inline constexpr int kMergeList = 5080;
inline constexpr int kMergeLabel = 5081;
// Carve Sector/Surface (5006); its "&Help" sends the help command.
inline constexpr int kUpDownAngle = 4084;
inline constexpr int kLeftRightAngle = 4085;
inline constexpr int kCreateCatwalk = 4086;
inline constexpr int kCarveTextureName = 4087;
inline constexpr int kCarveTexture = 7;
inline constexpr int kCarveHelp = 57670;
// Extrude Surface (1102).
inline constexpr int kExtrudeDepth = 4000;
inline constexpr int kExtrudeUpDownAngle = 4082;
inline constexpr int kExtrudeLeftRightAngle = 4083;
inline constexpr int kExtrudeIndent = 4099;
inline constexpr int kExtrudeDepth2 = 5039;
inline constexpr int kExtrudeDepth3 = 5040;
inline constexpr int kExtrudeNewSector = 4014;
inline constexpr int kExtrudeNewSectorHidden = 4016;
inline constexpr int kExtrudeKeepWithSector = 4023;
inline constexpr int kExtrudeConnectOpposite = 4024;
inline constexpr int kExtrudeParallelogram = 5197;
inline constexpr int kExtrudeRotatedEnd = 5198;
inline constexpr int kExtrudeFirstVertex = 5070;
inline constexpr int kExtrudeSecondVertex = 5071;
inline constexpr int kExtrudeThirdVertex = 5072;

// Expand Surface (5004): the three shape buttons, then each shape's fields in the dialog's order.
inline constexpr int kExpandRectangular = 5041;
inline constexpr int kExpandCylindrical = 5042;
inline constexpr int kExpandCircular = 5043;
inline constexpr int kExpandLeft = 5044;
inline constexpr int kExpandRight = 5045;
inline constexpr int kExpandTop = 5046;
inline constexpr int kExpandBottom = 5047;
inline constexpr int kExpandDepth = 5048;
inline constexpr int kExpandCylinderHeight = 5049;
inline constexpr int kExpandCylinderWidth = 5050;
inline constexpr int kExpandCylinderSides = 5051;
inline constexpr int kExpandCircleHeight = 5052;
inline constexpr int kExpandCircleWidth = 5053;
inline constexpr int kExpandCircleSides = 5054;

// Create Door (5011) and Create Elevator (5012): the template list with its preview and the
// model's extents, and "Connect to Opposite Surface", are alike in both.
inline constexpr int kModelTemplate = 5150;
inline constexpr int kModelPreview = 5151;
inline constexpr int kModelX = 5152;
inline constexpr int kModelY = 5153;
inline constexpr int kModelZ = 5154;
inline constexpr int kConnectOpposite = 5155;
inline constexpr int kFrontSimple = 5156;
inline constexpr int kFrontSunken = 5157;
inline constexpr int kFrontDepth = 5158;
inline constexpr int kBackSimple = 5159;
inline constexpr int kBackSunken = 5160;
inline constexpr int kBackDepth = 5161;
inline constexpr int kOpeningUp = 5162;
inline constexpr int kOpeningDown = 5163;
inline constexpr int kOpeningLeft = 5164;
inline constexpr int kOpeningRight = 5165;
inline constexpr int kDirectionUp = 5166;
inline constexpr int kDirectionDown = 5167;
inline constexpr int kShaftHeight = 5168;
inline constexpr int kSubShaftHeight = 5169;

// Text editor (142).
inline constexpr int kEditorText = 6115;

// Sector library (6100 to 6103).
inline constexpr int kOldGroupName = 6110;
inline constexpr int kNewGroupName = 6111;
inline constexpr int kGroupName = 6112;
inline constexpr int kLibraryFile = 6113;  // "File to Save to:", "File to Merge:"
inline constexpr int kGroupNames = 6114;
// A property sheet's tab row and its Apply button.
inline constexpr int kTabControl = 12320;
inline constexpr int kApplyNow = 12321;

// Options, "General" page (185).
inline constexpr int kHorizonDistance = 1031;
inline constexpr int kThreeDoDistance = 1033;
inline constexpr int kGridDistance = 1016;
inline constexpr int kGridAlignment = 1109;
inline constexpr int kAdjoinRendering = 226;
inline constexpr int kStretchFactor = 229;
inline constexpr int kThreeDoCollision = 514;
inline constexpr int kDevice = 234;
inline constexpr int kCdSound = 4038;
inline constexpr int kFrameRate = 1035;
inline constexpr int kVertexSize = 1037;
inline constexpr int kErrorChecking = 4049;
inline constexpr int kTextureMapping = 232;
inline constexpr int kDithered = 236;
inline constexpr int kWarnings = 519;
inline constexpr int kCopyLight = 4032;
inline constexpr int kIncludeStartUpCog = 248;
inline constexpr int kIncludeGoalsCog = 141;

// Options, "Colors" page (202): the swatch buttons and the check box.
inline constexpr int kColorSelectedVertex = 239;
inline constexpr int kColorLinkedVertex = 241;
inline constexpr int kColorUnlinkedVertex = 242;
inline constexpr int kColorGhostObject = 244;
inline constexpr int kColorAdjoinedSurface = 272;
inline constexpr int kColorGridNode = 273;
inline constexpr int kColorBackground = 275;
inline constexpr int kColorWireframes = 276;
inline constexpr int kColorSectorsWithCogs = 281;
inline constexpr int kColorSurfacesWithCogs = 282;
inline constexpr int kTransparentRendering = 5206;

// Options, "Configuration" page (5083).
inline constexpr int kAutomaticBackup = 3514;
inline constexpr int kBackupSpin = 3515;
inline constexpr int kBackupMinutes = 3516;
inline constexpr int kUndoLevelsSpin = 3517;
inline constexpr int kUndoLevels = 3518;
inline constexpr int kNumberOfLevels = 3519;

// Create Cylinder / Create Pyramid (5017) and Create Rectangle (5033): the fields they share, then
// their own.
inline constexpr int kShapeHeight = 4090;
inline constexpr int kShapeUpDownAngle = 4093;
inline constexpr int kShapeLeftRightAngle = 4094;
inline constexpr int kShapeSnap = 4095;
inline constexpr int kShapeTextureName = 4096;
inline constexpr int kShapeView = 11;
inline constexpr int kShapeTexture = 7;
inline constexpr int kCylinderSides = 4091;
inline constexpr int kCylinderRadius = 4092;
inline constexpr int kCylinderSidesSpin = 4097;
inline constexpr int kCylinderRadiusSpin = 4098;
inline constexpr int kRectangleWidth = 5034;
inline constexpr int kRectangleDepth = 5035;

// Header (1094), Find Item (215), Statistics (171) and Texture Coordinates (206): the dialogs'
// numbers, then their controls.
}  // namespace Ctl
namespace Dlg {
inline constexpr int kHeader = 1094;
inline constexpr int kFindItem = 215;
inline constexpr int kStatistics = 171;
inline constexpr int kTextureCoordinates = 206;
}  // namespace Dlg
namespace Ctl {
inline constexpr int kHeaderGravity = 1029;
inline constexpr int kHeaderCeilingSkyZ = 1030;
inline constexpr int kHeaderHorizonDistance = 1031;
inline constexpr int kHeaderHorizonPixelsPerRev = 1032;
inline constexpr int kHeaderHorizonSkyOffsetX = 1034;
inline constexpr int kHeaderHorizonSkyOffsetY = 1048;
inline constexpr int kHeaderCeilingSkyOffsetX = 1036;
inline constexpr int kHeaderCeilingSkyOffsetY = 1049;
inline constexpr int kHeaderMipmapDistance1 = 1038;  // to 1041
inline constexpr int kHeaderLodDistance1 = 1042;     // to 1045
inline constexpr int kHeaderPerspectiveDistance = 1046;
inline constexpr int kHeaderGouraudDistance = 1047;
// Find Item: each list and its edit line carry the same number.
inline constexpr int kFindSectorNumber = 255;
inline constexpr int kFindSurfaceNumber = 284;
inline constexpr int kFindObjectNumber = 283;
inline constexpr int kStatSectors = 258;
inline constexpr int kStatSurfaces = 259;
inline constexpr int kStatVertices = 262;
inline constexpr int kStatMaterials = 263;
inline constexpr int kStatObjects = 260;
inline constexpr int kStatCogs = 261;
inline constexpr int kStatTemplates = 264;
inline constexpr int kTexStartVertex = 274;
inline constexpr int kTexUOffset = 245;
inline constexpr int kTexVOffset = 246;
inline constexpr int kTexUScale = 247;
inline constexpr int kTexVScale = 249;
inline constexpr int kTexAngle = 243;
inline constexpr int kTexMirror = 1012;
inline constexpr int kTexStartVertexSpin = 4021;
inline constexpr int kTexAngleSpin = 4002;
inline constexpr int kTexUOffsetSpin = 4003;
inline constexpr int kTexVOffsetSpin = 4004;
inline constexpr int kTexUScaleSpin = 4005;
inline constexpr int kTexVScaleSpin = 4006;
inline constexpr int kTexApply = kApplyNow;  // "&Apply"

// Sector form (101).
inline constexpr int kSectorNumber = 1001;
inline constexpr int kSectorFlags = 1002;
inline constexpr int kSectorFlagsButton = 1003;
inline constexpr int kSectorColorMapButton = 1004;
inline constexpr int kSectorColorMap = 1006;
inline constexpr int kSectorAmbientLight = 1008;
inline constexpr int kSectorExtraLight = 1011;
inline constexpr int kSectorSoundButton = 1014;
inline constexpr int kSectorTint = 1015;  // the tint swatch
inline constexpr int kSectorSound = 1018;
inline constexpr int kSectorVolume = 1020;
inline constexpr int kSectorGroupName = 1021;

// Surface form (186).
inline constexpr int kSurfaceNumber = 513;
inline constexpr int kSurfaceMaterial = 134;
inline constexpr int kSurfaceMaterialButton = 1051;
inline constexpr int kSurfaceFlagsButton = 1054;
inline constexpr int kSurfaceFlags = 1056;
inline constexpr int kFaceFlagsButton = 1057;
inline constexpr int kFaceFlags = 1059;
inline constexpr int kSurfaceGeometry = 1062;
inline constexpr int kSurfaceLightMode = 1065;
inline constexpr int kSurfaceTexture = 1068;
inline constexpr int kSurfaceAdjoin = 1072;
inline constexpr int kSurfaceExtraLight = 1075;
inline constexpr int kAdjoinFlagsButton = 2033;
inline constexpr int kAdjoinFlags = 2034;
inline constexpr int kCopyToOther = 2071;

// Things form (190).
inline constexpr int kThingNumber = 513;
inline constexpr int kThingPitch = 201;
inline constexpr int kThingRoll = 208;
inline constexpr int kThingSector = 101;
inline constexpr int kThingTemplate = 1086;
inline constexpr int kThingX = 1089;
inline constexpr int kThingYaw = 205;
inline constexpr int kThingY = 1093;
inline constexpr int kThingZ = 1097;
inline constexpr int kThingFlags = 213;
inline constexpr int kThingFrameCount = 521;
inline constexpr int kThingXSpin = 266;
inline constexpr int kThingYSpin = 267;
inline constexpr int kThingZSpin = 268;
inline constexpr int kThingPitchSpin = 269;
inline constexpr int kThingYawSpin = 270;
inline constexpr int kThingRollSpin = 271;
inline constexpr int kThingTemplateButton = 1083;
inline constexpr int kThingFlagsButton = 211;
inline constexpr int kThingFramesButton = 520;

// Object Frames (5000); OK and Cancel are kOk and kCancel.
inline constexpr int kFrameX = 4011;
inline constexpr int kFrameY = 4012;
inline constexpr int kFrameZ = 4013;
inline constexpr int kFramePitch = 4009;
inline constexpr int kFrameYaw = 4007;
inline constexpr int kFrameRoll = 4008;
inline constexpr int kFramesPerSecond = 4018;
inline constexpr int kFrameList = 4010;
inline constexpr int kShowCamera = 1012;
inline constexpr int kPlayCamera = 1011;
inline constexpr int kShowObject = 1013;
inline constexpr int kPlayObject = 1010;
inline constexpr int kProposeCenter = 8;
inline constexpr int kProposeTop = 3;
inline constexpr int kProposeBottom = 4;
inline constexpr int kProposeLeft = 5;
inline constexpr int kProposeRight = 6;
inline constexpr int kProposeCamera = 10;
inline constexpr int kFramesApply = 4001;
inline constexpr int kFramesHelp = 57670;
inline constexpr int kAddFrame = 7;
inline constexpr int kDeleteFrame = 9;

// Vertex form (1098).
inline constexpr int kVertexSurfaceNumber = 513;
inline constexpr int kVertexNumber = 104;
inline constexpr int kVertexX = 231;
inline constexpr int kVertexY = 233;
inline constexpr int kVertexZ = 235;
inline constexpr int kVertexU = 237;
inline constexpr int kVertexV = 238;
inline constexpr int kIntensityMono = 515;
inline constexpr int kIntensityRed = 516;
inline constexpr int kIntensityGreen = 517;
inline constexpr int kIntensityBlue = 518;
inline constexpr int kVertexXSpin = 250;
inline constexpr int kVertexYSpin = 251;
inline constexpr int kVertexZSpin = 252;
inline constexpr int kVertexUSpin = 253;
inline constexpr int kVertexVSpin = 254;
inline constexpr int kIntensityMonoSpin = 277;
inline constexpr int kIntensityRedSpin = 278;
inline constexpr int kIntensityGreenSpin = 279;
inline constexpr int kIntensityBlueSpin = 280;

// Distance form (5016).
inline constexpr int kDistanceEye = 513;
inline constexpr int kDistancePlanar = 104;

// The main window's tool bars.
inline constexpr int kStandardToolBar = 128;
inline constexpr int kViewToolBar = 114;
inline constexpr int kPositionToolBar = 5015;
inline constexpr int kToolToolBar = 135;

// The main window's status panes after pane 0.
inline constexpr int kGridPane = 59136;
inline constexpr int kYawPane = 59134;
inline constexpr int kTiltPane = 59135;
inline constexpr int kXPane = 59130;
inline constexpr int kYPane = 59131;
inline constexpr int kZPane = 59132;
inline constexpr int kLayerPane = 59133;
}  // namespace Ctl

// Create Layer (5094), Create Dome (5019) and Create Stairs (5102).
namespace Dlg {
inline constexpr int kCreateLayer = 5094;
inline constexpr int kCreateDome = 5019;
inline constexpr int kCreateStairs = 5102;
}  // namespace Dlg
namespace Ctl {
inline constexpr int kLookTexture = 7;  // "&Texture" of the layer and the dome
inline constexpr int kLayerHeight = 1000;
inline constexpr int kLayerTextureName = 1001;
inline constexpr int kLayerIndent = 1002;
inline constexpr int kDomeDepth = 1000;
inline constexpr int kDomeTextureName = 1001;
inline constexpr int kDomeSplits = 1002;
inline constexpr int kDomeCurveAroundUp = 1003;
inline constexpr int kDomeCurveAroundPlane = 1004;
inline constexpr int kDomeOutside = 1005;
inline constexpr int kStairsCount = 1000;
inline constexpr int kStairsTotalDepth = 1001;
inline constexpr int kStairsTotalHeight = 1002;
inline constexpr int kStairsUp = 1003;
inline constexpr int kStairsDown = 1004;
}  // namespace Ctl

// Create Landscape (5032)
namespace Dlg {
inline constexpr int kCreateLandscape = 5032;
}  // namespace Dlg
namespace Ctl {
inline constexpr int kLandscapeTextureName = 1001;
inline constexpr int kLandscapeSplits = 1002;
inline constexpr int kLandscapeMaxDepth = 1003;
inline constexpr int kLandscapeMinDepth = 1004;
inline constexpr int kLandscapeTexture = 7;
}  // namespace Ctl

// Create Switch (5101)
namespace Dlg {
inline constexpr int kCreateSwitch = 5101;
}  // namespace Dlg
namespace Ctl {
inline constexpr int kSwitchDepth = 1001;
inline constexpr int kSwitchHeight = 1002;
inline constexpr int kSwitchWidth = 1003;
inline constexpr int kSwitchList = 1004;
inline constexpr int kSwitchPreview = 1005;
inline constexpr int kSwitchSiding = 1006;
inline constexpr int kSwitchTexture = 1007;
inline constexpr int kSwitchX = 1008;
inline constexpr int kSwitchY = 1009;
}  // namespace Ctl

// Create Light (5103)
namespace Dlg {
inline constexpr int kCreateLight = 5103;
}  // namespace Dlg
namespace Ctl {
inline constexpr int kLightStartColor = 1001;  // the swatch
inline constexpr int kLightDistanceDependent = 1002;
inline constexpr int kLightEndColorLabel = 1003;
inline constexpr int kLightEndColor = 1004;  // the swatch
inline constexpr int kLightDistanceLabel = 1005;
inline constexpr int kLightDistance = 1006;
inline constexpr int kLightApply = 1007;
}  // namespace Ctl

// File Manager (136)
namespace Dlg {
inline constexpr int kFileManager = 136;
}  // namespace Dlg
namespace Ctl {
// "&Close" is kCancel, "&Help" kHelp.
inline constexpr int kFileManagerTree = 1001;
inline constexpr int kFileManagerList = 1002;
inline constexpr int kFileManagerOpen = 1003;
inline constexpr int kFileManagerSaveAs = 1004;
inline constexpr int kFileManagerAdd = 1005;
inline constexpr int kFileManagerDelete = 1006;
inline constexpr int kFileManagerNew = 1007;
}  // namespace Ctl

// Rename (5031)
namespace Dlg {
inline constexpr int kRename = 5031;
}  // namespace Dlg
namespace Ctl {
inline constexpr int kRenameOldName = 1000;  // read-only
inline constexpr int kRenameNewName = 1001;
}  // namespace Ctl

// Files in Level (5003); OK is kOk and Help kHelp.
namespace Dlg {
inline constexpr int kFilesInLevel = 5003;
}  // namespace Dlg
namespace Ctl {
inline constexpr int kFilesTree = 1000;
inline constexpr int kFilesPalette = 1001;
inline constexpr int kFilesList = 1002;
inline constexpr int kFilesEdit = 1003;
inline constexpr int kFilesAdd = 1004;
inline constexpr int kFilesDelete = 1005;
inline constexpr int kFilesRename = 1006;
inline constexpr int kFilesSave = 1007;
}  // namespace Ctl

// Animation Manager (6130); OK and Help are kOk and kHelp.
namespace Dlg {
inline constexpr int kAnimationManager = 6130;
}  // namespace Dlg
namespace Ctl {
inline constexpr int kAnimFrames = 1001;  // the tree: "Bitmaps" and its frames
inline constexpr int kAnimPalette = 1002;
inline constexpr int kAnimWidth = 1003;   // "X:"
inline constexpr int kAnimHeight = 1004;  // "Y:"
inline constexpr int kAnimFps = 1005;
inline constexpr int kAnimPreview = 1006;
inline constexpr int kAnimAdd = 1007;
inline constexpr int kAnimDelete = 1008;
inline constexpr int kAnimSave = 1009;
inline constexpr int kAnimUp = 1010;
inline constexpr int kAnimDown = 1011;
inline constexpr int kAnimPlay = 1012;
}  // namespace Ctl

// Materials (6140): "&Ok", "&Cancel" and "&Help" are kOk, kCancel and kHelp.
namespace Dlg {
inline constexpr int kMaterials = 6140;
}  // namespace Dlg
namespace Ctl {
inline constexpr int kMaterialsSelection = 1001;  // "Selection:", the group filter
inline constexpr int kMaterialsList = 1002;
inline constexpr int kMaterialsPalette = 1003;
inline constexpr int kMaterialsTileX = 1004;
inline constexpr int kMaterialsTileY = 1005;
inline constexpr int kMaterialsPreview = 1006;
inline constexpr int kMaterialsWidth = 1007;   // "X:"
inline constexpr int kMaterialsHeight = 1008;  // "Y:"
inline constexpr int kMaterialsSave = 1009;
inline constexpr int kMaterialsAdd = 1010;
inline constexpr int kMaterialsDelete = 1011;
}  // namespace Ctl

// Template (1086); OK, Cancel and Help are kOk, kCancel and kHelp.
namespace Dlg {
inline constexpr int kTemplate = 1086;
}  // namespace Dlg
namespace Ctl {
inline constexpr int kTemplateSearch = 1001;
inline constexpr int kTemplateTree = 1002;
inline constexpr int kTemplatePalette = 1003;
inline constexpr int kTemplatePreview = 1004;  // the preview widget
inline constexpr int kTemplateMessage = 1005;  // the text shown when nothing can be drawn
inline constexpr int kTemplateParams = 1006;   // the parameter display
inline constexpr int kTemplateAdd = 1007;
inline constexpr int kTemplateDelete = 1008;
inline constexpr int kTemplateX = 1009;
inline constexpr int kTemplateY = 1010;
inline constexpr int kTemplateZ = 1011;
inline constexpr int kTemplateAutoSize = 1012;
inline constexpr int kTemplateRealSize = 1013;
}  // namespace Ctl

// Cogs in Level (212); OK, Cancel and Help are kOk, kCancel and kHelp, Apply is kApplyNow.
namespace Dlg {
inline constexpr int kCogsInLevel = 212;
}  // namespace Dlg
namespace Ctl {
inline constexpr int kCogsList = 5140;
inline constexpr int kCogsScroll = 5141;
inline constexpr int kCogsAdd = 5142;
inline constexpr int kCogsDelete = 5143;
inline constexpr int kCogsEdit = 5144;
inline constexpr int kCogsView = 5145;
inline constexpr int kCogsX = 5146;  // disabled; with its label "X:"
inline constexpr int kCogsY = 5147;
inline constexpr int kCogsZ = 5148;
// The fourteen symbol rows, top to bottom: the read-only name fields and the value fields.
inline constexpr int kCogsNameFields[14] = {5153, 5158, 5159, 5160, 5161, 5162, 5163,
                                            5164, 5165, 5166, 5167, 5168, 5169, 5170};
inline constexpr int kCogsValueFields[14] = {5171, 5172, 5173, 5174, 5175, 5176, 5177,
                                             5178, 5179, 5180, 5181, 5182, 5183, 5184};
}  // namespace Ctl

// Template Manager (5013); OK, Cancel and Help are kOk, kCancel and kHelp.
namespace Dlg {
inline constexpr int kTemplateManager = 5013;
}  // namespace Dlg
namespace Ctl {
inline constexpr int kTplMgrUsed = 1000;    // "Show only templates used in current level"
inline constexpr int kTplMgrSimple = 1001;  // "Show only simple templates"
inline constexpr int kTplMgrList = 1002;
inline constexpr int kTplMgrEdit = 1003;
inline constexpr int kTplMgrAdd = 1004;
inline constexpr int kTplMgrDelete = 1005;
}  // namespace Ctl

// The template entry editor: "Add Template" (5028) and "EditTemplate" (5029); OK, Cancel and Help
// are kOk, kCancel and kHelp.
namespace Dlg {
inline constexpr int kAddTemplate = 5028;
inline constexpr int kEditTemplate = 5029;
}  // namespace Dlg
namespace Ctl {
inline constexpr int kTplEntryName = 1000;
inline constexpr int kTplEntryBasedOn = 1001;  // read-only
inline constexpr int kTplEntryParams = 1002;   // the parameter editor
inline constexpr int kTplEntryAdd3do = 1003;
inline constexpr int kTplEntryAddCog = 1004;
}  // namespace Ctl

// Color Map (6141), Select Color Map (6142) and Sounds (6143); OK, Cancel and Help are kOk,
// kCancel and kHelp, Select Color Map's "&Apply" kApplyNow.
namespace Dlg {
inline constexpr int kColorMap = 6141;
inline constexpr int kSelectColorMap = 6142;
inline constexpr int kSounds = 6143;
}  // namespace Dlg
namespace Ctl {
inline constexpr int kColorMapList = 1000;
inline constexpr int kColorMapGrid = 1001;  // the 16 x 16 palette
inline constexpr int kColorMapAdd = 1002;
inline constexpr int kColorMapDelete = 1003;
inline constexpr int kSelectColorMapList = 1000;
inline constexpr int kSoundsList = 1000;
inline constexpr int kSoundsAdd = 1002;
inline constexpr int kSoundsDelete = 1003;
inline constexpr int kSoundsPlay = 1004;
}  // namespace Ctl

// Errors (5002); "&Ok" and "&Help" are kOk and kHelp.
namespace Dlg {
inline constexpr int kErrors = 5002;
}  // namespace Dlg
namespace Ctl {
inline constexpr int kErrorsReport = 1000;  // the report text, read only
inline constexpr int kErrorsShow = 1001;
inline constexpr int kErrorsCheck = 1002;
inline constexpr int kErrorsCleanUp = 1003;
}  // namespace Ctl

// Episode Editor (5008); "&OK", "&Cancel" and "&Help" are kOk, kCancel and kHelp.
namespace Dlg {
inline constexpr int kEpisodeEditor = 5008;
}  // namespace Dlg
namespace Ctl {
inline constexpr int kEpisodeTitle = 1000;
inline constexpr int kEpisodeLevelFile = 1001;
inline constexpr int kEpisodeType = 1002;
inline constexpr int kEpisodeKind = 1003;
inline constexpr int kEpisodeLightPower = 1004;
inline constexpr int kEpisodeDarkPower = 1005;
inline constexpr int kEpisodeObjectives = 1006;  // the message text
}  // namespace Ctl

// Startup Editor: the pages Weapons and Ammunition (5095) and Powers and Armor (5096); the check
// box of row r (from 0, in the order of the page) is kStartupBox + r, its value edit
// kStartupValue + r.
namespace Dlg {
inline constexpr int kWeaponsAmmunition = 5095;
inline constexpr int kPowersArmors = 5096;
}  // namespace Dlg
namespace Ctl {
inline constexpr int kStartupBox = 1000;
inline constexpr int kStartupValue = 1100;
}  // namespace Ctl

// Multi Level Editor (5030); "&Close" is kCancel, "&Help" kHelp.
namespace Dlg {
inline constexpr int kMultiLevelEditor = 5030;
}  // namespace Dlg
namespace Ctl {
inline constexpr int kMultiMasterTitle = 1000;
inline constexpr int kMultiMasterType = 1001;
inline constexpr int kMultiLevelTitles = 1002;  // combo box: its edit text is the level's title
inline constexpr int kMultiLevelPath = 1003;
inline constexpr int kMultiLevelFile = 1004;
inline constexpr int kMultiLevelType = 1005;
inline constexpr int kMultiLevelNumber = 1006;
inline constexpr int kMultiGotoA = 1007;
inline constexpr int kMultiGotoB = 1008;
inline constexpr int kMultiLightPower = 1009;
inline constexpr int kMultiDarkPower = 1010;
inline constexpr int kMultiGoalsBase = 1011;
inline constexpr int kMultiCogsBase = 1012;
inline constexpr int kMultiGoals = 1013;
inline constexpr int kMultiTexts = 1014;
inline constexpr int kMultiCogs = 1015;
inline constexpr int kMultiOpen = 1016;
inline constexpr int kMultiSaveAs = 1017;
inline constexpr int kMultiAdd = 1018;
inline constexpr int kMultiDelete = 1019;
}  // namespace Ctl

// Levels (119); "&Ok" is kOk.
namespace Dlg {
inline constexpr int kLevels = 119;
}  // namespace Dlg
namespace Ctl {
inline constexpr int kLevelsText = 1000;
inline constexpr int kLevelsList = 1001;
}  // namespace Ctl
