#include "resources/Tree.h"

#include "framework/Archive.h"
#include "framework/StringUtil.h"

QZ_IMPLEMENT_SERIAL(CTree, 1)

int CTree::Find(std::string_view name, int& position) const
{
    return FindSortedNoCase(
        static_cast<int>(m_entries.size()),
        [this](int i) -> const std::string& {
            return m_entries[static_cast<std::size_t>(i)]->m_name;
        },
        name, position);
}

// Stored as bare data (no object tag of its own), so the archive's object schema is not consulted.
void CTree::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(m_entries.size());
        for (const auto& entry : m_entries)
            ar.WriteObject(entry.get());
        return;
    }

    // Each entry takes at least a 2-byte class tag.
    const std::size_t count = ar.ReadCount(2);
    std::vector<std::unique_ptr<CTreeObject>> entries;
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        entries.push_back(ar.ReadObjectOf<CTreeObject>());
    m_entries = std::move(entries);
}
