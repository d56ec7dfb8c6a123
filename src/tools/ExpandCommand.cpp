#include "tools/ExpandCommand.h"

#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/Undo.h"
#include "framework/Indices.h"
#include "level/QzlSections.h"

#include <cmath>
#include <string>

namespace {

// Where a field's value lives in the values.
struct CFieldPlace {
    float CExpandValues::*m_float = nullptr;
    int CExpandValues::*m_whole = nullptr;
};

CFieldPlace Place(EExpandField field)
{
    switch (field) {
    case EExpandField::Left:
        return {&CExpandValues::m_left};
    case EExpandField::Right:
        return {&CExpandValues::m_right};
    case EExpandField::Top:
        return {&CExpandValues::m_top};
    case EExpandField::Bottom:
        return {&CExpandValues::m_bottom};
    case EExpandField::Depth:
        return {&CExpandValues::m_depth};
    case EExpandField::CylinderHeight:
        return {&CExpandValues::m_cylinderHeight};
    case EExpandField::CylinderWidth:
        return {&CExpandValues::m_cylinderWidth};
    case EExpandField::CylinderSides:
        return {nullptr, &CExpandValues::m_cylinderSides};
    case EExpandField::CircleHeight:
        return {&CExpandValues::m_circleHeight};
    case EExpandField::CircleWidth:
        return {&CExpandValues::m_circleWidth};
    case EExpandField::CircleSides:
        return {nullptr, &CExpandValues::m_circleSides};
    }
    return {};
}

}  // namespace

CExpandValues ExpandDefaults(const CExpandBox& box)
{
    CExpandValues values;
    values.m_cylinderHeight = values.m_circleHeight = box.m_upPlus + box.m_upMinus;
    values.m_cylinderWidth = values.m_circleWidth = box.m_sideMinus + box.m_sidePlus;
    return values;
}

EExpandShape ExpandFieldShape(EExpandField field)
{
    switch (field) {
    case EExpandField::CylinderHeight:
    case EExpandField::CylinderWidth:
    case EExpandField::CylinderSides:
        return EExpandShape::Cylindrical;
    case EExpandField::CircleHeight:
    case EExpandField::CircleWidth:
    case EExpandField::CircleSides:
        return EExpandShape::Circular;
    default:
        return EExpandShape::Rectangular;
    }
}

bool ExpandFieldEnabled(EExpandField field, EExpandShape shape)
{
    return ExpandFieldShape(field) == shape;
}

bool ExpandFieldIsWhole(EExpandField field)
{
    return Place(field).m_whole != nullptr;
}

CExpandRange ExpandFieldRange(EExpandField field, const CExpandBox& box)
{
    const double largest = kExpandLargest;
    const double slack = kExpandSlack;
    switch (field) {
    case EExpandField::Depth:
        return {0.01, largest, 0.0};
    case EExpandField::CylinderHeight:
    case EExpandField::CircleHeight:
        return {static_cast<double>(box.m_upPlus + box.m_upMinus), largest, slack};
    case EExpandField::CylinderWidth:
    case EExpandField::CircleWidth:
        return {static_cast<double>(box.m_sideMinus + box.m_sidePlus), largest, slack};
    case EExpandField::CylinderSides:
        return {3.0, 24.0, 0.0};
    case EExpandField::CircleSides:
        return {6.0, 24.0, 0.0};
    default:
        return {0.0, largest, 0.0};
    }
}

bool ExpandValueInRange(EExpandField field, double value, const CExpandBox& box)
{
    if (!std::isfinite(value) || (ExpandFieldIsWhole(field) && value != std::floor(value)))
        return false;
    const CExpandRange range = ExpandFieldRange(field, box);
    // Compared as the builders compare: in single precision.
    const auto padded = static_cast<float>(value) + static_cast<float>(range.m_slack);
    return padded >= static_cast<float>(range.m_low) && padded <= static_cast<float>(range.m_high);
}

double ExpandFieldValue(const CExpandValues& values, EExpandField field)
{
    const CFieldPlace place = Place(field);
    return place.m_whole != nullptr ? values.*place.m_whole : values.*place.m_float;
}

void SetExpandFieldValue(CExpandValues& values, EExpandField field, double value)
{
    const CFieldPlace place = Place(field);
    if (place.m_whole != nullptr)
        values.*place.m_whole = static_cast<int>(value);
    else
        values.*place.m_float = static_cast<float>(value);
}

bool CanExpandSurface(const C3dView& view)
{
    const CSelection& selection = view.m_selection;
    return InRange(view.GetLevel().m_surfaces, selection.m_surface) &&
           selection.m_pickedNodes.size() == 2;
}

bool PrepareExpandSurface(C3dView& view, CExpandBox& box)
{
    CExpandFrame frame;
    std::string refusal;
    if (!GetExpandFrame(view, frame, refusal)) {
        if (!refusal.empty())
            view.GetHost().ShowMessage(refusal);
        return false;
    }
    box = frame.m_box;
    return true;
}

bool ExpandSurface(C3dView& view, const CExpandValues& values)
{
    switch (values.m_shape) {
    case EExpandShape::Rectangular:
        return ExpandSurfaceRect(view, values.m_depth, values.m_left, values.m_right, values.m_top,
                                 values.m_bottom);
    case EExpandShape::Cylindrical:
        return ExpandSurfaceCylinder(view, values.m_cylinderHeight, values.m_cylinderWidth,
                                     values.m_cylinderSides);
    case EExpandShape::Circular:
        return ExpandSurfaceCircle(view, values.m_circleHeight, values.m_circleWidth,
                                   values.m_circleSides);
    }
    return false;
}

bool RunExpandSurfaceCommand(C3dView& view, const CExpandValues& values)
{
    if (!CanExpandSurface(view))
        return false;
    return RunUndoable(view, [&] { return ExpandSurface(view, values); });
}
