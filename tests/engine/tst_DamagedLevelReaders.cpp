// The engine's readers of a level whose indices are out of range (adjoin mirrors, a surface's
// adjoin, materials, colour maps, sounds, a thing's sector): the render data, a frame, picks,
// both visibility passes, the camera walked through the joined wall and the sector sounds. Each
// runs without reading outside a list (the sanitizers watch) and leaves the stored indices as
// they were: the user repairs them with Clean Up.

#include "FrameTestSupport.h"
#include "SyntheticGame.h"
#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/FrameRender.h"
#include "engine/Picking.h"
#include "engine/RenderData.h"
#include "engine/Visibility.h"
#include "engine/WalkMode.h"
#include "framework/DocumentState.h"
#include "framework/Settings.h"
#include "level/QzlSections.h"
#include "support/DamagedLevelTests.h"
#include "support/DamagedLevels.h"
#include "support/FixtureLevels.h"
#include "support/RecordingRenderDevice.h"
#include "support/RecordingSoundDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

class DamagedLevelReaders : public ::testing::TestWithParam<CDamagedLevel> {};

TEST_P(DamagedLevelReaders, RenderDataFramesPicksAndVisibility)
{
    CRecordingRenderDevice device;
    CFixtureEngine engine(MakeDamagedLevel(GetParam()));
    C3dView& view = engine.m_view;
    ReadyToDraw(view, device);
    // The rebuild places each thing in the sector around it; nothing else changes from here on.
    const std::vector<std::int32_t> before = StoredIndices(engine.m_level);
    engine.m_clock.m_now = 100000;

    // Every visibility method, then frames with and without Collision through each.
    for (const int method : {0, 1, 2}) {
        SCOPED_TRACE("RenderMethod " + std::to_string(method));
        engine.m_settings.m_renderMethod = method;
        ProcessSectors(view);
        for (const auto& sector : engine.m_level.m_sectors) {
            for (const std::int32_t seen : sector->m_visible) {
                EXPECT_GE(seen, 0);
                EXPECT_LT(seen, static_cast<int>(engine.m_level.m_sectors.size()));
            }
        }
        for (const int collision : {0, 1}) {
            engine.m_settings.m_collision = collision;
            for (const int sector : {0, 1}) {
                view.m_selection.m_sector = sector;
                engine.m_clock.m_now += 1000;
                device.m_draws.clear();
                RenderFrame(view, 1);
                EXPECT_FALSE(device.m_draws.empty());
            }
        }
    }
    EXPECT_EQ(device.m_misuseCount, 0);

    // Rebuilding one sector and everything again, as edits and loads do.
    RebuildSector(view, 0);
    RebuildSector(view, 1);
    RebuildAll(view, true);

    // Picks on a grid of screen points from inside each room; each names elements of the level.
    engine.m_settings.m_collision = 0;
    ReadyToDraw(view, device);
    for (const float x : {0.02f, 1.98f}) {
        SetCameraAxes(view, x < 1.0f ? 1.0f : -1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
        SetCameraPosition(view, x, 0.5f, 0.5f);
        for (int py = 5; py < 100; py += 15) {
            for (int px = 5; px < 100; px += 15) {
                PickAtPoint(view, px, py);
                const CSelection& s = view.m_selection;
                EXPECT_LT(s.m_sector, static_cast<int>(engine.m_level.m_sectors.size()));
                EXPECT_LT(s.m_surface, static_cast<int>(engine.m_level.m_surfaces.size()));
                EXPECT_LT(s.m_thing, static_cast<int>(engine.m_level.m_things.size()));
            }
        }
    }
    EXPECT_EQ(StoredIndices(engine.m_level), before);
}

// Walk mode with Collision: the player walks from room 0 through the joined wall into room 1 and
// back, each room's sound (a bad one: none) looping on the recording sound device.
TEST_P(DamagedLevelReaders, WalkThroughTheJoinedWallWithSectorSounds)
{
    CRecordingSoundDevice sound;
    CQzlSections level = MakeDamagedLevel(GetParam());
    const std::vector<std::uint8_t> wav = MakeSyntheticWav(8, 8, 1);
    AddLevelFile(level, "drip.wav", std::string(wav.begin(), wav.end()));
    CFixtureEngine engine(std::move(level), &sound);
    C3dView& view = engine.m_view;
    RebuildAll(view, false);
    const std::vector<std::int32_t> before = StoredIndices(engine.m_level);
    for (const int method : {0, 2}) {
        engine.m_settings.m_renderMethod = method;
        ProcessSectors(view);
    }
    engine.m_settings.m_collision = 1;
    engine.m_document.m_renderMode = 0;
    view.m_walk.m_on = 1;
    view.m_selection.m_sector = 0;
    CCameraState& camera = view.m_camera;
    camera.m_forwardAxis = {1.0f, 0.0f, 0.0f};
    camera.m_position = {0.3f, 0.5f, 0.5f};
    camera.m_focusPoint2 = camera.m_position;
    std::vector<int> sectors;
    for (int step = 0; step < 60; ++step) {
        const float dx = step < 30 ? 0.05f : -0.05f;
        camera.m_focusPoint = camera.m_position + CVector3(dx, 0.0f, 0.0f);
        WalkModeStep(view);
        camera.m_focusPoint2 = camera.m_position;
        camera.m_position = camera.m_position + CVector3(dx, 0.0f, 0.0f);
        sectors.push_back(view.m_selection.m_sector);
        EXPECT_GE(view.m_selection.m_sector, -1);
        EXPECT_LT(view.m_selection.m_sector, 2);
    }
    EXPECT_EQ(StoredIndices(engine.m_level), before);
    // The walk crossed the wall both ways.
    ASSERT_NE(std::find(sectors.begin(), sectors.end(), 1), sectors.end());
    EXPECT_EQ(sectors.back(), 0);
    // Room 0 has no sound (or a bad one); room 1's loops only when it names one of the level's.
    bool played = false;
    for (const std::string& line : sound.m_log)
        played = played || line.find(" play loop") != std::string::npos;
    EXPECT_EQ(played, engine.m_level.m_sectors[1]->m_sound == 0);
}

INSTANTIATE_TEST_SUITE_P(EveryOpenedDamage, DamagedLevelReaders,
                         ::testing::ValuesIn(OpenedDamagedLevels()), DamagedLevelTestName);

}  // namespace
