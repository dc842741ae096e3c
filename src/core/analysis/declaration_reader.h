#pragma once

#include <cstddef>

namespace kestra {

class CEntryIndex;
class CKSTObject;
class CScanner;
class CVHDLSignal;
struct InterfaceList;

enum class DeclarationMode : int {
    // Port declarations become signals and data type parameters.
    Ports = 0,
    // An architecture declarative part: signal types become data type parameters.
    ArchitectureDeclarations = 1,
    // Port declarations are checked and passed over; nothing is added.
    SkipPorts = 2,
};

// Reads a declaration list from cursor. The scanner must carry the analysis context, which
// receives the first error; the reader then returns at once, keeping what it added so far.
// Ports and SkipPorts: reads port declarations separated by ';' and leaves the cursor on the
// character that ended the list (normally the ')' of the port clause), not consumed.
// ArchitectureDeclarations: reads up to and including "begin"; the cursor is left after it.
// Data type parameters (Ports, ArchitectureDeclarations) go to the object with values carried
// from the context's previous object; signals (Ports) go to the signal list when one is given.
void AnalyzeDeclarationList(const CScanner& scanner, DeclarationMode mode, std::size_t& cursor,
                            CKSTObject* object, CVHDLSignal* signals);
// The same, adding entries through an index that the caller keeps across several readers.
void AnalyzeDeclarationList(const CScanner& scanner, DeclarationMode mode, std::size_t& cursor,
                            CEntryIndex& entries, CVHDLSignal* signals);

// The port modes of the reader (Ports or SkipPorts), also giving each declaration as written
// and the ';' between them when a list is given.
void ReadPortList(const CScanner& scanner, DeclarationMode mode, std::size_t& cursor, CEntryIndex& entries,
                  CVHDLSignal* signals, InterfaceList* list);

} // namespace kestra
