#include "engine/Questions.h"

#include "engine/3doLoadContext.h"
#include "engine/3doModel.h"
#include "engine/C3dView.h"
#include "engine/DecodeMaterial.h"
#include "engine/ThingModels.h"
#include "framework/Settings.h"
#include "framework/StringUtil.h"
#include "geometry/Predicates.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "math/Matrix.h"

#include <cstddef>
#include <exception>
#include <memory>

namespace {

// The extension a picker takes from the level's own files, or null for templates.
const char* LevelFileExtension(EPicker kind)
{
    switch (kind) {
    case EPicker::Material:
        return ".mat";
    case EPicker::ColorMap:
        return ".cmp";
    case EPicker::Sound:
        return ".wav";
    case EPicker::Template:
        break;
    }
    return nullptr;
}

// The game's index of a picker's kind, or null for templates.
const CTree* GameIndex(const CGameResources& game, EPicker kind)
{
    switch (kind) {
    case EPicker::Material:
        return &game.m_treeMaterials;
    case EPicker::ColorMap:
        return &game.m_treeColorMaps;
    case EPicker::Sound:
        return &game.m_treeSounds;
    case EPicker::Template:
        break;
    }
    return nullptr;
}

void AddNames(std::vector<std::string>& names, const std::vector<std::string>& list, bool lower)
{
    for (const std::string& name : list)
        names.push_back(lower ? ToLowerAscii(name) : name);
}

void AddTemplateNames(std::vector<std::string>& names,
                      const std::vector<std::unique_ptr<CQzlTemplate>>& templates)
{
    for (const auto& entry : templates)
        names.push_back(entry ? entry->m_name : std::string());
}

// The templates a picker lists in mode.
const std::vector<std::unique_ptr<CQzlTemplate>>&
PickerTemplates(const CQzlSections& level, const CGameResources& game, int mode)
{
    return mode == kPickInLevel ? level.m_templates : game.m_templates;
}

// The extents of the model of file name, placed unturned at the origin; 0 when it has no nodes.
CVector3 ModelExtents(const C3dView& view, const std::string& fileName)
{
    C3doLoadContext context;
    context.m_game = &view.GetGame();
    context.m_level = &view.GetLevel();
    context.m_colorGhost = view.GetSettings().m_colorGhost;
    try {
        C3doModel model(context, fileName, std::string());
        if (model.m_nodes.empty())
            return {};
        CBoundingBox box{{kFarDistance, kFarDistance, kFarDistance},
                         {-kFarDistance, -kFarDistance, -kFarDistance}};
        model.NodeBounds(0, box, MatrixIdentity());
        if (!(box.min.x <= box.max.x && box.min.y <= box.max.y && box.min.z <= box.max.z))
            return {};  // nodes without a mesh
        return box.max - box.min;
    } catch (const std::exception&) {
        // A model whose files cannot be read measures as one found nowhere.
        return {};
    }
}

}  // namespace

bool Confirm(const CSettings& settings, CEngineHost& host, std::string_view text)
{
    if (settings.m_warning == 0)
        return true;
    return host.AskYesNo(text);
}

bool Confirm(C3dView& view, std::string_view text)
{
    return Confirm(view.GetSettings(), view.GetHost(), text);
}

const char* PickerCaption(EPicker kind, int mode)
{
    const bool level = mode == kPickInLevel;
    switch (kind) {
    case EPicker::Material:
        return level ? "Materials in level" : "Add Material to level";
    case EPicker::Template:
        return level ? "Templates in level" : "Add Template to level";
    case EPicker::ColorMap:
        return level ? "Color Maps in level" : "Add Color Map to level";
    case EPicker::Sound:
        return level ? "Sounds in level" : "Add Sound to level";
    }
    return "";
}

std::vector<std::string> PickerNames(const CQzlSections& level, const CGameResources& game,
                                     EPicker kind, int mode)
{
    std::vector<std::string> names;
    if (kind == EPicker::Template) {
        AddTemplateNames(names, PickerTemplates(level, game, mode));
        return names;
    }
    if (mode == kPickInLevel) {
        switch (kind) {
        case EPicker::Material:
            for (const auto& material : level.m_materials)
                names.push_back(material ? ToLowerAscii(material->m_name) : std::string());
            break;
        case EPicker::ColorMap:
            AddNames(names, level.m_colormaps, true);
            break;
        case EPicker::Sound:
            AddNames(names, level.m_sounds, true);
            break;
        case EPicker::Template:
            break;
        }
        return names;
    }
    for (const auto& entry : GameIndex(game, kind)->m_entries)
        if (entry)
            names.push_back(kind == EPicker::Material ? ToLowerAscii(entry->m_name)
                                                      : entry->m_name);
    const char* extension = LevelFileExtension(kind);
    for (const auto& entry : level.m_levelFiles.m_entries) {
        if (!entry)
            continue;
        std::string name = ToLowerAscii(entry->m_name);
        if (name.find(extension) != std::string::npos)
            names.push_back(std::move(name));
    }
    return names;
}

std::optional<CMaterialChoice> ChooseMaterial(CQzlSections& level, const CGameResources& game,
                                              int mode, int position)
{
    const std::vector<std::string> names = PickerNames(level, game, EPicker::Material, mode);
    if (position < 0 || static_cast<std::size_t>(position) >= names.size())
        return std::nullopt;
    CMaterialChoice choice;
    choice.m_name = names[static_cast<std::size_t>(position)];
    // Add mode appends the material unless the level has one of that name already.
    choice.m_index =
        mode == kPickInLevel ? position : level.FindMaterial(ToUpperAscii(choice.m_name));
    if (const CQzlMaterial* material =
            level.m_materials[static_cast<std::size_t>(choice.m_index)].get()) {
        choice.m_tileX = material->m_xTile;
        choice.m_tileY = material->m_yTile;
    }
    CAssetSources sources;
    sources.m_game = &game;
    sources.m_levelFiles = &level.m_levelFiles;
    const std::string colorMap = level.m_colormaps.empty() ? std::string() : level.m_colormaps[0];
    if (const auto image = DecodeMaterial(sources, choice.m_name, colorMap)) {
        choice.m_width = image->GetWidth();
        choice.m_height = image->GetHeight();
    }
    return choice;
}

std::optional<CTemplateChoice> ChooseTemplate(const C3dView& view, int mode, int position)
{
    const auto& templates = PickerTemplates(view.GetLevel(), view.GetGame(), mode);
    if (position < 0 || static_cast<std::size_t>(position) >= templates.size() ||
        !templates[static_cast<std::size_t>(position)])
        return std::nullopt;
    const CQzlTemplate& entry = *templates[static_cast<std::size_t>(position)];
    CTemplateChoice choice;
    choice.m_name = entry.m_name;
    const std::string model =
        entry.m_model.empty() ? TemplateModelName(view, entry.m_name) : entry.m_model;
    choice.m_extents = ModelExtents(view, model);
    return choice;
}
