#include "level/TemplateList.h"

#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzlTemplate.h"

#include <algorithm>
#include <cstdint>
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
        auto entry = std::make_unique<CQzlTemplate>();
        entry->m_name = TakeWord(rest);
        entry->m_basedOn = TakeWord(rest);
        entry->m_params = rest;
        const std::size_t model = entry->m_params.find("model3d=");
        if (model != std::string::npos) {
            const std::string_view value = std::string_view(entry->m_params).substr(model + 8);
            entry->m_model = value.substr(0, value.find_first_of(" \t"));
        }
        templates.push_back(std::move(entry));
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
