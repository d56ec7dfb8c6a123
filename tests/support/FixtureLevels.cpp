#include "support/FixtureLevels.h"

#include "geometry/Predicates.h"
#include "geometry/SectorBounds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <memory>
#include <numbers>
#include <utility>

CQzlSections MakeEmptyLevel()
{
    CQzlSections level;
    level.m_gameTag = "QZ";
    level.m_header.m_version = 1;
    level.m_header.m_worldGravity = 4.0f;
    level.m_header.m_horizonDistance = 200.0f;
    level.m_materials.push_back(std::make_unique<CQzlMaterial>("dflt.mat"));
    level.m_colormaps = {"dflt.cmp"};
    return level;
}

int AddBoxSector(CQzlSections& level, const CVector3& lo, const CVector3& hi)
{
    // Corner k of the box: bit 0 picks x, bit 1 y, bit 2 z (0 = lo, 1 = hi).
    const auto corner = [&](int k) {
        return CVector3{(k & 1) ? hi.x : lo.x, (k & 2) ? hi.y : lo.y, (k & 4) ? hi.z : lo.z};
    };
    // Each side's four corners around its rim.
    constexpr std::array<std::array<int, 4>, 6> sides{{
        {0, 1, 5, 4},  // floor y = lo
        {2, 3, 7, 6},  // ceiling y = hi
        {0, 2, 6, 4},  // x = lo
        {1, 3, 7, 5},  // x = hi
        {0, 1, 3, 2},  // z = lo
        {4, 5, 7, 6},  // z = hi
    }};
    const int sector = AddEmptySector(level);
    for (const auto& side : sides)
        AddFacingSurface(level, sector, (lo + hi) * 0.5f,
                         {corner(side[0]), corner(side[1]), corner(side[2]), corner(side[3])});
    return sector;
}

int AddEmptySector(CQzlSections& level)
{
    auto sector = std::make_unique<CQzlSector>();
    sector->m_number = static_cast<std::int32_t>(level.m_sectors.size());
    sector->m_colormap = 0;
    sector->m_ambientLight = 0.5f;
    level.m_sectors.push_back(std::move(sector));
    return static_cast<int>(level.m_sectors.size()) - 1;
}

int AddFacingSurface(CQzlSections& level, int sector, const CVector3& inside,
                     const std::vector<CVector3>& corners)
{
    auto surface = std::make_unique<CQzlSurface>();
    surface->m_material = 0;
    surface->m_geo = 4;
    surface->m_light = 3;
    surface->m_tex = 1;
    for (const CVector3& p : corners) {
        CQzlVertex v;
        v.m_worldVertex = level.AddVertexXYZ(p.x, p.y, p.z);
        surface->m_vertices.push_back(v);
    }
    CalcSurfacePlane(level, *surface);
    const CVector3 first = WorldPosition(level, surface->m_vertices[0].m_worldVertex);
    const CVector3 in = inside - first;
    if (surface->m_normal.x * in.x + surface->m_normal.y * in.y + surface->m_normal.z * in.z <
        0.0f) {
        std::reverse(surface->m_vertices.begin(), surface->m_vertices.end());
        CalcSurfacePlane(level, *surface);
    }
    const auto index = static_cast<std::int32_t>(level.m_surfaces.size());
    level.m_sectors[static_cast<std::size_t>(sector)]->m_surfaces.push_back(index);
    level.m_surfaces.push_back(std::move(surface));
    return index;
}

int BoxSurface(const CQzlSections& level, int sector, EBoxSide side)
{
    return level.m_sectors[static_cast<std::size_t>(sector)]
        ->m_surfaces[static_cast<std::size_t>(side)];
}

int JoinSurfaces(CQzlSections& level, int surfaceA, int surfaceB)
{
    const auto a = static_cast<std::int32_t>(level.m_adjoins.size());
    for (int k = 0; k < 2; ++k) {
        auto adjoin = std::make_unique<CQzlAdjoin>();
        adjoin->m_mirror = a + 1 - k;
        level.m_adjoins.push_back(std::move(adjoin));
        CQzlSurface& s = *level.m_surfaces[static_cast<std::size_t>(k == 0 ? surfaceA : surfaceB)];
        s.m_adjoin = a + k;
        s.m_material = -1;
        s.m_geo = 0;
    }
    return a;
}

int AddCrate(CQzlSections& level, int sector, const CVector3& position)
{
    auto thing = std::make_unique<CQzlThing>();
    thing->m_template = "crate";
    thing->m_name = "crate";
    thing->m_sector = sector;
    thing->m_position = position;
    level.m_things.push_back(std::move(thing));
    return static_cast<int>(level.m_things.size()) - 1;
}

void AddLevelFile(CQzlSections& level, const std::string& name, std::string_view text)
{
    int position = 0;
    level.m_levelFiles.Find(name, position);
    level.m_levelFiles.m_entries.insert(
        level.m_levelFiles.m_entries.begin() + position,
        std::make_unique<CTreeObject>(name, std::vector<std::uint8_t>(text.begin(), text.end()),
                                      0));
}

std::vector<std::uint8_t> MakeTestColorMap(std::size_t size)
{
    std::vector<std::uint8_t> bytes(17216);
    for (std::size_t k = 832; k < bytes.size(); ++k)
        bytes[k] = static_cast<std::uint8_t>(k % 256);
    for (std::size_t i = 0; i < 256; ++i) {
        bytes[64 + 3 * i] = static_cast<std::uint8_t>(i);
        bytes[65 + 3 * i] = static_cast<std::uint8_t>(255 - i);
        bytes[66 + 3 * i] = static_cast<std::uint8_t>(i / 2);
    }
    bytes.resize(size);
    return bytes;
}

void AddCog(CQzlSections& level, const std::string& script, std::vector<std::string> values)
{
    auto cog = std::make_unique<CQzlCog>(script);
    cog->m_values = std::move(values);
    level.m_cogs.push_back(std::move(cog));
}

void FinishFixture(CQzlSections& level)
{
    UpdateSectorBounds(level);
    for (auto& sector : level.m_sectors)
        sector->m_collideBox = sector->m_boundBox;
    level.LinkAdjoins();
}

CQzlSections MakeBoxRoom()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
    FinishFixture(level);
    return level;
}

CQzlSections MakeTwoJoinedRooms()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
    AddBoxSector(level, {1, 0, 0}, {2, 1, 1});
    JoinSurfaces(level, BoxSurface(level, 0, kBoxXHigh), BoxSurface(level, 1, kBoxXLow));
    FinishFixture(level);
    return level;
}

CQzlSections MakeLCorridor()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
    AddBoxSector(level, {1, 0, 0}, {2, 1, 1});
    AddBoxSector(level, {1, 0, 1}, {2, 1, 2});
    JoinSurfaces(level, BoxSurface(level, 0, kBoxXHigh), BoxSurface(level, 1, kBoxXLow));
    JoinSurfaces(level, BoxSurface(level, 1, kBoxZHigh), BoxSurface(level, 2, kBoxZLow));
    FinishFixture(level);
    return level;
}

CQzlSections MakeRoomAboveRoom()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
    AddBoxSector(level, {0, 1, 0}, {1, 2, 1});
    JoinSurfaces(level, BoxSurface(level, 0, kBoxCeiling), BoxSurface(level, 1, kBoxFloor));
    FinishFixture(level);
    return level;
}

CQzlSections MakeTwoSquareFloor(const CTwoSquareFloor& shape)
{
    CQzlSections level = MakeEmptyLevel();
    const int s = AddEmptySector(level);
    const CVector3 in{1, 0.5f, 0.5f};
    const float x = 1 + shape.gap;
    AddFacingSurface(level, s, in, {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}});
    AddFacingSurface(level, s, in, {{x, 0, 0}, {2, 0, 0}, {2, 0, 1}, {x, 0, 1}});
    AddFacingSurface(level, s, in, {{0, 1, 0}, {2, 1, 0}, {2, 1, 1}, {0, 1, 1}});
    AddFacingSurface(level, s, in, {{0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}});
    AddFacingSurface(level, s, in, {{2, 0, 0}, {2, 1, 0}, {2, 1, 1}, {2, 0, 1}});
    for (const float z : {0.0f, 1.0f}) {
        if (z == 0.0f ? shape.splitNearWall : shape.splitFarWall) {
            AddFacingSurface(level, s, in, {{0, 0, z}, {1, 0, z}, {1, 1, z}, {0, 1, z}});
            AddFacingSurface(level, s, in, {{1, 0, z}, {2, 0, z}, {2, 1, z}, {1, 1, z}});
        } else {
            AddFacingSurface(level, s, in, {{0, 0, z}, {2, 0, z}, {2, 1, z}, {0, 1, z}});
        }
    }
    FinishFixture(level);
    return level;
}

CQzlSections MakeHexRoom()
{
    CQzlSections level = MakeEmptyLevel();
    const int s = AddEmptySector(level);
    const CVector3 in{1, 0.5f, 1};
    std::vector<CVector3> low;
    std::vector<CVector3> high;
    for (int k = 0; k < 6; ++k) {
        const double angle = std::numbers::pi * static_cast<double>(k) / 3.0;
        const float x = 1.0f + static_cast<float>(std::cos(angle));
        const float z = 1.0f + static_cast<float>(std::sin(angle));
        low.push_back({x, 0, z});
        high.push_back({x, 1, z});
    }
    AddFacingSurface(level, s, in, low);
    AddFacingSurface(level, s, in, high);
    for (std::size_t k = 0; k < 6; ++k) {
        const std::size_t next = (k + 1) % 6;
        AddFacingSurface(level, s, in, {low[k], low[next], high[next], high[k]});
    }
    FinishFixture(level);
    return level;
}

CQzlSections MakeSlopedCeilingRoom()
{
    CQzlSections level = MakeEmptyLevel();
    const int s = AddEmptySector(level);
    const CVector3 in{0.5f, 0.5f, 0.5f};
    AddFacingSurface(level, s, in, {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}});
    AddFacingSurface(level, s, in, {{0, 1, 0}, {1, 1.5f, 0}, {1, 1.5f, 1}, {0, 1, 1}});
    AddFacingSurface(level, s, in, {{0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}});
    AddFacingSurface(level, s, in, {{1, 0, 0}, {1, 1.5f, 0}, {1, 1.5f, 1}, {1, 0, 1}});
    AddFacingSurface(level, s, in, {{0, 0, 0}, {1, 0, 0}, {1, 1.5f, 0}, {0, 1, 0}});
    AddFacingSurface(level, s, in, {{0, 0, 1}, {1, 0, 1}, {1, 1.5f, 1}, {0, 1, 1}});
    FinishFixture(level);
    return level;
}

CFixtureEngine::CFixtureEngine(CQzlSections level, SoundDevice* sound)
    : m_level(std::move(level)), m_view(m_level, m_settings, m_document, m_game, m_host, m_keys,
                                        m_clock, m_random, C3dView::kDocumentView, nullptr, sound)
{}
