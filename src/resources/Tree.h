#pragma once
// A resource index: entries kept in ascending order of name, ignoring ASCII letter case.

#include "framework/Object.h"
#include "resources/TreeObject.h"

#include <memory>
#include <string_view>
#include <vector>

class CTree : public CObject {
    QZ_DECLARE_SERIAL(CTree)

public:
    // 1 with the entry's position when an entry of that name exists (letter case ignored), else 0
    // with the position where it belongs; inserting there keeps the list sorted.
    int Find(std::string_view name, int& position) const;

    // Stored form: the count of entries, then each entry as a CTreeObject object.
    void Serialize(CArchive& ar) override;

    std::vector<std::unique_ptr<CTreeObject>> m_entries;
};
