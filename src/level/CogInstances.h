#pragma once
// The level's cog instances as the Cogs in Level window edits them: a working copy of the
// instances with where each came from, the mapping of the window's sorted list rows to working
// entries, the fourteen symbol rows and their scroll range, the value entry, Add's and Delete's
// changes of the cog-script names, and Apply.
//
// The window is modeless, so the level's instances can change while it is open (a builder adds a
// cog, deleting a record renumbers values, undo). Apply therefore merges: every instance the
// window did not touch stays as the level has it now, the ones it changed take its values, the
// ones it deleted go, and the ones it added are appended.

#include "level/QzlCog.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

class CQzlSections;
struct CGameResources;

// The symbol rows the window shows at once.
inline constexpr int kCogSymbolRows = 14;

struct CCogWorkList {
    std::vector<CQzlCog> m_loaded;  // the level's instances when the list was loaded
    std::vector<CQzlCog> m_cogs;    // the window's instances, in the order they were listed
    std::vector<int> m_origins;     // per entry of m_cogs: its index in m_loaded, -1 when added
    std::vector<std::string> m_released;  // scripts of deleted entries, for Apply to drop
};

// Copies of the level's instances, each its own origin.
CCogWorkList LoadCogWorkList(const CQzlSections& level);

// The entry of LoadCogWorkList's list that stands for the level's cog index (the list passes over
// empty records); -1 when the level has no cog there.
int CogWorkEntryOfLevelCog(const CQzlSections& level, int index);

// The working entry of list row row, given the texts of all rows from the top: when it is the
// k-th row that shows its text, the k-th entry whose script name equals that text (letter case
// ignored). -1 when there is no such entry or row.
int CogEntryOfRow(std::span<const std::string> rowTexts, int row, std::span<const CQzlCog> cogs);

// The first symbol shown for a wish first and count symbols: first >= count - 14 becomes
// count - 14, then below 0 becomes 0.
int ClampFirstCogSymbol(int first, int count);
// The scroll bar's maximum (its range is 0 to this); the bar is shown from 15 symbols on.
int CogScrollMaximum(int count);
bool CogScrollShown(int count);

// Sets value symbol of cog to text upper-cased: missing values before it are filled with the
// script's defaults (empty where defaults has none), then empty values are dropped from the end.
void SetCogValue(CQzlCog& cog, std::span<const std::string> defaults, int symbol,
                 std::string_view text);

// Add: appends an instance of script (no values) to the list, and script to the level's
// cog-script names when none equals it (letter case ignored). The new entry's index.
int AddCogToWorkList(CCogWorkList& list, CQzlSections& level, std::string_view script);

// Delete: removes entry from the list (the level is not touched: its instance is still there
// until Apply). Its script is noted for Apply, which drops the name from the level's cog-script
// names when nothing uses it any longer. An entry out of range changes nothing.
void DeleteCogFromWorkList(CCogWorkList& list, int entry);

// True when a cog instance of the level runs script, or a template of the level names it under
// "cog=" (letter case ignored).
bool CogScriptUsed(const CQzlSections& level, std::string_view script);

// The three-way merge of Apply: current is what the level has now. Each current instance that
// stands for a loaded one (matched in order by script name, equal values preferred) is kept as it
// is unless the window changed values of that instance or deleted it (then it goes). A changed
// instance is merged value by value: each value the window changed from what it loaded is the
// window's, every other one the level's current value; empty values are then dropped from the
// end. Current instances that stand for none are kept; the window's added entries follow, in
// list order. A loaded instance that the level no longer has stays gone.
std::vector<CQzlCog> MergeCogInstances(const CCogWorkList& list, std::span<const CQzlCog> current);

// Apply: the level's instances become the merge; every value that holds ".wav" (letter case
// ignored) is added to the level's sound names when none equals it; the script of each deleted
// entry leaves the cog-script names when exactly one name equals it and CogScriptUsed is false;
// the cog scripts are read again and the resource lists rebuilt. The list is then loaded again
// from the level.
void ApplyCogWorkList(CQzlSections& level, const CGameResources& game, CCogWorkList& list);
