#include "level/DeleteRenumber.h"

#include "framework/Indices.h"
#include "framework/StringUtil.h"
#include "level/CogSymbols.h"
#include "level/QzlSections.h"
#include "level/VertexUses.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

template <class T>
void EraseAt(std::vector<T>& list, int index)
{
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace

void DeleteSurface(CQzlSections& level, const CGameResources& game, int surface)
{
    if (!InRange(level.m_surfaces, surface))
        return;
    if (level.m_useCounts.size() != level.m_worldVertices.size())
        CountVertexUses(level);

    for (const auto& sector : level.m_sectors) {
        std::vector<std::int32_t>& list = sector->m_surfaces;
        for (std::size_t i = list.size(); i-- > 0;) {
            if (list[i] == surface)
                list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
            else if (list[i] > surface)
                --list[i];
        }
    }

    // The counts follow the corners, once each, whether or not a sector lists the surface.
    for (const CQzlVertex& corner :
         level.m_surfaces[static_cast<std::size_t>(surface)]->m_vertices) {
        const std::int32_t w = corner.m_worldVertex;
        if (InRange(level.m_useCounts, w) && level.m_useCounts[static_cast<std::size_t>(w)] > 0)
            --level.m_useCounts[static_cast<std::size_t>(w)];
    }
    EraseAt(level.m_surfaces, surface);

    for (std::size_t v = level.m_worldVertices.size(); v-- > 0;) {
        if (level.m_useCounts[v] == 0)
            RemoveVertexRefs(level, static_cast<int>(v), false);
    }

    RenumberCogSymbols(level, game, "surface", surface);
}

void RemoveVertexRefs(CQzlSections& level, int vertex, bool removeCorners)
{
    if (!InRange(level.m_worldVertices, vertex))
        return;

    // Every surface, listed by a sector or not, and each one once.
    for (const auto& surface : level.m_surfaces) {
        std::vector<CQzlVertex>& corners = surface->m_vertices;
        for (std::size_t i = corners.size(); i-- > 0;) {
            std::int32_t& w = corners[i].m_worldVertex;
            if (w == vertex && removeCorners)
                corners.erase(corners.begin() + static_cast<std::ptrdiff_t>(i));
            else if (w > vertex)
                --w;
        }
    }

    EraseAt(level.m_worldVertices, vertex);
    if (InRange(level.m_useCounts, vertex))
        EraseAt(level.m_useCounts, vertex);
}

void DeleteAdjoin(CQzlSections& level, int adjoin)
{
    if (!InRange(level.m_adjoins, adjoin))
        return;
    const std::int32_t mirror = level.m_adjoins[static_cast<std::size_t>(adjoin)]->m_mirror;

    // A broken pair (no mirror, or one pointing at itself or nowhere) loses only the one record;
    // anything that names a removed record afterwards points nowhere.
    const bool pair = mirror != adjoin && InRange(level.m_adjoins, mirror);
    const std::int32_t lo = pair ? std::min(adjoin, mirror) : adjoin;
    const std::int32_t hi = pair ? std::max(adjoin, mirror) : adjoin;
    const auto renumber = [lo, hi](std::int32_t& index) {
        if (index == lo || index == hi)
            index = -1;
        else if (index > hi)
            index -= lo == hi ? 1 : 2;
        else if (index > lo)
            --index;
    };

    for (const auto& surface : level.m_surfaces)
        renumber(surface->m_adjoin);
    for (const auto& other : level.m_adjoins)
        renumber(other->m_mirror);

    EraseAt(level.m_adjoins, hi);
    if (lo != hi)
        EraseAt(level.m_adjoins, lo);
}

void DeleteMaterial(CQzlSections& level, int material)
{
    if (!InRange(level.m_materials, material))
        return;
    const int dflt = level.FindDefaultMaterial();

    std::vector<std::size_t> orphans;  // surfaces that used "dflt.mat" when it is the one deleted
    const std::int32_t replacement = dflt > material ? dflt - 1 : dflt;
    for (std::size_t s = 0; s < level.m_surfaces.size(); ++s) {
        if (!level.m_surfaces[s])
            continue;
        std::int32_t& m = level.m_surfaces[s]->m_material;
        if (m > material) {
            --m;
        } else if (m == material) {
            if (dflt == material)
                orphans.push_back(s);
            else
                m = replacement;
        }
    }

    EraseAt(level.m_materials, material);

    if (!orphans.empty()) {
        const int next = level.FindDefaultMaterial();
        for (const std::size_t s : orphans)
            level.m_surfaces[s]->m_material = next;
    }
}

void DeleteThing(CQzlSections& level, const CGameResources& game, int thing)
{
    if (!InRange(level.m_things, thing))
        return;
    EraseAt(level.m_things, thing);
    RenumberCogSymbols(level, game, "thing", thing);
}

void DeleteSector(CQzlSections& level, const CGameResources& game, int sector)
{
    if (!InRange(level.m_sectors, sector))
        return;
    EraseAt(level.m_sectors, sector);
    RenumberCogSymbols(level, game, "sector", sector);
}

void CompactMaterials(CQzlSections& level)
{
    std::vector<std::unique_ptr<CQzlMaterial>> compact;
    for (const auto& surface : level.m_surfaces) {
        std::int32_t& m = surface->m_material;
        if (m == -1)
            continue;
        if (!InRange(level.m_materials, m)) {
            m = -1;
            continue;
        }
        const CQzlMaterial& old = *level.m_materials[static_cast<std::size_t>(m)];
        std::size_t found = 0;
        while (found < compact.size() && !EqualsNoCase(compact[found]->m_name, old.m_name))
            ++found;
        if (found == compact.size()) {
            auto copy = std::make_unique<CQzlMaterial>(old.m_name);
            copy->m_xTile = old.m_xTile;
            copy->m_yTile = old.m_yTile;
            compact.push_back(std::move(copy));
        }
        m = static_cast<std::int32_t>(found);
    }
    level.m_materials = std::move(compact);
}
