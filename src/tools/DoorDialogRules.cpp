#include "tools/DoorDialogRules.h"

CDoorDialogEnables DoorDialogEnables(const CDoorDialogValues& values)
{
    CDoorDialogEnables e;
    e.m_frontDepth = values.m_frontSunken;
    e.m_connect = values.m_backSunken;
    e.m_backDepth = values.m_backSunken && !values.m_connect;
    e.m_ok = values.m_x > 0.0f && values.m_y > 0.0f && values.m_z > 0.0f;
    return e;
}

CDoorParams DoorParamsFromDialog(const CDoorDialogValues& values)
{
    CDoorParams p;
    p.m_template = values.m_template;
    p.m_width = values.m_x;
    p.m_height = values.m_y;
    p.m_thickness = values.m_z;
    p.m_frontDepth = values.m_frontSunken ? values.m_frontDepth : 0.0f;
    p.m_backDepth = values.m_backSunken ? values.m_backDepth : 0.0f;
    p.m_connect = values.m_backSunken && values.m_connect;
    p.m_direction = values.m_direction;
    return p;
}
