#include "resources/MemoryGameArchive.h"

#include "framework/Exceptions.h"
#include "resources/GobArchive.h"

#include <limits>

std::uint64_t CMemoryGameArchive::DataStart() const
{
    return CGobArchive::kHeaderSize + std::uint64_t{CGobArchive::kRecordSize} * m_entries.size();
}

void CMemoryGameArchive::Add(const std::string& path, std::span<const std::uint8_t> data)
{
    CGobArchive::CheckEntryPath(path);
    if (DataStart() + CGobArchive::kRecordSize + m_data.size() + data.size() >
        std::numeric_limits<std::uint32_t>::max())
        throw CArchiveException(CArchiveException::badFormat,
                                "\"" + path +
                                    "\" cannot be added: a game archive holds at most "
                                    "4 GB.");
    m_entries.push_back({path, 0, static_cast<std::uint32_t>(data.size())});
    m_data.insert(m_data.end(), data.begin(), data.end());
    // One more directory record moves every entry's data back.
    auto offset = static_cast<std::uint32_t>(DataStart());
    for (CGameArchiveEntry& entry : m_entries) {
        entry.m_offset = offset;
        offset += entry.m_size;
    }
}

std::vector<std::uint8_t> CMemoryGameArchive::ReadBytes(std::uint32_t offset,
                                                        std::uint32_t size) const
{
    const std::uint64_t start = DataStart();
    if (offset < start || std::uint64_t{offset} + size > start + m_data.size())
        throw CArchiveException(CArchiveException::badFormat,
                                "The " + std::to_string(size) + " bytes at offset " +
                                    std::to_string(offset) + " lie outside the archive.");
    const auto first = m_data.begin() + static_cast<std::ptrdiff_t>(offset - start);
    return {first, first + static_cast<std::ptrdiff_t>(size)};
}
