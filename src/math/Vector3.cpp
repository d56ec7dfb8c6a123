#include "math/Vector3.h"

float ParamAlongSegment(const CVector3& a, const CVector3& b, const CVector3& p)
{
    const CVector3 d = b - a;
    const float ax = std::fabs(d.x);
    const float ay = std::fabs(d.y);
    const float az = std::fabs(d.z);
    if (ax > ay && ax > az)
        return (p.x - a.x) / d.x;
    if (ay > ax && ay > az)
        return (p.y - a.y) / d.y;
    if (az > 0.0f)
        return (p.z - a.z) / d.z;
    return 0.0f;
}
