#include "engine/ColorMapList.h"

#include "engine/AssetSources.h"
#include "engine/C3dView.h"
#include "engine/ColorMap.h"
#include "engine/EngineHost.h"
#include "engine/RenderData.h"
#include "engine/TextureCache.h"
#include "framework/Indices.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "level/QzlSector.h"
#include "level/SectorLists.h"

#include <algorithm>

namespace {

// The level's own file of that name (letter case ignored); null for none.
CTreeObject* LevelFile(CQzlSections& level, std::string_view name)
{
    int position = 0;
    if (level.m_levelFiles.Find(name, position) == 0)
        return nullptr;
    return level.m_levelFiles.m_entries[static_cast<std::size_t>(position)].get();
}

}  // namespace

std::optional<CPalette> PaletteFromColorMapBytes(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kColorMapPaletteEnd)
        return std::nullopt;
    CPalette palette{};
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(CColorMap::kPaletteOffset),
                palette.size(), palette.begin());
    return palette;
}

bool IsGameColorMap(const CGameResources* game, std::string_view name)
{
    int position = 0;
    return game != nullptr && game->m_treeColorMaps.Find(name, position) != 0;
}

std::optional<std::vector<std::uint8_t>> ColorMapBytes(const CAssetSources& sources,
                                                       std::string_view name)
{
    if (IsGameColorMap(sources.m_game, name))
        return sources.ReadFromGame(sources.m_game->m_treeColorMaps, name);
    return sources.ReadFromLevel(name);
}

int PaletteCellAt(int x, int y, int width, int height)
{
    if (width <= 0 || height <= 0 || x < 0 || y < 0 || x >= width || y >= height)
        return -1;
    return (16 * x) / width + 16 * ((16 * y) / height);
}

bool EditColorMapPalette(const CGameResources* game, CQzlSections& level, std::string_view name,
                         int index, std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    if (IsGameColorMap(game, name) || index < 0 || index > 255)
        return false;
    CTreeObject* file = LevelFile(level, name);
    if (file == nullptr || !file->m_data)
        return false;
    std::vector<std::uint8_t>& bytes = *file->m_data;
    // Only the bytes the entry says it has count.
    const std::size_t size =
        std::min(bytes.size(), static_cast<std::size_t>(std::max(file->m_size, 0)));
    if (size < kColorMapPaletteEnd)
        return false;
    const std::size_t at = CColorMap::kPaletteOffset + 3 * static_cast<std::size_t>(index);
    bytes[at] = red;
    bytes[at + 1] = green;
    bytes[at + 2] = blue;
    return true;
}

bool IsColorMapUsed(const CQzlSections& level, std::string_view name)
{
    return std::ranges::any_of(level.m_sectors, [&](const auto& sector) {
        return sector && InRange(level.m_colormaps, sector->m_colormap) &&
               EqualsNoCase(At(level.m_colormaps, sector->m_colormap), name);
    });
}

bool SetColorMapList(CQzlSections& level, std::span<const std::string> names)
{
    return SetSectorList(level, kColorMapList, names);
}

bool SelectColorMap(C3dView& view, std::string_view name)
{
    CQzlSections& level = view.GetLevel();
    if (name.empty())
        return false;
    const bool same = level.m_colormaps.size() == 1 && level.m_colormaps[0] == name &&
                      std::ranges::all_of(level.m_sectors,
                                          [](const auto& s) { return !s || s->m_colormap == 0; });
    if (same)
        return false;
    CWaitCursorScope wait(view.GetHost());
    level.m_colormaps = {std::string(name)};
    for (const auto& sector : level.m_sectors)
        if (sector)
            sector->m_colormap = 0;
    const CAssetSources sources{&view.GetGame(), &level.m_levelFiles};
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s) {
        if (!level.m_sectors[s])
            continue;  // a missing sector has nothing to show
        if (view.m_textureCache != nullptr)
            view.m_textureCache->ReloadSectorTextures(sources, level, static_cast<int>(s));
        RebuildSector(view, static_cast<int>(s));
    }
    view.GetHost().UpdateAllViews(0);
    return true;
}
