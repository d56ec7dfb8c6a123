#pragma once
// Turning bitmaps into materials and back, for files that a level or an archive carries: an 8-bit
// BMP becomes a one-cel MAT in the palette of a colour map, and a MAT becomes the BMP of its first
// cel decoded through a colour map's palette.

#include "engine/BitmapImage.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// The BMP file bmp as MAT bytes, its pixels remapped to the nearest colours of palette. Throws
// CArchiveException naming fileName for a file that is not a BMP, is damaged or is cut short.
std::vector<std::uint8_t> ConvertBmpToMat(std::span<const std::uint8_t> bmp,
                                          const CPalette& palette, std::string_view fileName);

// The first cel of the MAT file mat, decoded through palette, as BMP bytes. Throws
// CArchiveException naming fileName for a damaged or cut-short material.
std::vector<std::uint8_t> ConvertMatToBmp(std::span<const std::uint8_t> mat,
                                          const CPalette& palette, std::string_view fileName);
