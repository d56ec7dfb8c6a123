#include "resources/TreeObject.h"

#include "framework/Archive.h"

#include <limits>
#include <utility>

QZ_IMPLEMENT_SERIAL(CTreeObject, 1)

namespace {

struct FolderRule {
    const char* substring;
    const char* folder;
};

// Tested in this order; the first substring the path contains (case-sensitive) wins.
constexpr FolderRule kFolderRules[] = {
    {".cog", "cog\\"},       {".3do", "3do\\"},       {".key", "3do\\key\\"},
    {".mat", "mat\\"},       {".ai", "misc\\ai\\"},   {".par", "misc\\par\\"},
    {".per", "misc\\per\\"}, {".pup", "misc\\pup\\"}, {".snd", "misc\\snd\\"},
    {".spr", "misc\\spr\\"}, {".wav", "sound\\"},
};

}  // namespace

CTreeObject::CTreeObject(std::string name, std::vector<std::uint8_t> data, std::int32_t offset)
    : m_name(std::move(name)), m_offset(offset)
{
    if (data.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw CArchiveException(CArchiveException::badFormat,
                                "The file \"" + m_name + "\" is too large.");
    m_size = static_cast<std::int32_t>(data.size());
    m_data = std::move(data);
}

CTreeObject::CTreeObject(std::string path, std::int32_t offset, std::int32_t size)
    : m_name(NameFromPath(path)), m_path(std::move(path)), m_offset(offset), m_size(size)
{}

std::string CTreeObject::NameFromPath(const std::string& path)
{
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

const char* CTreeObject::FolderForFile(const std::string& path)
{
    for (const FolderRule& rule : kFolderRules) {
        if (path.find(rule.substring) != std::string::npos)
            return rule.folder;
    }
    return "";
}

void CTreeObject::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        // The size written is always the number of bytes that follow, so an entry without bytes
        // is stored as an empty file rather than as a size the data does not match.
        const std::size_t length = m_data ? m_data->size() : 0;
        ar.WriteString(m_path);
        ar.WriteInt(static_cast<std::int32_t>(length));
        ar.WriteInt(m_offset);
        if (length)
            ar.Write(m_data->data(), length);
        return;
    }

    LoadedSchema(ar, StaticClass());
    const std::size_t at = ar.Position();
    std::string path = ar.ReadString();
    const std::int32_t size = ar.ReadInt();
    const std::int32_t offset = ar.ReadInt();
    if (size < 0)
        throw CArchiveException(CArchiveException::badFormat,
                                "The level file \"" + path + "\" at byte " + std::to_string(at) +
                                    " has a negative size.");
    if (static_cast<std::size_t>(size) > ar.Remaining())
        throw CArchiveException(CArchiveException::endOfFile,
                                "The level file \"" + path + "\" at byte " + std::to_string(at) +
                                    " claims " + std::to_string(size) +
                                    " bytes, more than the file holds.");

    if (path.find('\\') == std::string::npos)
        path.insert(0, FolderForFile(path));

    std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
    if (size)
        ar.Read(data.data(), data.size());

    m_name = NameFromPath(path);
    m_path = std::move(path);
    m_size = size;
    m_offset = offset;
    m_data = std::move(data);
}
