#include "tools/Dome.h"

std::vector<CDomeRing> DomeRingSteps(float /*depth*/, int /*splits*/, float /*radius*/)
{
    return {};
}

bool CreateDome(C3dView& /*view*/, const CDomeParams& /*params*/)
{
    return false;
}

bool RunCreateDomeCommand(C3dView& /*view*/, const CDomeParams& /*params*/)
{
    return false;
}
