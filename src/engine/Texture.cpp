#include "engine/Texture.h"

#include "framework/StringUtil.h"

#include <array>
#include <span>

CTexture::CTexture(std::string_view material, std::string_view colorMap)
    : m_material(ToLowerAscii(material)), m_colorMap(ToLowerAscii(colorMap))
{}

CTexture::~CTexture()
{
    if (m_device != nullptr && m_surface != kNoTexture)
        m_device->ReleaseTexture(m_surface);
}

std::vector<std::uint16_t> CTexture::CelTexels(int cel) const
{
    std::vector<std::uint16_t> texels;
    if (!m_image || m_image->IsEmpty() || cel < 0 || cel >= m_image->GetCelCount())
        return texels;
    const CBitmapImage& image = *m_image;
    const auto width = static_cast<std::size_t>(image.GetWidth());
    const auto height = static_cast<std::size_t>(image.GetHeight());
    const std::size_t rowBytes = image.GetRowBytes();
    const std::uint8_t* cels =
        image.GetBits().data() + static_cast<std::size_t>(cel) * image.GetCelBytes();
    texels.resize(width * height);

    if (image.GetBitsPerPixel() == 8) {
        std::array<std::uint16_t, 256> lookup{};
        for (std::size_t i = 0; i < 256; ++i) {
            const RGBQUAD& c = image.GetInfo()->bmiColors[i];
            lookup[i] = static_cast<std::uint16_t>(((c.rgbRed >> 3) << 11) |
                                                   ((c.rgbGreen >> 2) << 5) | (c.rgbBlue >> 3));
        }
        for (std::size_t y = 0; y < height; ++y)
            for (std::size_t x = 0; x < width; ++x)
                texels[y * width + x] = lookup[cels[y * rowBytes + x]];
        return texels;
    }
    // 16 bits: 5-5-5 words; green takes one more bit.
    for (std::size_t y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint8_t* p = cels + y * rowBytes + 2 * x;
            const unsigned v = static_cast<unsigned>(p[0] | (p[1] << 8));
            const unsigned r = (v >> 10) & 0x1F;
            const unsigned g = (v >> 5) & 0x1F;
            const unsigned b = v & 0x1F;
            texels[y * width + x] =
                static_cast<std::uint16_t>((r << 11) | (((g << 1) | (g >> 4)) << 5) | b);
        }
    }
    return texels;
}

int CTexture::UploadNextCel()
{
    const int celCount = m_image ? m_image->GetCelCount() : 0;
    if (celCount < 1)
        return 1;
    ++m_currentCel;
    if (m_currentCel >= celCount || m_currentCel < 0)
        m_currentCel = m_restartCel >= 0 && m_restartCel < celCount ? m_restartCel : 0;
    if (m_device == nullptr || m_surface == kNoTexture)
        return 1;
    const std::vector<std::uint16_t> texels = CelTexels(m_currentCel);
    return m_device->UploadTexture(m_surface, std::as_bytes(std::span(texels))) ? 0 : 1;
}
