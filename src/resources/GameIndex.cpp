#include "resources/GameIndex.h"

#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "framework/StringUtil.h"
#include "resources/GameArchive.h"
#include "resources/GameArchives.h"
#include "resources/Tree.h"
#include "resources/TreeObject.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>
#include <utility>

namespace {

constexpr CProductFiles kProducts[] = {
    {"resource/res2.gob", "gamedata/resource/res2.gob", "resource/res1hi.gob",
     "resource/res1low.gob", "korvath.dat"},
    {"resource/qzvres.goo", "gamedata/resource/qzvres.goo", "resource/qzvsndhi.goo",
     "resource/qzvsndlo.goo", "varnok.dat"},
};

bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

std::int32_t CheckedWord(std::uint32_t value, const std::string& path, const char* what)
{
    if (value > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
        throw CArchiveException(CArchiveException::badFormat,
                                "The " + std::string(what) + " of the archive entry \"" + path +
                                    "\" (" + std::to_string(value) +
                                    ") is too large for the resource index.");
    return static_cast<std::int32_t>(value);
}

// A lower-cased index entry for an archive entry, inserted at CTree::Find's place.
void InsertEntry(CTree& tree, std::string lowerPath, const CGameArchiveEntry& entry)
{
    const std::int32_t offset = CheckedWord(entry.m_offset, entry.m_path, "offset");
    const std::int32_t size = CheckedWord(entry.m_size, entry.m_path, "size");
    auto object = std::make_unique<CTreeObject>(std::move(lowerPath), offset, size);
    int position = 0;
    tree.Find(object->m_name, position);
    tree.m_entries.insert(tree.m_entries.begin() + position, std::move(object));
}

// The entries of folder spelt like name without regard to case: the exact spelling first when it
// exists, then the others in byte order. Empty when folder cannot be listed.
std::vector<std::filesystem::path> Spellings(const std::filesystem::path& folder,
                                             const std::string& name)
{
    std::vector<std::filesystem::path> spellings;
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    if (error)
        return spellings;
    std::vector<std::string> others;
    bool exact = false;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(error)) {
        if (error)
            break;
        std::string candidate = it->path().filename().string();
        if (candidate == name)
            exact = true;
        else if (EqualsNoCase(candidate, name))
            others.push_back(std::move(candidate));
    }
    std::sort(others.begin(), others.end());
    if (exact)
        spellings.push_back(folder / name);
    for (const std::string& other : others)
        spellings.push_back(folder / other);
    return spellings;
}

// Depth first over the spellings of each component; the first complete path wins.
std::filesystem::path FindComponents(const std::filesystem::path& folder,
                                     const std::vector<std::string>& components, std::size_t at)
{
    if (at == components.size())
        return folder;
    for (const std::filesystem::path& spelling : Spellings(folder, components[at])) {
        std::filesystem::path found = FindComponents(spelling, components, at + 1);
        if (!found.empty())
            return found;
    }
    return {};
}

}  // namespace

const CProductFiles* GetProductFiles(int product)
{
    if (product < 0 || product >= static_cast<int>(std::size(kProducts)))
        return nullptr;
    return &kProducts[product];
}

std::filesystem::path FindPathNoCase(const std::filesystem::path& folder, std::string_view relative)
{
    if (relative.empty() || relative.front() == '/')
        return {};
    std::vector<std::string> components;
    while (!relative.empty()) {
        const std::size_t slash = std::min(relative.find('/'), relative.size());
        std::string component(relative.substr(0, slash));
        relative.remove_prefix(std::min(slash + 1, relative.size()));
        if (component == "..")
            return {};
        if (!component.empty() && component != ".")
            components.push_back(std::move(component));
    }
    if (components.empty())
        return {};
    return FindComponents(folder, components, 0);
}

void IndexMainArchive(CGameArchives& resources, const GameArchive& archive)
{
    CTree materials;
    CTree colorMaps;
    CTree snd;
    CTree models;
    CTree cogs;
    CTree puppets;
    for (const CGameArchiveEntry& entry : archive.GetEntries()) {
        std::string path = ToLowerAscii(entry.m_path);
        CTree* tree = nullptr;
        if (Contains(path, ".mat") && !Contains(path, "3do"))
            tree = &materials;
        else if (Contains(path, ".cmp") && !Contains(path, "3do"))
            tree = &colorMaps;
        else if (Contains(path, ".snd"))
            tree = &snd;
        else if (Contains(path, "3do"))
            tree = &models;
        else if (Contains(path, "cog"))
            tree = &cogs;
        else if (Contains(path, "pup"))
            tree = &puppets;
        if (tree)
            InsertEntry(*tree, std::move(path), entry);
    }
    resources.m_treeMaterials = std::move(materials);
    resources.m_treeColorMaps = std::move(colorMaps);
    resources.m_treeSnd = std::move(snd);
    resources.m_tree3do = std::move(models);
    resources.m_treeCogs = std::move(cogs);
    resources.m_treePuppets = std::move(puppets);
    resources.m_archive = &archive;
}

void IndexSoundArchive(CGameArchives& resources, const GameArchive& archive)
{
    CTree sounds;
    for (const CGameArchiveEntry& entry : archive.GetEntries()) {
        std::string path = ToLowerAscii(entry.m_path);
        if (Contains(path, ".wav"))
            InsertEntry(sounds, std::move(path), entry);
    }
    resources.m_treeSounds = std::move(sounds);
    resources.m_soundArchive = &archive;
}
