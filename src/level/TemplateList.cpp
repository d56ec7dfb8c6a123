#include "level/TemplateList.h"

#include "framework/DataFolders.h"
#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzlTemplate.h"
#include "resources/GameIndex.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>

namespace {

// Ends of a word in a template line, and the white space skipped between words.
constexpr std::string_view kWordEnds = " \t\r\n";
constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

std::string_view TakeWord(std::string_view& text)
{
    const std::size_t end = std::min(text.find_first_of(kWordEnds), text.size());
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(end);
    const std::size_t next = std::min(text.find_first_not_of(kWhiteSpace), text.size());
    text.remove_prefix(next);
    return word;
}

}  // namespace

std::vector<std::unique_ptr<CQzlTemplate>> ReadTemplateList(std::string_view text)
{
    std::vector<std::unique_ptr<CQzlTemplate>> templates;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view raw = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);

        const std::string line = ToLowerAscii(raw);
        if (line.empty())
            break;
        std::string_view rest = line;
        const std::string_view name = TakeWord(rest);
        const std::string_view basedOn = TakeWord(rest);
        templates.push_back(MakeTemplate(name, basedOn, rest));
    }
    return templates;
}

bool LoadTemplateFile(CGameResources& resources, const std::filesystem::path& file)
{
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadFileBytes(file);
    } catch (const CFileException&) {
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    resources.m_templates = ReadTemplateList(text);
    return true;
}

std::unique_ptr<CQzlTemplate> MakeTemplate(std::string_view name, std::string_view basedOn,
                                           std::string_view params)
{
    auto entry = std::make_unique<CQzlTemplate>();
    entry->m_name = name;
    entry->m_basedOn = basedOn;
    entry->m_params = params;
    const std::size_t model = params.find("model3d=");
    if (model != std::string_view::npos) {
        const std::string_view value = params.substr(model + 8);
        entry->m_model = value.substr(0, value.find_first_of(" \t"));
    }
    return entry;
}

std::string TemplateWordProblem(std::string_view word, std::string_view label)
{
    if (word.empty())
        return "The template " + std::string(label) + " is empty.";
    if (word.find_first_of(kWhiteSpace) != std::string_view::npos)
        return "The template " + std::string(label) + " \"" + std::string(word) +
               "\" cannot hold blanks, tabs or line breaks.";
    return {};
}

namespace {

void AppendPadded(std::string& line, std::string_view word)
{
    line += word;
    if (word.size() < 20)
        line.append(20 - word.size(), ' ');
}

}  // namespace

std::string TemplateFileLine(const CQzlTemplate& entry)
{
    std::string params = entry.m_params;
    std::replace_if(
        params.begin(), params.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    const std::size_t first = std::min(params.find_first_not_of(kWhiteSpace), params.size());
    const std::size_t last = params.find_last_not_of(kWhiteSpace);
    params = last == std::string::npos ? std::string() : params.substr(first, last + 1 - first);

    std::string line;
    AppendPadded(line, entry.m_name);
    line += ' ';
    AppendPadded(line, entry.m_basedOn.empty() ? std::string_view("none") : entry.m_basedOn);
    line += ' ';
    line += params;
    line += '\n';
    return line;
}

bool TemplateListText(const CTemplateEntries& entries, std::string& text, std::string& problem)
{
    text.clear();
    problem.clear();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i])
            continue;  // an empty record has no line
        const CQzlTemplate& entry = *entries[i];
        problem = TemplateWordProblem(entry.m_name, "name");
        if (problem.empty() && !entry.m_basedOn.empty())
            problem = TemplateWordProblem(entry.m_basedOn, "based-on name");
        if (!problem.empty()) {
            problem = "Template #" + std::to_string(i + 1) + ": " + problem;
            return false;
        }
        text += TemplateFileLine(entry);
    }
    return true;
}

std::string SaveTemplateList(CGameResources& resources, const CDataFolders& dataFolders,
                             std::string_view fileName, const CTemplateEntries& entries)
{
    std::string text;
    std::string problem;
    if (!TemplateListText(entries, text, problem))
        return problem;
    try {
        dataFolders.Write(
            fileName, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    } catch (const CFileException& e) {
        return std::string(e.what()) + "\nThe template list was not changed.";
    }
    resources.m_templates = ReadTemplateList(text);
    return {};
}

const char* TemplateFileName(int product)
{
    if (const CProductFiles* files = GetProductFiles(product))
        return files->m_templateFile;
    return product == 1 ? "varnok.dat" : "korvath.dat";
}

std::string AddTemplateEntry(CTemplateEntries& entries, std::string_view name,
                             std::string_view basedOn, std::string_view params)
{
    if (std::string problem = TemplateWordProblem(name, "name"); !problem.empty())
        return problem;
    for (const auto& entry : entries)
        if (entry && EqualsNoCase(entry->m_name, name))
            return kTemplateNameExists;
    entries.push_back(MakeTemplate(name, basedOn, params));
    return {};
}

std::string DeleteTemplateEntry(CTemplateEntries& entries, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size() ||
        !entries[static_cast<std::size_t>(index)])
        return {};
    const std::string& name = entries[static_cast<std::size_t>(index)]->m_name;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (static_cast<int>(i) == index || !entries[i] ||
            !EqualsNoCase(entries[i]->m_basedOn, name))
            continue;
        return "The selected template entry at #" + std::to_string(index + 1) +
               " cannot be\ndeleted since it is referenced at entry #" + std::to_string(i + 1) +
               ".";
    }
    entries.erase(entries.begin() + index);
    return {};
}

bool TemplateShown(const CQzlTemplate& entry, const CTemplateEntries* levelTemplates, bool usedOnly,
                   bool simpleOnly)
{
    if (levelTemplates == nullptr)
        return true;
    if (usedOnly &&
        std::none_of(levelTemplates->begin(), levelTemplates->end(),
                     [&entry](const auto& used) { return used && used->m_name == entry.m_name; }))
        return false;
    return !(simpleOnly && !entry.m_name.empty() &&
             (entry.m_name.front() == '+' || entry.m_name.front() == '_'));
}

std::string ModelRadiusText(std::string_view modelText)
{
    while (!modelText.empty()) {
        const std::size_t end = std::min(modelText.find('\n'), modelText.size());
        const std::string line = TrimBlanks(ToLowerAscii(modelText.substr(0, end)));
        modelText.remove_prefix(std::min(end + 1, modelText.size()));
        if (line.starts_with("radius")) {
            std::string_view rest = std::string_view(line).substr(6);
            rest.remove_prefix(std::min(rest.find_first_not_of(kWhiteSpace), rest.size()));
            return std::string(rest);
        }
    }
    return {};
}

namespace {

// fileName as the value of the first key= of params (see SpliceModelParams); ending is the file
// ending whose end closes the replaced text when the value holds it.
std::string SpliceValue(std::string_view params, std::string_view key, std::string_view ending,
                        std::string_view fileName)
{
    const std::size_t at = params.find(key);
    if (at == std::string_view::npos)
        return std::string(params) + " " + std::string(key) + std::string(fileName);
    const std::size_t start = at + key.size();
    const std::string_view value = params.substr(start, params.find_first_of(" \t", start) - start);
    const std::size_t end = value.find(ending);
    const std::size_t length = end == std::string_view::npos ? value.size() : end + ending.size();
    return std::string(params.substr(0, start)) + std::string(fileName) +
           std::string(params.substr(start + length));
}

// radius in place of the run of digits and "." after the first key.
std::string SpliceNumber(std::string text, std::string_view key, std::string_view radius)
{
    const std::size_t at = text.find(key);
    if (at == std::string::npos)
        return text;
    const std::size_t start = at + key.size();
    const std::size_t end = std::min(text.find_first_not_of("0123456789.", start), text.size());
    text.replace(start, end - start, radius);
    return text;
}

}  // namespace

std::string SpliceModelParams(std::string_view params, std::string_view fileName,
                              std::string_view radius)
{
    std::string text = SpliceValue(params, "model3d=", "3do", fileName);
    text = SpliceNumber(std::move(text), "size=", radius);
    return SpliceNumber(std::move(text), "movesize=", radius);
}

std::string SpliceCogParams(std::string_view params, std::string_view fileName)
{
    return SpliceValue(params, "cog=", ".cog", fileName);
}
