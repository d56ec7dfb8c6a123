#include "level/UndoSnapshot.h"

#include "framework/Archive.h"
#include "level/LevelClassRegistry.h"
#include "level/QzlSections.h"

#include <iterator>
#include <string>

namespace {

using NameList = std::vector<std::string>;

// The name lists of a snapshot, after the cog scripts, in stored order. Rebuilding the resource
// lists (Insert Thing, the clean-up passes) rewrites all of them.
constexpr NameList CQzlSections::*kNameLists[] = {
    &CQzlSections::m_sounds,  &CQzlSections::m_colormaps,    &CQzlSections::m_aiClasses,
    &CQzlSections::m_models,  &CQzlSections::m_sprites,      &CQzlSections::m_keyframes,
    &CQzlSections::m_puppets, &CQzlSections::m_soundClasses,
};
constexpr std::size_t kNameListCount = std::size(kNameLists);

}  // namespace

// Stored form, in this order: materials, adjoins, surfaces, sectors, things, cogs (object lists),
// world vertices, texture vertices (raw arrays), cog scripts (string list), then the sound,
// colour-map, AI-class, model, sprite, keyframe, puppet and sound-class lists (string lists) and
// the templates (object list), last the header (bare data).
void CUndoSnapshot::StoreLevel(const CQzlSections& level)
{
    CArchive ar(LevelClassRegistry());
    ar.WriteObArray(level.m_materials);
    ar.WriteObArray(level.m_adjoins);
    ar.WriteObArray(level.m_surfaces);
    ar.WriteObArray(level.m_sectors);
    ar.WriteObArray(level.m_things);
    ar.WriteObArray(level.m_cogs);
    ar.WriteRawArray(level.m_worldVertices);
    ar.WriteRawArray(level.m_textureVertices);
    ar.WriteStringList(level.m_cogScripts);
    for (const auto list : kNameLists)
        ar.WriteStringList(level.*list);
    ar.WriteObArray(level.m_templates);
    CQzlHeader header = level.m_header;
    header.Serialize(ar);
    m_bytes = ar.TakeBuffer();
}

void CUndoSnapshot::LoadLevel(CQzlSections& level) const
{
    // Everything is read aside first, so a fault leaves the level as it was.
    CArchive ar(LevelClassRegistry(), m_bytes);
    std::vector<std::unique_ptr<CQzlMaterial>> materials;
    std::vector<std::unique_ptr<CQzlAdjoin>> adjoins;
    std::vector<std::unique_ptr<CQzlSurface>> surfaces;
    std::vector<std::unique_ptr<CQzlSector>> sectors;
    std::vector<std::unique_ptr<CQzlThing>> things;
    std::vector<std::unique_ptr<CQzlCog>> cogs;
    std::vector<CWorldVertex> worldVertices;
    std::vector<CWorldVertex> textureVertices;
    NameList cogScripts;
    NameList names[kNameListCount];
    std::vector<std::unique_ptr<CQzlTemplate>> templates;
    ar.ReadObArray(materials);
    ar.ReadObArray(adjoins);
    ar.ReadObArray(surfaces);
    ar.ReadObArray(sectors);
    ar.ReadObArray(things);
    ar.ReadObArray(cogs);
    ar.ReadRawArray(worldVertices);
    ar.ReadRawArray(textureVertices);
    ar.ReadStringList(cogScripts);
    for (NameList& list : names)
        ar.ReadStringList(list);
    ar.ReadObArray(templates);
    CQzlHeader header;
    header.Serialize(ar);
    if (!ar.AtEnd())
        throw CArchiveException(CArchiveException::badFormat,
                                "The undo step holds more data than the level it describes.");

    level.m_materials = std::move(materials);
    level.m_adjoins = std::move(adjoins);
    level.m_surfaces = std::move(surfaces);
    level.m_sectors = std::move(sectors);
    level.m_things = std::move(things);
    level.m_cogs = std::move(cogs);
    level.m_worldVertices = std::move(worldVertices);
    level.m_textureVertices = std::move(textureVertices);
    level.m_cogScripts = std::move(cogScripts);
    for (std::size_t i = 0; i < kNameListCount; ++i)
        level.*kNameLists[i] = std::move(names[i]);
    level.m_templates = std::move(templates);
    level.m_header = header;
}
