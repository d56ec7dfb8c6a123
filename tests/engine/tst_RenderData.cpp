// Render data and lighting: the full and the per-sector rebuild, vertex colours, snapping, and the
// Update Vertices command, with and without the game.

#include "engine/RenderData.h"

#include "SyntheticGame.h"
#include "engine/3doModel.h"
#include "engine/Texture.h"
#include "level/LevelValidator.h"
#include "math/Rounding.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using ECall = CRecordingEngineHost::ECall;

CQzlSurface& Surface(CQzlSections& level, int index)
{
    return *level.m_surfaces[static_cast<std::size_t>(index)];
}

CQzlSector& Sector(CQzlSections& level, int index)
{
    return *level.m_sectors[static_cast<std::size_t>(index)];
}

std::vector<std::string> UseCountProblems(const CQzlSections& level)
{
    CLevelValidation options;
    options.checkUseCounts = true;
    return ValidateLevel(level, options);
}

TEST(RenderData, RebuildAllRoundsWorldVerticesToFiveDecimalsInTheLevel)
{
    CQzlSections level = MakeBoxRoom();
    level.m_worldVertices[0].x = 0.123456789f;
    level.m_worldVertices[0].y = -0.0000049f;
    level.m_worldVertices[6].z = 1.0000061f;
    CFixtureEngine f(std::move(level));
    RebuildAll(f.m_view, true);

    const CWorldVertex& w0 = f.m_level.m_worldVertices[0];
    EXPECT_FLOAT_EQ(w0.x, RoundToStep(0.123456789f, 100000.0f));
    EXPECT_FLOAT_EQ(w0.x, 0.12346f);
    EXPECT_FLOAT_EQ(w0.y, 0.0f);
    EXPECT_FLOAT_EQ(f.m_level.m_worldVertices[6].z, 1.00001f);
    // The lit vertices carry the rounded positions.
    for (const auto& surface : f.m_level.m_surfaces) {
        const std::size_t n = surface->m_vertices.size();
        for (std::size_t j = 0; j < n; ++j) {
            const CWorldVertex& w = f.m_level.m_worldVertices[static_cast<std::size_t>(
                surface->m_vertices[j].m_worldVertex)];
            const D3DLVERTEX& lit = surface->m_renderVertices[n - 1 - j];
            EXPECT_EQ(lit.x, w.x);
            EXPECT_EQ(lit.y, w.y);
            EXPECT_EQ(lit.z, w.z);
        }
    }
}

TEST(RenderData, UseCountsEqualTheCornersThatUseEachVertex)
{
    CFixtureEngine f(MakeLCorridor());
    f.m_level.m_useCounts.assign(f.m_level.m_worldVertices.size(), 7);
    RebuildAll(f.m_view, false);
    EXPECT_TRUE(UseCountProblems(f.m_level).empty());

    // A sector rebuild takes its corners off and puts them back.
    RebuildSector(f.m_view, 1);
    RebuildSector(f.m_view, 1);
    EXPECT_TRUE(UseCountProblems(f.m_level).empty());

    // A level whose counts were never made is counted afresh by a sector rebuild.
    f.m_level.m_useCounts.clear();
    RebuildSector(f.m_view, 2);
    EXPECT_TRUE(UseCountProblems(f.m_level).empty());
}

TEST(RenderData, SnapValueTable)
{
    CFixtureEngine f(MakeBoxRoom());
    struct CCase {
        float grid, value, expected;
    };
    const CCase cases[] = {
        {0.1f, 0.04f, 0.0f}, {0.1f, 0.05f, 0.1f},    {0.1f, -0.05f, -0.1f}, {0.1f, 0.00004f, 0.0f},
        {0.1f, 0.0f, 0.0f},  {0.1f, 0.26f, 0.3f},    {0.1f, -0.24f, -0.2f}, {0.25f, 0.3f, 0.25f},
        {1.0f, 2.5f, 3.0f},  {0.0f, 0.123f, 0.123f},  // no grid: unchanged
    };
    for (const CCase& c : cases) {
        f.m_settings.m_grid = c.grid;
        EXPECT_NEAR(SnapValue(f.m_view, c.value), c.expected, 1e-6f)
            << "grid " << c.grid << " value " << c.value;
    }
    f.m_settings.m_grid = 0.1f;
    CVector3 p;
    SnapPoint(f.m_view, p, 0.04f, 0.05f, -0.05f);
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_NEAR(p.y, 0.1f, 1e-6f);
    EXPECT_NEAR(p.z, -0.1f, 1e-6f);
}

TEST(RenderData, VertexColorTable)
{
    struct CCase {
        const char* what;
        float intensity[4];
        float tint[3];
        float surfaceExtra;
        float sectorExtra;
        int product;
        int lightMode;     // the document's lighting flag
        int surfaceLight;  // the surface's light mode
        bool translucent;
        std::uint32_t expected;
    };
    // clang-format off
    const CCase cases[] = {
        {"tint at intensity exactly 1.0", {1, 1, 1, 1}, {0.5f, 0, 0}, 0, 0, 0, 1, 3, false, 0xFFF2FFFF},
        {"tint ignored at 0.999", {0.999f, 1, 1, 1}, {0.5f, 0, 0}, 0, 0, 0, 1, 3, false, 0xFFFEFEFE},
        {"translucent adjoin at full light", {1, 1, 1, 1}, {0, 0, 0}, 0, 0, 0, 1, 3, true, 0x7F4C4C4C},
        {"lighting flag off", {0, 0, 0, 0}, {0, 0, 0}, 0, 0, 0, 0, 3, false, 0xFFFFFFFF},
        {"surface light mode 0", {0, 0, 0, 0}, {0, 0, 0}, 0, 0, 0, 1, 0, false, 0xFFFFFFFF},
        {"surface light mode 1", {1, 1, 1, 1}, {0, 0, 0}, 0, 0, 0, 1, 1, false, 0xFF000000},
        {"Varnok coloured light", {1, 0.2f, 0.4f, 0.6f}, {0.5f, 0, 0}, 0, 0, 1, 1, 3, false, 0xFF336699},
        {"extra light of surface and sector", {0.25f, 1, 1, 1}, {0, 0, 0}, 0.25f, 0.25f, 0, 1, 3, false, 0xFFBFBFBF},
        {"extra light limited to 1.0", {0.9f, 1, 1, 1}, {0, 0, 0}, 0.5f, 0, 0, 1, 3, false, 0xFFFFFFFF},
        {"negative intensity", {-0.5f, 1, 1, 1}, {0, 0, 0}, 0, 0, 0, 1, 3, false, 0xFF000000},
    };
    // clang-format on
    for (const CCase& c : cases) {
        CFixtureEngine f(MakeBoxRoom());
        CQzlSurface& floor = Surface(f.m_level, BoxSurface(f.m_level, 0, kBoxFloor));
        CQzlSector& sector = Sector(f.m_level, 0);
        for (int k = 0; k < 4; ++k)
            floor.m_vertices[0].m_intensity[k] = c.intensity[k];
        for (int k = 0; k < 3; ++k)
            sector.m_tint[k] = c.tint[k];
        floor.m_extraLight = c.surfaceExtra;
        sector.m_extraLight = c.sectorExtra;
        floor.m_light = c.surfaceLight;
        if (c.translucent) {
            floor.m_faceFlags |= 2u;
            floor.m_adjoin = 0;
        }
        f.m_settings.m_product = c.product;
        f.m_document.m_lightMode = c.lightMode;
        EXPECT_EQ(VertexColor(f.m_view, 0, BoxSurface(f.m_level, 0, kBoxFloor), 0), c.expected)
            << c.what;
    }
    // Face flag 2 without an adjoin is not translucent.
    CFixtureEngine f(MakeBoxRoom());
    Surface(f.m_level, 0).m_faceFlags |= 2u;
    EXPECT_EQ(VertexColor(f.m_view, 0, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(VertexColor(f.m_view, 0, 0, 99), 0xFFFFFFFFu);
    EXPECT_EQ(VertexColor(f.m_view, 5, 0, 0), 0xFFFFFFFFu);
}

TEST(RenderData, SectorBoxesCentresRadiiAndAdjoinDistances)
{
    CFixtureEngine f(MakeTwoJoinedRooms());
    for (auto& sector : f.m_level.m_sectors) {
        sector->m_boundBox = {};
        sector->m_center = {};
        sector->m_radius = 0.0f;
        sector->m_number = 42;
    }
    RebuildAll(f.m_view, true);

    const CQzlSector& s1 = Sector(f.m_level, 1);
    EXPECT_EQ(s1.m_number, 1);
    EXPECT_EQ(s1.m_boundBox, (CBoundingBox{{1, 0, 0}, {2, 1, 1}}));
    EXPECT_EQ(s1.m_center, CVector3(1.5f, 0.5f, 0.5f));
    EXPECT_FLOAT_EQ(s1.m_radius, std::sqrt(0.75f));
    for (const auto& adjoin : f.m_level.m_adjoins)
        EXPECT_FLOAT_EQ(adjoin->m_dist, 0.5f);
    const CQzlSurface& floor = Surface(f.m_level, BoxSurface(f.m_level, 1, kBoxFloor));
    EXPECT_EQ(floor.m_box, (CBoundingBox{{1, 0, 0}, {2, 0, 1}}));
    EXPECT_EQ(floor.m_normal, CVector3(0, 1, 0));
    EXPECT_FLOAT_EQ(floor.m_plane[1], -1.0f);

    // The level box, and the camera in its middle looking along +z.
    EXPECT_EQ(f.m_view.m_levelBox, (CBoundingBox{{0, 0, 0}, {2, 1, 1}}));
    EXPECT_EQ(f.m_view.m_camera.m_position, CVector3(1.0f, 0.5f, 0.5f));
    EXPECT_EQ(f.m_view.m_camera.m_forwardAxis, CVector3(0, 0, 1));
    EXPECT_EQ(f.m_view.m_camera.m_savedPosition, f.m_view.m_camera.m_position);
    EXPECT_EQ(f.m_view.m_camera.m_focusPoint, f.m_view.m_camera.m_position);
    EXPECT_EQ(f.m_view.m_camera.m_focusPoint2, f.m_view.m_camera.m_position);
    EXPECT_FLOAT_EQ(f.m_view.m_camera.m_viewMatrix.m[3][0], -1.0f);
    EXPECT_FLOAT_EQ(f.m_view.m_camera.m_viewMatrix.m[3][1], -0.5f);

    // Without resetCamera the camera stays; the focus points follow it.
    f.m_view.m_camera.m_position = {5, 5, 5};
    RebuildAll(f.m_view, false);
    EXPECT_EQ(f.m_view.m_camera.m_position, CVector3(5, 5, 5));
    EXPECT_EQ(f.m_view.m_camera.m_focusPoint, CVector3(5, 5, 5));
    EXPECT_EQ(f.m_view.m_camera.m_savedPosition, CVector3(1.0f, 0.5f, 0.5f));
}

TEST(RenderData, RebuildAllReportsProgressAndCompactsMaterials)
{
    CQzlSections level = MakeTwoJoinedRooms();
    level.m_materials.push_back(std::make_unique<CQzlMaterial>("unused.mat"));
    level.m_things.push_back(std::make_unique<CQzlThing>());
    CFixtureEngine f(std::move(level));
    RebuildAll(f.m_view, true);

    ASSERT_EQ(f.m_level.m_materials.size(), 1u);
    EXPECT_EQ(f.m_level.m_materials[0]->m_name, "dflt.mat");

    std::vector<std::string> titles;
    std::vector<int> steps;
    for (const auto& call : f.m_host.m_calls)
        if (call.kind == ECall::BeginProgress) {
            titles.push_back(call.text);
            steps.push_back(call.number);
        }
    EXPECT_EQ(titles, (std::vector<std::string>{"Parsing Sector Definitions...",
                                                "Parsing 3DO Definitions..."}));
    EXPECT_EQ(steps, (std::vector<int>{2, 1}));
    EXPECT_EQ(f.m_host.Count(ECall::StepProgress), 3u);
    EXPECT_EQ(f.m_host.Count(ECall::EndProgress), 2u);
    EXPECT_EQ(f.m_host.Count(ECall::BeginWaitCursor), 1u);
    EXPECT_EQ(f.m_host.Count(ECall::EndWaitCursor), 1u);
    // The visibility pass ran, a note per sector, and its notes are cleared when the rebuild
    // ends.
    std::vector<std::string> notes;
    for (const auto& call : f.m_host.m_calls)
        if (call.kind == ECall::SetStatusText)
            notes.push_back(call.text);
    EXPECT_EQ(notes,
              (std::vector<std::string>{"Sector 0 processed...", "Sector 1 processed...", ""}));
    EXPECT_EQ(Sector(f.m_level, 0).m_visible, (std::vector<std::int32_t>{0, 1}));
}

TEST(RenderData, RebuildAllForNewGameFilesKeepsMaterialsAndVisibleSets)
{
    CQzlSections level = MakeTwoJoinedRooms();
    level.m_materials.push_back(std::make_unique<CQzlMaterial>("unused.mat"));
    CFixtureEngine f(std::move(level));
    RebuildAll(f.m_view, false);
    f.m_level.m_materials.push_back(std::make_unique<CQzlMaterial>("unused.mat"));
    // Marks the visible set: a visibility pass would make it {0, 1} again.
    f.m_level.m_sectors[0]->m_visible = {0};
    f.m_host.m_calls.clear();

    RebuildAll(f.m_view, false, ERebuildAll::Resources);
    EXPECT_EQ(f.m_level.m_materials.size(), 2u);
    EXPECT_EQ(Sector(f.m_level, 0).m_visible, (std::vector<std::int32_t>{0}));
    for (const auto& call : f.m_host.m_calls)
        EXPECT_FALSE(call.kind == ECall::SetStatusText && call.text.ends_with("processed..."))
            << call.text;

    RebuildAll(f.m_view, false, ERebuildAll::Restore);
    EXPECT_EQ(f.m_level.m_materials.size(), 2u);
    EXPECT_EQ(Sector(f.m_level, 0).m_visible, (std::vector<std::int32_t>{0, 1}));
}

TEST(RenderData, TextureCoordinatesWithAndWithoutTheGame)
{
    // Without the game every surface keeps no texture and the size 768.
    CQzlSections level = MakeBoxRoom();
    for (auto& surface : level.m_surfaces)
        for (std::size_t j = 0; j < surface->m_vertices.size(); ++j) {
            surface->m_vertices[j].m_u = 32.0f * static_cast<float>(j);
            surface->m_vertices[j].m_v = 16.0f;
        }
    CQzlSections copy = MakeBoxRoom();
    for (std::size_t s = 0; s < copy.m_surfaces.size(); ++s)
        for (std::size_t j = 0; j < copy.m_surfaces[s]->m_vertices.size(); ++j) {
            copy.m_surfaces[s]->m_vertices[j].m_u = level.m_surfaces[s]->m_vertices[j].m_u;
            copy.m_surfaces[s]->m_vertices[j].m_v = level.m_surfaces[s]->m_vertices[j].m_v;
        }
    CFixtureEngine bare(std::move(level));
    bare.m_level.m_materials[0]->m_xTile = 2.0f;
    RebuildAll(bare.m_view, true);
    const CQzlSurface& wall = Surface(bare.m_level, 0);
    EXPECT_EQ(wall.m_texture, nullptr);
    EXPECT_EQ(wall.m_textureWidth, 768.0f);
    EXPECT_EQ(wall.m_xTile, 2.0f);
    ASSERT_EQ(wall.m_renderVertices.size(), 4u);
    // Lit vertices run against the corners: lit 0 is corner 3.
    EXPECT_FLOAT_EQ(wall.m_renderVertices[0].tu, 96.0f / 768.0f);
    EXPECT_FLOAT_EQ(wall.m_renderVertices[3].tu, 0.0f);
    EXPECT_FLOAT_EQ(wall.m_renderVertices[0].tv, 16.0f / 768.0f);
    EXPECT_EQ(wall.m_renderVertices[0].color, wall.m_renderVertices[0].specular);

    // With the game the texture comes from the cache: "dflt.mat" is 64 x 64.
    const auto synthetic = MakeSyntheticGame(0);
    CFixtureEngine game(std::move(copy));
    game.m_game = std::move(synthetic->m_resources);
    RebuildAll(game.m_view, true);
    const CQzlSurface& textured = Surface(game.m_level, 0);
    ASSERT_NE(textured.m_texture, nullptr);
    EXPECT_EQ(textured.m_texture->m_material, "dflt.mat");
    EXPECT_EQ(textured.m_textureWidth, 64.0f);
    EXPECT_EQ(textured.m_textureHeight, 64.0f);
    EXPECT_FLOAT_EQ(textured.m_renderVertices[0].tu, 96.0f / 64.0f);
    EXPECT_FLOAT_EQ(textured.m_renderVertices[0].tv, 16.0f / 64.0f);
    EXPECT_EQ(game.m_view.m_textureCache->GetTextures().size(), 1u);
    // A surface without a material keeps no texture.
    Surface(game.m_level, 1).m_material = -1;
    RebuildSector(game.m_view, 0);
    EXPECT_EQ(Surface(game.m_level, 1).m_texture, nullptr);
    EXPECT_EQ(Surface(game.m_level, 1).m_textureWidth, 768.0f);
}

TEST(RenderData, LightingFlagOffDrawsSurfacesAndModelsFullBright)
{
    const auto synthetic = MakeSyntheticGame(0);
    CQzlSections level = MakeBoxRoom();
    for (auto& surface : level.m_surfaces)
        for (CQzlVertex& corner : surface->m_vertices)
            corner.m_intensity[0] = 0.3f;
    for (const char* name : {"crate", "GHOST"}) {
        auto thing = std::make_unique<CQzlThing>();
        thing->m_template = name;
        thing->m_name = name;
        thing->m_position = {0.5f, 0.5f, 0.5f};
        level.m_things.push_back(std::move(thing));
    }
    CFixtureEngine f(std::move(level));
    f.m_game = std::move(synthetic->m_resources);

    const auto modelColors = [&](int thing) {
        std::vector<std::uint32_t> colors;
        const C3doModel* model = f.m_level.m_things[static_cast<std::size_t>(thing)]->m_model;
        for (const auto& mesh : model->m_meshes)
            for (const C3doFace& face : mesh->m_faces)
                for (const D3DLVERTEX& v : face.m_vertices)
                    colors.push_back(v.color);
        return colors;
    };
    const auto allEqual = [](const std::vector<std::uint32_t>& colors, std::uint32_t color) {
        if (colors.empty())
            return false;
        for (const std::uint32_t c : colors)
            if (c != color)
                return false;
        return true;
    };

    // Lighting on: corners at 0.3, the crate grey by the sector's light (0.5), the ghost green.
    RebuildAll(f.m_view, true);
    RefreshAllSectors(f.m_view);
    EXPECT_EQ(Surface(f.m_level, 0).m_renderVertices[0].color, 0xFF4C4C4Cu);
    EXPECT_TRUE(allEqual(modelColors(0), 0xFF7F7F7Fu));
    EXPECT_TRUE(allEqual(modelColors(1), ColorToVertex(f.m_settings.m_colorGhost)));

    // Lighting off.
    f.m_document.m_lightMode = 0;
    RebuildAll(f.m_view, true);
    RefreshAllSectors(f.m_view);
    for (const auto& surface : f.m_level.m_surfaces)
        for (const D3DLVERTEX& v : surface->m_renderVertices) {
            EXPECT_EQ(v.color, 0xFFFFFFFFu);
            EXPECT_EQ(v.specular, 0xFFFFFFFFu);
        }
    EXPECT_TRUE(allEqual(modelColors(0), 0xFFFFFFFFu));
    EXPECT_TRUE(allEqual(modelColors(1), ColorToVertex(f.m_settings.m_colorGhost)));
}

TEST(RenderData, RefreshSectorLeavesPlainAdjoinsWhenAdjoinsAreNotDrawn)
{
    CQzlSections level = MakeTwoJoinedRooms();
    for (auto& surface : level.m_surfaces)
        for (CQzlVertex& corner : surface->m_vertices)
            corner.m_intensity[0] = 0.5f;
    CFixtureEngine f(std::move(level));
    RebuildAll(f.m_view, true);
    const int wall = BoxSurface(f.m_level, 0, kBoxXLow);
    const int portal = BoxSurface(f.m_level, 0, kBoxXHigh);
    EXPECT_EQ(Surface(f.m_level, portal).m_renderVertices[0].color, 0xFF7F7F7Fu);

    Sector(f.m_level, 0).m_extraLight = 0.25f;
    f.m_settings.m_adjoin = 0;
    RefreshSector(f.m_view, 0);
    EXPECT_EQ(Surface(f.m_level, wall).m_renderVertices[0].color, 0xFFBFBFBFu);
    EXPECT_EQ(Surface(f.m_level, portal).m_renderVertices[0].color, 0xFF7F7F7Fu);

    f.m_settings.m_adjoin = 1;
    RefreshSector(f.m_view, 0);
    EXPECT_EQ(Surface(f.m_level, portal).m_renderVertices[0].color, 0xFFBFBFBFu);
    EXPECT_EQ(Surface(f.m_level, portal).m_renderVertices[0].specular, 0xFFBFBFBFu);
}

TEST(RenderData, RebuildSectorRebuildsMarksAndAsksForAFrame)
{
    CFixtureEngine f(MakeLCorridor());
    RebuildAll(f.m_view, true);
    f.m_host.Clear();

    RebuildSector(f.m_view, -1);
    RebuildSector(f.m_view, 3);
    EXPECT_TRUE(f.m_host.m_calls.empty());

    // Move a corner of sector 1's floor; the rebuild follows it.
    const int floor = BoxSurface(f.m_level, 1, kBoxFloor);
    f.m_level
        .m_worldVertices[static_cast<std::size_t>(
            Surface(f.m_level, floor).m_vertices[0].m_worldVertex)]
        .y = -0.5f;
    f.m_view.m_selection.m_pickedNodes.push_back({1, 2, 3});
    f.m_view.m_selection.m_sector = 1;
    f.m_view.m_selection.m_surface = floor;
    RebuildSector(f.m_view, 1);

    EXPECT_FLOAT_EQ(Sector(f.m_level, 1).m_boundBox.min.y, -0.5f);
    EXPECT_TRUE(f.m_view.m_selection.m_pickedNodes.empty());
    // Grid off, sector mode off, a current surface: a marker at each of its corners.
    EXPECT_EQ(f.m_view.m_markers.size(), 4u);
    EXPECT_EQ(f.m_host.Count(ECall::RequestFrame), 1u);
    ASSERT_EQ(f.m_host.Count(ECall::SetModifiedFlag), 1u);
    EXPECT_TRUE(UseCountProblems(f.m_level).empty());

    // Grid on, sector mode off, no current surface: no markers.
    f.m_document.m_gridOn = 1;
    f.m_view.m_selection.m_surface = -1;
    RebuildSector(f.m_view, 1);
    EXPECT_TRUE(f.m_view.m_markers.empty());
}

TEST(RenderData, RebuildSurfaceVerticesKeepsTheWorldVertices)
{
    CFixtureEngine f(MakeBoxRoom());
    RebuildAll(f.m_view, true);
    f.m_level.m_worldVertices[0].x = 0.1234567f;
    const std::vector<std::int32_t> counts = f.m_level.m_useCounts;
    Surface(f.m_level, 0).m_textureWidth = 64.0f;
    Surface(f.m_level, 0).m_vertices[0].m_u = 32.0f;
    f.m_host.Clear();

    RebuildSurfaceVertices(f.m_view, 0, 0, false);
    EXPECT_FLOAT_EQ(f.m_level.m_worldVertices[0].x, 0.1234567f);
    EXPECT_EQ(f.m_level.m_useCounts, counts);
    EXPECT_FLOAT_EQ(Surface(f.m_level, 0).m_renderVertices[3].tu, 0.5f);
    EXPECT_TRUE(f.m_host.m_calls.empty());

    RebuildSurfaceVertices(f.m_view, 0, 0, true);
    EXPECT_EQ(f.m_host.Count(ECall::RequestFrame), 1u);
    EXPECT_EQ(f.m_host.Count(ECall::SetModifiedFlag), 1u);
}

TEST(RenderData, UpdateVerticesInsertsCornersStrictlyInsideEdges)
{
    CQzlSections level = MakeBoxRoom();
    // u follows x, v follows z on every corner.
    for (auto& surface : level.m_surfaces)
        for (CQzlVertex& corner : surface->m_vertices) {
            const CWorldVertex& w =
                level.m_worldVertices[static_cast<std::size_t>(corner.m_worldVertex)];
            corner.m_u = w.x * 64.0f;
            corner.m_v = w.z * 64.0f;
        }
    // A vertex halfway along the edge (0,0,0)-(1,0,0), shared by the floor and the wall z = 0.
    const int middle = level.AddVertexXYZ(0.5f, 0.0f, 0.0f);
    // And one at an existing corner, which is on no edge strictly inside.
    level.m_worldVertices.push_back(level.m_worldVertices[0]);
    level.m_useCounts.push_back(0);
    CFixtureEngine f(std::move(level));
    RebuildAll(f.m_view, true);
    f.m_view.m_selection.m_surface = 2;
    f.m_host.Clear();

    UpdateSurfaceVertices(f.m_view);

    for (int side = 0; side < 6; ++side) {
        const CQzlSurface& s =
            Surface(f.m_level, BoxSurface(f.m_level, 0, static_cast<EBoxSide>(side)));
        const bool touched = side == kBoxFloor || side == kBoxZLow;
        ASSERT_EQ(s.m_vertices.size(), touched ? 5u : 4u) << side;
        EXPECT_EQ(s.m_renderVertices.size(), s.m_vertices.size());
        if (!touched)
            continue;
        int found = 0;
        for (std::size_t k = 0; k < s.m_vertices.size(); ++k) {
            const CQzlVertex& c = s.m_vertices[k];
            if (c.m_worldVertex != middle)
                continue;
            ++found;
            EXPECT_FLOAT_EQ(c.m_u, 32.0f);
            EXPECT_FLOAT_EQ(c.m_v, 0.0f);
            // It sits between the two ends of the edge it split.
            const auto at = [&](std::size_t i) {
                const CQzlVertex& n = s.m_vertices[i % s.m_vertices.size()];
                return f.m_level.m_worldVertices[static_cast<std::size_t>(n.m_worldVertex)].x;
            };
            EXPECT_FLOAT_EQ(at(k + 1) + at(k + 4), 1.0f);
        }
        EXPECT_EQ(found, 1);
    }
    EXPECT_EQ(f.m_view.m_selection.m_surface, -1);
    EXPECT_EQ(f.m_level.m_useCounts[static_cast<std::size_t>(middle)], 2);
    EXPECT_TRUE(UseCountProblems(f.m_level).empty());
    EXPECT_EQ(f.m_host.Count(ECall::BeginProgress), 3u);
    EXPECT_EQ(f.m_host.m_calls.front().kind, ECall::BeginWaitCursor);
    EXPECT_EQ(f.m_host.m_calls.back().kind, ECall::EndWaitCursor);

    // Nothing is left to insert.
    UpdateSurfaceVertices(f.m_view);
    EXPECT_EQ(Surface(f.m_level, BoxSurface(f.m_level, 0, kBoxFloor)).m_vertices.size(), 5u);
}

TEST(RenderData, PlayerStartPlacesTheCameraAndCyclicTemplatesEnd)
{
    CQzlSections level = MakeTwoJoinedRooms();
    for (const char* name : {"walkplayer", "loopa"}) {
        auto thing = std::make_unique<CQzlThing>();
        thing->m_template = name;
        thing->m_name = name;
        thing->m_position = {1.5f, 0.25f, 0.5f};
        thing->m_yaw = 90.0f;
        level.m_things.push_back(std::move(thing));
    }
    CFixtureEngine f(std::move(level));
    // Templates based on each other in a circle, none naming a model.
    for (const auto& [name, basedOn] : {std::pair{"loopa", "loopb"}, std::pair{"loopb", "loopa"}}) {
        auto t = std::make_unique<CQzlTemplate>();
        t->m_name = name;
        t->m_basedOn = basedOn;
        f.m_game.m_templates.push_back(std::move(t));
    }
    RebuildAll(f.m_view, true);

    EXPECT_EQ(f.m_view.m_camera.m_position, CVector3(1.5f, 0.25f, 0.5f));
    EXPECT_NEAR(f.m_view.m_camera.m_forwardAxis.x, 1.0f, 1e-6f);
    EXPECT_EQ(f.m_view.m_camera.m_focusPoint, f.m_view.m_camera.m_position);
    EXPECT_EQ(f.m_view.m_camera.m_savedPosition, f.m_view.m_camera.m_position);
    // The view matrix shows the camera where the fields say it is.
    const D3DMATRIX inverse = MatrixInvert(f.m_view.m_camera.m_viewMatrix);
    EXPECT_NEAR(inverse.m[3][0], 1.5f, 1e-5f);
    EXPECT_NEAR(inverse.m[3][1], 0.25f, 1e-5f);
    EXPECT_NEAR(inverse.m[3][2], 0.5f, 1e-5f);
    EXPECT_NEAR(f.m_view.m_camera.m_viewMatrix.m[0][2], 1.0f, 1e-5f);  // forward axis, third column
    for (const auto& thing : f.m_level.m_things) {
        EXPECT_NE(thing->m_model, nullptr);
        EXPECT_EQ(thing->m_modelReady, 1);
    }
}

TEST(RenderData, SurfaceArea)
{
    CFixtureEngine f(MakeTwoJoinedRooms());
    RebuildAll(f.m_view, true);
    EXPECT_FLOAT_EQ(SurfaceArea(f.m_view, 0), 1.0f);
    EXPECT_EQ(SurfaceArea(f.m_view, 99), 0.0f);
}

}  // namespace
