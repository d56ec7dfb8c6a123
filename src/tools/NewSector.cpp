#include "tools/NewSector.h"

std::unique_ptr<CQzlSector> NewSectorLike(const CQzlSector& source)
{
    auto sector = std::make_unique<CQzlSector>(source);
    sector->m_surfaces.clear();
    sector->m_visible.clear();
    for (std::int32_t& word : sector->m_runtime)
        word = 0;
    sector->m_renderVersion = 0;
    return sector;
}
