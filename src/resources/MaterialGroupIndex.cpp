#include "resources/MaterialGroupIndex.h"

#include "framework/StringUtil.h"

#include <algorithm>
#include <memory>

CTree BuildMaterialGroupIndex(const std::vector<CMaterialGroupLine>& lines)
{
    // Sorted once rather than inserted line by line: a hostile file of many lines must not take
    // quadratic time. From the last line back, so that equal names keep the later line in front.
    CTree index;
    index.m_entries.reserve(lines.size());
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        auto entry = std::make_unique<CTreeObject>();
        entry->m_name = line->m_material;
        entry->m_path = MaterialGroupDisplayName(line->m_group);
        index.m_entries.push_back(std::move(entry));
    }
    std::stable_sort(
        index.m_entries.begin(), index.m_entries.end(),
        [](const auto& a, const auto& b) { return CompareNoCase(a->m_name, b->m_name) < 0; });
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
