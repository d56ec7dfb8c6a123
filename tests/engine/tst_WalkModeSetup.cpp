// Walk mode's set-up and tear-down on small levels of our own with the synthetic game, a
// recording sound device and a seeded random source.

#include "SyntheticGame.h"
#include "engine/C3dView.h"
#include "engine/CdAudio.h"
#include "engine/Dsound.h"
#include "engine/PointMarkers.h"
#include "engine/Random.h"
#include "engine/RenderData.h"
#include "engine/Texture.h"
#include "engine/ThingModels.h"
#include "engine/WalkCogs.h"
#include "engine/WalkMode.h"
#include "framework/DocumentState.h"
#include "framework/Settings.h"
#include "level/QzlCog.h"
#include "level/QzlSector.h"
#include "level/QzlTemplate.h"
#include "support/FixtureLevels.h"
#include "support/RecordingEngineHost.h"
#include "support/RecordingSoundDevice.h"
#include "support/ScriptedInput.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

// A box room (0..1) with the synthetic Korvath game, a recording sound device and a seeded
// random source. Cog scripts come from the game's archive.
struct CWalkEngine {
    explicit CWalkEngine(CQzlSections level = MakeBoxRoom())
        : m_synthetic(MakeSyntheticGame(0)), m_level(std::move(level)),
          m_view(m_level, m_settings, m_document, m_synthetic->m_resources, m_host, m_keys, m_clock,
                 m_random, C3dView::kDocumentView, nullptr, &m_sound)
    {}

    // A thing of template name with a model (frameCount key frames) at position.
    int AddThing(const std::string& name, const CVector3& position = {0.5f, 0.5f, 0.5f},
                 int frameCount = 0)
    {
        auto thing = std::make_unique<CQzlThing>();
        thing->m_template = name;
        thing->m_name = name;
        thing->m_position = position;
        auto model = std::make_unique<C3doModel>("crate.3do", "dflt.cmp");
        model->m_position = position;
        model->m_placement = MatrixTranslation(position);
        model->m_frameCount = frameCount;
        thing->m_model = model.get();
        m_view.m_thingModels.push_back(std::move(model));
        m_level.m_things.push_back(std::move(thing));
        return static_cast<int>(m_level.m_things.size()) - 1;
    }

    void AddTemplate(const std::string& name, const std::string& basedOn, const std::string& params)
    {
        auto entry = std::make_unique<CQzlTemplate>();
        entry->m_name = name;
        entry->m_basedOn = basedOn;
        entry->m_params = params;
        m_level.m_templates.push_back(std::move(entry));
    }

    void Walk(bool on)
    {
        m_view.m_walk.m_on = on ? 1 : 0;
        SetWalkMode(m_view);
    }

    // The fixture's surfaces have no texture coordinates: a conveyor needs some.
    void GiveTextureCoordinates(int surface)
    {
        std::vector<CQzlVertex>& corners = Surface(surface).m_vertices;
        for (std::size_t k = 0; k < corners.size(); ++k) {
            corners[k].m_u = 64.0f * static_cast<float>(k);
            corners[k].m_v = 32.0f * static_cast<float>(k % 2);
        }
    }

    CQzlThing& Thing(int i) { return *m_level.m_things[static_cast<std::size_t>(i)]; }
    C3doModel& Model(int i) { return *Thing(i).m_model; }
    CQzlSurface& Surface(int i) { return *m_level.m_surfaces[static_cast<std::size_t>(i)]; }

    std::unique_ptr<CSyntheticGame> m_synthetic;
    CQzlSections m_level;
    CSettings m_settings = [] {
        CSettings settings;
        settings.m_cdSound = 0;
        return settings;
    }();
    CDocumentState m_document;
    CRecordingEngineHost m_host;
    CScriptedKeyState m_keys;
    CScriptedClock m_clock;
    CSeededRandom m_random{7};
    CRecordingSoundDevice m_sound;
    C3dView m_view;
};

std::string Text(const std::vector<std::uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

// A texture of celCount cels of the synthetic game's kind, without a device texture.
std::unique_ptr<CTexture> MakeTexture(int celCount)
{
    auto texture = std::make_unique<CTexture>("lava.mat", "dflt.cmp");
    texture->m_image = std::make_unique<CBitmapImage>();
    texture->m_image->ReadMat(MakeSyntheticMat(8, 8, celCount, 4), CPalette{}, "lava.mat");
    return texture;
}

const float kAngular = 0.00052359880f;

void ExpectMatrixNear(const D3DMATRIX& a, const D3DMATRIX& b)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(a.m[r][c], b.m[r][c], 1e-6f) << r << "," << c;
}

}  // namespace

TEST(WalkModeSetup, MoverSoundsComeFromTheFirstWordOfTheTable)
{
    const struct Case {
        const char* params;
        const char* start;
        const char* move;
        const char* stop;
    } cases[] = {
        {"soundclass=sm_door.snd", "vx_door1-1.wav", "vx_door1-2.wav", "vx_door1-3.wav"},
        {"soundclass=med_door.snd", "vx_door2-1.wav", "vx_door2-2.wav", "vx_door2-3.wav"},
        {"soundclass=lg_door.snd", "vx_door3-1.wav", "vx_door3-2.wav", "vx_door3-3.wav"},
        {"soundclass=sm_elev.snd", "vx_elev1-1.wav", "vx_elev1-2.wav", "vx_elev1-3.wav"},
        {"soundclass=med_elev.snd", "vx_elev2-1.wav", "vx_elev2-2.wav", "vx_elev2-3.wav"},
        {"soundclass=lg_elev.snd", "vx_elev3-1.wav", "vx_elev3-2.wav", "vx_elev3-3.wav"},
        {"soundclass=funicular.snd", "funicularstart01.wav", "funicularmove01.wav",
         "funicularstop01.wav"},
        // Table order decides, not the order in the text.
        {"a=lg_elev.snd b=sm_door.snd", "vx_door1-1.wav", "vx_door1-2.wav", "vx_door1-3.wav"},
        {"soundclass=door.snd", "", "", ""},
    };
    CWalkEngine e;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        e.AddTemplate("mover" + std::to_string(i), "_decor", cases[i].params);
        e.AddThing("mover" + std::to_string(i));
    }
    e.Walk(true);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].params);
        const CQzlThing& thing = e.Thing(static_cast<int>(i));
        EXPECT_EQ(thing.m_runtimeText[0], cases[i].start);
        EXPECT_EQ(thing.m_runtimeText[1], cases[i].move);
        EXPECT_EQ(thing.m_runtimeText[2], cases[i].stop);
    }
    e.Walk(false);
    for (const auto& thing : e.m_level.m_things)
        for (const std::string& sound : thing->m_runtimeText)
            EXPECT_EQ(sound, "");
}

TEST(WalkModeSetup, FansTurnByTheirAngularVelocity)
{
    CWalkEngine e;
    e.AddTemplate("_decor", "none", "");
    e.AddTemplate("fan0", "_decor", "model3d=fan.3do angvel=(10/20/30)");
    e.AddTemplate("fan1", "fan0", "angvel=(40/50/60)");
    e.AddTemplate("propeller", "_decor", "angvel=(40/50/60)");
    const int fan0 = e.AddThing("FAN0");
    const int fan1 = e.AddThing("fan1");
    const int other = e.AddThing("propeller");
    const D3DMATRIX placement = e.Model(fan0).m_placement;
    e.Model(fan0).m_boundsValid = 1;
    e.Walk(true);

    EXPECT_EQ(e.Thing(fan0).m_runtimeWord, 1);
    ExpectMatrixNear(e.Model(fan0).m_stepRotation,
                     MatrixRotationYawPitchRoll(-20 * kAngular, -30 * kAngular, -10 * kAngular));
    EXPECT_EQ(e.Model(fan0).m_spinPlacement, placement);
    EXPECT_EQ(e.Model(fan0).m_boundsValid, 0);
    // fan1's walk visits fan1, then its base fan0: the last one visited wins.
    EXPECT_EQ(e.Thing(fan1).m_runtimeWord, 1);
    ExpectMatrixNear(e.Model(fan1).m_stepRotation,
                     MatrixRotationYawPitchRoll(-20 * kAngular, -30 * kAngular, -10 * kAngular));
    // Only fans read "angvel=".
    EXPECT_EQ(e.Thing(other).m_runtimeWord, 0);
    EXPECT_EQ(e.Model(other).m_stepRotation, MatrixIdentity());

    e.Walk(false);
    EXPECT_EQ(e.Thing(fan0).m_runtimeWord, 0);
}

TEST(WalkModeSetup, PickupsSpinThroughTheirTemplateChain)
{
    CWalkEngine e;
    e.AddTemplate("_base", "none", "");
    e.AddTemplate("_item", "_base", "");
    e.AddTemplate("shield", "_powerup", "");
    e.AddTemplate("bigshield", "shield", "");
    e.AddTemplate("rifle", "_weapon", "");
    e.AddTemplate("early", "late", "");  // its base comes after it: not found
    e.AddTemplate("late", "_powerup", "");
    e.AddTemplate("crate", "_item", "");
    const struct Case {
        const char* name;
        int spins;
    } cases[] = {{"shield", 1}, {"BIGSHIELD", 1}, {"rifle", 1},   {"late", 1},
                 {"early", 0},  {"crate", 0},     {"unknown", 0}, {"_item", 0}};
    for (const Case& c : cases)
        e.AddThing(c.name);
    e.Walk(true);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        const int thing = static_cast<int>(i);
        EXPECT_EQ(e.Thing(thing).m_runtimeWord, cases[i].spins);
        const D3DMATRIX expected =
            cases[i].spins != 0 ? MatrixRotationYawPitchRoll(-0.05f, 0.0f, 0.0f) : MatrixIdentity();
        ExpectMatrixNear(e.Model(thing).m_stepRotation, expected);
    }
}

TEST(WalkModeSetup, StartFramesAreRandomWithinTheCount)
{
    const int counts[] = {0, 1, 5, -3, 12, 3};
    CWalkEngine e;
    for (const int count : counts)
        e.AddThing("crate", {0.5f, 0.5f, 0.5f}, count);
    for (std::uint32_t seed = 1; seed < 40; ++seed) {
        e.m_random.Seed(seed);
        CSeededRandom expected(seed);
        e.Walk(true);
        for (std::size_t i = 0; i < std::size(counts); ++i) {
            SCOPED_TRACE(counts[i]);
            const int frame = e.Model(static_cast<int>(i)).m_currentFrame;
            // Only models with frames draw a number.
            EXPECT_EQ(frame, counts[i] >= 1 ? expected.Next() % counts[i] : 0);
            EXPECT_GE(frame, 0);
            EXPECT_LT(frame, std::max(counts[i], 1));
        }
    }
}

TEST(WalkModeSetup, DoorCogsGiveSpeedsSleepTimesTriggersAndPartners)
{
    CWalkEngine e;
    const int a = e.AddThing("door");
    const int b = e.AddThing("door");
    const int c = e.AddThing("door");
    // 00_doorswitch.cog: surface switch, thing door0, thing door1, float movespeed=6.0,
    // flex sleeptime=3.0.
    AddCog(e.m_level, "00_doorswitch.cog", {"2", std::to_string(a), std::to_string(b)});
    // door.cog: doorface, doorsector, doorthing, two sounds, float speed=2.5, flex wait=1.5 (not
    // a sleep time).
    AddCog(e.m_level, "DOOR.COG", {"3", "0", std::to_string(c), "x.wav", "y.wav", "4.5", "9"});
    // 00_elev_switch.cog: three switch surfaces, a sector, the elevator; its speed is local.
    AddCog(e.m_level, "00_elev_switch.cog", {"4", "99", "-1", "0", std::to_string(c)});
    // Indexes out of range are passed over.
    AddCog(e.m_level, "00_doorswitch.cog", {"77", "55", "-4"});
    e.Walk(true);

    EXPECT_FLOAT_EQ(e.Thing(a).m_runtimeFloat[0], 6.0f);
    EXPECT_FLOAT_EQ(e.Thing(a).m_runtimeFloat[1], 3.0f);
    EXPECT_FLOAT_EQ(e.Thing(b).m_runtimeFloat[0], 6.0f);
    EXPECT_FLOAT_EQ(e.Thing(b).m_runtimeFloat[1], 3.0f);
    EXPECT_FLOAT_EQ(e.Thing(c).m_runtimeFloat[0], 4.5f);
    EXPECT_FLOAT_EQ(e.Thing(c).m_runtimeFloat[1], 2.0f);
    EXPECT_EQ(e.Thing(a).m_runtimeIndex, b);
    EXPECT_EQ(e.Thing(b).m_runtimeIndex, a);
    EXPECT_EQ(e.Thing(c).m_runtimeIndex, -1);
    EXPECT_EQ(e.Surface(2).m_triggeredThing, a);
    EXPECT_EQ(e.Surface(3).m_triggeredThing, c);
    EXPECT_EQ(e.Surface(4).m_triggeredThing, c);
    for (const int untouched : {0, 1, 5})
        EXPECT_EQ(e.Surface(untouched).m_triggeredThing, -1) << untouched;

    // The cog's own values stand in for the defaults.
    CWalkEngine own;
    const int d = own.AddThing("door");
    const int f = own.AddThing("door");
    AddCog(own.m_level, "00_DoorSwitch.cog",
           {"1", std::to_string(d), std::to_string(f), "9.5", "1.25"});
    own.Walk(true);
    EXPECT_FLOAT_EQ(own.Thing(f).m_runtimeFloat[0], 9.5f);
    EXPECT_FLOAT_EQ(own.Thing(f).m_runtimeFloat[1], 1.25f);
    EXPECT_EQ(own.Thing(d).m_runtimeIndex, f);
}

TEST(WalkModeSetup, ADoorSwitchNamingOneDoorTwiceMakesNoPartner)
{
    CWalkEngine e;
    const int a = e.AddThing("door");
    AddCog(e.m_level, "00_doorswitch.cog", {"2", std::to_string(a), std::to_string(a)});
    e.Walk(true);
    EXPECT_EQ(e.Thing(a).m_runtimeIndex, -1);
}

TEST(WalkModeSetup, NoCogIsReadWithoutTheGameArchive)
{
    CWalkEngine e;
    const int a = e.AddThing("door");
    AddCog(e.m_level, "00_doorswitch.cog", {"2", std::to_string(a)});
    e.m_synthetic->m_resources.m_archive = nullptr;
    e.Walk(true);
    EXPECT_EQ(e.Surface(2).m_triggeredThing, -1);
    EXPECT_FLOAT_EQ(e.Thing(a).m_runtimeFloat[0], 8.0f);
}

TEST(WalkModeSetup, ForceFieldSwitchHumsAtTheSwitchSurfaceCentre)
{
    CWalkEngine e;
    AddLevelFile(e.m_level, "forcefieldhum01.wav", Text(MakeSyntheticWav(20, 8, 1)));
    // 10_ffieldswitch.cog: surface switch, surface field.
    AddCog(e.m_level, "10_ffieldswitch.cog", {std::to_string(kBoxXHigh), std::to_string(kBoxZLow)});
    e.Walk(true);
    // The wall x = 1 spans y and z from 0 to 1.
    const std::vector<std::string> expected = {"#0 position 1 0.5 0.5", "#0 play loop"};
    for (const std::string& line : expected)
        EXPECT_NE(std::find(e.m_sound.m_log.begin(), e.m_sound.m_log.end(), line),
                  e.m_sound.m_log.end())
            << line;
    ASSERT_EQ(e.m_sound.m_buffers.size(), 1u);  // the field surface does not hum
    EXPECT_TRUE(e.m_sound.m_buffers[0].m_looping);
    ASSERT_EQ(e.m_view.m_sound->GetSounds().size(), 1u);

    e.Walk(false);
    EXPECT_TRUE(e.m_view.m_sound->GetSounds().empty());
    EXPECT_TRUE(e.m_sound.m_buffers[0].m_released);
}

TEST(WalkModeSetup, ConveyorScrollSpeedsAndDegenerateEdges)
{
    const CVector3 up{0, 1, 0};
    const struct Case {
        const char* what;
        CVector3 p0, p1;
        float u0, v0, u1, v1;
        CVector3 direction;
        float speed;
        float u, v;
    } cases[] = {
        // e = x, t = u; moving along z (s > 0): a quarter turn of t.
        {"across the edge", {0, 0, 0}, {1, 0, 0}, 0, 0, 64, 0, {0, 0, 1}, 1.0f, 0.0f, 0.01f},
        {"twice as fast", {0, 0, 0}, {1, 0, 0}, 0, 0, 64, 0, {0, 0, 1}, 2.0f, 0.0f, 0.02f},
        // Along the edge: s = 0 and t.y = 0, so r is turned round.
        {"along the edge", {0, 0, 0}, {1, 0, 0}, 0, 0, 64, 0, {1, 0, 0}, 1.0f, -0.01f, 0.0f},
        {"no edge", {1, 0, 1}, {1, 0, 1}, 0, 0, 64, 0, {0, 0, 1}, 1.0f, 0.0f, 0.0f},
        {"no texture edge", {0, 0, 0}, {1, 0, 0}, 5, 5, 5, 5, {0, 0, 1}, 1.0f, 0.0f, 0.0f},
        {"no direction", {0, 0, 0}, {1, 0, 0}, 0, 0, 64, 0, {0, 0, 0}, 1.0f, 0.0f, 0.0f},
        {"no number", {0, 0, 0}, {1, 0, 0}, 0, 0, 64, 0, {NAN, 0, 1}, 1.0f, 0.0f, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CScrollSpeed s =
            ConveyorScrollSpeed(c.p0, c.p1, c.u0, c.v0, c.u1, c.v1, up, c.direction, c.speed);
        EXPECT_NEAR(s.u, c.u, 1e-6f);
        EXPECT_NEAR(s.v, c.v, 1e-6f);
    }
    // A direction along a slanted edge whose cosine rounds past 1 still gives finite speeds.
    for (int k = 1; k < 200; ++k) {
        const CVector3 edge{0.1f * static_cast<float>(k), 0.37f, 0.013f * static_cast<float>(k)};
        const CScrollSpeed s = ConveyorScrollSpeed({0, 0, 0}, edge, 0, 0, 3, 7, up, edge, 1.0f);
        EXPECT_TRUE(std::isfinite(s.u) && std::isfinite(s.v)) << k;
    }
}

TEST(WalkModeSetup, ConveyorCogsScrollTheirSurfaces)
{
    CWalkEngine e;
    const int floor = kBoxFloor;
    e.GiveTextureCoordinates(floor);
    e.GiveTextureCoordinates(kBoxCeiling);
    // 00_conveyor.cog: vector direction, flex speed, belt0 to belt7; (a/b/c) is (x/z/y).
    AddCog(e.m_level, "00_conveyor.cog", {"(0/1/0)", "3", std::to_string(floor), "-1"});
    // 12_conveyor.cog: belt0, belt1, float speed; moving along (0, 0, 1) at 1 without a value.
    AddCog(e.m_level, "12_conveyor.cog", {std::to_string(kBoxCeiling), "99"});
    e.Walk(true);

    const auto expected = [&e](int index, const CVector3& direction, float speed) {
        const CQzlSurface& s = e.Surface(index);
        const auto corner = [&e, &s](int k) {
            const CWorldVertex& w =
                e.m_level.m_worldVertices[static_cast<std::size_t>(s.m_vertices[k].m_worldVertex)];
            return CVector3{w.x, w.y, w.z};
        };
        return ConveyorScrollSpeed(corner(0), corner(1), s.m_vertices[0].m_u, s.m_vertices[0].m_v,
                                   s.m_vertices[1].m_u, s.m_vertices[1].m_v, s.m_normal, direction,
                                   speed);
    };
    const CScrollSpeed belt = expected(floor, {0, 0, 1}, 3.0f);
    EXPECT_FLOAT_EQ(e.Surface(floor).m_scrollU, belt.u);
    EXPECT_FLOAT_EQ(e.Surface(floor).m_scrollV, belt.v);
    EXPECT_GT(std::abs(belt.u) + std::abs(belt.v), 0.0f);
    const CScrollSpeed ceiling = expected(kBoxCeiling, {0, 0, 1}, 1.0f);
    EXPECT_FLOAT_EQ(e.Surface(kBoxCeiling).m_scrollU, ceiling.u);
    EXPECT_FLOAT_EQ(e.Surface(kBoxCeiling).m_scrollV, ceiling.v);
    EXPECT_GT(std::abs(ceiling.u) + std::abs(ceiling.v), 0.0f);
}

TEST(WalkModeSetup, SlideCeilingNeedsExactlyTwoValues)
{
    const struct Case {
        std::vector<std::string> values;
        float u, v;
    } cases[] = {
        {{"2", "-4"}, -0.002f, 0.004f},
        {{"2"}, 0.0f, 0.0f},
        {{"2", "4", "6"}, 0.0f, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.values.size());
        CWalkEngine e;
        e.Surface(kBoxCeiling).m_surfaceFlags |= 0x400;
        AddCog(e.m_level, "00_SLIDECEILING.cog", c.values);
        e.Walk(true);
        EXPECT_FLOAT_EQ(e.Surface(kBoxCeiling).m_scrollU, c.u);
        EXPECT_FLOAT_EQ(e.Surface(kBoxCeiling).m_scrollV, c.v);
        EXPECT_FLOAT_EQ(e.Surface(kBoxFloor).m_scrollU, 0.0f);
        EXPECT_FLOAT_EQ(e.Surface(kBoxFloor).m_scrollV, 0.0f);
    }
}

TEST(WalkModeSetup, AnimatedSurfacesAndNeonSignsStartTheirCels)
{
    const struct Case {
        const char* script;
        int firstCel;
    } cases[] = {{"00_surfanim.cog", 0}, {"01_neonsign.cog", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        CWalkEngine e;
        const auto first = MakeTexture(4);
        const auto second = MakeTexture(4);
        const auto idle = MakeTexture(4);
        e.Surface(kBoxXLow).m_texture = first.get();
        e.Surface(kBoxXHigh).m_texture = second.get();
        e.Surface(kBoxZLow).m_texture = idle.get();
        // surface0, surface1, surface2, framerate: surfaces after the rate are not started.
        AddCog(e.m_level, c.script,
               {std::to_string(kBoxXLow), std::to_string(kBoxXHigh), "-1", "4"});
        e.Walk(true);
        EXPECT_EQ(e.m_view.m_walk.m_animatedTextures,
                  (std::vector<CTexture*>{first.get(), second.get()}));
        for (const CTexture* texture : {first.get(), second.get()}) {
            EXPECT_EQ(texture->m_currentCel, c.firstCel);
            EXPECT_EQ(texture->m_restartCel, c.firstCel);
            EXPECT_FLOAT_EQ(texture->m_secondsPerCel, 0.25f);
            EXPECT_EQ(texture->m_loop, 1);
        }
        EXPECT_EQ(idle->m_loop, 0);
        e.Walk(false);
    }
}

TEST(WalkModeSetup, CdTrackStaysWithinTheDisc)
{
    const struct Case {
        int r, count, track;
    } cases[] = {{0, 5, 1},
                 {32767, 5, 5},
                 {16383, 2, 1},
                 {16384, 2, 2},
                 {32767, 1, 1},
                 {0, 0, 0},
                 {32767, -2, 0},
                 {32767, INT_MAX, INT_MAX},
                 {32766, INT_MAX, INT_MAX - 65538}};
    for (const Case& c : cases)
        EXPECT_EQ(CdTrackFromRandom(c.r, c.count), c.track) << c.r << " " << c.count;
    for (const int count : {1, 2, 7, 99, 100}) {
        for (std::uint32_t seed = 0; seed < 2000; ++seed) {
            CSeededRandom random(seed);
            const int track = CdTrackFromRandom(random.Next(), count);
            ASSERT_GE(track, 1) << seed;
            ASSERT_LE(track, count) << seed;
        }
    }
}

TEST(WalkModeSetup, CdMusicPlaysATrackOfTheGameFolderAndStopsOnTearDown)
{
    CTempFolder folder("walk_cd");
    std::filesystem::create_directories(folder / "music");
    for (const char* name : {"track01.wav", "track02.wav", "track03.wav"}) {
        const std::vector<std::uint8_t> wav = MakeSyntheticWav(100, 8, 2);
        std::ofstream(folder / "music" / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(wav.data()),
                   static_cast<std::streamsize>(wav.size()));
    }
    CWalkEngine e;
    e.m_synthetic->m_resources.m_gameFolder = folder.Path();
    e.m_settings.m_cdSound = 1;
    e.Walk(true);
    ASSERT_TRUE(e.m_view.m_walk.m_cdAudio);
    EXPECT_EQ(e.m_view.m_walk.m_cdAudio->GetTrackCount(), 3);
    EXPECT_TRUE(e.m_view.m_walk.m_cdAudio->IsPlaying());
    e.Walk(false);
    EXPECT_FALSE(e.m_view.m_walk.m_cdAudio->IsPlaying());

    // "CDsound" off: no music.
    CWalkEngine silent;
    silent.m_synthetic->m_resources.m_gameFolder = folder.Path();
    silent.Walk(true);
    EXPECT_FALSE(silent.m_view.m_walk.m_cdAudio);
}

namespace {

// What set-up leaves in the records, for comparing two set-ups.
struct CStartState {
    std::vector<int> partners, triggered;
    std::vector<float> scrolls, speeds;
    friend bool operator==(const CStartState&, const CStartState&) = default;
};

CStartState Snapshot(const CQzlSections& level)
{
    CStartState state;
    for (const auto& thing : level.m_things) {
        state.partners.push_back(thing->m_runtimeIndex);
        state.speeds.push_back(thing->m_runtimeFloat[0]);
        state.speeds.push_back(thing->m_runtimeFloat[1]);
    }
    for (const auto& surface : level.m_surfaces) {
        state.triggered.push_back(surface->m_triggeredThing);
        state.scrolls.push_back(surface->m_scrollU);
        state.scrolls.push_back(surface->m_scrollV);
    }
    return state;
}

}  // namespace

TEST(WalkModeSetup, OnOffOnGivesTheSameStartState)
{
    CWalkEngine e;
    const int a = e.AddThing("door");
    const int b = e.AddThing("door");
    e.Surface(kBoxCeiling).m_surfaceFlags |= 0x400;
    AddCog(e.m_level, "00_doorswitch.cog", {"2", std::to_string(a), std::to_string(b)});
    AddCog(e.m_level, "12_conveyor.cog", {std::to_string(kBoxFloor)});
    AddCog(e.m_level, "00_slideceiling.cog", {"1", "2"});
    e.Walk(true);
    const CStartState first = Snapshot(e.m_level);
    EXPECT_EQ(first.partners[0], b);

    e.Walk(false);
    const CStartState off = Snapshot(e.m_level);
    for (const int partner : off.partners)
        EXPECT_EQ(partner, -1);
    for (const int thing : off.triggered)
        EXPECT_EQ(thing, -1);
    for (const float scroll : off.scrolls)
        EXPECT_EQ(scroll, 0.0f);
    // Speeds and sleep times read from cogs stay in the records.
    EXPECT_EQ(off.speeds, first.speeds);

    e.Walk(true);
    EXPECT_EQ(Snapshot(e.m_level), first);
}

TEST(WalkModeSetup, TearDownReturnsEverythingToRest)
{
    CWalkEngine e;
    const int door = e.AddThing("door", {0.2f, 0.3f, 0.4f}, 6);
    e.Thing(door).m_frames.push_back({0.5f, 0.1f, 0.5f});
    e.Thing(door).m_frames.push_back({0.5f, 0.9f, 0.5f});
    const int loose = e.AddThing("crate", {0.7f, 0.2f, 0.7f});
    AddLevelFile(e.m_level, "forcefieldhum01.wav", Text(MakeSyntheticWav(20, 8, 1)));
    AddCog(e.m_level, "10_ffieldswitch.cog", {"1"});
    AddCog(e.m_level, "12_conveyor.cog", {std::to_string(kBoxFloor)});
    e.GiveTextureCoordinates(kBoxFloor);
    for (int s = 0; s < 6; ++s)
        RebuildSurfaceVertices(e.m_view, 0, s, false);
    const std::vector<D3DLVERTEX> stored = e.Surface(kBoxFloor).m_renderVertices;
    ASSERT_FALSE(stored.empty());
    e.Walk(true);

    ASSERT_NE(e.Surface(kBoxFloor).m_scrollU, 0.0f);
    // A frame of walk mode in the middle of a door cycle and of two cel animations.
    C3doModel& model = e.Model(door);
    model.m_moved = 1;
    model.m_position = {0.5f, 0.6f, 0.5f};
    model.m_placement.m[3][1] = 0.6f;
    model.m_currentFrame = 4;
    e.Model(loose).m_position = {0.1f, 0.1f, 0.1f};
    for (D3DLVERTEX& vertex : e.Surface(kBoxFloor).m_renderVertices)
        vertex.tu += 0.3f;
    const auto four = MakeTexture(4);
    const auto one = MakeTexture(1);
    four->m_currentCel = 1;
    four->m_timer = 0.02f;
    one->m_timer = 0.01f;
    e.m_view.m_walk.m_animatedTextures = {four.get(), one.get()};
    e.m_view.m_walk.m_movingSectors = {0, 0};
    e.m_view.m_walk.m_animationClock = 12.0f;
    AddPointMarker(e.m_view.m_markers, 0.5f, 0.5f, 0.5f, 0xFFFFFFFFu, -1, e.m_settings, false);
    ASSERT_FALSE(e.m_view.m_markers.empty());
    ASSERT_FALSE(e.m_view.m_sound->GetSounds().empty());

    e.Walk(false);
    EXPECT_EQ(model.m_position, (CVector3{0.5f, 0.1f, 0.5f}));
    EXPECT_EQ(model.m_placement.m[3][0], 0.5f);
    EXPECT_EQ(model.m_placement.m[3][1], 0.1f);
    EXPECT_EQ(model.m_placement.m[3][2], 0.5f);
    EXPECT_EQ(model.m_moved, 0);
    EXPECT_EQ(model.m_currentFrame, 0);
    // Without frames the model stays where it is.
    EXPECT_EQ(e.Model(loose).m_position, (CVector3{0.1f, 0.1f, 0.1f}));
    EXPECT_EQ(e.Model(loose).m_placement.m[3][0], 0.1f);
    EXPECT_EQ(four->m_currentCel, 3);
    EXPECT_EQ(one->m_currentCel, 0);
    EXPECT_EQ(four->m_timer, 0.0f);
    EXPECT_EQ(one->m_timer, 0.0f);
    EXPECT_TRUE(e.m_view.m_walk.m_animatedTextures.empty());
    EXPECT_TRUE(e.m_view.m_walk.m_movingSectors.empty());
    EXPECT_EQ(e.m_view.m_walk.m_animationClock, 0.0f);
    EXPECT_TRUE(e.m_view.m_sound->GetSounds().empty());
    EXPECT_TRUE(e.m_view.m_markers.empty());
    const std::vector<D3DLVERTEX>& rebuilt = e.Surface(kBoxFloor).m_renderVertices;
    ASSERT_EQ(rebuilt.size(), stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        EXPECT_EQ(rebuilt[i].tu, stored[i].tu) << i;
        EXPECT_EQ(rebuilt[i].tv, stored[i].tv) << i;
    }
}

TEST(WalkModeSetup, TearDownWithNothingRunningOnlyResetsTheLevel)
{
    CWalkEngine e;
    const int thing = e.AddThing("crate", {0.3f, 0.3f, 0.3f}, 3);
    e.Thing(thing).m_runtimeIndex = 0;
    e.Surface(0).m_triggeredThing = 0;
    e.Walk(false);
    EXPECT_EQ(e.Thing(thing).m_runtimeIndex, -1);
    EXPECT_EQ(e.Surface(0).m_triggeredThing, -1);
    EXPECT_TRUE(e.m_sound.m_log.empty());
    EXPECT_FALSE(e.m_view.m_walk.m_cdAudio);
}
