#include "tools/Pyramid.h"

#include "engine/C3dView.h"

bool CreatePyramid(C3dView& /*view*/, const CRaisedShape& /*shape*/)
{
    return false;
}

bool BuildPyramid(C3dView& /*view*/, const CRaisedShape& /*shape*/,
                  const CPyramidOptions& /*options*/)
{
    return false;
}

void FanTriangulateSurface(C3dView& /*view*/, const CVector3& /*centre*/, bool /*rebuild*/) {}
