#pragma once
// The open resource archives of the installed game and the indexes of their entries by kind. The
// application fills them at product set-up; tests fill them from the synthetic game. Every member
// may be empty: a level can be read, edited and written without the game, the steps that need it
// are skipped.

#include "resources/Tree.h"

class GameArchive;

struct CGameArchives {
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
};
