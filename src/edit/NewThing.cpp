#include "edit/NewThing.h"

#include "engine/3doModel.h"
#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/EngineHost.h"
#include "engine/ThingModels.h"
#include "framework/Indices.h"
#include "framework/Settings.h"
#include "framework/StringUtil.h"
#include "level/QzlSections.h"
#include "math/BoundingBox.h"

#include <string>

void ShowNewThing(C3dView& view, int thingIndex)
{
    CQzlSections& level = view.GetLevel();
    if (!InRange(level.m_things, thingIndex))
        return;
    const std::string colormap =
        level.m_colormaps.empty() ? std::string() : ToLowerAscii(level.m_colormaps.front());
    CreateThingModel(view, thingIndex, colormap, false);

    CQzlThing& thing = *At(level.m_things, thingIndex);
    C3doModel* model = thing.m_model;
    if (model == nullptr)
        return;
    if (model->m_nodes.empty()) {
        model->BuildGhost(view.GetSettings().m_colorGhost);
        model->m_boundsValid = 0;
        ComputeThingBounds(view, thing);
    }

    const float radius = BoxRadius(model->m_bounds);
    const CVector3 position =
        view.m_camera.m_position - view.m_camera.m_forwardAxis * (2.0f * radius);
    SetCameraPosition(view, position.x, position.y, position.z);
    view.GetHost().RequestFrame(true);
}
