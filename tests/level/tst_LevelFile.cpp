// The form of a level file's content: one byte that no text holds, wherever it stands (in a
// block of the fast test or in the bytes after the last whole block), makes the file an archive;
// the loader, which tests the text as it reads its lines, decides as LevelFormOf does.

#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "level/LevelFile.h"
#include "level/QzlLines.h"
#include "level/QzlReader.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

bool IsTextByteReference(std::uint8_t b)
{
    return b >= 0x20 || (b >= 0x09 && b <= 0x0D) || b == 0x1A;
}

TEST(LevelFormOf, EveryByteValueAtEveryKindOfPlace)
{
    for (const std::size_t size : {std::size_t{1}, std::size_t{63}, std::size_t{64},
                                   std::size_t{65}, std::size_t{200}, std::size_t{4099}}) {
        for (const std::size_t at :
             {std::size_t{0}, std::size_t{15}, std::size_t{16}, std::size_t{63}, std::size_t{64},
              std::size_t{130}, size - 1}) {
            if (at >= size)
                continue;
            for (int value = 0; value < 256; ++value) {
                // Text that cannot pass for the archive's tag: its second byte is no 'Q'.
                std::vector<std::uint8_t> bytes(size, 'a');
                bytes[0] = '#';
                bytes[at] = static_cast<std::uint8_t>(value);
                const ELevelForm expected = IsTextByteReference(static_cast<std::uint8_t>(value))
                                                ? ELevelForm::text
                                                : ELevelForm::archive;
                EXPECT_EQ(LevelFormOf(bytes), expected)
                    << "byte " << value << " at " << at << " of " << size;
            }
        }
    }
    EXPECT_EQ(LevelFormOf({}), ELevelForm::text);
}

// What the loader makes of bytes: the form and the number of sounds read, or the message.
std::string Outcome(const std::function<CLevelFile()>& load)
{
    try {
        const CLevelFile file = load();
        return std::string(file.m_form == ELevelForm::text ? "text" : "archive") + ", " +
               std::to_string(file.m_contents.m_level.m_sounds.size()) + " sounds";
    } catch (const CArchiveException& e) {
        return std::string("refused: ") + e.what();
    }
}

// The loader as it decides with LevelFormOf before it reads.
CLevelFile LoadByFormFirst(const std::vector<std::uint8_t>& bytes, int product)
{
    CLevelFile file;
    file.m_form = LevelFormOf(bytes);
    if (file.m_form == ELevelForm::archive) {
        file.m_contents = ReadQzeBytes(bytes);
        return file;
    }
    file.m_contents.m_level = ReadWholeQzl(bytes, product);
    if (file.m_contents.m_level.m_gameTag.empty())
        throw CArchiveException(CArchiveException::badFormat,
                                "The file is not a Korvath/Varnok level file.");
    return file;
}

TEST(LoadLevelFile, TakesTheFormThatLevelFormOfGivesWhereverTheByteStands)
{
    const std::string comments(600, '#');
    const std::string longLine(CQzlLineReader::kMaxLine + 40, 'x');
    const std::string longName(100, 'n');
    struct CText {
        const char* name;
        std::string text;
    };
    const std::vector<CText> texts = {
        {"a level", "SECTION: QZ\n#" + comments +
                        "\nSECTION: SOUNDS\nWorld sounds 2\na.wav\nb.wav\n"
                        "end\n\n\n# last\n"},
        {"a level without its last line end",
         "SECTION: QZ\nSECTION: SOUNDS\nWorld sounds 1\na\nend"},
        {"a level with a line longer than the line reader takes",
         "SECTION: QZ\n" + longLine + "\nSECTION: SOUNDS\nWorld sounds 1\na\nend\n"},
        {"a level ended by the list it began", "SECTION: QZ\nSECTION: SOUNDS\nWorld sounds 3\na\n"},
        {"text that the reader refuses",
         "SECTION: QZ\nSECTION: SOUNDS\nWorld sounds 1\n" + longName + "\nend\n#" + comments},
        {"text without the level's section", "SECTION: SOUNDS\nWorld sounds 1\na\nend\n"},
    };
    const CTempFolder temp("level_form");
    const std::filesystem::path path = temp / "level.qzl";
    for (const CText& t : texts) {
        // Bytes at the first line, in a comment, after the first whole blocks of the test, in
        // the long line, and at the very end; with values that text holds and that it does not.
        for (const std::size_t at :
             {std::size_t{1}, std::size_t{13}, std::size_t{255}, std::size_t{256}, std::size_t{700},
              t.text.size() / 2, t.text.size() - 1, t.text.size()}) {
            for (const int value : {-1, 0x00, 0x01, 0x08, 0x0B, 0x1A, 0x1B, 0x1F, 0x7F, 0xFF}) {
                std::vector<std::uint8_t> bytes(t.text.begin(), t.text.end());
                if (value >= 0 && at < bytes.size())
                    bytes[at] = static_cast<std::uint8_t>(value);
                else if (value >= 0)
                    bytes.push_back(static_cast<std::uint8_t>(value));
                WriteFileAtomic(path, bytes);
                for (const int product : {0, 1}) {
                    EXPECT_EQ(Outcome([&] { return LoadLevelFile(path, product); }),
                              Outcome([&] { return LoadByFormFirst(bytes, product); }))
                        << t.name << ", byte " << value << " at " << at << ", product " << product;
                }
            }
        }
    }
}

// The line reader's own test of its text: bytes read or not, it says what HoldsOnlyText says.
TEST(LoadLevelFile, TheLineReaderTestsEveryByteOfItsText)
{
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line " + std::to_string(i) + (i % 3 == 0 ? "\r\n" : "\n");
    for (std::size_t at = 0; at < text.size(); at += 7) {
        for (const std::size_t linesRead : {std::size_t{0}, std::size_t{5}, std::size_t{1000}}) {
            std::vector<std::uint8_t> bytes(text.begin(), text.end());
            bytes[at] = 0x02;
            CQzlLineReader reader(bytes);
            std::string line;
            for (std::size_t i = 0; i < linesRead && reader.ReadLine(line); ++i) {
            }
            EXPECT_FALSE(reader.OnlyText()) << "at " << at << " after " << linesRead << " lines";
        }
    }
    CQzlLineReader whole(text);
    std::string line;
    while (whole.ReadLine(line)) {
    }
    EXPECT_TRUE(whole.OnlyText());
}

}  // namespace
