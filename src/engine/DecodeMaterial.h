#pragma once
// Decoding a material through a colour map, with the lookup order and fallbacks of the texture
// cache. A file that is missing, cannot be read or does not decode counts as not found.

#include "engine/AssetSources.h"
#include "engine/BitmapImage.h"
#include "engine/ColorMap.h"

#include <memory>
#include <optional>
#include <string_view>

// The colour map named colorMap: from the game's colour-map index, else from the level's own
// files, else "dflt.cmp" of the game's colour-map index. Empty (its palette the grey ramp) when
// none of them can be read.
CColorMap FindColorMap(const CAssetSources& sources, std::string_view colorMap);
// The colour map named colorMap of the game's colour-map index alone; none when the game has no
// archive, the index lacks it or it does not read.
std::optional<CColorMap> GameColorMap(const CGameResources& game, std::string_view colorMap);

// The material named material decoded through the palette of FindColorMap(colorMap). The
// material comes from the game's material index, else its second material index, else the
// level's own files, else "dflt.mat" of the game's material index. Null when none of them
// decodes.
std::unique_ptr<CBitmapImage> DecodeMaterial(const CAssetSources& sources,
                                             std::string_view material, std::string_view colorMap);
// The same without the last fallback: null when the material itself decodes nowhere.
std::unique_ptr<CBitmapImage> DecodeOwnMaterial(const CAssetSources& sources,
                                                std::string_view material,
                                                std::string_view colorMap);
