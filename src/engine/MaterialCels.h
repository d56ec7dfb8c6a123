#pragma once
// The cels (frames) of an animated material and the level file that holds it: appending the cels
// of another image, deleting and exchanging cels, reading a MAT or BMP file chosen to be added,
// and putting the re-encoded material back into the level's own files.

#include "engine/BitmapImage.h"

#include <span>
#include <string>
#include <string_view>

class CTree;
class CTreeObject;

// Appends every cel of added after the cels of image. false, with image unchanged, when either is
// empty or they differ in width, height or depth.
bool AppendCels(CBitmapImage& image, const CBitmapImage& added);

// Removes cel; the cels after it move forward. false, with image unchanged, when image has one
// cel or fewer or cel is out of range.
bool DeleteCel(CBitmapImage& image, int cel);

// Exchanges cels a and b. false, with image unchanged, when either is out of range.
bool SwapCels(CBitmapImage& image, int a, int b);

// A file chosen to be added to an animation, decoded, and the name its level file takes.
struct CAddedCels {
    CBitmapImage m_image;
    std::string m_name;
};

// Decodes file, read from path. A path whose lower-cased form holds ".bmp" is an 8-bit BMP whose
// pixels are brought to palette; its name is the file name cut before its first "." followed by
// ".mat". Any other path is a MAT decoded through palette, named by its file name. The file name
// is the part of path after its last "\\" or "/", lower-cased. Throws CArchiveException with a
// message for the user when the file cannot be decoded.
CAddedCels ReadAddedCels(std::span<const std::uint8_t> file, std::string_view path,
                         const CPalette& palette);

// The level file named name (letter case ignored); null when there is none.
CTreeObject* FindLevelFile(CTree& files, std::string_view name);

// Encodes image as MAT bytes into the level file named name (its data and size) and recomputes
// the offsets. false, with nothing changed, when there is no such file. Throws CArchiveException
// when the image cannot be written as a material.
bool StoreMaterialFile(CTree& files, std::string_view name, const CBitmapImage& image);

// Makes a level file of image encoded as MAT bytes, named name with the path "mat\\" followed by
// name, at its sorted place, replacing a level file of the same name or of that path; then
// recomputes the offsets. Throws CArchiveException, with nothing changed, when the image cannot
// be written as a material.
void AddMaterialFile(CTree& files, const std::string& name, const CBitmapImage& image);
