#include "engine/ColorMap.h"

#include "framework/CFormat.h"
#include "framework/Exceptions.h"

#include <algorithm>
#include <string>

void CColorMap::Read(std::span<const std::uint8_t> file, std::string_view fileName)
{
    if (file.size() < kSize)
        throw CArchiveException(
            CArchiveException::endOfFile,
            (fileName.empty() ? std::string("colour map") : std::string(fileName)) +
                FormatC(": %zu bytes are too few for a colour map of %zu bytes", file.size(),
                        kSize));
    m_bytes.assign(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(kSize));
}

CPalette CColorMap::GetPalette() const
{
    if (m_bytes.empty())
        return GreyRamp();
    CPalette palette{};
    std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(kPaletteOffset), palette.size(),
                palette.begin());
    return palette;
}

CPalette CColorMap::GreyRamp()
{
    CPalette palette{};
    for (std::size_t i = 0; i < 256; ++i)
        palette[3 * i] = palette[3 * i + 1] = palette[3 * i + 2] = static_cast<std::uint8_t>(i);
    return palette;
}
