#include "framework/FieldText.h"

#include "framework/CFormat.h"
#include "framework/StringUtil.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

std::string FloatFieldText(double value)
{
    return FormatC("%.6g", value);
}

std::string HexFieldText(std::uint32_t value)
{
    return FormatC("0x%X", value);
}

bool ReadFloatField(std::string_view text, double& value)
{
    const std::string trimmed = TrimBlanks(text);
    if (trimmed.empty())
        return false;
    char* end = nullptr;
    const double read = StrtodC(trimmed.c_str(), &end);
    if (end != trimmed.c_str() + trimmed.size())
        return false;
    value = read;
    return true;
}

bool ReadIntField(std::string_view text, int& value)
{
    const std::string trimmed = TrimBlanks(text);
    if (trimmed.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long read = std::strtol(trimmed.c_str(), &end, 10);
    if (end != trimmed.c_str() + trimmed.size() || errno == ERANGE || read < INT_MIN ||
        read > INT_MAX)
        return false;
    value = static_cast<int>(read);
    return true;
}

bool ReadHexField(std::string_view text, std::uint32_t& value)
{
    const std::string head(text.substr(0, 29));
    const bool hex = head.find_first_of("xX") != std::string::npos;
    unsigned int read = 0;
    int signedRead = 0;
    if (hex) {
        if (ScanC(head.c_str(), "%x", &read) != 1)
            return false;
    } else {
        if (ScanC(head.c_str(), "%d", &signedRead) != 1)
            return false;
        read = static_cast<unsigned int>(signedRead);
    }
    value = read;
    return true;
}
