// qzfuzzseeds: writes the seed inputs of the fuzz targets into a folder, one subfolder per target
// (3do, key, pup, mat, bmp, cmp, wav), made from the synthetic game's files: every model,
// keyframe, puppet, material, colour map and sound of its archives, and each 8-bit material once
// more as a BMP. Files already in the subfolders are removed first.
//
//   qzfuzzseeds OUT_FOLDER

#include "SyntheticGame.h"

#include "engine/BitmapImage.h"
#include "engine/ColorMap.h"
#include "framework/FileIO.h"
#include "framework/StringUtil.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

const std::map<std::string, std::string> kTargetOfExtension = {{".3do", "3do"}, {".key", "key"},
                                                               {".pup", "pup"}, {".mat", "mat"},
                                                               {".cmp", "cmp"}, {".wav", "wav"}};

// The seeds of one archive's entries. index keeps the file names apart (the same name stands in
// several folders of an archive).
void WriteSeeds(const CGobArchive& archive, const std::filesystem::path& out, int& index)
{
    for (std::size_t i = 0; i < archive.GetEntries().size(); ++i) {
        const std::string path = archive.GetEntries()[i].m_path;
        const std::string name = path.substr(path.find_last_of('\\') + 1);
        const std::string extension =
            ToLowerAscii(std::filesystem::path(name).extension().string());
        const auto target = kTargetOfExtension.find(extension);
        if (target == kTargetOfExtension.end())
            continue;
        const auto data = archive.GetData(i);
        const std::string file = std::to_string(++index) + "_" + name;
        WriteFileAtomic(out / target->second / file, data);
        if (target->second != "mat")
            continue;
        CBitmapImage image;
        image.ReadMat(data, CColorMap::GreyRamp(), name);
        if (image.GetBitsPerPixel() == 8 && image.GetWidth() <= 128)
            WriteFileAtomic(out / "bmp" / (file + ".bmp"), image.WriteBmp());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: qzfuzzseeds OUT_FOLDER\n");
        return 2;
    }
    try {
        const std::filesystem::path out = argv[1];
        for (const char* target : {"3do", "key", "pup", "mat", "bmp", "cmp", "wav"}) {
            std::filesystem::remove_all(out / target);
            std::filesystem::create_directories(out / target);
        }
        // The expansion's game holds everything of the base game and more.
        const CSyntheticArchives archives = BuildSyntheticArchives(1);
        int index = 0;
        WriteSeeds(archives.m_main, out, index);
        WriteSeeds(archives.m_sound, out, index);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qzfuzzseeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
