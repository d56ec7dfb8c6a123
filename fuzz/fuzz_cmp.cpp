// Fuzz target: a colour map through the colour-map reader and the palette lookup of the
// texture cache, decoding a fixed material through it.

#include "engine/ColorMap.h"
#include "engine/DecodeMaterial.h"
#include "framework/Exceptions.h"
#include "resources/Tree.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

// A 5 x 3 material of one cel whose pixels run through the palette.
std::vector<std::uint8_t> Material()
{
    std::vector<std::uint8_t> mat = {'M', 'A', 'T', ' ', 0x32, 0, 0, 0, 2, 0, 0, 0, 1, 0,
                                     0,   0,   1,   0,   0,    0, 0, 0, 0, 0, 8, 0, 0, 0};
    mat.resize(76 + 40, 0);
    const std::uint8_t header[24] = {5, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0,
                                     0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
    mat.insert(mat.end(), header, header + 24);
    for (int i = 0; i < 15; ++i)
        mat.push_back(static_cast<std::uint8_t>(i * 17));
    return mat;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> file(data, size);
    CColorMap colorMap;
    bool read = true;
    try {
        colorMap.Read(file, "fuzz.cmp");
    } catch (const CArchiveException&) {
        read = false;
    }
    if (read != (size >= CColorMap::kSize) ||
        (read && colorMap.GetBytes().size() != CColorMap::kSize))
        std::abort();

    CTree files;
    files.m_entries.push_back(std::make_unique<CTreeObject>(
        "fuzz.cmp", std::vector<std::uint8_t>(file.begin(), file.end()), 0));
    files.m_entries.push_back(std::make_unique<CTreeObject>("stone.mat", Material(), 0));
    const CAssetSources sources{nullptr, &files};
    const CPalette palette = FindColorMap(sources, "FUZZ.CMP").GetPalette();
    if (palette != (read ? colorMap.GetPalette() : CColorMap::GreyRamp()))
        std::abort();
    const auto image = DecodeMaterial(sources, "stone.mat", "fuzz.cmp");
    if (!image || image->GetWidth() != 5 || image->GetInfo()->bmiColors[17].rgbRed != palette[51])
        std::abort();
    return 0;
}
