#include "resources/EntryHostPath.h"

std::optional<std::filesystem::path> EntryHostPath(const std::filesystem::path& folder,
                                                   std::string_view entryName)
{
    const std::size_t cut = entryName.find_last_of("\\/");
    const std::string_view name =
        cut == std::string_view::npos ? entryName : entryName.substr(cut + 1);
    if (name.empty() || name == "." || name == "..")
        return std::nullopt;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == ':')
            return std::nullopt;
    }
    std::filesystem::path result = folder / std::filesystem::path(std::string(name));
    // The name holds no separator; this guards against a platform that reads more into one name
    // than a file name (a root name, say).
    if (result.filename().string() != name ||
        !std::filesystem::path(std::string(name)).is_relative())
        return std::nullopt;
    return result;
}
