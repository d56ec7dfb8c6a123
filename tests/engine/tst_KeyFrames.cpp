// Puppets and keyframes: reading a keyframe text, one matrix per frame for each named node,
// finding the puppet through the level's templates, and hostile keyframe and puppet files.

#include "SyntheticGame.h"
#include "engine/3doModel.h"
#include "engine/FileBuffer.h"
#include "framework/CFormat.h"
#include "framework/Exceptions.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "resources/GameIndex.h"
#include "resources/MemoryGameArchive.h"
#include "resources/TreeObject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

struct EntrySpec {
    int frame;
    std::array<float, 6> pose;   // x, y, z (file axes), pitch, yaw, roll
    std::array<float, 6> delta;  // per frame, the same order
};

struct KeyNodeSpec {
    std::string mesh;
    std::vector<EntrySpec> entries;
};

std::string WriteKey(const std::string& frames, const std::string& fps,
                     const std::vector<KeyNodeSpec>& nodes)
{
    std::string t;
    const auto line = [&t](const std::string& s) { t += s + "\r\n"; };
    line("# keyframes made by the tests");
    line("SECTION: HEADER");
    line("FLAGS 0x0000");
    line("TYPE 0x0000");
    line("FRAMES " + frames);
    line("FPS " + fps);
    line("JOINTS 1");
    line("");
    line("SECTION: KEYFRAME NODES");
    line(FormatC("NODES %zu", nodes.size()));
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        line(FormatC("NODE %zu", n));
        line("MESH NAME " + nodes[n].mesh);
        line(FormatC("ENTRIES %zu", nodes[n].entries.size()));
        for (std::size_t i = 0; i < nodes[n].entries.size(); ++i) {
            const EntrySpec& e = nodes[n].entries[i];
            std::string first = FormatC("%4zu: %4d 0x0012", i, e.frame);
            std::string second = "     ";
            for (float v : e.pose)
                first += FormatC(" %f", static_cast<double>(v));
            for (float v : e.delta)
                second += FormatC(" %f", static_cast<double>(v));
            line(first);
            line(second);
        }
    }
    return t;
}

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

std::unique_ptr<CKeyNodeList> ReadKeyText(const std::string& text)
{
    CFileBuffer buffer(Bytes(text), "test.key");
    return C3doModel::ReadKey(buffer);
}

// A model of nodes with these names, each with the one matrix the reader gives it.
C3doModel ModelOf(const std::vector<std::string>& names)
{
    C3doModel model("test.3do", "");
    for (const std::string& name : names) {
        auto node = std::make_unique<C3doNode>();
        node->m_name = name;
        node->m_localMatrices.push_back(MatrixIdentity());
        model.m_nodes.push_back(std::move(node));
    }
    return model;
}

// The matrix of a pose in render axes: rotation from pitch, yaw, roll, position in row 4.
D3DMATRIX Pose(float x, float y, float z, float pitch, float yaw, float roll)
{
    D3DMATRIX m = RotationMatrix(ModelDegreesToRadians(pitch), ModelDegreesToRadians(yaw),
                                 ModelDegreesToRadians(roll));
    m.m[3][0] = x;
    m.m[3][1] = y;
    m.m[3][2] = z;
    return m;
}

void ExpectMatrixNear(const D3DMATRIX& a, const D3DMATRIX& b)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(a.m[r][c], b.m[r][c], 1e-4f) << "row " << r << " column " << c;
}

// Two keyframes at frames 0 and 10 of a 30-frame key.
const std::vector<KeyNodeSpec> kTwoKeys = {
    {"torso",
     {{0, {1, 2, 3, 10, 20, 30}, {0.5f, 0.25f, 0, 1, 2, 3}},
      {10, {-1, -2, -3, 0, 90, 0}, {0, 0, 0.125f, 0, -1, 0}}}}};

// --- Reading ---

TEST(ReadKey, HeaderAndEntriesAreRead)
{
    const auto list = ReadKeyText(WriteKey("30", "15.000000", kTwoKeys));
    EXPECT_EQ(list->m_frameCount, 30);
    EXPECT_FLOAT_EQ(list->m_frameTime, 1.0f / 15.0f);
    ASSERT_EQ(list->m_nodes.size(), 1u);
    const CKeyNode& node = list->m_nodes[0];
    EXPECT_EQ(node.m_meshName, "torso");
    ASSERT_EQ(node.m_entries.size(), 2u);
    const CKeyEntry& e = node.m_entries[0];
    EXPECT_EQ(e.m_number, 0);
    EXPECT_EQ(e.m_frame, 0);
    EXPECT_EQ(e.m_flags, 0x12u);
    // y and z exchanged; the orientation read as pitch, yaw, roll.
    EXPECT_EQ(e.m_position, CVector3(1, 3, 2));
    EXPECT_EQ(e.m_pitch, 10.0f);
    EXPECT_EQ(e.m_yaw, 20.0f);
    EXPECT_EQ(e.m_roll, 30.0f);
    EXPECT_EQ(e.m_deltaPosition, CVector3(0.5f, 0, 0.25f));
    EXPECT_EQ(e.m_deltaPitch, 1.0f);
    EXPECT_EQ(e.m_deltaYaw, 2.0f);
    EXPECT_EQ(e.m_deltaRoll, 3.0f);
    EXPECT_EQ(node.m_entries[1].m_frame, 10);
}

TEST(ReadKey, FrameCountsAndRatesFromTheHeader)
{
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* frames;
        const char* fps;
        bool ok;
        int frameCount;
        float frameTime;
    };
    const Case cases[] = {
        {"30", "15.0", true, 30, 1.0f / 15.0f},
        {"0", "10", true, 0, 0.1f},
        {"30", "0", true, 30, inf},  // FPS 0: the animation stays on its first frame
        {"30", "0.000000", true, 30, inf},
        {"30", "-8", true, 30, inf},
        {"30", "nan", true, 30, inf},
        {"100000", "30", true, 100000, 1.0f / 30.0f},
        {"100001", "30", false, 0, 0},
        {"2147483648", "30", false, 0, 0},  // 2^31
        {"-1", "30", false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.frames) + " frames at " + c.fps);
        const std::string text = WriteKey(c.frames, c.fps, kTwoKeys);
        if (!c.ok) {
            EXPECT_THROW(ReadKeyText(text), CArchiveException);
            continue;
        }
        const auto list = ReadKeyText(text);
        EXPECT_EQ(list->m_frameCount, c.frameCount);
        EXPECT_EQ(list->m_frameTime, c.frameTime);
    }
}

TEST(ReadKey, TextsThatEndEarlyAreRefused)
{
    const std::string good = WriteKey("30", "15", kTwoKeys);
    // Every prefix is read or refused, never read past its end.
    for (std::size_t n = 0; n <= good.size(); ++n) {
        try {
            const auto list = ReadKeyText(good.substr(0, n));
            EXPECT_LE(list->m_nodes.size(), 1u);
        } catch (const CArchiveException& e) {
            EXPECT_NE(std::string(e.what()).find("test.key"), std::string::npos);
        }
    }
    // Counts far beyond the text end with the text.
    for (const char* from : {"NODES 1", "ENTRIES 2"}) {
        std::string text = good;
        text.replace(text.find(from), std::string(from).size(),
                     std::string(from).substr(0, std::string(from).find(' ')) + " 2147483647");
        EXPECT_THROW(ReadKeyText(text), CArchiveException) << from;
    }
    EXPECT_THROW(ReadKeyText("SECTION: HEADER\r\nFLAGS 0\r\n"), CArchiveException);
    EXPECT_THROW(ReadKeyText(std::string(100, '\0')), CArchiveException);
}

// --- Posing ---

TEST(ApplyKey, FramesZeroAndTenOfThirtyGiveThirtyMatrices)
{
    C3doModel model = ModelOf({"root", "Torso"});
    ASSERT_TRUE(model.ApplyKey(*ReadKeyText(WriteKey("30", "15", kTwoKeys))));
    EXPECT_EQ(model.m_frameCount, 30);
    EXPECT_FLOAT_EQ(model.m_frameTime, 1.0f / 15.0f);
    EXPECT_EQ(model.m_nodes[0]->m_localMatrices.size(), 1u);  // not named by the key
    const auto& m = model.m_nodes[1]->m_localMatrices;
    ASSERT_EQ(m.size(), 30u);
    // 10 from the first keyframe and its changes per frame (render axes: y and z exchanged) ...
    ExpectMatrixNear(m[0], Pose(1, 3, 2, 10, 20, 30));
    ExpectMatrixNear(m[3], Pose(1 + 3 * 0.5f, 3, 2 + 3 * 0.25f, 13, 26, 39));
    ExpectMatrixNear(m[9], Pose(1 + 9 * 0.5f, 3, 2 + 9 * 0.25f, 19, 38, 57));
    // ... 20 from the second: extrapolated from it, not interpolated toward anything.
    ExpectMatrixNear(m[10], Pose(-1, -3, -2, 0, 90, 0));
    ExpectMatrixNear(m[29], Pose(-1, -3 + 19 * 0.125f, -2, 0, 90 - 19, 0));
}

TEST(ApplyKey, NodesAreMatchedByNameIgnoringCase)
{
    const auto list = ReadKeyText(WriteKey("30", "15", kTwoKeys));
    struct Case {
        const char* what;
        std::vector<std::string> names;
        std::vector<std::size_t> counts;
    };
    const Case cases[] = {
        {"no match", {"head", "arm"}, {1, 1}},
        {"two matches", {"TORSO", "head", "torso"}, {30, 1, 30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        C3doModel model = ModelOf(c.names);
        ASSERT_TRUE(model.ApplyKey(*list));
        for (std::size_t i = 0; i < c.counts.size(); ++i)
            EXPECT_EQ(model.m_nodes[i]->m_localMatrices.size(), c.counts[i]);
    }
}

TEST(ApplyKey, AFirstKeyframeAtFiveShowsItsPoseAtFrameZero)
{
    const std::vector<KeyNodeSpec> late = {{"arm", {{5, {0, 0, 7, 0, 0, 0}, {0, 0, 0, 0, 0, 0}}}}};
    C3doModel model = ModelOf({"arm"});
    ASSERT_TRUE(model.ApplyKey(*ReadKeyText(WriteKey("30", "15", late))));
    const auto& m = model.m_nodes[0]->m_localMatrices;
    ASSERT_EQ(m.size(), 25u);
    EXPECT_EQ(m[0].m[3][1], 7.0f);  // the file's z is the render y
}

TEST(ApplyKey, KeysNeedingTooManyMatricesChangeNothing)
{
    struct Case {
        const char* what;
        std::vector<EntrySpec> entries;
        std::string frames;
        std::size_t nodes;
        bool ok;
    };
    const EntrySpec zero{0, {}, {}};
    const Case cases[] = {
        {"first frame -2^31", {{-2147483647 - 1, {}, {}}}, "30", 1, false},
        {"next frame 2^31 - 1", {zero, {2147483647, {}, {}}}, "30", 1, false},
        {"many nodes at the most frames", {zero}, "100000", 11, false},
        {"one node at the most frames", {zero}, "100000", 1, true},
        {"frames going back", {{20, {}, {}}, {5, {}, {}}}, "30", 1, true},
        {"last frame at the frame count", {zero, {30, {}, {}}}, "30", 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        C3doModel model = ModelOf(std::vector<std::string>(c.nodes, "n"));
        const auto list = ReadKeyText(WriteKey(c.frames, "15", {{"n", c.entries}}));
        EXPECT_EQ(model.ApplyKey(*list), c.ok);
        if (!c.ok) {
            EXPECT_EQ(model.m_frameCount, 0);
            EXPECT_EQ(model.m_nodes[0]->m_localMatrices.size(), 1u);
        }
    }
    // Frames going back: each keyframe gives its own matrix, the first its frames up to the
    // next keyframe's frame (none), the last its frames up to the frame count.
    C3doModel model = ModelOf({"n"});
    ASSERT_TRUE(
        model.ApplyKey(*ReadKeyText(WriteKey("30", "15", {{"n", {{20, {}, {}}, {5, {}, {}}}}}))));
    EXPECT_EQ(model.m_nodes[0]->m_localMatrices.size(), 1u + 25u);
}

// --- Puppets ---

TEST(FindKeyName, TheFirstKeyNameBackToABlankOrLineEnd)
{
    struct Case {
        const char* text;
        const char* name;
    };
    const Case cases[] = {
        {"walk.key", "walk.key"},
        {"stand  stand.key 0 0\r\nwalk walk.key", "stand.key"},
        {"mode=0\r\nrun.key 1", "run.key"},
        {"a\tb.key", "b.key"},
        {".key", ".key"},
        {"no keyframes here", ""},
        {"UPPER.KEY", ""},
        {"x.keyframe", "x.key"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(C3doModel::FindKeyName(c.text), c.name) << c.text;
}

// A level with templates and own files for the puppet chain of "mdl.3do" (node "torso").
struct PuppetLevel {
    CQzlSections level;
    C3doLoadContext context;

    PuppetLevel() { context.m_level = &level; }

    void Template(const std::string& name, const std::string& basedOn, const std::string& params,
                  const std::string& model)
    {
        auto t = std::make_unique<CQzlTemplate>();
        t->m_name = name;
        t->m_basedOn = basedOn;
        t->m_params = params;
        t->m_model = model;
        level.m_templates.push_back(std::move(t));
    }

    void File(const std::string& name, const std::string& text)
    {
        level.m_levelFiles.m_entries.push_back(std::make_unique<CTreeObject>(name, Bytes(text), 0));
        // The level's files are kept sorted by name.
        std::sort(level.m_levelFiles.m_entries.begin(), level.m_levelFiles.m_entries.end(),
                  [](const auto& a, const auto& b) { return a->m_name < b->m_name; });
    }

    // The number of matrices of node "torso" after posing.
    std::size_t Posed()
    {
        C3doModel model = ModelOf({"torso"});
        model.m_fileName = "mdl.3do";
        model.PoseFromPuppet(context);
        return model.m_nodes[0]->m_localMatrices.size();
    }
};

TEST(ReadPuppet, ThePuppetComesFromTheTemplateOrItsBaseOneLevelUp)
{
    struct Case {
        const char* what;
        std::vector<std::array<const char*, 4>> templates;  // name, based on, params, model
        std::size_t matrices;
    };
    const Case cases[] = {
        {"own puppet", {{"walker", "_base", "model3d=mdl.3do puppet=a.pup size=1", "mdl.3do"}}, 30},
        {"puppet of the base template",
         {{"_actor", "_base", "puppet=a.pup", ""}, {"walker", "_actor", "x=1", "MDL.3DO"}},
         30},
        {"a grandparent's puppet is not followed",
         {{"_top", "none", "puppet=a.pup", ""},
          {"_actor", "_top", "", ""},
          {"walker", "_actor", "", "mdl.3do"}},
         1},
        {"the base template must stand before",
         {{"walker", "_actor", "", "mdl.3do"}, {"_actor", "_base", "puppet=a.pup", ""}},
         1},
        {"the first template of the model decides",
         {{"one", "_base", "", "mdl.3do"}, {"two", "_base", "puppet=a.pup", "mdl.3do"}},
         1},
        {"no template of the model", {{"walker", "_base", "puppet=a.pup", "other.3do"}}, 1},
        {"a puppet found nowhere", {{"walker", "_base", "puppet=none.pup", "mdl.3do"}}, 1},
        {"puppet= is case-sensitive", {{"walker", "_base", "PUPPET=a.pup", "mdl.3do"}}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PuppetLevel p;
        for (const auto& t : c.templates)
            p.Template(t[0], t[1], t[2], t[3]);
        p.File("a.pup", "# puppet\r\nmode=0\r\nwalk   walk.key  0 0\r\nrun run.key 1 0\r\n");
        p.File("walk.key", WriteKey("30", "15", kTwoKeys));
        p.File("run.key", WriteKey("7", "15", kTwoKeys));
        EXPECT_EQ(p.Posed(), c.matrices);
    }
}

TEST(ReadPuppet, BrokenOrMissingFilesEndTheStepQuietly)
{
    struct Case {
        const char* what;
        std::string puppet;
        std::string key;
    };
    const Case cases[] = {
        {"no .key in the puppet", "walk walk.kez", WriteKey("30", "15", kTwoKeys)},
        {"a keyframe file found nowhere", "walk gone.key", ""},
        {"a keyframe file cut short", "walk walk.key",
         WriteKey("30", "15", kTwoKeys).substr(0, 200)},
        {"FRAMES 2^31", "walk walk.key", WriteKey("2147483648", "15", kTwoKeys)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PuppetLevel p;
        p.Template("walker", "_base", "puppet=a.pup", "mdl.3do");
        p.File("a.pup", c.puppet);
        if (!c.key.empty())
            p.File("walk.key", c.key);
        C3doModel model = ModelOf({"torso"});
        model.m_fileName = "mdl.3do";
        model.PoseFromPuppet(p.context);
        EXPECT_EQ(model.m_nodes[0]->m_localMatrices.size(), 1u);
        EXPECT_EQ(model.m_frameCount, 0);
    }
}

TEST(ReadPuppet, TheArchiveComesBeforeTheLevel)
{
    CMemoryGameArchive archive;
    const std::string archivedKey = WriteKey("12", "15", {{"torso", {{0, {}, {}}}}});
    archive.Add("misc\\pup\\a.pup", Bytes("walk walk.key 0"));
    archive.Add("3do\\key\\walk.key", Bytes(archivedKey));
    CGameResources game;
    IndexMainArchive(game, archive);

    PuppetLevel p;
    p.Template("walker", "_base", "puppet=a.pup", "mdl.3do");
    p.File("a.pup", "walk walk.key 0");
    p.File("walk.key", WriteKey("30", "15", kTwoKeys));
    EXPECT_EQ(p.Posed(), 30u);
    p.context.m_game = &game;
    EXPECT_EQ(p.Posed(), 12u);
}

TEST(ReadPuppet, TheSyntheticRangerIsPosedByItsFirstKeyframeFile)
{
    const auto game = MakeSyntheticGame(0);
    CQzlSections level;
    for (const auto& t : game->m_resources.m_templates) {
        if (t->m_name == "_actor" || t->m_name == "ranger") {
            auto copy = std::make_unique<CQzlTemplate>();
            copy->m_name = t->m_name;
            copy->m_basedOn = t->m_basedOn;
            copy->m_params = t->m_params;
            copy->m_model = t->m_model;
            level.m_templates.push_back(std::move(copy));
        }
    }
    C3doLoadContext context;
    context.m_game = &game->m_resources;
    context.m_level = &level;
    const C3doModel model(context, "ranger.3do", "dflt.cmp");
    ASSERT_TRUE(model.m_loadError.empty()) << model.m_loadError;
    ASSERT_EQ(model.m_nodes.size(), 1u);
    ASSERT_NE(model.m_nodes[0]->m_mesh, nullptr);
    EXPECT_EQ(model.m_nodes[0]->m_mesh->m_faces.size(), 6u);
    // ranger.pup names stand.key first: 8 frames at 8 per second.
    EXPECT_EQ(model.m_frameCount, 8);
    EXPECT_FLOAT_EQ(model.m_frameTime, 0.125f);
    EXPECT_EQ(model.m_nodes[0]->m_localMatrices.size(), 8u);
}

}  // namespace
