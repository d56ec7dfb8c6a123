#include "app/ThingsView.h"

#include "app/ObjectFramesDlg.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/ThingModels.h"
#include "framework/Indices.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "math/Rounding.h"
#include "ui/DialogButtons.h"
#include "ui/FlagDialogs.h"
#include "ui/FormControls.h"
#include "ui/FormFields.h"
#include "ui/ScrollingForm.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace {

// The controls enabled only while the form shows a thing.
constexpr int kThingControls[] = {
    Ctl::kThingTemplateButton,
    Ctl::kThingFlagsButton,
    Ctl::kThingFramesButton,
    Ctl::kThingTemplate,
    Ctl::kThingPitch,
    Ctl::kThingRoll,
    Ctl::kThingYaw,
    Ctl::kThingFlags,
    Ctl::kThingX,
    Ctl::kThingY,
    Ctl::kThingZ,
    Ctl::kThingSector,
};
// Always disabled.
constexpr int kFrameCountControl[] = {Ctl::kThingFrameCount};

// The edits whose leaving applies the form.
constexpr int kAppliedOnLeave[] = {
    Ctl::kThingPitch, Ctl::kThingRoll,     Ctl::kThingYaw,   Ctl::kThingX,      Ctl::kThingY,
    Ctl::kThingZ,     Ctl::kThingTemplate, Ctl::kThingFlags, Ctl::kThingSector,
};

// Angles of a thing, in degrees.
constexpr float kAngleLimit = 180.0f;
// A coordinate moves by this per step of its spin; the six values are rounded to it.
constexpr float kSpinStep = 0.01f;
constexpr float kSpinScale = 100.0f;

}  // namespace

CThingsView::CThingsView(CQzEditDoc& doc, QWidget* parent) : CFormView(doc, kId, parent)
{
    QWidget& form = AddScrollingForm(*this);
    CFormLayout layout(form);
    QGridLayout& grid = layout.Grid();
    // The spin arrows stand beside their edit; the angles' up arrow raises the angle (their
    // range runs from -180 at the bottom to 180 at the top), the coordinates' lowers it (the
    // default range).
    const auto spinRow = [this, &form, &grid](int spin, bool upRaises) {
        QWidget* arrows = MakeSpinArrows(
            &form, spin, [this, spin](int delta) { OnSpin(spin, delta); }, upRaises);
        FitSpinArrows(*arrows, *grid.itemAtPosition(grid.rowCount() - 1, 1)->widget());
        grid.addWidget(arrows, grid.rowCount() - 1, 2);
    };
    layout.Edit(QStringLiteral("Object Number:"), Ctl::kThingNumber, true);
    layout.ButtonEdit(QStringLiteral("Template:"), Ctl::kThingTemplateButton, Ctl::kThingTemplate)
        ->setReadOnly(true);
    layout.Edit(QStringLiteral("X Postion:"), Ctl::kThingX);
    spinRow(Ctl::kThingXSpin, false);
    layout.Edit(QStringLiteral("YPostion:"), Ctl::kThingY);
    spinRow(Ctl::kThingYSpin, false);
    layout.Edit(QStringLiteral("ZPostion:"), Ctl::kThingZ);
    spinRow(Ctl::kThingZSpin, false);
    layout.Edit(QStringLiteral("Pitch:"), Ctl::kThingPitch);
    spinRow(Ctl::kThingPitchSpin, true);
    layout.Edit(QStringLiteral("Yaw:"), Ctl::kThingYaw);
    spinRow(Ctl::kThingYawSpin, true);
    layout.Edit(QStringLiteral("Roll:"), Ctl::kThingRoll);
    spinRow(Ctl::kThingRollSpin, true);
    layout.Edit(QStringLiteral("Sector:"), Ctl::kThingSector);
    layout.ButtonEdit(QStringLiteral("Object Flags:"), Ctl::kThingFlagsButton, Ctl::kThingFlags);
    layout.ButtonEdit(QStringLiteral("Object Frames:"), Ctl::kThingFramesButton,
                      Ctl::kThingFrameCount);
    layout.Finish();

    for (const int id : kAppliedOnLeave)
        OnFocusLeave(*form.findChild<QWidget*>(QString::number(id)), [this] { UpdateThing(); });
    const auto clicked = [this, &form](int id, void (CThingsView::*handler)()) {
        connect(form.findChild<QPushButton*>(QString::number(id)), &QPushButton::clicked, this,
                [this, handler] { (this->*handler)(); });
    };
    clicked(Ctl::kThingTemplateButton, &CThingsView::OnTemplate);
    clicked(Ctl::kThingFlagsButton, &CThingsView::OnObjectFlags);
    clicked(Ctl::kThingFramesButton, &CThingsView::OnObjectFrames);

    OnUpdate(nullptr, 0);
}

void CThingsView::DoDataExchange(CFieldExchange& exchange)
{
    exchange.Int(Ctl::kThingNumber, m_thingIndex);
    exchange.Float(Ctl::kThingPitch, m_pitch);
    exchange.FloatRange(Ctl::kThingPitch, m_pitch, -kAngleLimit, kAngleLimit);
    exchange.Float(Ctl::kThingRoll, m_roll);
    exchange.FloatRange(Ctl::kThingRoll, m_roll, -kAngleLimit, kAngleLimit);
    exchange.Int(Ctl::kThingSector, m_sector);
    // A thing stands in one of the level's sectors.
    const int sectors = static_cast<int>(Document().m_level->m_sectors.size());
    exchange.IntRange(Ctl::kThingSector, m_sector, 0, sectors - 1);
    exchange.Text(Ctl::kThingTemplate, m_template);
    exchange.Float(Ctl::kThingX, m_x);
    exchange.Float(Ctl::kThingYaw, m_yaw);
    exchange.FloatRange(Ctl::kThingYaw, m_yaw, -kAngleLimit, kAngleLimit);
    exchange.Float(Ctl::kThingY, m_y);
    exchange.Float(Ctl::kThingZ, m_z);
    exchange.Hex(Ctl::kThingFlags, m_flags);
    exchange.Int(Ctl::kThingFrameCount, m_frameCount);
}

void CThingsView::PushToControls()
{
    CFieldExchange exchange(*this, CFieldExchange::EDirection::ToControls);
    DoDataExchange(exchange);
}

void CThingsView::OnUpdate(CDocView*, long)
{
    const C3dView* engine = Document().m_pEngine;
    const CQzlSections& level = *Document().m_level;
    const int current = engine != nullptr ? engine->m_selection.m_thing : -1;
    if (InRange(level.m_things, current)) {
        const CQzlThing& thing = *At(level.m_things, current);
        m_thingIndex = current;
        m_template = ToLowerAscii(thing.m_template);
        m_flags = thing.m_thingFlags;
        m_x = thing.m_position.x;
        m_y = thing.m_position.y;
        m_z = thing.m_position.z;
        m_pitch = thing.m_pitch;
        m_yaw = thing.m_yaw;
        m_roll = thing.m_roll;
        m_sector = thing.m_sector;
        m_frameCount = static_cast<int>(thing.m_frames.size());
        m_frames = thing.m_frames;
    } else {
        m_thingIndex = -1;
    }

    EnableControls(*this, kThingControls, m_thingIndex >= 0);
    EnableControls(*this, kFrameCountControl, false);
    PushToControls();
}

bool CThingsView::ShowsCurrentThing() const
{
    const C3dView* engine = Document().m_pEngine;
    return engine != nullptr && m_thingIndex >= 0 && m_thingIndex == engine->m_selection.m_thing &&
           InRange(Document().m_level->m_things, m_thingIndex);
}

bool CThingsView::UpdateThing()
{
    const bool read =
        ReadFields(*this, m_applying, [this](CFieldExchange& fields) { DoDataExchange(fields); });
    // A field that does not read leaves the record as it was; so does a form that shows another
    // thing than the current one.
    if (!read || !ShowsCurrentThing())
        return false;

    C3dView& engine = *Document().m_pEngine;
    CQzlSections& level = *Document().m_level;
    CQzlThing& thing = *At(level.m_things, m_thingIndex);
    m_template = ToUpperAscii(m_template);
    const CVector3 before = thing.m_position;
    thing.m_template = m_template;
    thing.m_name = m_template;
    thing.m_thingFlags = m_flags;
    thing.m_yaw = m_yaw;
    thing.m_roll = m_roll;
    thing.m_pitch = m_pitch;
    thing.m_position = {m_x, m_y, m_z};
    thing.m_sector = m_sector;
    // The path moves with the thing.
    const CVector3 moved = thing.m_position - before;
    thing.m_frames.clear();
    for (CWorldVertex frame : m_frames) {
        frame.x += moved.x;
        frame.y += moved.y;
        frame.z += moved.z;
        thing.m_frames.push_back(frame);
    }
    // The form's copy follows the record: the next apply starts from the path as it now is.
    m_frames = thing.m_frames;

    if (engine.GetGame().m_archive != nullptr) {
        const std::string colorMap =
            level.m_colormaps.empty() ? std::string() : ToLowerAscii(level.m_colormaps[0]);
        const CQzEditView::CDeviceScope scope(Document().View3d());
        CreateThingModel(engine, m_thingIndex, colorMap, false);
    }
    // The record changed, whether or not its model could be made anew.
    Document().SetModifiedFlag(true);
    Document().UpdateAllViews(this);
    return true;
}

bool CThingsView::ApplyFrames(const std::vector<CWorldVertex>& frames)
{
    // The form as the record stands now (a frame shown in the 3D view has moved the thing), so
    // that the path does not move by the difference.
    OnUpdate(nullptr, 0);
    m_frames = frames;
    m_frameCount = static_cast<int>(frames.size());
    PushToControls();
    return UpdateThing();
}

void CThingsView::OnSpin(int spin, int delta)
{
    if (!ShowsCurrentThing())
        return;
    const auto turn = [delta](float& angle) {
        const float candidate = angle + static_cast<float>(delta);
        if (candidate >= -kAngleLimit && candidate <= kAngleLimit)
            angle = candidate;
    };
    switch (spin) {
    case Ctl::kThingXSpin:
        m_x += kSpinStep * static_cast<float>(delta);
        break;
    case Ctl::kThingYSpin:
        m_y += kSpinStep * static_cast<float>(delta);
        break;
    case Ctl::kThingZSpin:
        m_z += kSpinStep * static_cast<float>(delta);
        break;
    case Ctl::kThingPitchSpin:
        turn(m_pitch);
        break;
    case Ctl::kThingYawSpin:
        turn(m_yaw);
        break;
    case Ctl::kThingRollSpin:
        turn(m_roll);
        break;
    default:
        return;
    }
    for (float* value : {&m_x, &m_y, &m_z, &m_pitch, &m_roll, &m_yaw})
        *value = RoundToStep(*value, kSpinScale);
    PushToControls();

    C3dView& engine = *Document().m_pEngine;
    CQzlThing& thing = *At(Document().m_level->m_things, m_thingIndex);
    const CVector3 moved = CVector3{m_x, m_y, m_z} - thing.m_position;
    // The record's path and the form's copy of it move alike, so that a later apply keeps the
    // move.
    for (std::vector<CWorldVertex>* path : {&thing.m_frames, &m_frames})
        for (CWorldVertex& frame : *path) {
            frame.x += moved.x;
            frame.y += moved.y;
            frame.z += moved.z;
        }
    {
        const CQzEditView::CDeviceScope scope(Document().View3d());
        SetThingOrientation(engine, m_thingIndex, m_x, m_y, m_z, m_yaw, m_roll, m_pitch);
    }
    Document().SetModifiedFlag(true);
}

void CThingsView::OnTemplate()
{
    if (!ShowsCurrentThing())
        return;
    CQzlThing& thing = *At(Document().m_level->m_things, m_thingIndex);
    // The picker may show another model in the thing while it is open.
    C3doModel* const model = thing.m_model;
    const std::optional<CTemplateChoice> chosen = Document().PickTemplate(m_template, kPickInLevel);
    if (!chosen) {
        if (ShowsCurrentThing())
            At(Document().m_level->m_things, m_thingIndex)->m_model = model;
        return;
    }
    m_template = chosen->m_name;
    PushToControls();
    UpdateThing();
}

void CThingsView::OnObjectFlags()
{
    if (!EditFlagsInDialog(ObjectFlagsTemplate(), m_flags, this))
        return;
    PushToControls();
    UpdateThing();
}

void CThingsView::OnObjectFrames()
{
    C3dView* engine = Document().m_pEngine;
    if (engine == nullptr || !InRange(Document().m_level->m_things, m_thingIndex))
        return;
    // The window open before goes, its playback ended first.
    if (CObjectFramesDlg* open = Document().ObjectFramesWindow())
        open->EndPlayback();
    auto* window = new CObjectFramesDlg(m_frames, m_thingIndex, *engine, *this);
    Document().SetObjectFramesWindow(window);
    window->show();
}
