#include "level/QzlLines.h"

#include "framework/CFormat.h"
#include "framework/Exceptions.h"

#include <cstring>

namespace {

bool IsScanSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void UpperInPlace(std::string& s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
}

void LowerInPlace(std::string& s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
}

}  // namespace

bool CQzlLineReader::ReadLine(std::string& line, std::size_t maxLength)
{
    m_lastStart = m_pos;
    m_lastLinesEnded = m_linesEnded;
    m_lastLineNumber = m_lineNumber;
    line.clear();
    const std::size_t size = m_text.size();
    if (m_pos >= size)
        return false;
    m_lineNumber = m_linesEnded + 1;

    const std::uint8_t* data = m_text.data();
    const std::size_t start = m_pos;
    const std::size_t limit = size - start < maxLength ? size : start + maxLength;
    std::size_t p = start;
    while (p < limit && data[p] != '\n' && data[p] != '\r')
        ++p;
    const std::size_t textEnd = p;
    // The line end is consumed only when it was reached within the length limit; a line cut at
    // the limit continues as the next line.
    if (p < limit) {
        if (data[p] == '\r') {
            ++p;
            if (p < size && data[p] == '\n')
                ++p;
        } else {
            ++p;
        }
        ++m_linesEnded;
    }
    m_pos = p;

    const void* nul = std::memchr(data + start, 0, textEnd - start);
    const std::size_t length =
        nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - (data + start))
            : textEnd - start;
    line.assign(reinterpret_cast<const char*>(data + start), length);
    return true;
}

bool CQzlLineReader::ReadNextLineBuf(std::string& line, bool keepComments)
{
    for (;;) {
        if (!ReadLine(line, kMaxLine))
            return false;
        if (line.empty() || (line[0] == '#' && !keepComments))
            continue;
        UpperInPlace(line);
        return true;
    }
}

bool CQzlLineReader::ReadNextLine(std::string& line)
{
    for (;;) {
        if (!ReadLine(line, std::string::npos))
            return false;
        if (line.empty() || line[0] == '#')
            continue;
        LowerInPlace(line);
        return true;
    }
}

void CQzlLineReader::UnreadLine()
{
    m_pos = m_lastStart;
    m_linesEnded = m_lastLinesEnded;
    m_lineNumber = m_lastLineNumber;
}

std::size_t MatchScanPrefix(std::string_view text, std::string_view keyword)
{
    std::size_t i = 0;
    for (const char k : keyword) {
        if (IsScanSpace(k)) {
            while (i < text.size() && IsScanSpace(text[i]))
                ++i;
        } else {
            if (i >= text.size() || text[i] != k)
                return std::string_view::npos;
            ++i;
        }
    }
    return i;
}

bool ScanKeywordCount(const std::string& line, std::string_view keyword, int& count)
{
    const std::size_t n = MatchScanPrefix(line, keyword);
    if (n == std::string_view::npos)
        return false;
    return ScanC(line.c_str() + n, " %d", &count) == 1;
}

int ReadKeywordLine(CQzlLineReader& reader, std::string& line, std::string_view keyword,
                    std::vector<std::string>& list, bool withIndex, int* announced)
{
    if (announced != nullptr)
        *announced = -1;
    if (!reader.ReadNextLineBuf(line))
        return 1;
    if (!HasKeyword(line, keyword)) {
        // A list that is missing altogether must not take the next section with it.
        if (HasKeyword(line, "SECTION")) {
            reader.UnreadLine();
            return 2;
        }
        return 0;
    }
    int count = 0;
    ScanKeywordCount(line, keyword, count);
    if (announced != nullptr)
        *announced = count;
    char name[CQzlLineReader::kMaxLine + 1];
    for (int i = 0; i < count; ++i) {
        if (!reader.ReadNextLineBuf(line))
            return 1;
        if (line.compare(0, 3, "END") == 0)
            return 0;
        name[0] = '\0';
        int index = 0;
        if (withIndex)
            ScanC(line.c_str(), "%d: %2048s", &index, name);
        else
            ScanC(line.c_str(), "%2048s", name);
        const std::size_t length = std::strlen(name);
        if (length > kMaxNameLength)
            throw CArchiveException(CArchiveException::badFormat,
                                    "Line " + std::to_string(reader.LineNumber()) +
                                        ": the name \"" + std::string(name, 24) + "...\" is " +
                                        std::to_string(length) +
                                        " characters long; names may have at most " +
                                        std::to_string(kMaxNameLength) + ".");
        list.emplace_back(name, length);
    }
    return 0;
}
