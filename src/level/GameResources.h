#pragma once
// What the core reads of the installed game while it works on a level: the open resource
// archives with the indexes of their entries by kind, the product's template list, and the
// game's folder.

#include "level/QzlTemplate.h"
#include "resources/GameArchives.h"

#include <filesystem>
#include <memory>
#include <vector>

struct CGameResources : CGameArchives {
    // The product's template list (from its data file), read only.
    std::vector<std::unique_ptr<CQzlTemplate>> m_templates;
    // The folder the game is installed in (its CD tracks, the episode folder that receives the
    // test archive); empty without a game.
    std::filesystem::path m_gameFolder;
};
