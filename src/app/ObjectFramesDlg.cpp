#include "app/ObjectFramesDlg.h"

#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "app/ThingsView.h"
#include "engine/3doModel.h"
#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/EngineHost.h"
#include "engine/ThingModels.h"
#include "framework/CFormat.h"
#include "framework/Indices.h"
#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/FormControls.h"
#include "ui/FormFields.h"
#include "ui/UiServices.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

namespace {

constexpr unsigned int kHelpContext = 0x20000u + CObjectFramesDlg::kId;

// The fields and buttons that need a selected frame, and those of them that also need a model.
constexpr int kFrameControls[] = {
    Ctl::kFrameX,   Ctl::kFrameY,    Ctl::kFrameZ,      Ctl::kFramePitch,
    Ctl::kFrameYaw, Ctl::kFrameRoll, Ctl::kDeleteFrame,
};
constexpr int kModelControls[] = {
    Ctl::kProposeTop,
    Ctl::kProposeBottom,
    Ctl::kProposeLeft,
    Ctl::kProposeRight,
};

constexpr double kLowestRate = 1.0;
constexpr double kHighestRate = 20.0;

// The angles of a frame as this window shows them: roll, pitch, yaw in the fourth to sixth float.
constexpr std::size_t kRoll = 0;
constexpr std::size_t kPitch = 1;
constexpr std::size_t kYaw = 2;

QString FrameLine(std::size_t index)
{
    return QString::fromStdString(FormatC("Frame %d", static_cast<int>(index) + 1));
}

}  // namespace

CObjectFramesDlg::CObjectFramesDlg(std::vector<CWorldVertex> frames, int thing, C3dView& engine,
                                   CThingsView& view)
    : QDialog(&view), m_doc(view.Document()), m_view(view), m_engine(&engine), m_thing(thing),
      m_frames(std::move(frames))
{
    setObjectName(QString::number(kId));
    setWindowTitle(QStringLiteral("Object Frames"));
    setModal(false);

    auto* top = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    m_list = new QListWidget(this);
    m_list->setObjectName(QString::number(Ctl::kFrameList));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setMinimumSize(DialogUnits(*this, 60, 80));
    left->addWidget(m_list);
    const auto button = [this](const QString& caption, int id, std::function<void()> handler) {
        auto* pushButton = new QPushButton(caption, this);
        pushButton->setObjectName(QString::number(id));
        pushButton->setAutoDefault(false);
        connect(pushButton, &QPushButton::clicked, this, std::move(handler));
        return pushButton;
    };
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(button(QStringLiteral("&Add"), Ctl::kAddFrame, [this] { OnAdd(); }));
    listButtons->addWidget(
        button(QStringLiteral("&Delete"), Ctl::kDeleteFrame, [this] { OnDelete(); }));
    left->addLayout(listButtons);
    top->addLayout(left);

    auto* middle = new QVBoxLayout;
    auto* fields = new QGridLayout;
    const auto edit = [this, fields](const QString& caption, int id) {
        auto* label = new QLabel(caption, this);
        auto* line = new QLineEdit(this);
        line->setObjectName(QString::number(id));
        label->setBuddy(line);
        const int row = fields->rowCount();
        fields->addWidget(label, row, 0);
        fields->addWidget(line, row, 1);
    };
    edit(QStringLiteral("X:"), Ctl::kFrameX);
    edit(QStringLiteral("Y:"), Ctl::kFrameY);
    edit(QStringLiteral("Z:"), Ctl::kFrameZ);
    edit(QStringLiteral("Pitch:"), Ctl::kFramePitch);
    edit(QStringLiteral("Yaw:"), Ctl::kFrameYaw);
    edit(QStringLiteral("Roll:"), Ctl::kFrameRoll);
    edit(QStringLiteral("FPS:"), Ctl::kFramesPerSecond);
    middle->addLayout(fields);
    auto* proposals = new QGridLayout;
    proposals->addWidget(
        button(QStringLiteral("C&enter"), Ctl::kProposeCenter, [this] { OnCenter(); }), 0, 0);
    proposals->addWidget(
        button(QStringLiteral("&Camera"), Ctl::kProposeCamera, [this] { OnCamera(); }), 0, 1);
    proposals->addWidget(
        button(QStringLiteral("&Top"), Ctl::kProposeTop, [this] { OnTopBottom(1.0f); }), 1, 0);
    proposals->addWidget(
        button(QStringLiteral("&Bottom"), Ctl::kProposeBottom, [this] { OnTopBottom(-1.0f); }), 1,
        1);
    proposals->addWidget(
        button(QStringLiteral("&Left"), Ctl::kProposeLeft, [this] { OnLeftRight(-1.0f); }), 2, 0);
    proposals->addWidget(
        button(QStringLiteral("&Right"), Ctl::kProposeRight, [this] { OnLeftRight(1.0f); }), 2, 1);
    middle->addLayout(proposals);
    middle->addStretch(1);
    top->addLayout(middle);

    auto* right = new QVBoxLayout;
    right->addWidget(
        button(QStringLiteral("&Show Object"), Ctl::kShowObject, [this] { OnShowObject(); }));
    right->addWidget(
        button(QStringLiteral("&Play Object"), Ctl::kPlayObject, [this] { OnPlayObject(); }));
    right->addWidget(
        button(QStringLiteral("&Show Camera"), Ctl::kShowCamera, [this] { OnShowCamera(); }));
    right->addWidget(
        button(QStringLiteral("&Play Camera"), Ctl::kPlayCamera, [this] { OnPlayCamera(); }));
    right->addStretch(1);
    QDialogButtonBox* buttons =
        MakeDialogButtons(*this, Qt::Vertical, QStringLiteral("&OK"), QStringLiteral("&Cancel"),
                          Ctl::kFramesHelp, [] { QzHelp(kHelpContext); });
    QPushButton* apply = buttons->addButton(QStringLiteral("&Apply"), QDialogButtonBox::ApplyRole);
    apply->setObjectName(QString::number(Ctl::kFramesApply));
    connect(apply, &QPushButton::clicked, this, [this] { OnApply(); });
    right->addWidget(buttons);
    top->addLayout(right);

    connect(m_list, &QListWidget::currentRowChanged, this, [this] { SelectionChange(); });
    connect(&m_timer, &QTimer::timeout, this, [this] { PlaybackStep(); });

    Refill();
}

CObjectFramesDlg::~CObjectFramesDlg()
{
    // The engine may be going too: a playback is only stopped here.
    m_timer.stop();
}

C3dView* CObjectFramesDlg::Engine() const
{
    return m_doc.m_pEngine == m_engine ? m_engine : nullptr;
}

CQzlThing* CObjectFramesDlg::ThingRecord() const
{
    if (Engine() == nullptr || !InRange(m_doc.m_level->m_things, m_thing))
        return nullptr;
    return At(m_doc.m_level->m_things, m_thing).get();
}

bool CObjectFramesDlg::HasModel() const
{
    const CQzlThing* thing = ThingRecord();
    return thing != nullptr && thing->m_model != nullptr && !thing->m_model->m_nodes.empty();
}

const CBoundingBox* CObjectFramesDlg::ModelBox() const
{
    if (!HasModel())
        return nullptr;
    CQzlThing& thing = *ThingRecord();
    if (thing.m_model->m_boundsValid == 0)
        ComputeThingBounds(*m_engine, thing);
    return &thing.m_model->m_bounds;
}

void CObjectFramesDlg::DoDataExchange(CFieldExchange& exchange)
{
    exchange.Float(Ctl::kFrameX, m_x);
    exchange.Float(Ctl::kFrameY, m_y);
    exchange.Float(Ctl::kFrameZ, m_z);
    exchange.Float(Ctl::kFramePitch, m_pitch);
    exchange.Float(Ctl::kFrameYaw, m_yaw);
    exchange.Float(Ctl::kFrameRoll, m_roll);
    exchange.Float(Ctl::kFramesPerSecond, m_fps);
    exchange.FloatRange(Ctl::kFramesPerSecond, m_fps, kLowestRate, kHighestRate);
}

bool CObjectFramesDlg::PullFields()
{
    return ReadFields(*this, m_pulling, [this](CFieldExchange& fields) { DoDataExchange(fields); });
}

void CObjectFramesDlg::PushFields()
{
    CFieldExchange exchange(*this, CFieldExchange::EDirection::ToControls);
    DoDataExchange(exchange);
}

void CObjectFramesDlg::EnableFields()
{
    const bool selected = m_list->currentRow() >= 0;
    EnableControls(*this, kFrameControls, selected);
    EnableControls(*this, kModelControls, selected && HasModel());
}

bool CObjectFramesDlg::SelectionChange()
{
    const int row = m_list->currentRow();
    if (row >= 0 && row < static_cast<int>(m_frames.size())) {
        if (m_selected >= 0 && m_selected < static_cast<int>(m_frames.size())) {
            if (!PullFields()) {
                // The frame shown keeps its fields until they read.
                const QSignalBlocker blocker(m_list);
                m_list->setCurrentRow(m_selected);
                return false;
            }
            CWorldVertex& shown = m_frames[static_cast<std::size_t>(m_selected)];
            shown.x = m_x;
            shown.y = m_y;
            shown.z = m_z;
            shown.extra[kRoll] = m_roll;
            shown.extra[kPitch] = m_pitch;
            shown.extra[kYaw] = m_yaw;
        }
        const CWorldVertex& frame = m_frames[static_cast<std::size_t>(row)];
        m_x = frame.x;
        m_y = frame.y;
        m_z = frame.z;
        m_roll = frame.extra[kRoll];
        m_pitch = frame.extra[kPitch];
        m_yaw = frame.extra[kYaw];
        m_selected = row;
    }
    PushFields();
    EnableFields();
    return true;
}

void CObjectFramesDlg::Refill()
{
    {
        const QSignalBlocker blocker(m_list);
        m_list->clear();
        for (std::size_t i = 0; i < m_frames.size(); ++i)
            m_list->addItem(FrameLine(i));
        m_selected = -1;
        m_list->setCurrentRow(m_frames.empty() ? -1 : 0);
    }
    SelectionChange();
}

void CObjectFramesDlg::OnAdd()
{
    // The fields of the frame shown go into it first; a field that does not read adds nothing.
    if (m_selected >= 0 && !PullFields())
        return;
    m_frames.push_back(CWorldVertex{});
    m_list->addItem(FrameLine(m_frames.size() - 1));
    {
        const QSignalBlocker blocker(m_list);
        m_list->setCurrentRow(static_cast<int>(m_frames.size()) - 1);
    }
    SelectionChange();
}

void CObjectFramesDlg::OnDelete()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= static_cast<int>(m_frames.size()))
        return;
    m_frames.erase(m_frames.begin() + row);
    Refill();
}

void CObjectFramesDlg::OnCenter()
{
    const CQzlThing* thing = ThingRecord();
    if (thing == nullptr)
        return;
    m_x = thing->m_position.x;
    m_y = thing->m_position.y;
    m_z = thing->m_position.z;
    m_pitch = thing->m_pitch;
    m_yaw = thing->m_yaw;
    m_roll = thing->m_roll;
    PushFields();
}

void CObjectFramesDlg::OnTopBottom(float sign)
{
    const CBoundingBox* box = ModelBox();
    if (box == nullptr)
        return;
    OnCenter();
    m_y += sign * (box->max.y - box->min.y);
    PushFields();
}

void CObjectFramesDlg::OnLeftRight(float sign)
{
    const CBoundingBox* box = ModelBox();
    if (box == nullptr)
        return;
    const float width = std::max(box->max.x - box->min.x, box->max.z - box->min.z);
    OnCenter();
    const float yaw = ModelDegreesToRadians(m_yaw);
    m_x += sign * width * std::cos(yaw);
    m_z -= sign * width * std::sin(yaw);
    PushFields();
}

void CObjectFramesDlg::OnCamera()
{
    const C3dView* engine = Engine();
    if (engine == nullptr)
        return;
    CVector3 look;
    CVector3 up;
    GetCameraAxes(*engine, look, up);
    const CFrameAngles angles = CameraAnglesFromAxes(look, up);
    const CVector3& eye = engine->m_camera.m_position;
    m_x = eye.x;
    m_y = eye.y;
    m_z = eye.z;
    m_roll = angles.roll;
    m_yaw = angles.yaw;
    m_pitch = angles.pitch;
    PushFields();
}

void CObjectFramesDlg::Place(const CWorldVertex& placement)
{
    C3dView* engine = Engine();
    if (engine == nullptr)
        return;
    const CQzEditView::CDeviceScope scope(m_doc.View3d());
    if (m_playing == EPlayback::camera) {
        engine->m_camera.m_viewMatrix = ViewMatrixFromAngles(
            placement.extra[kPitch], placement.extra[kYaw], placement.extra[kRoll]);
        SetCameraPosition(*engine, placement.x, placement.y, placement.z);
        engine->GetHost().RequestFrame(true);
    } else if (ThingRecord() != nullptr) {
        SetThingOrientation(*engine, m_thing, placement.x, placement.y, placement.z,
                            placement.extra[kYaw], placement.extra[kRoll], placement.extra[kPitch]);
    }
}

void CObjectFramesDlg::OnShowObject()
{
    EndPlayback();
    if (ThingRecord() == nullptr || !PullFields())
        return;
    const CQzEditView::CDeviceScope scope(m_doc.View3d());
    SetThingOrientation(*Engine(), m_thing, m_x, m_y, m_z, m_yaw, m_roll, m_pitch);
}

void CObjectFramesDlg::OnShowCamera()
{
    EndPlayback();
    C3dView* engine = Engine();
    if (engine == nullptr || !PullFields())
        return;
    const CQzEditView::CDeviceScope scope(m_doc.View3d());
    engine->m_camera.m_viewMatrix = ViewMatrixFromAngles(m_pitch, m_yaw, m_roll);
    SetCameraPosition(*engine, m_x, m_y, m_z);
    engine->GetHost().RequestFrame(true);
}

void CObjectFramesDlg::StartPlayback(EPlayback kind, std::vector<CWorldVertex> placements)
{
    m_playing = kind;
    m_placements = std::move(placements);
    m_next = 0;
    m_timer.setInterval(static_cast<int>(std::lround(1000.0 / static_cast<double>(m_fps))));
    m_timer.start();
    PlaybackStep();
}

void CObjectFramesDlg::OnPlayObject()
{
    EndPlayback();
    const CQzlThing* thing = ThingRecord();
    if (thing == nullptr || !PullFields() || !SelectionChange())
        return;
    m_savedPosition = thing->m_position;
    m_savedAngles = {thing->m_roll, thing->m_yaw, thing->m_pitch};
    std::vector<CWorldVertex> placements = FramePathPlacements(m_frames, false);
    const std::vector<CWorldVertex> back = FramePathPlacements(m_frames, true);
    placements.insert(placements.end(), back.begin(), back.end());
    StartPlayback(EPlayback::object, std::move(placements));
}

void CObjectFramesDlg::OnPlayCamera()
{
    EndPlayback();
    const C3dView* engine = Engine();
    if (engine == nullptr || !PullFields() || !SelectionChange())
        return;
    m_savedViewMatrix = engine->m_camera.m_viewMatrix;
    m_savedCamera = engine->m_camera.m_position;
    m_savedForward = engine->m_camera.m_forwardAxis;
    m_savedUp = engine->m_camera.m_upAxis;
    StartPlayback(EPlayback::camera, FramePathPlacements(m_frames, false));
}

bool CObjectFramesDlg::PlaybackStep()
{
    if (!Playing())
        return false;
    if (m_next < m_placements.size() && Engine() != nullptr) {
        Place(m_placements[m_next++]);
        return true;
    }
    EndPlayback();
    return false;
}

void CObjectFramesDlg::EndPlayback()
{
    if (!Playing())
        return;
    m_timer.stop();
    const EPlayback kind = std::exchange(m_playing, EPlayback::none);
    m_placements.clear();
    C3dView* engine = Engine();
    if (engine == nullptr)
        return;
    const CQzEditView::CDeviceScope scope(m_doc.View3d());
    if (kind == EPlayback::object) {
        if (ThingRecord() != nullptr)
            SetThingOrientation(*engine, m_thing, m_savedPosition.x, m_savedPosition.y,
                                m_savedPosition.z, m_savedAngles.yaw, m_savedAngles.roll,
                                m_savedAngles.pitch);
        return;
    }
    engine->m_camera.m_viewMatrix = m_savedViewMatrix;
    engine->m_camera.m_position = m_savedCamera;
    engine->m_camera.m_forwardAxis = m_savedForward;
    engine->m_camera.m_upAxis = m_savedUp;
    engine->GetHost().RequestFrame(true);
}

bool CObjectFramesDlg::OnApply()
{
    EndPlayback();
    if (!SelectionChange())
        return false;
    CQzlThing* thing = ThingRecord();
    if (thing == nullptr)
        return false;
    // The window's own thing takes the path also when another thing has become current since
    // it opened: the things form then shows that other thing, so the path goes straight into
    // the record.
    if (Engine()->m_selection.m_thing == m_thing)
        return m_view.ApplyFrames(m_frames);
    thing->m_frames = m_frames;
    m_doc.SetModifiedFlag(true);
    m_doc.UpdateAllViews(nullptr);
    return true;
}

void CObjectFramesDlg::accept()
{
    EndPlayback();
    // A field that does not read keeps the window open.
    if (!SelectionChange())
        return;
    OnApply();
    Destroy();
}

void CObjectFramesDlg::reject()
{
    EndPlayback();
    Destroy();
}

void CObjectFramesDlg::Destroy()
{
    hide();
    m_doc.ObjectFramesWindowClosing(this);
    deleteLater();
}
