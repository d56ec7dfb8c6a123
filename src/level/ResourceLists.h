#pragma once
// The resource name lists of a level (models, sprites, keyframes, puppets, sound classes, AI
// classes, cog scripts, sounds, templates), rebuilt from what the level uses.

#include <span>
#include <string_view>

class CQzlSections;
struct CGameResources;

// Rebuilds the template list and the model, puppet, sound-class, AI-class, sprite and keyframe
// lists from the level's things and cogs, the product's built-in templates and the game's files;
// the cog-script, material and sound lists only grow. Sounds named twice (letter case ignored) are
// merged into the first, and the sectors' sound indices follow. Steps that need the game archive
// are skipped when there is none.
void BuildResourceLists(CQzlSections& level, const CGameResources& game);

// The templates that every level of the product carries (product 0 the base game, else the
// expansion).
std::span<const char* const> GetBuiltInTemplates(int product);
// The first-person weapon models that every level lists.
std::span<const char* const> GetFixedModels();
// The limb template that goes with a character template (letter case ignored), or nullptr.
const char* GetLimbTemplate(std::string_view characterTemplate);

// The file name ending with the first occurrence of extension in line: it begins just after the
// nearest character before it whose code is at most that of '/', or at the line's start. Empty
// when line does not hold extension or nothing stands before it.
std::string_view ExtractFileName(std::string_view line, std::string_view extension);
