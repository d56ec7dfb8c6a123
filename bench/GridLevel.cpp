#include "GridLevel.h"

#include "geometry/Predicates.h"
#include "math/Rounding.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace {

constexpr float kCell = 2.0f;    // width and depth of a box
constexpr float kHeight = 1.5f;  // height of a box

// Grid points are numbered by their integer cell coordinates; each one becomes a world vertex
// the first time a box uses it.
class CVertexGrid {
public:
    CVertexGrid(CQzlSections& level, int columns) : m_level(level), m_columns(columns) {}

    std::int32_t At(int i, int k, int level)
    {
        const std::int64_t key = (static_cast<std::int64_t>(k) * (m_columns + 1) + i) * 2 + level;
        auto [it, added] =
            m_index.try_emplace(key, static_cast<std::int32_t>(m_level.m_worldVertices.size()));
        if (added) {
            CWorldVertex v;
            v.x = static_cast<float>(i) * kCell;
            v.y = level ? kHeight : 0.0f;
            v.z = static_cast<float>(k) * kCell;
            m_level.m_worldVertices.push_back(v);
            m_level.m_useCounts.push_back(0);
        }
        ++m_level.m_useCounts[static_cast<std::size_t>(it->second)];
        return it->second;
    }

    // The next box takes grid points of its own.
    void NewBox() { m_index.clear(); }

private:
    CQzlSections& m_level;
    int m_columns;
    std::unordered_map<std::int64_t, std::int32_t> m_index;
};

}  // namespace

void GenerateGridLevel(CQzlSections& level, int sectors, EGridVertices vertices)
{
    sectors = std::max(sectors, 1);
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(sectors))));
    CVertexGrid grid(level, columns);

    CQzlHeader& h = level.m_header;
    h.m_version = 1;
    h.m_worldGravity = 4.0f;
    h.m_ceilingSkyZ = 15.0f;
    h.m_horizonDistance = 200.0f;
    h.m_horizonPixelsPerRev = 768.0f;
    h.m_mipmapDistances[0] = 1.0f;
    h.m_mipmapDistances[1] = 2.0f;
    h.m_mipmapDistances[2] = 3.0f;
    h.m_mipmapDistances[3] = 4.0f;
    h.m_lodDistances[0] = 0.3f;
    h.m_lodDistances[1] = 0.6f;
    h.m_lodDistances[2] = 0.9f;
    h.m_lodDistances[3] = 1.2f;
    h.m_perspectiveDistance = 2.0f;
    h.m_gouraudDistance = 4.0f;
    level.m_notices = {"Generated level"};
    level.m_colormaps = {"dflt.cmp"};
    level.m_sounds = {"ambient01.wav"};
    for (const char* name : {"dflt.mat", "floor01.mat", "wall01.mat", "ceil01.mat"})
        level.m_materials.push_back(std::make_unique<CQzlMaterial>(name));
    level.m_models = {"crate.3do"};
    level.m_cogScripts = {"door.cog"};
    for (const auto& [name, based, params] :
         std::array<std::array<const char*, 3>, 3>{{{"_walkplayer", "none", "type=player"},
                                                    {"crate", "none", "type=cog model3d=crate.3do"},
                                                    {"light", "none", "type=ghost"}}}) {
        auto t = std::make_unique<CQzlTemplate>();
        t->m_name = name;
        t->m_basedOn = based;
        t->m_params = params;
        const std::string p = params;
        const auto at = p.find("model3d=");
        if (at != std::string::npos)
            t->m_model = p.substr(at + 8, p.find_first_of(" \t", at) - at - 8);
        level.m_templates.push_back(std::move(t));
    }

    // Which sector sits in each cell, so that neighbours can be joined.
    auto sectorAt = [&](int i, int k) -> int {
        const int s = k * columns + i;
        return (i >= 0 && i < columns && k >= 0 && s < sectors) ? s : -1;
    };

    level.m_sectors.reserve(static_cast<std::size_t>(sectors));
    level.m_surfaces.reserve(static_cast<std::size_t>(sectors) * 6);
    // The wall surface of each sector side, so the pair's mirror can be set when the later one is
    // made.
    std::vector<std::array<std::int32_t, 4>> sideSurface(static_cast<std::size_t>(sectors),
                                                         {-1, -1, -1, -1});

    for (int s = 0; s < sectors; ++s) {
        const int i = s % columns;
        const int k = s / columns;
        if (vertices == EGridVertices::ownPerBox)
            grid.NewBox();
        auto sector = std::make_unique<CQzlSector>();
        sector->m_number = s;
        sector->m_flags = 0;
        sector->m_colormap = 0;
        sector->m_ambientLight = 0.5f;
        sector->m_extraLight = 0.0f;
        sector->m_sound = (s % 50 == 0) ? 0 : -1;
        sector->m_soundVolume = sector->m_sound >= 0 ? 0.8f : 0.0f;
        const CVector3 lo{static_cast<float>(i) * kCell, 0.0f, static_cast<float>(k) * kCell};
        const CVector3 hi{lo.x + kCell, kHeight, lo.z + kCell};
        sector->m_boundBox = {lo, hi};
        sector->m_collideBox = {lo, hi};
        sector->m_center = {(lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2};
        sector->m_radius = std::sqrt(kCell * kCell * 2 + kHeight * kHeight) / 2;
        sector->m_groupName = (s % 2) ? "Default" : "Rooms";

        // Corner grid points (i, k, level) of each face, wound so that the editor's plane rule
        // (clockwise seen from the side the normal points to) gives a normal into the sector.
        struct Face {
            std::array<std::array<int, 3>, 4> corners;
            int neighbourDi, neighbourDk, side;
            std::int32_t material;
        };
        const Face faces[6] = {
            {{{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}}, 0, 0, -1, 1},  // floor, normal +y
            {{{{0, 0, 1}, {0, 1, 1}, {1, 1, 1}, {1, 0, 1}}}, 0, 0, -1, 3},  // ceiling, normal -y
            {{{{0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}}}, -1, 0, 0, 2},  // x = lo, normal +x
            {{{{1, 0, 0}, {1, 0, 1}, {1, 1, 1}, {1, 1, 0}}}, 1, 0, 1, 2},   // x = hi, normal -x
            {{{{0, 0, 0}, {0, 0, 1}, {1, 0, 1}, {1, 0, 0}}}, 0, -1, 2, 2},  // z = lo, normal +z
            {{{{0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1}}}, 0, 1, 3, 2},   // z = hi, normal -z
        };
        for (const Face& face : faces) {
            auto surface = std::make_unique<CQzlSurface>();
            surface->m_material = face.material;
            surface->m_geo = 4;
            surface->m_light = 3;
            surface->m_tex = 1;
            surface->m_surfaceFlags = face.side < 0 && face.material == 1 ? 1u : 0u;
            surface->m_faceFlags = 0;
            for (std::size_t c = 0; c < 4; ++c) {
                const auto& g = face.corners[c];
                CQzlVertex corner;
                corner.m_worldVertex = grid.At(i + g[0], k + g[1], g[2]);
                corner.m_u = (c == 1 || c == 2) ? 64.0f : 0.0f;
                corner.m_v = (c >= 2) ? 64.0f : 0.0f;
                RoundToThousandth(corner.m_u, corner.m_v);
                surface->m_vertices.push_back(corner);
            }
            CalcSurfacePlane(level, *surface);
            const auto index = static_cast<std::int32_t>(level.m_surfaces.size());

            if (face.side >= 0) {
                const int other = sectorAt(i + face.neighbourDi, k + face.neighbourDk);
                if (other >= 0) {
                    auto adjoin = std::make_unique<CQzlAdjoin>();
                    const auto a = static_cast<std::int32_t>(level.m_adjoins.size());
                    surface->m_adjoin = a;
                    surface->m_faceFlags = 0;
                    sideSurface[static_cast<std::size_t>(s)][static_cast<std::size_t>(face.side)] =
                        index;
                    if (other < s) {
                        // The neighbour was made first: pair with its opposite side.
                        const int opposite = face.side ^ 1;
                        const std::int32_t theirs = sideSurface[static_cast<std::size_t>(other)]
                                                               [static_cast<std::size_t>(opposite)];
                        const std::int32_t m =
                            level.m_surfaces[static_cast<std::size_t>(theirs)]->m_adjoin;
                        adjoin->m_mirror = m;
                        level.m_adjoins[static_cast<std::size_t>(m)]->m_mirror = a;
                    }
                    level.m_adjoins.push_back(std::move(adjoin));
                }
            }
            sector->m_surfaces.push_back(index);
            level.m_surfaces.push_back(std::move(surface));
        }
        level.m_sectors.push_back(std::move(sector));

        if (s % 10 == 0) {
            auto thing = std::make_unique<CQzlThing>();
            thing->m_template = s == 0 ? "_walkplayer" : "crate";
            thing->m_name = thing->m_template;
            thing->m_position = {lo.x + kCell / 2, 0.5f, lo.z + kCell / 2};
            thing->m_yaw = static_cast<float>(s % 360);
            thing->m_sector = s;
            level.m_things.push_back(std::move(thing));
        }
    }

    auto cog = std::make_unique<CQzlCog>();
    cog->m_script = "door.cog";
    cog->m_values = {"0", "1", "2.500000"};
    level.m_cogs.push_back(std::move(cog));

    // One level file carried with its bytes.
    auto file = std::make_unique<CTreeObject>();
    file->m_path = "cog\\door.cog";
    file->m_name = "door.cog";
    const std::string text = "# generated\nsymbols\nend\ncode\nend\n";
    file->m_data = std::vector<std::uint8_t>(text.begin(), text.end());
    file->m_size = static_cast<std::int32_t>(text.size());
    level.m_levelFiles.m_entries.push_back(std::move(file));

    CWorldVertex bookmark;
    bookmark.x = kCell / 2;
    bookmark.y = 0.8f;
    bookmark.z = kCell / 2;
    bookmark.extra[2] = 1.0f;
    bookmark.extra[4] = 1.0f;
    level.m_bookmarks.push_back(bookmark);
    level.LinkAdjoins();
}
