#include "engine/C3dView.h"
#include "engine/CdAudio.h"

#include "engine/Dsound.h"
#include "framework/Settings.h"
#include "level/QzlSections.h"

#include <unordered_set>

C3dView::C3dView(CQzlSections& level, const CSettings& settings, CDocumentState& document,
                 const CGameResources& game, CEngineHost& host, const KeyState& keys, Clock& clock,
                 Random& random, std::int32_t mode, RenderDevice* device, SoundDevice* sound)
    : m_mode(mode), m_textureCache(std::make_unique<CTextureCache>(device)), m_level(level),
      m_settings(settings), m_document(document), m_game(game), m_host(host), m_keys(keys),
      m_clock(clock), m_random(random)
{
    // Drawing needs a device and nothing else: no input set-up gates it.
    m_device = device;
    m_sound = std::make_unique<CDsound>(sound, &game, &level);
    m_skip = device != nullptr ? 0 : 1;
    m_camera.m_farPlane = settings.m_horizonDistance;
}

void C3dView::ClearRenderObjects()
{
    DetachLevelFromRenderObjects();
    m_walk.m_animatedTextures.clear();
    m_thingModels.clear();
    m_previewModel.reset();
    if (m_textureCache) {
        m_textureCache->Clear();
    }
    m_markers.clear();
    ReleaseSectorBuffers();
}

void C3dView::ReleaseSectorBuffers()
{
    if (m_sectorBuffers.m_device != nullptr) {
        for (const CSectorBuffers::CEntry& entry : m_sectorBuffers.m_entries)
            if (entry.m_buffer != kNoBuffer)
                m_sectorBuffers.m_device->ReleaseVertexBuffer(entry.m_buffer);
    }
    m_sectorBuffers.m_entries.clear();
}

C3dView::~C3dView()
{
    m_skip = 1;
    ReleaseSectorBuffers();
    m_walk.m_cdAudio.reset();
    m_sound.reset();
    DetachLevelFromRenderObjects();
    m_walk.m_animatedTextures.clear();
    m_markers.clear();
    m_thingModels.clear();
    m_previewModel.reset();
    m_textureCache.reset();
}

void C3dView::DetachLevelFromRenderObjects()
{
    // The level outlives the engine (and may be shared with a preview engine): its things and
    // surfaces must keep no pointer into the models and textures that go with this engine.
    std::unordered_set<const void*> owned;
    for (const auto& model : m_thingModels)
        owned.insert(model.get());
    for (auto& thing : m_level.m_things) {
        if (thing && owned.contains(thing->m_model)) {
            thing->m_model = nullptr;
            thing->m_modelReady = 0;
        }
    }
    owned.clear();
    if (m_textureCache) {
        for (const auto& texture : m_textureCache->GetTextures())
            owned.insert(texture.get());
    }
    for (auto& surface : m_level.m_surfaces) {
        if (surface && owned.contains(surface->m_texture))
            surface->m_texture = nullptr;
    }
}

CWalkState::CWalkState() = default;
CWalkState::~CWalkState() = default;
CWalkState::CWalkState(CWalkState&&) noexcept = default;
CWalkState& CWalkState::operator=(CWalkState&&) noexcept = default;
