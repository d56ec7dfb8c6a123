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
