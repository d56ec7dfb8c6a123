#include "resources/EntryHostPath.h"

namespace {

// True when name may stand as one plain file or folder name inside a folder.
bool IsPlainHostName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == ':')
            return false;
    }
    // The name holds no separator; this guards against a platform that reads more into one name
    // than a file name (a root name, say).
    const std::filesystem::path part{std::string(name)};
    return part.filename().string() == name && part.is_relative();
}

}  // namespace

std::optional<std::filesystem::path> EntryHostPath(const std::filesystem::path& folder,
                                                   std::string_view entryName)
{
    const std::size_t cut = entryName.find_last_of("\\/");
    const std::string_view name =
        cut == std::string_view::npos ? entryName : entryName.substr(cut + 1);
    if (!IsPlainHostName(name))
        return std::nullopt;
    return folder / std::filesystem::path(std::string(name));
}

std::optional<std::filesystem::path> EntryRelativeHostPath(const std::filesystem::path& folder,
                                                           std::string_view entryPath)
{
    std::filesystem::path result = folder;
    std::size_t begin = 0;
    while (true) {
        const std::size_t end = entryPath.find_first_of("\\/", begin);
        const std::string_view part = entryPath.substr(
            begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
        if (!IsPlainHostName(part))
            return std::nullopt;
        result /= std::filesystem::path(std::string(part));
        if (end == std::string_view::npos)
            return result;
        begin = end + 1;
    }
}
