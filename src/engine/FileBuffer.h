#pragma once
// A text file held in one block for the model and keyframe scanners: the file's bytes, a read
// cursor and the end of the data. The scanners do not parse the text; they look for each keyword
// they expect ahead of the cursor and take the token behind it, so extra lines and values are
// passed over. Every search and every token stays inside the data.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CFileBuffer {
public:
    CFileBuffer() = default;
    // A copy of bytes; name is the file's name, used in error messages.
    CFileBuffer(std::span<const std::uint8_t> bytes, std::string name);

    // The line scanner:
    //  1. While the cursor is on a "#": moves to the first CR or LF at or after it and then two
    //     characters further (a comment line ended by a two-character line end is skipped).
    //  2. Finds keyword from the cursor on (exact, case-sensitive; an empty keyword matches at the
    //     cursor) and moves behind it.
    //  3. Skips spaces and tabs.
    //  4. The token runs up to the first LF, CR, tab or character of extraDelimiters, or to the
    //     end of the data.
    //  5. Moves behind that character and skips tabs, LF and CR.
    // Returns false, with token empty and the cursor at the end of the data, when the keyword does
    // not occur in the rest of the data, or when the keyword is empty and no data is left.
    bool ReadModelLine(std::string_view keyword, std::string& token,
                       std::string_view extraDelimiters);

    const std::string& GetName() const { return m_name; }
    std::size_t GetSize() const { return m_data.size(); }
    std::size_t GetCursor() const { return m_cursor; }

private:
    std::string m_name;
    std::string m_data;
    std::size_t m_cursor = 0;
};
