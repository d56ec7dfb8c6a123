#include "level/TemplateTree.h"

#include "framework/StringUtil.h"
#include "level/CogInstances.h"
#include "level/NameLists.h"
#include "level/QzlSections.h"
#include "level/QzlTemplate.h"
#include "level/QzlThing.h"
#include "level/TemplateParams.h"

#include <cstddef>
#include <utility>

namespace {

// The last entry of list before end named exactly name, or -1.
int FindBackward(const CTemplateList& list, std::size_t end, std::string_view name)
{
    for (std::size_t i = end; i-- > 0;)
        if (list[i] && list[i]->m_name == name)
            return static_cast<int>(i);
    return -1;
}

bool UsedByThing(const CQzlSections& level, std::string_view name)
{
    for (const auto& thing : level.m_things)
        if (thing && EqualsNoCase(thing->m_template, name))
            return true;
    return false;
}

void ReleaseResources(CQzlSections& level, const std::string& params)
{
    const std::pair<const char*, std::vector<std::string>*> keys[] = {
        {"model3d=", &level.m_models},          {"puppet=", &level.m_puppets},
        {"soundclass=", &level.m_soundClasses}, {"cog=", &level.m_cogScripts},
        {"aiclass=", &level.m_aiClasses},       {"sprite=", &level.m_sprites},
    };
    for (const auto& [key, list] : keys) {
        // A cog instance may run the template's script too: then the script stays listed.
        bool found = false;
        if (list == &level.m_cogScripts && CogScriptUsed(level, ParamValue(params, key, found)))
            continue;
        ReleaseTemplateResource(level, *list, key, params);
    }
}

}  // namespace

std::vector<int> TemplateTreeParents(const CTemplateList& list)
{
    std::vector<int> parents(list.size(), -1);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i])
            parents[i] = FindBackward(list, i, list[i]->m_basedOn);
    return parents;
}

int FindTemplateItem(const CTemplateList& list, std::string_view name)
{
    return FindBackward(list, list.size(), name);
}

int FindChosenTemplate(const CTemplateList& list, std::string_view name)
{
    const int exact = FindTemplateItem(list, name);
    if (exact >= 0)
        return exact;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] && EqualsNoCase(list[i]->m_name, name))
            return static_cast<int>(i);
    return -1;
}

int SearchTemplate(const CTemplateList& list, std::string_view text)
{
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] && std::string_view(list[i]->m_name).starts_with(text))
            return static_cast<int>(i);
    return -1;
}

CTemplateDeletion DeleteLevelTemplate(CQzlSections& level, int index)
{
    CTemplateDeletion result;
    CTemplateList& templates = level.m_templates;
    if (index < 0 || static_cast<std::size_t>(index) >= templates.size() ||
        !templates[static_cast<std::size_t>(index)])
        return result;
    std::size_t current = static_cast<std::size_t>(index);
    for (;;) {
        if (UsedByThing(level, templates[current]->m_name)) {
            result.m_stoppedByThing = true;
            return result;
        }
        std::unique_ptr<CQzlTemplate> removed = std::move(templates[current]);
        templates.erase(templates.begin() + static_cast<std::ptrdiff_t>(current));
        ReleaseResources(level, removed->m_params);
        result.m_removed.push_back(removed->m_name);
        const std::string& base = removed->m_basedOn;
        if (base == "none")
            return result;
        int next = -1;
        for (std::size_t i = 0; i < templates.size(); ++i) {
            if (!templates[i])
                continue;
            if (templates[i]->m_basedOn == base)
                return result;  // another template still derives from the base
            if (next < 0 && templates[i]->m_name == base)
                next = static_cast<int>(i);
        }
        if (next < 0)
            return result;
        current = static_cast<std::size_t>(next);
    }
}

bool AddLevelTemplate(CQzlSections& level, const CTemplateList& master, std::string_view name)
{
    bool found = false;
    for (const auto& entry : master)
        if (entry && EqualsNoCase(entry->m_name, name))
            found = true;
    if (!found)
        return false;
    CollectTemplateRefs(level, master, name);
    return true;
}
