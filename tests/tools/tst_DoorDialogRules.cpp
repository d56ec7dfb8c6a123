// The Create Door dialog's rules: the depth edits and the connect box follow "Sunken" and
// connect, OK needs a model with a size, and "Simple" sides hand over depth 0 and no connect.

#include "tools/DoorDialogRules.h"

#include <gtest/gtest.h>

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

}  // namespace
