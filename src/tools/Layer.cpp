#include "tools/Layer.h"

bool CreateLayer(C3dView& /*view*/, const CLayerParams& /*params*/)
{
    return false;
}

void SplitLayerSurfaces(C3dView& /*view*/, std::span<const CVector3> /*polygon*/,
                        const CVector3& /*centre*/, bool /*relink*/)
{}

bool RunCreateLayerCommand(C3dView& /*view*/, const CLayerParams& /*params*/)
{
    return false;
}
