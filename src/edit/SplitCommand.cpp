#include "edit/SplitCommand.h"

#include "edit/SplitSector.h"
#include "edit/SplitSurface.h"
#include "engine/C3dView.h"
#include "engine/Questions.h"
#include "engine/Undo.h"
#include "framework/DocumentState.h"

bool CanRunSplitCommand(const C3dView& view)
{
    if (view.GetDocument().m_sectorMode != 0)
        return view.m_selection.m_sector >= 0 && CanSplitSector(view);
    return view.m_selection.m_surface >= 0 && CanSplitSurface(view);
}

bool RunSplitCommand(C3dView& view)
{
    if (!CanRunSplitCommand(view))
        return false;
    if (view.GetDocument().m_sectorMode != 0) {
        if (!Confirm(view, "Do you want to split the current sector?"))
            return false;
        return RunUndoable(view, [&view] { return SplitSector(view, true); });
    }
    if (!Confirm(view, "Do you want to split the current surface?"))
        return false;
    return RunUndoable(view, [&view] { return SplitSurface(view, true); });
}
