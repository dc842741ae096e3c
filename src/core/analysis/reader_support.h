#pragma once

#include "analysis/analysis_errors.h"
#include "analysis/scanner.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kestra {

// Helpers shared by the entity, declaration and architecture readers. Every reader works on a
// scanner that carries the analysis context; reporting an error keeps the first one of a run.

AnalysisContext& ReaderContext(const CScanner& scanner);
bool ReaderFailed(const CScanner& scanner);

// Sets the error with the line of pos.
void RaiseAt(const CScanner& scanner, AnalysisErrorCode code, std::size_t pos);
// Sets the error with no line (line 0 suppresses the line in the report).
void RaiseWithoutLine(const CScanner& scanner, AnalysisErrorCode code);

// Skips blanks and comments from cursor and gives the position of the next code character
// without consuming it (End() at the end of the text).
std::size_t NextCodePosition(const CScanner& scanner, std::size_t cursor);

// Whether the next identifier after cursor (blanks and comments first) is `word`, compared
// without case; when it is, the cursor is moved past it. Nothing is copied.
bool SkipWordIf(const CScanner& scanner, std::size_t& cursor, std::string_view word);

// ReadValue whose failure (an empty value, a misplaced or unclosed quote) becomes the given
// error with the line of the cursor where the value ended. Empty on failure.
std::string ReadValueOrRaise(const CScanner& scanner, std::size_t& cursor, AnalysisErrorCode code);

// One of the thirteen types that never make a data type parameter; exact after lowering.
bool IsBuiltInDataType(std::string_view typeWord);
// One of the five port modes; the word must already be lower case.
bool IsPortMode(std::string_view loweredWord);

} // namespace kestra
