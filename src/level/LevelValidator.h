#pragma once
// Structural checks of a level: every index field in range and every adjoin pair pointing back.
// The loaders refuse a level that fails them; the editing tests use them as an oracle after each
// operation.

#include <string>
#include <vector>

class CQzlSections;

struct CLevelValidation {
    // Also require the use count of every world vertex to equal the number of corners naming it
    // (true after the 3D view's rebuild and after every edit; a freshly loaded level has zeros).
    bool checkUseCounts = false;
    // Stop after this many problems.
    std::size_t maxProblems = 20;
};

// Returns one line per problem found, empty when the level is sound.
std::vector<std::string> ValidateLevel(const CQzlSections& level,
                                       const CLevelValidation& options = {});
