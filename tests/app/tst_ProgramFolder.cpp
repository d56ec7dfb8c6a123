// Where the editor finds its program folder and its default game: beside the executable, or in
// the data folder of an installed program, found from the executable's folder at run time.

#include "AppTestSupport.h"

#include "app/QzEditApp.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& file)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << "x";
}

}  // namespace

TEST(ProgramFolder, FoundBesideTheExecutableElseInTheInstalledDataFolder)
{
    struct Case {
        const char* name;
        std::vector<std::string> files;  // made under the temporary folder
        std::string exeDir;              // the executable's folder
        std::string expected;            // the program folder found
    };
    const fs::path installed = fs::path("usr/bin") / QZ_DATA_DIR_FROM_BIN;
    const Case cases[] = {
        {"build folder",
         {"build/app/new.qze", "build/app/game/korvath.dat"},
         "build/app",
         "build/app"},
        {"installed",
         {(installed / "new.qze").string()},
         "usr/bin",
         installed.lexically_normal().string()},
        {"beside wins",
         {"usr/bin/new.qze", (installed / "new.qze").string()},
         "usr/bin",
         "usr/bin"},
        {"nowhere", {"usr/bin/qzedit"}, "usr/bin", "usr/bin"},
        {"a folder named new.qze is no file", {"usr/bin/new.qze/x"}, "usr/bin", "usr/bin"},
    };
    for (const Case& c : cases) {
        const CTempFolder temp("qz_program_folder");
        for (const std::string& file : c.files)
            Touch(temp.Path() / file);
        EXPECT_EQ(FindProgramFolder(temp.Path() / c.exeDir).lexically_normal(),
                  (temp.Path() / c.expected).lexically_normal())
            << c.name;
    }
}

// Without a game folder given, a product's game is "game" in the program folder, where the build
// and the installation put the synthetic game; the user's choice still comes first.
TEST_F(AppTest, DefaultGameIsTheGameFolderOfTheProgramFolder)
{
    CAppOptions options = TestOptions();
    options.m_settingsFile = SettingsFile();
    options.m_programDir = ProgramDir();
    CQzEditApp app(options);
    EXPECT_EQ(app.GameFolder(0), ProgramDir() / "game");
    EXPECT_EQ(app.GameFolder(1), ProgramDir() / "game");
    app.SetGameFolder(1, Temp() / "chosen");
    EXPECT_EQ(app.GameFolder(1), Temp() / "chosen");
}
