#pragma once
// Where the engine finds the files of a level's assets (materials, colour maps, ...): the game's
// resource archive through the product's indexes, and the level's own files. Either may be
// missing: a level can be shown without the game, its assets are then looked for in its own
// files only.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

class CTree;
struct CGameResources;

struct CAssetSources {
    const CGameResources* m_game = nullptr;  // indexes and the open game archive; null: no game
    const CTree* m_levelFiles = nullptr;     // the level's own files; null: none

    // The bytes of the entry named name (letter case ignored) in index, an index of the game
    // archive. Empty when there is no game archive, no such entry, or its bytes cannot be read.
    std::optional<std::vector<std::uint8_t>> ReadFromGame(const CTree& index,
                                                          std::string_view name) const;
    // The bytes held by the level's own file named name (letter case ignored). Empty when there
    // is no such file or it holds no bytes.
    std::optional<std::vector<std::uint8_t>> ReadFromLevel(std::string_view name) const;
};
