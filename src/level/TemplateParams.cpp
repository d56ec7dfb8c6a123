#include "level/TemplateParams.h"

#include "framework/StringUtil.h"
#include "level/NameLists.h"
#include "level/QzlSections.h"

#include <unordered_set>

namespace {

constexpr std::string_view kBlanks = " \t";

// The word at the start of text, up to the first blank or tab.
std::string_view LeadingWord(std::string_view text)
{
    return text.substr(0, text.find_first_of(kBlanks));
}

const CQzlTemplate* FindTemplateNoCase(const std::vector<std::unique_ptr<CQzlTemplate>>& list,
                                       std::string_view name)
{
    for (const auto& entry : list) {
        if (entry && EqualsNoCase(entry->m_name, name))
            return entry.get();
    }
    return nullptr;
}

// Copies source into the level's template of the same name, or appends a copy when there is none.
void StoreTemplate(CQzlSections& level, const CQzlTemplate& source)
{
    for (const auto& entry : level.m_templates) {
        if (entry && EqualsNoCase(entry->m_name, source.m_name)) {
            entry->m_basedOn = source.m_basedOn;
            entry->m_params = source.m_params;
            return;
        }
    }
    auto copy = std::make_unique<CQzlTemplate>();
    copy->m_name = source.m_name;
    copy->m_basedOn = source.m_basedOn;
    copy->m_params = source.m_params;
    copy->m_model = source.m_model;
    level.m_templates.push_back(std::move(copy));
}

}  // namespace

void CollectTemplateResources(CQzlSections& level, std::string_view params)
{
    const std::string text = ToLowerAscii(params);
    std::string value;

    if (FindParamString(text, "model3d=", level.m_models, value) == -1 && !value.empty())
        InsertUniqueSorted(level.m_models, value);
    if (FindParamString(text, "puppet=", level.m_puppets, value) == -1 && !value.empty())
        InsertUniqueSorted(level.m_puppets, value);
    if (FindParamString(text, "soundclass=", level.m_soundClasses, value) == -1 && !value.empty())
        level.m_soundClasses.push_back(value);
    if (FindParamString(text, "cog=", level.m_cogScripts, value) == -1 && !value.empty())
        level.m_cogScripts.push_back(value);
    if (FindParamString(text, "aiclass=", level.m_aiClasses, value) == -1 && !value.empty())
        InsertUniqueSorted(level.m_aiClasses, value);
    if (FindParamString(text, "sprite=", level.m_sprites, value) == -1 && !value.empty())
        level.m_sprites.push_back(value);
    if (FindParamObject(text, "material=", level.m_materials, value) == -1 && !value.empty())
        level.m_materials.push_back(std::make_unique<CQzlMaterial>(value));
}

void GetReferencedTemplates(std::string_view params, std::vector<std::string>& names)
{
    // Every reference in the order it stands in the text: a word written straight after "=+"
    // (taken with its plus sign), or the value of one of the four keys (a value that begins with a
    // plus sign is taken once). The next occurrence of each marker is kept, so a long text is
    // searched once, not once per reference.
    static constexpr std::string_view kMarkers[] = {
        "=+", "debris=", "explode=", "fleshhit=", "creatething="};
    constexpr std::size_t kCount = std::size(kMarkers);
    std::size_t next[kCount];
    for (std::size_t m = 0; m < kCount; ++m)
        next[m] = params.find(kMarkers[m]);

    for (;;) {
        std::size_t first = kCount;
        for (std::size_t m = 0; m < kCount; ++m) {
            if (next[m] != std::string_view::npos && (first == kCount || next[m] < next[first]))
                first = m;
        }
        if (first == kCount)
            return;
        // "=+" starts the word at its plus sign; a key starts it after its equals sign.
        const std::size_t start = next[first] + (first == 0 ? 1 : kMarkers[first].size());
        const std::string_view word = LeadingWord(params.substr(start));
        names.emplace_back(word);
        const std::size_t resume = start + word.size();
        for (std::size_t m = 0; m < kCount; ++m) {
            if (next[m] != std::string_view::npos && next[m] < resume)
                next[m] = params.find(kMarkers[m], resume);
        }
    }
}

void CollectTemplateRefs(CQzlSections& level,
                         const std::vector<std::unique_ptr<CQzlTemplate>>& master,
                         std::string_view name)
{
    const CQzlTemplate* root = FindTemplateNoCase(master, name);
    if (!root)
        return;

    // A depth-first walk kept on an explicit stack, so a long chain of bases cannot exhaust the
    // call stack. Each template is stored after the templates it names; a name met again while it
    // is still on the path (a cycle) or after it was stored (a shared base) is not walked again.
    struct Pending {
        const CQzlTemplate* m_template;
        std::vector<std::string> m_refs;
        std::size_t m_next = 0;
    };
    std::vector<Pending> path;
    std::unordered_set<std::string> seen;  // lower-cased names on the path or already stored

    const auto enter = [&path, &seen](const CQzlTemplate* tpl) {
        Pending pending{tpl, {}, 0};
        pending.m_refs.push_back(tpl->m_basedOn);
        GetReferencedTemplates(tpl->m_params, pending.m_refs);
        seen.insert(ToLowerAscii(tpl->m_name));
        path.push_back(std::move(pending));
    };

    enter(root);
    while (!path.empty()) {
        Pending& top = path.back();
        if (top.m_next < top.m_refs.size()) {
            const std::string& ref = top.m_refs[top.m_next++];
            if (seen.count(ToLowerAscii(ref)))
                continue;
            if (const CQzlTemplate* dependency = FindTemplateNoCase(master, ref))
                enter(dependency);  // invalidates top
            continue;
        }
        StoreTemplate(level, *top.m_template);
        path.pop_back();
    }
}

void ReleaseParamResource(CQzlSections& level, std::string_view params, std::string_view key,
                          std::vector<std::string>& list)
{
    std::string value;
    const int index = FindParamString(params, key, list, value);
    if (index == -1 || value.empty())
        return;
    std::string other;
    for (const auto& entry : level.m_templates) {
        if (entry && FindParamString(entry->m_params, key, list, other) != -1 && other == value)
            return;
    }
    list.erase(list.begin() + index);
}

void ReleaseTemplateResource(CQzlSections& level, std::vector<std::string>& list,
                             std::string_view key, std::string_view params)
{
    ReleaseParamResource(level, params, key, list);
}

int FindTemplateWithParam(const CQzlSections& level, std::string_view name, std::string_view text)
{
    for (const auto& entry : level.m_templates) {
        if (entry && EqualsNoCase(entry->m_name, name) &&
            entry->m_params.find(text) != std::string::npos)
            return 1;
    }
    return 0;
}
