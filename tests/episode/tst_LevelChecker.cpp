#include "SyntheticGame.h"
#include "engine/3doModel.h"
#include "episode/LevelChecker.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"
#include "support/RecordingEngineHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// A script among the level's own files: a surface, a sector and a thing parameter without a
// default, then an int parameter with one and a local symbol.
constexpr const char* kTestCog = "test.cog";
constexpr const char* kTestCogText = "# test\n"
                                     "symbols\n"
                                     "message startup\n"
                                     "surface wall\n"
                                     "sector room\n"
                                     "thing crate\n"
                                     "int count=5 desc=how many\n"
                                     "int scratch local\n"
                                     "end\n"
                                     "code\n"
                                     "end\n";

struct CRun {
    int result = 0;
    std::string text;
    std::vector<std::string> lines;  // each with its "\n"
    CLevelChecker checker;
};

std::unique_ptr<CRun> Check(const CQzlSections& level, const CGameResources& game,
                            const std::vector<std::unique_ptr<C3doModel>>& models = {})
{
    auto run = std::make_unique<CRun>();
    run->result = run->checker.CheckLevel(level, game, models, run->text);
    std::istringstream in(run->text);
    for (std::string line; std::getline(in, line);)
        run->lines.push_back(line + "\n");
    return run;
}

const CGameResources& Game()
{
    static const std::unique_ptr<CSyntheticGame> game = MakeSyntheticGame(0);
    return game->m_resources;
}

CQzlSurface& Surface(CQzlSections& level, int sector, EBoxSide side)
{
    return *level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, sector, side))];
}

// Puts count corners evenly between corner 0 and corner 1 of the surface.
void SplitFirstEdge(CQzlSections& level, CQzlSurface& surface, int count)
{
    const CWorldVertex a =
        level.m_worldVertices[static_cast<std::size_t>(surface.m_vertices[0].m_worldVertex)];
    const CWorldVertex b =
        level.m_worldVertices[static_cast<std::size_t>(surface.m_vertices[1].m_worldVertex)];
    for (int k = count; k >= 1; --k) {
        const float t = static_cast<float>(k) / static_cast<float>(count + 1);
        CQzlVertex corner;
        corner.m_worldVertex =
            level.AddVertexXYZ(a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t);
        surface.m_vertices.insert(surface.m_vertices.begin() + 1, corner);
    }
}

// One finding: the level that shows it, its line, its four list entries and the run's result.
struct CFindingCase {
    const char* name;
    std::function<void(CQzlSections&, std::vector<std::unique_ptr<C3doModel>>&)> damage;
    // The expected line and entries, computed on the damaged level.
    std::function<std::string(const CQzlSections&)> line;
    std::function<std::vector<int>(const CQzlSections&)> entries;
    int result;
    bool noGame = false;
};

std::function<std::string(const CQzlSections&)> Line(std::string text)
{
    return [text](const CQzlSections&) { return text; };
}

std::function<std::vector<int>(const CQzlSections&)> Entries(std::vector<int> e)
{
    return [e](const CQzlSections&) { return e; };
}

// The entries of an adjoin finding: the sector and surface recorded on the adjoin.
std::function<std::vector<int>(const CQzlSections&)> AdjoinEntries(int a)
{
    return [a](const CQzlSections& level) {
        const CQzlAdjoin& adjoin = *level.m_adjoins[static_cast<std::size_t>(a)];
        return std::vector<int>{adjoin.m_otherSector, adjoin.m_otherSurface, -1, -1};
    };
}

void AddTestCog(CQzlSections& level, std::vector<std::string> values)
{
    int position = 0;
    if (!level.m_levelFiles.Find(kTestCog, position))
        AddLevelFile(level, kTestCog, kTestCogText);
    AddCog(level, kTestCog, std::move(values));
}

// The corner of surface 0 of the two-square floor that begins its edge along the gap (x = 1).
int GapCorner(const CQzlSections& level)
{
    const CQzlSurface& s = *level.m_surfaces[0];
    const std::size_t n = s.m_vertices.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = [&](std::size_t k) {
            return level.m_worldVertices[static_cast<std::size_t>(s.m_vertices[k].m_worldVertex)].x;
        };
        if (x(i) == 1.0f && x((i + 1) % n) == 1.0f)
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<CFindingCase> FindingCases()
{
    using Models = std::vector<std::unique_ptr<C3doModel>>;
    return {
        {"S1", [](CQzlSections& l, Models&) { l.m_sectors[0]->m_surfaces.resize(3); },
         Line("Sector 0 has less than 4 surfaces\n"), Entries({0, -1, -1, -1}), 1},
        {"S2",
         [](CQzlSections& l, Models&) {
             AddBoxSector(l, {0.3f, 0.3f, 0.3f}, {0.7f, 0.7f, 0.7f});
             FinishFixture(l);
         },
         [](const CQzlSections& l) {
             return "In Sector 2, another Sector 0 overlaps at Surface " +
                    std::to_string(BoxSurface(l, 2, kBoxFloor)) + "\n";
         },
         [](const CQzlSections& l) {
             return std::vector<int>{2, BoxSurface(l, 2, kBoxFloor), -1, -1};
         },
         0},
        {"S3", [](CQzlSections& l, Models&) { Surface(l, 0, kBoxCeiling).m_vertices.resize(2); },
         Line("In Sector 0, Surface 1 has less than 3 vertices\n"), Entries({0, 1, -1, -1}), 1},
        {"S4", [](CQzlSections& l, Models&) { SplitFirstEdge(l, Surface(l, 0, kBoxFloor), 21); },
         Line("In Sector 0, Surface 0 has more than 24 vertices\n"), Entries({0, 0, -1, -1}), 1},
        {"S5", [](CQzlSections& l, Models&) { Surface(l, 1, kBoxXLow).m_adjoin = -1; },
         Line("In Sector 0, Surface 3 is illegal linked\n"), Entries({0, 3, -1, -1}), 1},
        {"S6",
         [](CQzlSections& l, Models&) {
             auto& corners = Surface(l, 0, kBoxFloor).m_vertices;
             std::reverse(corners.begin(), corners.end());
         },
         Line("In Sector 0, Surface 0 is concave at Vertex 1\n"), Entries({0, 0, 1, -1}), 1},
        {"S7",
         [](CQzlSections& l, Models&) {
             auto& corners = Surface(l, 0, kBoxFloor).m_vertices;
             corners.push_back(corners[0]);
         },
         Line("In Sector 0, Surface 0, Vertex 0 is overlapping Vertex 4\n"), Entries({0, 0, 0, -1}),
         1},
        // Corners all at one point: every later corner repeats corner 0, no direction is taken.
        {"S7AllOnePoint",
         [](CQzlSections& l, Models&) {
             for (auto& corner : Surface(l, 1, kBoxFloor).m_vertices)
                 corner.m_worldVertex = Surface(l, 1, kBoxFloor).m_vertices[0].m_worldVertex;
         },
         Line("In Sector 1, Surface 6, Vertex 0 is overlapping Vertex 3\n"), Entries({1, 6, 0, -1}),
         1},
        {"S8",
         [](CQzlSections& l, Models&) {
             CQzlSurface& floor = Surface(l, 0, kBoxFloor);
             std::reverse(floor.m_vertices.begin(), floor.m_vertices.end());
             floor.m_normal = NegateVector(floor.m_normal);
         },
         Line("In Sector 0, Surface 0 is concave to Surface 1\n"), Entries({0, 0, -1, -1}), 1},
        {"S9",
         [](CQzlSections& l, Models&) {
             CTwoSquareFloor shape;
             shape.gap = 0.2f;
             l = MakeTwoSquareFloor(shape);
         },
         [](const CQzlSections& l) {
             return "In Sector 0, Surface 0 at Vertex " + std::to_string(GapCorner(l)) +
                    " is not connected\n";
         },
         [](const CQzlSections& l) {
             return std::vector<int>{0, 0, GapCorner(l), -1};
         },
         0},
        {"S10", [](CQzlSections& l, Models&) { l = MakeBoxRoom(); },
         Line("Sector 0 is not connected to other sectors\n"), Entries({0, -1, -1, -1}), 0},
        {"S11",
         [](CQzlSections& l, Models&) {
             l.m_sounds = {""};
             l.m_sectors[0]->m_sound = 0;
         },
         Line("In Sector 0, an illegal Sound (number 0) is specified\n"), Entries({0, -1, -1, -1}),
         1},
        {"A1", [](CQzlSections& l, Models&) { Surface(l, 0, kBoxFloor).m_adjoin = 0; },
         Line("Surface 0 and Surface 3 uses same adjoin 0\n"), AdjoinEntries(0), 1},
        {"A2", [](CQzlSections& l, Models&) { l.m_adjoins[1]->m_mirror = 1; },
         Line("Adjoin 0 does not mirror Adjoin 1\n"), AdjoinEntries(0), 1},
        {"T1",
         [](CQzlSections& l, Models&) {
             AddCrate(l, 1, {0.5f, 0.5f, 0.5f});
         },
         Line("Object 0 resides in sector 0, but has Sector #1 as parameter\n"),
         Entries({0, -1, -1, 0}), 0},
        {"T2",
         [](CQzlSections& l, Models&) {
             AddCrate(l, 0, {5.0f, 0.5f, 0.5f});
         },
         Line("Object 0 resides in no sector, but has Sector #0 as parameter\n"),
         Entries({-1, -1, -1, 0}), 0},
        {"M1",
         [](CQzlSections&, Models& models) {
             for (const auto& names : {std::vector<std::string>{"gone.mat", "lost.mat"},
                                       std::vector<std::string>{"gone.mat"}}) {
                 models.push_back(std::make_unique<C3doModel>("crate.3do", "dflt.cmp"));
                 models.back()->m_missingMaterials = names;
             }
         },
         Line("Material lost.mat is used in 3DO objects, but does not exist\n"),
         Entries({-1, -1, -1, -1}), 0},
        {"C1",
         [](CQzlSections& l, Models&) {
             AddTestCog(l, {"99", "0", "-1"});
         },
         Line("Cog test.cog specifies illegal surface 99\n"), Entries({-1, -1, -1, -1}), 0},
        {"C2",
         [](CQzlSections& l, Models&) {
             AddTestCog(l, {"-1", "-2", "-1"});
         },
         Line("Cog test.cog specifies illegal sector -2\n"), Entries({-1, -1, -1, -1}), 0},
        {"C3",
         [](CQzlSections& l, Models&) {
             AddTestCog(l, {"0", "1", "0"});
         },
         Line("Cog test.cog specifies illegal 3DO object 0\n"), Entries({-1, -1, -1, -1}), 0},
        {"C4",
         [](CQzlSections& l, Models&) {
             AddTestCog(l, {"0", "1"});
         },
         Line("Cog test.cog contains too few parameters\n"), Entries({-1, -1, -1, -1}), 0},
        {"C5",
         [](CQzlSections& l, Models&) {
             AddTestCog(l, {"0", "1", "-1", "5", "7"});
         },
         Line("Cog test.cog contains too many parameters\n"), Entries({-1, -1, -1, -1}), 0},
        // Indices out of range are findings, never reads outside a list.
        {"MirrorNone", [](CQzlSections& l, Models&) { l.m_adjoins[0]->m_mirror = -1; },
         Line("Adjoin 0 does not mirror Adjoin -1\n"), AdjoinEntries(0), 1},
        {"MirrorNoneLink", [](CQzlSections& l, Models&) { l.m_adjoins[0]->m_mirror = -1; },
         Line("In Sector 0, Surface 3 is illegal linked\n"), Entries({0, 3, -1, -1}), 1},
        // An adjoin that is its own mirror leads nowhere, though a surface owns "its mirror".
        {"MirrorSelfLink", [](CQzlSections& l, Models&) { l.m_adjoins[0]->m_mirror = 0; },
         Line("In Sector 0, Surface 3 is illegal linked\n"), Entries({0, 3, -1, -1}), 1},
        {"MirrorBeyond", [](CQzlSections& l, Models&) { l.m_adjoins[1]->m_mirror = 7; },
         Line("Adjoin 1 does not mirror Adjoin 7\n"), AdjoinEntries(1), 1},
        {"SurfaceAdjoinBeyond",
         [](CQzlSections& l, Models&) { Surface(l, 0, kBoxFloor).m_adjoin = 50; },
         Line("In Sector 0, Surface 0 is illegal linked\n"), Entries({0, 0, -1, -1}), 1},
        {"SoundBeyond", [](CQzlSections& l, Models&) { l.m_sectors[1]->m_sound = 7; },
         Line("In Sector 1, an illegal Sound (number 7) is specified\n"), Entries({1, -1, -1, -1}),
         1},
        {"WorldVertexBeyond",
         [](CQzlSections& l, Models&) {
             Surface(l, 0, kBoxFloor).m_vertices[2].m_worldVertex = 999;
             AddCrate(l, 0, {0.5f, 0.5f, 0.5f});
         },
         Line("In Sector 0, Surface 0, Vertex 2 names an illegal world vertex (number 999)\n"),
         Entries({0, 0, 2, -1}), 1},
        {"WorldVertexNegative",
         [](CQzlSections& l, Models&) {
             Surface(l, 1, kBoxCeiling).m_vertices[0].m_worldVertex = -3;
         },
         Line("In Sector 1, Surface 7, Vertex 0 names an illegal world vertex (number -3)\n"),
         Entries({1, 7, 0, -1}), 1},
        {"SurfaceBeyond",
         [](CQzlSections& l, Models&) { l.m_sectors[0]->m_surfaces.push_back(99); },
         Line("In Sector 0, Surface 99 does not exist\n"), Entries({0, -1, -1, -1}), 1},
        {"MaterialBeyond",
         [](CQzlSections& l, Models&) { Surface(l, 1, kBoxFloor).m_material = 9; },
         Line("In Sector 1, Surface 6, an illegal Material (number 9) is specified\n"),
         Entries({1, 6, -1, -1}), 1},
        {"ColorMapBeyond", [](CQzlSections& l, Models&) { l.m_sectors[0]->m_colormap = 4; },
         Line("In Sector 0, an illegal Color Map (number 4) is specified\n"),
         Entries({0, -1, -1, -1}), 1},
        {"ThingSectorBeyond",
         [](CQzlSections& l, Models&) {
             AddCrate(l, 42, {1.5f, 0.5f, 0.5f});
         },
         Line("Object 0 resides in sector 1, but has Sector #42 as parameter\n"),
         Entries({1, -1, -1, 0}), 0},
        {"NoGameArchive",
         [](CQzlSections& l, Models&) {
             AddTestCog(l, {"0", "1", "-1"});
         },
         Line("Cog parameters are not checked, since the game archive cannot be opened\n"),
         Entries({-1, -1, -1, -1}), 0, true},
    };
}

}  // namespace

TEST(LevelChecker, EachFindingGivesItsLineEntriesAndResult)
{
    for (const CFindingCase& c : FindingCases()) {
        SCOPED_TRACE(c.name);
        CQzlSections level = MakeTwoJoinedRooms();
        std::vector<std::unique_ptr<C3doModel>> models;
        c.damage(level, models);
        const CGameResources noGame;
        const auto run = Check(level, c.noGame ? noGame : Game(), models);
        const std::string line = c.line(level);
        const auto at = std::ranges::find(run->lines, line);
        ASSERT_NE(at, run->lines.end()) << "report:\n" << run->text;
        const auto n = static_cast<std::size_t>(at - run->lines.begin());
        const CLevelChecker& checker = run->checker;
        ASSERT_EQ(checker.GetSectorList().size(), run->lines.size());
        ASSERT_EQ(checker.GetSurfaceList().size(), run->lines.size());
        ASSERT_EQ(checker.GetVertexList().size(), run->lines.size());
        ASSERT_EQ(checker.GetThingList().size(), run->lines.size());
        EXPECT_EQ((std::vector<int>{checker.GetSectorList()[n], checker.GetSurfaceList()[n],
                                    checker.GetVertexList()[n], checker.GetThingList()[n]}),
                  c.entries(level));
        EXPECT_EQ(run->result, c.result) << run->text;
    }
}

TEST(LevelChecker, CleanLevelsGiveNone)
{
    // Each with a crate on the face its last two sectors share, naming the later one: it lies in
    // both.
    struct Case {
        CQzlSections (*make)();
        int sector;
        CVector3 onSharedFace;
    };
    const Case cases[] = {
        {MakeTwoJoinedRooms, 1, {1.0f, 0.5f, 0.5f}},
        {MakeLCorridor, 2, {1.5f, 0.5f, 1.0f}},
        {MakeRoomAboveRoom, 1, {0.5f, 1.0f, 0.5f}},
    };
    for (const Case& c : cases) {
        CQzlSections level = c.make();
        AddCrate(level, 0, {0.5f, 0.5f, 0.5f});
        AddCrate(level, c.sector, c.onSharedFace);
        AddTestCog(level, {"0", "1", "0", "3"});
        AddTestCog(level, {"-1", "-1", "-1"});
        const auto run = Check(level, Game());
        EXPECT_EQ(run->text, "None");
        EXPECT_EQ(run->result, 0);
        EXPECT_TRUE(run->checker.GetSectorList().empty());
        EXPECT_TRUE(run->checker.GetSurfaceList().empty());
        EXPECT_TRUE(run->checker.GetVertexList().empty());
        EXPECT_TRUE(run->checker.GetThingList().empty());
    }
}

TEST(LevelChecker, TwentyFourCornersAreAllowed)
{
    CQzlSections level = MakeTwoJoinedRooms();
    SplitFirstEdge(level, Surface(level, 0, kBoxFloor), 20);
    EXPECT_EQ(Check(level, Game())->text, "None");
}

TEST(LevelChecker, ModelMaterialsAreReportedOnceInFirstSeenOrder)
{
    std::vector<std::unique_ptr<C3doModel>> models;
    for (const auto& names :
         {std::vector<std::string>{"b.mat", "a.mat"}, std::vector<std::string>{"a.mat", "A.mat"}}) {
        models.push_back(std::make_unique<C3doModel>("crate.3do", "dflt.cmp"));
        models.back()->m_missingMaterials = names;
    }
    const auto run = Check(MakeTwoJoinedRooms(), Game(), models);
    EXPECT_EQ(run->text, "Material b.mat is used in 3DO objects, but does not exist\n"
                         "Material a.mat is used in 3DO objects, but does not exist\n"
                         "Material A.mat is used in 3DO objects, but does not exist\n");
    EXPECT_EQ(run->result, 0);
}

TEST(LevelChecker, CleanUpDropsTheValuesBeyondTheParameters)
{
    CQzlSections level = MakeTwoJoinedRooms();
    AddTestCog(level, {"0", "1", "-1", "5", "7"});
    AddTestCog(level, {"0", "1"});
    CLevelChecker checker;
    std::string text;
    checker.CheckAllCogs(level, Game(), text, nullptr, true);
    EXPECT_EQ(text, "Cog test.cog contains too many parameters\n"
                    "Cog test.cog contains too few parameters\n");
    EXPECT_EQ(level.m_cogs[0]->m_values, (std::vector<std::string>{"0", "1", "-1", "5"}));
    EXPECT_EQ(level.m_cogs[1]->m_values, (std::vector<std::string>{"0", "1"}));

    // Checking alone changes no value.
    AddTestCog(level, {"0", "1", "-1", "5", "7"});
    Check(level, Game());
    EXPECT_EQ(level.m_cogs[2]->m_values.size(), 5u);
}

TEST(LevelChecker, ProgressStepsOncePerSectorAdjoinThingModelAndCog)
{
    CQzlSections level = MakeLCorridor();  // 3 sectors, 4 adjoins
    AddCrate(level, 0, {0.5f, 0.5f, 0.5f});
    AddTestCog(level, {"0", "1", "0"});
    std::vector<std::unique_ptr<C3doModel>> models;
    models.push_back(std::make_unique<C3doModel>("crate.3do", "dflt.cmp"));
    CRecordingEngineHost host;
    CLevelChecker checker;
    std::string text;
    EXPECT_EQ(checker.CheckLevel(level, Game(), models, text, &host), 0);
    EXPECT_EQ(text, "None");
    using Call = CRecordingEngineHost::ECall;
    EXPECT_EQ(host.Count(Call::StepProgress), 3u + 4u + 1u + 1u + 1u);
    EXPECT_EQ(host.Count(Call::BeginProgress), 1u);
    EXPECT_EQ(host.Count(Call::EndProgress), 1u);
    EXPECT_EQ(host.Count(Call::BeginWaitCursor), 1u);
    EXPECT_EQ(host.Count(Call::EndWaitCursor), 1u);
}
