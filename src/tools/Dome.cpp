#include "tools/Dome.h"

#include "edit/Merge.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/Undo.h"
#include "framework/Indices.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"
#include "tools/BuiltShape.h"
#include "tools/Extrude.h"
#include "tools/Layer.h"
#include "tools/LevelRollback.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

constexpr float kPi = 3.1415927f;

// The greatest distance of the surface's corners from the line through the two picked grid
// nodes, in the surface's plane; 0 unless exactly two nodes apart are picked.
float DomeRadius(const CQzlSections& level, int surface, const std::vector<CVector3>& nodes)
{
    if (nodes.size() != 2)
        return 0.0f;
    const float length = VectorLength(nodes[1] - nodes[0]);
    if (length < 0.0001f)
        return 0.0f;
    const CQzlSurface& face = *level.m_surfaces[surface];
    const CVector3 across = VectorCross((nodes[1] - nodes[0]) / length, face.m_normal);
    float radius = 0.0f;
    for (const CQzlVertex& corner : face.m_vertices)
        radius = std::max(
            radius, std::fabs(Dot(across, WorldPosition(level, corner.m_worldVertex) - nodes[0])));
    return radius;
}

// The outside dome: each ring extruded from the end surface of the one before, then merged
// into the sector it started from. True when a ring was made.
bool BuildOutside(C3dView& view, const CDomeParams& params, const std::vector<CDomeRing>& rings,
                  const std::vector<CVector3>& nodes)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    const std::int32_t first = selection.m_sector;
    const auto existing = static_cast<std::int32_t>(level.m_sectors.size());
    const std::int32_t material =
        InRange(level.m_materials, params.m_look.m_material) ? params.m_look.m_material : -1;
    for (const CDomeRing& ring : rings) {
        if (!InRange(level.m_surfaces, selection.m_surface))
            break;
        CQzlSurface& surface = *level.m_surfaces[selection.m_surface];
        const std::int32_t oldMaterial = surface.m_material;
        const float oldSize[4] = {surface.m_textureWidth, surface.m_textureHeight, surface.m_xTile,
                                  surface.m_yTile};
        surface.m_material = material;
        surface.m_textureWidth = params.m_look.m_textureWidth;
        surface.m_textureHeight = params.m_look.m_textureHeight;
        surface.m_xTile = params.m_look.m_xTile;
        surface.m_yTile = params.m_look.m_yTile;
        CExtrudeParams extrude;
        extrude.m_depth = ring.m_height;
        extrude.m_indent = ring.m_indent;
        extrude.m_type = EExtrudeType::NewSector;
        extrude.m_indentAcross = params.m_curveAroundUp;
        extrude.m_indentAlong = params.m_curveAroundPlane;
        if (!ExtrudeSurface(view, extrude)) {
            // The refused ring keeps its look, and the rings after it would grow from the same
            // surface: the dome stops here.
            surface.m_material = oldMaterial;
            surface.m_textureWidth = oldSize[0];
            surface.m_textureHeight = oldSize[1];
            surface.m_xTile = oldSize[2];
            surface.m_yTile = oldSize[3];
            break;
        }
        selection.m_pickedNodes = nodes;
    }
    const bool made = static_cast<std::int32_t>(level.m_sectors.size()) > existing;
    // Exactly the rings made are merged, each into the sector the first grew from.
    while (static_cast<std::int32_t>(level.m_sectors.size()) > existing)
        if (!MergeSectors(view, first, existing))
            break;
    selection.m_surface = -1;
    selection.m_vertexSurface = -1;
    return made;
}

}  // namespace

std::vector<CDomeRing> DomeRingSteps(float depth, int splits, float radius)
{
    std::vector<CDomeRing> rings;
    if (splits < 1)
        return rings;
    const auto n = static_cast<float>(splits);
    if (radius == 0.0f) {
        for (int i = 0; i < splits; ++i) {
            const float height = std::cos(static_cast<float>(i) * kPi * 0.5f / n) * depth / n;
            const float q = depth * depth / (n * n) - height * height;
            rings.push_back({height, q < 0.0f ? 0.0f : std::sqrt(q)});
        }
        return rings;
    }
    float lastHeight = 0.0f;  // H(i - 1)
    float lastIndent = 0.0f;  // radius - R(i - 1)
    for (int i = 0; i < splits; ++i) {
        const auto fi = static_cast<float>(i);
        const float h = std::cos((n - fi - 1.0f) * kPi * 0.5f / n) * depth;
        const float r = std::sin((n - fi) * kPi * 0.5f / (n + 1.0f)) * radius;
        rings.push_back({h - lastHeight, (radius - r) - lastIndent});
        lastHeight = h;
        lastIndent = radius - r;
    }
    return rings;
}

bool CreateDome(C3dView& view, const CDomeParams& params)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    if (!InRange(level.m_sectors, selection.m_sector) ||
        !InRange(level.m_surfaces, selection.m_surface) || params.m_splits < 1)
        return false;
    const CWaitCursorScope wait(view.GetHost());
    const std::vector<CVector3> nodes = selection.m_pickedNodes;
    const float radius = DomeRadius(level, selection.m_surface, nodes);
    const std::vector<CDomeRing> rings = DomeRingSteps(params.m_depth, params.m_splits, radius);
    bool changed = false;
    if (params.m_outside) {
        const std::int32_t first = selection.m_sector;
        const auto existing = static_cast<std::int32_t>(level.m_sectors.size());
        CLevelRollback rollback(view);
        const CSoundnessCheck soundness(level, first);
        changed = BuildOutside(view, params, rings, nodes);
        std::vector<std::int32_t> made{first};
        for (auto s = existing; s < static_cast<std::int32_t>(level.m_sectors.size()); ++s)
            made.push_back(s);
        if (changed && !soundness.Holds(level, SectorsAndNeighbours(level, made))) {
            rollback.Restore();
            view.GetHost().ShowMessage(kDomeShapeText);
            return false;
        }
    } else {
        for (const CDomeRing& ring : rings)
            changed = CreateLayer(view, {ring.m_height, ring.m_indent, params.m_look}) || changed;
    }
    view.GetHost().UpdateAllViews(0);
    return changed;
}

bool RunCreateDomeCommand(C3dView& view, const CDomeParams& params)
{
    return RunUndoable(view, [&] { return CreateDome(view, params); });
}
