#include "episode/MultiLevelEntries.h"

#include "framework/CFormat.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::string_view kCrLf = "\r\n";

// The quoted text after the line's quoted key: from the quote that follows the key's closing
// quote to the line's last quote. False when the line has no such text.
bool ValueString(std::string_view line, std::string& value)
{
    const std::size_t keyOpen = line.find('"');
    if (keyOpen == std::string_view::npos)
        return false;
    const std::size_t keyClose = line.find('"', keyOpen + 1);
    if (keyClose == std::string_view::npos)
        return false;
    const std::size_t open = line.find('"', keyClose + 1);
    const std::size_t close = line.rfind('"');
    if (open == std::string_view::npos || close <= open)
        return false;
    value.assign(line.substr(open + 1, close - open - 1));
    return true;
}

std::int32_t InList(std::int32_t value, std::int32_t count)
{
    return value >= 0 && value < count ? value : 0;
}

std::int32_t NumberOf(const CMultiLevelItem& item, EEntryNumber which)
{
    switch (which) {
    case EEntryNumber::lineNumber:
        return item.m_lineNumber;
    case EEntryNumber::goalsBase:
        return item.m_goalsBase;
    case EEntryNumber::cogsBase:
        return item.m_cogsBase;
    }
    return 0;
}

}  // namespace

std::vector<std::string> SplitAtCrLf(std::string_view text)
{
    std::vector<std::string> pieces;
    while (!text.empty()) {
        const std::size_t end = text.find(kCrLf);
        if (end == std::string_view::npos) {
            pieces.emplace_back(text);
            break;
        }
        pieces.emplace_back(text.substr(0, end));
        text.remove_prefix(end + kCrLf.size());
    }
    return pieces;
}

std::string JoinWithCrLf(const std::vector<std::string>& strings)
{
    std::string text;
    for (const std::string& each : strings) {
        text += each;
        text += kCrLf;
    }
    return text;
}

std::int32_t BaseFromText(const std::string& text, std::int32_t value)
{
    std::size_t at = text.find_first_not_of(" \t\n\r\f\v");
    if (at != std::string::npos && (text[at] == '+' || text[at] == '-'))
        ++at;
    if (at == std::string::npos || at >= text.size() || text[at] < '0' || text[at] > '9')
        return value;
    return AtoiC(text.c_str());
}

std::unique_ptr<CMultiLevelItem> EntryFromLevel(const std::string& levelPath,
                                                const CDocumentFields& fields)
{
    auto entry = std::make_unique<CMultiLevelItem>();
    entry->m_levelPath = levelPath;
    std::string name = levelPath;
    if (const std::size_t slash = name.find_last_of('/'); slash != std::string::npos)
        name.erase(0, slash + 1);
    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos)
        name.erase(dot);
    entry->m_fileName = name;
    entry->m_levelType = InList(fields.m_levelKind, 3);
    entry->m_lightPower = InList(fields.m_lightPower, CMultiLevelItem::kPowerCount);
    entry->m_darkPower = InList(fields.m_darkPower, CMultiLevelItem::kPowerCount);

    std::string_view text = fields.m_messageText;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.starts_with("MSGS") || line.starts_with("END"))
            continue;
        std::string value;
        if (!ValueString(line, value))
            continue;
        if (line.find("_TEXT_") != std::string_view::npos)
            entry->m_texts.push_back(std::move(value));
        else if (line.find("GOAL_") != std::string_view::npos)
            entry->m_goals.push_back(std::move(value));
        else if (line.find("COG_") != std::string_view::npos)
            entry->m_cogs.push_back(std::move(value));
        else
            entry->m_levelTitle = std::move(value);
    }
    return entry;
}

std::int32_t FreeEntryNumber(const std::vector<std::unique_ptr<CMultiLevelItem>>& items,
                             EEntryNumber which, std::int32_t preferred, std::int32_t step)
{
    const bool taken = std::any_of(items.begin(), items.end(), [&](const auto& item) {
        return NumberOf(*item, which) == preferred;
    });
    if (!taken)
        return preferred;
    std::int64_t largest = preferred;
    for (const auto& item : items)
        largest = std::max<std::int64_t>(largest, NumberOf(*item, which));
    // The first multiple of step above the largest (floor division, for negative values too).
    std::int64_t quotient = largest / step;
    if (largest % step != 0 && largest < 0)
        --quotient;
    const std::int64_t next = (quotient + 1) * step;
    if (next <= std::numeric_limits<std::int32_t>::max())
        return static_cast<std::int32_t>(next);
    // No multiple is left above the largest: the lowest positive multiple of step not in use
    // (the list holds fewer entries than there are multiples, so one is free).
    for (std::int64_t candidate = step; candidate <= std::numeric_limits<std::int32_t>::max();
         candidate += step) {
        const bool used = std::any_of(items.begin(), items.end(), [&](const auto& item) {
            return NumberOf(*item, which) == candidate;
        });
        if (!used)
            return static_cast<std::int32_t>(candidate);
    }
    return preferred;
}

void AppendEntry(std::vector<std::unique_ptr<CMultiLevelItem>>& items,
                 std::unique_ptr<CMultiLevelItem> entry)
{
    const std::int64_t n = static_cast<std::int64_t>(items.size()) + 1;
    const auto preferred = [n](std::int64_t factor) {
        return static_cast<std::int32_t>(
            std::min<std::int64_t>(n * factor, std::numeric_limits<std::int32_t>::max()));
    };
    entry->m_lineNumber = FreeEntryNumber(items, EEntryNumber::lineNumber, preferred(10), 10);
    entry->m_goalsBase = FreeEntryNumber(items, EEntryNumber::goalsBase, preferred(1000), 1000);
    entry->m_cogsBase = FreeEntryNumber(items, EEntryNumber::cogsBase, preferred(1000), 1000);
    if (!items.empty())
        items.back()->m_gotoA = entry->m_lineNumber;
    items.push_back(std::move(entry));
}
