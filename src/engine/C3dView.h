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
#include "engine/ViewState.h"
#include "engine/WalkMouse.h"
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

    // Deletes every thing model, the preview model, every texture, every marker and every sector
    // vertex buffer, before a level is rebuilt and by previews; the level's things and surfaces
    // are left pointing to none of them.
    void ClearRenderObjects();

    // Releases every sector vertex buffer on the device that made it.
    void ReleaseSectorBuffers();

    // Status.
    std::int32_t m_mode = kDocumentView;  // 0 document view, 3 dialog preview
    // While set the frame routine returns at once: set until a render device is attached, and
    // again while the engine is destroyed.
    std::int32_t m_skip = 1;
    std::int32_t m_framesPerSecond = 0;
    // The clock's time at which this engine's last frame began, 0 before the first: the frame cap
    // of unforced frames counts from it, so a preview's frames leave a view's cap alone.
    std::uint32_t m_lastFrameTick = 0;

    // The parts of the engine's state (ViewState.h).
    CSelection m_selection;
    CCameraState m_camera;
    CViewport m_viewport;
    CDragState m_drag;
    CWorkLists m_work;
    CClipboard m_clipboard;
    CUnlinkDefaults m_unlink;
    CSectorBuffers m_sectorBuffers;
    CSplitState m_split;
    CWalkState m_walk;

    // Owned objects.
    std::unique_ptr<CTextureCache> m_textureCache;
    // Every thing model; each thing of the level points to its model here.
    std::vector<std::unique_ptr<C3doModel>> m_thingModels;
    // The model a dialog's preview shows (Preview.h); null when it shows none. Its faces' textures
    // belong to the texture cache.
    std::unique_ptr<C3doModel> m_previewModel;
    // Point markers at grid points and corners, sorted by position.
    CPointMarkerArray m_markers;
    // The engine's sounds.
    std::unique_ptr<CDsound> m_sound;

    // Box over all sector boxes (the selection box): the scroll bars span it, and the camera reset
    // goes to its middle when no sector is current.
    CBoundingBox m_levelBox;

    // The device the engine draws with (not owned); null for an engine that draws nothing.
    RenderDevice* m_device = nullptr;

    // The mouse of walk mode's navigation, fed by the view window.
    CWalkMouse m_walkMouse;

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
