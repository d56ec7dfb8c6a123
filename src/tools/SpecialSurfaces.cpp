#include "tools/SpecialSurfaces.h"

#include "engine/AssetSources.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/EngineHost.h"
#include "engine/RenderData.h"
#include "engine/Texture.h"
#include "engine/TextureCache.h"
#include "framework/CFormat.h"
#include "framework/Indices.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzlAdjoin.h"
#include "level/QzlCog.h"
#include "level/QzlSections.h"
#include "level/QzlSector.h"
#include "level/QzlSurface.h"
#include "tools/BuilderSteps.h"
#include "tools/CreateMenu.h"

#include <algorithm>
#include <memory>
#include <string>

namespace {

// The texture of material through colorMap, from the game's material indexes or the level's own
// files; null without the game's archive or when the material is in neither (the texture cache
// alone would fall back to the default material).
CTexture* EffectTexture(C3dView& view, std::string_view material, std::string_view colorMap)
{
    const CGameResources& game = view.GetGame();
    if (game.m_archive == nullptr || view.m_textureCache == nullptr)
        return nullptr;
    const CAssetSources sources{&game, &view.GetLevel().m_levelFiles};
    if (!sources.ReadFromGame(game.m_treeMaterials, material) &&
        !sources.ReadFromGame(game.m_tree3do, material) && !sources.ReadFromLevel(material))
        return nullptr;
    CTexture* texture = view.m_textureCache->GetTexture(sources, material, colorMap);
    if (texture == nullptr || texture->m_width <= 0 || texture->m_height <= 0)
        return nullptr;
    return texture;
}

// The first surface, sectors and their surface lists in order, whose adjoin is mirror, with its
// sector; -1, -1 when there is none.
std::pair<int, int> OtherSide(const CQzlSections& level, std::int32_t mirror)
{
    if (!InRange(level.m_adjoins, mirror))
        return {-1, -1};
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s)
        for (const std::int32_t surface : level.m_sectors[s]->m_surfaces)
            if (InRange(level.m_surfaces, surface) &&
                At(level.m_surfaces, surface)->m_adjoin == mirror)
                return {static_cast<int>(s), surface};
    return {-1, -1};
}

void AddEffectCog(CQzlSections& level, const char* script, std::vector<std::string> values)
{
    auto cog = std::make_unique<CQzlCog>(script);
    cog->m_values = std::move(values);
    level.m_cogs.push_back(std::move(cog));
}

// The index of name in the level's sound names (letter case ignored), appended when missing.
int FindSound(CQzlSections& level, std::string_view name)
{
    const auto found = std::find_if(level.m_sounds.begin(), level.m_sounds.end(),
                                    [name](const std::string& s) { return EqualsNoCase(s, name); });
    if (found != level.m_sounds.end())
        return static_cast<int>(found - level.m_sounds.begin());
    level.m_sounds.emplace_back(name);
    return static_cast<int>(level.m_sounds.size()) - 1;
}

bool RunEffectCommand(C3dView& view, int id, bool (*build)(C3dView&))
{
    const CCreateCommand* command = FindCreateCommand(id);
    return command != nullptr && RunConfirmedCreate(view, *command, [&] {
               const CWaitCursorScope wait(view.GetHost());
               return build(view);
           });
}

}  // namespace

bool CreateSurfaceEffect(C3dView& view, const CSurfaceEffect& effect)
{
    CQzlSections& level = view.GetLevel();
    const int s = view.m_selection.m_sector;
    const int f = view.m_selection.m_surface;
    if (!InRange(level.m_sectors, s) || !InRange(level.m_surfaces, f))
        return false;
    const std::vector<std::int32_t>& surfaces = At(level.m_sectors, s)->m_surfaces;
    if (std::find(surfaces.begin(), surfaces.end(), f) == surfaces.end())
        return false;
    CQzlSurface& front = *At(level.m_surfaces, f);
    if (!InRange(level.m_adjoins, front.m_adjoin))
        return false;

    std::string colorMap;
    const std::int32_t colorMapIndex = At(level.m_sectors, s)->m_colormap;
    if (InRange(level.m_colormaps, colorMapIndex))
        colorMap = At(level.m_colormaps, colorMapIndex);
    CTexture* texture = EffectTexture(view, effect.m_material, colorMap);
    if (texture == nullptr) {
        view.GetHost().ShowMessage(std::string("Cannot find the texture ") + effect.m_material +
                                   ".");
        return false;
    }

    front.m_texture = texture;
    front.m_textureWidth = static_cast<float>(texture->m_width);
    front.m_textureHeight = static_cast<float>(texture->m_height);
    front.m_surfaceFlags = effect.m_surfaceFlags;
    front.m_faceFlags = effect.m_faceFlags;
    front.m_geo = effect.m_geo;
    front.m_light = effect.m_light;
    front.m_tex = effect.m_tex;
    front.m_extraLight = effect.m_extraLight;
    front.m_material = level.FindMaterial(effect.m_material);
    CQzlAdjoin& adjoin = *At(level.m_adjoins, front.m_adjoin);
    adjoin.m_flags = effect.m_adjoinFlags;
    view.GetHost().SetModifiedFlag(true);
    RebuildSector(view, s);

    const auto [t, g] = OtherSide(level, adjoin.m_mirror);
    if (g < 0)
        return true;
    CQzlSurface& back = *At(level.m_surfaces, g);
    back.m_texture = front.m_texture;
    back.m_surfaceFlags = front.m_surfaceFlags;
    back.m_faceFlags = front.m_faceFlags;
    back.m_geo = front.m_geo;
    back.m_light = front.m_light;
    back.m_tex = front.m_tex;
    back.m_extraLight = front.m_extraLight;
    back.m_material = front.m_material;
    At(level.m_adjoins, back.m_adjoin)->m_flags = adjoin.m_flags;

    switch (effect.m_kind) {
    case ESurfaceEffectKind::Water: {
        CQzlSector& behind = *At(level.m_sectors, t);
        behind.m_sound = FindSound(level, kUnderwaterSound);
        behind.m_soundVolume = kUnderwaterSoundVolume;
        behind.m_flags = kUnderwaterSectorFlags;
        RebuildSector(view, t);
        break;
    }
    case ESurfaceEffectKind::TwoCogs:
        RebuildSector(view, t);
        AddEffectCog(level, effect.m_script, {FormatC("%d", f)});
        AddCogScriptName(level, effect.m_script);
        AddEffectCog(level, effect.m_script, {FormatC("%d", g)});
        break;
    case ESurfaceEffectKind::OneCogBoth:
        RebuildSector(view, t);
        AddEffectCog(level, effect.m_script, {FormatC("%d", f), FormatC("%d", g)});
        AddCogScriptName(level, effect.m_script);
        break;
    }
    // The rebuilds empty the picked grid nodes but keep the selection.
    view.m_selection.m_sector = s;
    view.m_selection.m_surface = f;
    return true;
}

bool CreateWater(C3dView& view)
{
    return CreateSurfaceEffect(view, kWaterEffect);
}

bool CreateForceField(C3dView& view)
{
    return CreateSurfaceEffect(view, kForceFieldEffect);
}

bool CreateBreakingGlass(C3dView& view)
{
    return CreateSurfaceEffect(view, kBreakingGlassEffect);
}

bool CreateSlashableGrate(C3dView& view)
{
    return CreateSurfaceEffect(view, kSlashableGrateEffect);
}

bool RunCreateWaterCommand(C3dView& view)
{
    return RunEffectCommand(view, Cmd::kCreateWater, CreateWater);
}

bool RunCreateForceFieldCommand(C3dView& view)
{
    return RunEffectCommand(view, Cmd::kCreateForceField, CreateForceField);
}

bool RunCreateBreakingGlassCommand(C3dView& view)
{
    return RunEffectCommand(view, Cmd::kCreateBreakingGlass, CreateBreakingGlass);
}

bool RunCreateSlashableGrateCommand(C3dView& view)
{
    return RunEffectCommand(view, Cmd::kCreateSlashableGrate, CreateSlashableGrate);
}
