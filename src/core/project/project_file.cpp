#include "project/project_file.h"

#include "model/archive.h"
#include "project/hierarchy_tree.h"

namespace kestra {

HeaderResult LoadProjectHeader(CArchive& archive, ProjectHeader& header) {
    std::uint32_t signature = 0;
    if (!archive.ReadUInt32(signature) || signature != kProjectSignature)
        return HeaderResult::Unrecognized;
    std::uint32_t version = 0;
    if (!archive.ReadUInt32(version))
        return HeaderResult::Damaged;
    if (version > static_cast<std::uint32_t>(kProgramFileVersion))
        return HeaderResult::NewerVersion;
    header.version = version;
    if (version < 108)
        return HeaderResult::Ok;
    std::uint8_t maskedAccess = 0;
    if (!archive.ReadString(header.creatorComputer) || !archive.ReadString(header.creatorUser) ||
        !archive.ReadUInt32(header.reservedA) || !archive.ReadUInt32(header.reservedB) ||
        !archive.ReadUInt8(maskedAccess))
        return HeaderResult::Damaged;
    header.accessLevel = static_cast<std::uint8_t>(maskedAccess ^ (header.reservedB & 0xFF));
    return HeaderResult::Ok;
}

void StoreProjectHeader(CArchive& archive, const ProjectHeader& header) {
    archive.WriteUInt32(kProjectSignature);
    archive.WriteUInt32(static_cast<std::uint32_t>(kProgramFileVersion));
    archive.WriteString(header.creatorComputer);
    archive.WriteString(header.creatorUser);
    archive.WriteUInt32(header.reservedA);
    archive.WriteUInt32(header.reservedB);
    archive.WriteUInt8(static_cast<std::uint8_t>(header.accessLevel ^ (header.reservedB & 0xFF)));
}

namespace {

// The parent of an item read at depth d, after the previous item read at previousDepth.
CHierarchyItem* ParentForDepth(CHierarchyItem* previous, std::int64_t previousDepth, std::int64_t depth) {
    if (previous == nullptr)
        return nullptr;
    if (depth > previousDepth)
        return previous;
    CHierarchyItem* parent = previous;
    for (std::int64_t up = previousDepth - depth + 1; up > 0 && parent != nullptr; --up)
        parent = parent->Parent();
    return parent;
}

} // namespace

BodyResult LoadHierarchyBody(CArchive& archive, CHierarchyTree& tree) {
    const int version = archive.FileVersion();
    CHierarchyItem* previous = nullptr;
    std::int64_t previousDepth = 0;
    for (;;) {
        std::uint32_t depth = 0;
        if (!archive.ReadUInt32(depth))
            return BodyResult::Damaged;
        if (depth == kHierarchyEndMark)
            return BodyResult::Complete;
        std::int32_t kind = 0;
        std::string text;
        if (!archive.ReadInt32(kind) || !archive.ReadString(text))
            return BodyResult::Damaged;

        CHierarchyItem* parent = ParentForDepth(previous, previousDepth, depth);
        CHierarchyItem* item = tree.InsertItem(text, static_cast<HierarchyKind>(kind), parent);
        previous = item;
        previousDepth = depth;

        std::uint8_t mark = 0;
        if (!archive.ReadUInt8(mark))
            return BodyResult::Damaged;
        if (mark == kObjectMark) {
            if (item->Object() == nullptr)
                return BodyResult::FatalInternalError;
            if (!item->Object()->Serialize(archive))
                return BodyResult::Damaged;
        } else if (mark != kNoObjectMark) {
            return BodyResult::FormatError;
        }

        if (version >= 101) {
            if (!archive.ReadUInt8(mark))
                return BodyResult::Damaged;
            if (mark == kSignalMark) {
                // An item without a signal list reads the record into a copy it then drops.
                CVHDLSignal discarded;
                CVHDLSignal* signals = item->Signals() != nullptr ? item->Signals() : &discarded;
                if (!signals->Serialize(archive))
                    return BodyResult::Damaged;
            } else if (mark != kNoSignalMark) {
                return BodyResult::FormatError;
            }
        }

        if (version >= 102) {
            if (!archive.ReadUInt8(mark))
                return BodyResult::Damaged;
            if (mark == kBlockMark) {
                CBlockData discarded;
                CBlockData* blocks = item->BlockData() != nullptr ? item->BlockData() : &discarded;
                if (!blocks->Serialize(archive))
                    return BodyResult::Damaged;
            } else if (mark != kNoBlockMark) {
                return BodyResult::FormatError;
            }
        }
    }
}

// Storing into the archive's memory cannot fail: the records' Serialize results are not needed.
void StoreHierarchyBody(CArchive& archive, CHierarchyTree& tree) {
    std::int32_t depth = 0;
    CHierarchyItem* item = tree.GetRootItem();
    while (item != nullptr) {
        archive.WriteInt32(depth);
        archive.WriteInt32(item->Image());
        archive.WriteString(item->Text());
        if (CKSTObject* object = item->Object()) {
            archive.WriteUInt8(kObjectMark);
            static_cast<void>(object->Serialize(archive));
        } else {
            archive.WriteUInt8(kNoObjectMark);
        }
        CVHDLSignal* signals = item->Signals();
        if (signals != nullptr && KindHasSignalList(item->Kind())) {
            archive.WriteUInt8(kSignalMark);
            static_cast<void>(signals->Serialize(archive));
        } else {
            archive.WriteUInt8(kNoSignalMark);
        }
        if (CBlockData* blocks = item->BlockData()) {
            archive.WriteUInt8(kBlockMark);
            static_cast<void>(blocks->Serialize(archive));
        } else {
            archive.WriteUInt8(kNoBlockMark);
        }

        if (CHierarchyItem* child = item->FirstChild()) {
            item = child;
            ++depth;
            continue;
        }
        while (item != nullptr && item->NextSibling() == nullptr) {
            item = item->Parent();
            --depth;
        }
        if (item != nullptr)
            item = item->NextSibling();
    }
    archive.WriteUInt32(kHierarchyEndMark);
}

} // namespace kestra
