#include "tools/ShapeCommands.h"

#include "engine/Undo.h"
#include "tools/Column.h"
#include "tools/Pyramid.h"

bool RunCreateColumnCommand(C3dView& view, const CRaisedShape& shape)
{
    return RunUndoable(view, [&] { return CreateColumn(view, shape); });
}

bool RunCreatePyramidCommand(C3dView& view, const CRaisedShape& shape)
{
    return RunUndoable(view, [&] { return CreatePyramid(view, shape); });
}
