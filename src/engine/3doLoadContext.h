#pragma once
// What a model reads while it loads: the game's archive with its indexes of model and puppet
// files, the level (its own files and its templates), the texture cache and the ghost colour.
// The engine fills it from its own state; tests fill it directly. Every member may be empty: a
// missing archive or level is a place where nothing is found; without a texture cache faces get
// no textures and no material counts as missing.

#include "engine/AssetSources.h"

#include <cstdint>

class CQzlSections;
class CTextureCache;
struct CGameResources;

struct C3doLoadContext {
    // The game's main archive and its indexes (m_archive, m_tree3do, m_treePuppets).
    const CGameResources* m_game = nullptr;
    // The level: its own files (searched after the archive) and its templates (for the puppet).
    const CQzlSections* m_level = nullptr;
    // Where the faces' materials are decoded, through the model's colour map.
    CTextureCache* m_textures = nullptr;
    // The "ColorGhost" setting, 0x00BBGGRR.
    std::uint32_t m_colorGhost = 0x80FF80;

    // The archive and the level's own files as the asset readers take them.
    CAssetSources Sources() const;
};
