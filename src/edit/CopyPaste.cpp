#include "edit/CopyPaste.h"

#include "edit/NewThing.h"
#include "edit/SelectionDelete.h"
#include "edit/SurfaceLook.h"
#include "engine/C3dView.h"
#include "engine/Questions.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "framework/Indices.h"
#include "level/QzlSections.h"

#include <memory>

bool PasteSurface(C3dView& view, const CQzlSurface& source)
{
    CQzlSections& level = view.GetLevel();
    const CSelection& selection = view.m_selection;
    if (!InRange(level.m_surfaces, selection.m_surface))
        return false;
    CopySurfaceAttributes(view, selection.m_sector, *At(level.m_surfaces, selection.m_surface),
                          source);
    RebuildSurfaceVertices(view, selection.m_sector, selection.m_surface, true);
    return true;
}

bool PasteThing(C3dView& view, const CQzlThing& source)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    if (!InRange(level.m_sectors, selection.m_sector))
        return false;
    std::unique_ptr<CQzlThing> thing = CopyStoredThing(source);
    const CVector3& focus = view.m_camera.m_focusPoint;
    SnapPoint(view, thing->m_position, focus.x, focus.y, focus.z);
    thing->m_sector = selection.m_sector;
    level.m_things.push_back(std::move(thing));
    const auto index = static_cast<std::int32_t>(level.m_things.size() - 1);
    selection.m_thing = index;
    ShowNewThing(view, index);
    return true;
}

bool CanCopy(const C3dView& view)
{
    return view.m_selection.m_surface >= 0 || view.m_selection.m_thing >= 0;
}

bool CanCut(const C3dView& view)
{
    return CanCopy(view);
}

bool CanPaste(const C3dView& view)
{
    const CSelection& selection = view.m_selection;
    return (selection.m_surface >= 0 && view.m_clipboard.m_surface != nullptr) ||
           (selection.m_sector >= 0 && view.m_clipboard.m_thing != nullptr);
}

bool RunCopyCommand(C3dView& view)
{
    const CQzlSections& level = view.GetLevel();
    const CSelection& selection = view.m_selection;
    CClipboard& clipboard = view.m_clipboard;
    clipboard.m_thing.reset();
    clipboard.m_surface.reset();
    if (InRange(level.m_things, selection.m_thing)) {
        clipboard.m_thing = CopyStoredThing(*At(level.m_things, selection.m_thing));
        return true;
    }
    if (InRange(level.m_surfaces, selection.m_surface)) {
        clipboard.m_surface =
            std::make_unique<CQzlSurface>(*At(level.m_surfaces, selection.m_surface), true, false);
        return true;
    }
    return false;
}

bool RunCutCommand(C3dView& view, const CCutDeletes& deletes)
{
    if (!CanCut(view) || !RunCopyCommand(view))
        return false;
    const bool thing = view.m_clipboard.m_thing != nullptr;
    const std::function<bool(C3dView&)>& remove = thing ? deletes.m_thing : deletes.m_surface;
    if (!remove)
        return false;
    if (!Confirm(view, thing ? "Do you want to delete the current object?"
                             : "Do you want to delete the current surface?"))
        return false;
    return RunUndoable(view, [&view, &remove] { return remove(view); });
}

bool RunCutCommand(C3dView& view)
{
    return RunCutCommand(view, CCutDeletes{DeleteSelectedSurface, DeleteSelectedThing});
}

bool RunPasteCommand(C3dView& view)
{
    if (!CanPaste(view))
        return false;
    const CClipboard& clipboard = view.m_clipboard;
    if (view.m_selection.m_surface < 0 && clipboard.m_thing != nullptr)
        return RunUndoable(view,
                           [&view, &clipboard] { return PasteThing(view, *clipboard.m_thing); });
    if (view.m_selection.m_surface >= 0 && clipboard.m_surface != nullptr)
        return RunUndoable(
            view, [&view, &clipboard] { return PasteSurface(view, *clipboard.m_surface); });
    return false;
}
