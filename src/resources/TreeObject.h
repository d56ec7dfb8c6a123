#pragma once
// One entry of a resource index: a file inside a game archive (name, path, offset, size) or a file
// of the level itself (name, path, size and its bytes).

#include "framework/Object.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CTreeObject : public CObject {
    QZ_DECLARE_SERIAL(CTreeObject)

public:
    CTreeObject() = default;
    // An entry that holds the file's bytes; the path stays empty, the size is the data's length.
    CTreeObject(std::string name, std::vector<std::uint8_t> data, std::int32_t offset);
    // An entry of an archive: the name is the part of the path after its last backslash.
    CTreeObject(std::string path, std::int32_t offset, std::int32_t size);

    // Stored form: path, size, offset, then exactly size bytes. Loading puts a bare file name into
    // its resource folder and derives the name from the path.
    void Serialize(CArchive& ar) override;

    bool HasData() const { return m_data.has_value(); }

    // The part of path after its last backslash (the whole path when it has none).
    static std::string NameFromPath(const std::string& path);
    // The folder that a bare file name of this kind lives in ("cog\" for ".cog", ...), or empty.
    static const char* FolderForFile(const std::string& path);

    std::string m_name;
    std::string m_path;
    std::int32_t m_offset = 0;
    std::int32_t m_size = 0;
    std::optional<std::vector<std::uint8_t>> m_data;  // the file's bytes when the entry holds them
};
