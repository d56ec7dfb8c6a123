// The Create Door and Create Elevator dialogs' rules: the templates each offers, the model the
// preview shows, the depth edits and the connect box following "Sunken" and connect, OK only for a
// model with a size, and the values handed to the builders.

#include "level/QzlTemplate.h"
#include "level/TemplateList.h"
#include "tools/DoorDialogRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CDoorDialogValues Model(float x, float y, float z)
{
    CDoorDialogValues v;
    v.m_template = "door";
    v.m_x = x;
    v.m_y = y;
    v.m_z = z;
    return v;
}

TEST(DoorDialogRules, EnablesFollowTheSwitchesAndOkNeedsAModelWithASize)
{
    const struct {
        const char* name;
        CDoorDialogValues values;
        bool frontDepth, backDepth, connect, ok;
    } cases[] = {
        {"defaults", Model(1, 2, 0.2f), true, true, true, true},
        {"no model read", Model(0, 0, 0), true, true, true, false},
        {"a flat model", Model(1, 2, 0), true, true, true, false},
        {"front simple",
         [] {
             auto v = Model(1, 2, 0.2f);
             v.m_frontSunken = false;
             return v;
         }(),
         false, true, true, true},
        {"back simple",
         [] {
             auto v = Model(1, 2, 0.2f);
             v.m_backSunken = false;
             return v;
         }(),
         true, false, false, true},
        {"connect",
         [] {
             auto v = Model(1, 2, 0.2f);
             v.m_connect = true;
             return v;
         }(),
         true, false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CDoorDialogEnables e = DoorDialogEnables(c.values);
        EXPECT_EQ(e.m_frontDepth, c.frontDepth);
        EXPECT_EQ(e.m_backDepth, c.backDepth);
        EXPECT_EQ(e.m_connect, c.connect);
        EXPECT_EQ(e.m_ok, c.ok);
    }
}

TEST(DoorDialogRules, SimpleSidesHandOverNoDepthAndNoConnect)
{
    CDoorDialogValues v = Model(1, 2, 0.2f);
    v.m_frontDepth = 0.5f;
    v.m_backDepth = 0.7f;
    v.m_connect = true;
    v.m_direction = 2;
    CDoorParams p = DoorParamsFromDialog(v);
    EXPECT_EQ(p.m_frontDepth, 0.5f);
    EXPECT_EQ(p.m_backDepth, 0.7f);
    EXPECT_TRUE(p.m_connect);
    EXPECT_EQ(p.m_direction, 2);
    EXPECT_EQ(p.m_thickness, 0.2f);

    v.m_frontSunken = false;
    v.m_backSunken = false;
    p = DoorParamsFromDialog(v);
    EXPECT_EQ(p.m_frontDepth, 0.0f);
    EXPECT_EQ(p.m_backDepth, 0.0f);
    EXPECT_FALSE(p.m_connect);
}

TEST(DoorDialogRules, TemplateFiltersTable)
{
    const struct {
        const char* name;
        bool door, elevator;
    } cases[] = {
        {"door", true, false},
        {"bigdoor", true, false},
        {"door_metal2", true, false},
        {"14dgate", true, false},  // begins with "14d"
        {"14d", true, false},
        {"gate14d", false, false},  // "14d" further in
        {"x14door", true, false},   // "door" anywhere
        {"Door", false, false},     // letter case counts
        {"DOOR", false, false},
        {"14D", false, false},
        {"doorframe", false, false},  // excluded exactly
        {"+doorchunk", false, false},
        {"doorframe2", true, false},  // merely holds an excluded name
        {"olddoorframe", true, false},
        {"elevator", false, true},
        {"lift", false, true},
        {"cargolift2", false, true},
        {"elev", false, true},
        {"Elevator", false, false},
        {"LIFT", false, false},
        {"elevswitch", false, false},  // holds the excluded name
        {"switchlift", false, false},
        {"liftswitch2", false, false},
        {"elevatordoor", true, true},
        {"crate", false, false},
        {"", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsDoorTemplateName(c.name), c.door);
        EXPECT_EQ(IsElevatorTemplateName(c.name), c.elevator);
    }
    // Every excluded name would qualify but for the list.
    ASSERT_EQ(DoorExclusions().size(), 26U);
    for (const char* excluded : DoorExclusions()) {
        SCOPED_TRACE(excluded);
        EXPECT_FALSE(IsDoorTemplateName(excluded));
        EXPECT_TRUE(IsDoorTemplateName(std::string(excluded) + "2"));
    }
}

TEST(DoorDialogRules, OfferedTemplatesKeepListOrderAndTheirPositions)
{
    const auto templates = ReadTemplateList("_base none type=default\n"
                                            "zdoor _base model3d=zdoor.3do\n"
                                            "crate _base model3d=crate.3do\n"
                                            "doorframe _base model3d=frame.3do\n"
                                            "14dhatch _base model3d=hatch.3do\n"
                                            "lift _base model3d=lift.3do\n"
                                            "adoor _base model3d=adoor.3do\n");
    ASSERT_EQ(templates.size(), 7U);
    EXPECT_EQ(OfferedTemplates(templates, IsDoorTemplateName), (std::vector<int>{1, 4, 6}));
    EXPECT_EQ(OfferedTemplates(templates, IsElevatorTemplateName), (std::vector<int>{5}));
}

TEST(DoorDialogRules, PreviewModelOfATemplate)
{
    const struct {
        const char* params;
        const char* model;
    } cases[] = {
        {"model3d=door.3do cog=door.cog", "door.3do"},
        {"type=decor model3d=lift.3do", "lift.3do"},
        {"model3d=lift.3do\tcog=lift.cog", "lift.3do"},
        {"model3d=", ""},
        // No model named: the whole parameter text, which names no file.
        {"type=decor collide=1", "type=decor collide=1"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.params);
        EXPECT_EQ(TemplatePreviewModel(c.params), c.model);
    }
}

TEST(DoorDialogRules, ElevatorEnablesAndValues)
{
    CElevatorDialogValues v;
    EXPECT_FALSE(ElevatorDialogEnables(v).m_ok);  // no model shown yet
    EXPECT_TRUE(ElevatorDialogEnables(v).m_shaftHeight);
    v.m_x = 0.4f;
    v.m_y = 0.1f;
    EXPECT_FALSE(ElevatorDialogEnables(v).m_ok);  // flat along Z
    v.m_z = 0.3f;
    EXPECT_TRUE(ElevatorDialogEnables(v).m_ok);
    v.m_connect = true;
    EXPECT_FALSE(ElevatorDialogEnables(v).m_shaftHeight);

    v.m_template = "lift";
    v.m_shaftHeight = 2.0f;
    v.m_subShaftHeight = 0.1f;
    v.m_up = false;
    const CElevatorParams p = ElevatorParamsFromDialog(v);
    EXPECT_EQ(p.m_template, "lift");
    EXPECT_EQ(p.m_width, 0.4f);
    EXPECT_EQ(p.m_height, 0.1f);
    EXPECT_EQ(p.m_depth, 0.3f);
    EXPECT_EQ(p.m_shaftHeight, 2.0f);
    EXPECT_EQ(p.m_subShaftHeight, 0.1f);
    EXPECT_FALSE(p.m_up);
    EXPECT_TRUE(p.m_connect);
}

}  // namespace
