#pragma once

#include <cstddef>
#include <string>

namespace kestra {

class CScanner;
struct AnalysisContext;

// Where the library and use clauses in front of the design unit whose keyword stands at
// `position` begin; the text start for the first unit of a text, so that it carries every
// comment and clause in front of it.
std::size_t FindContextStart(const CScanner& scanner, std::size_t position, std::size_t textStart);

// The package declarations and bodies of a source text, each with its context clauses and
// followed by an empty line. Errors 1, 2 and 4 stop the extraction and keep what was collected.
std::string ExtractPackages(const std::string& sourceText, AnalysisContext& context);

} // namespace kestra
