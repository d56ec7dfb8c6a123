#pragma once
// Product set-up of the editor: for the chosen product ("Product" 0 Korvath, 1 Varnok) find the
// game's main and sound archives in its install folder (or the main archive's copy under the
// game's source folder), open them, index their entries by kind into the game resources, and read
// the product's template list from its data file (the user's copy, else the program folder's).
//
// The game's registry key is replaced by two folders the caller passes: the install folder (the
// key's "Install Path") and the source folder ("Source Dir", empty for none). Archive paths under
// them are matched without regard to letter case.

#include "framework/DataFolders.h"
#include "level/GameResources.h"
#include "resources/GobGameArchive.h"

#include <filesystem>
#include <memory>
#include <string>

class CProductSetup {
public:
    // The main window caption of product: "QzEdit - Korvath mode", "QzEdit - Varnok mode";
    // nullptr for any other value.
    static const char* Caption(int product);

    // The message of a missing archive.
    static constexpr const char* kMissingArchives = "Cannot find Korvath resource files.";

    // Runs set-up for product. Empties the seven indexes; sets the paths; opens and indexes the
    // main archive, then the sound archive (first choice, else second); reads the template list
    // from the product's data file in dataFolders (the user's copy, else the installed one).
    // Returns the message to show (kMissingArchives when the main archive or both sound archives
    // are missing; the message of a damaged archive; empty when all went well). Goes in this
    // order: without the main archive the sound archive is not looked for but the
    // template list is still read; without a sound archive the template list is not read (the
    // previous list stays). A template file that cannot be read leaves the previous list. The
    // game folder of the resources is installPath once the main archive is open, else empty.
    std::string Run(int product, const std::filesystem::path& installPath,
                    const std::filesystem::path& sourceDir, const CDataFolders& dataFolders);
    // The same with the program folder alone (no user copies).
    std::string Run(int product, const std::filesystem::path& installPath,
                    const std::filesystem::path& sourceDir,
                    const std::filesystem::path& programDir);

    // True when path names the same file as the main or the sound archive of the last run.
    bool IsGameArchive(const std::filesystem::path& path) const;
    // Reads the main and the sound archive anew from their paths (after they were written) and
    // rebuilds their indexes; the template list stays. Returns the message of an archive that
    // cannot be read back, and that archive then stays as it was (the file opened before, with
    // its indexes); empty when all went well.
    std::string ReopenArchives();

    // The resources the engine and the level code read (archives point into this object).
    CGameResources m_resources;

    // The paths of the last run (empty when not found).
    std::filesystem::path m_installPath;
    std::filesystem::path m_archivePath;       // main archive
    std::filesystem::path m_episodePath;       // install folder / "episode"
    std::filesystem::path m_soundArchivePath;  // sound archive

private:
    std::unique_ptr<CGobGameArchive> m_mainArchive;
    std::unique_ptr<CGobGameArchive> m_soundArchive;
};
