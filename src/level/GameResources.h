#pragma once
// What the core reads of the installed game while it works on a level: the open resource
// archives with the indexes of their entries by kind, and the product's template list.

#include "level/QzlTemplate.h"
#include "resources/GameArchives.h"

#include <memory>
#include <vector>

struct CGameResources : CGameArchives {
    // The product's template list (from its data file), read only.
    std::vector<std::unique_ptr<CQzlTemplate>> m_templates;
};
