#include "episode/CleanUp.h"

bool CleanUpLevel(C3dView&)
{
    return false;
}
