#pragma once
// What an operation asks the user, through the engine host: confirmations, which the "Warning"
// setting turns off, and the choices of the pickers. The application's resource dialogs list the
// names PickerNames gives, and the scripted pickers of qzbench choose through ChooseMaterial and
// ChooseTemplate, so that the lists and the choices are the same with or without a screen.

#include "engine/EngineHost.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class C3dView;
class CQzlSections;
struct CGameResources;
struct CSettings;

// Asks text with Yes and No through the host while the "Warning" setting is on and gives the
// answer (true for Yes); with "Warning" off the operation goes on without asking (true).
bool Confirm(C3dView& view, std::string_view text);
bool Confirm(const CSettings& settings, CEngineHost& host, std::string_view text);

// The four pickers.
enum class EPicker {
    Material,
    Template,
    ColorMap,
    Sound
};

// The caption of a picker in a mode: "Materials in level", "Add Material to level", "Templates in
// level", "Add Template to level", "Color Maps in level", "Add Color Map to level", "Sounds in
// level", "Add Sound to level".
const char* PickerCaption(EPicker kind, int mode);

// The names a picker lists, in order. Level mode (kPickInLevel): the level's materials, templates,
// colour maps or sounds in level order. Add mode (any other): the product's template list; for
// the other kinds the names of the game's index of that kind (materials, colour maps, sounds),
// then the names of the level's own files that hold ".mat", ".cmp" or ".wav" (a name in both is
// listed twice). Material names and the level's file names are lower-cased, as are the level's
// colour maps and sounds; template names and the game's colour maps and sounds stand as stored.
std::vector<std::string> PickerNames(const CQzlSections& level, const CGameResources& game,
                                     EPicker kind, int mode);

// The material at position of PickerNames(Material, mode), nothing for a position outside the
// list. Level mode: the level's material at that index, with its tiling. Add mode: the level's
// material of that name (letter case ignored), else a new record of the name in upper case with
// tiling 1.0 appended to the level. The texture size is that of the material decoded from the
// game or the level's own files (through the level's first colour map), 0 x 0 when it decodes
// nowhere.
std::optional<CMaterialChoice> ChooseMaterial(CQzlSections& level, const CGameResources& game,
                                              int mode, int position);

// The template at position of PickerNames(Template, mode) with the extents of its model: the
// template's own model file, else the model its base templates give in the product's list
// (engine/ThingModels.h), loaded from the game or the level's own files and measured unturned.
// A template without a model measures as the ghost cube; a model found nowhere as 0. Nothing for
// a position outside the list.
std::optional<CTemplateChoice> ChooseTemplate(const C3dView& view, int mode, int position);
