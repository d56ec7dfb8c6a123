#include "engine/TextureMips.h"

#include <algorithm>
#include <cstddef>

CTexelLevel HalveTexels(const CTexelLevel& level)
{
    CTexelLevel half;
    if (level.m_width < 1 || level.m_height < 1 ||
        level.m_texels.size() !=
            static_cast<std::size_t>(level.m_width) * static_cast<std::size_t>(level.m_height))
        return half;
    half.m_width = std::max(level.m_width / 2, 1);
    half.m_height = std::max(level.m_height / 2, 1);
    const int spanX = level.m_width > 1 ? 2 : 1;
    const int spanY = level.m_height > 1 ? 2 : 1;
    const unsigned count = static_cast<unsigned>(spanX * spanY);
    half.m_texels.resize(static_cast<std::size_t>(half.m_width) *
                         static_cast<std::size_t>(half.m_height));
    for (int y = 0; y < half.m_height; ++y) {
        for (int x = 0; x < half.m_width; ++x) {
            unsigned r = 0;
            unsigned g = 0;
            unsigned b = 0;
            for (int dy = 0; dy < spanY; ++dy) {
                for (int dx = 0; dx < spanX; ++dx) {
                    const std::size_t at = static_cast<std::size_t>(y * spanY + dy) *
                                               static_cast<std::size_t>(level.m_width) +
                                           static_cast<std::size_t>(x * spanX + dx);
                    const unsigned v = level.m_texels[at];
                    r += v >> 11;
                    g += (v >> 5) & 0x3F;
                    b += v & 0x1F;
                }
            }
            r = (r + count / 2) / count;
            g = (g + count / 2) / count;
            b = (b + count / 2) / count;
            half.m_texels[static_cast<std::size_t>(y) * static_cast<std::size_t>(half.m_width) +
                          static_cast<std::size_t>(x)] =
                static_cast<std::uint16_t>((r << 11) | (g << 5) | b);
        }
    }
    return half;
}

std::vector<CTexelLevel> CompleteMipChain(std::vector<CTexelLevel> chain)
{
    while (!chain.empty() && (chain.back().m_width > 1 || chain.back().m_height > 1)) {
        CTexelLevel next = HalveTexels(chain.back());
        if (next.m_texels.empty())
            break;
        chain.push_back(std::move(next));
    }
    return chain;
}
