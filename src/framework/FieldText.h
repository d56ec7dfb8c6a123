#pragma once
// The texts of the form views' edit boxes: numbers as the forms show and read them, always in the
// C locale. A reader returns false for a text that holds no number and leaves the value as it was.

#include <cstdint>
#include <string>
#include <string_view>

// A float with six significant digits ("%.6g"): 0.5 → "0.5", 1e+07 → "1e+07".
std::string FloatFieldText(double value);
// A flag word in upper-case hexadecimal with the prefix "0x": 0x4000 → "0x4000", 0 → "0x0".
std::string HexFieldText(std::uint32_t value);

// The whole text, blanks around it allowed, is one number: "1.5", " -2e3 ". "1.5x" and "" are not.
bool ReadFloatField(std::string_view text, double& value);
// The whole text, blanks around it allowed, is one decimal integer within int's range.
bool ReadIntField(std::string_view text, int& value);
// A flag word: at most the first 29 characters are read; a text with an "x" or "X" anywhere is
// read as hexadecimal from its start ("0x1f" and "1F x" are 31), any other as decimal ("31" is 31,
// "1f" is 1: the number at its start). A text with no number at its start leaves value as it was.
bool ReadHexField(std::string_view text, std::uint32_t& value);
