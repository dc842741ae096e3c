#pragma once

#include "model/file_version.h"

#include <cstdint>
#include <string>

namespace kestra {

class CArchive;
class CHierarchyTree;

inline constexpr std::uint32_t kProjectSignature = 0x11D2A07E;
inline constexpr std::uint32_t kHierarchyEndMark = 0xFFFFFFFF;

// Record marks of the hierarchy body: "record follows" and "no record".
inline constexpr std::uint8_t kObjectMark = 1;
inline constexpr std::uint8_t kNoObjectMark = 0;
inline constexpr std::uint8_t kSignalMark = 2;
inline constexpr std::uint8_t kNoSignalMark = 3;
inline constexpr std::uint8_t kBlockMark = 4;
inline constexpr std::uint8_t kNoBlockMark = 5;

// The project file header. The creator fields, the reserved words and the access level are
// present from version 108 on; the access level is stored XOR the low byte of reservedB.
struct ProjectHeader {
    std::uint32_t version = kProgramFileVersion;
    std::string creatorComputer;
    std::string creatorUser;
    std::uint32_t reservedA = 0;
    std::uint32_t reservedB = 0;
    std::uint8_t accessLevel = 0;
};

enum class HeaderResult { Ok, Unrecognized, NewerVersion, Damaged };

// Reads signature, version and (from version 108) the rest; older files leave the other
// fields as they were. A file too short to hold a signature is unrecognized.
HeaderResult LoadProjectHeader(CArchive& archive, ProjectHeader& header);
// Writes the current layout (version 110), whatever version the header was read with.
void StoreProjectHeader(CArchive& archive, const ProjectHeader& header);

enum class BodyResult {
    Complete,           // the end mark was reached
    FormatError,        // an unknown record mark; the items read so far stay
    FatalInternalError, // a record mark for a record the item does not have; as above
    Damaged,            // the bytes ended early or a record is corrupt
};

// Reads the hierarchy body into the tree (appending to whatever it holds) by the archive's file
// version, which the record loaders read too.
BodyResult LoadHierarchyBody(CArchive& archive, CHierarchyTree& tree);
// Writes every item in pre-order with its records, then the end mark.
void StoreHierarchyBody(CArchive& archive, CHierarchyTree& tree);

} // namespace kestra
