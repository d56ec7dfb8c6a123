// Insert: a corner after the current vertex, an overlay lifted off the current surface, a thing at
// the focus point; and the Insert command that picks one of them by the selection. After every
// operation the level oracle holds and undo gives back the exact stored bytes.

#include "edit/Insert.h"

#include "SurfaceAccess.h"
#include "SyntheticGame.h"
#include "engine/3doModel.h"
#include "engine/Undo.h"
#include "level/QzeFile.h"
#include "level/QzlTemplate.h"
#include "math/BoundingBox.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using ECall = CRecordingEngineHost::ECall;
using Bytes = std::vector<std::uint8_t>;

// The first call of kind the host recorded.
const CRecordingEngineHost::CCall& FirstCall(const CRecordingEngineHost& host, ECall kind)
{
    static const CRecordingEngineHost::CCall none{kind, "(no such call)", -99};
    const auto call = std::find_if(host.m_calls.begin(), host.m_calls.end(),
                                   [kind](const auto& c) { return c.kind == kind; });
    return call == host.m_calls.end() ? none : *call;
}

void ExpectNear(const CVector3& got, const CVector3& want)
{
    EXPECT_NEAR(got.x, want.x, 1e-5f);
    EXPECT_NEAR(got.y, want.y, 1e-5f);
    EXPECT_NEAR(got.z, want.z, 1e-5f);
}

// A sector of four triangles: (0,0,0), (1,0,0), (0,0,1) and (0,1,0).
CQzlSections MakeTetrahedron()
{
    CQzlSections level = MakeEmptyLevel();
    const int sector = AddEmptySector(level);
    const CVector3 o{0, 0, 0}, x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
    const CVector3 inside{0.2f, 0.2f, 0.2f};
    AddFacingSurface(level, sector, inside, {o, x, z});
    AddFacingSurface(level, sector, inside, {o, x, y});
    AddFacingSurface(level, sector, inside, {o, y, z});
    AddFacingSurface(level, sector, inside, {x, y, z});
    FinishFixture(level);
    return level;
}

void SelectVertex(C3dView& view, int sector, int surface, int corner)
{
    view.m_selection.m_sector = sector;
    view.m_selection.m_surface = surface;
    view.m_selection.m_vertexSurface = surface;
    view.m_selection.m_vertex = corner;
}

// ---- Insert Vertex ----

struct InsertVertexCase {
    int corner;       // the current vertex
    int startVertex;  // of the surface, before
    int newAt;        // where the new corner lands
    int startAfter;   // the start vertex after
};

TEST(InsertVertex, ANewCornerHalfwayToTheNextWithTheMeansOfBoth)
{
    const InsertVertexCase cases[] = {
        {0, 2, 1, 3},                // before the start vertex: it moves with its corner
        {1, 2, 2, 3}, {2, 2, 3, 2},  // at the start vertex: it stays
        {3, 2, 0, 2},  // after the last corner the new one goes first; the start index stays
        {3, 0, 0, 0},
    };
    for (const InsertVertexCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "corner " << c.corner << ", start " << c.startVertex);
        CFixtureEngine engine(MakeBoxRoom());
        CQzlSections& level = engine.m_level;
        const int floor = BoxSurface(level, 0, kBoxFloor);
        CQzlSurface& before = Surface(level, floor);
        before.m_startVertex = c.startVertex;
        for (std::size_t k = 0; k < 4; ++k) {
            CQzlVertex& corner = before.m_vertices[k];
            corner.m_u = 10.0f * static_cast<float>(k);
            corner.m_v = 4.0f * static_cast<float>(k);
            corner.m_textureVertex = static_cast<std::int32_t>(k) + 7;
            for (std::size_t i = 0; i < 4; ++i)
                corner.m_intensity[i] = 0.1f * static_cast<float>(k + i);
        }
        const auto a = static_cast<std::size_t>(c.corner);
        const std::size_t b = (a + 1) % 4;
        const CQzlVertex cornerA = before.m_vertices[a];
        const CQzlVertex cornerB = before.m_vertices[b];
        level.m_worldVertices[static_cast<std::size_t>(cornerA.m_worldVertex)].extra[4] = 9.0f;
        const std::size_t vertices = level.m_worldVertices.size();
        SelectVertex(engine.m_view, 0, floor, c.corner);

        ASSERT_TRUE(
            UndoGivesBackExactBytes(engine.m_view, [&] { return InsertVertex(engine.m_view); }));
        EXPECT_TRUE(LevelIsSound(level));

        // Undo and redo gave the level new records.
        const CQzlSurface& surface = Surface(level, floor);
        ASSERT_EQ(surface.m_vertices.size(), 5u);
        ASSERT_EQ(level.m_worldVertices.size(), vertices + 1);
        const CQzlVertex& added = surface.m_vertices[static_cast<std::size_t>(c.newAt)];
        EXPECT_EQ(added.m_worldVertex, static_cast<std::int32_t>(vertices));
        EXPECT_EQ(level.m_useCounts.back(), 1);
        ExpectNear(Position(level, added),
                   (Position(level, cornerA) + Position(level, cornerB)) * 0.5f);
        EXPECT_EQ(level.m_worldVertices.back().extra[4], 9.0f);
        EXPECT_FLOAT_EQ(added.m_u, (cornerA.m_u + cornerB.m_u) * 0.5f);
        EXPECT_FLOAT_EQ(added.m_v, (cornerA.m_v + cornerB.m_v) * 0.5f);
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_FLOAT_EQ(added.m_intensity[i],
                            (cornerA.m_intensity[i] + cornerB.m_intensity[i]) * 0.5f);
        EXPECT_EQ(added.m_marked, 0);
        EXPECT_EQ(added.m_spareIndex, -1);
        EXPECT_EQ(surface.m_startVertex, c.startAfter);
        // The selection stays as it was.
        EXPECT_EQ(engine.m_view.m_selection.m_vertex, c.corner);
        EXPECT_EQ(engine.m_view.m_selection.m_vertexSurface, floor);
        EXPECT_GE(engine.m_host.Count(ECall::BeginWaitCursor), 1u);
        EXPECT_EQ(engine.m_host.Count(ECall::BeginWaitCursor),
                  engine.m_host.Count(ECall::EndWaitCursor));
    }
}

TEST(InsertVertex, ATriangleGrowsTo23CornersAndTheNextIsRefused)
{
    CFixtureEngine engine(MakeTetrahedron());
    CQzlSections& level = engine.m_level;
    // Each time after the corner that starts the longest edge, so no edge gets too short.
    const auto longestEdge = [&level] {
        const auto& corners = Surface(level, 0).m_vertices;
        int longest = 0;
        float length = 0.0f;
        for (std::size_t k = 0; k < corners.size(); ++k) {
            const float l = VectorLength(Position(level, corners[(k + 1) % corners.size()]) -
                                         Position(level, corners[k]));
            if (l > length) {
                length = l;
                longest = static_cast<int>(k);
            }
        }
        return longest;
    };
    for (int i = 0; i < 20; ++i) {
        SelectVertex(engine.m_view, 0, 0, longestEdge());
        ASSERT_TRUE(InsertVertex(engine.m_view)) << "insertion " << i + 1;
    }
    EXPECT_EQ(Surface(level, 0).m_vertices.size(), 23u);
    EXPECT_TRUE(LevelIsSound(level));
    EXPECT_TRUE(engine.m_host.Messages().empty());

    // The 21st: refused with its message, the level and the undo list untouched.
    const Bytes before = WriteLevelBytes(level);
    const std::size_t undo = level.m_undoList.size();
    EXPECT_FALSE(RunInsertCommand(engine.m_view));
    EXPECT_EQ(engine.m_host.Messages(),
              std::vector<std::string>{
                  "Cannot insert Vertex.\n\nSurfaces must have less than 24 vertices."});
    EXPECT_EQ(WriteLevelBytes(level), before);
    EXPECT_EQ(level.m_undoList.size(), undo);
    EXPECT_EQ(engine.m_host.Count(ECall::BeginWaitCursor),
              engine.m_host.Count(ECall::EndWaitCursor));
}

TEST(InsertVertex, AddsAWorldVertexEvenWhereOneLiesAlready)
{
    // The floor's edge along x at z = 0 is also the wall z = 0's edge: inserting on both puts
    // two world vertices at (0.5, 0, 0).
    CFixtureEngine engine(MakeBoxRoom());
    CQzlSections& level = engine.m_level;
    const int floor = BoxSurface(level, 0, kBoxFloor);
    const int wall = BoxSurface(level, 0, kBoxZLow);
    const auto cornerOn = [&](int surface, const CVector3& from, const CVector3& to) {
        const auto& corners = Surface(level, surface).m_vertices;
        for (std::size_t k = 0; k < corners.size(); ++k) {
            const CVector3 a = Position(level, corners[k]);
            const CVector3 b = Position(level, corners[(k + 1) % corners.size()]);
            if ((a == from && b == to) || (a == to && b == from))
                return static_cast<int>(k);
        }
        return -1;
    };
    const CVector3 a{0, 0, 0}, b{1, 0, 0};
    const int onFloor = cornerOn(floor, a, b);
    Surface(level, floor).m_vertices[static_cast<std::size_t>(onFloor)].m_textureVertex = 5;
    SelectVertex(engine.m_view, 0, floor, onFloor);
    ASSERT_TRUE(InsertVertex(engine.m_view));
    // The new corner takes the current corner's texture-vertex index (of older files).
    EXPECT_EQ(
        Surface(level, floor).m_vertices[static_cast<std::size_t>(onFloor + 1) % 5].m_textureVertex,
        5);
    SelectVertex(engine.m_view, 0, wall, cornerOn(wall, a, b));
    ASSERT_TRUE(InsertVertex(engine.m_view));

    const std::size_t n = level.m_worldVertices.size();
    ASSERT_EQ(n, 10u);
    for (std::size_t k : {n - 2, n - 1}) {
        const CWorldVertex& v = level.m_worldVertices[k];
        EXPECT_EQ(CVector3(v.x, v.y, v.z), CVector3(0.5f, 0.0f, 0.0f));
        EXPECT_EQ(level.m_useCounts[k], 1);
    }
    EXPECT_TRUE(LevelIsSound(level));
}

// ---- Insert Surface ----

// The level oracle with the overlay left out: an overlay is a decal inside its sector, which is
// then neither closed nor convex. The overlay must be the level's last surface.
testing::AssertionResult SoundBesideOverlay(CQzlSections& level, int sector, int overlay)
{
    if (static_cast<std::size_t>(overlay) + 1 != level.m_surfaces.size())
        return testing::AssertionFailure() << "the overlay is not the last surface";
    std::unique_ptr<CQzlSurface> taken = std::move(level.m_surfaces.back());
    level.m_surfaces.pop_back();
    auto& list = level.m_sectors[static_cast<std::size_t>(sector)]->m_surfaces;
    const auto at = std::find(list.begin(), list.end(), overlay);
    if (at == list.end())
        return testing::AssertionFailure() << "the sector does not list the overlay";
    const auto position = at - list.begin();
    list.erase(at);
    for (const CQzlVertex& corner : taken->m_vertices)
        --level.m_useCounts[static_cast<std::size_t>(corner.m_worldVertex)];

    testing::AssertionResult result = LevelIsSound(level);

    for (const CQzlVertex& corner : taken->m_vertices)
        ++level.m_useCounts[static_cast<std::size_t>(corner.m_worldVertex)];
    list.insert(list.begin() + position, overlay);
    level.m_surfaces.push_back(std::move(taken));
    return result;
}

CMaterialChoice AnyMaterial()
{
    CMaterialChoice choice;
    choice.m_index = 0;
    choice.m_name = "dflt.mat";
    return choice;
}

struct OverlayCase {
    const char* what;
    std::vector<std::string> materials;  // the level's, replacing "dflt.mat"
    std::int32_t material;               // of the current surface
    const char* proposed;                // the picker's initial name
    std::int32_t overlayMaterial;
};

TEST(InsertOverlaySurface, ACopyOfTheSurfaceLiftedAlongItsNormal)
{
    const OverlayCase cases[] = {
        {"its own material", {"dflt.mat"}, 0, "dflt.mat", 0},
        {"the first of the name", {"stone.mat", "STONE.MAT"}, 1, "stone.mat", 0},
        {"no material", {"dflt.mat"}, -1, "", -1},
    };
    for (const OverlayCase& c : cases) {
        SCOPED_TRACE(c.what);
        for (const EBoxSide side : {kBoxFloor, kBoxXHigh}) {
            CFixtureEngine engine(MakeBoxRoom());
            CQzlSections& level = engine.m_level;
            level.m_materials.clear();
            for (const std::string& name : c.materials) {
                level.m_materials.push_back(std::make_unique<CQzlMaterial>(name));
                level.m_materials.back()->m_xTile = 2.0f;
                level.m_materials.back()->m_yTile = 3.0f;
            }
            const int current = BoxSurface(level, 0, side);
            {
                CQzlSurface& source = Surface(level, current);
                source.m_material = c.material;
                source.m_surfaceFlags = 0x41;
                source.m_faceFlags = 0x2;
                source.m_extraLight = 0.25f;
                source.m_vertices[1].m_intensity[2] = 0.5f;
                source.m_vertices[2].m_u = 33.0f;
            }
            engine.m_view.m_selection.m_sector = 0;
            engine.m_view.m_selection.m_surface = current;
            engine.m_host.m_materialChoices = {AnyMaterial()};
            const std::size_t vertices = level.m_worldVertices.size();

            ASSERT_TRUE(UndoGivesBackExactBytes(
                engine.m_view, [&] { return InsertOverlaySurface(engine.m_view); }));
            const int overlay = static_cast<int>(level.m_surfaces.size()) - 1;
            EXPECT_TRUE(SoundBesideOverlay(level, 0, overlay));
            const CQzlSurface& source = Surface(level, current);

            ASSERT_EQ(engine.m_host.Count(ECall::PickMaterial), 1u);
            EXPECT_EQ(FirstCall(engine.m_host, ECall::PickMaterial).text, c.proposed);
            EXPECT_EQ(FirstCall(engine.m_host, ECall::PickMaterial).number, kPickInLevel);

            EXPECT_EQ(overlay, 6);
            EXPECT_EQ(engine.m_view.m_selection.m_surface, overlay);
            EXPECT_EQ(level.m_sectors[0]->m_surfaces.back(), overlay);
            const CQzlSurface& added = Surface(level, overlay);
            EXPECT_EQ(added.m_material, c.overlayMaterial);
            EXPECT_EQ(added.m_adjoin, -1);
            EXPECT_EQ(added.m_surfaceFlags, 0x41u);
            EXPECT_EQ(added.m_faceFlags, 0x2u);
            EXPECT_EQ(added.m_geo, source.m_geo);
            EXPECT_EQ(added.m_light, source.m_light);
            EXPECT_EQ(added.m_tex, source.m_tex);
            EXPECT_EQ(added.m_extraLight, 0.25f);
            EXPECT_EQ(added.m_normal, source.m_normal);
            EXPECT_EQ(added.m_uScale, 320.0f);
            EXPECT_EQ(added.m_xTile, c.overlayMaterial >= 0 ? 2.0f : 1.0f);
            ASSERT_EQ(added.m_vertices.size(), 4u);
            ASSERT_EQ(level.m_worldVertices.size(), vertices + 4);
            for (std::size_t k = 0; k < 4; ++k) {
                const CQzlVertex& corner = added.m_vertices[k];
                EXPECT_EQ(corner.m_worldVertex, static_cast<std::int32_t>(vertices + k));
                EXPECT_EQ(level.m_useCounts[vertices + k], 1);
                ExpectNear(Position(level, corner),
                           Position(level, source.m_vertices[k]) + source.m_normal * 0.1f);
                EXPECT_EQ(corner.m_u, 0.0f);
                EXPECT_EQ(corner.m_v, 0.0f);
                for (std::size_t i = 0; i < 4; ++i)
                    EXPECT_EQ(corner.m_intensity[i], source.m_vertices[k].m_intensity[i]);
            }
        }
    }
}

TEST(InsertOverlaySurface, CancelChangesNothing)
{
    CFixtureEngine engine(MakeBoxRoom());
    engine.m_view.m_selection.m_sector = 0;
    engine.m_view.m_selection.m_surface = 2;
    const Bytes before = WriteLevelBytes(engine.m_level);
    EXPECT_FALSE(RunInsertCommand(engine.m_view));
    EXPECT_EQ(WriteLevelBytes(engine.m_level), before);
    EXPECT_TRUE(engine.m_level.m_undoList.empty());
    EXPECT_EQ(engine.m_view.m_selection.m_surface, 2);
    EXPECT_EQ(engine.m_host.Count(ECall::PickMaterial), 1u);
}

// ---- Insert Thing ----

CTemplateChoice Template(const char* name, float height)
{
    return {name, {0.5f, height, 0.5f}};
}

// A box sector from (0, 0, 0) to (4, 4, 4).
CQzlSections MakeLargeRoom()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {4, 4, 4});
    FinishFixture(level);
    return level;
}

// An engine over the large room with sector 0 current, the camera at (2, 2, 0.5) looking along
// +z, the template picker answering "Crate" of height 1.
std::unique_ptr<CFixtureEngine> MakeThingEngine()
{
    auto engine = std::make_unique<CFixtureEngine>(MakeLargeRoom());
    C3dView& view = engine->m_view;
    view.m_selection.m_sector = 0;
    view.m_camera.m_position = {2.0f, 2.0f, 0.5f};
    view.m_camera.m_forwardAxis = {0.0f, 0.0f, 1.0f};
    engine->m_host.m_templateChoices = {Template("Crate", 1.0f)};
    return engine;
}

TEST(InsertThing, AtTheFocusPointRoundedToHundredths)
{
    auto engine = MakeThingEngine();
    CQzlSections& level = engine->m_level;
    C3dView& view = engine->m_view;
    ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] {
        view.m_camera.m_focusPoint = {1.234f, 2.0f, 3.006f};
        return InsertThing(view);
    }));
    EXPECT_TRUE(LevelIsSound(level));

    ASSERT_EQ(level.m_things.size(), 1u);
    const CQzlThing& thing = *level.m_things[0];
    EXPECT_EQ(thing.m_template, "crate");
    EXPECT_EQ(thing.m_name, "crate");
    EXPECT_EQ(thing.m_sector, 0);
    EXPECT_FLOAT_EQ(thing.m_position.x, 1.23f);
    EXPECT_FLOAT_EQ(thing.m_position.y, 2.6f);
    EXPECT_FLOAT_EQ(thing.m_position.z, 3.01f);
    EXPECT_EQ(view.m_selection.m_thing, 0);
    // Nothing was current: no template proposed, from the product's list.
    ASSERT_EQ(engine->m_host.Count(ECall::PickTemplate), 1u);
    EXPECT_EQ(FirstCall(engine->m_host, ECall::PickTemplate).text, "");
    EXPECT_EQ(FirstCall(engine->m_host, ECall::PickTemplate).number, kPickToAdd);
}

TEST(InsertThing, WithoutTheGameTheThingGetsTheGhost)
{
    auto engine = MakeThingEngine();
    C3dView& view = engine->m_view;
    ASSERT_EQ(engine->m_game.m_archive, nullptr);
    view.m_camera.m_focusPoint = {2.0f, 1.0f, 2.0f};
    ASSERT_TRUE(InsertThing(view));

    ASSERT_EQ(engine->m_level.m_things.size(), 1u);
    const CQzlThing& thing = *engine->m_level.m_things[0];
    ASSERT_NE(thing.m_model, nullptr);
    EXPECT_FALSE(thing.m_model->m_nodes.empty());
    // The ghost's cube of half-edge 0.01, and the camera stepped back by twice its radius.
    const float radius = BoxRadius(thing.m_model->m_bounds);
    EXPECT_NEAR(radius, std::sqrt(3.0f) * 0.01f, 1e-5f);
    ExpectNear(view.m_camera.m_position, {2.0f, 2.0f, 0.5f - 2.0f * radius});
    EXPECT_GE(engine->m_host.Count(ECall::RequestFrame), 1u);
    EXPECT_TRUE(LevelIsSound(engine->m_level));
}

TEST(InsertThing, ACurrentThingProposesItsTemplateFromTheLevel)
{
    CFixtureEngine engine(MakeLargeRoom());
    CQzlSections& level = engine.m_level;
    auto existing = std::make_unique<CQzlThing>();
    existing->m_template = "barrel";
    existing->m_name = "barrel";
    existing->m_position = {1.0f, 1.0f, 1.0f};
    level.m_things.push_back(std::move(existing));
    engine.m_view.m_selection.m_sector = 0;
    engine.m_view.m_selection.m_thing = 0;
    engine.m_view.m_camera.m_focusPoint = {2.0f, 0.15f, 2.0f};
    engine.m_host.m_templateChoices = {Template("barrel", 0.0f)};

    ASSERT_TRUE(InsertThing(engine.m_view));
    EXPECT_EQ(FirstCall(engine.m_host, ECall::PickTemplate).text, "barrel");
    EXPECT_EQ(FirstCall(engine.m_host, ECall::PickTemplate).number, kPickInLevel);
    ASSERT_EQ(level.m_things.size(), 2u);
    EXPECT_EQ(engine.m_view.m_selection.m_thing, 1);
    EXPECT_EQ(level.m_things[1]->m_position, CVector3(2.0f, 0.0f, 2.0f));
}

TEST(InsertThing, WithTheGameTheModelComesFromItsArchive)
{
    const auto synthetic = MakeSyntheticGame(0);
    CFixtureEngine engine(MakeLargeRoom());
    engine.m_game = std::move(synthetic->m_resources);
    engine.m_view.m_selection.m_sector = 0;
    engine.m_view.m_camera.m_focusPoint = {2.0f, 1.0f, 2.0f};
    engine.m_host.m_templateChoices = {Template("crate", 0.4f)};

    ASSERT_TRUE(InsertThing(engine.m_view));
    const CQzlThing& thing = *engine.m_level.m_things.back();
    ASSERT_NE(thing.m_model, nullptr);
    EXPECT_EQ(thing.m_model->m_fileName, "crate.3do");
    // Larger than the ghost's cube of 0.02.
    EXPECT_GT(BoxRadius(thing.m_model->m_bounds), 0.05f);
    // The resource lists know the new template and its model.
    const CQzlSections& level = engine.m_level;
    EXPECT_TRUE(std::any_of(level.m_templates.begin(), level.m_templates.end(),
                            [](const auto& t) { return t->m_name == "crate"; }));
    EXPECT_NE(std::find(level.m_models.begin(), level.m_models.end(), "crate.3do"),
              level.m_models.end());
    EXPECT_TRUE(LevelIsSound(engine.m_level));
}

TEST(InsertThing, CancelChangesNothing)
{
    CFixtureEngine engine(MakeLargeRoom());
    engine.m_view.m_selection.m_sector = 0;
    const CVector3 camera = engine.m_view.m_camera.m_position;
    const Bytes before = WriteLevelBytes(engine.m_level);
    EXPECT_FALSE(RunInsertCommand(engine.m_view));
    EXPECT_EQ(WriteLevelBytes(engine.m_level), before);
    EXPECT_TRUE(engine.m_level.m_undoList.empty());
    EXPECT_EQ(engine.m_view.m_selection.m_thing, -1);
    EXPECT_EQ(engine.m_view.m_camera.m_position, camera);
}

// ---- The Insert command ----

struct CommandCase {
    const char* what;
    int sector, surface, thing, vertex;
    bool enabled;
    int surfaces, vertices, things;  // added by the command
};

TEST(InsertCommand, TheSelectionChoosesTheOperation)
{
    const CommandCase cases[] = {
        {"nothing", -1, -1, -1, -1, false, 0, 0, 0},
        {"a vertex", 0, 0, -1, 1, true, 0, 1, 0},
        {"a surface", 0, 0, -1, -1, true, 1, 4, 0},
        {"a sector", 0, -1, -1, -1, true, 0, 0, 1},
        {"a thing and a sector", 0, -1, 0, -1, true, 0, 0, 1},
        {"only a thing: nothing applies", -1, -1, 0, -1, true, 0, 0, 0},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.what);
        CFixtureEngine engine(MakeLargeRoom());
        CQzlSections& level = engine.m_level;
        auto thing = std::make_unique<CQzlThing>();
        thing->m_template = thing->m_name = "crate";
        thing->m_position = {1.0f, 1.0f, 1.0f};
        level.m_things.push_back(std::move(thing));
        CSelection& selection = engine.m_view.m_selection;
        selection.m_sector = c.sector;
        selection.m_surface = c.surface;
        selection.m_thing = c.thing;
        selection.m_vertex = c.vertex;
        selection.m_vertexSurface = c.vertex >= 0 ? c.surface : -1;
        engine.m_view.m_camera.m_focusPoint = {2.0f, 1.0f, 2.0f};
        engine.m_host.m_materialChoices = {AnyMaterial()};
        engine.m_host.m_templateChoices = {Template("crate", 0.5f)};
        const std::size_t surfaces = level.m_surfaces.size();
        const std::size_t vertices = level.m_worldVertices.size();
        const std::size_t things = level.m_things.size();

        EXPECT_EQ(CanInsert(engine.m_view), c.enabled);
        const bool changed = c.surfaces + c.vertices + c.things > 0;
        EXPECT_EQ(RunInsertCommand(engine.m_view), changed);
        EXPECT_EQ(level.m_surfaces.size(), surfaces + static_cast<std::size_t>(c.surfaces));
        EXPECT_EQ(level.m_worldVertices.size(), vertices + static_cast<std::size_t>(c.vertices));
        EXPECT_EQ(level.m_things.size(), things + static_cast<std::size_t>(c.things));
        // One undo step for a change, none otherwise.
        EXPECT_EQ(level.m_undoList.size(), changed ? 1u : 0u);
    }
}

}  // namespace
