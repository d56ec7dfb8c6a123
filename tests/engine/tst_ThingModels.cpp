// Thing models in the view: the 3DO file of a template through its based-on chain, one archive
// read per file with copies for further things, the player start and the camera, turning a thing,
// its model's box and the sector it stands in.

#include "engine/ThingModels.h"
#include "geometry/SectorGrid.h"

#include "SyntheticGame.h"
#include "engine/3doModel.h"
#include "engine/C3dView.h"
#include "framework/DocumentState.h"
#include "framework/Settings.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "level/TemplateList.h"
#include "resources/GameArchive.h"
#include "resources/GameIndex.h"
#include "resources/Tree.h"
#include "resources/TreeObject.h"
#include "support/FixtureLevels.h"
#include "support/RecordingEngineHost.h"
#include "support/ScriptedInput.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// Passes every call on to the synthetic game's archive and counts the reads at each offset.
class CCountingArchive : public GameArchive {
public:
    explicit CCountingArchive(const GameArchive& inner) : m_inner(inner) {}
    const std::vector<CGameArchiveEntry>& GetEntries() const override
    {
        return m_inner.GetEntries();
    }
    std::vector<std::uint8_t> ReadBytes(std::uint32_t offset, std::uint32_t size) const override
    {
        ++m_reads[offset];
        return m_inner.ReadBytes(offset, size);
    }

    const GameArchive& m_inner;
    mutable std::map<std::uint32_t, int> m_reads;
};

// An engine over two joined rooms (0..1 and 1..2 along x) with the synthetic Korvath game.
struct CGameEngine {
    CGameEngine()
        : m_synthetic(MakeSyntheticGame(0)), m_archive(*m_synthetic->m_archive),
          m_level(MakeTwoJoinedRooms()),
          m_view(m_level, m_settings, m_document, m_synthetic->m_resources, m_host, m_keys, m_clock,
                 m_random)
    {
        m_synthetic->m_resources.m_archive = &m_archive;
    }

    int AddThing(const std::string& name, const CVector3& position, std::int32_t sector = 0)
    {
        auto thing = std::make_unique<CQzlThing>();
        thing->m_template = name;
        thing->m_name = name;
        thing->m_position = position;
        thing->m_sector = sector;
        m_level.m_things.push_back(std::move(thing));
        return static_cast<int>(m_level.m_things.size()) - 1;
    }

    CQzlThing& Thing(int i) { return *m_level.m_things[static_cast<std::size_t>(i)]; }

    // Reads of the model file named file.
    int ModelReads(const std::string& file) const
    {
        const CTree& tree = m_synthetic->m_resources.m_tree3do;
        int position = 0;
        if (!tree.Find(file, position))
            return -1;
        const auto offset = static_cast<std::uint32_t>(
            tree.m_entries[static_cast<std::size_t>(position)]->m_offset);
        const auto found = m_archive.m_reads.find(offset);
        return found == m_archive.m_reads.end() ? 0 : found->second;
    }

    std::unique_ptr<CSyntheticGame> m_synthetic;
    CCountingArchive m_archive;
    CQzlSections m_level;
    CSettings m_settings;
    CDocumentState m_document;
    CRecordingEngineHost m_host;
    CScriptedKeyState m_keys;
    CScriptedClock m_clock;
    CScriptedRandom m_random;
    C3dView m_view;
};

void ExpectNear(const CVector3& actual, const CVector3& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// (p, 0) x m: the row vector turned by the upper three rows.
CVector3 Turn(const CVector3& p, const D3DMATRIX& m)
{
    return {p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0],
            p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1],
            p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2]};
}

TEST(ThingModels, TemplateModelNameFollowsTheBasedOnChainIgnoringCase)
{
    CGameEngine e;
    const struct {
        const char* name;
        const char* model;
    } cases[] = {
        {"crate", "crate.3do"},    // its own model3d=
        {"CRATE", "crate.3do"},    // as the text level reader keeps thing names
        {"player", "ranger.3do"},  // no model3d=: its base's
        {"Player", "ranger.3do"},  // any case
        {"_decor", ""},            // no model anywhere up the chain
        {"nosuch", ""},            // not in the template list
        {"ghost", "ghost"},        // the ghost model
        {"GHOST", "ghost"},        // any case
    };
    for (const auto& c : cases)
        EXPECT_EQ(TemplateModelName(e.m_view, c.name), c.model) << c.name;
}

TEST(ThingModels, TemplateModelNameEndsOnCyclicChains)
{
    CGameEngine e;
    e.m_synthetic->m_resources.m_templates = ReadTemplateList(SyntheticCyclicTemplateList());
    EXPECT_EQ(TemplateModelName(e.m_view, "loopb"), "crate.3do");  // loopb -> loopa
    EXPECT_EQ(TemplateModelName(e.m_view, "self"), "");            // based on itself
    // loopa <-> loopb without any model3d= anywhere.
    e.m_synthetic->m_resources.m_templates = ReadTemplateList("loopa loopb x=1\nloopb loopa y=2\n");
    EXPECT_EQ(TemplateModelName(e.m_view, "loopa"), "");
}

TEST(ThingModels, YawPitchRollTurnsRollFirstThenPitchThenYaw)
{
    const float quarter = 1.5707964f;
    const float yaw = 0.3f;
    // Yaw alone turns the forward axis (0, 0, 1) to (sin yaw, 0, cos yaw).
    ExpectNear(Turn({0, 0, 1}, MatrixRotationYawPitchRoll(yaw, 0, 0)),
               {std::sin(yaw), 0.0f, std::cos(yaw)});
    // x: roll a quarter turn about z gives y, then pitch a quarter turn about x gives z.
    ExpectNear(Turn({1, 0, 0}, MatrixRotationYawPitchRoll(0, quarter, quarter)), {0, 0, 1});
    // Then yaw a quarter turn about y takes z to x.
    ExpectNear(Turn({1, 0, 0}, MatrixRotationYawPitchRoll(quarter, quarter, quarter)), {1, 0, 0});
}

TEST(ThingModels, SecondThingOfTheSameModelIsACopyWithOneArchiveRead)
{
    CGameEngine e;
    const int a = e.AddThing("crate", {0.5f, 0.5f, 0.5f});
    const int b = e.AddThing("CRATE", {1.5f, 0.5f, 0.5f});

    EXPECT_EQ(CreateThingModel(e.m_view, a, "dflt.cmp", false), 0);
    EXPECT_EQ(CreateThingModel(e.m_view, b, "dflt.cmp", false), 0);

    EXPECT_EQ(e.ModelReads("crate.3do"), 1);
    ASSERT_EQ(e.m_view.m_thingModels.size(), 2u);
    C3doModel* ma = e.Thing(a).m_model;
    C3doModel* mb = e.Thing(b).m_model;
    ASSERT_NE(ma, nullptr);
    ASSERT_NE(mb, nullptr);
    ASSERT_NE(ma, mb);
    EXPECT_EQ(e.Thing(a).m_modelReady, 1);
    EXPECT_EQ(e.Thing(b).m_modelReady, 1);

    // The copy holds the same nodes and faces in meshes of its own.
    EXPECT_EQ(mb->m_fileName, "crate.3do");
    ASSERT_FALSE(ma->m_nodes.empty());
    ASSERT_EQ(mb->m_nodes.size(), ma->m_nodes.size());
    ASSERT_EQ(mb->m_meshes.size(), ma->m_meshes.size());
    for (std::size_t n = 0; n < ma->m_nodes.size(); ++n) {
        EXPECT_EQ(mb->m_nodes[n]->m_name, ma->m_nodes[n]->m_name);
        ASSERT_NE(mb->m_nodes[n]->m_mesh, nullptr);
        EXPECT_NE(mb->m_nodes[n]->m_mesh, ma->m_nodes[n]->m_mesh);
        EXPECT_EQ(mb->m_nodes[n]->m_mesh->m_faces.size(), ma->m_nodes[n]->m_mesh->m_faces.size());
    }
    // Each is placed and bounded at its own thing: the crate is 0.1 wide.
    ExpectNear(ma->m_bounds.min, {0.45f, 0.45f, 0.45f});
    ExpectNear(ma->m_bounds.max, {0.55f, 0.55f, 0.55f});
    ExpectNear(mb->m_bounds.min, {1.45f, 0.45f, 0.45f});
    ExpectNear(mb->m_bounds.max, {1.55f, 0.55f, 0.55f});
    EXPECT_EQ(mb->m_position, CVector3(1.5f, 0.5f, 0.5f));
    EXPECT_EQ(ma->m_boundsValid, 1);

    // Making a thing's model again replaces its old one.
    CreateThingModel(e.m_view, a, "dflt.cmp", false);
    EXPECT_EQ(e.m_view.m_thingModels.size(), 2u);
    EXPECT_NE(e.Thing(a).m_model, nullptr);
    EXPECT_EQ(e.ModelReads("crate.3do"), 1);  // copied from b's
}

TEST(ThingModels, ModelComesFromTheThingsNameThroughTheTemplateChain)
{
    CGameEngine e;
    const int player = e.AddThing("player", {0.5f, 0.5f, 0.5f});
    const int unknown = e.AddThing("nosuch", {0.5f, 0.5f, 0.5f});
    e.Thing(player).m_template = "crate";  // the template field is not what counts

    CreateThingModel(e.m_view, player, "dflt.cmp", false);
    CreateThingModel(e.m_view, unknown, "dflt.cmp", false);

    ASSERT_NE(e.Thing(player).m_model, nullptr);
    EXPECT_EQ(e.Thing(player).m_model->m_fileName, "ranger.3do");
    EXPECT_FALSE(e.Thing(player).m_model->m_nodes.empty());
    EXPECT_EQ(e.ModelReads("crate.3do"), 0);
    // A template outside the list gives the ghost cube.
    ASSERT_NE(e.Thing(unknown).m_model, nullptr);
    EXPECT_EQ(e.Thing(unknown).m_model->m_nodes.size(), 1u);
    ExpectNear(e.Thing(unknown).m_model->m_bounds.max, {0.51f, 0.51f, 0.51f});
}

TEST(ThingModels, PlayerStartPlacesTheCameraUnlessItsFlagsSayNot)
{
    const struct {
        const char* name;
        std::uint32_t flags;
        bool placeCamera;
        int placed;
    } cases[] = {
        {"walkplayer", 0x400u, true, 1},      {"WALKPLAYER", 0x0u, true, 1},
        {"walkplayer", 0x20080501u, true, 0}, {"walkplayer", 0x400u, false, 0},
        {"crate", 0x400u, true, 0},
    };
    for (const auto& c : cases) {
        CGameEngine e;
        const int i = e.AddThing(c.name, {0.25f, 0.5f, 0.75f});
        e.Thing(i).m_thingFlags = c.flags;
        e.Thing(i).m_yaw = 90.0f;
        e.m_view.m_camera.m_position = {9, 9, 9};

        EXPECT_EQ(CreateThingModel(e.m_view, i, "dflt.cmp", c.placeCamera), c.placed) << c.name;
        EXPECT_EQ(e.Thing(i).m_modelReady, 1);
        if (c.placed == 1) {
            EXPECT_EQ(e.m_view.m_camera.m_position, CVector3(0.25f, 0.5f, 0.75f));
            ExpectNear(e.m_view.m_camera.m_forwardAxis, {1.0f, 0.0f, 0.0f});
        } else {
            EXPECT_EQ(e.m_view.m_camera.m_position, CVector3(9, 9, 9)) << c.name;
            EXPECT_EQ(e.m_view.m_camera.m_forwardAxis, CVector3(0, 0, 1));
        }
    }
}

TEST(ThingModels, SetThingOrientationBringsAnglesIntoRange)
{
    const struct {
        float in;
        float out;
    } cases[] = {
        {190.0f, -170.0f}, {-190.0f, 170.0f}, {180.0f, 180.0f},   {-180.0f, -180.0f},
        {0.0f, 0.0f},      {900.0f, 180.0f},  {-540.0f, -180.0f}, {725.0f, 5.0f},
        {NAN, 0.0f},       {INFINITY, 0.0f},
    };
    for (const auto& c : cases) {
        CGameEngine e;
        const int i = e.AddThing("crate", {0.5f, 0.5f, 0.5f});
        CreateThingModel(e.m_view, i, "dflt.cmp", false);
        SetThingOrientation(e.m_view, i, 0.5f, 0.5f, 0.5f, c.in, c.in, c.in);
        EXPECT_EQ(e.Thing(i).m_yaw, c.out) << c.in;
        EXPECT_EQ(e.Thing(i).m_roll, c.out) << c.in;
        EXPECT_EQ(e.Thing(i).m_pitch, c.out) << c.in;
    }

    // Angles far outside the range end within it.
    CGameEngine e;
    const int i = e.AddThing("crate", {0.5f, 0.5f, 0.5f});
    SetThingOrientation(e.m_view, i, 0.5f, 0.5f, 0.5f, 1e30f, -3e9f, 1e7f);
    for (const float angle : {e.Thing(i).m_yaw, e.Thing(i).m_roll, e.Thing(i).m_pitch}) {
        EXPECT_GE(angle, -180.0f);
        EXPECT_LE(angle, 180.0f);
    }
}

TEST(ThingModels, SetThingOrientationPlacesTurnsAndBoundsTheModel)
{
    CGameEngine e;
    const int i = e.AddThing("lamp", {0.5f, 0.5f, 0.5f});
    CreateThingModel(e.m_view, i, "dflt.cmp", false);
    C3doModel& model = *e.Thing(i).m_model;
    // The lamp stands 0.16 high and 0.04 wide.
    ExpectNear(model.m_bounds.min, {0.48f, 0.42f, 0.48f});
    ExpectNear(model.m_bounds.max, {0.52f, 0.58f, 0.52f});

    e.m_host.Clear();
    SetThingOrientation(e.m_view, i, 1.5f, 0.5f, 0.5f, 0.0f, 0.0f, 90.0f);
    EXPECT_EQ(e.Thing(i).m_position, CVector3(1.5f, 0.5f, 0.5f));
    EXPECT_EQ(e.Thing(i).m_pitch, 90.0f);
    EXPECT_EQ(model.m_position, CVector3(1.5f, 0.5f, 0.5f));
    EXPECT_EQ(model.m_placement.m[3][0], 1.5f);
    EXPECT_EQ(model.m_boundsValid, 1);
    // Pitched a quarter turn, the lamp lies along z.
    ExpectNear(model.m_bounds.min, {1.48f, 0.48f, 0.42f});
    ExpectNear(model.m_bounds.max, {1.52f, 0.52f, 0.58f});
    EXPECT_EQ(e.Thing(i).m_sector, 1);
    ASSERT_EQ(e.m_host.Count(CRecordingEngineHost::ECall::RequestFrame), 1u);
    EXPECT_EQ(e.m_host.m_calls.back().number, 1);  // forced
}

TEST(ThingModels, ThingSectorIsTheLastSectorHoldingItOrStaysAsItWas)
{
    CGameEngine e;
    const struct {
        CVector3 position;
        std::int32_t before;
        std::int32_t after;
    } cases[] = {
        {{0.5f, 0.5f, 0.5f}, 1, 0}, {{1.5f, 0.5f, 0.5f}, 0, 1},
        {{1.0f, 0.5f, 0.5f}, 0, 1},  // on the shared wall: the last of the two
        {{5.0f, 0.5f, 0.5f}, 1, 1},  // outside every sector
        {{5.0f, 0.5f, 0.5f}, 7, 7},
    };
    // Asking every sector, and asking a rebuild's sector grid, find the same sector.
    const CSectorGrid grid(e.m_level);
    for (const CSectorGrid* through : {static_cast<const CSectorGrid*>(nullptr), &grid})
        for (const auto& c : cases) {
            const int i = e.AddThing("crate", c.position, c.before);
            CreateThingModel(e.m_view, i, "dflt.cmp", false, through);
            EXPECT_EQ(e.Thing(i).m_sector, c.after) << c.position.x << (through ? " grid" : "");
        }

    // RefreshThingBounds follows moved things.
    e.Thing(0).m_position = {1.5f, 0.5f, 0.5f};
    RefreshThingBounds(e.m_view);
    EXPECT_EQ(e.Thing(0).m_sector, 1);
}

TEST(ThingModels, IndicesOutOfRangeDoNothing)
{
    CGameEngine e;
    EXPECT_EQ(CreateThingModel(e.m_view, 0, "dflt.cmp", true), 0);
    EXPECT_EQ(CreateThingModel(e.m_view, -1, "dflt.cmp", true), 0);
    SetThingOrientation(e.m_view, 3, 0, 0, 0, 0, 0, 0);
    EXPECT_TRUE(e.m_view.m_thingModels.empty());
    EXPECT_TRUE(e.m_host.m_calls.empty());
}

}  // namespace
