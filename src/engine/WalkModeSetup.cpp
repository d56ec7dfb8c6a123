#include "engine/WalkMode.h"

#include "engine/C3dView.h"
#include "engine/CdAudio.h"
#include "engine/Dsound.h"
#include "engine/FrameRender.h"
#include "engine/Random.h"
#include "engine/RenderData.h"
#include "engine/Texture.h"
#include "engine/ThingModels.h"
#include "engine/WalkCogs.h"
#include "framework/CFormat.h"
#include "framework/Settings.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "level/QzlSector.h"
#include "level/TemplateParams.h"

#include <cstddef>
#include <memory>
#include <string>

namespace {

// The sounds of a mover, by the sound class its template's parameters name; the first match wins.
struct CMoverSounds {
    const char* m_word;
    const char* m_start;
    const char* m_move;
    const char* m_stop;
};

constexpr CMoverSounds kMoverSounds[] = {
    {"sm_door.snd", "vx_door1-1.wav", "vx_door1-2.wav", "vx_door1-3.wav"},
    {"med_door.snd", "vx_door2-1.wav", "vx_door2-2.wav", "vx_door2-3.wav"},
    {"lg_door.snd", "vx_door3-1.wav", "vx_door3-2.wav", "vx_door3-3.wav"},
    {"sm_elev.snd", "vx_elev1-1.wav", "vx_elev1-2.wav", "vx_elev1-3.wav"},
    {"med_elev.snd", "vx_elev2-1.wav", "vx_elev2-2.wav", "vx_elev2-3.wav"},
    {"lg_elev.snd", "vx_elev3-1.wav", "vx_elev3-2.wav", "vx_elev3-3.wav"},
    {"funicular.snd", "funicularstart01.wav", "funicularmove01.wav", "funicularstop01.wav"},
};

// Angular speeds of "angvel=" (degrees per second) to radians per step.
constexpr float kAngularSpeedToStep = 0.00052359880f;
// A pickup's turn per step.
constexpr float kPickupYawStep = -0.05f;

void ChooseMoverSounds(const CQzlSections& level, CQzlThing& thing)
{
    for (const CMoverSounds& set : kMoverSounds) {
        if (FindTemplateWithParam(level, thing.m_template, set.m_word) != 0) {
            thing.m_runtimeText[0] = set.m_start;
            thing.m_runtimeText[1] = set.m_move;
            thing.m_runtimeText[2] = set.m_stop;
            return;
        }
    }
}

void StartSpin(CQzlThing& thing, C3doModel& model, const D3DMATRIX& step)
{
    model.m_stepRotation = step;
    model.m_spinPlacement = model.m_placement;
    model.m_boundsValid = 0;
    thing.m_runtimeWord = 1;
}

bool IsFan(std::string_view name)
{
    return EqualsNoCase(name, "fan0") || EqualsNoCase(name, "fan1");
}

// Fans turn by their templates' "angvel=", pickups (templates based on "_powerup" or "_weapon")
// by a fixed yaw. The template chain is followed from the last template towards the first, so a
// base template is found only when it stands before the templates based on it.
void DetectSpin(const CQzlSections& level, CQzlThing& thing, C3doModel& model)
{
    const bool fan = IsFan(thing.m_template);
    std::string current = thing.m_template;
    for (std::size_t i = level.m_templates.size(); i-- > 0;) {
        const CQzlTemplate* entry = level.m_templates[i].get();
        if (entry == nullptr)
            continue;
        if (EqualsNoCase(entry->m_name, "none"))
            return;
        if (!EqualsNoCase(entry->m_name, current))
            continue;
        if (fan && IsFan(entry->m_name)) {
            const std::size_t at = entry->m_params.find("angvel=");
            if (at != std::string::npos) {
                float a = 0.0f;
                float b = 0.0f;
                float c = 0.0f;
                ScanC(entry->m_params.c_str() + at + 7, "(%f/%f/%f)", &a, &b, &c);
                a *= kAngularSpeedToStep;
                b *= kAngularSpeedToStep;
                c *= kAngularSpeedToStep;
                StartSpin(thing, model, MatrixRotationYawPitchRoll(-b, -c, -a));
            }
        }
        current = entry->m_basedOn;
        if (EqualsNoCase(current, "_powerup") || EqualsNoCase(current, "_weapon")) {
            StartSpin(thing, model, MatrixRotationYawPitchRoll(kPickupYawStep, 0.0f, 0.0f));
            return;
        }
        if (EqualsNoCase(current, "none"))
            return;
    }
}

// Back to rest: frame 0 (or where the model stands when the thing has no frames), first key
// frame, bounds recomputed when a cycle had moved it.
void ReturnToRest(C3dView& view, CQzlThing& thing, C3doModel& model)
{
    CVector3 rest = model.m_position;
    if (!thing.m_frames.empty())
        rest = {thing.m_frames[0].x, thing.m_frames[0].y, thing.m_frames[0].z};
    model.m_position = rest;
    model.m_placement.m[3][0] = rest.x;
    model.m_placement.m[3][1] = rest.y;
    model.m_placement.m[3][2] = rest.z;
    model.m_boundsValid = 0;
    model.m_currentFrame = 0;
    if (model.m_moved != 0) {
        model.m_moved = 0;
        ComputeThingBounds(view, thing);
    }
}

void PrepareThings(C3dView& view, bool on)
{
    CQzlSections& level = view.GetLevel();
    for (const auto& record : level.m_things) {
        if (!record)
            continue;
        CQzlThing& thing = *record;
        thing.m_runtimeIndex = -1;
        for (std::string& sound : thing.m_runtimeText)
            sound.clear();
        thing.m_runtimeWord = 0;
        // A cycle's sound states start afresh with every set-up and tear-down.
        for (std::uint32_t& state : thing.m_runtimeDWord)
            state = 0;
        if (on)
            ChooseMoverSounds(level, thing);
        if (thing.m_model == nullptr)
            continue;
        C3doModel& model = *thing.m_model;
        if (!on) {
            ReturnToRest(view, thing, model);
            continue;
        }
        DetectSpin(level, thing, model);
        model.m_currentFrame =
            model.m_frameCount >= 1 ? view.GetRandom().Next() % model.m_frameCount : 0;
    }
}

void ResetSurfaces(C3dView& view, bool on)
{
    CQzlSections& level = view.GetLevel();
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s) {
        if (!level.m_sectors[s])
            continue;
        for (const std::int32_t index : level.m_sectors[s]->m_surfaces) {
            if (index < 0 || static_cast<std::size_t>(index) >= level.m_surfaces.size() ||
                !level.m_surfaces[static_cast<std::size_t>(index)])
                continue;
            CQzlSurface& surface = *level.m_surfaces[static_cast<std::size_t>(index)];
            // Scrolled and sky surfaces get their stored texture coordinates back.
            const bool laidOut =
                surface.m_scrollU != 0.0f || surface.m_scrollV != 0.0f || IsSkySurface(surface);
            surface.m_triggeredThing = -1;
            surface.m_scrollU = 0.0f;
            surface.m_scrollV = 0.0f;
            if (!on && laidOut)
                RebuildSurfaceVertices(view, static_cast<int>(s), index, false);
        }
    }
}

// Every animated texture back on its last cel, the sounds released, the movers' list emptied and
// the CD closed.
void TearDown(C3dView& view)
{
    std::vector<CTexture*>& textures = view.m_walk.m_animatedTextures;
    while (!textures.empty()) {
        CTexture* texture = textures.back();
        textures.pop_back();
        if (texture == nullptr)
            continue;
        const int celCount = texture->m_image ? texture->m_image->GetCelCount() : 0;
        if (celCount >= 1) {
            // The upload moves on to the last cel.
            texture->m_currentCel = celCount - 2;
            texture->UploadNextCel();
        } else {
            texture->m_currentCel = 0;
        }
        texture->m_timer = 0.0f;
    }
    view.m_sound->ReleaseAll();
    std::vector<std::int32_t>().swap(view.m_walk.m_movingSectors);
    if (view.m_walk.m_cdAudio)
        view.m_walk.m_cdAudio->Close();
}

void StartCdMusic(C3dView& view)
{
    if (view.GetSettings().m_cdSound == 0)
        return;
    if (!view.m_walk.m_cdAudio)
        view.m_walk.m_cdAudio =
            std::make_unique<CCdAudio>(view.m_sound->GetDevice(), view.GetGame().m_gameFolder);
    const int count = view.m_walk.m_cdAudio->Open();
    if (count > 0)
        view.m_walk.m_cdAudio->PlayTrack(CdTrackFromRandom(view.GetRandom().Next(), count));
}

}  // namespace

void SetWalkMode(C3dView& view)
{
    if (!view.m_sound)
        view.m_sound = std::make_unique<CDsound>(nullptr, &view.GetGame(), &view.GetLevel());
    const bool on = view.m_walk.m_on != 0;
    PrepareThings(view, on);
    ResetSurfaces(view, on);
    view.m_walk.m_animationClock = 0.0f;
    if (!on) {
        TearDown(view);
    } else {
        ReadWalkCogs(view);
        StartCdMusic(view);
    }
    view.m_markers.clear();
    RenderFrame(view, 1);
}
