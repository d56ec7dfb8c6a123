#pragma once
// The material group file "materials.dat": named groups of material file names, which the
// material picker offers as filters and the Create Switch dialog as its list of switch materials.
//
// Grammar, line by line (a line is read without its line end, a CR before the LF included, and is
// lower-cased whole first): the first word is the text before the first blank (a space); a line
// whose first word is not empty starts a group of that name. The material of a line is the text
// after its last blank, or the whole line when it has no blank. A line that begins with a blank
// starts no group: its material belongs to the group started last. So a group is its name, a
// blank and its first material on one line, then lines of leading blanks and one material each.
// Nothing else is recognised: no comments, no quoting, no limits.

#include <string>
#include <string_view>
#include <vector>

struct CDataFolders;

// One line of the file.
struct CMaterialGroupLine {
    std::string m_group;     // the group the line belongs to, lower case ("" before any group)
    std::string m_material;  // the line's material, lower case (may be empty)
    bool m_startsGroup = false;

    friend bool operator==(const CMaterialGroupLine&, const CMaterialGroupLine&) = default;
};

// Every line of text, in order (a last line without a line end counts; an empty text has none).
std::vector<CMaterialGroupLine> ReadMaterialGroups(std::string_view text);

// The display name of a group: its first character upper-cased ("switch" gives "Switch").
std::string MaterialGroupDisplayName(std::string_view group);

// The display names of the lines that start a group, in file order (a group started twice is
// named twice).
std::vector<std::string> MaterialGroupNames(const std::vector<CMaterialGroupLine>& lines);

// The switch materials of the Create Switch dialog: from the first line whose first word is
// "switch", the material of every non-empty line up to the next line that starts another group
// (a further "switch" line goes on with the list).
std::vector<std::string> ReadSwitchMaterials(std::string_view text);

// The name of the material group file in the program's data folders.
inline constexpr const char* kMaterialGroupFile = "materials.dat";

// The text of the material group file the folders give (the user's copy, else the installed one);
// empty when neither can be read, which offers no groups.
std::string ReadMaterialGroupText(const CDataFolders& folders);
