#pragma once

#include "model/block_colours.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

class CArchive;

struct BlockRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const BlockRect&) const = default;
};

struct LinePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const LinePoint&) const = default;
};

// One connection line as stored: from block id, to block id, colour, attribute bits and the
// points of its path from the from block to the to block (at most 65535 of them).
// Its byte form is (points + 2) x 8 bytes of 32-bit little-endian words.
struct LineRecord {
    // Bits of the 16-bit attribute word.
    enum Attribute : std::uint16_t {
        WidthMask = 0x000F, // pen width in pixels: 1, 3 or 5
        ArrowEnd = 0x0010,  // arrowhead at the last point
        ArrowHead = 0x0020, // arrowhead at the first point
        VariantMask = 0x0F00,
        Unrouted = 0x1000, // no route found: the path is the straight line between the centres
    };
    static constexpr int kVariantShift = 8;
    static constexpr int kManualVariant = 15;
    static constexpr std::size_t kMaxPoints = 0xFFFF;

    std::uint16_t attributes = 0;
    std::uint32_t colour = kDefaultLineColour;
    std::uint32_t fromId = 0;
    std::uint32_t toId = 0;
    std::vector<LinePoint> points;

    int PenWidth() const { return attributes & WidthMask; }
    int RouteVariant() const { return (attributes & VariantMask) >> kVariantShift; }
    void SetPenWidth(int width);
    void SetRouteVariant(int variant);

    // Word 0: the point count in bits 0-15, the attributes in bits 16-31.
    std::uint32_t Word0() const;
    std::size_t ByteSize() const { return (points.size() + 2) * 8; }
    std::string ToBytes() const;
    // Empty when the bytes are shorter than their point count says, or longer.
    [[nodiscard]] static std::optional<LineRecord> FromBytes(std::string_view bytes);

    bool operator==(const LineRecord&) const = default;
};

// The stored block diagram of one module: per-block name, id, rectangle and colour, and the
// connection lines under dense keys 0 .. NextLineKey() - 1. Block names carry the block kind
// by prefix (none for a module block, "\T:" for ports and text, "\C:" for custom blocks).
// The per-block values always exist together; the record owns its line copies.
class CBlockData {
public:
    struct Block {
        std::string name;
        std::int32_t id = -1;
        BlockRect rect;
        std::uint32_t colour = 0;
        bool operator==(const Block&) const = default;
    };

    // Keys are 16-bit; a diagram holds at most this many lines.
    static constexpr int kMaxLines = 0x10000;

    int GetBlockCount() const { return static_cast<int>(m_blocks.size()); }
    // Drops every block and line; the new blocks have empty names, id -1 and zero values.
    void Resize(int count);
    bool SetBlock(int index, const std::string& name, std::int32_t id, const BlockRect& rect,
                  std::uint32_t colour);
    // Leaves the outputs unchanged and returns false for an index out of range.
    bool GetBlock(int index, std::string& name, std::int32_t& id, BlockRect& rect,
                  std::uint32_t& colour) const;
    const std::vector<Block>& Blocks() const { return m_blocks; }
    int FindBlockByName(std::string_view name) const;
    std::string NameById(std::int32_t id) const;
    // Gives the first block named oldName the new name, keeping its id, rectangle and colour.
    bool RenameBlock(std::string_view oldName, const std::string& newName);

    int NextLineKey() const { return static_cast<int>(m_lines.size()); }
    const LineRecord* LookUpLine(int key) const;
    // Stores a copy under the next key and returns that key; -1 when the diagram is full or
    // the line has more points than its count field can hold.
    int AddLine(const LineRecord& line);
    const std::vector<LineRecord>& Lines() const { return m_lines; }
    void RemoveAllLines() { m_lines.clear(); }

    void CopyFrom(const CBlockData& other) { *this = other; }

    // Stores, or loads by the archive's file version (ids from 104, line attributes from 103,
    // full line records from 106). Loading renumbers the line keys from 0
    // and returns false for a short or damaged record.
    [[nodiscard]] bool Serialize(CArchive& archive);

    bool operator==(const CBlockData&) const = default;

private:
    bool IsValid(int index) const { return index >= 0 && index < GetBlockCount(); }
    [[nodiscard]] bool Load(CArchive& archive);

    std::vector<Block> m_blocks;
    std::vector<LineRecord> m_lines;
};

// Stored names: a module block keeps its name; ports and text blocks get "\T:", custom
// blocks "\C:" (a literal backslash: a name prefix, not a path).
inline constexpr std::string_view kTextNamePrefix = "\\T:";
inline constexpr std::string_view kCustomNamePrefix = "\\C:";

std::string MakeStoredBlockName(BlockKind kind, std::string_view text);
bool HasTextNamePrefix(std::string_view storedName);
bool HasCustomNamePrefix(std::string_view storedName);
// The block text without its prefix.
std::string StoredBlockText(std::string_view storedName);

} // namespace kestra
