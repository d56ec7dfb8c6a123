#pragma once
// The text operations of the Multi Level Editor's entries: the string lists of the three text
// controls, the entry made from a level's document fields, and the numbers a new entry takes.

#include "episode/MultiLevelItem.h"
#include "level/QzeFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Cuts text at each CR LF: every piece up to the next CR LF is one string, an empty piece too,
// until the text is used up ("a\r\n\r\nb" gives "a", "" and "b"; "a\r\n" gives "a" alone).
std::vector<std::string> SplitAtCrLf(std::string_view text);
// Every string followed by CR LF (the inverse of SplitAtCrLf).
std::string JoinWithCrLf(const std::vector<std::string>& strings);

// A base typed as text: its decimal value as atoi reads it ("2500x" gives 2500), or value when the
// text does not begin with a number (an empty or a misspelt field keeps the base it had).
std::int32_t BaseFromText(const std::string& text, std::int32_t value);

// A new entry for the level at levelPath opened with fields: the path, the file name up to its
// last '.', the level kind and the two powers (a value outside its list gives 0, so that the
// entry can be stored and read back), and from the message text line by line: a line containing
// "_TEXT_" adds its string to the texts, else one containing "GOAL_" to the goals, else one
// containing "COG_" to the cogs; lines beginning with "MSGS" or "END" are skipped, and any other
// line gives the title. A line's string is the quoted text after its quoted key; a line without
// one gives nothing.
std::unique_ptr<CMultiLevelItem> EntryFromLevel(const std::string& levelPath,
                                                const CDocumentFields& fields);

// The number an entry added as the n-th takes: preferred (10 x n, 1000 x n) when no entry of
// items uses it already, else the first multiple of step above the largest in use.
enum class EEntryNumber {
    lineNumber,
    goalsBase,
    cogsBase
};
std::int32_t FreeEntryNumber(const std::vector<std::unique_ptr<CMultiLevelItem>>& items,
                             EEntryNumber which, std::int32_t preferred, std::int32_t step);

// Appends entry to items with its line number (10 x n), goals base and cogs base (1000 x n) taken
// so that none is in use (n the new number of entries), and makes the previous entry's goto A
// the new line number.
void AppendEntry(std::vector<std::unique_ptr<CMultiLevelItem>>& items,
                 std::unique_ptr<CMultiLevelItem> entry);
