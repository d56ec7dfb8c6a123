#pragma once
// Builds expected archive bytes by hand, little-endian, in the framework's object format.

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

struct ByteBuilder {
    Bytes b;

    ByteBuilder& U8(std::uint8_t v)
    {
        b.push_back(v);
        return *this;
    }
    ByteBuilder& U16(std::uint16_t v)
    {
        return U8(static_cast<std::uint8_t>(v & 0xFF)).U8(static_cast<std::uint8_t>(v >> 8));
    }
    ByteBuilder& U32(std::uint32_t v)
    {
        return U16(static_cast<std::uint16_t>(v & 0xFFFF)).U16(static_cast<std::uint16_t>(v >> 16));
    }
    ByteBuilder& I32(std::int32_t v) { return U32(static_cast<std::uint32_t>(v)); }
    ByteBuilder& F32(float v) { return U32(std::bit_cast<std::uint32_t>(v)); }
    template <class... F>
    ByteBuilder& Floats(F... v)
    {
        (F32(v), ...);
        return *this;
    }
    // Raw characters, no length.
    ByteBuilder& Text(const std::string& s)
    {
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    // A short string: one length byte, then the characters.
    ByteBuilder& Str(const std::string& s)
    {
        return U8(static_cast<std::uint8_t>(s.size())).Text(s);
    }
    ByteBuilder& Zeros(std::size_t n)
    {
        b.insert(b.end(), n, 0);
        return *this;
    }
    ByteBuilder& Count(std::uint16_t n) { return U16(n); }
    // The tag of a class not yet seen in the archive: 0xFFFF, schema, name length, name.
    ByteBuilder& NewClass(const std::string& name, std::uint16_t schema)
    {
        return U16(0xFFFF).U16(schema).U16(static_cast<std::uint16_t>(name.size())).Text(name);
    }
    // The tag of a class already seen, by its running index.
    ByteBuilder& ClassRef(std::uint16_t index)
    {
        return U16(static_cast<std::uint16_t>(0x8000 | index));
    }
};
