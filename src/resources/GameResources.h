#pragma once
// What the core reads of the installed game while it works on a level: the open resource
// archives, the indexes of their entries by kind, and the product's template list. The application
// fills it at product set-up; tests fill it from the synthetic game. Every member may be empty:
// a level can be read, edited and written without the game, the steps that need it are skipped.

#include "level/QzlTemplate.h"
#include "level/Tree.h"

#include <memory>
#include <vector>

class GameArchive;

struct CGameResources {
    // "Product": 0 the base game Korvath, 1 the expansion Varnok.
    int m_product = 0;

    // The game's main resource archive and its sound archive; null when none could be opened.
    const GameArchive* m_archive = nullptr;
    const GameArchive* m_soundArchive = nullptr;

    // Entries of the archives by kind, each sorted by name without regard to case.
    CTree m_treeMaterials;
    CTree m_treeColorMaps;
    CTree m_treeSounds;
    CTree m_tree3do;      // folder "3do": models, their keyframes, and the second material index
    CTree m_treeCogs;     // cog scripts
    CTree m_treePuppets;  // folder "pup"
    CTree m_treeSnd;      // the ".snd" sound classes

    // The product's template list (from its data file), read only.
    std::vector<std::unique_ptr<CQzlTemplate>> m_templates;
};
