#include "tools/ExtrudeChoices.h"

#include "framework/CFormat.h"

#include <charconv>
#include <cmath>

namespace {

bool MakesNewSector(EExtrudeType type)
{
    return type == EExtrudeType::NewSector || type == EExtrudeType::NewSectorHidden;
}

}  // namespace

CExtrudeEnables ExtrudeDialogEnables(EExtrudeType type, bool allVertices, bool twoNodes)
{
    CExtrudeEnables enables;
    enables.depth = type != EExtrudeType::ConnectOpposite;
    enables.connectOpposite = twoNodes;
    enables.angles = twoNodes && type != EExtrudeType::KeepWithSector;
    enables.shapes = twoNodes && MakesNewSector(type);
    enables.indent = allVertices && MakesNewSector(type);
    enables.moreDepths = !allVertices && MakesNewSector(type);
    enables.firstVertex = !twoNodes;
    return enables;
}

std::string ExtrudeRangeText(const CExtrudeRange& range)
{
    return FormatC("Please enter a number between %g and %g.", static_cast<double>(range.low),
                   static_cast<double>(range.high));
}

std::optional<float> ReadExtrudeField(std::string_view text, const CExtrudeRange& range)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    float value = 0.0f;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    if (value < range.low || value > range.high)
        return std::nullopt;
    return value;
}

CExtrudeParams ExtrudeParamsFromDialog(const CExtrudeDialogValues& values)
{
    CExtrudeParams params;
    params.m_depth = values.depth;
    params.m_indent = values.indent;
    params.m_upDownAngle = values.upDownAngle;
    params.m_leftRightAngle = values.leftRightAngle;
    params.m_type = values.type;
    params.m_depth2 = values.depth2;
    params.m_depth3 = values.depth3;
    params.m_vertex1 = values.firstSelection - 1;
    params.m_vertex2 = values.secondSelection;
    params.m_vertex3 = values.thirdSelection;
    params.m_shape = values.shape;
    params.m_indentAcross = true;
    params.m_indentAlong = true;
    return params;
}

bool ExtrudeVerticesDiffer(const CExtrudeParams& params)
{
    if (params.m_vertex1 == -1)
        return true;
    return params.m_vertex1 != params.m_vertex2 && params.m_vertex1 != params.m_vertex3 &&
           params.m_vertex2 != params.m_vertex3;
}
