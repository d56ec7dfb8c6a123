#include "level/ProductSetup.h"

#include "framework/Exceptions.h"
#include "level/TemplateList.h"
#include "resources/GameIndex.h"
#include "resources/Tree.h"

namespace {

// The archive at path, or null with the reason in message when it cannot be opened or read.
std::unique_ptr<CGobGameArchive> OpenArchive(const std::filesystem::path& path,
                                             std::string& message)
{
    try {
        return std::make_unique<CGobGameArchive>(path);
    } catch (const CArchiveException& e) {
        message = e.what();
    } catch (const CFileException& e) {
        message = e.what();
    }
    return nullptr;
}

// The first of names found under folder (letter case ignored); empty when none is there.
std::filesystem::path FindFirst(const std::filesystem::path& folder,
                                std::initializer_list<const char*> names)
{
    if (folder.empty())
        return {};
    for (const char* name : names)
        if (std::filesystem::path found = FindPathNoCase(folder, name); !found.empty())
            return found;
    return {};
}

}  // namespace

const char* CProductSetup::Caption(int product)
{
    switch (product) {
    case 0:
        return "QzEdit - Korvath mode";
    case 1:
        return "QzEdit - Varnok mode";
    default:
        return nullptr;
    }
}

std::string CProductSetup::Run(int product, const std::filesystem::path& installPath,
                               const std::filesystem::path& sourceDir,
                               const std::filesystem::path& programDir)
{
    return Run(product, installPath, sourceDir, CDataFolders{programDir, {}});
}

std::string CProductSetup::Run(int product, const std::filesystem::path& installPath,
                               const std::filesystem::path& sourceDir,
                               const CDataFolders& dataFolders)
{
    // The indexes and the archive pointers go first, then the archives themselves, so that the
    // resources never point into a closed archive.
    m_resources.m_archive = nullptr;
    m_resources.m_soundArchive = nullptr;
    m_resources.m_treeMaterials = CTree();
    m_resources.m_treeColorMaps = CTree();
    m_resources.m_treeSounds = CTree();
    m_resources.m_tree3do = CTree();
    m_resources.m_treeCogs = CTree();
    m_resources.m_treePuppets = CTree();
    m_resources.m_treeSnd = CTree();
    m_resources.m_gameFolder.clear();
    m_mainArchive.reset();
    m_soundArchive.reset();

    m_resources.m_product = product;
    m_installPath = installPath;
    m_episodePath = installPath.empty() ? std::filesystem::path() : installPath / "episode";
    m_archivePath.clear();
    m_soundArchivePath.clear();

    const CProductFiles* files = GetProductFiles(product);
    const char* const templateFile = TemplateFileName(product);
    std::string message;
    bool readTemplates = true;
    if (files == nullptr) {
        // No game belongs to another product: nothing to index.
        message = kMissingArchives;
    } else {
        m_archivePath = FindFirst(installPath, {files->m_mainArchive});
        if (m_archivePath.empty())
            m_archivePath = FindFirst(sourceDir, {files->m_cdMainArchive});

        std::unique_ptr<CGobGameArchive> main;
        if (m_archivePath.empty())
            message = kMissingArchives;
        else
            main = OpenArchive(m_archivePath, message);
        if (main) {
            try {
                IndexMainArchive(m_resources, *main);
                m_mainArchive = std::move(main);
                m_resources.m_gameFolder = installPath;
            } catch (const CArchiveException& e) {
                message = e.what();
            }
        }

        // Without the main archive the sound archive is not looked for; without a sound archive
        // the template list is not read either (the previous list stays).
        if (m_mainArchive) {
            m_soundArchivePath =
                FindFirst(installPath, {files->m_soundArchive, files->m_soundArchive2});
            std::unique_ptr<CGobGameArchive> sound;
            if (m_soundArchivePath.empty())
                message = kMissingArchives;
            else
                sound = OpenArchive(m_soundArchivePath, message);
            if (sound) {
                try {
                    IndexSoundArchive(m_resources, *sound);
                    m_soundArchive = std::move(sound);
                } catch (const CArchiveException& e) {
                    message = e.what();
                }
            }
            if (!m_soundArchive)
                readTemplates = false;
        }
    }

    if (readTemplates)
        if (const std::filesystem::path file = dataFolders.ReadPath(templateFile); !file.empty())
            LoadTemplateFile(m_resources, file);
    return message;
}

bool CProductSetup::IsGameArchive(const std::filesystem::path& path) const
{
    const auto same = [&path](const std::filesystem::path& archive) {
        if (archive.empty() || path.empty())
            return false;
        std::error_code error;
        if (std::filesystem::equivalent(archive, path, error))
            return true;
        return std::filesystem::weakly_canonical(archive, error) ==
               std::filesystem::weakly_canonical(path, error);
    };
    return (m_mainArchive && same(m_archivePath)) || (m_soundArchive && same(m_soundArchivePath));
}

std::string CProductSetup::ReopenArchives()
{
    // Each new archive is indexed before the old one goes: the indexes never point into a closed
    // archive, and one that cannot be read back leaves the old file and its indexes in use.
    std::string message;
    const auto reopen = [&message](std::unique_ptr<CGobGameArchive>& archive,
                                   const std::filesystem::path& path, auto index) {
        if (!archive)
            return;
        std::unique_ptr<CGobGameArchive> fresh = OpenArchive(path, message);
        if (!fresh)
            return;
        try {
            index(*fresh);
            archive = std::move(fresh);
        } catch (const CArchiveException& e) {
            message = e.what();
        }
    };
    reopen(m_mainArchive, m_archivePath,
           [this](const GameArchive& archive) { IndexMainArchive(m_resources, archive); });
    reopen(m_soundArchive, m_soundArchivePath,
           [this](const GameArchive& archive) { IndexSoundArchive(m_resources, archive); });
    return message;
}
