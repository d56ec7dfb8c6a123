#include "tools/Switch.h"

#include "edit/CutToPolygon.h"
#include "engine/AssetSources.h"
#include "engine/C3dView.h"
#include "engine/DecodeMaterial.h"
#include "engine/EngineHost.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "engine/Visibility.h"
#include "framework/Indices.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"
#include "tools/BuilderSteps.h"
#include "tools/DoorElevatorFit.h"
#include "tools/LevelRollback.h"

#include <algorithm>
#include <vector>

namespace {

// Whether every corner is a corner of surface (within 0.001).
bool HasCorners(const CQzlSections& level, int surface, const std::array<CVector3, 4>& corners)
{
    if (!InRange(level.m_surfaces, surface))
        return false;
    const CQzlSurface& face = *At(level.m_surfaces, surface);
    return std::all_of(corners.begin(), corners.end(), [&](const CVector3& corner) {
        return std::any_of(
            face.m_vertices.begin(), face.m_vertices.end(), [&](const CQzlVertex& vertex) {
                return InRange(level.m_worldVertices, vertex.m_worldVertex) &&
                       VectorLength(WorldPosition(level, vertex.m_worldVertex) - corner) < 0.001f;
            });
    });
}

// The siding of the recess's four walls: the wall of the current sector that a short segment
// across the middle of each side, half the depth back, crosses.
void SetSiding(C3dView& view, const std::array<CVector3, 4>& corners, const CVector3& n,
               float depth, int material)
{
    CQzlSections& level = view.GetLevel();
    const int sector = view.m_selection.m_sector;
    for (std::size_t k = 0; k < corners.size(); ++k) {
        const CVector3& from = corners[k];
        const CVector3& to = corners[(k + 1) % corners.size()];
        const CVector3 middle = (from + to) * 0.5f - n * (0.5f * depth);
        const CVector3 edge = to - from;
        const float length = VectorLength(edge);
        if (!(length > 0.0f))
            continue;
        const CVector3 s = VectorCross(n, edge / length);
        CVector3 hit;
        int wall = -1;
        if (IntersectSegmentSector(level, sector, middle + s * 0.001f, middle - s * 0.001f, hit,
                                   wall, true, true) &&
            InRange(level.m_surfaces, wall))
            At(level.m_surfaces, wall)->m_material = material;
    }
}

// The switch face's texture: once across the rectangle.
void FitSwitchTexture(CQzlSections& level, int surface, const std::array<CVector3, 4>& corners,
                      const CVector3& n, const CSwitchParams& p)
{
    const float x = static_cast<float>(p.m_textureWidth);
    const float y = static_cast<float>(p.m_textureHeight);
    for (CQzlVertex& vertex : At(level.m_surfaces, surface)->m_vertices) {
        if (!InRange(level.m_worldVertices, vertex.m_worldVertex))
            continue;
        const CVector3 position = WorldPosition(level, vertex.m_worldVertex);
        for (std::size_t k = 0; k < corners.size(); ++k) {
            if (VectorLength(position - corners[k] + n * p.m_depth) < 0.01f) {
                vertex.m_u = k < 2 ? 0.0f : x;
                vertex.m_v = k == 0 || k == 3 ? 0.0f : y;
            }
        }
    }
}

// The geometry; false when the cut or the extrusion fails.
bool BuildSwitch(C3dView& view, const CSwitchParams& p, const CBuilderAxes& axes,
                 const std::array<CVector3, 4>& corners, std::vector<int>& changed)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    const std::vector<CVector3> rectangle(corners.begin(), corners.end());
    selection.m_pickedNodes = rectangle;
    if (!CutSurfaceToPolygon(view, selection.m_sector, selection.m_surface, rectangle, axes.d) ||
        !HasCorners(level, selection.m_surface, corners))
        return false;
    RebuildSector(view, selection.m_sector);

    if (p.m_depth > 0.0f) {
        if (!ExtrudeBy(view, p.m_depth, EExtrudeType::NewSector))
            return false;
        changed.push_back(selection.m_sector);
        SetSiding(view, corners, axes.n, p.m_depth, level.FindMaterial(p.m_sidingMaterial));
    }
    const int face = selection.m_surface;
    if (!InRange(level.m_surfaces, face))
        return false;
    At(level.m_surfaces, face)->m_material = level.FindMaterial(p.m_switchMaterial);
    FitSwitchTexture(level, face, corners, axes.n, p);
    return true;
}

}  // namespace

std::string SwitchNoTextureText(std::string_view material)
{
    return "Cannot create switch.\n\nThe texture of the switch material \"" +
           std::string(material) + "\" cannot be found.";
}

std::array<CVector3, 4> SwitchCorners(const CVector3& p0, const CVector3& p1, const CVector3& n,
                                      float width, float height)
{
    const CVector3 along = p1 - p0;
    return DoorOutline(p0, n, along / VectorLength(along), width, height);
}

bool SwitchFitsSurface(const C3dView& view, float width, float height)
{
    const std::optional<CBuilderAxes> axes = BuilderAxes(view);
    return axes && OutlineFitsSurface(view.GetLevel(), view.m_selection.m_surface,
                                      SwitchCorners(axes->g0, axes->g1, axes->n, width, height));
}

std::optional<CTextureSize> SwitchTextureSize(const C3dView& view, std::string_view material)
{
    const CQzlSections& level = view.GetLevel();
    CAssetSources sources;
    sources.m_game = &view.GetGame();
    sources.m_levelFiles = &level.m_levelFiles;
    const std::string colorMap = level.m_colormaps.empty() ? std::string() : level.m_colormaps[0];
    const auto image = DecodeOwnMaterial(sources, material, colorMap);
    if (!image)
        return std::nullopt;
    return CTextureSize{image->GetWidth(), image->GetHeight()};
}

std::string SwitchRefusal(const C3dView& view, const CSwitchParams& params)
{
    if (params.m_switchMaterial.empty())
        return std::string(kSwitchNoMaterialText);
    if (params.m_textureWidth <= 0 || params.m_textureHeight <= 0)
        return SwitchNoTextureText(params.m_switchMaterial);
    if (!SwitchFitsSurface(view, params.m_width, params.m_height))
        return std::string(kSwitchExceedsText);
    return {};
}

bool CreateSwitch(C3dView& view, const CSwitchParams& params)
{
    CSelection& selection = view.m_selection;
    if (!InRange(view.GetLevel().m_sectors, selection.m_sector))
        return false;
    if (!(params.m_width > 0.0f && params.m_height > 0.0f && params.m_depth >= 0.0f))
        return false;
    const std::optional<CBuilderAxes> axes = BuilderAxes(view);
    if (!axes)
        return false;
    const std::string refusal = SwitchRefusal(view, params);
    if (!refusal.empty()) {
        view.GetHost().ShowMessage(refusal);
        return false;
    }
    const std::array<CVector3, 4> corners =
        SwitchCorners(axes->g0, axes->g1, axes->n, params.m_width, params.m_height);

    CLevelRollback rollback(view);
    std::vector<int> changed{selection.m_sector};
    if (!BuildSwitch(view, params, *axes, corners, changed)) {
        rollback.Restore();
        view.GetHost().ShowMessage(kSwitchFailedText);
        return false;
    }
    ProcessSectors(view);
    for (const int sector : changed)
        RebuildSector(view, sector);
    // The rebuilds drop the picked grid nodes: the corners are picked until the user picks others.
    selection.m_pickedNodes.assign(corners.begin(), corners.end());
    return true;
}

bool RunCreateSwitchCommand(C3dView& view, const CSwitchParams& params)
{
    return RunUndoable(view, [&view, &params] { return CreateSwitch(view, params); });
}
