#pragma once
// The editor's two cogs of every level: the start cog "qzedit_start.cog" (what the player starts
// with) and the goals cog "qzedit_goals.cog" (the level's goals). The document's two switches say
// whether the level carries an instance of each; the episode fields of a new document have both
// on.

#include "level/QzeFile.h"

class CQzlSections;
struct CGameResources;

inline constexpr const char* kStartCogScript = "qzedit_start.cog";
inline constexpr const char* kGoalsCogScript = "qzedit_goals.cog";

// The message text of a new document ("\r\n" line ends).
inline constexpr const char* kDefaultMessageText =
    "MSGS 4\r\n"
    "\"QZEDIT\"\t\t\t0\t\"Testing Custom Level\"\r\n"
    "\"QZEDIT_TEXT_00\"\t0\t\"^Objectives\"\r\n"
    "\"QZEDIT_TEXT_01\"\t0\t\"Mission Description.\"\r\n"
    "\"GOAL_01000\"\t\t0\t\"Goal Description.\"\r\n"
    "END\r\n";

// The episode fields of a new document: title "QzEdit Level", level file "qzedit.qzl", the
// default message text, type, kind and both powers 0, start and goals cog on.
CDocumentFields DefaultDocumentFields();

// Makes the level's cogs agree with the two switches. For each of the two scripts: switched off,
// every instance of it is removed (names compared without regard to letter case), and the script
// leaves the level's cog-script list when no cog uses it any more; switched on and without an
// instance, a new one without values is appended and the script is added to the cog-script list
// when it is not listed.
//
// Removing a cog moves the cogs after it down by one. Cog values of the type "cog" name other cogs
// by that index, so they are renumbered: a value naming the removed cog becomes "-1", a greater
// one goes down by 1. The symbol types come from each cog's script, looked for in the level's own
// files and then in game's cog scripts; the values of a cog whose script is found nowhere cannot
// be told apart and stay as they are.
void ImportStartGoalsCogs(CQzlSections& level, bool startCogOn, bool goalsCogOn,
                          const CGameResources& game);
// The same without the game: only scripts among the level's own files are read for renumbering.
void ImportStartGoalsCogs(CQzlSections& level, bool startCogOn, bool goalsCogOn);
