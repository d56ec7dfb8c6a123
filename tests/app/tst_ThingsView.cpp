// The things form in the running application, on an engine without a render device: the fill
// from the current thing and the enabled fields, every field written back on leaving it (each
// apply marks the document modified; a field that does not read, an angle out of range or a
// sector the level lacks writes nothing), the path moving with the thing, the spin arrows, and
// the Template and Object Flags buttons.

#include "FormViewTestSupport.h"

#include "app/ObjectFramesDlg.h"
#include "app/ThingsView.h"
#include "engine/3doModel.h"
#include "framework/StringUtil.h"
#include "level/QzlTemplate.h"
#include "level/QzlThing.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/PathFrame.h"
#include "ui/FlagDialogs.h"

#include <QCheckBox>

#include <functional>
#include <memory>
#include <utility>

namespace {

// The two joined rooms with the templates "crate" and "lamp": thing 0, a crate in sector 0 with
// a value of its own in every field and a path of two frames; thing 1, a crate in sector 1
// without a path.
CQzlSections ThingLevel()
{
    CQzlSections level = MakeTwoJoinedRooms();
    for (const char* name : {"crate", "lamp"}) {
        auto entry = std::make_unique<CQzlTemplate>();
        entry->m_name = name;
        entry->m_basedOn = "_decor";
        level.m_templates.push_back(std::move(entry));
    }
    CQzlThing& crate =
        *level.m_things[static_cast<std::size_t>(AddCrate(level, 0, {0.5f, 0.25f, 0.5f}))];
    crate.m_template = "CRATE";
    crate.m_pitch = 10.0f;
    crate.m_yaw = -45.0f;
    crate.m_roll = 5.0f;
    crate.m_thingFlags = 0x400;
    crate.m_frames = {PathFrame(0.5f, 0.25f, 0.5f, 0, 0, 0),
                      PathFrame(0.5f, 0.75f, 0.5f, 1, 2, 90)};
    AddCrate(level, 1, {1.5f, 0.5f, 0.5f});
    return level;
}

constexpr int kThingFields[] = {
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

class ThingsViewTest : public FormViewTest {
protected:
    // The thing level shown in thing mode with thing (0 unless told) current.
    void StartOnThing(int thing = 0)
    {
        Start(ThingLevel());
        m_doc->m_state.m_editMode = 7;
        m_doc->SwitchPropertyView(PropertyView::kThings);
        SelectThing(thing);
    }
    void SelectThing(int thing)
    {
        m_engine->m_selection.m_thing = thing;
        m_doc->UpdateAllViews(nullptr);
    }

    CThingsView& View() { return *dynamic_cast<CThingsView*>(&Pane(1)); }
    CQzlThing& Thing(int index = 0)
    {
        return *m_doc->m_level->m_things[static_cast<std::size_t>(index)];
    }
    void ExpectLevelSound()
    {
        for (const COracleProblem& problem : CheckLevelOracle(*m_doc->m_level))
            ADD_FAILURE() << OracleRuleName(problem.rule) << ": " << problem.text;
    }
};

}  // namespace

TEST_F(ThingsViewTest, FillShowsTheCurrentThingAndEnablesItsFields)
{
    StartOnThing();
    CThingsView& view = View();
    ASSERT_EQ(view.DialogId(), 190);
    const struct {
        int id;
        const char* text;
    } shown[] = {
        {Ctl::kThingNumber, "0"},    {Ctl::kThingTemplate, "crate"}, {Ctl::kThingX, "0.5"},
        {Ctl::kThingY, "0.25"},      {Ctl::kThingZ, "0.5"},          {Ctl::kThingPitch, "10"},
        {Ctl::kThingYaw, "-45"},     {Ctl::kThingRoll, "5"},         {Ctl::kThingSector, "0"},
        {Ctl::kThingFlags, "0x400"}, {Ctl::kThingFrameCount, "2"},
    };
    for (const auto& field : shown)
        EXPECT_EQ(Text(view, field.id), field.text) << field.id;
    EXPECT_TRUE(Edit(view, Ctl::kThingNumber).isReadOnly());
    EXPECT_TRUE(Edit(view, Ctl::kThingTemplate).isReadOnly());
    for (const int id : kThingFields)
        EXPECT_TRUE(Enabled(view, id)) << id;
    EXPECT_FALSE(Enabled(view, Ctl::kThingFrameCount));
    EXPECT_FALSE(m_doc->IsModified());

    // Another thing, then none: index -1, the fields disabled, the others keep their text.
    SelectThing(1);
    EXPECT_EQ(Text(view, Ctl::kThingX), "1.5");
    EXPECT_EQ(Text(view, Ctl::kThingSector), "1");
    EXPECT_EQ(Text(view, Ctl::kThingFrameCount), "0");
    SelectThing(-1);
    EXPECT_EQ(Text(view, Ctl::kThingNumber), "-1");
    EXPECT_EQ(Text(view, Ctl::kThingX), "1.5");
    for (const int id : kThingFields)
        EXPECT_FALSE(Enabled(view, id)) << id;
    EXPECT_FALSE(Enabled(view, Ctl::kThingFrameCount));
    // A selection beyond the level's things is none.
    SelectThing(7);
    EXPECT_EQ(Text(view, Ctl::kThingNumber), "-1");
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(ThingsViewTest, LeavingAFieldWritesItIntoTheThing)
{
    StartOnThing(1);
    CThingsView& view = View();
    struct Case {
        int id;
        const char* text;
        std::function<bool(const CQzlThing&)> stored;
    };
    const Case cases[] = {
        {Ctl::kThingPitch, "12.5", [](const CQzlThing& t) { return t.m_pitch == 12.5f; }},
        {Ctl::kThingRoll, "-30", [](const CQzlThing& t) { return t.m_roll == -30.0f; }},
        // Both ends of the range are angles.
        {Ctl::kThingYaw, "180", [](const CQzlThing& t) { return t.m_yaw == 180.0f; }},
        {Ctl::kThingYaw, "-180", [](const CQzlThing& t) { return t.m_yaw == -180.0f; }},
        {Ctl::kThingX, "1.75", [](const CQzlThing& t) { return t.m_position.x == 1.75f; }},
        {Ctl::kThingY, "0.6", [](const CQzlThing& t) { return t.m_position.y == 0.6f; }},
        {Ctl::kThingZ, "0.125", [](const CQzlThing& t) { return t.m_position.z == 0.125f; }},
        {Ctl::kThingFlags, "0x10", [](const CQzlThing& t) { return t.m_thingFlags == 16u; }},
        {Ctl::kThingFlags, "10", [](const CQzlThing& t) { return t.m_thingFlags == 10u; }},
        // The template goes in upper case into the template and the name.
        {Ctl::kThingTemplate, "lamp",
         [](const CQzlThing& t) {
             // The model is made anew from the game's archive.
             return t.m_template == "LAMP" && t.m_name == "LAMP" && t.m_model != nullptr &&
                    EqualsNoCase(t.m_model->m_fileName, "lamp.3do");
         }},
        // The same text again still applies.
        {Ctl::kThingTemplate, "lamp", [](const CQzlThing& t) { return t.m_name == "LAMP"; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " \"" << c.text << "\"");
        m_doc->SetModifiedFlag(false);
        TypeAndLeave(view, c.id, QString::fromLatin1(c.text));
        EXPECT_TRUE(c.stored(Thing(1)));
        EXPECT_TRUE(m_doc->IsModified());
        ExpectLevelSound();
    }
    // A thing taken into the other room with its sector.
    m_doc->SetModifiedFlag(false);
    Edit(view, Ctl::kThingX).setText(QStringLiteral("0.25"));
    TypeAndLeave(view, Ctl::kThingSector, QStringLiteral("0"));
    EXPECT_EQ(Thing(1).m_position.x, 0.25f);
    EXPECT_EQ(Thing(1).m_sector, 0);
    EXPECT_TRUE(m_doc->IsModified());
    ExpectLevelSound();
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
    // The other thing is untouched.
    EXPECT_EQ(Thing(0).m_position.x, 0.5f);
    EXPECT_EQ(Thing(0).m_template, "CRATE");
}

TEST_F(ThingsViewTest, ThePathMovesWithTheThing)
{
    StartOnThing();
    CThingsView& view = View();
    Thing().m_position.x = 1.0f;
    for (CWorldVertex& frame : Thing().m_frames)
        frame.x = 1.0f;
    SelectThing(0);
    TypeAndLeave(view, Ctl::kThingX, QStringLiteral("3"));
    ASSERT_EQ(Thing().m_frames.size(), 2u);
    EXPECT_EQ(Thing().m_frames[0], PathFrame(3, 0.25f, 0.5f, 0, 0, 0));
    EXPECT_EQ(Thing().m_frames[1], PathFrame(3, 0.75f, 0.5f, 1, 2, 90));
    // A field other than the position leaves the path where it is.
    TypeAndLeave(view, Ctl::kThingYaw, QStringLiteral("30"));
    EXPECT_EQ(Thing().m_frames[0].x, 3.0f);
    EXPECT_EQ(Thing().m_frames[1].y, 0.75f);
    EXPECT_TRUE(m_doc->IsModified());
}

TEST_F(ThingsViewTest, AFieldThatDoesNotReadWritesNothing)
{
    const QString angles = QStringLiteral("Please enter a number between -180 and 180.");
    const struct {
        int id;
        const char* text;
        QString message;
    } cases[] = {
        {Ctl::kThingPitch, "181", angles},
        {Ctl::kThingRoll, "-180.5", angles},
        {Ctl::kThingYaw, "200", angles},
        {Ctl::kThingYaw, "ahead", QStringLiteral("Please enter a number.")},
        {Ctl::kThingX, "1,5", QStringLiteral("Please enter a number.")},
        // The level has sectors 0 and 1.
        {Ctl::kThingSector, "2", QStringLiteral("Please enter an integer between 0 and 1.")},
        {Ctl::kThingSector, "-1", QStringLiteral("Please enter an integer between 0 and 1.")},
        {Ctl::kThingSector, "one", QStringLiteral("Please enter an integer.")},
    };
    StartOnThing();
    CThingsView& view = View();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " \"" << c.text << "\"");
        SelectThing(0);
        m_messages.clear();
        const Bytes before = LevelBytes();
        // A field read before the bad one is not written either.
        Edit(view, Ctl::kThingPitch).setText(QStringLiteral("1"));
        Edit(view, Ctl::kThingZ).setText(QStringLiteral("0.75"));
        TypeAndLeave(view, c.id, QString::fromLatin1(c.text));
        EXPECT_EQ(m_messages.value(0), c.message);
        EXPECT_TRUE(LevelBytes() == before);
        EXPECT_FALSE(m_doc->IsModified());
    }
}

TEST_F(ThingsViewTest, NothingIsWrittenWithoutTheThingTheFormShows)
{
    StartOnThing();
    CThingsView& view = View();
    const Bytes before = LevelBytes();
    // The engine's current thing changed without the form being filled again.
    m_engine->m_selection.m_thing = 1;
    TypeAndLeave(view, Ctl::kThingX, QStringLiteral("0.5"));
    ClickSpin(view, Ctl::kThingYSpin, "up");
    EXPECT_TRUE(LevelBytes() == before);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(ThingsViewTest, SpinArrowsNudgeTheThingAtOnce)
{
    struct Case {
        int spin;
        const char* arrow;
        std::function<void(CQzlThing&)> start;
        std::function<bool(const CQzlThing&)> want;
    };
    const auto none = [](CQzlThing&) {};
    const Case cases[] = {
        // The position's up arrow lowers the coordinate (the default range sends -1 for up).
        {Ctl::kThingXSpin, "up", none, [](const CQzlThing& t) { return t.m_position.x == 0.49f; }},
        {Ctl::kThingXSpin, "down", none,
         [](const CQzlThing& t) { return t.m_position.x == 0.51f; }},
        {Ctl::kThingYSpin, "down", none,
         [](const CQzlThing& t) { return t.m_position.y == 0.26f; }},
        {Ctl::kThingZSpin, "up", none, [](const CQzlThing& t) { return t.m_position.z == 0.49f; }},
        // The angles' up arrow raises the angle by a degree.
        {Ctl::kThingPitchSpin, "up", none, [](const CQzlThing& t) { return t.m_pitch == 11.0f; }},
        {Ctl::kThingYawSpin, "down", none, [](const CQzlThing& t) { return t.m_yaw == -46.0f; }},
        {Ctl::kThingRollSpin, "up", none, [](const CQzlThing& t) { return t.m_roll == 6.0f; }},
        // An angle that would leave -180..180 stays.
        {Ctl::kThingYawSpin, "up", [](CQzlThing& t) { t.m_yaw = 180.0f; },
         [](const CQzlThing& t) { return t.m_yaw == 180.0f; }},
        {Ctl::kThingPitchSpin, "down", [](CQzlThing& t) { t.m_pitch = -180.0f; },
         [](const CQzlThing& t) { return t.m_pitch == -180.0f; }},
        // One click rounds all six values to 0.01, halves away from zero.
        {Ctl::kThingZSpin, "down",
         [](CQzlThing& t) {
             t.m_position = {0.234f, 0.255f, 0.5f};
             t.m_pitch = 10.005f;
             t.m_yaw = -45.126f;
             t.m_roll = 4.994f;
         },
         [](const CQzlThing& t) {
             return t.m_position.x == 0.23f && t.m_position.y == 0.26f && t.m_position.z == 0.51f &&
                    t.m_pitch == 10.01f && t.m_yaw == -45.13f && t.m_roll == 4.99f;
         }},
    };
    StartOnThing();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.spin << " " << c.arrow);
        Reload(ThingLevel());
        c.start(Thing());
        SelectThing(0);
        const CVector3 before = Thing().m_position;
        const std::vector<CWorldVertex> path = Thing().m_frames;
        ClickSpin(View(), c.spin, c.arrow);
        EXPECT_TRUE(c.want(Thing()));
        EXPECT_TRUE(m_doc->IsModified());
        // The form shows the record; the path moved as the thing did.
        EXPECT_EQ(Text(View(), Ctl::kThingX).toFloat(), Thing().m_position.x);
        EXPECT_EQ(Text(View(), Ctl::kThingYaw).toFloat(), Thing().m_yaw);
        const CVector3 moved = Thing().m_position - before;
        ASSERT_EQ(Thing().m_frames.size(), path.size());
        for (std::size_t i = 0; i < path.size(); ++i) {
            EXPECT_FLOAT_EQ(Thing().m_frames[i].x, path[i].x + moved.x);
            EXPECT_FLOAT_EQ(Thing().m_frames[i].y, path[i].y + moved.y);
            EXPECT_FLOAT_EQ(Thing().m_frames[i].z, path[i].z + moved.z);
        }
    }
}

TEST_F(ThingsViewTest, AnApplyAfterASpinKeepsThePathWhereTheSpinMovedIt)
{
    StartOnThing();
    CThingsView& view = View();
    ClickSpin(view, Ctl::kThingXSpin, "down");
    ASSERT_FLOAT_EQ(Thing().m_frames[0].x, 0.51f);
    TypeAndLeave(view, Ctl::kThingYaw, QStringLiteral("20"));
    EXPECT_FLOAT_EQ(Thing().m_frames[0].x, 0.51f);
    EXPECT_FLOAT_EQ(Thing().m_frames[1].x, 0.51f);
}

TEST_F(ThingsViewTest, ObjectFlagsButtonEditsTheFlagsInTheirDialog)
{
    StartOnThing();
    CThingsView& view = View();
    // "Used in COG" (0x400) shows ticked; "Invisible" (0x10) ticked, "Used in COG" cleared.
    OnModal<CFlagDialog>(&view, [](CFlagDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), Id(1090));
        EXPECT_TRUE(Control<QCheckBox>(dialog, 1060)->isChecked());
        Control<QCheckBox>(dialog, 1091)->setChecked(true);
        Control<QCheckBox>(dialog, 1060)->setChecked(false);
        Click(dialog, Ctl::kOk);
    });
    Click(view, Ctl::kThingFlagsButton);
    EXPECT_EQ(Thing().m_thingFlags, 0x10u);
    EXPECT_EQ(Text(view, Ctl::kThingFlags), "0x10");
    EXPECT_TRUE(m_doc->IsModified());

    m_doc->SetModifiedFlag(false);
    OnModal<CFlagDialog>(&view, [](CFlagDialog& dialog) {
        Control<QCheckBox>(dialog, 220)->setChecked(true);
        Click(dialog, Ctl::kCancel);
    });
    Click(view, Ctl::kThingFlagsButton);
    EXPECT_EQ(Thing().m_thingFlags, 0x10u);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(ThingsViewTest, TemplateButtonPicksFromTheLevel)
{
    StartOnThing();
    CThingsView& view = View();
    QString caption;
    OnTemplateDlg(&view, TemplateChoose(QStringLiteral("lamp"), &caption));
    Click(view, Ctl::kThingTemplateButton);
    EXPECT_EQ(caption, "Templates in level");
    EXPECT_EQ(Thing().m_template, "LAMP");
    EXPECT_EQ(Thing().m_name, "LAMP");
    EXPECT_EQ(Text(view, Ctl::kThingTemplate), "lamp");
    EXPECT_TRUE(m_doc->IsModified());

    // Cancel changes nothing and keeps the thing's model.
    m_doc->SetModifiedFlag(false);
    const Bytes before = LevelBytes();
    C3doModel* model = Thing().m_model;
    OnTemplateDlg(&view, TemplateCancel);
    Click(view, Ctl::kThingTemplateButton);
    EXPECT_TRUE(LevelBytes() == before);
    EXPECT_EQ(Thing().m_model, model);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(ThingsViewTest, WithoutTheGameArchiveTheRecordIsStillWrittenAndMarked)
{
    StartOnThing();
    CThingsView& view = View();
    const GameArchive* archive = std::exchange(m_app->m_product.m_resources.m_archive, nullptr);
    C3doModel* model = Thing().m_model;
    TypeAndLeave(view, Ctl::kThingTemplate, QStringLiteral("lamp"));
    m_app->m_product.m_resources.m_archive = archive;
    EXPECT_EQ(Thing().m_template, "LAMP");
    // The model is not made anew, but the document knows the level changed.
    EXPECT_EQ(Thing().m_model, model);
    EXPECT_TRUE(m_doc->IsModified());
}
