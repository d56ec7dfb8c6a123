#pragma once
// The document's commands that change how the level is shown and what a click selects: the edit
// modes of the View menu, the five render modes, the grid switches and the grid size, the size of
// the grid nodes, and the switches for collision, sector lock, adjoin rendering, object rendering
// and the enlarged view. Also the three enable rules that the Create menu shares.
//
// Each command is a function of the document's view state, the application settings, the
// document's engine (null when the document has none) and the document's host; it returns
// whether it ran. Each has an update function that gives its enabled state and check mark. A
// command runs only while its update function enables it, so a command the menu would grey out
// does nothing when it is sent anyway.
//
// Commands that work on the 3D view or the selection need the engine: without one they are
// disabled. The switches that are plain settings (Collision, Lock, Adjoin, Object rendering,
// Light and the render modes) still change the document and the settings without an engine; only
// their engine steps (rebuilding, recolouring, drawing) are left out.

#include "engine/CommandIds.h"

#include <span>

class C3dView;
class CEngineHost;
struct CDocumentState;
struct CSettings;

// Steps and limits of the grid size ("Grid") and of the grid nodes ("VertexScaling").
inline constexpr float kGridStep = 0.02f;
inline constexpr float kGridSmallest = 0.02f;
inline constexpr float kGridLargest = 2.0f;
inline constexpr float kSectorModeGrid = 0.1f;  // Sector Mode raises a smaller grid to this
inline constexpr float kNodeStep = 0.005f;
inline constexpr float kNodeLargest = 0.1f;

// The enabled state and check mark of a menu command; check -1 when the command has no check
// mark, else 0 or 1.
struct CCommandState {
    bool enabled = true;
    int check = -1;

    friend constexpr bool operator==(const CCommandState&, const CCommandState&) = default;
};

// ---- Shared enable rules of the Create menu ----

// Exactly two picked grid nodes and a current surface.
[[nodiscard]] bool TwoNodeSurfaceRule(const C3dView* engine);
// A current surface that has an adjoin.
[[nodiscard]] bool AdjoinedSurfaceRule(const C3dView* engine);
// A current surface without an adjoin.
[[nodiscard]] bool PlainSurfaceRule(const C3dView* engine);

// True when a corner of the current surface uses a world vertex that more than one corner uses;
// false without a current surface.
[[nodiscard]] bool CurrentSurfaceHasSharedVertex(const C3dView& engine);

// ---- Edit modes ----

// "&Sector M": toggles the Sector Mode switch; edit mode 1 when it is now on, else 0; the grid
// goes off; the current surface and vertex are cleared; turned on with "Grid" below 0.1 the grid
// becomes 0.1. Rebuilds the current sector and updates the views. Enabled with a current sector.
bool OnSectorMode(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host);
CCommandState OnUpdateSectorMode(const CDocumentState& doc, const CSettings& settings,
                                 const C3dView* engine);

// "&Light": toggles the lighting flag; turned on, edit mode 0; recolours every sector. Always
// enabled.
bool OnLight(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host);
CCommandState OnUpdateLight(const CDocumentState& doc, const CSettings& settings,
                            const C3dView* engine);

// "Sur&face": the Surface view in the property pane, edit mode 2. Enabled with a current surface
// none of whose world vertices is shared.
bool OnSurfaceMode(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host);
CCommandState OnUpdateSurfaceMode(const CDocumentState& doc, const CSettings& settings,
                                  const C3dView* engine);

// "&Texturing": edit mode 4, the current vertex cleared. Enabled with a current surface.
bool OnTexturing(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host);
CCommandState OnUpdateTexturing(const CDocumentState& doc, const CSettings& settings,
                                const C3dView* engine);

// "&Vertex": the Vertex view in the property pane, edit mode 6. Enabled with a current vertex
// whose world vertex is not shared.
bool OnVertexMode(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host);
CCommandState OnUpdateVertexMode(const CDocumentState& doc, const CSettings& settings,
                                 const C3dView* engine);

// "&Object": the Things view in the property pane, edit mode 7. Enabled with a current thing.
bool OnObjectMode(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host);
CCommandState OnUpdateObjectMode(const CDocumentState& doc, const CSettings& settings,
                                 const C3dView* engine);

// ---- Render modes ----

// Render mode mode (0 to 4); with the grid off also edit mode 0 and no current surface; updates
// the views. Always enabled; checked in its own mode.
bool OnRenderMode(int mode, CDocumentState& doc, CSettings& settings, C3dView* engine,
                  CEngineHost& host);
CCommandState OnUpdateRenderMode(int mode, const CDocumentState& doc, const CSettings& settings,
                                 const C3dView* engine);

// ---- Grid ----

// "&On G": toggles the grid; turned on, the Vertex view in the property pane, turned off, edit
// mode 0; the current vertex is cleared; rebuilds the current sector and updates the views.
// Enabled with a current sector and either Sector Mode on or a current surface.
bool OnGridOn(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host);
CCommandState OnUpdateGridOn(const CDocumentState& doc, const CSettings& settings,
                             const C3dView* engine);

// "S&urface Only": toggles the switch, turned on it clears "&Edges Only"; rebuilds and updates.
// Enabled with a current sector in Sector Mode.
bool OnGridSurfaceOnly(CDocumentState& doc, CSettings& settings, C3dView* engine,
                       CEngineHost& host);
CCommandState OnUpdateGridSurfaceOnly(const CDocumentState& doc, const CSettings& settings,
                                      const C3dView* engine);

// "&Edges Only": toggles the switch, turned on it clears "S&urface Only"; rebuilds and updates.
// Enabled with the grid on.
bool OnGridEdgesOnly(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host);
CCommandState OnUpdateGridEdgesOnly(const CDocumentState& doc, const CSettings& settings,
                                    const C3dView* engine);

// "&Smaller": "Grid" - 0.02, never below 0.02; rebuilds and updates. Enabled with the grid on and
// "Grid" above 0.02.
bool OnGridSmaller(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host);
CCommandState OnUpdateGridSmaller(const CDocumentState& doc, const CSettings& settings,
                                  const C3dView* engine);

// "&Larger": "Grid" + 0.02; rebuilds and updates. Enabled with the grid on and "Grid" below 2.0.
bool OnGridLarger(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host);
CCommandState OnUpdateGridLarger(const CDocumentState& doc, const CSettings& settings,
                                 const C3dView* engine);

// "Make grid nodes & vertices larger": "VertexScaling" + 0.005; rebuilds the current sector.
// Enabled with a current sector and "VertexScaling" below 0.1.
bool OnNodesLarger(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host);
CCommandState OnUpdateNodesLarger(const CDocumentState& doc, const CSettings& settings,
                                  const C3dView* engine);

// "Make grid nodes & vertices smaller": "VertexScaling" - 0.005; rebuilds the current sector.
// Enabled with a current sector and "VertexScaling" above 0.005.
bool OnNodesSmaller(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host);
CCommandState OnUpdateNodesSmaller(const CDocumentState& doc, const CSettings& settings,
                                   const C3dView* engine);

// ---- Switches ----

// "&Collison Detection Q": toggles "Collision"; turned on, "Lock" goes off; a forced frame.
bool OnCollision(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host);
CCommandState OnUpdateCollision(const CDocumentState& doc, const CSettings& settings,
                                const C3dView* engine);

// "L&ock Sector X": toggles "Lock"; turned on, "Collision" goes off; a forced frame.
bool OnLockSector(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host);
CCommandState OnUpdateLockSector(const CDocumentState& doc, const CSettings& settings,
                                 const C3dView* engine);

// "Ad&join Rendering J": "Adjoin" 0 becomes 2 and 2 becomes 0; with a current sector, rebuilds it
// and updates the views. Checked at 2; disabled at 1.
bool OnAdjoinRendering(CDocumentState& doc, CSettings& settings, C3dView* engine,
                       CEngineHost& host);
CCommandState OnUpdateAdjoinRendering(const CDocumentState& doc, const CSettings& settings,
                                      const C3dView* engine);

// "O&bject Rendering B": "3DO Distance" 0 takes the value of "Horizon Distance", any other value
// becomes 0; a forced frame. Checked while "3DO Distance" is above 0.
bool OnObjectRendering(CDocumentState& doc, CSettings& settings, C3dView* engine,
                       CEngineHost& host);
CCommandState OnUpdateObjectRendering(const CDocumentState& doc, const CSettings& settings,
                                      const C3dView* engine);

// "Enlarge Vie&w W": toggles the enlarged view; the projection is made again for the render size
// (its field of view follows the switch); a forced frame.
bool OnEnlargeView(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host);
CCommandState OnUpdateEnlargeView(const CDocumentState& doc, const CSettings& settings,
                                  const C3dView* engine);

// ---- All commands by id ----

using ViewCommandRun = bool (*)(CDocumentState&, CSettings&, C3dView*, CEngineHost&);
using ViewCommandUpdate = CCommandState (*)(const CDocumentState&, const CSettings&,
                                            const C3dView*);

struct CViewCommand {
    int id;
    ViewCommandRun run;
    ViewCommandUpdate update;
};

// Every command above with its id, in menu order.
[[nodiscard]] std::span<const CViewCommand> ViewCommandTable();
// The entry of id; null when id is none of these commands.
[[nodiscard]] const CViewCommand* FindViewCommand(int id);
