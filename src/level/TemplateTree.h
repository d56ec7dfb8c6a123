#pragma once
// The tree of thing templates that the Template dialog shows, and the two changes it makes to a
// level's templates: adding a template from the product's list with everything it refers to, and
// deleting a template together with the bases that only it still derived from.
//
// The tree is built in list order: each template hangs under the item of the template its
// based-on name names, found among the templates already inserted (those before it) by a scan
// from the nearest one backwards with an exact, case-sensitive comparison; a template whose base
// is "none", is not listed or is listed after it hangs under the root item "none".

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CQzlSections;
class CQzlTemplate;

using CTemplateList = std::vector<std::unique_ptr<CQzlTemplate>>;

// The parent of each template of list: the index of its base's entry, or -1 for the root "none".
[[nodiscard]] std::vector<int> TemplateTreeParents(const CTemplateList& list);

// The template to select for name: the last entry of list named exactly name, or -1 (the root).
[[nodiscard]] int FindTemplateItem(const CTemplateList& list, std::string_view name);
// The template of list that a chosen name means: FindTemplateItem's, else the first named name
// with letter case ignored; -1 when none is.
[[nodiscard]] int FindChosenTemplate(const CTemplateList& list, std::string_view name);

// The first template of list whose name begins with text (case-sensitive; an empty text matches
// the first template), or -1 when none does.
[[nodiscard]] int SearchTemplate(const CTemplateList& list, std::string_view text);

// The message of a template that a thing of the level uses.
inline constexpr const char* kTemplateUsedInLevel =
    "Cannot delete template, since it is used in level.";

// What deleting a template did.
struct CTemplateDeletion {
    std::vector<std::string> m_removed;  // names of the templates removed, in removal order
    bool m_stoppedByThing = false;       // the walk stopped at a template a thing uses
};

// Deletes the level's template at index, then walks up its bases: a base is deleted too when no
// remaining template has the same based-on name, it is not "none" and no thing uses it. A
// template that a thing uses (template name equal ignoring case) is never deleted; when that is
// the template at index itself nothing changes at all. For every template removed, the resources
// its parameter text names under "model3d=", "puppet=", "soundclass=", "cog=", "aiclass=" and
// "sprite=" leave the level's models, puppets, sound classes, cog scripts, AI classes and sprites
// unless a remaining template names the same value under the same key. Nothing happens for an
// index outside the list.
CTemplateDeletion DeleteLevelTemplate(CQzlSections& level, int index);

// Adds the product's template name (letter case ignored) to the level with its bases and the
// templates it refers to (CollectTemplateRefs). False, with nothing changed, when master has no
// template of that name.
bool AddLevelTemplate(CQzlSections& level, const CTemplateList& master, std::string_view name);
