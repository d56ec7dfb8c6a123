#include "resources/EntryHostPath.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace {

struct Case {
    std::string entry;
    std::optional<std::string> file;  // the file name inside the folder; nullopt: refused
};

// Hostile names (as another tool, or an attacker, may store them) and ordinary ones.
TEST(EntryHostPath, KeepsOnlyAPlainFileNameInsideTheFolder)
{
    const std::filesystem::path folder = "/tmp/chosen";
    const Case cases[] = {
        {"cog\\door.cog", "door.cog"},
        {"episode.qz", "episode.qz"},
        {"3do\\key\\a.key", "a.key"},
        {"mat/unix/style.mat", "style.mat"},
        {"..\\..\\etc\\passwd", "passwd"},
        {"../../../home/user/.bashrc", ".bashrc"},
        {"/etc/passwd", "passwd"},
        {"\\\\server\\share\\x.cog", "x.cog"},
        {"C:\\Windows\\system.ini", "system.ini"},
        {"na\xe9me.wav", "na\xe9me.wav"},  // 8-bit names stay as they are
        {"", std::nullopt},
        {"cog\\", std::nullopt},
        {"cog/", std::nullopt},
        {".", std::nullopt},
        {"..", std::nullopt},
        {"cog\\..", std::nullopt},
        {"cog\\.", std::nullopt},
        {"C:", std::nullopt},
        {"C:evil.cog", std::nullopt},
        {"mat\\a.mat:stream", std::nullopt},
        {"a\nb.cog", std::nullopt},
        {"tab\t.cog", std::nullopt},
        {"esc\x1b[31m.cog", std::nullopt},
        {"del\x7f.cog", std::nullopt},
        {std::string("nul\0.cog", 8), std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<std::filesystem::path> got = EntryHostPath(folder, c.entry);
        if (!c.file) {
            EXPECT_FALSE(got.has_value()) << "entry \"" << c.entry << "\" gave " << got->string();
            continue;
        }
        ASSERT_TRUE(got.has_value()) << "entry \"" << c.entry << "\" was refused";
        EXPECT_EQ(*got, folder / *c.file) << c.entry;
        EXPECT_EQ(got->parent_path(), folder) << c.entry;
    }
}

}  // namespace
