#include "engine/Bookmarks.h"

#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

using ECall = CRecordingEngineHost::ECall;

CWorldVertex Bookmark(const CVector3& position, const CVector3& forward, const CVector3& up)
{
    CWorldVertex entry;
    entry.x = position.x;
    entry.y = position.y;
    entry.z = position.z;
    entry.extra[0] = forward.x;
    entry.extra[1] = forward.y;
    entry.extra[2] = forward.z;
    entry.extra[3] = up.x;
    entry.extra[4] = up.y;
    entry.extra[5] = up.z;
    return entry;
}

void ExpectNear(const CVector3& actual, const CVector3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

// An engine over the room-above-room level with the watching host.
struct CBookmarkEngine {
    CBookmarkEngine() { host.m_view = &view; }

    CQzlSections level = MakeRoomAboveRoom();
    CSettings settings;
    CDocumentState document;
    CGameResources game;
    CFrameWatchHost host;
    CScriptedKeyState keys;
    CScriptedClock clock;
    CScriptedRandom random;
    C3dView view{level, settings, document, game, host, keys, clock, random};
};

TEST(Bookmarks, StoreGrowsTheListWithZeroEntries)
{
    CFixtureEngine f(MakeBoxRoom());
    C3dView& v = f.m_view;
    v.m_camera.m_position = {1, 2, 3};
    v.m_camera.m_forwardAxis = {0, 0, 1};
    v.m_camera.m_upAxis = {0, 1, 0};

    StoreCameraBookmark(v, 5);
    const std::vector<CWorldVertex>& list = f.m_level.m_bookmarks;
    ASSERT_EQ(list.size(), 6u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(list[static_cast<std::size_t>(i)], CWorldVertex{}) << i;
    }
    EXPECT_EQ(list[5], Bookmark({1, 2, 3}, {0, 0, 1}, {0, 1, 0}));

    // An existing slot is overwritten in place; a negative slot changes nothing.
    v.m_camera.m_position = {4, 5, 6};
    StoreCameraBookmark(v, 1);
    StoreCameraBookmark(v, -1);
    ASSERT_EQ(list.size(), 6u);
    EXPECT_EQ(list[1], Bookmark({4, 5, 6}, {0, 0, 1}, {0, 1, 0}));
    EXPECT_EQ(list[5], Bookmark({1, 2, 3}, {0, 0, 1}, {0, 1, 0}));
}

TEST(Bookmarks, RecallMovesTheCameraAndPicksTheSectorBelow)
{
    CBookmarkEngine e;
    C3dView& v = e.view;
    e.level.m_bookmarks = {Bookmark({0.5f, 1.5f, 0.5f}, {1, 0, 0}, {0, 1, 0})};
    v.m_selection.m_sector = 0;
    v.m_selection.m_surface = 3;

    RecallCameraBookmark(v, 0);

    // Straight down from the upper room the ray meets that room's floor (portals are hit).
    EXPECT_EQ(v.m_selection.m_sector, 1);
    EXPECT_EQ(v.m_selection.m_surface, -1);
    EXPECT_EQ(v.m_camera.m_position, CVector3(0.5f, 1.5f, 0.5f));
    EXPECT_EQ(v.m_camera.m_forwardAxis, CVector3(1, 0, 0));
    EXPECT_EQ(v.m_camera.m_upAxis, CVector3(0, 1, 0));
    EXPECT_EQ(v.m_camera.m_focusPoint, v.m_camera.m_position);
    EXPECT_EQ(v.m_camera.m_focusPoint2, v.m_camera.m_position);
    ExpectNear(GetCameraPosition(v), {0.5f, 1.5f, 0.5f});
    CVector3 forward;
    CVector3 up;
    GetCameraAxes(v, forward, up);
    EXPECT_EQ(forward, CVector3(1, 0, 0));
    EXPECT_EQ(up, CVector3(0, 1, 0));

    // One forced frame inside the wait cursor, drawn with the camera-jump flag set.
    ASSERT_EQ(e.host.m_calls.size(), 3u);
    EXPECT_EQ(e.host.m_calls[0].kind, ECall::BeginWaitCursor);
    EXPECT_EQ(e.host.m_calls[1].kind, ECall::RequestFrame);
    EXPECT_EQ(e.host.m_calls[1].number, 1);
    EXPECT_EQ(e.host.m_calls[2].kind, ECall::EndWaitCursor);
    EXPECT_EQ(e.host.m_jumpAtFrame, std::vector<int>{1});
    EXPECT_EQ(v.m_camera.m_jump, 0);
}

TEST(Bookmarks, RecallOverNothingKeepsTheSector)
{
    CBookmarkEngine e;
    C3dView& v = e.view;
    e.level.m_bookmarks = {Bookmark({5, 5, 5}, {0, 0, 1}, {0, 1, 0})};
    v.m_selection.m_sector = 0;
    v.m_selection.m_surface = 2;

    RecallCameraBookmark(v, 0);
    EXPECT_EQ(v.m_selection.m_sector, 0);
    EXPECT_EQ(v.m_selection.m_surface, -1);
    EXPECT_EQ(v.m_camera.m_focusPoint, CVector3(5, 5, 5));
    EXPECT_EQ(e.host.Count(ECall::RequestFrame), 1u);
}

TEST(Bookmarks, RecallThatCannotMakeAViewDoesNothing)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct CCase {
        const char* what;
        int slot;
    };
    const CCase cases[] = {
        {"slot beyond the list", 3}, {"negative slot", -1}, {"zero-filled slot", 0},
        {"zero up axis", 1},         {"not a number", 2},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.what);
        CBookmarkEngine e;
        C3dView& v = e.view;
        e.level.m_bookmarks = {CWorldVertex{}, Bookmark({0.5f, 0.5f, 0.5f}, {0, 0, 1}, {0, 0, 0}),
                               Bookmark({nan, 0.5f, 0.5f}, {0, 0, 1}, {0, 1, 0})};
        SetCameraPosition(v, 0.25f, 0.25f, 0.25f);
        v.m_selection.m_sector = 1;
        v.m_selection.m_surface = 4;
        const D3DMATRIX before = v.m_camera.m_viewMatrix;

        RecallCameraBookmark(v, c.slot);
        EXPECT_EQ(v.m_camera.m_viewMatrix, before);
        EXPECT_EQ(v.m_camera.m_position, CVector3(0.25f, 0.25f, 0.25f));
        EXPECT_EQ(v.m_camera.m_forwardAxis, CVector3(0, 0, 1));
        EXPECT_EQ(v.m_camera.m_upAxis, CVector3(0, 1, 0));
        EXPECT_EQ(v.m_selection.m_sector, 1);
        EXPECT_EQ(v.m_selection.m_surface, 4);
        EXPECT_TRUE(e.host.m_calls.empty());
    }
}

TEST(Bookmarks, StoreThenRecallRestoresTheCamera)
{
    CBookmarkEngine e;
    C3dView& v = e.view;
    SetCameraPosition(v, 0.5f, 0.4f, 0.3f);
    RotateCamera(v, 0, 1, 0, 0.6f);
    const D3DMATRIX stored = v.m_camera.m_viewMatrix;
    StoreCameraBookmark(v, 2);

    SetCameraPosition(v, 0.1f, 1.8f, 0.9f);
    RotateCamera(v, 0, 1, 0, -1.1f);
    RecallCameraBookmark(v, 2);

    EXPECT_EQ(v.m_selection.m_sector, 0);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(v.m_camera.m_viewMatrix.m[r][c], stored.m[r][c], 1e-5f);
        }
    }
}

}  // namespace
