#include "level/SectorGroupCopy.h"

#include "framework/CFormat.h"
#include "framework/StringUtil.h"
#include "level/CogSymbols.h"
#include "level/LevelValidator.h"
#include "level/QzlSections.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr double kSameCorner = 0.001;  // corners of a surface and of its partner

template <class T>
std::size_t At(T index)
{
    return static_cast<std::size_t>(index);
}

// Old index -> new index of the copied records of one kind; the first copy of an old index wins.
class CCopyTable {
public:
    void Add(std::int32_t from, std::int32_t to)
    {
        m_pairs.push_back({from, to});
        m_byText.emplace(FormatC("%d", from), to);
        m_byIndex.emplace(from, to);
    }
    const std::vector<std::pair<std::int32_t, std::int32_t>>& Pairs() const { return m_pairs; }
    // The new index of the old index written as value ("%d"), or -1.
    std::int32_t Find(const std::string& value) const
    {
        const auto it = m_byText.find(value);
        return it == m_byText.end() ? -1 : it->second;
    }
    std::int32_t Find(std::int32_t from) const
    {
        const auto it = m_byIndex.find(from);
        return it == m_byIndex.end() ? -1 : it->second;
    }

private:
    std::vector<std::pair<std::int32_t, std::int32_t>> m_pairs;
    std::unordered_map<std::string, std::int32_t> m_byText;
    std::unordered_map<std::int32_t, std::int32_t> m_byIndex;
};

// Index of name in names (letter case ignored), appended when absent.
std::int32_t FindOrAppendName(std::vector<std::string>& names, const std::string& name)
{
    for (std::size_t i = 0; i < names.size(); ++i)
        if (EqualsNoCase(names[i], name))
            return static_cast<std::int32_t>(i);
    names.push_back(name);
    return static_cast<std::int32_t>(names.size() - 1);
}

// A name-list index of the source as an index of the destination's list; -1 stays -1.
std::int32_t CopyNameIndex(std::int32_t index, const std::vector<std::string>& from,
                           std::vector<std::string>& to)
{
    return index < 0 ? -1 : FindOrAppendName(to, from[At(index)]);
}

std::int32_t CopyMaterial(CQzlSections& destination, const CQzlSections& source,
                          std::int32_t material)
{
    if (material < 0)
        return -1;
    const CQzlMaterial& from = *source.m_materials[At(material)];
    for (std::size_t i = 0; i < destination.m_materials.size(); ++i)
        if (EqualsNoCase(destination.m_materials[i]->m_name, from.m_name))
            return static_cast<std::int32_t>(i);
    auto copy = std::make_unique<CQzlMaterial>(from.m_name);
    copy->m_xTile = from.m_xTile;
    copy->m_yTile = from.m_yTile;
    destination.m_materials.push_back(std::move(copy));
    return static_cast<std::int32_t>(destination.m_materials.size() - 1);
}

// The world vertex of a copied corner: an exact twin among the vertices from firstShared on (its
// use count goes up), else a copy of the whole record.
std::int32_t CopyWorldVertex(CQzlSections& destination, const CWorldVertex& v,
                             std::size_t firstShared)
{
    std::vector<CWorldVertex>& vertices = destination.m_worldVertices;
    for (std::size_t i = firstShared; i < vertices.size(); ++i) {
        if (vertices[i].x == v.x && vertices[i].y == v.y && vertices[i].z == v.z) {
            ++destination.m_useCounts[i];
            return static_cast<std::int32_t>(i);
        }
    }
    vertices.push_back(v);
    destination.m_useCounts.push_back(1);
    return static_cast<std::int32_t>(vertices.size() - 1);
}

std::unique_ptr<CQzlSector> CopySectorRecord(CQzlSections& destination, const CQzlSections& source,
                                             const CQzlSector& from)
{
    auto sector = std::make_unique<CQzlSector>();
    sector->m_flags = from.m_flags;
    sector->m_colormap =
        CopyNameIndex(from.m_colormap, source.m_colormaps, destination.m_colormaps);
    sector->m_ambientLight = from.m_ambientLight;
    sector->m_extraLight = from.m_extraLight;
    for (int i = 0; i < 3; ++i)
        sector->m_tint[i] = from.m_tint[i];
    sector->m_boundBox = from.m_boundBox;
    sector->m_collideBox = from.m_collideBox;
    sector->m_sound = CopyNameIndex(from.m_sound, source.m_sounds, destination.m_sounds);
    sector->m_soundVolume = from.m_soundVolume;
    sector->m_center = from.m_center;
    // The radius belongs with the copied boxes and centre; the render data rebuild refreshes it.
    sector->m_radius = from.m_radius;
    sector->m_groupName = from.m_groupName;
    return sector;
}

std::unique_ptr<CQzlSurface> CopySurfaceRecord(CQzlSections& destination,
                                               const CQzlSections& source, const CQzlSurface& from,
                                               std::size_t firstShared)
{
    auto surface = std::make_unique<CQzlSurface>(from, false, false);
    surface->m_adjoin = -1;
    surface->m_texture = nullptr;  // the source view's texture; the rebuild finds the copy's
    surface->m_material = CopyMaterial(destination, source, from.m_material);
    surface->m_vertices.reserve(from.m_vertices.size());
    for (const CQzlVertex& corner : from.m_vertices) {
        CQzlVertex copy(corner);
        copy.m_worldVertex = CopyWorldVertex(
            destination, source.m_worldVertices[At(corner.m_worldVertex)], firstShared);
        surface->m_vertices.push_back(std::move(copy));
    }
    return surface;
}

std::vector<CVector3> CornerPositions(const CQzlSurface& surface,
                                      const std::vector<CWorldVertex>& vertices)
{
    std::vector<CVector3> points;
    points.reserve(surface.m_vertices.size());
    for (const CQzlVertex& corner : surface.m_vertices) {
        const CWorldVertex& v = vertices[At(corner.m_worldVertex)];
        points.push_back({v.x, v.y, v.z});
    }
    return points;
}

bool Near(const CVector3& a, const CVector3& b)
{
    const double dx = static_cast<double>(a.x) - static_cast<double>(b.x);
    const double dy = static_cast<double>(a.y) - static_cast<double>(b.y);
    const double dz = static_cast<double>(a.z) - static_cast<double>(b.z);
    return dx * dx + dy * dy + dz * dz < kSameCorner * kSameCorner;
}

// The surfaces of a level by the places of their corners, in cells of kSameCorner: a surface with
// a corner within kSameCorner of a point has it in one of the 27 cells around the point's cell.
class CCornerCells {
public:
    explicit CCornerCells(const CQzlSections& level)
    {
        for (std::size_t f = 0; f < level.m_surfaces.size(); ++f) {
            for (const CQzlVertex& corner : level.m_surfaces[f]->m_vertices) {
                const CWorldVertex& v = level.m_worldVertices[At(corner.m_worldVertex)];
                std::vector<std::int32_t>& cell = m_cells[Key(Cell(v.x), Cell(v.y), Cell(v.z))];
                if (cell.empty() || cell.back() != static_cast<std::int32_t>(f))
                    cell.push_back(static_cast<std::int32_t>(f));
            }
        }
    }

    // The surfaces with a corner in the cells around p, in index order, each once.
    std::vector<std::int32_t> Around(const CVector3& p) const
    {
        std::vector<std::int32_t> surfaces;
        const std::int64_t x = Cell(p.x);
        const std::int64_t y = Cell(p.y);
        const std::int64_t z = Cell(p.z);
        for (std::int64_t i = x - 1; i <= x + 1; ++i)
            for (std::int64_t j = y - 1; j <= y + 1; ++j)
                for (std::int64_t k = z - 1; k <= z + 1; ++k)
                    if (const auto it = m_cells.find(Key(i, j, k)); it != m_cells.end())
                        surfaces.insert(surfaces.end(), it->second.begin(), it->second.end());
        std::sort(surfaces.begin(), surfaces.end());
        surfaces.erase(std::unique(surfaces.begin(), surfaces.end()), surfaces.end());
        return surfaces;
    }

private:
    static std::int64_t Cell(float c)
    {
        return static_cast<std::int64_t>(std::floor(static_cast<double>(c) / kSameCorner));
    }
    using CKey = std::array<std::int64_t, 3>;
    struct CKeyHash {
        std::size_t operator()(const CKey& key) const
        {
            std::size_t h = 0;
            for (const std::int64_t c : key)
                h = h * 1000003u ^ std::hash<std::int64_t>()(c);
            return h;
        }
    };
    static CKey Key(std::int64_t x, std::int64_t y, std::int64_t z) { return {x, y, z}; }

    std::unordered_map<CKey, std::vector<std::int32_t>, CKeyHash> m_cells;
};

// The first surface of the level, by index and other than skip, that lies on corners facing the
// other way: as many corners, the first near corners[0], then each next one near the previous
// corner of corners. Only the first corner near corners[0] is tried as the start. -1 when there is
// none.
std::int32_t FindFacingSurface(const CQzlSections& level, const CCornerCells& cells,
                               const std::vector<CVector3>& corners, std::int32_t skip)
{
    const std::size_t n = corners.size();
    if (n == 0)
        return -1;
    for (const std::int32_t f : cells.Around(corners[0])) {
        const CQzlSurface& candidate = *level.m_surfaces[At(f)];
        if (f == skip || candidate.m_vertices.size() != n)
            continue;
        const std::vector<CVector3> points = CornerPositions(candidate, level.m_worldVertices);
        std::size_t start = 0;
        while (start < n && !Near(points[start], corners[0]))
            ++start;
        if (start == n)
            continue;
        bool same = true;
        for (std::size_t i = 1; i < n && same; ++i)
            same = Near(points[(start + n - i) % n], corners[i]);
        if (same)
            return f;
    }
    return -1;
}

// A new adjoin pair between two destination surfaces, each side taking the flags and dist of its
// source adjoin (flags 7 and dist 0 without one).
void JoinCopies(CQzlSections& destination, std::int32_t surfaceA, const CQzlAdjoin* fromA,
                std::int32_t surfaceB, const CQzlAdjoin* fromB)
{
    const auto a = static_cast<std::int32_t>(destination.m_adjoins.size());
    for (const CQzlAdjoin* from : {fromA, fromB}) {
        auto adjoin = std::make_unique<CQzlAdjoin>();
        if (from) {
            adjoin->m_flags = from->m_flags;
            adjoin->m_dist = from->m_dist;
        }
        destination.m_adjoins.push_back(std::move(adjoin));
    }
    destination.m_adjoins[At(a)]->m_mirror = a + 1;
    destination.m_adjoins[At(a + 1)]->m_mirror = a;
    destination.m_surfaces[At(surfaceA)]->m_adjoin = a;
    destination.m_surfaces[At(surfaceB)]->m_adjoin = a + 1;
}

class CGroupCopier {
public:
    CGroupCopier(CQzlSections& destination, const CQzlSections& source, const CGameResources& game,
                 CSectorGroupCopy& result)
        : m_to(destination), m_from(source), m_game(game), m_result(result)
    {}

    void CopySectors(std::string_view groupName)
    {
        for (std::size_t s = 0; s < m_from.m_sectors.size(); ++s) {
            const CQzlSector& from = *m_from.m_sectors[s];
            if (!EqualsNoCase(from.m_groupName, groupName))
                continue;
            std::unique_ptr<CQzlSector> sector = CopySectorRecord(m_to, m_from, from);
            const std::size_t firstShared = m_to.m_worldVertices.size();
            for (const std::int32_t f : from.m_surfaces) {
                const auto copy = static_cast<std::int32_t>(m_to.m_surfaces.size());
                m_to.m_surfaces.push_back(
                    CopySurfaceRecord(m_to, m_from, *m_from.m_surfaces[At(f)], firstShared));
                sector->m_surfaces.push_back(copy);
                m_surfaces.Add(f, copy);
            }
            const auto index = static_cast<std::int32_t>(m_to.m_sectors.size());
            sector->m_number = index;
            m_to.m_sectors.push_back(std::move(sector));
            m_sectors.Add(static_cast<std::int32_t>(s), index);

            for (std::size_t t = 0; t < m_from.m_things.size(); ++t) {
                if (m_from.m_things[t]->m_sector != static_cast<std::int32_t>(s))
                    continue;
                m_things.Add(static_cast<std::int32_t>(t),
                             static_cast<std::int32_t>(m_to.m_things.size()));
                m_to.m_things.push_back(CopyStoredThing(*m_from.m_things[t]));
                m_to.m_things.back()->m_sector = index;
            }
        }
        m_result.m_sectors = static_cast<int>(m_sectors.Pairs().size());
        m_result.m_surfaces = static_cast<int>(m_surfaces.Pairs().size());
        m_result.m_things = static_cast<int>(m_things.Pairs().size());
    }

    void CopyAdjoins()
    {
        // The surface that owns each source adjoin (the first, should two claim one).
        std::vector<std::int32_t> owner(m_from.m_adjoins.size(), -1);
        for (std::size_t f = m_from.m_surfaces.size(); f-- > 0;)
            if (const std::int32_t a = m_from.m_surfaces[f]->m_adjoin;
                a >= 0 && At(a) < owner.size())
                owner[At(a)] = static_cast<std::int32_t>(f);

        // Copying adds no surface from here on.
        const CCornerCells cells(m_to);
        for (const auto& [from, copy] : m_surfaces.Pairs()) {
            const CQzlSurface& surface = *m_from.m_surfaces[At(from)];
            // An adjoin or a mirror beyond the list is none.
            if (surface.m_adjoin < 0 || At(surface.m_adjoin) >= m_from.m_adjoins.size())
                continue;
            const CQzlAdjoin& near = *m_from.m_adjoins[At(surface.m_adjoin)];
            const CQzlAdjoin* far = near.m_mirror >= 0 && At(near.m_mirror) < owner.size()
                                        ? m_from.m_adjoins[At(near.m_mirror)].get()
                                        : nullptr;
            const std::int32_t neighbour = far ? owner[At(near.m_mirror)] : -1;
            const std::int32_t neighbourCopy = neighbour >= 0 ? m_surfaces.Find(neighbour) : -1;
            const std::int32_t partner =
                neighbourCopy >= 0
                    ? neighbourCopy
                    : FindFacingSurface(m_to, cells,
                                        CornerPositions(surface, m_from.m_worldVertices), copy);
            if (partner >= 0 && m_to.m_surfaces[At(copy)]->m_adjoin < 0 &&
                m_to.m_surfaces[At(partner)]->m_adjoin < 0) {
                JoinCopies(m_to, copy, &near, partner, far);
                ++m_result.m_adjoinPairs;
            }
        }
    }

    void CopyCogs()
    {
        CCopyTable cogs;
        std::vector<std::pair<std::int32_t, std::vector<std::size_t>>> cogValues;
        for (std::size_t c = 0; c < m_from.m_cogs.size(); ++c) {
            const CQzlCog& from = *m_from.m_cogs[c];
            std::vector<std::string> labels;
            std::vector<std::string> defaults;
            std::vector<std::string> types;
            std::vector<std::uint8_t> script;
            const bool found =
                FindCogScript(m_from, m_game, from.m_script, CogScriptOrder::levelFilesFirst,
                              script) ||
                FindCogScript(m_to, m_game, from.m_script, CogScriptOrder::levelFilesFirst, script);
            if (!found && !from.m_values.empty()) {
                ++m_result.m_uncheckedCogs;
                continue;
            }
            ParseCogSymbols(script, labels, defaults, types);

            std::vector<std::string> values = from.m_values;
            std::vector<std::size_t> cogPositions;
            bool taken = false;
            for (std::size_t i = 0; i < types.size() && i < values.size(); ++i) {
                const int type = CogTypeIndex(types[i]);
                const CCopyTable* table = type == 0   ? &m_surfaces
                                          : type == 1 ? &m_sectors
                                          : type == 2 ? &m_things
                                                      : nullptr;
                if (table) {
                    const std::int32_t to = table->Find(values[i]);
                    taken = taken || to >= 0;
                    values[i] = FormatC("%d", to);
                } else if (types[i] == "cog") {
                    cogPositions.push_back(i);
                }
            }
            if (!taken && HasCogOfScript(from.m_script))
                continue;
            auto cog = std::make_unique<CQzlCog>(from.m_script);
            cog->m_values = std::move(values);
            const auto index = static_cast<std::int32_t>(m_to.m_cogs.size());
            cogs.Add(static_cast<std::int32_t>(c), index);
            cogValues.emplace_back(index, std::move(cogPositions));
            m_to.m_cogs.push_back(std::move(cog));
        }
        // Values naming a cog follow it once every copy has its index.
        for (const auto& [index, positions] : cogValues) {
            std::vector<std::string>& values = m_to.m_cogs[At(index)]->m_values;
            for (const std::size_t i : positions)
                values[i] = FormatC("%d", cogs.Find(values[i]));
        }
        m_result.m_cogs = static_cast<int>(cogValues.size());
    }

private:
    bool HasCogOfScript(const std::string& script) const
    {
        for (const auto& cog : m_to.m_cogs)
            if (EqualsNoCase(cog->m_script, script))
                return true;
        return false;
    }

    CQzlSections& m_to;
    const CQzlSections& m_from;
    const CGameResources& m_game;
    CSectorGroupCopy& m_result;
    CCopyTable m_sectors;
    CCopyTable m_surfaces;
    CCopyTable m_things;
};

}  // namespace

std::string SectorGroupCopyProblem(const CQzlSections& destination, const CQzlSections& source)
{
    if (&destination == &source)
        return "A sector group cannot be copied into the level it comes from.";
    const std::vector<std::string> problems =
        ValidateLevel(source, {.checkUseCounts = false, .maxProblems = 1});
    if (!problems.empty())
        return "The level to copy from is damaged: " + problems.front() + ".";
    return {};
}

CSectorGroupCopy CopySectorGroup(CQzlSections& destination, const CQzlSections& source,
                                 std::string_view groupName, const CGameResources& game)
{
    CSectorGroupCopy result;
    result.m_problem = SectorGroupCopyProblem(destination, source);
    if (!result.m_problem.empty())
        return result;
    // The destination's use counts grow with its world vertices.
    destination.m_useCounts.resize(destination.m_worldVertices.size(), 0);

    CGroupCopier copier(destination, source, game, result);
    copier.CopySectors(groupName);
    copier.CopyAdjoins();
    copier.CopyCogs();
    destination.LinkAdjoins();
    return result;
}
