#pragma once
// What the material picker lists and changes, without a screen: the list of the level's
// materials, the list of the materials that can be added to the level (filtered by a group of the
// material group index), the sectors a material's deletion touches, the list renumbering after a
// delete, and the append of a picked material.

#include <string>
#include <string_view>
#include <vector>

class CQzlSections;
class CTree;
struct CGameResources;

// One row of the picker's list: the name as it is shown (lower case) and its number, the
// material's index in the level, -1 for a material that can be added.
struct CMaterialListItem {
    std::string m_name;
    int m_item = -1;

    friend bool operator==(const CMaterialListItem&, const CMaterialListItem&) = default;
};

// The level's materials in level order, lower-cased, each with its index, that the game's
// material index or the level's own files hold (letter case ignored); the others are left out.
[[nodiscard]] std::vector<CMaterialListItem> LevelMaterialItems(const CQzlSections& level,
                                                                const CGameResources& game);

// The materials that can be added, lower-cased, each -1: every entry of the game's material
// index, then every level file whose lower-cased name holds ".mat", each only when it passes the
// group filter selection of groups (resources/MaterialGroupIndex.h). A name in both is listed
// twice.
[[nodiscard]] std::vector<CMaterialListItem> AddMaterialItems(const CQzlSections& level,
                                                              const CGameResources& game,
                                                              const CTree& groups,
                                                              std::string_view selection);

// The list as the picker shows it: sorted by name (letter case ignored), equal names in the order
// given.
void SortMaterialItems(std::vector<CMaterialListItem>& items);

// The sectors that hold a surface of material, each once, in sector order.
[[nodiscard]] std::vector<int> SectorsUsingMaterial(const CQzlSections& level, int material);

// The list after material was deleted from the level: its row goes, and every row numbered above
// it is numbered one less. Gives the row to select next: the row of "dflt.mat" when there is one,
// else the row now standing where the deleted one stood; -1 when there is none.
int RenumberMaterialItems(std::vector<CMaterialListItem>& items, int material);

// Adds the material name (the picker's lower-case form) to the level: the level's record of that
// name (letter case ignored) when it has one, else a new record of the name in upper case with
// tiling 1.0 appended. Gives the record's index; appended is true when a record was added.
int AddLevelMaterial(CQzlSections& level, std::string_view name, bool& appended);

// Sets the tiling of material; true when it changed (false, with nothing changed, also for a
// material the level does not have).
bool SetMaterialTiles(CQzlSections& level, int material, float tileX, float tileY);
