// Fuzz target: a BMP file through the bitmap reader, then the writer's round trip, palette
// reduction and the material writer on whatever it read.

#include "engine/BitmapImage.h"
#include "engine/ColorMap.h"
#include "framework/Exceptions.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CBitmapImage image;
    try {
        if (!image.ReadBmp(std::span(data, size), "fuzz.bmp"))
            return 0;
    } catch (const CArchiveException&) {
        return 0;
    }
    if (image.GetWidth() < 1 || image.GetHeight() < 1 || image.GetCelCount() != 1 ||
        image.GetBits().size() != image.GetCelBytes())
        std::abort();

    CBitmapImage again;
    if (!again.ReadBmp(image.WriteBmp(), "again.bmp") || !(again == image))
        std::abort();

    image.ReducePalette(CColorMap::GreyRamp());
    CBitmapImage material;
    material.ReadMat(image.WriteMat(), CColorMap::GreyRamp(), "fuzz.mat");
    if (material.GetCelPixels(0) != image.GetCelPixels(0))
        std::abort();
    return 0;
}
