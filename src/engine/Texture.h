#pragma once
// One texture of the engine's texture cache: a material decoded through a colour map, all its
// cels, and the device texture that shows the current cel. The cache owns it; surfaces and
// models only point at it.

#include "engine/BitmapImage.h"
#include "engine/RenderDevice.h"
#include "engine/TextureMips.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CTexture {
public:
    // The names are kept in lower case.
    CTexture(std::string_view material, std::string_view colorMap);
    // Releases the device texture.
    ~CTexture();
    CTexture(const CTexture&) = delete;
    CTexture& operator=(const CTexture&) = delete;

    // Moves to the next cel (after the last cel, or from a cel out of range, to the restart cel)
    // and copies it with its mip chain (CelMipChain) into the device texture as 16-bit 5-6-5
    // texels, stored row 0 at the top. 0 on success; non-zero when there is no device texture or
    // the device refuses the texels.
    int UploadNextCel();

    // The texels of cel as the device receives them: width x height 5-6-5 words, row 0 first.
    // Empty without an image or for a cel out of range.
    std::vector<std::uint16_t> CelTexels(int cel) const;

    // Every mip level of cel, the full-size one (CelTexels) first, down to 1 x 1: the material
    // file's own levels of the cel where it holds them, the levels below them made by
    // CompleteMipChain. Empty without an image or for a cel out of range.
    std::vector<CTexelLevel> CelMipChain(int cel) const;

    std::string m_material;  // lower case
    std::string m_colorMap;  // lower case
    int m_height = 0;        // of one cel, in texels
    int m_width = 0;
    int m_currentCel = 0;  // the cel now in the device texture
    int m_restartCel = 0;  // the cel that follows the last one
    // The cel animation of walk mode.
    float m_timer = 0.0f;
    float m_secondsPerCel = 0.0f;
    int m_loop = 0;
    std::unique_ptr<CBitmapImage> m_image;
    // The device texture and the device that made it; kNoTexture and null when there is none.
    RenderDevice* m_device = nullptr;
    TextureId m_surface = kNoTexture;
};
