// The Object Frames window in the running application, opened from the things form on an engine
// without a render device: the list of frames and the fields of the one selected, Add and Delete,
// the proposals from the thing, its model and the camera, the buttons that need a model, playback
// on its timer with the starting state put back, Apply into the window's own thing, and the
// document's one window.

#include "FormViewTestSupport.h"

#include "app/ObjectFramesDlg.h"
#include "app/ThingsView.h"
#include "engine/3doModel.h"
#include "engine/Camera.h"
#include "engine/ObjectFramePath.h"
#include "level/QzlThing.h"
#include "support/FixtureLevels.h"
#include "support/PathFrame.h"

#include <QListWidget>
#include <QPointer>

#include <cmath>
#include <memory>
#include <vector>

namespace {

// The two joined rooms: thing 0 in sector 0 with yaw 30 and a path of two frames 1.0 apart (the
// second turned), thing 1 in sector 1 without a path.
CQzlSections FramesLevel()
{
    CQzlSections level = MakeTwoJoinedRooms();
    CQzlThing& crate =
        *level.m_things[static_cast<std::size_t>(AddCrate(level, 0, {0.5f, 0.25f, 0.5f}))];
    crate.m_yaw = 30.0f;
    crate.m_pitch = 5.0f;
    crate.m_roll = -10.0f;
    crate.m_frames = {PathFrame(0.25f, 0.25f, 0.5f), PathFrame(0.25f, 0.25f, 1.5f, 10, 20, 40)};
    AddCrate(level, 1, {1.5f, 0.5f, 0.5f});
    return level;
}

constexpr int kFrameFields[] = {
    Ctl::kFrameX,   Ctl::kFrameY,    Ctl::kFrameZ,      Ctl::kFramePitch,
    Ctl::kFrameYaw, Ctl::kFrameRoll, Ctl::kDeleteFrame,
};
constexpr int kModelButtons[] = {Ctl::kProposeTop, Ctl::kProposeBottom, Ctl::kProposeLeft,
                                 Ctl::kProposeRight};

class ObjectFramesTest : public FormViewTest {
protected:
    // The frames level in thing mode with thing current and its Object Frames window open.
    CObjectFramesDlg& Open(int thing = 0)
    {
        Start(FramesLevel());
        m_doc->m_state.m_editMode = 7;
        m_doc->SwitchPropertyView(PropertyView::kThings);
        SelectThing(thing);
        return OpenAgain();
    }
    CObjectFramesDlg& OpenAgain()
    {
        Click(Things(), Ctl::kThingFramesButton);
        CObjectFramesDlg* window = m_doc->ObjectFramesWindow();
        EXPECT_NE(window, nullptr);
        return *window;
    }
    void SelectThing(int thing)
    {
        m_engine->m_selection.m_thing = thing;
        m_doc->UpdateAllViews(nullptr);
    }
    CThingsView& Things() { return *dynamic_cast<CThingsView*>(&Pane(1)); }
    CQzlThing& Thing(int index = 0)
    {
        return *m_doc->m_level->m_things[static_cast<std::size_t>(index)];
    }
    // A model of one node whose box is 0.2 wide (x), 0.4 high and 0.1 deep around the thing.
    void GiveModel(CQzlThing& thing)
    {
        auto model = std::make_unique<C3doModel>("box.3do", "dflt.cmp");
        model->m_nodes.push_back(std::make_unique<C3doNode>());
        const CVector3 at = thing.m_position;
        model->m_bounds = {{at.x - 0.1f, at.y, at.z - 0.05f},
                           {at.x + 0.1f, at.y + 0.4f, at.z + 0.05f}};
        model->m_boundsValid = 1;
        thing.m_model = model.get();
        m_engine->m_thingModels.push_back(std::move(model));
    }

    QListWidget& List(QWidget& window) { return *Control<QListWidget>(window, Ctl::kFrameList); }
    QStringList Lines(QWidget& window)
    {
        QStringList lines;
        for (int i = 0; i < List(window).count(); ++i)
            lines << List(window).item(i)->text();
        return lines;
    }
    float Field(QWidget& window, int id) { return Text(window, id).toFloat(); }
    // The fields X, Y, Z, Pitch, Yaw, Roll as shown.
    void ExpectFields(QWidget& window, const CVector3& at, float pitch, float yaw, float roll)
    {
        EXPECT_NEAR(Field(window, Ctl::kFrameX), at.x, 1e-5f);
        EXPECT_NEAR(Field(window, Ctl::kFrameY), at.y, 1e-5f);
        EXPECT_NEAR(Field(window, Ctl::kFrameZ), at.z, 1e-5f);
        EXPECT_NEAR(Field(window, Ctl::kFramePitch), pitch, 1e-3f);
        EXPECT_NEAR(Field(window, Ctl::kFrameYaw), yaw, 1e-3f);
        EXPECT_NEAR(Field(window, Ctl::kFrameRoll), roll, 1e-3f);
    }
};

}  // namespace

TEST_F(ObjectFramesTest, OpensOnTheThingsPathWithTheFirstFrameShown)
{
    CObjectFramesDlg& window = Open();
    EXPECT_EQ(window.windowTitle(), "Object Frames");
    EXPECT_EQ(window.objectName(), Id(5000));
    EXPECT_FALSE(window.isModal());
    EXPECT_EQ(window.Thing(), 0);
    EXPECT_EQ(Lines(window), (QStringList{"Frame 1", "Frame 2"}));
    EXPECT_EQ(List(window).currentRow(), 0);
    EXPECT_EQ(window.SelectedFrame(), 0);
    ExpectFields(window, {0.25f, 0.25f, 0.5f}, 0, 0, 0);
    EXPECT_EQ(Text(window, Ctl::kFramesPerSecond), "20");
    for (const int id : kFrameFields)
        EXPECT_TRUE(Enabled(window, id)) << id;
    // Picking is blocked while it is open.
    EXPECT_EQ(m_doc->m_state.m_objectFramesOpen, 1);

    // The second frame: its angles as roll (fourth float), pitch (fifth) and yaw (sixth).
    List(window).setCurrentRow(1);
    ExpectFields(window, {0.25f, 0.25f, 1.5f}, 20, 40, 10);

    // The document holds one window: opening it again replaces it.
    const QPointer<CObjectFramesDlg> first = &window;
    CObjectFramesDlg& second = OpenAgain();
    EXPECT_TRUE(first.isNull());
    EXPECT_NE(&second, nullptr);
    EXPECT_EQ(m_doc->m_state.m_objectFramesOpen, 1);

    // Cancel closes it and writes nothing.
    const Bytes before = LevelBytes();
    Control<QLineEdit>(second, Ctl::kFrameX)->setText(QStringLiteral("9"));
    Click(second, Ctl::kCancel);
    EXPECT_EQ(m_doc->ObjectFramesWindow(), nullptr);
    EXPECT_EQ(m_doc->m_state.m_objectFramesOpen, 0);
    EXPECT_TRUE(LevelBytes() == before);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(ObjectFramesTest, TheWindowGoesWithTheThingsForm)
{
    const QPointer<CObjectFramesDlg> window = &Open();
    m_doc->SwitchPropertyView(PropertyView::kSurface);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(m_doc->ObjectFramesWindow(), nullptr);
    EXPECT_EQ(m_doc->m_state.m_objectFramesOpen, 0);
}

TEST_F(ObjectFramesTest, AddAndDeleteFrames)
{
    CObjectFramesDlg& window = Open(1);
    EXPECT_TRUE(Lines(window).isEmpty());
    EXPECT_EQ(window.SelectedFrame(), -1);
    for (const int id : kFrameFields)
        EXPECT_FALSE(Enabled(window, id)) << id;

    // Add on an empty list: "Frame 1" of zeros, selected.
    Click(window, Ctl::kAddFrame);
    EXPECT_EQ(Lines(window), QStringList{"Frame 1"});
    EXPECT_EQ(List(window).currentRow(), 0);
    ExpectFields(window, {0, 0, 0}, 0, 0, 0);
    for (const int id : kFrameFields)
        EXPECT_TRUE(Enabled(window, id)) << id;

    // A second Add stores the fields of the frame shown first.
    Control<QLineEdit>(window, Ctl::kFrameX)->setText(QStringLiteral("1.5"));
    Control<QLineEdit>(window, Ctl::kFrameRoll)->setText(QStringLiteral("7"));
    Click(window, Ctl::kAddFrame);
    EXPECT_EQ(Lines(window), (QStringList{"Frame 1", "Frame 2"}));
    ASSERT_EQ(window.Frames().size(), 2u);
    EXPECT_EQ(window.Frames()[0], PathFrame(1.5f, 0, 0, 7, 0, 0));
    EXPECT_EQ(window.SelectedFrame(), 1);
    ExpectFields(window, {0, 0, 0}, 0, 0, 0);

    // Delete: the frames behind move up, the list starts again at its first frame.
    Click(window, Ctl::kDeleteFrame);
    EXPECT_EQ(Lines(window), QStringList{"Frame 1"});
    ExpectFields(window, {1.5f, 0, 0}, 0, 0, 7);
    // Deleting the only frame leaves an empty list with the fields disabled.
    Click(window, Ctl::kDeleteFrame);
    EXPECT_TRUE(Lines(window).isEmpty());
    EXPECT_TRUE(window.Frames().empty());
    for (const int id : kFrameFields)
        EXPECT_FALSE(Enabled(window, id)) << id;
    // The level has not changed: the window's frames are its own until Apply.
    EXPECT_TRUE(Thing(1).m_frames.empty());
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(ObjectFramesTest, AFieldThatDoesNotReadKeepsTheFrameShown)
{
    CObjectFramesDlg& window = Open();
    Control<QLineEdit>(window, Ctl::kFrameY)->setText(QStringLiteral("high"));
    List(window).setCurrentRow(1);
    EXPECT_EQ(m_messages, QStringList{"Please enter a number."});
    EXPECT_EQ(List(window).currentRow(), 0);
    EXPECT_EQ(window.Frames()[0], PathFrame(0.25f, 0.25f, 0.5f));

    // The rate is 1 to 20 frames per second.
    m_messages.clear();
    Control<QLineEdit>(window, Ctl::kFrameY)->setText(QStringLiteral("0.5"));
    Control<QLineEdit>(window, Ctl::kFramesPerSecond)->setText(QStringLiteral("25"));
    Click(window, Ctl::kPlayObject);
    EXPECT_EQ(m_messages, QStringList{"Please enter a number between 1 and 20."});
    EXPECT_FALSE(window.Playing());
    EXPECT_EQ(window.Frames()[0].y, 0.25f);
}

TEST_F(ObjectFramesTest, ProposalsFromTheThingItsModelAndTheCamera)
{
    CObjectFramesDlg& window = Open();
    const CVector3 at = Thing().m_position;
    GiveModel(Thing());
    const float cosYaw = std::cos(30.0f * 3.1415927f / 180.0f);
    const float sinYaw = std::sin(30.0f * 3.1415927f / 180.0f);
    const struct {
        int button;
        CVector3 want;
    } proposals[] = {
        {Ctl::kProposeCenter, at},
        // The model is 0.4 high.
        {Ctl::kProposeTop, {at.x, at.y + 0.4f, at.z}},
        {Ctl::kProposeBottom, {at.x, at.y - 0.4f, at.z}},
        // Its larger extent across (0.2 in x) along the thing's yaw.
        {Ctl::kProposeLeft, {at.x - 0.2f * cosYaw, at.y, at.z + 0.2f * sinYaw}},
        {Ctl::kProposeRight, {at.x + 0.2f * cosYaw, at.y, at.z - 0.2f * sinYaw}},
    };
    for (const auto& p : proposals) {
        SCOPED_TRACE(p.button);
        Click(window, p.button);
        ExpectFields(window, p.want, 5, 30, -10);
    }

    // The camera: its eye, and the angles of its axes.
    m_engine->m_camera.m_viewMatrix = ViewMatrixFromAngles(0, 40, 20);
    SetCameraPosition(*m_engine, 1.25f, 0.5f, 0.75f);
    Click(window, Ctl::kProposeCamera);
    ExpectFields(window, {1.25f, 0.5f, 0.75f}, 0, 40, 20);

    // Proposals fill the fields only: a frame takes them at the next selection change.
    EXPECT_EQ(window.Frames()[0], PathFrame(0.25f, 0.25f, 0.5f));
    List(window).setCurrentRow(1);
    EXPECT_EQ(window.Frames()[0], PathFrame(1.25f, 0.5f, 0.75f, 20, 0, 40));
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(ObjectFramesTest, ButtonsThatNeedAModelAreDisabledWithoutOne)
{
    Start(FramesLevel());
    m_doc->SwitchPropertyView(PropertyView::kThings);
    // A thing without a model, and one whose model file was found nowhere (no nodes).
    Thing().m_model = nullptr;
    SelectThing(0);
    CObjectFramesDlg& window = OpenAgain();
    for (const int id : kModelButtons)
        EXPECT_FALSE(Enabled(window, id)) << id;
    EXPECT_TRUE(Enabled(window, Ctl::kProposeCenter));
    const Bytes before = LevelBytes();
    Click(window, Ctl::kProposeTop);
    ExpectFields(window, {0.25f, 0.25f, 0.5f}, 0, 0, 0);

    auto empty = std::make_unique<C3doModel>("nowhere.3do", "dflt.cmp");
    Thing().m_model = empty.get();
    m_engine->m_thingModels.push_back(std::move(empty));
    CObjectFramesDlg& again = OpenAgain();
    for (const int id : kModelButtons)
        EXPECT_FALSE(Enabled(again, id)) << id;

    GiveModel(Thing());
    CObjectFramesDlg& withModel = OpenAgain();
    for (const int id : kModelButtons)
        EXPECT_TRUE(Enabled(withModel, id)) << id;
    EXPECT_TRUE(LevelBytes() == before);
}

TEST_F(ObjectFramesTest, PlayObjectPlacesTheThingAlongThePathAndBack)
{
    CObjectFramesDlg& window = Open();
    const CVector3 start = Thing().m_position;
    Click(window, Ctl::kPlayObject);
    ASSERT_TRUE(window.Playing());
    EXPECT_TRUE(window.PlaybackTimer().isActive());
    EXPECT_EQ(window.PlaybackTimer().interval(), 50);

    // The first placement at once, one more per tick: 20 forward (1.0 apart gives n = 19) and 20
    // back.
    std::vector<CVector3> placed = {Thing().m_position};
    std::vector<float> yaws = {Thing().m_yaw};
    while (window.PlaybackStep()) {
        placed.push_back(Thing().m_position);
        yaws.push_back(Thing().m_yaw);
    }
    ASSERT_EQ(placed.size(), 40u);
    EXPECT_EQ(placed[0], (CVector3{0.25f, 0.25f, 0.5f}));
    EXPECT_EQ(placed[19], (CVector3{0.25f, 0.25f, 1.5f}));
    EXPECT_EQ(yaws[19], 40.0f);
    EXPECT_EQ(placed[20], (CVector3{0.25f, 0.25f, 1.5f}));
    EXPECT_EQ(placed[39], (CVector3{0.25f, 0.25f, 0.5f}));
    // Then the thing is put back.
    EXPECT_FALSE(window.Playing());
    EXPECT_FALSE(window.PlaybackTimer().isActive());
    EXPECT_EQ(Thing().m_position, start);
    EXPECT_EQ(Thing().m_yaw, 30.0f);
    EXPECT_EQ(Thing().m_pitch, 5.0f);
    EXPECT_EQ(Thing().m_roll, -10.0f);

    // The timer paces by the rate; Cancel during a playback puts the thing back as well.
    Control<QLineEdit>(window, Ctl::kFramesPerSecond)->setText(QStringLiteral("4"));
    Click(window, Ctl::kPlayObject);
    EXPECT_EQ(window.PlaybackTimer().interval(), 250);
    window.PlaybackStep();
    EXPECT_NE(Thing().m_position, start);
    Click(window, Ctl::kCancel);
    EXPECT_EQ(Thing().m_position, start);
}

TEST_F(ObjectFramesTest, PlayCameraFliesForwardThenPutsTheCameraBack)
{
    CObjectFramesDlg& window = Open();
    SetCameraPosition(*m_engine, 0.5f, 0.5f, 0.1f);
    const D3DMATRIX view = m_engine->m_camera.m_viewMatrix;
    const CVector3 eye = m_engine->m_camera.m_position;
    Click(window, Ctl::kPlayCamera);
    ASSERT_TRUE(window.Playing());
    int placements = 1;
    EXPECT_EQ(m_engine->m_camera.m_position, (CVector3{0.25f, 0.25f, 0.5f}));
    while (window.PlaybackStep()) {
        ++placements;
        if (placements == 20) {
            EXPECT_EQ(m_engine->m_camera.m_position, (CVector3{0.25f, 0.25f, 1.5f}));
            const D3DMATRIX last = ViewMatrixFromAngles(20, 40, 10);
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 3; ++c)
                    EXPECT_FLOAT_EQ(m_engine->m_camera.m_viewMatrix.m[r][c], last.m[r][c]);
        }
    }
    EXPECT_EQ(placements, 20);
    EXPECT_TRUE(m_engine->m_camera.m_viewMatrix == view);
    EXPECT_EQ(m_engine->m_camera.m_position, eye);
    // The thing never moved.
    EXPECT_EQ(Thing().m_position, (CVector3{0.5f, 0.25f, 0.5f}));

    // With one frame there is nothing to play: only the start is put back.
    Click(window, Ctl::kDeleteFrame);
    Click(window, Ctl::kPlayCamera);
    EXPECT_FALSE(window.PlaybackStep());
    EXPECT_FALSE(window.Playing());
    EXPECT_TRUE(m_engine->m_camera.m_viewMatrix == view);
}

TEST_F(ObjectFramesTest, ShowObjectAndShowCamera)
{
    CObjectFramesDlg& window = Open();
    List(window).setCurrentRow(1);
    Click(window, Ctl::kShowObject);
    EXPECT_EQ(Thing().m_position, (CVector3{0.25f, 0.25f, 1.5f}));
    EXPECT_EQ(Thing().m_yaw, 40.0f);
    EXPECT_EQ(Thing().m_pitch, 20.0f);
    EXPECT_EQ(Thing().m_roll, 10.0f);

    Click(window, Ctl::kShowCamera);
    EXPECT_EQ(m_engine->m_camera.m_position, (CVector3{0.25f, 0.25f, 1.5f}));
    const D3DMATRIX want = ViewMatrixFromAngles(20, 40, 10);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_FLOAT_EQ(m_engine->m_camera.m_viewMatrix.m[r][c], want.m[r][c]);
    EXPECT_NEAR(GetCameraPosition(*m_engine).z, 1.5f, 1e-5f);
}

TEST_F(ObjectFramesTest, ApplyGivesThePathToTheThing)
{
    CObjectFramesDlg& window = Open();
    Control<QLineEdit>(window, Ctl::kFrameX)->setText(QStringLiteral("0.75"));
    Click(window, Ctl::kAddFrame);
    Click(window, Ctl::kFramesApply);
    ASSERT_EQ(Thing().m_frames.size(), 3u);
    EXPECT_EQ(Thing().m_frames[0], PathFrame(0.75f, 0.25f, 0.5f));
    EXPECT_EQ(Thing().m_frames[2], PathFrame(0, 0, 0));
    EXPECT_EQ(Thing().m_position, (CVector3{0.5f, 0.25f, 0.5f}));
    EXPECT_EQ(Text(Things(), Ctl::kThingFrameCount), "3");
    EXPECT_TRUE(m_doc->IsModified());

    // A frame shown in the 3D view moved the thing: Apply keeps it there and the path unmoved.
    List(window).setCurrentRow(1);
    Click(window, Ctl::kShowObject);
    Click(window, Ctl::kFramesApply);
    EXPECT_EQ(Thing().m_position, (CVector3{0.25f, 0.25f, 1.5f}));
    EXPECT_EQ(Thing().m_frames[0], PathFrame(0.75f, 0.25f, 0.5f));

    // OK applies and closes.
    Control<QLineEdit>(window, Ctl::kFrameZ)->setText(QStringLiteral("1.25"));
    Click(window, Ctl::kOk);
    EXPECT_EQ(Thing().m_frames[1].z, 1.25f);
    EXPECT_EQ(m_doc->ObjectFramesWindow(), nullptr);
    EXPECT_EQ(m_doc->m_state.m_objectFramesOpen, 0);
}

TEST_F(ObjectFramesTest, ApplyWritesTheWindowsOwnThingAfterAnotherBecameCurrent)
{
    CObjectFramesDlg& window = Open();
    SelectThing(1);
    m_doc->SetModifiedFlag(false);
    const CVector3 otherAt = Thing(1).m_position;
    Control<QLineEdit>(window, Ctl::kFrameY)->setText(QStringLiteral("0.5"));
    Click(window, Ctl::kFramesApply);
    ASSERT_EQ(Thing(0).m_frames.size(), 2u);
    EXPECT_EQ(Thing(0).m_frames[0], PathFrame(0.25f, 0.5f, 0.5f));
    EXPECT_TRUE(Thing(1).m_frames.empty());
    EXPECT_EQ(Thing(1).m_position, otherAt);
    EXPECT_EQ(Thing(0).m_position, (CVector3{0.5f, 0.25f, 0.5f}));
    EXPECT_TRUE(m_doc->IsModified());
    // The things form still shows the current thing.
    EXPECT_EQ(Text(Things(), Ctl::kThingNumber), "1");
}
