#include "episode/LevelChecker.h"

#include "engine/3doModel.h"
#include "engine/EngineHost.h"
#include "engine/GridPoints.h"
#include "framework/CFormat.h"
#include "framework/Indices.h"
#include "framework/StringUtil.h"
#include "geometry/Predicates.h"
#include "geometry/SectorGrid.h"
#include "level/CogSymbols.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"

#include <algorithm>
#include <cmath>

namespace {

// Tolerances of the tests.
constexpr float kOverlapOffset = 0.001f;     // the overlap probe's step off the surface
constexpr float kOverlapTolerance = 0.25f;   // depth inside another sector that counts
constexpr float kConcaveCorner = -0.009f;    // convexity at a corner
constexpr float kConcaveSurfaces = -0.03f;   // convexity towards the sector's later surfaces
constexpr float kEdgeLineTolerance = 0.01f;  // edges on one line
constexpr std::size_t kMaxCorners = 24;

template <typename T>
const T* Record(const std::vector<std::unique_ptr<T>>& list, int index)
{
    return InRange(list, index) ? At(list, index).get() : nullptr;
}

CVector3 Position(const CQzlSections& level, const CQzlSurface& surface, std::size_t corner)
{
    const CWorldVertex& v = At(level.m_worldVertices, surface.m_vertices[corner].m_worldVertex);
    return {v.x, v.y, v.z};
}

bool Normalised(const CVector3& v, CVector3& out)
{
    const float length = VectorLength(v);
    if (!(length > 0.0f) || !std::isfinite(length))
        return false;  // two corners at one point give no direction
    out = v / length;
    return true;
}

// Whether the edge a-b lies on one line with an edge of surface g (its last corner joined to the
// first), one pair of ends on the other's line.
bool EdgeOnLineOf(const CQzlSections& level, const CQzlSurface& g, const CVector3& a,
                  const CVector3& b)
{
    const std::size_t n = g.m_vertices.size();
    float t = 0.0f;
    for (std::size_t e = 0; e < n; ++e) {
        const CVector3 p = Position(level, g, e);
        const CVector3 r = Position(level, g, (e + 1) % n);
        if (PointOnLineParam(p, r, a, t, kEdgeLineTolerance) &&
            PointOnLineParam(p, r, b, t, kEdgeLineTolerance))
            return true;
        if (PointOnLineParam(a, b, p, t, kEdgeLineTolerance) &&
            PointOnLineParam(a, b, r, t, kEdgeLineTolerance))
            return true;
    }
    return false;
}

void Step(CEngineHost* host)
{
    if (host != nullptr)
        host->StepProgress();
}

void Title(CEngineHost* host, std::string_view title)
{
    if (host != nullptr)
        host->SetProgressTitle(title);
}

}  // namespace

void CLevelChecker::Report(std::string& text, bool fatal, const std::string& line, int sector,
                           int surface, int vertex, int thing)
{
    text += line;
    m_sectorList.push_back(sector);
    m_surfaceList.push_back(surface);
    m_vertexList.push_back(vertex);
    m_thingList.push_back(thing);
    if (fatal)
        m_fatal = true;
}

int CLevelChecker::CheckLevel(const CQzlSections& level, const CGameResources& game,
                              std::span<const std::unique_ptr<C3doModel>> models, std::string& text,
                              CEngineHost* host)
{
    if (host != nullptr)
        host->BeginWaitCursor();
    m_sectorList.clear();
    m_surfaceList.clear();
    m_vertexList.clear();
    m_thingList.clear();
    m_fatal = false;

    m_cornersExist.assign(level.m_surfaces.size(), 0);
    for (std::size_t f = 0; f < level.m_surfaces.size(); ++f) {
        const CQzlSurface* surface = level.m_surfaces[f].get();
        m_cornersExist[f] = surface != nullptr &&
                            std::ranges::all_of(surface->m_vertices, [&](const CQzlVertex& v) {
                                return InRange(level.m_worldVertices, v.m_worldVertex);
                            });
    }
    m_sectorSound.assign(level.m_sectors.size(), 0);
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s) {
        const CQzlSector* sector = level.m_sectors[s].get();
        m_sectorSound[s] =
            sector != nullptr && std::ranges::all_of(sector->m_surfaces, [&](std::int32_t f) {
                return InRange(m_cornersExist, f) && At(m_cornersExist, f) != 0;
            });
    }

    // The surfaces owning each adjoin, in index order.
    m_ownerStart.assign(level.m_adjoins.size() + 1, 0);
    for (const auto& surface : level.m_surfaces)
        if (surface != nullptr && InRange(level.m_adjoins, surface->m_adjoin))
            ++m_ownerStart[static_cast<std::size_t>(surface->m_adjoin) + 1];
    for (std::size_t a = 0; a < level.m_adjoins.size(); ++a)
        m_ownerStart[a + 1] += m_ownerStart[a];
    m_owners.assign(static_cast<std::size_t>(m_ownerStart.back()), 0);
    {
        std::vector<std::int32_t> fill(m_ownerStart.begin(), m_ownerStart.end() - 1);
        for (std::size_t f = 0; f < level.m_surfaces.size(); ++f) {
            const CQzlSurface* surface = level.m_surfaces[f].get();
            if (surface != nullptr && InRange(level.m_adjoins, surface->m_adjoin))
                m_owners[static_cast<std::size_t>(
                    fill[static_cast<std::size_t>(surface->m_adjoin)]++)] =
                    static_cast<std::int32_t>(f);
        }
    }

    // The sectors that can hold a point, by their boxes: the overlap probe and the things ask
    // only those.
    m_grid = std::make_unique<CSectorGrid>(level);

    if (host != nullptr) {
        const std::size_t steps = level.m_sectors.size() + level.m_adjoins.size() +
                                  level.m_things.size() + models.size() + level.m_cogs.size();
        host->BeginProgress("Checking Sector Geometry...",
                            static_cast<int>(std::min<std::size_t>(steps, 0x7fffffff)));
    }
    CheckSectors(level, text, host);
    CheckAdjoins(level, text, host);
    CheckThings(level, text, host);
    CheckMaterials(models, text, host);
    Title(host, "Checking Cog Parameters...");
    CheckCogs(level, nullptr, game, text, host);
    if (host != nullptr)
        host->EndProgress();

    m_grid.reset();
    if (text.empty())
        text = "None";
    if (host != nullptr)
        host->EndWaitCursor();
    return m_fatal ? 1 : 0;
}

std::span<const std::int32_t> CLevelChecker::Owners(int adjoin) const
{
    if (adjoin < 0 || static_cast<std::size_t>(adjoin) + 1 >= m_ownerStart.size())
        return {};
    const auto a = static_cast<std::size_t>(adjoin);
    return std::span<const std::int32_t>(m_owners).subspan(
        static_cast<std::size_t>(m_ownerStart[a]),
        static_cast<std::size_t>(m_ownerStart[a + 1] - m_ownerStart[a]));
}

bool CLevelChecker::InSoundSector(const CQzlSections& level, int sector, const CVector3& p,
                                  float tolerance) const
{
    return InRange(m_sectorSound, sector) && At(m_sectorSound, sector) != 0 &&
           PointInSector(level, sector, p, tolerance);
}

void CLevelChecker::CheckSectors(const CQzlSections& level, std::string& text, CEngineHost* host)
{
    Title(host, "Checking Sector Geometry...");
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s) {
        CheckSector(level, static_cast<int>(s), text);
        Step(host);
    }
}

void CLevelChecker::CheckSector(const CQzlSections& level, int s, std::string& text)
{
    const CQzlSector* sector = Record(level.m_sectors, s);
    if (sector == nullptr) {
        Report(text, true, FormatC("Sector %d does not exist\n", s), -1, -1, -1, -1);
        return;
    }
    if (sector->m_surfaces.size() < 4)
        Report(text, true, FormatC("Sector %d has less than 4 surfaces\n", s), s, -1, -1, -1);

    bool hasAdjoin = false;
    for (std::size_t k = 0; k < sector->m_surfaces.size(); ++k) {
        const int f = sector->m_surfaces[k];
        const CQzlSurface* surface = Record(level.m_surfaces, f);
        if (surface == nullptr) {
            Report(text, true, FormatC("In Sector %d, Surface %d does not exist\n", s, f), s, -1,
                   -1, -1);
            continue;
        }
        const bool cornersExist = At(m_cornersExist, f) != 0;
        for (std::size_t i = 0; i < surface->m_vertices.size(); ++i) {
            const int w = surface->m_vertices[i].m_worldVertex;
            if (!InRange(level.m_worldVertices, w))
                Report(text, true,
                       FormatC("In Sector %d, Surface %d, Vertex %d names an illegal world vertex "
                               "(number %d)\n",
                               s, f, static_cast<int>(i), w),
                       s, f, static_cast<int>(i), -1);
        }

        if (cornersExist) {
            const CVector3 probe = SurfaceCentroid(level, f) + surface->m_normal * kOverlapOffset;
            m_grid->Candidates(probe, m_candidates);
            for (const int other : m_candidates) {
                if (other != s && InSoundSector(level, other, probe, kOverlapTolerance))
                    Report(text, false,
                           FormatC("In Sector %d, another Sector %d overlaps at Surface %d\n", s,
                                   other, f),
                           s, f, -1, -1);
            }
        }

        const std::size_t n = surface->m_vertices.size();
        if (n < 3)
            Report(text, true, FormatC("In Sector %d, Surface %d has less than 3 vertices\n", s, f),
                   s, f, -1, -1);
        if (n > kMaxCorners)
            Report(text, true,
                   FormatC("In Sector %d, Surface %d has more than 24 vertices\n", s, f), s, f, -1,
                   -1);

        if (surface->m_adjoin != -1) {
            // The surface must own an adjoin whose mirror exists and is owned by another
            // surface: an adjoin that is its own mirror leads nowhere.
            const CQzlAdjoin* adjoin = Record(level.m_adjoins, surface->m_adjoin);
            bool mirrored = false;
            if (adjoin != nullptr && Record(level.m_adjoins, adjoin->m_mirror) != nullptr)
                mirrored = std::ranges::any_of(Owners(adjoin->m_mirror),
                                               [f](std::int32_t g) { return g != f; });
            if (!mirrored)
                Report(text, true, FormatC("In Sector %d, Surface %d is illegal linked\n", s, f), s,
                       f, -1, -1);
            hasAdjoin = true;
        }

        if (cornersExist)
            CheckSurfaceCorners(level, s, k, text);

        if (surface->m_material < -1 ||
            (surface->m_material >= 0 && !InRange(level.m_materials, surface->m_material)))
            Report(text, true,
                   FormatC("In Sector %d, Surface %d, an illegal Material (number %d) is "
                           "specified\n",
                           s, f, surface->m_material),
                   s, f, -1, -1);
    }

    if (!hasAdjoin)
        Report(text, false, FormatC("Sector %d is not connected to other sectors\n", s), s, -1, -1,
               -1);
    // A sound index names a non-empty entry of the sound list; -1 is none.
    if (sector->m_sound != -1 &&
        (!InRange(level.m_sounds, sector->m_sound) || At(level.m_sounds, sector->m_sound).empty()))
        Report(text, true,
               FormatC("In Sector %d, an illegal Sound (number %d) is specified\n", s,
                       sector->m_sound),
               s, -1, -1, -1);
    if (!InRange(level.m_colormaps, sector->m_colormap))
        Report(text, true,
               FormatC("In Sector %d, an illegal Color Map (number %d) is specified\n", s,
                       sector->m_colormap),
               s, -1, -1, -1);
}

void CLevelChecker::CheckSurfaceCorners(const CQzlSections& level, int s, std::size_t k,
                                        std::string& text)
{
    const CQzlSector& sector = *At(level.m_sectors, s);
    const int f = sector.m_surfaces[k];
    const CQzlSurface& surface = *At(level.m_surfaces, f);
    const CVector3 normal = surface.m_normal;
    const std::size_t n = surface.m_vertices.size();
    // The other surfaces of the sector that take part in the tests: they exist with all corners.
    const auto usable = [&](int g) { return InRange(m_cornersExist, g) && At(m_cornersExist, g); };

    bool concaveToSurface = false;
    for (std::size_t i = 0; i < n; ++i) {
        const int corner = static_cast<int>(i);
        const int next = static_cast<int>((i + 1) % n);
        const CVector3 a = Position(level, surface, i);
        const CVector3 b = Position(level, surface, (i + 1) % n);
        const CVector3 c = Position(level, surface, (i + 2) % n);

        CVector3 e1;
        CVector3 e2;
        if (Normalised(b - a, e1) && Normalised(b - c, e2) &&
            Dot(VectorCross(normal, e1), e2) < kConcaveCorner)
            Report(text, true,
                   FormatC("In Sector %d, Surface %d is concave at Vertex %d\n", s, f, next), s, f,
                   next, -1);

        for (std::size_t j = i + 1; j < n; ++j)
            if (surface.m_vertices[j].m_worldVertex == surface.m_vertices[i].m_worldVertex)
                Report(text, true,
                       FormatC("In Sector %d, Surface %d, Vertex %d is overlapping Vertex %d\n", s,
                               f, corner, static_cast<int>(j)),
                       s, f, corner, -1);

        for (std::size_t m = k + 1; m < sector.m_surfaces.size() && !concaveToSurface; ++m) {
            const int g = sector.m_surfaces[m];
            if (!usable(g))
                continue;
            const CQzlSurface& other = *At(level.m_surfaces, g);
            for (std::size_t q = 0; q < other.m_vertices.size(); ++q) {
                const CVector3 p = Position(level, other, q);
                CVector3 towards;
                if (p == a || !Normalised(p - a, towards) ||
                    !(Dot(towards, normal) < kConcaveSurfaces))
                    continue;
                Report(text, true,
                       FormatC("In Sector %d, Surface %d is concave to Surface %d\n", s, f, g), s,
                       f, -1, -1);
                concaveToSurface = true;
                break;
            }
        }

        bool connected = false;
        for (const std::int32_t g : sector.m_surfaces)
            if (g != f && usable(g) && EdgeOnLineOf(level, *At(level.m_surfaces, g), a, b)) {
                connected = true;
                break;
            }
        if (!connected)
            Report(
                text, false,
                FormatC("In Sector %d, Surface %d at Vertex %d is not connected\n", s, f, corner),
                s, f, corner, -1);
    }
}

void CLevelChecker::CheckAdjoins(const CQzlSections& level, std::string& text, CEngineHost* host)
{
    Title(host, "Checking Adjoin Geometry...");
    for (std::size_t i = 0; i < level.m_adjoins.size(); ++i) {
        const int a = static_cast<int>(i);
        const CQzlAdjoin* adjoin = level.m_adjoins[i].get();
        const int sector = adjoin != nullptr ? adjoin->m_otherSector : -1;
        const int surface = adjoin != nullptr ? adjoin->m_otherSurface : -1;
        const std::span<const std::int32_t> owners = Owners(a);
        for (std::size_t k = 1; k < owners.size(); ++k)
            Report(
                text, true,
                FormatC("Surface %d and Surface %d uses same adjoin %d\n", owners[0], owners[k], a),
                sector, surface, -1, -1);
        const int mirror = adjoin != nullptr ? adjoin->m_mirror : -1;
        const CQzlAdjoin* back = Record(level.m_adjoins, mirror);
        if (back == nullptr || back->m_mirror != a)
            Report(text, true, FormatC("Adjoin %d does not mirror Adjoin %d\n", a, mirror), sector,
                   surface, -1, -1);
        Step(host);
    }
}

void CLevelChecker::CheckThings(const CQzlSections& level, std::string& text, CEngineHost* host)
{
    Title(host, "Checking 3DO Geometry...");
    for (std::size_t i = 0; i < level.m_things.size(); ++i) {
        const int t = static_cast<int>(i);
        const CQzlThing* thing = level.m_things[i].get();
        if (thing == nullptr) {
            Report(text, false, FormatC("Object %d does not exist\n", t), -1, -1, -1, -1);
            Step(host);
            continue;
        }
        // A thing on the face two sectors share (standing on a floor above another room, or in a
        // portal) lies in both: the sector it names is as right as the first one that holds it.
        int inside =
            InSoundSector(level, thing->m_sector, thing->m_position, 0.0f) ? thing->m_sector : -1;
        m_grid->Candidates(thing->m_position, m_candidates);
        for (std::size_t k = 0; k < m_candidates.size() && inside < 0; ++k)
            if (InSoundSector(level, m_candidates[k], thing->m_position, 0.0f))
                inside = m_candidates[k];
        if (inside >= 0 && thing->m_sector != inside)
            Report(text, false,
                   FormatC("Object %d resides in sector %d, but has Sector #%d as parameter\n", t,
                           inside, thing->m_sector),
                   inside, -1, -1, t);
        else if (inside < 0)
            Report(text, false,
                   FormatC("Object %d resides in no sector, but has Sector #%d as parameter\n", t,
                           thing->m_sector),
                   -1, -1, -1, t);
        Step(host);
    }
}

void CLevelChecker::CheckMaterials(std::span<const std::unique_ptr<C3doModel>> models,
                                   std::string& text, CEngineHost* host)
{
    Title(host, "Checking 3DO Materials...");
    std::vector<std::string> names;
    for (const auto& model : models) {
        if (model)
            for (const std::string& name : model->m_missingMaterials)
                if (std::ranges::find(names, name) == names.end())
                    names.push_back(name);
        Step(host);
    }
    for (const std::string& name : names)
        Report(text, false,
               FormatC("Material %s is used in 3DO objects, but does not exist\n", name.c_str()),
               -1, -1, -1, -1);
}

void CLevelChecker::CheckAllCogs(CQzlSections& level, const CGameResources& game, std::string& text,
                                 CEngineHost* host, bool fix)
{
    CheckCogs(level, fix ? &level : nullptr, game, text, host);
}

void CLevelChecker::CheckCogs(const CQzlSections& level, CQzlSections* fixLevel,
                              const CGameResources& game, std::string& text, CEngineHost* host)
{
    if (level.m_cogs.empty())
        return;
    if (game.m_archive == nullptr) {
        // Saying nothing here would read as a level whose cogs are fine.
        Report(text, false,
               "Cog parameters are not checked, since the game archive cannot be opened\n", -1, -1,
               -1, -1);
        return;
    }
    std::vector<std::uint8_t> script;
    for (std::size_t c = 0; c < level.m_cogs.size(); ++c) {
        const CQzlCog* cog = level.m_cogs[c].get();
        if (cog != nullptr &&
            FindCogScript(level, game, cog->m_script, CogScriptOrder::gameArchiveFirst, script)) {
            const std::string name = ToLowerAscii(cog->m_script);
            if (fixLevel != nullptr) {
                CheckCogParameters(level, script, fixLevel->m_cogs[c]->m_values, name, text, true);
            } else {
                std::vector<std::string> values = cog->m_values;
                CheckCogParameters(level, script, values, name, text, false);
            }
        }
        Step(host);
    }
}

void CLevelChecker::CheckCogParameters(const CQzlSections& level,
                                       std::span<const std::uint8_t> script,
                                       std::vector<std::string>& values, std::string_view name,
                                       std::string& text, bool fix)
{
    const std::string quoted(name);
    std::size_t plain = 0;
    std::size_t defaulted = 0;
    for (const CCogSymbol& symbol : ReadCogSymbolSection(script)) {
        if (symbol.m_local)
            continue;
        const std::size_t p = plain + defaulted;
        if (p < values.size()) {
            const int v = AtoiC(values[p].c_str());
            const auto legal = [v](std::size_t count) {
                return v >= -1 && static_cast<long long>(v) < static_cast<long long>(count);
            };
            if (symbol.m_typeIndex == 0 && !legal(level.m_surfaces.size()))
                Report(text, false,
                       FormatC("Cog %s specifies illegal surface %d\n", quoted.c_str(), v), -1, -1,
                       -1, -1);
            else if (symbol.m_typeIndex == 1 && !legal(level.m_sectors.size()))
                Report(text, false,
                       FormatC("Cog %s specifies illegal sector %d\n", quoted.c_str(), v), -1, -1,
                       -1, -1);
            else if (symbol.m_typeIndex == 2 && !legal(level.m_things.size()))
                Report(text, false,
                       FormatC("Cog %s specifies illegal 3DO object %d\n", quoted.c_str(), v), -1,
                       -1, -1, -1);
        }
        if (symbol.m_nameText.find('=') != std::string::npos)
            ++defaulted;
        else
            ++plain;
    }
    if (values.size() < plain) {
        Report(text, false, FormatC("Cog %s contains too few parameters\n", quoted.c_str()), -1, -1,
               -1, -1);
    } else if (plain + defaulted < values.size()) {
        Report(text, false, FormatC("Cog %s contains too many parameters\n", quoted.c_str()), -1,
               -1, -1, -1);
        if (fix)
            values.resize(plain + defaulted);
    }
}
