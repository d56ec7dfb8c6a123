// The driver of a fuzz target in a build without libFuzzer (GCC has none): runs the target's
// entry point over every file named on the command line (a folder stands for the files in it),
// and over altered copies of each: cut short at 32 places, and with 48 single changes that
// readers meet in damaged files (a byte cleared, set, flipped or made a digit, a sign, a blank or
// a line end; four bytes made a huge count). The target fails the run by crashing, aborting or a
// sanitizer report; the driver prints what it ran.
//
//   fuzz_<name> SEED_FILE_OR_FOLDER...

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

constexpr std::size_t kCuts = 32;
constexpr std::size_t kChanges = 48;

// Runs one input from a buffer of its own, so that a read past its end is a sanitizer report.
void Run(const std::vector<std::uint8_t>& input)
{
    const std::vector<std::uint8_t> copy = input;
    LLVMFuzzerTestOneInput(copy.data(), copy.size());
}

std::size_t RunWithChanges(const std::vector<std::uint8_t>& seed)
{
    std::size_t runs = 0;
    Run(seed);
    ++runs;
    for (std::size_t cut = 0; cut < kCuts && cut < seed.size(); ++cut) {
        Run(std::vector<std::uint8_t>(
            seed.begin(), seed.begin() + static_cast<std::ptrdiff_t>(seed.size() * cut / kCuts)));
        ++runs;
    }
    if (seed.empty())
        return runs;
    static constexpr std::uint8_t kValues[] = {0x00, 0xFF, 0x80, '9', '-', ' ', '\n', 0x7F};
    for (std::size_t i = 0; i < kChanges; ++i) {
        std::vector<std::uint8_t> changed = seed;
        // Spread the places over the file, the first ones in its header.
        const std::size_t at = i < 16 ? i % seed.size() : (i * 2654435761u + 7u) % changed.size();
        if (i % 6 == 5) {
            for (std::size_t k = at; k < at + 4 && k < changed.size(); ++k)
                changed[k] = 0xFF;
        } else if (i % 6 == 4) {
            changed[at] = static_cast<std::uint8_t>(changed[at] ^ (1u << (i % 8)));
        } else {
            changed[at] = kValues[i % std::size(kValues)];
        }
        Run(changed);
        ++runs;
    }
    return runs;
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path = argv[i];
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
        } else if (std::filesystem::is_regular_file(path)) {
            files.push_back(path);
        } else {
            std::fprintf(stderr, "%s: no such file or folder: %s\n", argv[0], argv[i]);
            return 2;
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: %s SEED_FILE_OR_FOLDER... (no seeds given or found)\n",
                     argv[0]);
        return 2;
    }
    std::sort(files.begin(), files.end());
    std::size_t runs = 0;
    for (const std::filesystem::path& file : files)
        runs += RunWithChanges(ReadFile(file));
    std::printf("%zu seeds, %zu inputs run\n", files.size(), runs);
    return 0;
}
