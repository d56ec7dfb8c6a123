#include "engine/AssetSources.h"

#include "framework/Exceptions.h"
#include "level/GameResources.h"
#include "resources/GameArchive.h"
#include "resources/Tree.h"

std::optional<std::vector<std::uint8_t>> CAssetSources::ReadFromGame(const CTree& index,
                                                                     std::string_view name) const
{
    if (m_game == nullptr || m_game->m_archive == nullptr)
        return std::nullopt;
    int position = 0;
    if (!index.Find(name, position))
        return std::nullopt;
    const CTreeObject& entry = *index.m_entries[static_cast<std::size_t>(position)];
    if (entry.m_offset < 0 || entry.m_size < 0)
        return std::nullopt;
    try {
        return m_game->m_archive->ReadBytes(static_cast<std::uint32_t>(entry.m_offset),
                                            static_cast<std::uint32_t>(entry.m_size));
    } catch (const CArchiveException&) {
        return std::nullopt;
    } catch (const CFileException&) {
        return std::nullopt;
    }
}

std::optional<std::vector<std::uint8_t>> CAssetSources::ReadFromLevel(std::string_view name) const
{
    if (m_levelFiles == nullptr)
        return std::nullopt;
    int position = 0;
    if (!m_levelFiles->Find(name, position))
        return std::nullopt;
    const CTreeObject& entry = *m_levelFiles->m_entries[static_cast<std::size_t>(position)];
    if (!entry.HasData())
        return std::nullopt;
    return *entry.m_data;
}
