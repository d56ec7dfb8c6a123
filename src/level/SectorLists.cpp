#include "level/SectorLists.h"

#include "framework/Indices.h"
#include "framework/StringUtil.h"
#include "level/QzlSections.h"
#include "level/QzlSector.h"

#include <algorithm>
#include <cstdint>
#include <limits>

int ListEntriesUsed(const CQzlSections& level, std::int32_t CQzlSector::*index)
{
    if (level.m_sectors.empty())
        return -1;
    // In 64 bits: a damaged level may give the largest index there is.
    std::int64_t used = 0;
    for (const auto& sector : level.m_sectors)
        if (sector)
            used = std::max(used, static_cast<std::int64_t>((*sector).*index) + 1);
    return static_cast<int>(std::min<std::int64_t>(used, std::numeric_limits<int>::max()));
}

int SectorColorMapOrFirst(const CQzlSections& level, int sector)
{
    if (!InRange(level.m_sectors, sector) || !At(level.m_sectors, sector))
        return 0;
    const std::int32_t colormap = At(level.m_sectors, sector)->m_colormap;
    return InRange(level.m_colormaps, colormap) ? colormap : 0;
}

int FindListName(std::span<const std::string> names, std::string_view name)
{
    const auto found = std::ranges::find_if(
        names, [name](const std::string& each) { return EqualsNoCase(each, name); });
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

bool SetSectorList(CQzlSections& level, const CSectorListKind& kind,
                   std::span<const std::string> names)
{
    const std::vector<std::string>& old = level.*kind.m_list;
    std::vector<std::string> upper;
    upper.reserve(names.size());
    for (const std::string& name : names)
        upper.push_back(ToUpperAscii(name));
    bool changed = upper != old;
    std::vector<std::int32_t> renumbered;
    for (const auto& sector : level.m_sectors) {
        std::int32_t index = sector ? (*sector).*kind.m_index : -1;
        if (sector && InRange(old, index)) {
            index = FindListName(upper, At(old, index));
            if (index < 0 && kind.m_refuseGone)
                return false;
        } else if (sector && index >= 0 && !kind.m_refuseGone) {
            index = -1;  // names no entry: there is no sound to follow
        }
        changed = changed || (sector && index != (*sector).*kind.m_index);
        renumbered.push_back(index);
    }
    if (!changed)
        return false;
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s)
        if (level.m_sectors[s])
            (*level.m_sectors[s]).*kind.m_index = renumbered[s];
    level.*kind.m_list = std::move(upper);
    return true;
}

int SoundsUsed(const CQzlSections& level)
{
    return ListEntriesUsed(level, &CQzlSector::m_sound);
}

bool SetSoundList(CQzlSections& level, std::span<const std::string> names)
{
    return SetSectorList(level, kSoundList, names);
}
