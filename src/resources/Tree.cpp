#include "resources/Tree.h"

#include "framework/Archive.h"
#include "framework/StringUtil.h"

QZ_IMPLEMENT_SERIAL(CTree, 1)

int CTree::Find(std::string_view name, int& position) const
{
    // A missing entry (a damaged index) sorts as an empty name and is never found.
    static const std::string kNoName;
    const int found = FindSortedNoCase(
        static_cast<int>(m_entries.size()),
        [this](int i) -> const std::string& {
            const auto& entry = m_entries[static_cast<std::size_t>(i)];
            return entry ? entry->m_name : kNoName;
        },
        name, position);
    return found != 0 && m_entries[static_cast<std::size_t>(position)] ? found : 0;
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
