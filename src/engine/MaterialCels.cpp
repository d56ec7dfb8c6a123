#include "engine/MaterialCels.h"

#include "framework/Exceptions.h"
#include "framework/StringUtil.h"
#include "level/LevelFiles.h"
#include "resources/Tree.h"
#include "resources/TreeObject.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <utility>
#include <vector>

namespace {

bool SameShape(const CBitmapImage& a, const CBitmapImage& b)
{
    return !a.IsEmpty() && !b.IsEmpty() && a.GetWidth() == b.GetWidth() &&
           a.GetHeight() == b.GetHeight() && a.GetBitsPerPixel() == b.GetBitsPerPixel();
}

std::vector<std::uint8_t> EncodeForLevel(const CBitmapImage& image)
{
    std::vector<std::uint8_t> bytes = image.WriteMat();
    if (bytes.size() > static_cast<std::size_t>(INT32_MAX))
        throw CArchiveException(CArchiveException::badFormat,
                                "The material is too large to be kept in the level.");
    return bytes;
}

}  // namespace

bool AppendCels(CBitmapImage& image, const CBitmapImage& added)
{
    if (!SameShape(image, added))
        return false;
    std::vector<std::uint8_t> bits = image.GetBits();
    bits.insert(bits.end(), added.GetBits().begin(), added.GetBits().end());
    return image.ReplaceCels(std::move(bits), image.GetCelCount() + added.GetCelCount());
}

bool DeleteCel(CBitmapImage& image, int cel)
{
    if (image.IsEmpty() || image.GetCelCount() <= 1 || cel < 0 || cel >= image.GetCelCount())
        return false;
    const auto celBytes = static_cast<std::ptrdiff_t>(image.GetCelBytes());
    std::vector<std::uint8_t> bits = image.GetBits();
    const auto first = bits.begin() + cel * celBytes;
    bits.erase(first, first + celBytes);
    return image.ReplaceCels(std::move(bits), image.GetCelCount() - 1);
}

bool SwapCels(CBitmapImage& image, int a, int b)
{
    const int count = image.IsEmpty() ? 0 : image.GetCelCount();
    if (a < 0 || b < 0 || a >= count || b >= count)
        return false;
    const auto celBytes = static_cast<std::ptrdiff_t>(image.GetCelBytes());
    std::vector<std::uint8_t> bits = image.GetBits();
    std::swap_ranges(bits.begin() + a * celBytes, bits.begin() + (a + 1) * celBytes,
                     bits.begin() + b * celBytes);
    return image.ReplaceCels(std::move(bits), count);
}

CAddedCels ReadAddedCels(std::span<const std::uint8_t> file, std::string_view path,
                         const CPalette& palette)
{
    const std::string lower = ToLowerAscii(path);
    const std::size_t slash = lower.find_last_of("\\/");
    const std::string fileName = slash == std::string::npos ? lower : lower.substr(slash + 1);
    CAddedCels added;
    if (lower.find(".bmp") != std::string::npos) {
        if (!added.m_image.ReadBmp(file, fileName))
            throw CArchiveException(CArchiveException::badFormat,
                                    fileName + ": the file is not a BMP picture");
        added.m_image.ReducePalette(palette);
        added.m_name = MaterialNameForBitmap(fileName);
    } else {
        added.m_image.ReadMat(file, palette, fileName);
        added.m_name = fileName;
    }
    return added;
}

CTreeObject* FindLevelFile(CTree& files, std::string_view name)
{
    int position = 0;
    if (!files.Find(name, position))
        return nullptr;
    return files.m_entries[static_cast<std::size_t>(position)].get();
}

bool StoreMaterialFile(CTree& files, std::string_view name, const CBitmapImage& image)
{
    const CTreeObject* file = FindLevelFile(files, name);
    if (file == nullptr)
        return false;
    // Replaced in place of the entry of its path, with the size check of every level file.
    AddLevelFile(files, file->m_name, file->m_path, EncodeForLevel(image));
    return true;
}

void AddMaterialFile(CTree& files, const std::string& name, const CBitmapImage& image)
{
    const std::string path = "mat\\" + name;
    AddLevelFile(files, name, path, EncodeForLevel(image));
    // A file of that name in another folder goes: a level keeps one file of a name.
    const std::size_t before = files.m_entries.size();
    std::erase_if(files.m_entries, [&](const std::unique_ptr<CTreeObject>& entry) {
        return EqualsNoCase(entry->m_name, name) && !EqualsNoCase(entry->m_path, path);
    });
    if (files.m_entries.size() != before)
        RecomputeLevelFileOffsets(files);
}
