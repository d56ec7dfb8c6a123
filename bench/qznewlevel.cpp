// qznewlevel: writes the editor's two new-level files, new.qze (Korvath) and newvarnok.qze
// (Varnok), into a folder (the repository's res/ folder is where they live):
//
//   qznewlevel <folder>
//
// Each holds one small playable room: a box sector with a floor, four walls and a ceiling, the
// player start (a thing named "walkplayer"), the header values of an ordinary level, the editor's
// start and goals cogs, and the episode fields of a new document. Its materials and colour map
// are those every game archive of the product holds.

#include "episode/StartGoalsCogs.h"
#include "framework/Exceptions.h"
#include "geometry/Predicates.h"
#include "geometry/SectorBounds.h"
#include "level/GameResources.h"
#include "level/LevelValidator.h"
#include "level/QzeFile.h"
#include "level/ResourceLists.h"
#include "level/TextureFit.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

struct CNewLevel {
    const char* m_fileName;
    int m_product;
    const char* m_floor;
    const char* m_walls;
    const char* m_ceiling;
};

constexpr CNewLevel kNewLevels[] = {
    {"new.qze", 0, "floor.mat", "brick.mat", "dflt.mat"},
    {"newvarnok.qze", 1, "ice.mat", "brick.mat", "dflt.mat"},
};

// The room: 2 x 1 x 2 around the origin, standing on y = 0.
constexpr CVector3 kRoomLow{-1.0f, 0.0f, -1.0f};
constexpr CVector3 kRoomHigh{1.0f, 1.0f, 1.0f};

void SetHeader(CQzlHeader& h)
{
    h.m_version = 1;
    h.m_worldGravity = 4.0f;
    h.m_ceilingSkyZ = 15.0f;
    h.m_horizonDistance = 200.0f;
    h.m_horizonPixelsPerRev = 768.0f;
    const float mipmaps[4] = {1.0f, 2.0f, 3.0f, 4.0f};
    const float lods[4] = {0.3f, 0.6f, 0.9f, 1.2f};
    std::copy(std::begin(mipmaps), std::end(mipmaps), h.m_mipmapDistances);
    std::copy(std::begin(lods), std::end(lods), h.m_lodDistances);
    h.m_perspectiveDistance = 2.0f;
    h.m_gouraudDistance = 4.0f;
}

// The box sector: floor, ceiling, walls x low, x high, z low, z high, each wound so that its
// normal points into the room.
void AddRoom(CQzlSections& level)
{
    const auto corner = [](int k) {
        return CVector3{(k & 1) ? kRoomHigh.x : kRoomLow.x, (k & 2) ? kRoomHigh.y : kRoomLow.y,
                        (k & 4) ? kRoomHigh.z : kRoomLow.z};
    };
    struct CSide {
        std::array<int, 4> m_corners;
        std::int32_t m_material;
        std::uint32_t m_flags;
    };
    constexpr CSide sides[] = {
        {{0, 1, 5, 4}, 0, 1u},  // floor (surface flag 1)
        {{2, 3, 7, 6}, 2, 0u},  // ceiling
        // the four walls
        {{0, 2, 6, 4}, 1, 0u},
        {{1, 3, 7, 5}, 1, 0u},
        {{0, 1, 3, 2}, 1, 0u},
        {{4, 5, 7, 6}, 1, 0u},
    };
    const CVector3 centre = (kRoomLow + kRoomHigh) * 0.5f;

    auto sector = std::make_unique<CQzlSector>();
    sector->m_number = 0;
    sector->m_colormap = 0;
    sector->m_ambientLight = 0.5f;
    for (const CSide& side : sides) {
        auto surface = std::make_unique<CQzlSurface>();
        surface->m_material = side.m_material;
        surface->m_surfaceFlags = side.m_flags;
        surface->m_geo = 4;
        surface->m_light = 3;
        surface->m_tex = 1;
        for (const int k : side.m_corners) {
            const CVector3 p = corner(k);
            CQzlVertex v;
            v.m_worldVertex = level.AddVertexXYZ(p.x, p.y, p.z);
            surface->m_vertices.push_back(v);
        }
        CalcSurfacePlane(level, *surface);
        const CVector3 in = centre - WorldPosition(level, surface->m_vertices[0].m_worldVertex);
        if (surface->m_normal.x * in.x + surface->m_normal.y * in.y + surface->m_normal.z * in.z <
            0.0f) {
            std::reverse(surface->m_vertices.begin(), surface->m_vertices.end());
            CalcSurfacePlane(level, *surface);
        }
        sector->m_surfaces.push_back(static_cast<std::int32_t>(level.m_surfaces.size()));
        level.m_surfaces.push_back(std::move(surface));
    }
    level.m_sectors.push_back(std::move(sector));

    for (std::size_t s = 0; s < level.m_surfaces.size(); ++s)
        ComputeTextureCoords(level, static_cast<int>(s), 0, 0.0f, 320.0f, 320.0f, 0.0f, 0.0f, 0);
    UpdateSectorBounds(level);
    for (auto& room : level.m_sectors)
        room->m_collideBox = room->m_boundBox;
}

void AddPlayerStart(CQzlSections& level)
{
    auto player = std::make_unique<CQzlTemplate>();
    player->m_name = "player";
    player->m_basedOn = "none";
    player->m_params = "type=player";
    level.m_templates.push_back(std::move(player));

    auto start = std::make_unique<CQzlThing>();
    start->m_template = "player";
    start->m_name = "walkplayer";
    // Near the back wall, so the room is in view when the level opens.
    start->m_position = {0.0f, 0.1f, -0.8f};
    start->m_sector = 0;
    level.m_things.push_back(std::move(start));
}

CQzlSections MakeNewLevel(const CNewLevel& newLevel)
{
    CQzlSections level;
    level.m_gameTag = "QZ";
    SetHeader(level.m_header);
    level.m_colormaps = {"dflt.cmp"};
    for (const char* name : {newLevel.m_floor, newLevel.m_walls, newLevel.m_ceiling})
        level.m_materials.push_back(std::make_unique<CQzlMaterial>(name));
    AddRoom(level);
    AddPlayerStart(level);
    CGameResources noGame;
    noGame.m_product = newLevel.m_product;
    ImportStartGoalsCogs(level, true, true);
    BuildResourceLists(level, noGame);
    return level;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: qznewlevel <folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    try {
        std::filesystem::create_directories(folder);
        for (const CNewLevel& newLevel : kNewLevels) {
            CQzlSections level = MakeNewLevel(newLevel);
            const std::filesystem::path path = folder / newLevel.m_fileName;
            SaveQzeFile(path, level, DefaultDocumentFields());
            // Read it back as the editor will.
            const CQzeContents back = LoadQzeFile(path);
            const std::vector<std::string> problems = ValidateLevel(back.m_level);
            if (!problems.empty()) {
                std::fprintf(stderr, "%s: %s\n", path.c_str(), problems.front().c_str());
                return 1;
            }
            std::printf("%s\n", path.c_str());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qznewlevel: %s\n", e.what());
        return 1;
    }
    return 0;
}
