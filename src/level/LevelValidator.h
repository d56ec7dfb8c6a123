#pragma once
// Structural checks of a level: every index field in range and every adjoin pair pointing back.
// Each problem has a kind: the loaders refuse a level with a problem that leaves no geometry to
// show, and open one whose other indices are damaged, so that the user can check and clean it up.
// The editing tests use every problem as an oracle after each operation.

#include <string>
#include <vector>

class CQzlSections;

struct CLevelValidation {
    // Also require the use count of every world vertex to equal the number of corners naming it
    // (true after the 3D view's rebuild and after every edit; a freshly loaded level has zeros).
    bool checkUseCounts = false;
    // Stop after this many problems.
    std::size_t maxProblems = 20;
    // Look only for the problems the loaders refuse (ELevelProblem::refused).
    bool refusedOnly = false;
    // Check that every corner names a world vertex of the level; false when the caller knows it
    // does (CountVertexUses said so).
    bool checkCorners = true;
};

enum class ELevelProblem {
    // The level's structure cannot be read: a corner's world vertex or a sector's surface out of
    // range, or the use counts not matching the world vertices. The loaders refuse the file.
    refused,
    // An index that a level can be opened with, to be found by Check and repaired by Clean Up:
    // an adjoin's mirror out of range or not pointing back, a surface's adjoin or material, a
    // sector's colour map or sound, a thing's sector.
    opens,
};

struct CLevelProblem {
    ELevelProblem m_kind = ELevelProblem::refused;
    std::string m_text;

    friend bool operator==(const CLevelProblem&, const CLevelProblem&) = default;
};

// Every problem found with its kind, in the order ValidateLevel gives them.
std::vector<CLevelProblem> FindLevelProblems(const CQzlSections& level,
                                             const CLevelValidation& options = {});

// The loaders' check: the first problem that keeps the level from being opened, as the message for
// the user ("The level is damaged: ..."); empty when the level can be opened. cornersValid: every
// corner is known to name a world vertex of the level (CountVertexUses returned true), so that
// the check of a large level need not go over them again.
std::string LevelRefusal(const CQzlSections& level, bool cornersValid = false);

// Returns one line per problem found (of either kind), empty when the level is sound.
std::vector<std::string> ValidateLevel(const CQzlSections& level,
                                       const CLevelValidation& options = {});
