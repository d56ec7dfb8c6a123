#pragma once
// The product's template list: the thing templates of its data file in the program folder.

#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

class CQzlTemplate;
struct CGameResources;

// The templates of a template data file, in file order. The text is read line by line (a line
// ends at LF; a CR before it is dropped) up to its end or its first empty line. Each line is
// lower-cased; its first word (up to a blank, tab, CR or LF) is the name, the next word after
// white space the based-on name, and the rest after white space the parameter text, kept as it
// stands. The model is the text after the first "model3d=" up to a blank or tab.
std::vector<std::unique_ptr<CQzlTemplate>> ReadTemplateList(std::string_view text);

// Replaces the template list of resources with the templates of file. Returns false, leaving the
// list as it was, when the file cannot be read.
bool LoadTemplateFile(CGameResources& resources, const std::filesystem::path& file);

struct CDataFolders;

// The working copy of a template list that the Template Manager edits (the same records as the
// product's list).
using CTemplateEntries = std::vector<std::unique_ptr<CQzlTemplate>>;

// A new template with name, based-on and parameter text; its model is taken from the parameter
// text as the reader takes it (the text after the first "model3d=" up to a blank or tab).
std::unique_ptr<CQzlTemplate> MakeTemplate(std::string_view name, std::string_view basedOn,
                                           std::string_view params);

// Why name cannot stand as a template name or based-on name in the data file (the reader splits
// a line on white space): empty text when it can. label is "name" or "based-on name".
std::string TemplateWordProblem(std::string_view word, std::string_view label);

// The line of one template in the data file: "%-20s %-20s %s\n" of name, based-on and parameter
// text, each word padded with blanks to 20 characters and written whole when it is longer. An
// empty based-on name is written as "none", the root of the game's templates (blanks in its place
// would make the reader take the first parameter as the base); a line break (CR or LF) in the
// parameter text becomes a blank, and white space before and after it is left out, since the
// reader would drop it. The name and based-on name must pass TemplateWordProblem.
std::string TemplateFileLine(const CQzlTemplate& entry);

// The whole data file text of entries, one line each in order (an empty record has none).
// Returns false with problem set (naming the entry's number) when an entry's name or based-on name
// cannot be written.
bool TemplateListText(const CTemplateEntries& entries, std::string& text, std::string& problem);

// Writes entries as the product's data file fileName ("korvath.dat", "varnok.dat") to the user's
// copy in dataFolders (atomically: a failed write leaves the old copy), and only then replaces the
// product's template list in resources as a whole by the list read back from the text written, so
// the list equals what the next product set-up reads. Returns the message to show when the list
// cannot be written (the product's list then stays as it was); empty when all went well.
std::string SaveTemplateList(CGameResources& resources, const CDataFolders& dataFolders,
                             std::string_view fileName, const CTemplateEntries& entries);

// The data file of product that set-up reads and the Template Manager writes: "korvath.dat" for 0,
// "varnok.dat" for 1 (any other product takes "korvath.dat").
const char* TemplateFileName(int product);

// The working list's edits. Each returns the message to show and leaves entries as they were,
// or returns empty text when it did the change.
inline constexpr const char* kTemplateNameExists = "The specified template name exist already.";
// Appends a new template (name checked with TemplateWordProblem, then against every name without
// regard to case: kTemplateNameExists).
std::string AddTemplateEntry(CTemplateEntries& entries, std::string_view name,
                             std::string_view basedOn, std::string_view params);
// Removes entry index unless another entry is based on it (names compared without regard to
// case): then the message names both entries' numbers (1-based positions).
std::string DeleteTemplateEntry(CTemplateEntries& entries, int index);

// Whether entry is shown in the Template Manager's list. usedOnly: only when levelTemplates holds
// a template of exactly the same name (case-sensitive); simpleOnly: not when its name begins with
// "+" or "_". Without a level (null) every entry is shown.
bool TemplateShown(const CQzlTemplate& entry, const CTemplateEntries* levelTemplates, bool usedOnly,
                   bool simpleOnly);

// The radius text of a 3DO model's text: the lines, lower-cased and trimmed, are read up to the
// first that begins with "radius"; the rest of it after white space. Empty when no line does.
std::string ModelRadiusText(std::string_view modelText);

// "&Add 3do" on a parameter text: fileName (lower case) becomes the value of the first "model3d="
// (its value is the text up to a blank or tab; when that holds "3do", only the text through the
// end of the first "3do" is replaced; without "model3d=" " model3d=" and the name are appended),
// and the run of digits and "." after the first "size=" and after the first "movesize=" becomes
// radius (nothing is added without them). No other text is taken out or repeated.
std::string SpliceModelParams(std::string_view params, std::string_view fileName,
                              std::string_view radius);
// "&Add Cog": fileName becomes the value of the first "cog=" by the same rule with ".cog"
// (" cog=" and the name are appended without "cog=").
std::string SpliceCogParams(std::string_view params, std::string_view fileName);
