#include "engine/MaterialConversion.h"

#include "framework/Exceptions.h"

#include <string>

std::vector<std::uint8_t> ConvertBmpToMat(std::span<const std::uint8_t> bmp,
                                          const CPalette& palette, std::string_view fileName)
{
    CBitmapImage image;
    if (!image.ReadBmp(bmp, fileName))
        throw CArchiveException(CArchiveException::badFormat,
                                "The file \"" + std::string(fileName) + "\" is not a bitmap.");
    // A material holds palette indices only: after the reduction they index palette.
    image.ReducePalette(palette);
    return image.WriteMat();
}

std::vector<std::uint8_t> ConvertMatToBmp(std::span<const std::uint8_t> mat,
                                          const CPalette& palette, std::string_view fileName)
{
    CBitmapImage image;
    image.ReadMat(mat, palette, fileName);
    return image.WriteBmp();
}
