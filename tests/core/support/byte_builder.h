#pragma once

// Hand-building project file bytes in tests, field by field, independently of CArchive.

#include <cstdint>
#include <string>
#include <string_view>

namespace kestra::test {

class ByteBuilder {
public:
    ByteBuilder& U8(std::uint32_t value) {
        m_bytes.push_back(static_cast<char>(value & 0xFF));
        return *this;
    }
    ByteBuilder& U16(std::uint32_t value) { return U8(value).U8(value >> 8); }
    ByteBuilder& U32(std::uint32_t value) { return U16(value & 0xFFFF).U16(value >> 16); }
    ByteBuilder& I32(std::int32_t value) { return U32(static_cast<std::uint32_t>(value)); }
    // A string below 255 characters: one length byte, then the characters.
    ByteBuilder& Str(std::string_view text) {
        U8(static_cast<std::uint32_t>(text.size()));
        m_bytes.append(text);
        return *this;
    }
    ByteBuilder& Raw(std::string_view bytes) {
        m_bytes.append(bytes);
        return *this;
    }
    const std::string& Bytes() const { return m_bytes; }
    std::size_t Size() const { return m_bytes.size(); }

private:
    std::string m_bytes;
};

} // namespace kestra::test
