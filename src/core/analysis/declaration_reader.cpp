#include "analysis/declaration_reader.h"

#include "analysis/entry_index.h"
#include "analysis/reader_support.h"
#include "model/design_object.h"
#include "model/vhdl_signal.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace kestra {

namespace {

struct Declaration {
    std::vector<std::string> names;
    std::string mode; // lower case; empty for architecture signals
    std::string type;
    std::string range;
};

// Names separated by ',' and the ':' after them; the cursor is left after the ':'.
bool ReadNames(const CScanner& scanner, std::size_t& cursor, std::vector<std::string>& names) {
    for (;;) {
        std::string name = scanner.ReadIdentifier(cursor);
        if (name.empty()) {
            RaiseAt(scanner, AnalysisErrorCode::MissingIdentifier, cursor);
            return false;
        }
        names.push_back(std::move(name));
        const std::size_t at = NextCodePosition(scanner, cursor);
        const char separator = scanner.At(at);
        if (separator != ',' && separator != ':') {
            RaiseAt(scanner, AnalysisErrorCode::PunctuationError, at);
            return false;
        }
        cursor = at + 1;
        if (separator == ':')
            return true;
    }
}

// First ":=" outside comments in [from, to).
std::size_t FindAssignment(const CScanner& scanner, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i + 1 < to; ++i) {
        const char c = scanner.At(i);
        if (c == '-' && scanner.At(i + 1) == '-') {
            const std::size_t lineFeed = scanner.Text().find('\n', i);
            if (lineFeed == std::string_view::npos)
                return to;
            i = lineFeed;
        } else if (c == ':' && scanner.At(i + 1) == '=') {
            return i;
        }
    }
    return to;
}

// A parenthesised constraint or a "range" constraint, or none; the cursor is left after it.
bool ReadConstraint(const CScanner& scanner, std::size_t& cursor, std::string& range) {
    const std::size_t at = NextCodePosition(scanner, cursor);
    if (scanner.At(at) == '(') {
        const std::size_t start = NextCodePosition(scanner, at + 1);
        int depth = 0;
        for (std::size_t i = start; i < scanner.End(); ++i) {
            const char c = scanner.At(i);
            if (c == '(') {
                ++depth;
            } else if (c == ')' && depth-- == 0) {
                range.assign(scanner.Text().substr(start, i - start));
                cursor = i + 1;
                return true;
            }
        }
        RaiseAt(scanner, AnalysisErrorCode::CloseBracketNotFound, scanner.End());
        return false;
    }
    std::size_t pos = cursor;
    if (!SameTextNoCase(scanner.ReadIdentifier(pos), "range"))
        return true;
    const std::size_t rawStart = NextCodePosition(scanner, pos);
    pos = rawStart;
    range = ReadValueOrRaise(scanner, pos, AnalysisErrorCode::WrongExpression);
    if (range.empty())
        return false;
    const std::size_t assignment = FindAssignment(scanner, rawStart, pos);
    if (assignment < pos) {
        // An initial value follows the range: the range ends before it.
        std::size_t rangeEnd = assignment;
        while (rangeEnd > rawStart && IsBlank(scanner.At(rangeEnd - 1)))
            --rangeEnd;
        range.assign(scanner.Text().substr(rawStart, rangeEnd - rawStart));
        pos = rangeEnd;
    }
    cursor = pos;
    return true;
}

class CDeclarationReader {
public:
    CDeclarationReader(const CScanner& scanner, DeclarationMode mode, CEntryIndex& entries,
                       CVHDLSignal* signals)
        : m_scanner(scanner), m_mode(mode), m_entries(entries), m_signals(signals) {}

    void ReadPortList(std::size_t& cursor) {
        for (;;) {
            if (!ReadPort(cursor))
                return;
            const std::size_t at = NextCodePosition(m_scanner, cursor);
            if (m_scanner.At(at) != ';') {
                cursor = at;
                return;
            }
            cursor = at + 1;
        }
    }

    void ReadArchitectureDeclarations(std::size_t& cursor) {
        for (;;) {
            const std::string word = ToLowerAscii(m_scanner.ReadIdentifier(cursor));
            if (word == "signal") {
                std::size_t probe = cursor;
                if (m_scanner.SkipBlanksAndComments(probe) == 0) {
                    RaiseAt(m_scanner, AnalysisErrorCode::SyntaxError, cursor);
                    return;
                }
                // The cursor stays before the ';', which the next pass steps over.
                if (!ReadSignal(cursor))
                    return;
                continue;
            }
            if (word == "begin")
                return;
            if (word == "type" || word == "subtype")
                m_localTypes.insert(ToLowerAscii(m_scanner.ReadWord(cursor)));
            const auto next = m_scanner.NextStatement(cursor);
            if (!next) {
                RaiseWithoutLine(m_scanner, AnalysisErrorCode::ExpectedKeywordNotFound);
                return;
            }
            cursor = *next;
        }
    }

private:
    bool ReadPort(std::size_t& cursor) {
        Declaration declaration;
        if (!ReadNames(m_scanner, cursor, declaration.names))
            return false;
        declaration.mode = ToLowerAscii(m_scanner.ReadIdentifier(cursor));
        if (!IsPortMode(declaration.mode)) {
            RaiseAt(m_scanner, AnalysisErrorCode::WrongKeyword, cursor);
            return false;
        }
        std::size_t probe = cursor;
        if (m_scanner.SkipBlanksAndComments(probe) == 0) {
            RaiseAt(m_scanner, AnalysisErrorCode::SyntaxError, cursor);
            return false;
        }
        if (!ReadTypeAndConstraint(cursor, declaration))
            return false;
        std::size_t pos = cursor;
        if (m_scanner.ReadChar(pos) == ':' && m_scanner.ReadChar(pos) == '=') {
            RaiseAt(m_scanner, AnalysisErrorCode::SignalAssignmentInPort, pos);
            return false;
        }
        if (m_mode == DeclarationMode::Ports) {
            AddDataTypeParameter(declaration.type);
            if (m_signals != nullptr) {
                for (const std::string& name : declaration.names) {
                    const int index = m_signals->AddSignal() - 1;
                    m_signals->SetSignalAll(index, name, declaration.mode, declaration.type,
                                            declaration.range, "");
                }
            }
        }
        return true;
    }

    bool ReadSignal(std::size_t& cursor) {
        Declaration declaration;
        if (!ReadNames(m_scanner, cursor, declaration.names))
            return false;
        if (!ReadTypeAndConstraint(cursor, declaration))
            return false;
        std::size_t pos = cursor;
        if (m_scanner.ReadChar(pos) == ':' && m_scanner.ReadChar(pos) == '=') {
            if (ReadValueOrRaise(m_scanner, pos, AnalysisErrorCode::WrongExpression).empty())
                return false;
            cursor = pos;
        }
        AddDataTypeParameter(declaration.type);
        return true;
    }

    bool ReadTypeAndConstraint(std::size_t& cursor, Declaration& declaration) {
        declaration.type = m_scanner.ReadIdentifier(cursor);
        if (declaration.type.empty()) {
            RaiseAt(m_scanner, AnalysisErrorCode::MissingKeywordOrParameter, cursor);
            return false;
        }
        return ReadConstraint(m_scanner, cursor, declaration.range);
    }

    void AddDataTypeParameter(const std::string& type) {
        if (IsBuiltInDataType(type) || m_localTypes.count(ToLowerAscii(type)) != 0)
            return;
        if (m_entries.Find(type) < 0)
            m_entries.Append(EntryKind::DataType, type, type, true);
    }

    const CScanner& m_scanner;
    DeclarationMode m_mode;
    CEntryIndex& m_entries;
    CVHDLSignal* m_signals;
    std::unordered_set<std::string> m_localTypes; // lowered; one declarative part
};

} // namespace

void AnalyzeDeclarationList(const CScanner& scanner, DeclarationMode mode, std::size_t& cursor,
                            CEntryIndex& entries, CVHDLSignal* signals) {
    if (ReaderFailed(scanner))
        return;
    CDeclarationReader reader(scanner, mode, entries, signals);
    if (mode == DeclarationMode::ArchitectureDeclarations)
        reader.ReadArchitectureDeclarations(cursor);
    else
        reader.ReadPortList(cursor);
}

void AnalyzeDeclarationList(const CScanner& scanner, DeclarationMode mode, std::size_t& cursor,
                            CKSTObject* object, CVHDLSignal* signals) {
    CEntryIndex entries(object, ReaderContext(scanner).previousObject);
    AnalyzeDeclarationList(scanner, mode, cursor, entries, signals);
}

} // namespace kestra
