#include "model/block_data.h"

#include "model/archive.h"

namespace kestra {

namespace {

void PutWord(std::string& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
}

std::uint32_t GetWord(std::string_view bytes, std::size_t wordIndex) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[wordIndex * 4 + i])) << (8 * i);
    return value;
}

// Smallest stored sizes, used to refuse counts that the remaining bytes cannot hold.
constexpr std::size_t kMinBlockBytes = 1 + 16 + 4;
constexpr std::size_t kMinOldLineBytes = 4;
constexpr std::size_t kMinLineBytes = 16;

} // namespace

void LineRecord::SetPenWidth(int width) {
    attributes = static_cast<std::uint16_t>((attributes & ~WidthMask) | (width & WidthMask));
}

void LineRecord::SetRouteVariant(int variant) {
    attributes =
        static_cast<std::uint16_t>((attributes & ~VariantMask) | ((variant << kVariantShift) & VariantMask));
}

std::uint32_t LineRecord::Word0() const {
    return static_cast<std::uint32_t>(points.size() & 0xFFFF) |
           (static_cast<std::uint32_t>(attributes) << 16);
}

std::string LineRecord::ToBytes() const {
    std::string bytes;
    bytes.reserve(ByteSize());
    PutWord(bytes, Word0());
    PutWord(bytes, colour);
    PutWord(bytes, fromId);
    PutWord(bytes, toId);
    for (const LinePoint& point : points) {
        PutWord(bytes, static_cast<std::uint32_t>(point.x));
        PutWord(bytes, static_cast<std::uint32_t>(point.y));
    }
    return bytes;
}

std::optional<LineRecord> LineRecord::FromBytes(std::string_view bytes) {
    if (bytes.size() < 16)
        return std::nullopt;
    const std::uint32_t word0 = GetWord(bytes, 0);
    const std::size_t count = word0 & 0xFFFF;
    if (bytes.size() != (count + 2) * 8)
        return std::nullopt;
    LineRecord line;
    line.attributes = static_cast<std::uint16_t>(word0 >> 16);
    line.colour = GetWord(bytes, 1);
    line.fromId = GetWord(bytes, 2);
    line.toId = GetWord(bytes, 3);
    line.points.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
        line.points[k].x = static_cast<std::int32_t>(GetWord(bytes, 4 + 2 * k));
        line.points[k].y = static_cast<std::int32_t>(GetWord(bytes, 5 + 2 * k));
    }
    return line;
}

void CBlockData::Resize(int count) {
    m_blocks.clear();
    m_lines.clear();
    if (count > 0)
        m_blocks.resize(static_cast<std::size_t>(count));
}

bool CBlockData::SetBlock(int index, const std::string& name, std::int32_t id, const BlockRect& rect,
                          std::uint32_t colour) {
    if (!IsValid(index))
        return false;
    m_blocks[static_cast<std::size_t>(index)] = Block{name, id, rect, colour};
    return true;
}

bool CBlockData::GetBlock(int index, std::string& name, std::int32_t& id, BlockRect& rect,
                          std::uint32_t& colour) const {
    if (!IsValid(index))
        return false;
    const Block& block = m_blocks[static_cast<std::size_t>(index)];
    name = block.name;
    id = block.id;
    rect = block.rect;
    colour = block.colour;
    return true;
}

int CBlockData::FindBlockByName(std::string_view name) const {
    for (std::size_t i = 0; i < m_blocks.size(); ++i) {
        if (m_blocks[i].name == name)
            return static_cast<int>(i);
    }
    return -1;
}

std::string CBlockData::NameById(std::int32_t id) const {
    for (const Block& block : m_blocks) {
        if (block.id == id)
            return block.name;
    }
    return {};
}

bool CBlockData::RenameBlock(std::string_view oldName, const std::string& newName) {
    const int index = FindBlockByName(oldName);
    if (index < 0)
        return false;
    m_blocks[static_cast<std::size_t>(index)].name = newName;
    return true;
}

const LineRecord* CBlockData::LookUpLine(int key) const {
    if (key < 0 || key >= NextLineKey())
        return nullptr;
    return &m_lines[static_cast<std::size_t>(key)];
}

int CBlockData::AddLine(const LineRecord& line) {
    if (NextLineKey() >= kMaxLines || line.points.size() > LineRecord::kMaxPoints)
        return -1;
    m_lines.push_back(line);
    return NextLineKey() - 1;
}

bool CBlockData::Serialize(CArchive& archive) {
    if (archive.IsLoading())
        return Load(archive);

    archive.WriteUInt32(static_cast<std::uint32_t>(m_blocks.size()));
    for (const Block& block : m_blocks) {
        archive.WriteString(block.name);
        archive.WriteInt32(block.id);
        archive.WriteInt32(block.rect.left);
        archive.WriteInt32(block.rect.top);
        archive.WriteInt32(block.rect.right);
        archive.WriteInt32(block.rect.bottom);
        archive.WriteUInt32(block.colour);
    }
    archive.WriteUInt32(static_cast<std::uint32_t>(m_lines.size()));
    for (const LineRecord& line : m_lines) {
        archive.WriteUInt32(line.Word0());
        archive.WriteUInt32(line.colour);
        archive.WriteUInt32(line.fromId);
        archive.WriteUInt32(line.toId);
        for (const LinePoint& point : line.points) {
            archive.WriteInt32(point.x);
            archive.WriteInt32(point.y);
        }
    }
    return true;
}

bool CBlockData::Load(CArchive& archive) {
    const int version = archive.FileVersion();
    std::uint32_t blockCount = 0;
    if (!archive.ReadUInt32(blockCount) || !archive.CanHold(blockCount, kMinBlockBytes))
        return false;
    Resize(static_cast<int>(blockCount));
    for (Block& block : m_blocks) {
        if (!archive.ReadString(block.name))
            return false;
        if (version >= 104 && !archive.ReadInt32(block.id))
            return false;
        if (!archive.ReadInt32(block.rect.left) || !archive.ReadInt32(block.rect.top) ||
            !archive.ReadInt32(block.rect.right) || !archive.ReadInt32(block.rect.bottom) ||
            !archive.ReadUInt32(block.colour))
            return false;
    }

    std::uint32_t lineCount = 0;
    if (!archive.ReadUInt32(lineCount) ||
        !archive.CanHold(lineCount, version >= 106 ? kMinLineBytes : kMinOldLineBytes))
        return false;
    if (lineCount > static_cast<std::uint32_t>(kMaxLines)) {
        archive.MarkFailed();
        return false;
    }
    m_lines.resize(lineCount);
    for (LineRecord& line : m_lines) {
        if (version < 106) {
            std::uint16_t from = 0;
            std::uint16_t to = 0;
            std::uint16_t attributes = 3;
            if (!archive.ReadUInt16(from) || !archive.ReadUInt16(to) ||
                (version >= 103 && !archive.ReadUInt16(attributes)))
                return false;
            line.attributes = attributes;
            line.colour = kDefaultLineColour;
            line.fromId = from;
            line.toId = to;
            continue;
        }
        std::uint32_t word0 = 0;
        if (!archive.ReadUInt32(word0) || !archive.ReadUInt32(line.colour) ||
            !archive.ReadUInt32(line.fromId) || !archive.ReadUInt32(line.toId))
            return false;
        line.attributes = static_cast<std::uint16_t>(word0 >> 16);
        const std::uint32_t pointCount = word0 & 0xFFFF;
        if (!archive.CanHold(pointCount, 8))
            return false;
        line.points.resize(pointCount);
        for (LinePoint& point : line.points) {
            if (!archive.ReadInt32(point.x) || !archive.ReadInt32(point.y))
                return false;
        }
    }
    return true;
}

std::string MakeStoredBlockName(BlockKind kind, std::string_view text) {
    std::string name;
    if (kind == BlockKind::CustomBlock)
        name = kCustomNamePrefix;
    else if (kind != BlockKind::Module)
        name = kTextNamePrefix;
    name += text;
    return name;
}

bool HasTextNamePrefix(std::string_view storedName) {
    return storedName.substr(0, 3) == kTextNamePrefix;
}

bool HasCustomNamePrefix(std::string_view storedName) {
    return storedName.substr(0, 3) == kCustomNamePrefix;
}

std::string StoredBlockText(std::string_view storedName) {
    if (HasTextNamePrefix(storedName) || HasCustomNamePrefix(storedName))
        return std::string(storedName.substr(3));
    return std::string(storedName);
}

} // namespace kestra
