#include "math/BoundingBox.h"

float BoxRadius(const CBoundingBox& box)
{
    const CVector3 centre = (box.min + box.max) / 2.0f;
    const float toMin = VectorLength(centre - box.min);
    const float toMax = VectorLength(box.max - centre);
    return toMin > toMax ? toMin : toMax;
}
