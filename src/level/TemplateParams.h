#pragma once
// Thing templates' parameter texts: the resources they name, the templates they refer to, and the
// copying of templates with everything they depend on from the product's template list into a
// level.
//
// A parameter text is a run of blank-separated key=value pairs; a value ends at the first blank or
// tab and "none" (any case) counts as empty. Keys are found by plain substring search.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CQzlSections;
class CQzlTemplate;

// Adds what the text names under "model3d=", "puppet=", "soundclass=", "cog=", "aiclass=",
// "sprite=" and "material=" to the level's lists (models, puppets and AI classes at their sorted
// place, sound classes, cog scripts and sprites at the end, materials as new records). The text is
// read lower-cased; values already listed (letter case ignored) and empty values add nothing.
void CollectTemplateResources(CQzlSections& level, std::string_view params);

// Appends the names of the templates that the text refers to, in the order they stand in it:
// every word written straight after "=+" (with its '+'), and the values of "debris=", "explode=",
// "fleshhit=" and "creatething=" (a value that begins with '+' is named once).
void GetReferencedTemplates(std::string_view params, std::vector<std::string>& names);

// Copies the first template of master named name (letter case ignored) into the level's
// templates, after everything it is based on or refers to. A template the level already holds is
// refreshed (based-on and parameters) instead of copied again. Names that master does not hold add
// nothing; a reference back to a template still being collected is not followed again.
void CollectTemplateRefs(CQzlSections& level,
                         const std::vector<std::unique_ptr<CQzlTemplate>>& master,
                         std::string_view name);

// Removes from list the resource that params names under key, unless a template of the level names
// the same value under that key and the list holds it.
void ReleaseParamResource(CQzlSections& level, std::string_view params, std::string_view key,
                          std::vector<std::string>& list);
// The same with the arguments in the order the resource dialogs pass them.
void ReleaseTemplateResource(CQzlSections& level, std::vector<std::string>& list,
                             std::string_view key, std::string_view params);

// 1 when a template of the level named name (letter case ignored) has a parameter text that
// contains text (exact substring), else 0.
int FindTemplateWithParam(const CQzlSections& level, std::string_view name, std::string_view text);
