#include "resources/MaterialGroupIndex.h"

#include <memory>

CTree BuildMaterialGroupIndex(const std::vector<CMaterialGroupLine>& lines)
{
    CTree index;
    for (const CMaterialGroupLine& line : lines) {
        auto entry = std::make_unique<CTreeObject>();
        entry->m_name = line.m_material;
        entry->m_path = MaterialGroupDisplayName(line.m_group);
        int position = 0;
        index.Find(entry->m_name, position);
        index.m_entries.insert(index.m_entries.begin() + position, std::move(entry));
    }
    return index;
}

bool InMaterialGroup(const CTree& index, std::string_view material, std::string_view selection)
{
    if (selection == kAllMaterialGroups)
        return true;
    int position = 0;
    if (index.Find(material, position) == 0)
        return false;
    return index.m_entries[static_cast<std::size_t>(position)]->m_path == selection;
}
