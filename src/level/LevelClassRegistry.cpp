#include "level/LevelClassRegistry.h"

#include "level/QzlAdjoin.h"
#include "level/QzlCog.h"
#include "level/QzlHeader.h"
#include "level/QzlMaterial.h"
#include "level/QzlSector.h"
#include "level/QzlSurface.h"
#include "level/QzlTemplate.h"
#include "level/QzlThing.h"
#include "level/QzlVertex.h"
#include "resources/Tree.h"
#include "resources/TreeObject.h"

const CClassRegistry& LevelClassRegistry()
{
    static const CClassRegistry registry = [] {
        CClassRegistry r;
        r.Add(g_classCObArray);
        r.Add(CQzlHeader::StaticClass());
        r.Add(CQzlMaterial::StaticClass());
        r.Add(CQzlAdjoin::StaticClass());
        r.Add(CQzlVertex::StaticClass());
        r.Add(CQzlSurface::StaticClass());
        r.Add(CQzlSector::StaticClass());
        r.Add(CQzlTemplate::StaticClass());
        r.Add(CQzlCog::StaticClass());
        r.Add(CQzlThing::StaticClass());
        r.Add(CTreeObject::StaticClass());
        r.Add(CTree::StaticClass());
        return r;
    }();
    return registry;
}
