#pragma once
// The engine object of one 3D view: the level it works on, the selection every editing
// operation starts from, the picked grid nodes and the work lists of the operations, the
// clipboard, the camera, the point markers, the thing models and the texture cache.
//
// The editing operations are free functions grouped by concern (geometry/, tools/, ...) that take
// the engine first; they read and write the state below directly. An engine without a render
// device edits, picks and computes everything and draws nothing.
//
// The level, settings, document state, game resources and seams belong to the caller and must
// outlive the engine.

#include "engine/3doModel.h"
#include "engine/FrameRender.h"
#include "engine/PointMarkers.h"
#include "engine/RenderDevice.h"
#include "engine/TextureCache.h"
#include "level/QzlSurface.h"
#include "level/QzlThing.h"
#include "math/BoundingBox.h"
#include "math/Matrix.h"
#include "math/Vector3.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CQzlSections;
class CQzlSector;
class CDsound;
class SoundDevice;
class CEngineHost;
class CTexture;
class KeyState;
class Clock;
class Random;
struct CDocumentState;
struct CGameResources;
struct CSettings;

class C3dView {
public:
    // Modes given at construction.
    static constexpr std::int32_t kDocumentView = 0;
    static constexpr std::int32_t kPreview = 3;

    // The selection starts empty (all -1), the camera at (0, 0, 0) looking along +z with +y up,
    // every list, the clipboard and the marker array empty.
    // device (may be null, must outlive the engine) is what the engine draws with: the skip flag
    // is cleared only when there is one; input set-up plays no part in it. The sound wrapper is
    // always made, over sound (may be null: then every sound is silent).
    C3dView(CQzlSections& level, const CSettings& settings, CDocumentState& document,
            const CGameResources& game, CEngineHost& host, const KeyState& keys, Clock& clock,
            Random& random, std::int32_t mode = kDocumentView, RenderDevice* device = nullptr,
            SoundDevice* sound = nullptr);
    ~C3dView();

    C3dView(const C3dView&) = delete;
    C3dView& operator=(const C3dView&) = delete;

    CQzlSections& GetLevel() { return m_level; }
    const CQzlSections& GetLevel() const { return m_level; }
    const CSettings& GetSettings() const { return m_settings; }
    CDocumentState& GetDocument() { return m_document; }
    const CDocumentState& GetDocument() const { return m_document; }
    const CGameResources& GetGame() const { return m_game; }
    CEngineHost& GetHost() { return m_host; }
    const KeyState& GetKeys() const { return m_keys; }
    Clock& GetClock() { return m_clock; }
    Random& GetRandom() { return m_random; }

    // Deletes every thing model, every texture, every marker and every sector vertex buffer,
    // before a level is rebuilt and by previews; the level's things and surfaces are left pointing
    // to none of them.
    void ClearRenderObjects();

    // The vertices of one surface inside its sector's vertex buffer.
    struct CSurfaceRange {
        std::int32_t m_surface = -1;
        std::size_t m_first = 0;
        std::size_t m_count = 0;
    };
    // A sector's vertex buffer on m_bufferDevice: the render vertices of all its surfaces back to
    // back, in the order of its surface list, as they were at the sector's stamp m_version.
    struct CSectorBuffer {
        const CQzlSector* m_sector = nullptr;
        std::uint64_t m_version = 0;
        BufferId m_buffer = kNoBuffer;
        bool m_uploaded = false;  // the last upload was accepted
        std::vector<CSurfaceRange> m_ranges;
    };

    // Releases every sector vertex buffer on the device that made it.
    void ReleaseSectorBuffers();

    // Status.
    std::int32_t m_mode = kDocumentView;  // 0 document view, 3 dialog preview
    std::int32_t m_renderWidth = 0;
    std::int32_t m_renderHeight = 0;

    // Owned objects.
    std::unique_ptr<CQzlSurface> m_clipboardSurface;  // Copy and Paste; null when empty
    std::unique_ptr<CQzlThing> m_clipboardThing;      // null when empty
    std::unique_ptr<CTextureCache> m_textureCache;
    // Every thing model; each thing of the level points to its model here.
    std::vector<std::unique_ptr<C3doModel>> m_thingModels;

    // Work lists, empty at construction.
    std::vector<CVector3> m_pickedNodes;  // grid points the user picked
    // The last points picked in the view (corners and grid nodes), at most two, newest last; the
    // distance view measures between them.
    std::vector<CVector3> m_lastPickPoints;
    std::vector<CVector3> m_cutEdges;            // cut edges of the plane cutter
    std::vector<std::int32_t> m_cutResults;      // result list of the plane cutter, one builder
    std::vector<std::int32_t> m_newSurfaces;     // surfaces made by the last operation
    std::vector<std::int32_t> m_newSectors;      // sectors made by the last operation
    std::vector<std::int32_t> m_builderIndices;  // used with m_builderPoints by one builder
    std::vector<CVector3> m_builderPoints;
    std::vector<std::int32_t> m_frameList;      // frame routine and walk mode
    std::vector<CTexture*> m_animatedTextures;  // not owned: the texture cache owns them

    // Projection data, set by device creation: -sx, +sx, -sy, +sy, near and far plane.
    float m_frustum[4] = {};
    float m_nearPlane = 0.05f;
    float m_farPlane = 10.0f;

    // Box over all sector boxes (the selection box): the scroll bars span it, and the camera reset
    // goes to its middle when no sector is current.
    CBoundingBox m_levelBox;

    // Last scroll-bar positions of camera panning.
    std::int32_t m_scrollH = 0;
    std::int32_t m_scrollV = 0;

    // The view window's client rectangle; mouse points are scaled from it to the render size.
    // Empty until the window gives it (then points are not scaled).
    CFrameRect m_viewRect;

    // Mouse-drag anchors: the point of the last event of a right and of a left drag, -1 while no
    // drag of that button is in progress. Each view keeps its own.
    std::int32_t m_rightDragX = -1;
    std::int32_t m_rightDragY = -1;
    std::int32_t m_leftDragX = -1;
    std::int32_t m_leftDragY = -1;

    // Selection, -1 = none.
    std::int32_t m_currentSector = -1;
    std::int32_t m_currentSurface = -1;
    std::int32_t m_currentThing = -1;
    std::int32_t m_currentVertex = -1;  // corner index within its surface's corner list
    std::int32_t m_vertexSurface = -1;  // surface of the current vertex

    std::int32_t m_framesPerSecond = 0;

    // Point markers at grid points and corners, sorted by position.
    CPointMarkerArray m_markers;

    // Matrices (row vectors, translation in the fourth row).
    D3DMATRIX m_worldMatrix = MatrixIdentity();
    D3DMATRIX m_viewMatrix = MatrixIdentity();
    D3DMATRIX m_projectionMatrix = MatrixIdentity();
    D3DMATRIX m_viewProjectionMatrix = MatrixIdentity();

    // Camera.
    CVector3 m_cameraPosition;
    CVector3 m_forwardAxis{0.0f, 0.0f, 1.0f};
    CVector3 m_upAxis{0.0f, 1.0f, 0.0f};
    CVector3 m_savedCameraPosition;
    CVector3 m_savedForwardAxis{0.0f, 0.0f, 1.0f};
    CVector3 m_focusPoint;   // shown in the status bar, used by Insert Thing
    CVector3 m_focusPoint2;  // second copy of the focus point

    std::int32_t m_walk = 0;        // 1 while walk mode is on
    float m_animationClock = 0.0f;  // advanced every frame

    // Default look that Unlink gives a surface when the material is not -1.
    std::int32_t m_unlinkMaterial = -1;
    float m_unlinkTextureWidth = 768.0f;
    float m_unlinkTextureHeight = 768.0f;
    float m_unlinkXTile = 1.0f;
    float m_unlinkYTile = 1.0f;

    // While set the frame routine returns at once: set until a render device is attached, and
    // again while the engine is destroyed.
    std::int32_t m_skip = 1;
    // The camera-placed flag: set around the forced frame drawn right after a command placed the
    // camera (bookmark recall, camera reset, ...); walk mode leaves the player physics out then.
    std::int32_t m_cameraJump = 0;

    // The device the engine draws with (not owned); null for an engine that draws nothing.
    RenderDevice* m_device = nullptr;
    // The frame routine's vertex buffers by sector index, and the device they were made on (not
    // owned; like m_device it must outlive the engine). Buffers of an earlier device are
    // forgotten, not released, when the frame routine meets another one.
    std::vector<CSectorBuffer> m_sectorBuffers;
    RenderDevice* m_bufferDevice = nullptr;
    // The engine's sounds.
    std::unique_ptr<CDsound> m_sound;
    // Entry 0 "None" (render at window size), then "%ldx%ld" per display mode; the "StretchMode"
    // setting indexes it. Filled by device set-up.
    std::vector<std::string> m_displayModes;

private:
    // Clears the pointers of the level's things and surfaces into this engine's models and
    // textures.
    void DetachLevelFromRenderObjects();

    CQzlSections& m_level;
    const CSettings& m_settings;
    CDocumentState& m_document;
    const CGameResources& m_game;
    CEngineHost& m_host;
    const KeyState& m_keys;
    Clock& m_clock;
    Random& m_random;
};
