#pragma once
// The named parts of an engine's state (C3dView): what is selected, where the camera stands, how
// the picture maps onto its window, the mouse drags in progress, the work lists of the last
// operation, the clipboard, the look Unlink gives, the sector vertex buffers, the re-entry flags
// of Split Surface and walk mode. An operation's signature and body show which parts it touches.

#include "engine/FrameRender.h"
#include "engine/RenderDevice.h"
#include "level/QzlSurface.h"
#include "level/QzlThing.h"
#include "math/Matrix.h"
#include "math/Vector3.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CQzlSector;

// The selection every editing operation starts from; -1 = none.
struct CSelection {
    std::int32_t m_sector = -1;
    std::int32_t m_surface = -1;
    std::int32_t m_thing = -1;
    std::int32_t m_vertex = -1;         // corner index within its surface's corner list
    std::int32_t m_vertexSurface = -1;  // surface of the current vertex
    // Grid points the user picked.
    std::vector<CVector3> m_pickedNodes;
    // The last points picked in the view (corners and grid nodes), at most two, newest last; the
    // distance view measures between them.
    std::vector<CVector3> m_lastPickPoints;
};

// The camera, its matrices and its projection.
struct CCameraState {
    CVector3 m_position;
    CVector3 m_forwardAxis{0.0f, 0.0f, 1.0f};
    CVector3 m_upAxis{0.0f, 1.0f, 0.0f};
    CVector3 m_savedPosition;
    CVector3 m_savedForwardAxis{0.0f, 0.0f, 1.0f};
    CVector3 m_focusPoint;   // shown in the status bar, used by Insert Thing
    CVector3 m_focusPoint2;  // second copy of the focus point

    // Matrices (row vectors, translation in the fourth row).
    D3DMATRIX m_worldMatrix = MatrixIdentity();
    D3DMATRIX m_viewMatrix = MatrixIdentity();
    D3DMATRIX m_projectionMatrix = MatrixIdentity();
    D3DMATRIX m_viewProjectionMatrix = MatrixIdentity();

    // Projection data, set by device creation: -sx, +sx, -sy, +sy, near and far plane.
    float m_frustum[4] = {};
    float m_nearPlane = 0.05f;
    float m_farPlane = 10.0f;

    // The camera-placed flag: set around the forced frame drawn right after a command placed the
    // camera (bookmark recall, camera reset, ...); walk mode leaves the player physics out then.
    std::int32_t m_jump = 0;
};

// The picture the engine renders and the window it is shown in.
struct CViewport {
    std::int32_t m_renderWidth = 0;
    std::int32_t m_renderHeight = 0;
    // The view window's client rectangle; mouse points are scaled from it to the render size.
    // Empty until the window gives it (then points are not scaled).
    CFrameRect m_viewRect;
    // Entry 0 "None" (render at window size), then "%ldx%ld" per display mode; the "StretchMode"
    // setting indexes it. Filled by device set-up.
    std::vector<std::string> m_displayModes;
    // The names of the render devices the engine can draw with, as the devices give them; the
    // "Device" setting indexes it and the status bar's first pane shows the entry it names.
    // Filled by device set-up.
    std::vector<std::string> m_deviceNames;
};

// Mouse drags and scroll-bar panning in progress. Each view keeps its own.
struct CDragState {
    // The point of the last event of a right and of a left drag, -1 while no drag of that button
    // is in progress.
    std::int32_t m_rightX = -1;
    std::int32_t m_rightY = -1;
    std::int32_t m_leftX = -1;
    std::int32_t m_leftY = -1;
    // Last scroll-bar positions of camera panning.
    std::int32_t m_scrollH = 0;
    std::int32_t m_scrollV = 0;
};

// Work lists of the editing operations and builders, empty at construction.
struct CWorkLists {
    std::vector<CVector3> m_cutEdges;            // cut edges of the plane cutter
    std::vector<std::int32_t> m_cutResults;      // result list of the plane cutter, one builder
    std::vector<std::int32_t> m_newSurfaces;     // surfaces made by the last operation
    std::vector<std::int32_t> m_newSectors;      // sectors made by the last operation
    std::vector<std::int32_t> m_raisedVertices;  // world vertices the pyramid builder lifted
    std::vector<CVector3> m_raiseDirections;     // per lifted vertex: apex to the opposite centre
};

// Copy and Paste: null when empty.
struct CClipboard {
    std::unique_ptr<CQzlSurface> m_surface;
    std::unique_ptr<CQzlThing> m_thing;
};

// Default look that Unlink gives a surface when the material is not -1.
struct CUnlinkDefaults {
    std::int32_t m_material = -1;
    float m_textureWidth = 768.0f;
    float m_textureHeight = 768.0f;
    float m_xTile = 1.0f;
    float m_yTile = 1.0f;
};

// The frame routine's vertex buffers by sector index.
struct CSectorBuffers {
    // The vertices of one surface inside its sector's vertex buffer.
    struct CSurfaceRange {
        std::int32_t m_surface = -1;
        std::size_t m_first = 0;
        std::size_t m_count = 0;
    };
    // A sector's vertex buffer on m_device: the render vertices of all its surfaces back to back,
    // in the order of its surface list, as they were at the sector's stamp m_version.
    struct CEntry {
        const CQzlSector* m_sector = nullptr;
        std::uint64_t m_version = 0;
        BufferId m_buffer = kNoBuffer;
        bool m_uploaded = false;  // the last upload was accepted
        std::vector<CSurfaceRange> m_ranges;
    };

    std::vector<CEntry> m_entries;
    // The device the buffers were made on (not owned; like the engine's device it must outlive
    // the engine). Buffers of an earlier device are forgotten, not released, when the frame
    // routine meets another one.
    RenderDevice* m_device = nullptr;
};

// Re-entry flags of Split Surface, both 0 at rest: m_polygon while a split cuts the surface to the
// polygon of the picked grid nodes (the cuts it makes are plain line splits), m_twin while the twin
// of an adjoined surface is split (that split goes along the first surface's split points and does
// not turn back to the first surface).
struct CSplitState {
    std::int32_t m_polygon = 0;
    std::int32_t m_twin = 0;
};

class CCdAudio;
class CTexture;

// Walk mode.
struct CWalkState {
    std::int32_t m_on = 0;          // 1 while walk mode is on
    float m_animationClock = 0.0f;  // advanced every frame
    // Textures whose cels are playing, in the order they started (not owned: the texture cache
    // owns them; emptied whenever the render objects go).
    std::vector<CTexture*> m_animatedTextures;
    // Sectors of the movers whose cycle runs, one entry per start (duplicates allowed).
    std::vector<std::int32_t> m_movingSectors;
    // The CD player of walk mode's music, made on first use.
    std::unique_ptr<CCdAudio> m_cdAudio;
    CWalkState();
    ~CWalkState();
    CWalkState(CWalkState&&) noexcept;
    CWalkState& operator=(CWalkState&&) noexcept;
};
