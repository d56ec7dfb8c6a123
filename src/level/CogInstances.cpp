#include "level/CogInstances.h"

#include "framework/StringUtil.h"
#include "level/NameLists.h"
#include "level/QzlSections.h"
#include "level/QzlTemplate.h"
#include "level/ResourceLists.h"

#include <algorithm>
#include <cstddef>
#include <memory>

namespace {

bool SameCog(const CQzlCog& a, const CQzlCog& b)
{
    return a.m_script == b.m_script && a.m_values == b.m_values;
}

std::size_t At(int index)
{
    return static_cast<std::size_t>(index);
}

// Above this many cells the table of the best alignment is not made: the rest of the two lists
// is matched in order instead (16 MB of table).
constexpr std::size_t kMaxMatchCells = std::size_t{1} << 22;
// How far ahead the match in order looks for the next instance of the same script.
constexpr std::size_t kInOrderLookahead = 64;

// For each loaded instance, the current instance that stands for it (-1 none): the alignment of
// the two lists in order that matches the most instances of the same script, an instance with
// equal values counting twice. Equal instances that lead or end both lists stand for each other
// (the best alignment pairs them too), so the table covers only what lies between; when that is
// still too large, it is matched in order.
std::vector<int> MatchLoaded(std::span<const CQzlCog> loaded, std::span<const CQzlCog> current)
{
    const std::size_t n = loaded.size();
    const std::size_t m = current.size();
    const auto weight = [&](std::size_t i, std::size_t j) {
        if (!EqualsNoCase(loaded[i].m_script, current[j].m_script))
            return 0;
        return loaded[i].m_values == current[j].m_values ? 2 : 1;
    };
    std::vector<int> match(n, -1);
    std::size_t lead = 0;
    while (lead < n && lead < m && weight(lead, lead) == 2) {
        match[lead] = static_cast<int>(lead);
        ++lead;
    }
    std::size_t tail = 0;
    while (lead + tail < n && lead + tail < m && weight(n - 1 - tail, m - 1 - tail) == 2) {
        match[n - 1 - tail] = static_cast<int>(m - 1 - tail);
        ++tail;
    }
    const std::size_t endI = n - tail;
    const std::size_t endJ = m - tail;
    const std::size_t rows = endI - lead + 1;
    const std::size_t columns = endJ - lead + 1;
    if (rows * columns > kMaxMatchCells) {
        std::size_t j = lead;
        for (std::size_t i = lead; i < endI && j < endJ; ++i) {
            const std::size_t last = std::min(endJ, j + kInOrderLookahead);
            for (std::size_t k = j; k < last; ++k) {
                if (weight(i, k) > 0) {
                    match[i] = static_cast<int>(k);
                    j = k + 1;
                    break;
                }
            }
        }
        return match;
    }
    // best[i][j]: the best score of loaded[lead + i..endI) against current[lead + j..endJ).
    std::vector<int> best(rows * columns, 0);
    const auto cell = [&](std::size_t i, std::size_t j) -> int& { return best[i * columns + j]; };
    const auto w = [&](std::size_t i, std::size_t j) { return weight(lead + i, lead + j); };
    for (std::size_t i = rows - 1; i-- > 0;) {
        for (std::size_t j = columns - 1; j-- > 0;) {
            int score = std::max(cell(i + 1, j), cell(i, j + 1));
            if (const int here = w(i, j); here > 0)
                score = std::max(score, cell(i + 1, j + 1) + here);
            cell(i, j) = score;
        }
    }
    std::size_t i = 0;
    std::size_t j = 0;
    while (i + 1 < rows && j + 1 < columns) {
        const int here = w(i, j);
        if (here > 0 && cell(i, j) == cell(i + 1, j + 1) + here) {
            match[lead + i] = static_cast<int>(lead + j);
            ++i;
            ++j;
        } else if (cell(i, j) == cell(i + 1, j)) {
            ++i;
        } else {
            ++j;
        }
    }
    return match;
}

std::string_view ValueAt(const std::vector<std::string>& values, std::size_t k)
{
    return k < values.size() ? std::string_view(values[k]) : std::string_view();
}

// current with every value that the window changed from what it loaded taken from mine.
CQzlCog MergeValues(const CQzlCog& mine, const CQzlCog& loaded, const CQzlCog& current)
{
    CQzlCog merged = current;
    std::vector<std::string>& values = merged.m_values;
    values.resize(std::max({mine.m_values.size(), loaded.m_values.size(), values.size()}));
    for (std::size_t k = 0; k < values.size(); ++k) {
        const std::string_view window = ValueAt(mine.m_values, k);
        if (window != ValueAt(loaded.m_values, k))
            values[k] = std::string(window);
    }
    while (!values.empty() && values.back().empty())
        values.pop_back();
    return merged;
}

bool ListedNoCase(const std::vector<std::string>& names, std::string_view name)
{
    return std::any_of(names.begin(), names.end(),
                       [name](const std::string& s) { return EqualsNoCase(s, name); });
}

}  // namespace

CCogWorkList LoadCogWorkList(const CQzlSections& level)
{
    CCogWorkList list;
    for (const auto& cog : level.m_cogs) {
        if (!cog)
            continue;
        list.m_origins.push_back(static_cast<int>(list.m_loaded.size()));
        list.m_loaded.push_back(*cog);
        list.m_cogs.push_back(*cog);
    }
    return list;
}

int CogWorkEntryOfLevelCog(const CQzlSections& level, int index)
{
    const auto& cogs = level.m_cogs;
    if (index < 0 || At(index) >= cogs.size() || !cogs[At(index)])
        return -1;
    return static_cast<int>(std::count_if(cogs.begin(), cogs.begin() + index,
                                          [](const auto& cog) { return cog != nullptr; }));
}

int CogEntryOfRow(std::span<const std::string> rowTexts, int row, std::span<const CQzlCog> cogs)
{
    if (row < 0 || At(row) >= rowTexts.size())
        return -1;
    const std::string& text = rowTexts[At(row)];
    const auto occurrence = std::count(rowTexts.begin(), rowTexts.begin() + row, text);
    std::ptrdiff_t seen = 0;
    for (std::size_t e = 0; e < cogs.size(); ++e) {
        if (EqualsNoCase(cogs[e].m_script, text) && seen++ == occurrence)
            return static_cast<int>(e);
    }
    return -1;
}

int ClampFirstCogSymbol(int first, int count)
{
    if (first >= count - kCogSymbolRows)
        first = count - kCogSymbolRows;
    return first < 0 ? 0 : first;
}

int CogScrollMaximum(int count)
{
    return std::max(0, count - kCogSymbolRows);
}

bool CogScrollShown(int count)
{
    return count > kCogSymbolRows;
}

void SetCogValue(CQzlCog& cog, std::span<const std::string> defaults, int symbol,
                 std::string_view text)
{
    if (symbol < 0)
        return;
    std::vector<std::string>& values = cog.m_values;
    while (values.size() <= At(symbol)) {
        const std::size_t next = values.size();
        values.push_back(next < defaults.size() ? defaults[next] : std::string());
    }
    values[At(symbol)] = ToUpperAscii(text);
    while (!values.empty() && values.back().empty())
        values.pop_back();
}

int AddCogToWorkList(CCogWorkList& list, CQzlSections& level, std::string_view script)
{
    if (!ListedNoCase(level.m_cogScripts, script))
        level.m_cogScripts.emplace_back(script);
    list.m_cogs.emplace_back(std::string(script));
    list.m_origins.push_back(-1);
    return static_cast<int>(list.m_cogs.size()) - 1;
}

void DeleteCogFromWorkList(CCogWorkList& list, int entry)
{
    if (entry < 0 || At(entry) >= list.m_cogs.size())
        return;
    list.m_released.push_back(list.m_cogs[At(entry)].m_script);
    list.m_cogs.erase(list.m_cogs.begin() + entry);
    list.m_origins.erase(list.m_origins.begin() + entry);
}

bool CogScriptUsed(const CQzlSections& level, std::string_view script)
{
    for (const auto& cog : level.m_cogs)
        if (cog && EqualsNoCase(cog->m_script, script))
            return true;
    bool found = false;
    for (const auto& entry : level.m_templates)
        if (entry && EqualsNoCase(ParamValue(entry->m_params, "cog=", found), script))
            return true;
    return false;
}

std::vector<CQzlCog> MergeCogInstances(const CCogWorkList& list, std::span<const CQzlCog> current)
{
    // What the window did to each loaded instance: the entry that holds it now, -1 deleted.
    std::vector<int> entryOfLoaded(list.m_loaded.size(), -1);
    for (std::size_t e = 0; e < list.m_origins.size(); ++e) {
        const int origin = list.m_origins[e];
        if (origin >= 0 && At(origin) < entryOfLoaded.size())
            entryOfLoaded[At(origin)] = static_cast<int>(e);
    }
    const std::vector<int> match = MatchLoaded(list.m_loaded, current);
    std::vector<int> loadedOfCurrent(current.size(), -1);
    for (std::size_t i = 0; i < match.size(); ++i)
        if (match[i] >= 0)
            loadedOfCurrent[At(match[i])] = static_cast<int>(i);

    std::vector<CQzlCog> merged;
    for (std::size_t j = 0; j < current.size(); ++j) {
        const int loaded = loadedOfCurrent[j];
        if (loaded < 0) {
            merged.push_back(current[j]);
            continue;
        }
        const int entry = entryOfLoaded[At(loaded)];
        if (entry < 0)
            continue;
        const CQzlCog& mine = list.m_cogs[At(entry)];
        const CQzlCog& before = list.m_loaded[At(loaded)];
        merged.push_back(SameCog(mine, before) ? current[j]
                                               : MergeValues(mine, before, current[j]));
    }
    for (std::size_t e = 0; e < list.m_cogs.size(); ++e)
        if (list.m_origins[e] < 0)
            merged.push_back(list.m_cogs[e]);
    return merged;
}

void ApplyCogWorkList(CQzlSections& level, const CGameResources& game, CCogWorkList& list)
{
    std::vector<CQzlCog> current;
    for (const auto& cog : level.m_cogs)
        if (cog)
            current.push_back(*cog);
    std::vector<CQzlCog> merged = MergeCogInstances(list, current);
    level.m_cogs.clear();
    for (CQzlCog& cog : merged) {
        for (const std::string& value : cog.m_values) {
            if (FindNoCase(value, ".wav") == std::string_view::npos)
                continue;
            if (!ListedNoCase(level.m_sounds, value))
                level.m_sounds.push_back(value);
        }
        level.m_cogs.push_back(std::make_unique<CQzlCog>(std::move(cog)));
    }
    std::vector<std::string>& names = level.m_cogScripts;
    for (const std::string& script : list.m_released) {
        if (CogScriptUsed(level, script))
            continue;
        const auto equal = [&script](const std::string& s) { return EqualsNoCase(s, script); };
        if (std::count_if(names.begin(), names.end(), equal) == 1)
            names.erase(std::find_if(names.begin(), names.end(), equal));
    }
    // Rebuilding the resource lists reads the cog scripts again first.
    BuildResourceLists(level, game);
    list = LoadCogWorkList(level);
}
