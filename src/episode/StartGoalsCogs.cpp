#include "episode/StartGoalsCogs.h"

#include "framework/CFormat.h"
#include "framework/StringUtil.h"
#include "level/CogSymbols.h"
#include "level/QzlSections.h"
#include "resources/GameResources.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <string>
#include <vector>

namespace {

// The whole of text as a decimal integer; false for anything else (blanks, words, "0x10", "").
bool ParseIndex(const std::string& text, int& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last;
}

// After the cog at removed left the list: every "cog" value of the other cogs that named it
// becomes "-1", every greater one goes down by 1.
void RenumberCogValues(CQzlSections& level, const CGameResources& game, int removed)
{
    for (const auto& cog : level.m_cogs) {
        if (!cog)
            continue;
        std::vector<std::string> labels;
        std::vector<std::string> defaults;
        std::vector<std::string> types;
        GetCogSymbols(level, game, *cog, labels, defaults, types);
        const std::size_t count = std::min(types.size(), cog->m_values.size());
        for (std::size_t i = 0; i < count; ++i) {
            int value = 0;
            if (types[i] != "cog" || !ParseIndex(cog->m_values[i], value))
                continue;
            if (value == removed)
                cog->m_values[i] = "-1";
            else if (value > removed)
                cog->m_values[i] = FormatC("%d", value - 1);
        }
    }
}

bool UsesScript(const CQzlSections& level, const char* script)
{
    for (const auto& cog : level.m_cogs)
        if (cog && EqualsNoCase(cog->m_script, script))
            return true;
    return false;
}

void RemoveCogs(CQzlSections& level, const CGameResources& game, const char* script)
{
    for (std::size_t c = level.m_cogs.size(); c-- > 0;) {
        const auto& cog = level.m_cogs[c];
        if (!cog || !EqualsNoCase(cog->m_script, script))
            continue;
        level.m_cogs.erase(level.m_cogs.begin() + static_cast<std::ptrdiff_t>(c));
        RenumberCogValues(level, game, static_cast<int>(c));
    }
    // A listed script that no cog uses would still be loaded by the game.
    std::erase_if(level.m_cogScripts,
                  [script](const std::string& name) { return EqualsNoCase(name, script); });
}

void AddCog(CQzlSections& level, const char* script)
{
    if (UsesScript(level, script))
        return;
    level.m_cogs.push_back(std::make_unique<CQzlCog>(script));
    bool listed = false;
    for (const std::string& name : level.m_cogScripts)
        listed = listed || EqualsNoCase(name, script);
    if (!listed)
        level.m_cogScripts.emplace_back(script);
}

void Apply(CQzlSections& level, const CGameResources& game, const char* script, bool on)
{
    if (on)
        AddCog(level, script);
    else
        RemoveCogs(level, game, script);
}

}  // namespace

CDocumentFields DefaultDocumentFields()
{
    CDocumentFields fields;
    fields.m_episodeTitle = "QzEdit Level";
    fields.m_levelFileName = "qzedit.qzl";
    fields.m_messageText = kDefaultMessageText;
    fields.m_startCogOn = 1;
    fields.m_goalsCogOn = 1;
    return fields;
}

void ImportStartGoalsCogs(CQzlSections& level, bool startCogOn, bool goalsCogOn,
                          const CGameResources& game)
{
    Apply(level, game, kStartCogScript, startCogOn);
    Apply(level, game, kGoalsCogScript, goalsCogOn);
}

void ImportStartGoalsCogs(CQzlSections& level, bool startCogOn, bool goalsCogOn)
{
    const CGameResources noGame;
    ImportStartGoalsCogs(level, startCogOn, goalsCogOn, noGame);
}
