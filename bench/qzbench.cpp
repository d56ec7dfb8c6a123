// qzbench: times the core's work on generated levels and feeds files to it.
//   qzbench generate SECTORS OUT.qze   write a generated level of that many joined box sectors
//   qzbench read [--varnok] FILE       load a level (.qzl as text, else .qze) and print its
//                                      counts and the load time
//   qzbench roundtrip IN OUT           load a .qze and store it again
//   qzbench write-qzl [--varnok] IN OUT  load a level (.qze or .qzl) and write it as .qzl text
//   --varnok reads and writes the text format of the expansion (product 1).
// Exit status: 0 success, 1 usage, 2 bad file content, 3 file system error.

#include "GridLevel.h"

#include "framework/Exceptions.h"
#include "framework/StringUtil.h"
#include "level/QzeFile.h"
#include "level/QzlReader.h"
#include "level/QzlWriter.h"
#include "resources/GameResources.h"
#include "resources/GobArchive.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// "Product" of the text format: 1 with --varnok.
int g_product = 0;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void PrintCounts(const CQzlSections& level)
{
    std::printf("sectors=%zu surfaces=%zu adjoins=%zu vertices=%zu things=%zu materials=%zu cogs=%zu "
                "templates=%zu\n",
                level.m_sectors.size(), level.m_surfaces.size(), level.m_adjoins.size(),
                level.m_worldVertices.size(), level.m_things.size(), level.m_materials.size(),
                level.m_cogs.size(), level.m_templates.size());
}

int Generate(const std::vector<std::string>& args)
{
    char* end = nullptr;
    const long n = std::strtol(args[0].c_str(), &end, 10);
    if (end == args[0].c_str() || *end != '\0' || n < 1 || n > 5000000) {
        std::fprintf(stderr, "qzbench: SECTORS must be a whole number from 1 to 5000000\n");
        return 1;
    }
    auto start = Clock::now();
    CQzlSections level;
    GenerateGridLevel(level, static_cast<int>(n));
    const double genMs = MsSince(start);
    start = Clock::now();
    SaveQzeFile(args[1], level, CDocumentFields{});
    const double storeMs = MsSince(start);
    PrintCounts(level);
    std::printf("generate_ms=%.1f store_ms=%.1f\n", genMs, storeMs);
    return 0;
}

// A .qzl file through the text reader, anything else through the .qze reader.
CQzlSections LoadAnyLevel(const std::string& path)
{
    if (EndsWithNoCase(path, ".qzl"))
        return LoadQzlFile(path, g_product);
    return std::move(LoadQzeFile(path).m_level);
}

int Read(const std::vector<std::string>& args)
{
    const auto start = Clock::now();
    const CQzlSections level = LoadAnyLevel(args[0]);
    const double loadMs = MsSince(start);
    PrintCounts(level);
    std::printf("load_ms=%.1f\n", loadMs);
    return 0;
}

// Writes IN as a .qzl text file, without game resources.
int WriteQzlFile(const std::vector<std::string>& args)
{
    auto start = Clock::now();
    CQzlSections level = LoadAnyLevel(args[0]);
    const double loadMs = MsSince(start);
    start = Clock::now();
    const CGameResources game;
    SaveQzlFile(args[1], level, game, g_product);
    const double writeMs = MsSince(start);
    PrintCounts(level);
    std::printf("load_ms=%.1f write_ms=%.1f\n", loadMs, writeMs);
    return 0;
}

int Roundtrip(const std::vector<std::string>& args)
{
    auto start = Clock::now();
    CQzeContents contents = LoadQzeFile(args[0]);
    const double loadMs = MsSince(start);
    start = Clock::now();
    SaveQzeFile(args[1], contents.m_level, contents.m_document);
    const double storeMs = MsSince(start);
    PrintCounts(contents.m_level);
    std::printf("load_ms=%.1f store_ms=%.1f\n", loadMs, storeMs);
    return 0;
}

// Prints the path of every entry of a game archive, in directory order.
int GobList(const std::vector<std::string>& args)
{
    const CGobDirectory directory = CGobArchive::ReadDirectory(std::filesystem::path(args[0]));
    for (const CGobEntry& entry : directory.m_entries)
        std::printf("%s\n", entry.m_path.c_str());
    return 0;
}

struct Command {
    const char* name;
    std::size_t argCount;
    const char* usage;
    std::function<int(const std::vector<std::string>&)> run;
};

const Command kCommands[] = {
    {"generate", 2, "generate SECTORS OUT.qze", Generate},
    {"read", 1, "read [--varnok] FILE", Read},
    {"write-qzl", 2, "write-qzl [--varnok] IN OUT.qzl", WriteQzlFile},
    {"roundtrip", 2, "roundtrip IN.qze OUT.qze", Roundtrip},
    {"gob-list", 1, "gob-list FILE", GobList},
};

int Usage()
{
    std::fprintf(stderr, "usage:\n");
    for (const Command& c : kCommands)
        std::fprintf(stderr, "  qzbench %s\n", c.usage);
    return 1;
}

// One line, whatever the message holds.
std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const Command& c : kCommands) {
        if (std::strcmp(argv[1], c.name) != 0)
            continue;
        // Options: "--varnok" where the usage names it; any other "--" word is unknown.
        if (std::strstr(c.usage, "[--varnok]") && !args.empty() && args[0] == "--varnok") {
            g_product = 1;
            args.erase(args.begin());
        }
        for (const std::string& a : args)
            if (a.rfind("--", 0) == 0)
                return Usage();
        if (args.size() != c.argCount)
            return Usage();
        try {
            return c.run(args);
        } catch (const CArchiveException& e) {
            std::fprintf(stderr, "qzbench: error: %s\n", OneLine(e.what()).c_str());
            return 2;
        } catch (const CFileException& e) {
            std::fprintf(stderr, "qzbench: error: %s\n", OneLine(e.what()).c_str());
            return 3;
        } catch (const std::bad_alloc&) {
            std::fprintf(stderr, "qzbench: error: out of memory\n");
            return 2;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "qzbench: error: %s\n", OneLine(e.what()).c_str());
            return 2;
        }
    }
    return Usage();
}
