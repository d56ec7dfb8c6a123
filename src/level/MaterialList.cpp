#include "level/MaterialList.h"

#include "framework/Indices.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "resources/MaterialGroupIndex.h"

#include <algorithm>

namespace {

bool Holds(const CTree& index, std::string_view name)
{
    int position = 0;
    return index.Find(name, position) != 0;
}

}  // namespace

std::vector<CMaterialListItem> LevelMaterialItems(const CQzlSections& level,
                                                  const CGameResources& game)
{
    std::vector<CMaterialListItem> items;
    for (std::size_t i = 0; i < level.m_materials.size(); ++i) {
        if (!level.m_materials[i])
            continue;
        std::string name = ToLowerAscii(level.m_materials[i]->m_name);
        if (Holds(game.m_treeMaterials, name) || Holds(level.m_levelFiles, name))
            items.push_back({std::move(name), static_cast<int>(i)});
    }
    return items;
}

std::vector<CMaterialListItem> AddMaterialItems(const CQzlSections& level,
                                                const CGameResources& game, const CTree& groups,
                                                std::string_view selection)
{
    std::vector<CMaterialListItem> items;
    const auto offer = [&](const std::string& stored, bool needsExtension) {
        std::string name = ToLowerAscii(stored);
        if (needsExtension && name.find(".mat") == std::string::npos)
            return;
        if (InMaterialGroup(groups, name, selection))
            items.push_back({std::move(name), -1});
    };
    for (const auto& entry : game.m_treeMaterials.m_entries)
        if (entry)
            offer(entry->m_name, false);
    for (const auto& entry : level.m_levelFiles.m_entries)
        if (entry)
            offer(entry->m_name, true);
    return items;
}

void SortMaterialItems(std::vector<CMaterialListItem>& items)
{
    std::stable_sort(items.begin(), items.end(),
                     [](const CMaterialListItem& a, const CMaterialListItem& b) {
                         return CompareNoCase(a.m_name, b.m_name) < 0;
                     });
}

std::vector<int> SectorsUsingMaterial(const CQzlSections& level, int material)
{
    std::vector<int> sectors;
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s) {
        if (!level.m_sectors[s])
            continue;
        const auto& surfaces = level.m_sectors[s]->m_surfaces;
        const bool uses = std::any_of(surfaces.begin(), surfaces.end(), [&](std::int32_t surface) {
            return InRange(level.m_surfaces, surface) && At(level.m_surfaces, surface) &&
                   At(level.m_surfaces, surface)->m_material == material;
        });
        if (uses)
            sectors.push_back(static_cast<int>(s));
    }
    return sectors;
}

int RenumberMaterialItems(std::vector<CMaterialListItem>& items, int material)
{
    const auto deleted = std::find_if(items.begin(), items.end(), [material](const auto& item) {
        return item.m_item == material;
    });
    const std::ptrdiff_t row = deleted == items.end() ? -1 : deleted - items.begin();
    if (deleted != items.end())
        items.erase(deleted);
    for (CMaterialListItem& item : items)
        if (item.m_item > material)
            --item.m_item;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (EqualsNoCase(items[i].m_name, "dflt.mat"))
            return static_cast<int>(i);
    if (row >= 0 && static_cast<std::size_t>(row) < items.size())
        return static_cast<int>(row);
    return -1;
}

int AddLevelMaterial(CQzlSections& level, std::string_view name, bool& appended)
{
    const std::size_t before = level.m_materials.size();
    const int index = level.FindMaterial(ToUpperAscii(name));
    appended = level.m_materials.size() != before;
    return index;
}

bool SetMaterialTiles(CQzlSections& level, int material, float tileX, float tileY)
{
    if (!InRange(level.m_materials, material) || !At(level.m_materials, material))
        return false;
    CQzlMaterial& record = *At(level.m_materials, material);
    if (record.m_xTile == tileX && record.m_yTile == tileY)
        return false;
    record.m_xTile = tileX;
    record.m_yTile = tileY;
    return true;
}
