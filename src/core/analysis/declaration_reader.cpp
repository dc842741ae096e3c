#include "analysis/declaration_reader.h"

#include "analysis/entry_index.h"
#include "analysis/interface_list.h"
#include "analysis/reader_support.h"
#include "model/design_object.h"
#include "model/vhdl_signal.h"

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace kestra {

namespace {

// One declaration as it is read; the reader keeps one and clears it for the next, so that its
// buffers are reused.
struct Declaration {
    std::vector<std::string> names;
    std::vector<std::size_t> nameStarts;
    std::string mode; // lower case; empty for architecture signals
    std::string type;
    std::string range;
    std::size_t typeStart = 0;
    std::size_t typeEnd = 0;

    void Clear() {
        names.clear();
        nameStarts.clear();
        mode.clear();
        type.clear();
        range.clear();
        typeStart = typeEnd = 0;
    }
};

// An extended identifier ("\like this\", a doubled backslash standing for one) as written, or
// a basic identifier.
std::string ReadName(const CScanner& scanner, std::size_t& cursor) {
    const std::size_t start = NextCodePosition(scanner, cursor);
    if (scanner.At(start) != '\\')
        return scanner.ReadIdentifier(cursor);
    for (std::size_t pos = start + 1; pos < scanner.End() && !IsLineBreak(scanner.At(pos)); ++pos) {
        if (scanner.At(pos) != '\\')
            continue;
        if (scanner.At(pos + 1) == '\\') {
            ++pos;
            continue;
        }
        cursor = pos + 1;
        return std::string(scanner.Text().substr(start, cursor - start));
    }
    return {};
}

enum class NameKind { Signal, Port };

// Names separated by ',' and the ':' after them; the cursor is left after the ':'. A port may
// begin with the word "signal"; a signal's name may be an extended identifier. Where each name
// starts goes to `starts` when it is given.
bool ReadNames(const CScanner& scanner, std::size_t& cursor, NameKind kind, std::vector<std::string>& names,
               std::vector<std::size_t>* starts = nullptr) {
    for (;;) {
        const std::size_t start = NextCodePosition(scanner, cursor);
        std::string name =
            kind == NameKind::Signal ? ReadName(scanner, cursor) : scanner.ReadIdentifier(cursor);
        if (name.empty()) {
            RaiseAt(scanner, AnalysisErrorCode::MissingIdentifier, cursor);
            return false;
        }
        if (kind == NameKind::Port && names.empty() && SameTextNoCase(name, "signal") &&
            IsLetter(scanner.At(NextCodePosition(scanner, cursor))))
            continue;
        names.push_back(std::move(name));
        if (starts != nullptr)
            starts->push_back(start);
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
                // Constraints that follow directly ("(open)(7 downto 0)") belong to the range.
                if (scanner.At(NextCodePosition(scanner, i + 1)) == '(') {
                    i = NextCodePosition(scanner, i + 1);
                    depth = 0;
                    continue;
                }
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

    void ReadPortList(std::size_t& cursor, InterfaceList* list) {
        for (;;) {
            if (!ReadPort(cursor, list))
                return;
            const std::size_t at = NextCodePosition(m_scanner, cursor);
            if (m_scanner.At(at) != ';') {
                cursor = at;
                return;
            }
            if (list != nullptr)
                list->separators.push_back(at);
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
    // A port: names, an optional mode (in when none is written), the subtype indication and an
    // optional default, which becomes the signal's initial value.
    bool ReadPort(std::size_t& cursor, InterfaceList* list) {
        Declaration& declaration = m_declaration;
        declaration.Clear();
        const std::size_t start = NextCodePosition(m_scanner, cursor);
        if (!ReadNames(m_scanner, cursor, NameKind::Port, declaration.names,
                       list != nullptr ? &declaration.nameStarts : nullptr))
            return false;
        const std::size_t modeStart = cursor;
        declaration.mode = ToLowerAscii(m_scanner.ReadIdentifier(cursor));
        bool modeWritten = true;
        if (declaration.mode.empty()) {
            RaiseAt(m_scanner, AnalysisErrorCode::WrongKeyword, cursor);
            return false;
        }
        if (IsPortMode(declaration.mode)) {
            std::size_t probe = cursor;
            if (m_scanner.SkipBlanksAndComments(probe) == 0) {
                RaiseAt(m_scanner, AnalysisErrorCode::SyntaxError, cursor);
                return false;
            }
        } else {
            // No mode written: the word is the type, and the mode is in.
            declaration.mode = "in";
            modeWritten = false;
            cursor = modeStart;
        }
        if (!ReadTypeAndConstraint(cursor, declaration))
            return false;
        SkipWordIf(m_scanner, cursor, "bus");
        std::string initialValue;
        std::optional<std::size_t> assignment;
        std::optional<ExpressionSpan> span;
        std::size_t pos = cursor;
        const std::size_t colon = NextCodePosition(m_scanner, pos);
        if (m_scanner.ReadChar(pos) == ':' && m_scanner.ReadChar(pos) == '=') {
            span = ReadExpression(m_scanner.Text(), pos);
            if (!span) {
                RaiseAt(m_scanner, AnalysisErrorCode::WrongExpression, NextCodePosition(m_scanner, pos));
                return false;
            }
            initialValue = ExpressionText(m_scanner.Text(), *span);
            assignment = colon;
            cursor = span->end;
        } else if (!modeWritten) {
            // Without a mode, a word after the type is a mode misspelt ("clk : into bit").
            const char next = m_scanner.At(NextCodePosition(m_scanner, cursor));
            if (next != ';' && next != ')') {
                RaiseAt(m_scanner, AnalysisErrorCode::WrongKeyword, cursor);
                return false;
            }
        }
        if (m_mode == DeclarationMode::Ports) {
            AddDataTypeParameter(declaration.type);
            if (m_signals != nullptr) {
                for (const std::string& name : declaration.names) {
                    const int index = m_signals->AddSignal() - 1;
                    m_signals->SetSignalAll(index, name, declaration.mode, declaration.type,
                                            declaration.range, initialValue);
                }
            }
        }
        if (list != nullptr) {
            InterfaceDeclaration written;
            written.names = declaration.names;
            written.nameStarts = declaration.nameStarts;
            written.start = start;
            written.end = cursor;
            written.mode = modeWritten ? declaration.mode : std::string();
            written.typeStart = declaration.typeStart;
            written.typeEnd = declaration.typeEnd;
            written.typeMark = declaration.type;
            written.range = declaration.range;
            written.assignment = assignment;
            written.defaultValue = span;
            list->declarations.push_back(std::move(written));
        }
        return true;
    }

    bool ReadSignal(std::size_t& cursor) {
        Declaration& declaration = m_declaration;
        declaration.Clear();
        if (!ReadNames(m_scanner, cursor, NameKind::Signal, declaration.names))
            return false;
        if (!ReadTypeAndConstraint(cursor, declaration))
            return false;
        std::size_t pos = cursor;
        if (m_scanner.ReadChar(pos) == ':' && m_scanner.ReadChar(pos) == '=') {
            const auto span = ReadExpression(m_scanner.Text(), pos);
            if (!span) {
                RaiseAt(m_scanner, AnalysisErrorCode::WrongExpression, NextCodePosition(m_scanner, pos));
                return false;
            }
            cursor = span->end;
        }
        AddDataTypeParameter(declaration.type);
        return true;
    }

    // The type mark (a selected name keeps its prefix) and its constraint.
    bool ReadTypeAndConstraint(std::size_t& cursor, Declaration& declaration) {
        declaration.typeStart = NextCodePosition(m_scanner, cursor);
        declaration.type = m_scanner.ReadIdentifier(cursor);
        if (declaration.type.empty()) {
            RaiseAt(m_scanner, AnalysisErrorCode::MissingKeywordOrParameter, cursor);
            return false;
        }
        while (m_scanner.At(cursor) == '.' && IsLetter(m_scanner.At(cursor + 1))) {
            std::size_t pos = cursor + 1;
            const std::string part = m_scanner.ReadIdentifier(pos);
            if (part.empty())
                break;
            declaration.type += "." + part;
            cursor = pos;
        }
        if (!ReadConstraint(m_scanner, cursor, declaration.range))
            return false;
        declaration.typeEnd = cursor;
        while (declaration.typeEnd > declaration.typeStart && IsBlank(m_scanner.At(declaration.typeEnd - 1)))
            --declaration.typeEnd;
        return true;
    }

    // A selected name ("work.pkg.t_word") makes no parameter: its name could not be put in place of
    // another type.
    void AddDataTypeParameter(const std::string& type) {
        if (IsBuiltInDataType(type) || type.find('.') != std::string::npos ||
            (!m_localTypes.empty() && m_localTypes.count(ToLowerAscii(type)) != 0))
            return;
        if (m_entries.Find(type) < 0)
            m_entries.Append(EntryKind::DataType, type, type, true);
    }

    const CScanner& m_scanner;
    DeclarationMode m_mode;
    CEntryIndex& m_entries;
    CVHDLSignal* m_signals;
    std::unordered_set<std::string> m_localTypes; // lowered; one declarative part
    Declaration m_declaration;
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
        reader.ReadPortList(cursor, nullptr);
}

void ReadPortList(const CScanner& scanner, DeclarationMode mode, std::size_t& cursor, CEntryIndex& entries,
                  CVHDLSignal* signals, InterfaceList* list) {
    if (ReaderFailed(scanner))
        return;
    CDeclarationReader reader(scanner, mode, entries, signals);
    reader.ReadPortList(cursor, list);
}

void AnalyzeDeclarationList(const CScanner& scanner, DeclarationMode mode, std::size_t& cursor,
                            CKSTObject* object, CVHDLSignal* signals) {
    CEntryIndex entries(object, ReaderContext(scanner).previousObject);
    AnalyzeDeclarationList(scanner, mode, cursor, entries, signals);
}

} // namespace kestra
