#pragma once

#include "model/file_version.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestra {

// Little-endian binary stream in the project file's encoding, either storing into
// its own buffer or loading from a borrowed byte range. Loading is bounds-checked:
// the first failed read marks the archive failed and every later read fails too,
// so a record loader may read on and check the result once. A loading archive carries the
// version of the file its bytes come from, which tells the record loaders which fields an older
// file holds.
class CArchive {
public:
    static CArchive ForStoring();
    static CArchive ForLoading(std::string_view bytes, int fileVersion = kProgramFileVersion);
    // The archive borrows its input.
    static CArchive ForLoading(std::string&& bytes, int fileVersion = kProgramFileVersion) = delete;

    bool IsStoring() const { return m_storing; }
    bool IsLoading() const { return !m_storing; }

    // The version of the file being loaded; a project's header sets it once it is read.
    int FileVersion() const { return m_fileVersion; }
    void SetFileVersion(int version) { m_fileVersion = version; }

    void WriteUInt8(std::uint8_t value);
    void WriteUInt16(std::uint16_t value);
    void WriteUInt32(std::uint32_t value);
    void WriteInt32(std::int32_t value) { WriteUInt32(static_cast<std::uint32_t>(value)); }
    // Length prefix: one byte below 255; 0xFF and 16 bits up to 65533; else 0xFF, 0xFFFF and 32 bits.
    void WriteString(std::string_view text);

    [[nodiscard]] bool ReadUInt8(std::uint8_t& value);
    [[nodiscard]] bool ReadUInt16(std::uint16_t& value);
    [[nodiscard]] bool ReadUInt32(std::uint32_t& value);
    [[nodiscard]] bool ReadInt32(std::int32_t& value);
    // Fails on a length beyond the remaining bytes (nothing is allocated for it) and on the
    // 0xFFFE marker of 16-bit characters, which this system never writes.
    [[nodiscard]] bool ReadString(std::string& text);

    // Loading: fails unless at least count * minBytesEach bytes remain. Record loaders call it
    // before sizing a table from a count read from the file.
    [[nodiscard]] bool CanHold(std::uint64_t count, std::size_t minBytesEach);

    bool Failed() const { return m_failed; }
    void MarkFailed() { m_failed = true; }
    std::size_t Remaining() const { return m_input.size() - m_pos; }
    bool AtEnd() const { return m_pos == m_input.size(); }

    const std::string& Buffer() const { return m_output; }
    std::string TakeBuffer() { return std::move(m_output); }

private:
    explicit CArchive(bool storing) : m_storing(storing) {}
    bool Take(std::size_t count, const char*& bytes);

    bool m_storing;
    bool m_failed = false;
    int m_fileVersion = kProgramFileVersion;
    std::string m_output;
    std::string_view m_input;
    std::size_t m_pos = 0;
};

} // namespace kestra
