#include "engine/DecodeMaterial.h"

#include "framework/Exceptions.h"
#include "level/GameResources.h"

#include <optional>
#include <string>
#include <vector>

namespace {

const char* const kDefaultColorMap = "dflt.cmp";
const char* const kDefaultMaterial = "dflt.mat";

std::optional<CColorMap> TryColorMap(const std::optional<std::vector<std::uint8_t>>& bytes,
                                     std::string_view name)
{
    if (!bytes)
        return std::nullopt;
    CColorMap colorMap;
    try {
        colorMap.Read(*bytes, name);
    } catch (const CArchiveException&) {
        return std::nullopt;
    }
    return colorMap;
}

std::unique_ptr<CBitmapImage> TryMaterial(const std::optional<std::vector<std::uint8_t>>& bytes,
                                          const CPalette& palette, std::string_view name)
{
    if (!bytes)
        return nullptr;
    auto image = std::make_unique<CBitmapImage>();
    try {
        image->ReadMat(*bytes, palette, name);
    } catch (const CArchiveException&) {
        return nullptr;
    }
    return image;
}

}  // namespace

std::optional<CColorMap> GameColorMap(const CGameResources& game, std::string_view colorMap)
{
    const CAssetSources sources{&game, nullptr};
    return TryColorMap(sources.ReadFromGame(game.m_treeColorMaps, colorMap), colorMap);
}

CColorMap FindColorMap(const CAssetSources& sources, std::string_view colorMap)
{
    if (sources.m_game != nullptr) {
        if (auto found = GameColorMap(*sources.m_game, colorMap))
            return std::move(*found);
    }
    if (auto found = TryColorMap(sources.ReadFromLevel(colorMap), colorMap))
        return std::move(*found);
    if (sources.m_game != nullptr) {
        if (auto found = GameColorMap(*sources.m_game, kDefaultColorMap))
            return std::move(*found);
    }
    return CColorMap{};
}

namespace {

std::unique_ptr<CBitmapImage> DecodeOwn(const CAssetSources& sources, std::string_view material,
                                        const CPalette& palette)
{
    if (const CGameResources* game = sources.m_game) {
        if (auto image = TryMaterial(sources.ReadFromGame(game->m_treeMaterials, material), palette,
                                     material))
            return image;
        if (auto image =
                TryMaterial(sources.ReadFromGame(game->m_tree3do, material), palette, material))
            return image;
    }
    return TryMaterial(sources.ReadFromLevel(material), palette, material);
}

}  // namespace

std::unique_ptr<CBitmapImage> DecodeMaterial(const CAssetSources& sources,
                                             std::string_view material, std::string_view colorMap)
{
    const CPalette palette = FindColorMap(sources, colorMap).GetPalette();
    if (auto image = DecodeOwn(sources, material, palette))
        return image;
    if (const CGameResources* game = sources.m_game)
        return TryMaterial(sources.ReadFromGame(game->m_treeMaterials, kDefaultMaterial), palette,
                           kDefaultMaterial);
    return nullptr;
}

std::unique_ptr<CBitmapImage> DecodeOwnMaterial(const CAssetSources& sources,
                                                std::string_view material,
                                                std::string_view colorMap)
{
    return DecodeOwn(sources, material, FindColorMap(sources, colorMap).GetPalette());
}
