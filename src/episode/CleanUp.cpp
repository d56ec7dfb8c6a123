#include "episode/CleanUp.h"

#include "edit/Link.h"
#include "edit/SelectionDelete.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/RenderData.h"
#include "engine/SelectionTests.h"
#include "episode/LevelChecker.h"
#include "framework/Indices.h"
#include "geometry/Predicates.h"
#include "geometry/SectorGrid.h"
#include "level/DeleteRenumber.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "level/VertexUses.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// A surface that loses its link shows nothing where it showed the sector beyond: one that would
// not be drawn (no material of its own, or geometry mode 0) takes the plain solid look of an
// unlinked wall. One drawn with its own material keeps its look.
void CloseBareSurface(C3dView& view, CQzlSurface& surface)
{
    if (!InRange(view.GetLevel().m_materials, surface.m_material) || surface.m_geo == 0)
        GiveSolidLook(view, surface);
}

// Takes the link of surface f away: its adjoin record goes as DeleteAdjoin removes it (with the
// mirror when that exists), and every surface left without its link closes as CloseBareSurface
// says.
void DropLink(C3dView& view, int f)
{
    CQzlSections& level = view.GetLevel();
    const std::int32_t adjoin = At(level.m_surfaces, f)->m_adjoin;
    const std::int32_t mirror =
        InRange(level.m_adjoins, adjoin) ? At(level.m_adjoins, adjoin)->m_mirror : -1;
    std::vector<std::size_t> linked;
    for (std::size_t g = 0; g < level.m_surfaces.size(); ++g) {
        const std::int32_t a = level.m_surfaces[g]->m_adjoin;
        if (a != -1 && (a == adjoin || a == mirror))
            linked.push_back(g);
    }
    DeleteAdjoin(level, adjoin);
    for (const std::size_t g : linked)
        if (level.m_surfaces[g]->m_adjoin == -1)
            CloseBareSurface(view, *level.m_surfaces[g]);
}

// Takes every index that names no entry of its list as none; a bare surface whose adjoin names
// nothing becomes a solid wall. True when one was changed.
bool DropDanglingIndices(C3dView& view)
{
    CQzlSections& level = view.GetLevel();
    bool changed = false;
    const auto set = [&changed](auto& field, auto value) {
        if (field != value) {
            field = value;
            changed = true;
        }
    };
    for (const auto& surface : level.m_surfaces) {
        if (surface->m_adjoin != -1 && !InRange(level.m_adjoins, surface->m_adjoin)) {
            set(surface->m_adjoin, -1);
            CloseBareSurface(view, *surface);
        }
        if (surface->m_material != -1 && !InRange(level.m_materials, surface->m_material))
            set(surface->m_material, -1);
        // A corner without a world vertex has no position: it cannot be part of the outline.
        std::vector<CQzlVertex>& corners = surface->m_vertices;
        for (std::size_t i = corners.size(); i-- > 0;) {
            if (!InRange(level.m_worldVertices, corners[i].m_worldVertex)) {
                corners.erase(corners.begin() + static_cast<std::ptrdiff_t>(i));
                changed = true;
            }
        }
    }
    for (const auto& sector : level.m_sectors) {
        std::vector<std::int32_t>& list = sector->m_surfaces;
        for (std::size_t i = list.size(); i-- > 0;) {
            if (!InRange(level.m_surfaces, list[i])) {
                list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
                changed = true;
            }
        }
        if (!InRange(level.m_colormaps, sector->m_colormap))
            set(sector->m_colormap, 0);
        if (sector->m_sound != -1 && !InRange(level.m_sounds, sector->m_sound)) {
            set(sector->m_sound, -1);
            set(sector->m_soundVolume, 0.0f);
        }
    }
    return changed;
}

// The first two surfaces owning each adjoin, for the illegal-link test; made anew after every
// change of the adjoins.
class COwnerIndex {
public:
    void Build(const CQzlSections& level)
    {
        m_first.assign(level.m_adjoins.size(), -1);
        m_second.assign(level.m_adjoins.size(), -1);
        for (std::size_t f = 0; f < level.m_surfaces.size(); ++f) {
            const std::int32_t a = level.m_surfaces[f]->m_adjoin;
            if (!InRange(m_first, a))
                continue;
            std::int32_t& slot = At(m_first, a) < 0 ? At(m_first, a) : At(m_second, a);
            if (slot < 0)
                slot = static_cast<std::int32_t>(f);
        }
    }
    // Whether a surface other than f owns adjoin.
    bool OwnedByOther(std::int32_t adjoin, int f) const
    {
        if (!InRange(m_first, adjoin))
            return false;
        const std::int32_t first = At(m_first, adjoin);
        const std::int32_t second = At(m_second, adjoin);
        return (first >= 0 && first != f) || (second >= 0 && second != f);
    }

private:
    std::vector<std::int32_t> m_first;
    std::vector<std::int32_t> m_second;
};

// The surface names an adjoin whose mirror no other surface owns (the checker's "illegal
// linked").
bool IllegalLink(const CQzlSections& level, const COwnerIndex& owners, int f)
{
    const std::int32_t adjoin = At(level.m_surfaces, f)->m_adjoin;
    if (adjoin == -1)
        return false;
    if (!InRange(level.m_adjoins, adjoin))
        return true;
    const std::int32_t mirror = At(level.m_adjoins, adjoin)->m_mirror;
    return !InRange(level.m_adjoins, mirror) || !owners.OwnedByOther(mirror, f);
}

// Removes each corner of surface f that repeats an earlier one (the same world vertex, or a world
// vertex at exactly the same position); the world vertex loses the use and leaves the level when
// nothing uses it any more. True when a corner went.
bool RemoveRepeatedCorners(CQzlSections& level, int f)
{
    CQzlSurface& surface = *At(level.m_surfaces, f);
    std::vector<CQzlVertex>& corners = surface.m_vertices;
    std::vector<std::int32_t> unused;
    bool removed = false;
    for (std::size_t j = corners.size(); j-- > 0;) {
        const std::int32_t wj = corners[j].m_worldVertex;
        const CWorldVertex& pj = At(level.m_worldVertices, wj);
        bool repeats = false;
        for (std::size_t i = j; i-- > 0 && !repeats;) {
            const std::int32_t wi = corners[i].m_worldVertex;
            const CWorldVertex& pi = At(level.m_worldVertices, wi);
            repeats = wi == wj || (pi.x == pj.x && pi.y == pj.y && pi.z == pj.z);
        }
        if (!repeats)
            continue;
        corners.erase(corners.begin() + static_cast<std::ptrdiff_t>(j));
        if (surface.m_startVertex > static_cast<std::int32_t>(j))
            --surface.m_startVertex;
        std::int32_t& uses = At(level.m_useCounts, wj);
        if (uses > 0 && --uses == 0)
            unused.push_back(wj);
        removed = true;
    }
    if (surface.m_startVertex < 0 || surface.m_startVertex >= std::ssize(corners)) {
        removed = removed || surface.m_startVertex != 0;
        surface.m_startVertex = 0;
    }
    // Highest first, so the indices still to remove stay valid.
    std::sort(unused.begin(), unused.end());
    for (std::size_t k = unused.size(); k-- > 0;)
        RemoveVertexRefs(level, unused[k], false);
    return removed;
}

// The surface and sector repairs of one sector, its surfaces from the last to the first. True
// when the level changed.
bool RepairSector(C3dView& view, COwnerIndex& owners, int s)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    const bool canDelete = view.GetGame().m_archive != nullptr;
    bool changed = false;

    for (std::size_t k = At(level.m_sectors, s)->m_surfaces.size(); k-- > 0;) {
        const std::vector<std::int32_t>& list = At(level.m_sectors, s)->m_surfaces;
        if (k >= list.size())
            continue;
        const int f = list[k];
        if (IllegalLink(level, owners, f)) {
            // The link goes, the wall stays (deleting it would open the sector) and is repaired
            // as any other below.
            DropLink(view, f);
            changed = true;
            owners.Build(level);
        }
        if (RemoveRepeatedCorners(level, f))
            changed = true;
        if (At(level.m_surfaces, f)->m_vertices.size() < 3) {
            selection.m_sector = s;
            selection.m_surface = f;
            if (SurfaceHasAdjoin(view) && UnlinkSurface(view, true))
                changed = true;
            if (canDelete) {
                DeleteSurface(level, view.GetGame(), f);
                changed = true;
            }
            owners.Build(level);
        }
    }

    if (At(level.m_sectors, s)->m_surfaces.size() < 4) {
        selection.m_sector = s;
        selection.m_surface = -1;
        selection.m_vertex = -1;
        selection.m_vertexSurface = -1;
        if (DeleteSelectedSector(view))
            return true;
    }
    // Removed corners and surfaces change the render data and the sector's bounds.
    if (changed)
        RebuildSector(view, s);
    return changed;
}

// Rebuilds the adjoin list so that it holds one pair per valid link: surface i and the first other
// surface j owning the mirror of i's adjoin, that mirror pointing back to i's adjoin. Each side
// keeps its own record (flags and distance) and the records keep their order; every other record
// goes and a surface without a pair gets -1 (and, when bare, the solid look). True when the level
// changed.
bool RebuildAdjoins(C3dView& view)
{
    CQzlSections& level = view.GetLevel();
    const std::size_t surfaces = level.m_surfaces.size();
    std::vector<int> partner(surfaces, -1);
    std::vector<char> keep(level.m_adjoins.size(), 0);
    // The first surface owning each adjoin.
    std::vector<int> owner(level.m_adjoins.size(), -1);
    for (std::size_t i = surfaces; i-- > 0;)
        if (InRange(owner, level.m_surfaces[i]->m_adjoin))
            At(owner, level.m_surfaces[i]->m_adjoin) = static_cast<int>(i);
    for (std::size_t i = 0; i < surfaces; ++i) {
        const std::int32_t a = level.m_surfaces[i]->m_adjoin;
        if (partner[i] >= 0 || !InRange(level.m_adjoins, a))
            continue;
        const std::int32_t m = At(level.m_adjoins, a)->m_mirror;
        if (m == a || !InRange(level.m_adjoins, m) || At(level.m_adjoins, m)->m_mirror != a)
            continue;
        const int j = At(owner, m);
        if (j < 0 || j == static_cast<int>(i) || At(partner, j) >= 0)
            continue;
        partner[i] = j;
        At(partner, j) = static_cast<int>(i);
        At(keep, a) = 1;
        At(keep, m) = 1;
    }

    std::vector<std::int32_t> renumbered(level.m_adjoins.size(), -1);
    std::vector<std::unique_ptr<CQzlAdjoin>> kept;
    for (std::size_t a = 0; a < level.m_adjoins.size(); ++a) {
        if (keep[a] != 0) {
            renumbered[a] = static_cast<std::int32_t>(kept.size());
            kept.push_back(std::move(level.m_adjoins[a]));
        }
    }
    bool changed = kept.size() != level.m_adjoins.size();
    for (const auto& adjoin : kept)
        adjoin->m_mirror = At(renumbered, adjoin->m_mirror);
    for (std::size_t i = 0; i < surfaces; ++i) {
        std::int32_t& adjoin = level.m_surfaces[i]->m_adjoin;
        const std::int32_t now = partner[i] >= 0 ? At(renumbered, adjoin) : -1;
        if (now == adjoin)
            continue;
        changed = true;
        if (now == -1)
            CloseBareSurface(view, *level.m_surfaces[i]);
        adjoin = now;
    }
    level.m_adjoins = std::move(kept);
    // The recorded sector and surface of each side are derived, but stored: a stale one is a
    // change too.
    std::vector<std::pair<std::int32_t, std::int32_t>> recorded;
    for (const auto& adjoin : level.m_adjoins)
        recorded.emplace_back(adjoin->m_otherSector, adjoin->m_otherSurface);
    level.LinkAdjoins();
    for (std::size_t a = 0; a < level.m_adjoins.size(); ++a)
        if (recorded[a] !=
            std::pair{level.m_adjoins[a]->m_otherSector, level.m_adjoins[a]->m_otherSurface})
            changed = true;
    return changed;
}

// CompactMaterials; true when the material list or a surface's material changed.
bool CompactMaterialList(CQzlSections& level)
{
    using CEntry = std::pair<std::string, std::pair<float, float>>;
    const auto entries = [&level] {
        std::vector<CEntry> list;
        for (const auto& material : level.m_materials)
            list.push_back({material->m_name, {material->m_xTile, material->m_yTile}});
        return list;
    };
    const auto uses = [&level] {
        std::vector<std::int32_t> list;
        for (const auto& surface : level.m_surfaces)
            list.push_back(surface->m_material);
        return list;
    };
    const std::vector<CEntry> materialsBefore = entries();
    const std::vector<std::int32_t> usesBefore = uses();
    CompactMaterials(level);
    return entries() != materialsBefore || uses() != usesBefore;
}

// Removes the empty sound names from the last to the first: their sectors go without a sound,
// the sectors on later names follow them down. True when a name went.
bool RemoveEmptySounds(CQzlSections& level)
{
    bool changed = false;
    for (std::size_t n = level.m_sounds.size(); n-- > 0;) {
        if (!level.m_sounds[n].empty())
            continue;
        const auto entry = static_cast<std::int32_t>(n);
        for (const auto& sector : level.m_sectors) {
            if (sector->m_sound == entry) {
                sector->m_sound = -1;
                sector->m_soundVolume = 0.0f;
            } else if (sector->m_sound > entry) {
                --sector->m_sound;
            }
        }
        level.m_sounds.erase(level.m_sounds.begin() + static_cast<std::ptrdiff_t>(n));
        changed = true;
    }
    return changed;
}

// Every thing takes the first sector holding its position; a thing in none is deleted. True when
// the level changed.
bool PlaceThings(C3dView& view)
{
    CQzlSections& level = view.GetLevel();
    bool changed = false;
    const CSectorGrid grid(level);  // deleting things moves no sector
    std::vector<std::int32_t> candidates;
    std::size_t t = 0;
    while (t < level.m_things.size()) {
        CQzlThing& thing = *level.m_things[t];
        // A thing on the face between two sectors keeps the one it names.
        std::int32_t found = -1;
        if (InRange(level.m_sectors, thing.m_sector) &&
            PointInSector(level, thing.m_sector, thing.m_position, 0.0f))
            found = thing.m_sector;
        grid.Candidates(thing.m_position, candidates);
        for (std::size_t k = 0; k < candidates.size() && found < 0; ++k)
            if (PointInSector(level, candidates[k], thing.m_position, 0.0f))
                found = candidates[k];
        if (found >= 0) {
            if (thing.m_sector != found) {
                thing.m_sector = found;
                changed = true;
            }
            ++t;
            continue;
        }
        // The next thing moves into this index: it is looked at next.
        view.m_selection.m_thing = static_cast<int>(t);
        DeleteSelectedThing(view);
        changed = true;
    }
    return changed;
}

// Drops the cogs' values beyond their scripts' parameters. True when a value went.
bool CutCogSurplus(C3dView& view)
{
    CQzlSections& level = view.GetLevel();
    std::vector<std::size_t> counts;
    for (const auto& cog : level.m_cogs)
        counts.push_back(cog->m_values.size());
    std::string text;
    CLevelChecker().CheckAllCogs(level, view.GetGame(), text, nullptr, true);
    for (std::size_t c = 0; c < level.m_cogs.size(); ++c)
        if (level.m_cogs[c]->m_values.size() != counts[c])
            return true;
    return false;
}

}  // namespace

bool CleanUpLevel(C3dView& view)
{
    CQzlSections& level = view.GetLevel();
    CWaitCursorScope wait(view.GetHost());
    if (level.m_useCounts.size() != level.m_worldVertices.size())
        CountVertexUses(level);

    bool changed = DropDanglingIndices(view);
    COwnerIndex owners;
    owners.Build(level);
    for (std::size_t s = level.m_sectors.size(); s-- > 0;)
        if (s < level.m_sectors.size() && RepairSector(view, owners, static_cast<int>(s))) {
            changed = true;
            owners.Build(level);
        }
    changed = RebuildAdjoins(view) || changed;
    changed = CompactMaterialList(level) || changed;
    changed = RemoveEmptySounds(level) || changed;
    changed = PlaceThings(view) || changed;

    CSelection& selection = view.m_selection;
    selection.m_surface = -1;
    selection.m_vertex = -1;
    selection.m_vertexSurface = -1;
    if (!InRange(level.m_sectors, selection.m_sector))
        selection.m_sector = -1;
    if (!InRange(level.m_things, selection.m_thing))
        selection.m_thing = -1;

    changed = CutCogSurplus(view) || changed;
    return changed;
}
