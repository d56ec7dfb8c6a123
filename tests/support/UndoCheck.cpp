#include "support/UndoCheck.h"

#include "engine/C3dView.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "level/QzeFile.h"
#include "level/UndoSnapshot.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct CViewPart {
    std::int32_t sector;
    std::int32_t surface;
    std::int32_t thing;
    std::int32_t vertex;
    std::int32_t vertexSurface;
    CVector3 position;
    CVector3 forward;
    CVector3 up;
    friend bool operator==(const CViewPart&, const CViewPart&) = default;
};

CViewPart ViewPart(const C3dView& view)
{
    const CSelection& s = view.m_selection;
    return {s.m_sector,
            s.m_surface,
            s.m_thing,
            s.m_vertex,
            s.m_vertexSurface,
            view.m_camera.m_position,
            view.m_camera.m_forwardAxis,
            view.m_camera.m_upAxis};
}

// Empty when the bytes are equal, else where they part.
std::string Difference(const Bytes& got, const Bytes& want)
{
    if (got == want)
        return {};
    const auto first = std::mismatch(got.begin(), got.end(), want.begin(), want.end());
    return "the level bytes differ from byte " + std::to_string(first.first - got.begin()) +
           " on (" + std::to_string(got.size()) + " bytes, " + std::to_string(want.size()) +
           " expected)";
}

}  // namespace

std::vector<std::uint8_t> SnapshotBytes(const CQzlSections& level)
{
    return WriteUndoableBytes(level);
}

::testing::AssertionResult UndoGivesBackExactBytes(C3dView& view,
                                                   const std::function<bool()>& operation)
{
    CQzlSections& level = view.GetLevel();
    // The level as the editor shows it: every sector built once. Its material list stays as the
    // test made it, so that a level holding an unused material (as a delete can leave) is undone
    // and redone as well.
    RebuildAll(view, false, ERebuildAll::Restore);
    const Bytes before = WriteLevelBytes(level);
    const CViewPart viewBefore = ViewPart(view);
    if (!RunUndoable(view, operation))
        return ::testing::AssertionFailure() << "the operation was refused";
    const Bytes after = WriteLevelBytes(level);
    const CViewPart viewAfter = ViewPart(view);

    if (!UndoCommand(view))
        return ::testing::AssertionFailure() << "Undo found no step to restore";
    std::string difference = Difference(WriteLevelBytes(level), before);
    if (!difference.empty())
        return ::testing::AssertionFailure() << "after Undo " << difference;
    if (!(ViewPart(view) == viewBefore))
        return ::testing::AssertionFailure()
               << "after Undo the selection or the camera differs from before the operation";

    if (!RedoCommand(view))
        return ::testing::AssertionFailure() << "Redo found no step to restore";
    difference = Difference(WriteLevelBytes(level), after);
    if (!difference.empty())
        return ::testing::AssertionFailure() << "after Redo " << difference;
    if (!(ViewPart(view) == viewAfter))
        return ::testing::AssertionFailure()
               << "after Redo the selection or the camera differs from after the operation";
    return ::testing::AssertionSuccess();
}
