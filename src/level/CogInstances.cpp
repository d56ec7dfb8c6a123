#include "level/CogInstances.h"

#include "framework/StringUtil.h"
#include "level/QzlSections.h"
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

// For each loaded instance, the current instance that stands for it (-1 none): the alignment of
// the two lists in order that matches the most instances of the same script, an instance with
// equal values counting twice.
std::vector<int> MatchLoaded(std::span<const CQzlCog> loaded, std::span<const CQzlCog> current)
{
    const std::size_t n = loaded.size();
    const std::size_t m = current.size();
    const auto weight = [&](std::size_t i, std::size_t j) {
        if (!EqualsNoCase(loaded[i].m_script, current[j].m_script))
            return 0;
        return loaded[i].m_values == current[j].m_values ? 2 : 1;
    };
    // best[i][j]: the best score of loaded[i..] against current[j..].
    std::vector<int> best((n + 1) * (m + 1), 0);
    const auto cell = [&](std::size_t i, std::size_t j) -> int& { return best[i * (m + 1) + j]; };
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;) {
            int score = std::max(cell(i + 1, j), cell(i, j + 1));
            if (const int w = weight(i, j); w > 0)
                score = std::max(score, cell(i + 1, j + 1) + w);
            cell(i, j) = score;
        }
    }
    std::vector<int> match(n, -1);
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < n && j < m) {
        const int w = weight(i, j);
        if (w > 0 && cell(i, j) == cell(i + 1, j + 1) + w) {
            match[i] = static_cast<int>(j);
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
    const bool listed =
        std::any_of(level.m_cogScripts.begin(), level.m_cogScripts.end(),
                    [script](const std::string& s) { return EqualsNoCase(s, script); });
    if (!listed)
        level.m_cogScripts.emplace_back(script);
    list.m_cogs.emplace_back(std::string(script));
    list.m_origins.push_back(-1);
    return static_cast<int>(list.m_cogs.size()) - 1;
}

void DeleteCogFromWorkList(CCogWorkList& list, CQzlSections& level, int entry)
{
    if (entry < 0 || At(entry) >= list.m_cogs.size())
        return;
    const std::string script = list.m_cogs[At(entry)].m_script;
    list.m_cogs.erase(list.m_cogs.begin() + entry);
    list.m_origins.erase(list.m_origins.begin() + entry);
    const bool stillUsed =
        std::any_of(list.m_cogs.begin(), list.m_cogs.end(),
                    [&script](const CQzlCog& cog) { return EqualsNoCase(cog.m_script, script); });
    if (stillUsed)
        return;
    std::vector<std::string>& names = level.m_cogScripts;
    const auto equal = [&script](const std::string& s) { return EqualsNoCase(s, script); };
    if (std::count_if(names.begin(), names.end(), equal) == 1)
        names.erase(std::find_if(names.begin(), names.end(), equal));
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
        merged.push_back(SameCog(mine, list.m_loaded[At(loaded)]) ? current[j] : mine);
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
            const bool listed =
                std::any_of(level.m_sounds.begin(), level.m_sounds.end(),
                            [&value](const std::string& s) { return EqualsNoCase(s, value); });
            if (!listed)
                level.m_sounds.push_back(value);
        }
        level.m_cogs.push_back(std::make_unique<CQzlCog>(std::move(cog)));
    }
    // Rebuilding the resource lists reads the cog scripts again first.
    BuildResourceLists(level, game);
    list = LoadCogWorkList(level);
}
