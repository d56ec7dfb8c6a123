// The arithmetic of path frames: the camera matrix of three angles, the angles proposed from the
// camera's axes (and the round trip between the two), and the placements that play a path.

#include "engine/ObjectFramePath.h"

#include "support/PathFrame.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The look axis (third column) and up axis (second column) of a view matrix.
CVector3 LookAxis(const D3DMATRIX& m)
{
    return {m.m[0][2], m.m[1][2], m.m[2][2]};
}
CVector3 UpAxis(const D3DMATRIX& m)
{
    return {m.m[0][1], m.m[1][1], m.m[2][1]};
}

}  // namespace

TEST(ObjectFramePath, ViewMatrixOfEachAngleTurnsAboutItsOwnAxis)
{
    const struct {
        float pitch, yaw, roll;
        float rows[3][3];
    } cases[] = {
        {0, 0, 0, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
        {0, 90, 0, {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}},
        {90, 0, 0, {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}},
        {0, 0, 90, {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pitch << " " << c.yaw << " " << c.roll);
        const D3DMATRIX m = ViewMatrixFromAngles(c.pitch, c.yaw, c.roll);
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                EXPECT_NEAR(m.m[row][column], c.rows[row][column], 1e-6f) << row << column;
        // The fourth row and column stay those of the identity.
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(m.m[3][i], 0.0f);
            EXPECT_EQ(m.m[i][3], 0.0f);
        }
        EXPECT_EQ(m.m[3][3], 1.0f);
    }
}

TEST(ObjectFramePath, CameraAnglesOfTheMatrixComeBack)
{
    const struct {
        float pitch, yaw, roll;
    } cases[] = {
        {0, 0, 0},   {0, 30, 0},  {0, -120, 0}, {0, 170, 0}, {20, 0, 0},
        {-35, 0, 0}, {100, 0, 0}, {0, 0, 25},   {0, 0, -40}, {0, 40, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pitch << " " << c.yaw << " " << c.roll);
        const D3DMATRIX m = ViewMatrixFromAngles(c.pitch, c.yaw, c.roll);
        const CFrameAngles angles = CameraAnglesFromAxes(LookAxis(m), UpAxis(m));
        EXPECT_NEAR(angles.pitch, c.pitch, 1e-3f);
        EXPECT_NEAR(angles.yaw, c.yaw, 1e-3f);
        EXPECT_NEAR(angles.roll, c.roll, 1e-3f);
    }
}

TEST(ObjectFramePath, CameraAnglesOfSideways)
{
    // A look axis of x exactly +-1 takes roll 0 and the pitch of c = up x look.
    const struct {
        CVector3 look, up;
        CFrameAngles want;
    } cases[] = {
        {{1, 0, 0}, {0, 1, 0}, {0.0f, -90.0f, 0.0f}},
        {{-1, 0, 0}, {0, 1, 0}, {0.0f, 90.0f, 0.0f}},
        // Upside down: the pitch's arcsine (0) and arccosine (pi) differ; the arccosine wins.
        {{0, 0, 1}, {0, -1, 0}, {0.0f, 0.0f, -180.0f}},
        // Looking straight up: yaw 0 (atan2 of zeros); the roll's arccosine, with the arcsine's
        // sign.
        {{0, 1, 0}, {0, 0, -1}, {90.0f, 0.0f, 0.0f}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.look.x << " " << c.look.y << " " << c.look.z);
        const CFrameAngles angles = CameraAnglesFromAxes(c.look, c.up);
        EXPECT_NEAR(angles.roll, c.want.roll, 1e-3f);
        EXPECT_NEAR(angles.yaw, c.want.yaw, 1e-3f);
        EXPECT_NEAR(angles.pitch, c.want.pitch, 1e-3f);
    }
}

TEST(ObjectFramePath, PlacementsStepAlongEachPairOfFrames)
{
    // 1.0 apart: 1.0 / 0.05 lies just below 20, so n = 19 and 20 placements per pass.
    const std::vector<CWorldVertex> path = {PathFrame(0, 0, 0, 0, 0, 0),
                                            PathFrame(1, 0, 0, 10, 20, -38)};
    const std::vector<CWorldVertex> forward = FramePathPlacements(path, false);
    ASSERT_EQ(forward.size(), 20u);
    EXPECT_EQ(forward.front(), path[0]);
    EXPECT_EQ(forward.back(), path[1]);
    EXPECT_FLOAT_EQ(forward[1].x, 1.0f / 19.0f);
    EXPECT_FLOAT_EQ(forward[1].extra[2], -2.0f);
    for (std::size_t i = 3; i < 6; ++i)
        EXPECT_EQ(forward[10].extra[i], 0.0f);

    const std::vector<CWorldVertex> backward = FramePathPlacements(path, true);
    ASSERT_EQ(backward.size(), 20u);
    EXPECT_EQ(backward.front(), path[1]);
    EXPECT_EQ(backward.back(), path[0]);

    // Three frames: each pair in turn, backward from the last.
    const std::vector<CWorldVertex> three = {PathFrame(0, 0, 0), PathFrame(0, 0.5f, 0),
                                             PathFrame(0, 0.5f, 1)};
    const std::vector<CWorldVertex> back3 = FramePathPlacements(three, true);
    ASSERT_EQ(back3.size(), 20u + 10u);
    EXPECT_EQ(back3.front(), three[2]);
    EXPECT_EQ(back3[20], three[1]);
    EXPECT_EQ(back3.back(), three[0]);
}

TEST(ObjectFramePath, PlacementsOfShortPaths)
{
    // Two frames at one place: one placement at t = 0 per pass.
    const CWorldVertex a = PathFrame(2, 3, 4, 5, 6, 7);
    CWorldVertex b = a;
    b.extra[2] = 90.0f;
    const std::vector<CWorldVertex> same = FramePathPlacements({a, b}, false);
    ASSERT_EQ(same.size(), 1u);
    EXPECT_EQ(same[0], a);
    // One frame, or none: nothing to play.
    EXPECT_TRUE(FramePathPlacements({a}, false).empty());
    EXPECT_TRUE(FramePathPlacements({}, true).empty());
}
