#include "level/UndoSnapshot.h"

#include "framework/Archive.h"
#include "level/LevelClassRegistry.h"
#include "level/QzlSections.h"

#include <string>

// Stored form, in this order: materials, adjoins, surfaces, sectors, things, cogs (object lists),
// world vertices, texture vertices (raw arrays), cog scripts (string list), then sounds and
// colour maps (string lists) and templates (object list).
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
    ar.WriteStringList(level.m_sounds);
    ar.WriteStringList(level.m_colormaps);
    ar.WriteObArray(level.m_templates);
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
    std::vector<std::string> cogScripts;
    std::vector<std::string> sounds;
    std::vector<std::string> colormaps;
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
    ar.ReadStringList(sounds);
    ar.ReadStringList(colormaps);
    ar.ReadObArray(templates);
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
    level.m_sounds = std::move(sounds);
    level.m_colormaps = std::move(colormaps);
    level.m_templates = std::move(templates);
}
