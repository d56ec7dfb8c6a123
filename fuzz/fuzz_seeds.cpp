// qzfuzzseeds: writes the seed inputs of the fuzz targets into a folder, one subfolder per target
// (3do, key, pup, mat, bmp, cmp, wav, cog, qzl, qze, gob), made from the synthetic game's files:
// every model, keyframe, puppet, material, colour map, cog script and sound of its archives, each
// 8-bit material once more as a BMP, and the sound archive itself; and from small generated levels,
// as text for each product and as the editor's level file. Files already in the subfolders are
// removed first.
//
//   qzfuzzseeds OUT_FOLDER

#include "GridLevel.h"
#include "SyntheticGame.h"

#include "engine/BitmapImage.h"
#include "engine/ColorMap.h"
#include "framework/FileIO.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzeFile.h"
#include "level/QzlWriter.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

const std::map<std::string, std::string> kTargetOfExtension = {
    {".3do", "3do"}, {".key", "key"}, {".pup", "pup"}, {".mat", "mat"},
    {".cmp", "cmp"}, {".wav", "wav"}, {".cog", "cog"}};

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

// The seeds of the level readers: generated levels of a few sizes, in both vertex layouts.
void WriteLevelSeeds(const std::filesystem::path& out)
{
    const CGameResources game;
    for (const int sectors : {1, 3, 9}) {
        for (const EGridVertices vertices : {EGridVertices::shared, EGridVertices::ownPerBox}) {
            CQzlSections level;
            GenerateGridLevel(level, sectors, vertices);
            const std::string name =
                "grid" + std::to_string(sectors) + (vertices == EGridVertices::shared ? "" : "own");
            for (const int product : {0, 1}) {
                const std::string text = WriteQzl(level, game, product);
                WriteFileAtomic(
                    out / "qzl" / (name + "_" + std::to_string(product) + ".qzl"),
                    std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
            }
            CDocumentFields document;
            document.m_episodeTitle = "Fuzz";
            document.m_levelFileName = name + ".qzl";
            document.m_episodeType = 1;
            WriteFileAtomic(out / "qze" / (name + ".qze"), WriteQzeBytes(level, document));
        }
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
        for (const char* target :
             {"3do", "key", "pup", "mat", "bmp", "cmp", "wav", "cog", "qzl", "qze", "gob"}) {
            std::filesystem::remove_all(out / target);
            std::filesystem::create_directories(out / target);
        }
        // The expansion's game holds everything of the base game and more.
        const CSyntheticArchives archives = BuildSyntheticArchives(1);
        int index = 0;
        WriteSeeds(archives.m_main, out, index);
        WriteSeeds(archives.m_sound, out, index);
        WriteFileAtomic(out / "gob" / "sound.gob", archives.m_sound.GetBytes());
        WriteLevelSeeds(out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qzfuzzseeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
