#pragma once
// The engine's texture cache: one CTexture per (material, colour map) pair, made on first use,
// kept in ascending order of material name and, for equal names, of colour-map name (lower
// case, compared byte by byte) and never evicted. Textures are decoded on the CPU; when the
// cache has a device, each texture gets a 16-bit device texture holding its current cel.

#include "engine/AssetSources.h"
#include "engine/RenderDevice.h"
#include "engine/Texture.h"

#include <memory>
#include <string_view>
#include <vector>

class CQzlSections;

class CTextureCache {
public:
    // device may be null: textures are then decoded and measured but never uploaded. The device
    // must outlive the cache, whose textures release their device textures when they go.
    explicit CTextureCache(RenderDevice* device = nullptr);
    // Deletes every texture, the last first.
    ~CTextureCache();
    CTextureCache(const CTextureCache&) = delete;
    CTextureCache& operator=(const CTextureCache&) = delete;

    // The cached texture for (material, colorMap), letter case ignored, made and inserted when
    // missing. Null, with nothing added, for an empty material name or when neither the
    // material nor "dflt.mat" can be decoded.
    CTexture* GetTexture(const CAssetSources& sources, std::string_view material,
                         std::string_view colorMap);

    // A new texture of the two names with its image, size and device texture; null when
    // DecodeMaterial finds nothing to decode.
    std::unique_ptr<CTexture> CreateTexture(const CAssetSources& sources, std::string_view material,
                                            std::string_view colorMap);

    // Replaces the texture's device texture by a new one of its size and uploads a cel: cel 0 of
    // a one-cel texture, the last cel of an animated one.
    void CreateTextureSurface(CTexture& texture);

    // Fetches into the cache the texture of every surface of sector that has a material, through
    // the sector's colour map. Nothing happens without an open game archive or for a sector out
    // of range; materials and colour maps out of range are passed over. The caller rebuilds the
    // sector's render data afterwards.
    void ReloadSectorTextures(const CAssetSources& sources, const CQzlSections& level, int sector);

    // Decodes anew every texture decoded through colorMap (letter case ignored), after the colour
    // map's bytes changed: each keeps its place (surfaces and models still point at it) and gets
    // the new image and device texture. A texture that no longer decodes keeps its old image.
    void RedecodeColorMap(const CAssetSources& sources, std::string_view colorMap);

    // Deletes every texture, the last first.
    void Clear();

    RenderDevice* GetDevice() const { return m_device; }
    const std::vector<std::unique_ptr<CTexture>>& GetTextures() const { return m_textures; }

private:
    RenderDevice* m_device;
    std::vector<std::unique_ptr<CTexture>> m_textures;
};
