#include "framework/Archive.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace {

constexpr std::uint16_t kNullTag = 0;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint32_t kBigClassTag = 0x80000000u;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint32_t kMaxMapCount = 0x3FFFFFFEu;

static_assert(std::endian::native == std::endian::little,
              "the archive assumes a little-endian host");

}  // namespace

std::string ArchiveCauseText(CArchiveException::Cause cause)
{
    switch (cause) {
    case CArchiveException::endOfFile:
        return "unexpected end of file";
    case CArchiveException::badClass:
        return "unknown or unexpected class";
    case CArchiveException::badSchema:
        return "unsupported record version";
    case CArchiveException::badIndex:
        return "invalid reference";
    case CArchiveException::badFormat:
        return "invalid data";
    }
    return "invalid data";
}

CArchive::CArchive(const CClassRegistry& registry) : m_registry(registry), m_storing(true) {}

CArchive::CArchive(const CClassRegistry& registry, std::span<const std::uint8_t> data)
    : m_registry(registry), m_storing(false), m_in(data)
{}

// ---------------------------------------------------------------- primitives

void CArchive::ThrowEndOfFile() const
{
    throw CArchiveException(CArchiveException::endOfFile,
                            "Unexpected end of file at byte " + std::to_string(m_pos) + ".");
}

void CArchive::Need(std::size_t size) const
{
    if (size > Remaining())
        ThrowEndOfFile();
}

void CArchive::Write(const void* data, std::size_t size)
{
    const auto* p = static_cast<const std::uint8_t*>(data);
    m_out.insert(m_out.end(), p, p + size);
}

void CArchive::Read(void* data, std::size_t size)
{
    Need(size);
    if (size)
        std::memcpy(data, m_in.data() + m_pos, size);
    m_pos += size;
}

// ---------------------------------------------------------------- strings and counts

void CArchive::WriteString(std::string_view s)
{
    const std::size_t n = s.size();
    if (n > std::numeric_limits<std::uint32_t>::max())
        throw CArchiveException(CArchiveException::badFormat, "A text is too long to be stored.");
    if (n < 255) {
        WriteByte(static_cast<std::uint8_t>(n));
    } else if (n < 0xFFFE) {
        WriteByte(0xFF);
        WriteWord(static_cast<std::uint16_t>(n));
    } else {
        WriteByte(0xFF);
        WriteWord(0xFFFF);
        WriteDWord(static_cast<std::uint32_t>(n));
    }
    Write(s.data(), n);
}

std::string CArchive::ReadString()
{
    std::size_t n = ReadByte();
    if (n == 0xFF) {
        n = ReadWord();
        if (n == 0xFFFE)
            throw CArchiveException(CArchiveException::badFormat, "Wide-character text at byte " +
                                                                      std::to_string(m_pos) +
                                                                      " is not supported.");
        if (n == 0xFFFF)
            n = ReadDWord();
    }
    Need(n);
    std::string s(reinterpret_cast<const char*>(m_in.data() + m_pos), n);
    m_pos += n;
    return s;
}

void CArchive::WriteCount(std::size_t count)
{
    if (count > std::numeric_limits<std::uint32_t>::max())
        throw CArchiveException(CArchiveException::badFormat, "A list is too long to be stored.");
    if (count < 0xFFFF) {
        WriteWord(static_cast<std::uint16_t>(count));
    } else {
        WriteWord(0xFFFF);
        WriteDWord(static_cast<std::uint32_t>(count));
    }
}

std::size_t CArchive::ReadCount(std::size_t minElementBytes)
{
    const std::size_t at = m_pos;
    std::size_t n = ReadWord();
    if (n == 0xFFFF)
        n = ReadDWord();
    if (minElementBytes && n > Remaining() / minElementBytes)
        throw CArchiveException(CArchiveException::endOfFile,
                                "The list at byte " + std::to_string(at) + " claims " +
                                    std::to_string(n) + " elements, more than the file holds.");
    return n;
}

void CArchive::WriteStringList(const std::vector<std::string>& list)
{
    WriteCount(list.size());
    for (const auto& s : list)
        WriteString(s);
}

void CArchive::ReadStringList(std::vector<std::string>& list)
{
    const std::size_t n = ReadCount(1);
    std::vector<std::string> tmp;
    tmp.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        tmp.push_back(ReadString());
    list = std::move(tmp);
}

void CArchive::WriteIntList(const std::vector<std::int32_t>& list)
{
    WriteCount(list.size());
    for (std::int32_t v : list)
        WriteInt(v);
}

void CArchive::ReadIntList(std::vector<std::int32_t>& list)
{
    const std::size_t n = ReadCount(4);
    std::vector<std::int32_t> tmp(n);
    for (std::size_t i = 0; i < n; ++i)
        tmp[i] = ReadInt();
    list = std::move(tmp);
}

// ---------------------------------------------------------------- objects

void CArchive::MapNewObject()
{
    if (m_mapCount >= kMaxMapCount)
        throw CArchiveException(CArchiveException::badFormat, "Too many objects in one file.");
    ++m_mapCount;
}

void CArchive::WriteClassTag(const CRuntimeClass& cls)
{
    const auto it = std::find_if(m_storeClasses.begin(), m_storeClasses.end(),
                                 [&cls](const auto& entry) { return entry.first == &cls; });
    if (it != m_storeClasses.end()) {
        const std::uint32_t index = it->second;
        if (index < kBigObjectTag) {
            WriteWord(static_cast<std::uint16_t>(kClassTag | index));
        } else {
            WriteWord(kBigObjectTag);
            WriteDWord(kBigClassTag | index);
        }
        return;
    }
    const std::size_t nameLen = std::strlen(cls.m_lpszClassName);
    WriteWord(kNewClassTag);
    WriteWord(cls.m_wSchema);
    WriteWord(static_cast<std::uint16_t>(nameLen));
    Write(cls.m_lpszClassName, nameLen);
    m_storeClasses.emplace_back(&cls, m_mapCount);
    MapNewObject();
}

void CArchive::WriteObject(const CObject* obj)
{
    if (!obj) {
        WriteWord(kNullTag);
        return;
    }
    WriteClassTag(obj->GetRuntimeClass());
    MapNewObject();  // every object is stored once, so only its index is taken
    // Serialize serves both directions; a storing archive only reads the object.
    const_cast<CObject*>(obj)->Serialize(*this);
}

const CArchive::LoadedClass* CArchive::ReadClassTag(const CRuntimeClass* expected)
{
    const std::size_t at = m_pos;
    const std::uint16_t tag = ReadWord();
    if (tag == kNullTag)
        return nullptr;

    if (tag == kNewClassTag) {
        const std::uint16_t schema = ReadWord();
        const std::uint16_t nameLen = ReadWord();
        Need(nameLen);
        std::string name(reinterpret_cast<const char*>(m_in.data() + m_pos), nameLen);
        m_pos += nameLen;
        const CRuntimeClass* cls =
            name == g_classCObArray.m_lpszClassName ? &g_classCObArray : m_registry.Find(name);
        if (!cls)
            throw CArchiveException(CArchiveException::badClass, "Unknown record class \"" + name +
                                                                     "\" at byte " +
                                                                     std::to_string(at) + ".");
        if (schema > cls->m_wSchema)
            throw CArchiveException(CArchiveException::badSchema,
                                    "Record class \"" + name + "\" has version " +
                                        std::to_string(schema) + ", newer than this program (" +
                                        std::to_string(cls->m_wSchema) + ").");
        const std::uint32_t index = m_mapCount;
        MapNewObject();
        // Each class is introduced once; this also keeps the class list as short as the registry.
        for (const auto& entry : m_loadClasses)
            if (entry.second.cls == cls)
                throw CArchiveException(CArchiveException::badFormat,
                                        "Record class \"" + name + "\" is introduced twice (byte " +
                                            std::to_string(at) + ").");
        m_loadClasses.emplace_back(index, LoadedClass{cls, schema});
        const LoadedClass* loaded = &m_loadClasses.back().second;
        if (expected && cls != expected)
            throw CArchiveException(CArchiveException::badClass,
                                    "Found a \"" + name + "\" record at byte " +
                                        std::to_string(at) + " where a \"" +
                                        expected->m_lpszClassName + "\" was expected.");
        return loaded;
    }

    std::uint32_t obTag;
    if (tag == kBigObjectTag)
        obTag = ReadDWord();
    else
        obTag = (static_cast<std::uint32_t>(tag & kClassTag) << 16) | (tag & ~kClassTag & 0xFFFFu);

    if (!(obTag & kBigClassTag))
        throw CArchiveException(CArchiveException::badIndex, "A shared object reference at byte " +
                                                                 std::to_string(at) +
                                                                 " is not allowed in this file.");
    const std::uint32_t index = obTag & ~kBigClassTag;
    const auto it = std::find_if(m_loadClasses.begin(), m_loadClasses.end(),
                                 [index](const auto& entry) { return entry.first == index; });
    if (it == m_loadClasses.end())
        throw CArchiveException(CArchiveException::badIndex, "A class reference at byte " +
                                                                 std::to_string(at) +
                                                                 " names no class read before.");
    if (expected && it->second.cls != expected)
        throw CArchiveException(CArchiveException::badClass,
                                std::string("Found a \"") + it->second.cls->m_lpszClassName +
                                    "\" record at byte " + std::to_string(at) + " where a \"" +
                                    expected->m_lpszClassName + "\" was expected.");
    return &it->second;
}

std::unique_ptr<CObject> CArchive::ReadObject()
{
    const LoadedClass* lc = ReadClassTag(nullptr);
    if (!lc)
        return nullptr;
    if (!lc->cls->m_pfnCreateObject)
        throw CArchiveException(CArchiveException::badClass, std::string("A \"") +
                                                                 lc->cls->m_lpszClassName +
                                                                 "\" cannot stand here.");
    std::unique_ptr<CObject> obj = lc->cls->m_pfnCreateObject();
    MapNewObject();
    m_objectSchema = lc->schema;
    obj->Serialize(*this);
    return obj;
}

void CArchive::ReadObjectInto(CObject& obj)
{
    const std::size_t at = m_pos;
    const CRuntimeClass& cls = obj.GetRuntimeClass();
    const LoadedClass* lc = ReadClassTag(&cls);
    if (!lc)
        throw CArchiveException(CArchiveException::badFormat,
                                std::string("A \"") + cls.m_lpszClassName +
                                    "\" record is missing at byte " + std::to_string(at) + ".");
    MapNewObject();
    m_objectSchema = lc->schema;
    obj.Serialize(*this);
}

void CArchive::BeginWriteObArray(std::size_t count)
{
    WriteClassTag(g_classCObArray);
    MapNewObject();
    WriteCount(count);
}

std::size_t CArchive::BeginReadObArray()
{
    const std::size_t at = m_pos;
    const LoadedClass* lc = ReadClassTag(&g_classCObArray);
    if (!lc)
        throw CArchiveException(CArchiveException::badFormat,
                                "A record list is missing at byte " + std::to_string(at) + ".");
    MapNewObject();
    return ReadCount(2);
}
