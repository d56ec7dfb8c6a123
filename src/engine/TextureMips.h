#pragma once
// Mip levels of a texture as the device receives them: 5-6-5 texels, row 0 first. Levels the
// material file lacks are made here by a 2x2 box filter, so every device shows the same picture.

#include <cstdint>
#include <vector>

struct CTexelLevel {
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint16_t> m_texels;  // m_width x m_height, row 0 first

    friend bool operator==(const CTexelLevel&, const CTexelLevel&) = default;
};

// The level below level: max(1, width / 2) x max(1, height / 2) texels, each the rounded mean of
// the red, green and blue of the 2x2 texels it covers (of the 2 or 1 where a side is 1 texel).
// An odd last row or column is left out. An empty level gives an empty one.
CTexelLevel HalveTexels(const CTexelLevel& level);

// chain (the full-size level first, each next one half the one before) extended by HalveTexels
// until its last level is 1 x 1. Empty when chain is.
std::vector<CTexelLevel> CompleteMipChain(std::vector<CTexelLevel> chain);
