#include "engine/ThingModels.h"

#include "engine/3doLoadContext.h"
#include "engine/3doModel.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "framework/Settings.h"
#include "framework/StringUtil.h"
#include "geometry/Predicates.h"
#include "geometry/SectorGrid.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace {

// Flags of a player start that does not take the camera.
constexpr std::uint32_t kNoCameraFlags = 0x20080501u;

// The model's turn of a thing: the yaw-pitch-roll rotation of the negated angles (degrees), placed
// at position.
D3DMATRIX ThingPlacement(float yaw, float pitch, float roll, const CVector3& position)
{
    D3DMATRIX m = MatrixRotationYawPitchRoll(
        -ModelDegreesToRadians(yaw), -ModelDegreesToRadians(pitch), -ModelDegreesToRadians(roll));
    m.m[3][0] = position.x;
    m.m[3][1] = position.y;
    m.m[3][2] = position.z;
    return m;
}

// A new model of the same file holding copies of the nodes and meshes of source, with its frame
// data; its box is not valid.
std::unique_ptr<C3doModel> CloneModel(const C3doModel& source, const std::string& fileName,
                                      const std::string& colormapName)
{
    auto model = std::make_unique<C3doModel>(fileName, colormapName);
    std::unordered_map<const C3doMesh*, C3doMesh*> meshes;
    model->m_meshes.reserve(source.m_meshes.size());
    for (const auto& mesh : source.m_meshes) {
        model->m_meshes.push_back(std::make_unique<C3doMesh>(*mesh));
        meshes[mesh.get()] = model->m_meshes.back().get();
    }
    model->m_nodes.reserve(source.m_nodes.size());
    for (const auto& node : source.m_nodes) {
        auto copy = std::make_unique<C3doNode>(*node);
        if (node->m_mesh != nullptr) {
            const auto found = meshes.find(node->m_mesh);
            if (found != meshes.end()) {
                copy->m_mesh = found->second;
            } else {
                // A mesh the source does not list among its own: the copy gets its own copy.
                model->m_meshes.push_back(std::make_unique<C3doMesh>(*node->m_mesh));
                copy->m_mesh = model->m_meshes.back().get();
            }
        }
        model->m_nodes.push_back(std::move(copy));
    }
    model->m_missingMaterials = source.m_missingMaterials;
    model->m_loadError = source.m_loadError;
    model->m_currentFrame = source.m_currentFrame;
    model->m_frameCount = source.m_frameCount;
    model->m_frameTime = source.m_frameTime;
    model->m_animClock = source.m_animClock;
    model->m_boundsValid = 0;
    return model;
}

// The angle brought into -180..180 degrees by whole turns.
float WrapDegrees(float angle)
{
    if (!std::isfinite(angle))
        return 0.0f;
    // Far outside the range one turn at a time would take too long, or never end where adding
    // 360 no longer changes the float.
    if (std::fabs(angle) > 360.0f * 64.0f)
        angle = std::fmod(angle, 360.0f);
    while (angle < -180.0f)
        angle += 360.0f;
    while (angle > 180.0f)
        angle -= 360.0f;
    return angle;
}

}  // namespace

std::string TemplateModelName(const C3dView& view, std::string_view name)
{
    const auto& templates = view.GetGame().m_templates;
    std::vector<bool> visited(templates.size(), false);
    std::string current(name);
    for (;;) {
        if (EqualsNoCase(current, "ghost"))
            return "ghost";
        const auto found =
            std::find_if(templates.begin(), templates.end(), [&current](const auto& t) {
                return t && EqualsNoCase(t->m_name, current);
            });
        if (found == templates.end())
            return {};
        const auto index = static_cast<std::size_t>(found - templates.begin());
        if (visited[index])
            return {};  // the based-on chain runs in a circle
        visited[index] = true;
        const CQzlTemplate& entry = **found;
        if (!entry.m_model.empty())
            return entry.m_model;
        current = entry.m_basedOn;
    }
}

D3DMATRIX MatrixRotationYawPitchRoll(float yaw, float pitch, float roll)
{
    const float cy = std::cos(yaw / 2.0f);
    const float sy = std::sin(yaw / 2.0f);
    const float cp = std::cos(pitch / 2.0f);
    const float sp = std::sin(pitch / 2.0f);
    const float cr = std::cos(roll / 2.0f);
    const float sr = std::sin(roll / 2.0f);
    const float x = cy * sp * cr + sy * cp * sr;
    const float y = sy * cp * cr - cy * sp * sr;
    const float z = cy * cp * sr - sy * sp * cr;
    const float w = cy * cp * cr + sy * sp * sr;

    D3DMATRIX m = MatrixIdentity();
    m.m[0][0] = 1.0f - 2.0f * (y * y + z * z);
    m.m[0][1] = 2.0f * (x * y + z * w);
    m.m[0][2] = 2.0f * (x * z - y * w);
    m.m[1][0] = 2.0f * (x * y - z * w);
    m.m[1][1] = 1.0f - 2.0f * (x * x + z * z);
    m.m[1][2] = 2.0f * (y * z + x * w);
    m.m[2][0] = 2.0f * (x * z + y * w);
    m.m[2][1] = 2.0f * (y * z - x * w);
    m.m[2][2] = 1.0f - 2.0f * (x * x + y * y);
    return m;
}

int CreateThingModel(C3dView& view, int i, const std::string& colormapName, bool placeCamera,
                     const CSectorGrid* grid)
{
    CQzlSections& level = view.GetLevel();
    if (i < 0 || static_cast<std::size_t>(i) >= level.m_things.size() ||
        !level.m_things[static_cast<std::size_t>(i)])
        return 0;
    CQzlThing& thing = *level.m_things[static_cast<std::size_t>(i)];
    const std::string fileName = TemplateModelName(view, thing.m_name);
    const CVector3 position = thing.m_position;

    auto& models = view.m_thingModels;
    if (thing.m_model != nullptr) {
        const auto old = std::find_if(models.begin(), models.end(),
                                      [&thing](const auto& m) { return m.get() == thing.m_model; });
        if (old != models.end())
            models.erase(old);
        thing.m_model = nullptr;
    }

    const auto loaded = std::find_if(models.begin(), models.end(), [&fileName](const auto& m) {
        return m && EqualsNoCase(m->m_fileName, fileName);
    });
    std::unique_ptr<C3doModel> model;
    if (loaded != models.end()) {
        model = CloneModel(**loaded, fileName, colormapName);
    } else {
        C3doLoadContext context;
        context.m_game = &view.GetGame();
        context.m_level = &level;
        context.m_textures = view.m_textureCache.get();
        context.m_colorGhost = view.GetSettings().m_colorGhost;
        model = std::make_unique<C3doModel>(context, fileName, colormapName);
    }

    model->m_placement = ThingPlacement(thing.m_yaw, thing.m_pitch, thing.m_roll, position);
    model->m_boundsValid = 0;
    model->m_position = position;
    thing.m_model = model.get();
    models.push_back(std::move(model));
    ComputeThingBounds(view, thing, grid);

    int placed = 0;
    if (placeCamera && EqualsNoCase(thing.m_name, "walkplayer") &&
        thing.m_thingFlags != kNoCameraFlags) {
        const float yaw = ModelDegreesToRadians(thing.m_yaw);
        view.m_camera.m_position = position;
        view.m_camera.m_forwardAxis = CVector3(std::sin(yaw), 0.0f, std::cos(yaw));
        placed = 1;
    }
    thing.m_modelReady = 1;
    return placed;
}

void SetThingOrientation(C3dView& view, int i, float x, float y, float z, float yaw, float roll,
                         float pitch)
{
    CQzlSections& level = view.GetLevel();
    if (i < 0 || static_cast<std::size_t>(i) >= level.m_things.size() ||
        !level.m_things[static_cast<std::size_t>(i)])
        return;
    CQzlThing& thing = *level.m_things[static_cast<std::size_t>(i)];
    yaw = WrapDegrees(yaw);
    roll = WrapDegrees(roll);
    pitch = WrapDegrees(pitch);
    const CVector3 position(x, y, z);

    if (thing.m_model != nullptr) {
        thing.m_model->m_placement = ThingPlacement(yaw, pitch, roll, position);
        thing.m_model->m_boundsValid = 0;
        thing.m_model->m_position = position;
    }
    thing.m_yaw = yaw;
    thing.m_roll = roll;
    thing.m_pitch = pitch;
    thing.m_position = position;
    ComputeThingBounds(view, thing);
    view.GetHost().RequestFrame(true);
}

void ComputeThingBounds(C3dView& view, CQzlThing& thing, const CSectorGrid* grid)
{
    C3doModel* model = thing.m_model;
    if (model != nullptr && model->m_boundsValid == 0) {
        CBoundingBox box{{kFarDistance, kFarDistance, kFarDistance},
                         {-kFarDistance, -kFarDistance, -kFarDistance}};
        model->NodeBounds(0, box, model->m_placement);
        model->m_bounds = {VectorMin(box.min, box.max), VectorMax(box.min, box.max)};
        model->m_boundsValid = 1;
    }

    const CQzlSections& level = view.GetLevel();
    if (grid != nullptr) {
        // The grid's candidates are ascending and hold every sector that can hold the point.
        std::vector<std::int32_t> candidates;
        grid->Candidates(thing.m_position, candidates);
        for (auto s = candidates.rbegin(); s != candidates.rend(); ++s) {
            if (PointInSector(level, *s, thing.m_position, 0.0f)) {
                thing.m_sector = *s;
                return;
            }
        }
        return;
    }
    for (int s = static_cast<int>(level.m_sectors.size()) - 1; s >= 0; --s) {
        if (PointInSector(level, s, thing.m_position, 0.0f)) {
            thing.m_sector = s;
            return;
        }
    }
}

void RefreshThingBounds(C3dView& view)
{
    const CSectorGrid grid(view.GetLevel());
    for (auto& thing : view.GetLevel().m_things) {
        if (thing)
            ComputeThingBounds(view, *thing, &grid);
    }
}

void ReleaseThingModel(C3dView& view, int i)
{
    auto& things = view.GetLevel().m_things;
    if (i < 0 || static_cast<std::size_t>(i) >= things.size())
        return;
    CQzlThing& record = *things[static_cast<std::size_t>(i)];
    const C3doModel* model = record.m_model;
    if (model == nullptr)
        return;
    std::erase_if(view.m_thingModels, [model](const auto& entry) { return entry.get() == model; });
    record.m_model = nullptr;
}
