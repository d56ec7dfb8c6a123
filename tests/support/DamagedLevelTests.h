#pragma once
// Helpers of the tests that run over the damaged levels.
//
// StoredIndices: every cross reference a level stores (adjoin mirrors, surface adjoins and
// materials, sector colour maps and sounds, thing sectors) in one list, so that a test can see that
// reading or editing a damaged level left its indices as they were.

#include "level/QzlSections.h"
#include "support/DamagedLevels.h"

#include <gtest/gtest.h>

#include <string>

#include <cstdint>
#include <vector>

inline std::vector<std::int32_t> StoredIndices(const CQzlSections& level)
{
    std::vector<std::int32_t> out;
    for (const auto& a : level.m_adjoins)
        out.push_back(a->m_mirror);
    for (const auto& s : level.m_surfaces) {
        out.push_back(s->m_adjoin);
        out.push_back(s->m_material);
    }
    for (const auto& s : level.m_sectors) {
        out.push_back(s->m_colormap);
        out.push_back(s->m_sound);
    }
    for (const auto& t : level.m_things)
        out.push_back(t->m_sector);
    return out;
}

// The entries the loaders open: the ones an open document can hold.
inline std::vector<CDamagedLevel> OpenedDamagedLevels()
{
    std::vector<CDamagedLevel> out;
    for (const CDamagedLevel& d : DamagedLevels())
        if (d.m_opens)
            out.push_back(d);
    return out;
}

// The entry's name as a test name.
inline std::string DamagedLevelTestName(const ::testing::TestParamInfo<CDamagedLevel>& param)
{
    std::string name = param.param.m_name;
    for (char& c : name)
        if (c == '-')
            c = '_';
    return name;
}
