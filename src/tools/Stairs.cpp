#include "tools/Stairs.h"

#include "edit/SplitSurface.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/GridPoints.h"
#include "engine/Undo.h"
#include "engine/Visibility.h"
#include "framework/DocumentState.h"
#include "framework/Indices.h"
#include "level/QzlSections.h"
#include "math/Vector3.h"
#include "tools/ExpandSurface.h"
#include "tools/Extrude.h"
#include "tools/LevelRollback.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

// Cuts the current surface, the end of the step before, where the front of the next step
// (shifted by rise along A) will meet it, and makes the piece it covers current. The strip left
// beside it stays a solid riser. False, with its message, when the frame gives no up direction
// or the shift leaves nothing of the surface to join.
bool CutToNextStep(C3dView& view, float rise)
{
    CExpandFrame frame;
    std::string refusal;
    if (!GetExpandFrame(view, frame, refusal)) {
        if (!refusal.empty())
            view.GetHost().ShowMessage(refusal);
        return false;
    }
    const float height = frame.m_box.m_upPlus + frame.m_box.m_upMinus;
    if (std::fabs(rise) + kStairsJoinSlack >= height) {
        view.GetHost().ShowMessage(kStairsNoOverlap);
        return false;
    }
    // The line of the cut: the next step's lower edge going up, its upper edge going down.
    const float offset = rise > 0.0f ? rise - frame.m_box.m_upMinus : frame.m_box.m_upPlus + rise;
    const CVector3 point = frame.m_centre + frame.m_up * offset;
    const float reach = frame.m_box.m_sideMinus + frame.m_box.m_sidePlus + 1.0f;
    CSelection& selection = view.m_selection;
    selection.m_pickedNodes = {point - frame.m_side * reach, point + frame.m_side * reach};
    CDocumentState& document = view.GetDocument();
    document.m_gridOn = 1;
    const bool split = SplitSurface(view, true);
    document.m_gridOn = 0;
    if (!split) {
        view.GetHost().ShowMessage(kStairsNoOverlap);
        return false;
    }
    // Of the two pieces, the one on the side the steps climb (or descend) towards.
    const CQzlSections& level = view.GetLevel();
    const int kept = selection.m_surface;
    const int added = static_cast<int>(level.m_surfaces.size()) - 1;
    const float keptSide = Dot(SurfaceCentroid(level, kept) - point, frame.m_up);
    selection.m_surface = (keptSide > 0.0f) == (rise > 0.0f) ? kept : added;
    return true;
}

}  // namespace

bool CreateStairs(C3dView& view, int count, float totalHeight, float totalDepth, bool up)
{
    if (count < 1)
        return false;
    const std::vector<CVector3> nodes = view.m_selection.m_pickedNodes;
    CLevelRollback rollback(view);
    const float depth = totalDepth / static_cast<float>(count);
    const float rise =
        up ? totalHeight / static_cast<float>(count) : -(totalHeight / static_cast<float>(count));

    CExtrudeParams first;
    first.m_depth = depth;
    if (!ExtrudeSurface(view, first))
        return false;
    for (int step = 1; step < count; ++step) {
        // Each step reads the nodes the user picked, whatever the one before left picked.
        view.m_selection.m_pickedNodes = nodes;
        bool made = CutToNextStep(view, rise);
        if (made) {
            view.m_selection.m_pickedNodes = nodes;
            // The piece is the next step's front less the shift: the box grows by the shift on
            // that side only, and so stands rise against the step before.
            made = ExpandSurfaceRect(view, depth, 0.0f, 0.0f, rise > 0.0f ? rise : 0.0f,
                                     rise < 0.0f ? -rise : 0.0f);
        }
        if (!made) {
            rollback.Restore();
            return false;
        }
    }
    view.m_selection.m_pickedNodes = nodes;
    ProcessSectors(view);
    view.GetHost().UpdateAllViews(0);
    return true;
}

bool RunCreateStairsCommand(C3dView& view, const CStairsParams& params)
{
    return RunUndoable(view, [&] {
        return CreateStairs(view, params.m_count, params.m_totalHeight, params.m_totalDepth,
                            params.m_up);
    });
}
