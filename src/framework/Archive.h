#pragma once
// Binary archive in the framework's object format (little-endian primitives, length-prefixed
// strings, escaped counts, tagged objects). A storing archive writes into its own buffer; a loading
// archive reads from a byte span and checks every size, count and reference against the bytes that
// are really there, throwing CArchiveException on any fault.

#include "framework/Exceptions.h"
#include "framework/Object.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

class CArchive {
public:
    // Storing archive: writes into Buffer().
    explicit CArchive(const CClassRegistry& registry);
    // Loading archive over data, which must outlive the archive.
    CArchive(const CClassRegistry& registry, std::span<const std::uint8_t> data);

    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_storing; }
    bool IsLoading() const { return !m_storing; }

    const std::vector<std::uint8_t>& Buffer() const { return m_out; }
    // Storing: makes room for bytes more, so that a large store grows its buffer once, not by
    // many reallocations and copies of everything written so far.
    void Reserve(std::size_t bytes) { m_out.reserve(m_out.size() + bytes); }
    std::vector<std::uint8_t> TakeBuffer() { return std::move(m_out); }

    std::size_t Position() const { return m_pos; }  // loading: bytes consumed
    std::size_t Remaining() const { return m_in.size() - m_pos; }
    bool AtEnd() const { return Remaining() == 0; }

    // ---- primitives (little-endian) ----
    // The fixed-size primitives are inline: records are read and written field by field.
    void WriteByte(std::uint8_t v) { m_out.push_back(v); }
    void WriteWord(std::uint16_t v) { WriteValue(v); }
    void WriteDWord(std::uint32_t v) { WriteValue(v); }
    void WriteInt(std::int32_t v) { WriteValue(v); }
    void WriteFloat(float v) { WriteValue(v); }
    void Write(const void* data, std::size_t size);

    std::uint8_t ReadByte() { return ReadValue<std::uint8_t>(); }
    std::uint16_t ReadWord() { return ReadValue<std::uint16_t>(); }
    std::uint32_t ReadDWord() { return ReadValue<std::uint32_t>(); }
    std::int32_t ReadInt() { return ReadValue<std::int32_t>(); }
    float ReadFloat() { return ReadValue<float>(); }
    void Read(void* data, std::size_t size);

    // ---- strings: length 1 byte (<255), else 0xFF + word (<0xFFFE), else 0xFF 0xFFFF + dword ----
    void WriteString(std::string_view s);
    std::string ReadString();

    // ---- element counts: word (<0xFFFF), else 0xFFFF + dword ----
    void WriteCount(std::size_t count);
    // Reads a count and checks that count * minElementBytes bytes are still left.
    std::size_t ReadCount(std::size_t minElementBytes);

    // ---- string lists and plain arrays ----
    void WriteStringList(const std::vector<std::string>& list);
    void ReadStringList(std::vector<std::string>& list);
    void WriteIntList(const std::vector<std::int32_t>& list);
    void ReadIntList(std::vector<std::int32_t>& list);

    // Array of trivially copyable records stored as raw bytes (count, then sizeof(T) bytes each).
    template <class T>
    void WriteRawArray(const std::vector<T>& list)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        WriteCount(list.size());
        if (!list.empty())
            Write(list.data(), list.size() * sizeof(T));
    }
    template <class T>
    void ReadRawArray(std::vector<T>& list)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        const std::size_t n = ReadCount(sizeof(T));
        std::vector<T> tmp(n);
        if (n)
            Read(tmp.data(), n * sizeof(T));
        list = std::move(tmp);
    }

    // ---- objects ----
    // Writes the object form: null tag, or class tag (new class or reference) then the data.
    void WriteObject(const CObject* obj);
    // Reads one object of any registered class (null for the null tag).
    std::unique_ptr<CObject> ReadObject();
    // Reads one object that must be exactly of class T (never null).
    template <class T>
    std::unique_ptr<T> ReadObjectOf()
    {
        auto obj = std::make_unique<T>();
        ReadObjectInto(*obj);
        return obj;
    }
    // Reads one object that must be of obj's class into obj (never null).
    void ReadObjectInto(CObject& obj);

    // Schema of the object whose Serialize is running (the stored schema while loading).
    std::uint16_t GetObjectSchema() const { return m_objectSchema; }

    // ---- object lists (the CObArray pseudo-class: count, then one object per element) ----
    template <class T>
    void WriteObArray(const std::vector<std::unique_ptr<T>>& list)
    {
        BeginWriteObArray(list.size());
        for (const auto& p : list)
            WriteObject(p.get());
    }
    template <class T>
    void WriteObArray(const std::vector<T>& list)
    {
        BeginWriteObArray(list.size());
        for (const auto& v : list)
            WriteObject(&v);
    }
    // Every element must be a non-null object of class T.
    template <class T>
    void ReadObArray(std::vector<std::unique_ptr<T>>& list)
    {
        const std::size_t n = BeginReadObArray();
        std::vector<std::unique_ptr<T>> tmp;
        tmp.reserve(n);
        for (std::size_t i = 0; i < n; ++i)
            tmp.push_back(ReadObjectOf<T>());
        list = std::move(tmp);
    }
    template <class T>
    void ReadObArray(std::vector<T>& list)
    {
        const std::size_t n = BeginReadObArray();
        std::vector<T> tmp(n);
        for (std::size_t i = 0; i < n; ++i)
            ReadObjectInto(tmp[i]);
        list = std::move(tmp);
    }

    // Writes the CObArray class tag, takes its object index and writes the count.
    void BeginWriteObArray(std::size_t count);
    // Reads the CObArray class tag and the count (each element needs at least 2 bytes).
    std::size_t BeginReadObArray();

private:
    template <class T>
    void WriteValue(T v)
    {
        const std::size_t at = m_out.size();
        m_out.resize(at + sizeof(T));
        std::memcpy(m_out.data() + at, &v, sizeof(T));
    }
    template <class T>
    T ReadValue()
    {
        if (sizeof(T) > Remaining())
            ThrowEndOfFile();
        T v;
        std::memcpy(&v, m_in.data() + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return v;
    }
    [[noreturn]] void ThrowEndOfFile() const;

    struct LoadedClass {
        const CRuntimeClass* cls;
        std::uint16_t schema;
    };

    void Need(std::size_t size) const;
    void WriteClassTag(const CRuntimeClass& cls);
    // Reads a class tag; returns null for the null tag.
    const LoadedClass* ReadClassTag(const CRuntimeClass* expected);
    void MapNewObject();

    const CClassRegistry& m_registry;
    bool m_storing;

    std::vector<std::uint8_t> m_out;
    std::span<const std::uint8_t> m_in;
    std::size_t m_pos = 0;

    // One running index for classes and objects, starting at 1.
    std::uint32_t m_mapCount = 1;
    // Classes seen so far with their running index; an archive holds only a handful, so a
    // short list searched from the start is the fastest map.
    std::vector<std::pair<const CRuntimeClass*, std::uint32_t>> m_storeClasses;
    std::vector<std::pair<std::uint32_t, LoadedClass>> m_loadClasses;
    std::uint16_t m_objectSchema = 0xFFFF;
};

std::string ArchiveCauseText(CArchiveException::Cause cause);

// The stored schema of the record whose Serialize is loading. Must be called before any nested
// object is read. A schema this program does not know (0, or newer than cls writes) is refused.
inline std::uint16_t LoadedSchema(const CArchive& ar, const CRuntimeClass& cls)
{
    const std::uint16_t schema = ar.GetObjectSchema();
    if (schema == 0 || schema > cls.m_wSchema)
        throw CArchiveException(CArchiveException::badSchema, std::string(cls.m_lpszClassName) +
                                                                  ": unknown schema " +
                                                                  std::to_string(schema));
    return schema;
}
