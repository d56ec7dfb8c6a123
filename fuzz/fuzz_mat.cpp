// Fuzz target: a MAT file through the material reader, the writer's round trip, and the texture
// cache's decode and upload of every cel onto the tests' recording device, which must see no
// misuse and get back every texture it made.

#include "engine/BitmapImage.h"
#include "engine/ColorMap.h"
#include "engine/TextureCache.h"
#include "framework/Exceptions.h"
#include "resources/Tree.h"
#include "support/RecordingRenderDevice.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> file(data, size);
    const CPalette palette = CColorMap::GreyRamp();
    CBitmapImage image;
    try {
        image.ReadMat(file, palette, "fuzz.mat");
    } catch (const CArchiveException&) {
        return 0;
    }
    if (image.GetWidth() < 1 || image.GetHeight() < 1 || image.GetCelCount() < 1 ||
        image.GetBits().size() !=
            image.GetCelBytes() * static_cast<std::size_t>(image.GetCelCount()))
        std::abort();
    if (image.GetBitsPerPixel() == 8) {
        CBitmapImage again;
        again.ReadMat(image.WriteMat(), palette, "again.mat");
        if (!(again == image))
            std::abort();
    }

    CTree files;
    files.m_entries.push_back(std::make_unique<CTreeObject>(
        "fuzz.mat", std::vector<std::uint8_t>(file.begin(), file.end()), 0));
    CRecordingRenderDevice device;
    {
        CTextureCache cache(&device);
        CTexture* texture = cache.GetTexture(CAssetSources{nullptr, &files}, "fuzz.mat", "x.cmp");
        if (texture == nullptr)
            std::abort();
        for (int i = 0; i <= texture->m_image->GetCelCount() && i < 64; ++i)
            if (texture->UploadNextCel() != 0)
                std::abort();
    }
    if (device.m_misuseCount != 0 || device.LiveTextureCount() != 0)
        std::abort();
    return 0;
}
