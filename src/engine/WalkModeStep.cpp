#include "engine/WalkMode.h"

#include "engine/3doModel.h"
#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/Dsound.h"
#include "engine/RayCast.h"
#include "engine/Texture.h"
#include "engine/ThingModels.h"
#include "framework/DocumentState.h"
#include "framework/Settings.h"
#include "geometry/Predicates.h"
#include "level/QzlAdjoin.h"
#include "level/QzlSections.h"
#include "level/QzlSector.h"
#include "level/QzlSurface.h"
#include "level/QzlThing.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

namespace {

// The walking player.
constexpr float kEyeHeight = 0.15f;      // above the floor
constexpr float kPlayerRadius = 0.075f;  // nearest distance to a wall
constexpr float kLookAhead = 0.04f;      // where the step-ahead floor ray starts
constexpr float kProbeOffset = 0.0002f;  // past the face met, for the headroom probes
constexpr float kCeilingMargin = 0.02f;
constexpr float kVerticalProbe = 0.9f;  // a probe more upright than this is vertical
constexpr int kMaxRestarts = 100;       // the probing restarts at most kMaxRestarts + 1 times

// Movers and animations.
constexpr float kMoverStep = 0.05f;    // cycle time per frame
constexpr float kTextureStep = 0.01f;  // cel timer per frame
constexpr float kDurationFactor = 10.0f;
constexpr float kMoveVolume = 0.5f;
constexpr float kStartStopVolume = 1.0f;

// Switches.
constexpr const char* kSwitchClick = "lvrclik1.wav";
constexpr float kSwitchVolume = 1.0f;
constexpr float kSwitchRate = 3.0f;

// The thing's sound-state flags (CQzlThing::m_runtimeDWord).
enum ESoundState {
    kOpeningStarted = 0,
    kArrived,
    kClosingStarted,
    kClosed
};

// The thing's walk fields (CQzlThing's run-time members).
float MoveSpeed(const CQzlThing& thing)
{
    return thing.m_runtimeFloat[0];
}
float SleepTime(const CQzlThing& thing)
{
    return thing.m_runtimeFloat[1];
}
int Partner(const CQzlThing& thing)
{
    return thing.m_runtimeIndex;
}
const std::string& StartSound(const CQzlThing& thing)
{
    return thing.m_runtimeText[0];
}
const std::string& MoveSound(const CQzlThing& thing)
{
    return thing.m_runtimeText[1];
}
const std::string& StopSound(const CQzlThing& thing)
{
    return thing.m_runtimeText[2];
}

template <class T>
T* At(std::vector<std::unique_ptr<T>>& items, int i)
{
    if (i < 0 || static_cast<std::size_t>(i) >= items.size())
        return nullptr;
    return items[static_cast<std::size_t>(i)].get();
}

// v / |v| into out; false for a vector without a finite, non-zero length.
bool Unit(const CVector3& v, CVector3& out)
{
    const float length = VectorLength(v);
    if (!(length > 0.0f) || !std::isfinite(length))
        return false;
    out = v / length;
    return true;
}

CVector3 FramePosition(const CWorldVertex& frame)
{
    return {frame.x, frame.y, frame.z};
}

// Whether the player physics runs this step: nothing is selected that the user edits, the camera
// was not just placed by a command, and the document shows the level as a whole.
bool PhysicsRuns(const C3dView& view)
{
    const CSettings& settings = view.GetSettings();
    const CDocumentState& document = view.GetDocument();
    return (settings.m_lock == 0 || view.m_selection.m_sector < 0) &&
           view.m_selection.m_surface < 0 && view.m_selection.m_thing < 0 &&
           view.m_camera.m_jump == 0 && document.m_editMode != 1 && document.m_sectorMode == 0 &&
           document.m_renderMode != 3 && document.m_renderMode != 4;
}

// What the physics found for the rest of the step.
struct CStepContacts {
    int m_standing = -1;  // the thing the player stands on
    int m_touched = -1;   // the thing to start
};

// A wall probe's cast: markers never, things as "3DO Collision" says, portals passed except for
// the probe that looks for the face ahead.
CRayHit CastProbe(C3dView& view, const CVector3& from, const CVector3& direction, bool hitPortals)
{
    return CastRay(view, {.m_origin = from,
                          .m_direction = direction,
                          .m_skipMarkers = true,
                          .m_skipThings = view.GetSettings().m_threeDoCollision == 0,
                          .m_adjoinMode = hitPortals ? kRayHitAdjoins : kRayPassAdjoins});
}

// The switch on a touched wall: its triggered mover is touched, it clicks and plays its texture
// once.
void TouchSwitch(C3dView& view, const CRayHit& hit, const CVector3& at, CStepContacts& contacts)
{
    CQzlSurface* surface = At(view.GetLevel().m_surfaces, hit.m_surface);
    if (surface == nullptr || surface->m_triggeredThing < 0)
        return;
    contacts.m_touched = surface->m_triggeredThing;
    view.m_sound->Play(kSwitchClick, at, kSwitchVolume, 0);
    if (surface->m_texture != nullptr)
        StartTextureAnimation(view, *surface->m_texture, 0, kSwitchRate, 0);
}

// The five probes that keep the player out of walls and off steps too low to stand under.
// proposed is the player's proposed position (corrected here), previous the previous one.
void ProbeWalls(C3dView& view, CVector3& previous, CVector3& proposed, int entrySector,
                CStepContacts& contacts)
{
    CVector3& camera = view.m_camera.m_position;
    const CVector3 cameraAtStart = camera;
    CVector3 start = proposed;  // N
    int restarts = 0;

    // Vertical probes measure from the camera's height.
    auto level = [&](const CVector3& direction) {
        if (std::fabs(direction.y) > kVerticalProbe) {
            previous.y = camera.y;
            proposed.y = camera.y;
        }
    };
    // Probes 0 and 1: pushed out to the player's radius; true when the probing restarts.
    auto push = [&](const CRayHit& hit) {
        const float d = Dot(proposed - hit.m_point, hit.m_normal);
        if (!(d < kPlayerRadius))
            return false;
        const CVector3 shift = hit.m_normal * (kPlayerRadius - d);
        proposed = proposed + shift;
        camera = camera + shift;
        contacts.m_touched = hit.m_thing;
        if (hit.m_thing < 0)
            TouchSwitch(view, hit, proposed, contacts);
        return d < 0.0f;
    };

    for (;;) {
        bool restart = false;
        // Probe 0: along the move.
        CVector3 d0;
        CRayHit hit0;
        const bool active0 = Unit(proposed - previous, d0);
        if (active0) {
            level(d0);
            hit0 = CastProbe(view, previous, d0, false);
            if (hit0.m_found)
                restart = push(hit0);
        }
        // Probe 1: along the wall probe 0 met.
        CVector3 slide;
        if (!restart && hit0.m_found && Unit(VectorCross(d0, hit0.m_normal), slide)) {
            const CVector3 d1 = VectorCross(hit0.m_normal, slide);
            level(d1);
            const CRayHit hit1 = CastProbe(view, start, d1, false);
            if (hit1.m_found)
                restart = push(hit1);
        }
        if (restart) {
            if (restarts > kMaxRestarts)
                return;
            ++restarts;
            start = proposed;
            continue;
        }
        // Probe 2: the face ahead, portals included.
        CVector3 d2;
        if (!Unit(start - previous, d2))
            return;
        level(d2);
        const CRayHit hit2 = CastProbe(view, previous, d2, true);
        if (!hit2.m_found || hit2.m_sector == hit0.m_sector || !active0)
            return;
        // Probes 3 and 4: floor and ceiling just past that face.
        const CVector3 past = hit2.m_point + d2 * kProbeOffset;
        const CVector3 down(0.0f, -1.0f, 0.0f);
        const CVector3 up(0.0f, 1.0f, 0.0f);
        level(down);
        const CRayHit hit3 = CastProbe(view, past, down, false);
        level(up);
        const CRayHit hit4 = CastProbe(view, past, up, false);
        if (hit3.m_found && hit4.m_found &&
            hit4.m_point.y <= hit3.m_point.y + kEyeHeight + kCeilingMargin) {
            // Too low to stand under: back in front of the face.
            const CVector3& k = hit2.m_normal;
            const float e = Dot(start - hit2.m_point, k);
            if (e < kPlayerRadius) {
                proposed = start + k * (kPlayerRadius - e);
                camera = cameraAtStart + k * (kPlayerRadius - e);
            }
            view.m_selection.m_sector = entrySector;
        }
        return;
    }
}

// Starts the touched mover and then its partner, each only when it can run a cycle and is at
// rest; the partner's partner is not followed.
void Activate(C3dView& view, int touched)
{
    CQzlSections& level = view.GetLevel();
    int next = touched;
    for (int link = 0; link < 2 && next >= 0; ++link) {
        CQzlThing* thing = At(level.m_things, next);
        if (view.m_walk.m_on == 0 || thing == nullptr || thing->m_frames.size() < 2 ||
            thing->m_model == nullptr || thing->m_model->m_moved != 0)
            return;
        C3doModel& model = *thing->m_model;
        const CVector3 from = FramePosition(thing->m_frames.front());
        const CVector3 to = FramePosition(thing->m_frames.back());
        const float speed = MoveSpeed(*thing);
        const float travel = VectorLength(to - from) * kDurationFactor / speed;
        // A speed that gives no finite travel time never starts the mover.
        if (!(speed > 0.0f) || !std::isfinite(travel) || !IsFinite(from) || !IsFinite(to))
            return;
        model.m_cycleTime = 0.0f;
        model.m_travelTime = travel;
        model.m_from = from;
        model.m_to = to;
        model.m_previousPosition = from;
        model.m_moved = 1;
        view.m_walk.m_movingSectors.push_back(thing->m_sector);
        next = Partner(*thing);
    }
}

// Stage 1: the player on the floor and out of the walls; touched movers start.
void PlayerPhysics(C3dView& view, CStepContacts& contacts)
{
    CCameraState& camera = view.m_camera;
    CVector3& previous = camera.m_focusPoint2;
    CVector3& proposed = camera.m_focusPoint;
    const int entrySector = view.m_selection.m_sector;
    view.m_selection.m_sector = -1;

    const CVector3 down(0.0f, -1.0f, 0.0f);
    auto floorRay = [&view, &down](const CVector3& from) {
        return CastRay(view, {.m_origin = from,
                              .m_direction = down,
                              .m_skipMarkers = true,
                              .m_adjoinMode = kRayPassAdjoins});
    };
    const CRayHit floor = floorRay(previous);
    if (!floor.m_found)
        return;
    view.m_selection.m_sector = floor.m_sector;
    float floorHeight = floor.m_point.y;
    contacts.m_standing = floor.m_thing;
    contacts.m_touched = floor.m_thing;
    // A step just ahead is climbed.
    CVector3 ahead;
    if (Unit(CVector3(camera.m_forwardAxis.x, 0.0f, camera.m_forwardAxis.z), ahead)) {
        const CRayHit step = floorRay(previous + ahead * kLookAhead);
        if (step.m_found && step.m_point.y > floorHeight) {
            floorHeight = step.m_point.y;
            view.m_selection.m_sector = step.m_sector;
        }
    }

    if (view.GetSettings().m_collision != 0) {
        camera.m_position.y = floorHeight + kEyeHeight;
        previous.y = camera.m_position.y;
        proposed.y = camera.m_position.y;
        ProbeWalls(view, previous, proposed, entrySector, contacts);
    }

    UpdateCameraSector(view, entrySector);
    if (contacts.m_touched >= 0)
        Activate(view, contacts.m_touched);
}

// Stage 2: the current sector's ambient sound loops; leaving a sector ends its loop.
void SectorSound(C3dView& view, int oldSector)
{
    if (view.m_walk.m_on == 0)
        return;
    CQzlSections& level = view.GetLevel();
    CDsound& sound = *view.m_sound;
    auto soundName = [&level](const CQzlSector* sector) -> const std::string* {
        if (sector == nullptr || sector->m_sound < 0 ||
            static_cast<std::size_t>(sector->m_sound) >= level.m_sounds.size())
            return nullptr;
        const std::string& name = level.m_sounds[static_cast<std::size_t>(sector->m_sound)];
        return name.empty() ? nullptr : &name;
    };
    const int newSector = view.m_selection.m_sector;
    const CQzlSector* before = At(level.m_sectors, oldSector);
    const CQzlSector* now = At(level.m_sectors, newSector);
    const bool entered = newSector != oldSector;
    if (entered && before != nullptr && now != nullptr && before->m_sound != now->m_sound) {
        int index = 0;
        if (const std::string* name = soundName(before); name && sound.FindSound(*name, index))
            sound.PlayAt(index, 0);
    }
    const std::string* name = soundName(now);
    if (name == nullptr)
        return;
    const int index = sound.LoadSound(*name);
    if (index < 0)
        return;
    // Started on entry, or again once it no longer plays; a loop that plays is left to play.
    const SoundBuffer& buffer = *sound.GetSounds()[static_cast<std::size_t>(index)]->m_buffer;
    if (!entered && buffer.IsPlaying())
        return;
    sound.SetParams(index, now->m_center, now->m_soundVolume);
    sound.PlayAt(index, kPlayLooping);
}

// The opening or closing sounds of a mover at p: start once, move looping.
void PlayTravelSounds(CDsound& sound, const CQzlThing& thing, const CVector3& p)
{
    sound.Play(StartSound(thing), p, kStartStopVolume, 0);
    sound.Play(MoveSound(thing), p, kMoveVolume, kPlayLooping);
}

// The arrival sounds of a mover at p: move stopped, stop once.
void PlayArrivalSounds(CDsound& sound, const CQzlThing& thing, const CVector3& p)
{
    sound.Stop(MoveSound(thing));
    sound.Play(StopSound(thing), p, kStartStopVolume, 0);
}

// One step of a running mover's cycle: its position and the sounds of its phase. A wait of no
// length is passed over, but its sounds still play and the closed cycle still leaves the moving
// sectors.
CVector3 AdvanceCycle(C3dView& view, CQzlThing& thing, C3doModel& model)
{
    CDsound& sound = *view.m_sound;
    std::uint32_t* state = thing.m_runtimeDWord;
    const float sleep = SleepTime(thing);
    const float h = std::isfinite(sleep) && sleep > 0.0f ? sleep * 0.5f : 0.0f;
    const float travel = model.m_travelTime;

    if (model.m_cycleTime == 0.0f) {
        std::fill(state, state + 4, 0u);
        model.m_riderOffset = 0.0f;
    }
    model.m_cycleTime += kMoverStep;
    model.m_previousPosition = model.m_position;
    const float t = model.m_cycleTime;
    const CVector3& from = model.m_from;
    const CVector3& to = model.m_to;

    auto arrive = [&](const CVector3& p) {
        if (state[kArrived] == 0) {
            PlayArrivalSounds(sound, thing, p);
            state[kArrived] = 1;
        }
    };
    auto close = [&](const CVector3& p) {
        if (state[kClosed] == 0) {
            PlayArrivalSounds(sound, thing, p);
            state[kClosed] = 1;
            std::erase(view.m_walk.m_movingSectors, thing.m_sector);
        }
    };

    if (t <= travel) {
        const CVector3 p = from + (to - from) * (t / travel);
        if (state[kOpeningStarted] == 0) {
            PlayTravelSounds(sound, thing, p);
            state[kOpeningStarted] = 1;
        } else {
            sound.SetPosition(MoveSound(thing), p);
        }
        return p;
    }
    if (t <= travel + h) {
        arrive(to);
        return to;
    }
    if (t <= 2.0f * travel + h) {
        const CVector3 p = from + (to - from) * ((2.0f * travel + h - t) / travel);
        arrive(to);
        if (state[kClosingStarted] == 0) {
            PlayTravelSounds(sound, thing, p);
            state[kClosingStarted] = 1;
        } else {
            sound.SetPosition(MoveSound(thing), p);
        }
        return p;
    }
    arrive(to);
    close(from);
    if (t > 2.0f * travel + 2.0f * h)
        model.m_moved = 0;
    return from;
}

// Stage 3: every visible mover steps through its cycle, riders go with it, key animations run.
void StepMovers(C3dView& view, const CStepContacts& contacts)
{
    CQzlSections& level = view.GetLevel();
    const CQzlSector* current = At(level.m_sectors, view.m_selection.m_sector);
    const bool onlyVisible = view.GetSettings().m_collision != 0 && current != nullptr;
    for (std::size_t i = 0; i < level.m_things.size(); ++i) {
        CQzlThing* thing = level.m_things[i].get();
        if (thing == nullptr || thing->m_model == nullptr)
            continue;
        if (onlyVisible && !std::binary_search(current->m_visible.begin(), current->m_visible.end(),
                                               thing->m_sector))
            continue;
        C3doModel& model = *thing->m_model;
        if (model.m_moved != 0) {
            const CVector3 p = AdvanceCycle(view, *thing, model);
            model.m_position = p;
            model.m_placement.m[3][0] = p.x;
            model.m_placement.m[3][1] = p.y;
            model.m_placement.m[3][2] = p.z;
            model.m_boundsValid = 0;
            if (static_cast<int>(i) == contacts.m_standing) {
                CVector3& camera = view.m_camera.m_position;
                camera.x += p.x - model.m_previousPosition.x;
                camera.z += p.z - model.m_previousPosition.z;
                if (model.m_riderOffset == 0.0f)
                    model.m_riderOffset = camera.y - p.y;
                camera.y = p.y + model.m_riderOffset;
            }
            ComputeThingBounds(view, *thing);
        }
        if (view.m_walk.m_on != 0) {
            model.m_animClock += kMoverStep;
            if (model.m_animClock > model.m_frameTime) {
                model.m_currentFrame =
                    model.m_frameCount > 0 ? (model.m_currentFrame + 1) % model.m_frameCount : 0;
                model.m_animClock = 0.0f;
            }
        }
    }
}

// Stage 4: the cels of every animated texture; a texture that plays once leaves the list when it
// is back at its first cel.
void StepCels(C3dView& view)
{
    std::vector<CTexture*>& textures = view.m_walk.m_animatedTextures;
    for (std::size_t i = textures.size(); i-- > 0;) {
        CTexture& texture = *textures[i];
        texture.m_timer += kTextureStep;
        if (texture.m_timer < texture.m_secondsPerCel)
            continue;
        texture.UploadNextCel();
        texture.m_timer = 0.0f;
        if (texture.m_loop == 0 && texture.m_currentCel == texture.m_restartCel)
            textures.erase(textures.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

}  // namespace

void WalkModeStep(C3dView& view)
{
    const int oldSector = view.m_selection.m_sector;
    CStepContacts contacts;
    if (PhysicsRuns(view))
        PlayerPhysics(view, contacts);
    SectorSound(view, oldSector);
    StepMovers(view, contacts);
    StepCels(view);
    const CVector3 camera = view.m_camera.m_position;
    SetCameraPosition(view, camera.x, camera.y, camera.z);
}

void StartTextureAnimation(C3dView& view, CTexture& texture, int firstCel, float rate, int loop)
{
    std::vector<CTexture*>& textures = view.m_walk.m_animatedTextures;
    // A running texture is left alone, and so is a rate that gives no time per cel.
    if (texture.m_timer != 0.0f || !(rate > 0.0f) || !std::isfinite(rate) ||
        std::find(textures.begin(), textures.end(), &texture) != textures.end())
        return;
    texture.m_currentCel = firstCel - 1;
    texture.m_restartCel = firstCel;
    texture.m_timer = 0.0f;
    texture.m_secondsPerCel = 1.0f / rate;
    texture.m_loop = loop;
    texture.UploadNextCel();
    textures.push_back(&texture);
}

void UpdateCameraSector(C3dView& view, int sector)
{
    CQzlSections& level = view.GetLevel();
    const CVector3& camera = view.m_camera.m_position;
    auto holds = [&](int s) {
        return At(level.m_sectors, s) != nullptr && PointInSector(level, s, camera, -0.01f);
    };
    // The sector itself, else the first neighbour through one of its portals, that holds the
    // camera becomes current.
    auto searchFrom = [&](int s) {
        if (holds(s)) {
            view.m_selection.m_sector = s;
            return true;
        }
        for (const std::int32_t surfaceIndex :
             level.m_sectors[static_cast<std::size_t>(s)]->m_surfaces) {
            const CQzlSurface* surface = At(level.m_surfaces, surfaceIndex);
            const CQzlAdjoin* adjoin = surface ? At(level.m_adjoins, surface->m_adjoin) : nullptr;
            if (adjoin != nullptr && holds(adjoin->m_otherSector)) {
                view.m_selection.m_sector = adjoin->m_otherSector;
                return true;
            }
        }
        return false;
    };
    if (At(level.m_sectors, sector) != nullptr && searchFrom(sector))
        return;
    const int current = view.m_selection.m_sector;
    if (At(level.m_sectors, current) != nullptr)
        searchFrom(current);
}
