#include "engine/Texture.h"

#include "framework/StringUtil.h"

#include <algorithm>
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

namespace {

// width x height texels of image's depth from rows of rowBytes bytes each, row 0 first, as 5-6-5.
std::vector<std::uint16_t> DecodeTexels(const CBitmapImage& image, const std::uint8_t* rows,
                                        std::size_t rowBytes, std::size_t width, std::size_t height)
{
    std::vector<std::uint16_t> texels(width * height);
    if (image.GetBitsPerPixel() == 8) {
        std::array<std::uint16_t, 256> lookup{};
        for (std::size_t i = 0; i < 256; ++i) {
            const RGBQUAD& c = image.GetInfo()->bmiColors[i];
            lookup[i] = static_cast<std::uint16_t>(((c.rgbRed >> 3) << 11) |
                                                   ((c.rgbGreen >> 2) << 5) | (c.rgbBlue >> 3));
        }
        for (std::size_t y = 0; y < height; ++y)
            for (std::size_t x = 0; x < width; ++x)
                texels[y * width + x] = lookup[rows[y * rowBytes + x]];
        return texels;
    }
    // 16 bits: 5-5-5 words; green takes one more bit.
    for (std::size_t y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint8_t* p = rows + y * rowBytes + 2 * x;
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

}  // namespace

std::vector<std::uint16_t> CTexture::CelTexels(int cel) const
{
    if (!m_image || m_image->IsEmpty() || cel < 0 || cel >= m_image->GetCelCount())
        return {};
    const CBitmapImage& image = *m_image;
    return DecodeTexels(
        image, image.GetBits().data() + static_cast<std::size_t>(cel) * image.GetCelBytes(),
        image.GetRowBytes(), static_cast<std::size_t>(image.GetWidth()),
        static_cast<std::size_t>(image.GetHeight()));
}

std::vector<CTexelLevel> CTexture::CelMipChain(int cel) const
{
    std::vector<CTexelLevel> chain;
    std::vector<std::uint16_t> full = CelTexels(cel);
    if (full.empty())
        return chain;
    const CBitmapImage& image = *m_image;
    chain.push_back({image.GetWidth(), image.GetHeight(), std::move(full)});
    const std::size_t bytesPerPixel = static_cast<std::size_t>(image.GetBitsPerPixel() / 8);
    for (const std::vector<std::uint8_t>& level : image.GetCelMipLevels(cel)) {
        const int width = std::max(chain.back().m_width / 2, 1);
        const int height = std::max(chain.back().m_height / 2, 1);
        const std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel;
        if (level.size() != rowBytes * static_cast<std::size_t>(height))
            break;  // the reader keeps only whole levels; anything else is made anew
        chain.push_back(
            {width, height,
             DecodeTexels(image, level.data(), rowBytes, static_cast<std::size_t>(width),
                          static_cast<std::size_t>(height))});
    }
    return CompleteMipChain(std::move(chain));
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
    const std::vector<CTexelLevel> chain = CelMipChain(m_currentCel);
    std::vector<std::span<const std::byte>> levels;
    levels.reserve(chain.size());
    for (const CTexelLevel& level : chain)
        levels.push_back(std::as_bytes(std::span(level.m_texels)));
    return m_device->UploadTextureLevels(m_surface, levels) ? 0 : 1;
}
