#include "episode/StartGoalsCogs.h"

#include "framework/StringUtil.h"
#include "level/CogSymbols.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

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
        RenumberCogSymbols(level, game, "cog", static_cast<int>(c));
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
