#include "engine/TextureCache.h"

#include "engine/DecodeMaterial.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"

#include <string>
#include <utility>

CTextureCache::CTextureCache(RenderDevice* device) : m_device(device) {}

CTextureCache::~CTextureCache()
{
    Clear();
}

void CTextureCache::Clear()
{
    while (!m_textures.empty())
        m_textures.pop_back();
}

CTexture* CTextureCache::GetTexture(const CAssetSources& sources, std::string_view material,
                                    std::string_view colorMap)
{
    const std::string materialName = ToLowerAscii(material);
    const std::string colorMapName = ToLowerAscii(colorMap);

    // Binary search by material name, then colour-map name.
    std::size_t low = 0;
    std::size_t high = m_textures.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        const CTexture& texture = *m_textures[middle];
        int cmp = texture.m_material.compare(materialName);
        if (cmp == 0)
            cmp = texture.m_colorMap.compare(colorMapName);
        if (cmp == 0)
            return m_textures[middle].get();
        if (cmp < 0)
            low = middle + 1;
        else
            high = middle;
    }
    if (materialName.empty())
        return nullptr;
    std::unique_ptr<CTexture> texture = CreateTexture(sources, materialName, colorMapName);
    if (!texture)
        return nullptr;
    CTexture* result = texture.get();
    m_textures.insert(m_textures.begin() + static_cast<std::ptrdiff_t>(low), std::move(texture));
    return result;
}

std::unique_ptr<CTexture> CTextureCache::CreateTexture(const CAssetSources& sources,
                                                       std::string_view material,
                                                       std::string_view colorMap)
{
    auto texture = std::make_unique<CTexture>(material, colorMap);
    texture->m_image = DecodeMaterial(sources, texture->m_material, texture->m_colorMap);
    if (!texture->m_image)
        return nullptr;
    texture->m_width = texture->m_image->GetWidth();
    texture->m_height = texture->m_image->GetHeight();
    CreateTextureSurface(*texture);
    return texture;
}

void CTextureCache::CreateTextureSurface(CTexture& texture)
{
    if (texture.m_device != nullptr && texture.m_surface != kNoTexture)
        texture.m_device->ReleaseTexture(texture.m_surface);
    texture.m_device = m_device;
    texture.m_surface = kNoTexture;
    if (m_device != nullptr && texture.m_width > 0 && texture.m_height > 0)
        texture.m_surface =
            m_device->CreateTexture(texture.m_width, texture.m_height, TextureFormat::Rgb565);
    texture.m_currentCel = (texture.m_image ? texture.m_image->GetCelCount() : 1) - 2;
    texture.UploadNextCel();
}

void CTextureCache::RedecodeColorMap(const CAssetSources& sources, std::string_view colorMap)
{
    const std::string name = ToLowerAscii(colorMap);
    for (const std::unique_ptr<CTexture>& texture : m_textures) {
        if (!texture || texture->m_colorMap != name)
            continue;
        std::unique_ptr<CBitmapImage> image =
            DecodeMaterial(sources, texture->m_material, texture->m_colorMap);
        if (!image)
            continue;
        texture->m_image = std::move(image);
        texture->m_width = texture->m_image->GetWidth();
        texture->m_height = texture->m_image->GetHeight();
        CreateTextureSurface(*texture);
    }
}

void CTextureCache::ReloadSectorTextures(const CAssetSources& sources, const CQzlSections& level,
                                         int sector)
{
    if (sources.m_game == nullptr || sources.m_game->m_archive == nullptr)
        return;
    if (sector < 0 || static_cast<std::size_t>(sector) >= level.m_sectors.size())
        return;
    const CQzlSector& record = *level.m_sectors[static_cast<std::size_t>(sector)];
    std::string colorMap;
    if (record.m_colormap >= 0 &&
        static_cast<std::size_t>(record.m_colormap) < level.m_colormaps.size())
        colorMap = level.m_colormaps[static_cast<std::size_t>(record.m_colormap)];
    for (const std::int32_t s : record.m_surfaces) {
        if (s < 0 || static_cast<std::size_t>(s) >= level.m_surfaces.size())
            continue;
        const std::int32_t material = level.m_surfaces[static_cast<std::size_t>(s)]->m_material;
        if (material < 0 || static_cast<std::size_t>(material) >= level.m_materials.size())
            continue;
        GetTexture(sources, level.m_materials[static_cast<std::size_t>(material)]->m_name,
                   colorMap);
    }
}
