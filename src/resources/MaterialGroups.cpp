#include "resources/MaterialGroups.h"

#include "framework/DataFolders.h"
#include "framework/StringUtil.h"

#include <cstdint>
#include <exception>

namespace {

// Calls visit(line) for every line of text, lower-cased, without its line end.
template <class Visit>
void ForEachLine(std::string_view text, Visit visit)
{
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!visit(ToLowerAscii(line)))
            return;
    }
}

std::string FirstWord(const std::string& line)
{
    return line.substr(0, line.find(' '));
}

std::string LineMaterial(const std::string& line)
{
    const std::size_t last = line.rfind(' ');
    return last == std::string::npos ? line : line.substr(last + 1);
}

}  // namespace

std::vector<CMaterialGroupLine> ReadMaterialGroups(std::string_view text)
{
    std::vector<CMaterialGroupLine> lines;
    std::string group;
    ForEachLine(text, [&](const std::string& line) {
        std::string first = FirstWord(line);
        const bool starts = !first.empty();
        if (starts)
            group = std::move(first);
        lines.push_back({group, LineMaterial(line), starts});
        return true;
    });
    return lines;
}

std::string MaterialGroupDisplayName(std::string_view group)
{
    std::string name(group);
    if (!name.empty())
        name[0] = ToUpperAscii(name.substr(0, 1))[0];
    return name;
}

std::vector<std::string> MaterialGroupNames(const std::vector<CMaterialGroupLine>& lines)
{
    std::vector<std::string> names;
    for (const CMaterialGroupLine& line : lines)
        if (line.m_startsGroup)
            names.push_back(MaterialGroupDisplayName(line.m_group));
    return names;
}

std::vector<std::string> ReadSwitchMaterials(std::string_view text)
{
    std::vector<std::string> materials;
    bool started = false;
    ForEachLine(text, [&](const std::string& line) {
        const std::string first = FirstWord(line);
        if (first == "switch")
            started = true;
        else if (started && !first.empty())
            return false;  // the next group begins
        if (started && !line.empty())
            materials.push_back(LineMaterial(line));
        return true;
    });
    return materials;
}

std::string ReadMaterialGroupText(const CDataFolders& folders)
{
    try {
        const std::vector<std::uint8_t> bytes = folders.Read(kMaterialGroupFile);
        return std::string(bytes.begin(), bytes.end());
    } catch (const std::exception&) {
        return {};
    }
}
