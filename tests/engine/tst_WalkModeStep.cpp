// The walk mode step on fixture levels: the player on the floor and against walls, the probe
// restarts, low headroom, movers through their cycle with sounds, partners, switches, riders, the
// sector's ambient sound, cel animation and the camera's sector.

#include "SyntheticGame.h"
#include "engine/3doModel.h"
#include "engine/C3dView.h"
#include "engine/Texture.h"
#include "engine/WalkMode.h"
#include "framework/DocumentState.h"
#include "framework/Settings.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "level/QzlSector.h"
#include "level/QzlSurface.h"
#include "level/QzlThing.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/RecordingEngineHost.h"
#include "support/RecordingSoundDevice.h"
#include "support/ScriptedInput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr float kEps = 1e-4f;

// A level in walk mode with Collision on, a recording sound device and the level's own WAVs.
class WalkFixture {
public:
    explicit WalkFixture(CQzlSections level, const std::vector<std::string>& sounds = {})
        : m_engine(std::move(level), &m_device)
    {
        for (const std::string& name : sounds) {
            const std::vector<std::uint8_t> wav = MakeSyntheticWav(8, 8, 1);
            AddLevelFile(m_level, name, std::string(wav.begin(), wav.end()));
        }
        // Every sector sees every sector, as the visibility pass would give for these rooms.
        for (auto& sector : m_level.m_sectors) {
            sector->m_visible.clear();
            for (int i = 0; i < static_cast<int>(m_level.m_sectors.size()); ++i)
                sector->m_visible.push_back(i);
        }
        m_settings.m_collision = 1;
        m_document.m_renderMode = 0;
        View().m_walk.m_on = 1;
    }

    C3dView& View() { return m_engine.m_view; }

    // A mover of template "door" in sector 0 with frames from -> to and a ghost model at from.
    int AddMover(const CVector3& from, const CVector3& to, float speed = 8.0f, float sleep = 2.0f)
    {
        const int index = AddCrate(m_level, 0, from);
        CQzlThing& thing = *m_level.m_things.back();
        thing.m_frames = {{from.x, from.y, from.z}, {to.x, to.y, to.z}};
        thing.m_runtimeFloat[0] = speed;
        thing.m_runtimeFloat[1] = sleep;
        thing.m_runtimeText[0] = "start.wav";
        thing.m_runtimeText[1] = "move.wav";
        thing.m_runtimeText[2] = "stop.wav";
        auto model = std::make_unique<C3doModel>("ghost", "dflt.cmp");
        model->BuildGhost(0x00FFFFFF);
        model->m_position = from;
        model->m_placement.m[3][0] = from.x;
        model->m_placement.m[3][1] = from.y;
        model->m_placement.m[3][2] = from.z;
        thing.m_model = model.get();
        thing.m_modelReady = 1;
        View().m_thingModels.push_back(std::move(model));
        return index;
    }

    // Places the player: camera, forward axis, and the previous and proposed positions.
    void Place(const CVector3& previous, const CVector3& proposed,
               const CVector3& forward = {0.0f, 0.0f, 1.0f})
    {
        CCameraState& camera = View().m_camera;
        camera.m_forwardAxis = forward;
        camera.m_position = proposed - forward * 0.05f;
        camera.m_focusPoint2 = previous;
        camera.m_focusPoint = proposed;
    }

    // One frame as the frame routine runs it: focus point, step, focus point kept.
    void Frame()
    {
        CCameraState& camera = View().m_camera;
        camera.m_focusPoint = camera.m_position + camera.m_forwardAxis * 0.05f;
        WalkModeStep(View());
        camera.m_focusPoint2 = camera.m_position + camera.m_forwardAxis * 0.05f;
    }

    // Lines of the sound log that play or stop a buffer.
    std::vector<std::string> PlayLog() const
    {
        std::vector<std::string> out;
        for (const std::string& line : m_device.m_log)
            if (line.find(" play ") != std::string::npos || line.ends_with(" stop"))
                out.push_back(line);
        return out;
    }

    long Count(const std::string& line) const
    {
        return std::count(m_device.m_log.begin(), m_device.m_log.end(), line);
    }

    CRecordingSoundDevice m_device;  // outlives the engine
    CFixtureEngine m_engine;
    CQzlSections& m_level = m_engine.m_level;
    CSettings& m_settings = m_engine.m_settings;
    CDocumentState& m_document = m_engine.m_document;
};

void ExpectNear(const CVector3& got, const CVector3& want, const char* what)
{
    EXPECT_NEAR(got.x, want.x, kEps) << what;
    EXPECT_NEAR(got.y, want.y, kEps) << what;
    EXPECT_NEAR(got.z, want.z, kEps) << what;
}

// A texture with cels cels and no device.
std::unique_ptr<CTexture> MakeTexture(int cels)
{
    auto texture = std::make_unique<CTexture>("anim.mat", "dflt.cmp");
    texture->m_image = std::make_unique<CBitmapImage>();
    texture->m_image->ReadMat(MakeSyntheticMat(4, 4, cels, 1), CPalette{}, "anim.mat");
    return texture;
}

}  // namespace

TEST(WalkModeStep, StandsAtEyeHeightAndClimbsAStepAhead)
{
    // Sector 0 from (0, 0, 0) to (1, 1, 1), sector 1 beside it with its floor at 0.1.
    auto makeLevel = [] {
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
        AddBoxSector(level, {1, 0.1f, 0}, {2, 1, 1});
        FinishFixture(level);
        return level;
    };
    struct Case {
        const char* what;
        CVector3 at;
        CVector3 forward;
        float eye;
    };
    const Case cases[] = {
        {"floor", {0.5f, 0.6f, 0.5f}, {0, 0, 1}, 0.15f},
        {"step ahead", {0.98f, 0.6f, 0.5f}, {1, 0, 0}, 0.25f},
        {"step behind", {0.98f, 0.6f, 0.5f}, {-1, 0, 0}, 0.15f},
    };
    for (const Case& c : cases) {
        WalkFixture f(makeLevel());
        f.View().m_selection.m_sector = 0;
        f.Place(c.at, c.at, c.forward);
        WalkModeStep(f.View());
        EXPECT_NEAR(f.View().m_camera.m_position.y, c.eye, kEps) << c.what;
        EXPECT_NEAR(f.View().m_camera.m_focusPoint.y, c.eye, kEps) << c.what;
        EXPECT_EQ(f.View().m_selection.m_sector, 0) << c.what;
        EXPECT_TRUE(LevelIsSound(f.m_level)) << c.what;
    }
}

TEST(WalkModeStep, PhysicsLeftOutWhileEditingOrPlaced)
{
    const struct {
        const char* what;
        void (*set)(WalkFixture&);
    } cases[] = {
        {"current surface", [](WalkFixture& f) { f.View().m_selection.m_surface = 0; }},
        {"current thing", [](WalkFixture& f) { f.View().m_selection.m_thing = 0; }},
        {"camera placed", [](WalkFixture& f) { f.View().m_camera.m_jump = 1; }},
        {"lock", [](WalkFixture& f) { f.m_settings.m_lock = 1; }},
        {"sector edit mode", [](WalkFixture& f) { f.m_document.m_editMode = 1; }},
        {"sector mode", [](WalkFixture& f) { f.m_document.m_sectorMode = 1; }},
        {"render mode 3", [](WalkFixture& f) { f.m_document.m_renderMode = 3; }},
        {"render mode 4", [](WalkFixture& f) { f.m_document.m_renderMode = 4; }},
    };
    for (const auto& c : cases) {
        WalkFixture f(MakeBoxRoom());
        f.View().m_selection.m_sector = 0;
        c.set(f);
        f.Place({0.5f, 0.6f, 0.5f}, {0.5f, 0.6f, 0.5f});
        WalkModeStep(f.View());
        EXPECT_NEAR(f.View().m_camera.m_position.y, 0.6f, kEps) << c.what;
    }
    // Nothing below the player: the current sector is none and the camera stays.
    WalkFixture f(MakeBoxRoom());
    f.View().m_selection.m_sector = 0;
    f.Place({0.5f, -2.0f, 0.5f}, {0.5f, -2.0f, 0.5f});
    WalkModeStep(f.View());
    EXPECT_EQ(f.View().m_selection.m_sector, -1);
    EXPECT_NEAR(f.View().m_camera.m_position.y, -2.0f, kEps);
}

TEST(WalkModeStep, WallsPushThePlayerToItsRadius)
{
    struct Case {
        const char* what;
        CVector3 proposed;
        CVector3 want;
    };
    const Case cases[] = {
        {"straight at the wall", {0.95f, 0.15f, 0.5f}, {0.925f, 0.15f, 0.5f}},
        {"slides along the wall", {0.96f, 0.15f, 0.6f}, {0.925f, 0.15f, 0.6f}},
        {"corner pushes from both walls", {0.96f, 0.15f, 0.97f}, {0.925f, 0.15f, 0.925f}},
        {"free in the room", {0.6f, 0.15f, 0.6f}, {0.6f, 0.15f, 0.6f}},
    };
    for (const Case& c : cases) {
        WalkFixture f(MakeBoxRoom());
        f.View().m_selection.m_sector = 0;
        f.Place({0.5f, 0.15f, 0.5f}, c.proposed);
        const CVector3 camera = f.View().m_camera.m_position;
        WalkModeStep(f.View());
        ExpectNear(f.View().m_camera.m_focusPoint, c.want, c.what);
        // The camera moves with the player.
        ExpectNear(f.View().m_camera.m_position - camera,
                   CVector3(c.want.x - c.proposed.x, 0.15f - camera.y, c.want.z - c.proposed.z),
                   c.what);
    }
}

TEST(WalkModeStep, ProbingRestartsAtMost101Times)
{
    // A corridor 0.05 wide: each push from one wall leaves the player behind the other. Both
    // walls are switches of a thing that does not exist, so every push clicks.
    CQzlSections level = MakeEmptyLevel();
    const int sector = AddBoxSector(level, {0, 0, 0}, {0.05f, 1, 1});
    FinishFixture(level);
    WalkFixture f(std::move(level), {"lvrclik1.wav"});
    f.m_level.m_surfaces[static_cast<std::size_t>(BoxSurface(f.m_level, sector, kBoxXLow))]
        ->m_triggeredThing = 99;
    f.m_level.m_surfaces[static_cast<std::size_t>(BoxSurface(f.m_level, sector, kBoxXHigh))]
        ->m_triggeredThing = 99;
    f.View().m_selection.m_sector = 0;
    f.Place({0.025f, 0.15f, 0.5f}, {0.1f, 0.15f, 0.5f});
    WalkModeStep(f.View());
    // The first push and one per restart.
    EXPECT_EQ(f.Count("#0 play once"), 102);
    EXPECT_TRUE(std::isfinite(f.View().m_camera.m_focusPoint.x));
    EXPECT_TRUE(f.View().m_walk.m_movingSectors.empty());
}

TEST(WalkModeStep, LowHeadroomIsNotClimbed)
{
    struct Case {
        const char* what;
        float ceiling;  // of the step's sector, above its floor at 0.1
        float wantX;
        int wantSector;
    };
    const Case cases[] = {
        {"headroom 0.15", 0.25f, 0.925f, 0},
        {"headroom 0.3", 0.4f, 0.95f, 0},
    };
    for (const Case& c : cases) {
        CQzlSections level = MakeEmptyLevel();
        const int room = AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
        const int step = AddBoxSector(level, {1, 0.1f, 0}, {2, c.ceiling, 1});
        JoinSurfaces(level, BoxSurface(level, room, kBoxXHigh), BoxSurface(level, step, kBoxXLow));
        FinishFixture(level);
        WalkFixture f(std::move(level));
        f.View().m_selection.m_sector = room;
        f.Place({0.9f, 0.15f, 0.5f}, {0.95f, 0.15f, 0.5f}, {1, 0, 0});
        WalkModeStep(f.View());
        EXPECT_NEAR(f.View().m_camera.m_focusPoint.x, c.wantX, kEps) << c.what;
        EXPECT_EQ(f.View().m_selection.m_sector, c.wantSector) << c.what;
    }
}

TEST(WalkModeStep, MoverRunsItsCycleWithItsSounds)
{
    // Travel 0.49 at speed 8: T = 0.6125; sleep 2: each wait 1.0. A switch on wall x = 1 starts
    // it; after the first frame the camera is held (no more touches).
    WalkFixture f(MakeBoxRoom(), {"start.wav", "move.wav", "stop.wav"});
    const int door = f.AddMover({0.2f, 0.0f, 0.2f}, {0.2f, 0.49f, 0.2f});
    f.m_level.m_surfaces[static_cast<std::size_t>(BoxSurface(f.m_level, 0, kBoxXHigh))]
        ->m_triggeredThing = door;
    f.View().m_selection.m_sector = 0;
    f.Place({0.5f, 0.15f, 0.5f}, {0.95f, 0.15f, 0.5f});
    const C3doModel& model = *f.m_level.m_things[0]->m_model;

    struct Row {
        int frame;  // after that many frames: t = 0.05 x frame
        float y;
        int moved;
        std::size_t movingSectors;
    };
    const Row rows[] = {
        {1, 0.04f, 1, 1},  {10, 0.4f, 1, 1},  {12, 0.48f, 1, 1}, {13, 0.49f, 1, 1},
        {32, 0.49f, 1, 1}, {33, 0.46f, 1, 1}, {44, 0.02f, 1, 1}, {45, 0.0f, 1, 0},
        {64, 0.0f, 1, 0},  {65, 0.0f, 0, 0},  {70, 0.0f, 0, 0},
    };
    std::vector<std::vector<std::string>> sounds;  // new play and stop lines per frame
    int frame = 0;
    std::size_t seen = 0;
    for (const Row& row : rows) {
        while (frame < row.frame) {
            WalkModeStep(f.View());
            f.View().m_camera.m_jump = 1;
            ++frame;
            const std::vector<std::string> log = f.PlayLog();
            sounds.emplace_back(log.begin() + static_cast<std::ptrdiff_t>(seen), log.end());
            seen = log.size();
        }
        EXPECT_NEAR(model.m_position.y, row.y, kEps) << "frame " << row.frame;
        EXPECT_NEAR(model.m_placement.m[3][1], row.y, kEps) << "frame " << row.frame;
        EXPECT_EQ(model.m_moved, row.moved) << "frame " << row.frame;
        EXPECT_EQ(f.View().m_walk.m_movingSectors.size(), row.movingSectors)
            << "frame " << row.frame;
    }
    using Lines = std::vector<std::string>;
    // Buffers in load order: #0 start, #1 move, #2 stop.
    EXPECT_EQ(sounds[0], (Lines{"#0 play once", "#1 play loop"}));
    EXPECT_EQ(sounds[12], (Lines{"#1 stop", "#2 play once"}));
    EXPECT_EQ(sounds[32], (Lines{"#0 play once", "#1 play loop"}));
    EXPECT_EQ(sounds[44], (Lines{"#1 stop", "#2 play once"}));
    for (std::size_t i = 0; i < sounds.size(); ++i) {
        if (i != 0 && i != 12 && i != 32 && i != 44) {
            EXPECT_TRUE(sounds[i].empty()) << "frame " << i + 1;
        }
    }
    EXPECT_EQ(f.Count("#1 volume -602"), 2);  // the move sound at half volume
    EXPECT_EQ(f.Count("#0 volume 0"), 2);
    EXPECT_TRUE(LevelIsSound(f.m_level));
}

TEST(WalkModeStep, MoverStartsOnlyWhenItCanRun)
{
    struct Case {
        const char* what;
        int frames;
        float speed;
        float sleep;
        bool walkOn;
        bool starts;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {"two frames", 2, 8.0f, 2.0f, true, true},
        {"one frame", 1, 8.0f, 2.0f, true, false},
        {"speed 0", 2, 0.0f, 2.0f, true, false},
        {"negative speed", 2, -1.0f, 2.0f, true, false},
        {"speed not a number", 2, nan, 2.0f, true, false},
        {"walk mode off", 2, 8.0f, 2.0f, false, false},
    };
    for (const Case& c : cases) {
        WalkFixture f(MakeBoxRoom());
        const int door = f.AddMover({0.2f, 0, 0.2f}, {0.2f, 0.5f, 0.2f}, c.speed, c.sleep);
        if (c.frames == 1)
            f.m_level.m_things[0]->m_frames.resize(1);
        f.View().m_walk.m_on = c.walkOn ? 1 : 0;
        f.m_level.m_surfaces[static_cast<std::size_t>(BoxSurface(f.m_level, 0, kBoxXHigh))]
            ->m_triggeredThing = door;
        f.View().m_selection.m_sector = 0;
        f.Place({0.5f, 0.15f, 0.5f}, {0.95f, 0.15f, 0.5f});
        WalkModeStep(f.View());
        const C3doModel& model = *f.m_level.m_things[0]->m_model;
        EXPECT_EQ(model.m_moved, c.starts ? 1 : 0) << c.what;
        EXPECT_EQ(f.View().m_walk.m_movingSectors.size(), c.starts ? 1u : 0u) << c.what;
        EXPECT_TRUE(std::isfinite(model.m_position.y)) << c.what;
    }
}

TEST(WalkModeStep, SleepTimeZeroClosesAtOnce)
{
    WalkFixture f(MakeBoxRoom(), {"start.wav", "move.wav", "stop.wav"});
    const int door = f.AddMover({0.2f, 0, 0.2f}, {0.2f, 0.49f, 0.2f}, 8.0f, 0.0f);
    f.m_level.m_surfaces[static_cast<std::size_t>(BoxSurface(f.m_level, 0, kBoxXHigh))]
        ->m_triggeredThing = door;
    f.View().m_selection.m_sector = 0;
    f.Place({0.5f, 0.15f, 0.5f}, {0.95f, 0.15f, 0.5f});
    const C3doModel& model = *f.m_level.m_things[0]->m_model;
    float highest = 0.0f;
    int frames = 0;
    do {
        WalkModeStep(f.View());
        f.View().m_camera.m_jump = 1;
        highest = std::max(highest, model.m_position.y);
        ++frames;
    } while (model.m_moved != 0 && frames < 100);
    // 2T = 1.225: done at t = 1.25, the 25th frame; the highest point just before T.
    EXPECT_EQ(frames, 25);
    EXPECT_NEAR(highest, 0.48f, kEps);
    EXPECT_NEAR(model.m_position.y, 0.0f, kEps);
    // Arrival and close still stop the move sound and play the stop sound; the sector leaves
    // the moving-sectors list.
    EXPECT_EQ(f.Count("#1 stop"), 2);
    EXPECT_EQ(f.Count("#2 play once"), 2);
    EXPECT_FALSE(f.m_device.m_buffers[1].m_playing);
    EXPECT_TRUE(f.View().m_walk.m_movingSectors.empty());
}

TEST(WalkModeStep, TouchingARunningMoverDoesNotRestartIt)
{
    WalkFixture f(MakeBoxRoom(), {"lvrclik1.wav"});
    const int door = f.AddMover({0.2f, 0, 0.2f}, {0.2f, 0.49f, 0.2f});
    auto texture = MakeTexture(3);
    CQzlSurface& wall =
        *f.m_level.m_surfaces[static_cast<std::size_t>(BoxSurface(f.m_level, 0, kBoxXHigh))];
    wall.m_triggeredThing = door;
    wall.m_texture = texture.get();
    f.View().m_selection.m_sector = 0;
    const C3doModel& model = *f.m_level.m_things[0]->m_model;
    for (int i = 0; i < 5; ++i) {
        f.Place({0.5f, 0.15f, 0.5f}, {0.95f, 0.15f, 0.5f});
        WalkModeStep(f.View());
    }
    // Each touch clicks; the door runs one cycle from the first touch.
    EXPECT_EQ(f.Count("#0 play once"), 5);
    EXPECT_NEAR(model.m_cycleTime, 0.25f, kEps);
    EXPECT_EQ(f.View().m_walk.m_movingSectors.size(), 1u);
    // The switch's texture plays once at three cels a second; repeated touches leave it alone.
    ASSERT_EQ(f.View().m_walk.m_animatedTextures.size(), 1u);
    EXPECT_EQ(texture->m_loop, 0);
    EXPECT_NEAR(texture->m_secondsPerCel, 1.0f / 3.0f, kEps);
    EXPECT_EQ(texture->m_currentCel, 0);
    wall.m_texture = nullptr;
}

TEST(WalkModeStep, PartnerOpensButNotThePartnersPartner)
{
    WalkFixture f(MakeBoxRoom());
    const int a = f.AddMover({0.2f, 0, 0.2f}, {0.2f, 0.5f, 0.2f});
    const int b = f.AddMover({0.3f, 0, 0.2f}, {0.3f, 0.5f, 0.2f});
    const int c = f.AddMover({0.4f, 0, 0.2f}, {0.4f, 0.5f, 0.2f});
    f.m_level.m_things[static_cast<std::size_t>(a)]->m_runtimeIndex = b;
    f.m_level.m_things[static_cast<std::size_t>(b)]->m_runtimeIndex = c;
    f.m_level.m_things[static_cast<std::size_t>(c)]->m_runtimeIndex = 77;  // out of range
    struct Case {
        int touched;
        std::vector<int> moved;
    };
    const Case cases[] = {{a, {1, 1, 0}}, {c, {0, 0, 1}}};
    for (const Case& k : cases) {
        for (auto& thing : f.m_level.m_things)
            thing->m_model->m_moved = 0;
        f.View().m_walk.m_movingSectors.clear();
        f.m_level.m_surfaces[static_cast<std::size_t>(BoxSurface(f.m_level, 0, kBoxXHigh))]
            ->m_triggeredThing = k.touched;
        f.View().m_selection.m_sector = 0;
        f.View().m_camera.m_jump = 0;
        f.Place({0.5f, 0.15f, 0.5f}, {0.95f, 0.15f, 0.5f});
        WalkModeStep(f.View());
        std::vector<int> moved;
        for (auto& thing : f.m_level.m_things)
            moved.push_back(thing->m_model->m_moved);
        EXPECT_EQ(moved, k.moved) << "touched " << k.touched;
    }
}

TEST(WalkModeStep, RiderKeepsItsHeightAboveARisingElevator)
{
    WalkFixture f(MakeBoxRoom());
    f.AddMover({0.5f, 0, 0.5f}, {0.5f, 0.49f, 0.5f});
    f.View().m_selection.m_sector = 0;
    // The player's focus point stands right above the elevator.
    f.View().m_camera.m_forwardAxis = {0, 0, 1};
    f.View().m_camera.m_position = {0.5f, 0.3f, 0.45f};
    f.View().m_camera.m_focusPoint2 = {0.5f, 0.3f, 0.5f};
    const C3doModel& model = *f.m_level.m_things[0]->m_model;
    std::vector<float> above;
    for (int i = 0; i < 12; ++i) {
        f.Frame();
        above.push_back(f.View().m_camera.m_position.y - model.m_position.y);
    }
    ASSERT_EQ(model.m_moved, 1);
    EXPECT_NEAR(model.m_position.y, 0.48f, kEps);
    for (std::size_t i = 0; i < above.size(); ++i)
        EXPECT_NEAR(above[i], above[0], kEps) << "frame " << i + 1;
    EXPECT_GT(above[0], 0.1f);
}

TEST(WalkModeStep, SectorSoundLoopsWithoutRestarting)
{
    CQzlSections level = MakeTwoJoinedRooms();
    level.m_sounds = {"hum.wav", "wind.wav"};
    level.m_sectors[0]->m_sound = 0;
    level.m_sectors[0]->m_soundVolume = 1.0f;
    level.m_sectors[1]->m_sound = 1;
    level.m_sectors[1]->m_soundVolume = 0.5f;
    WalkFixture f(std::move(level), {"hum.wav", "wind.wav"});
    f.View().m_selection.m_sector = 0;
    f.View().m_camera.m_jump = 1;  // the player stays where the test puts it
    f.View().m_camera.m_position = {0.5f, 0.5f, 0.5f};
    for (int i = 0; i < 5; ++i)
        WalkModeStep(f.View());
    using Lines = std::vector<std::string>;
    EXPECT_EQ(f.PlayLog(), (Lines{"#0 play loop"}));
    // A loop that stopped is started again.
    f.m_device.m_buffers[0].m_playing = false;
    WalkModeStep(f.View());
    EXPECT_EQ(f.PlayLog(), (Lines{"#0 play loop", "#0 play loop"}));
    // Walking into the other room: the old loop ends, the new one starts once.
    f.View().m_camera.m_jump = 0;
    f.Place({1.5f, 0.15f, 0.5f}, {1.5f, 0.15f, 0.5f});
    for (int i = 0; i < 3; ++i)
        WalkModeStep(f.View());
    EXPECT_EQ(f.View().m_selection.m_sector, 1);
    EXPECT_EQ(f.PlayLog(), (Lines{"#0 play loop", "#0 play loop", "#0 play once", "#1 play loop"}));
    EXPECT_EQ(f.Count("#1 volume -602"), 1);
    EXPECT_EQ(f.Count("#1 position 1.5 0.5 0.5"), 1);
}

TEST(WalkModeStep, CelAnimations)
{
    WalkFixture f(MakeBoxRoom());
    auto looping = MakeTexture(3);
    auto once = MakeTexture(3);
    auto zeroRate = MakeTexture(3);
    StartTextureAnimation(f.View(), *looping, 1, 50.0f, 1);  // 0.02 s: a cel every 2 frames
    StartTextureAnimation(f.View(), *once, 0, 50.0f, 0);
    StartTextureAnimation(f.View(), *zeroRate, 0, 0.0f, 1);
    StartTextureAnimation(f.View(), *looping, 0, 10.0f, 0);  // already running: left alone
    EXPECT_EQ(f.View().m_walk.m_animatedTextures,
              (std::vector<CTexture*>{looping.get(), once.get()}));
    EXPECT_EQ(looping->m_currentCel, 1);
    EXPECT_EQ(looping->m_restartCel, 1);
    EXPECT_EQ(once->m_currentCel, 0);

    f.View().m_camera.m_jump = 1;
    std::vector<int> loopCels, onceCels;
    for (int i = 0; i < 8; ++i) {
        WalkModeStep(f.View());
        loopCels.push_back(looping->m_currentCel);
        onceCels.push_back(once->m_currentCel);
    }
    EXPECT_EQ(loopCels, (std::vector<int>{1, 2, 2, 1, 1, 2, 2, 1}));
    EXPECT_EQ(onceCels, (std::vector<int>{0, 1, 1, 2, 2, 0, 0, 0}));
    // The one-shot left the list when it came back to its first cel.
    EXPECT_EQ(f.View().m_walk.m_animatedTextures, (std::vector<CTexture*>{looping.get()}));
    f.View().m_walk.m_animatedTextures.clear();
}

TEST(WalkModeStep, KeyAnimationAdvancesAndWraps)
{
    struct Case {
        int frameCount;
        std::vector<int> frames;
    };
    const Case cases[] = {{3, {0, 1, 1, 2, 2, 0}}, {0, {0, 0, 0, 0, 0, 0}}};
    for (const Case& c : cases) {
        WalkFixture f(MakeBoxRoom());
        f.AddMover({0.2f, 0, 0.2f}, {0.2f, 0.5f, 0.2f});
        C3doModel& model = *f.m_level.m_things[0]->m_model;
        model.m_frameCount = c.frameCount;
        model.m_frameTime = 0.08f;
        f.View().m_camera.m_jump = 1;
        std::vector<int> frames;
        for (int i = 0; i < 6; ++i) {
            WalkModeStep(f.View());
            frames.push_back(model.m_currentFrame);
        }
        EXPECT_EQ(frames, c.frames) << c.frameCount;
    }
}

TEST(UpdateCameraSector, InsideThroughAPortalOrNone)
{
    struct Case {
        const char* what;
        int given;
        int current;
        CVector3 camera;
        int want;
    };
    const Case cases[] = {
        {"inside the given sector", 0, -1, {0.5f, 0.5f, 0.5f}, 0},
        {"the neighbour through a portal", 0, -1, {1.5f, 0.5f, 0.5f}, 1},
        {"neighbour of the current sector", -1, 0, {1.5f, 0.5f, 0.5f}, 1},
        {"given out of range", 9, 1, {1.5f, 0.5f, 0.5f}, 1},
        {"nowhere: current kept", 0, 1, {5.0f, 0.5f, 0.5f}, 1},
        {"nowhere and none current", -1, -1, {5.0f, 0.5f, 0.5f}, -1},
        {"back through the current sector", 2, 1, {0.5f, 0.5f, 0.5f}, 0},
    };
    for (const Case& c : cases) {
        WalkFixture f(MakeLCorridor());
        f.View().m_selection.m_sector = c.current;
        f.View().m_camera.m_position = c.camera;
        UpdateCameraSector(f.View(), c.given);
        EXPECT_EQ(f.View().m_selection.m_sector, c.want) << c.what;
    }
}
