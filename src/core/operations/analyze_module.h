#pragma once

#include "model/item_kind.h"

#include <optional>
#include <string>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;
class CKSTObject;
class CVHDLSignal;
class CMessageLog;
struct AnalysisContext;

// Analyses one module from its source file: resets its design object (carrying the values the
// user chose) and signal list, reads entity and architectures, refreshes the component blocks
// of a normal module's source, stores the file's time, sets the status and logs the outcome.
// A module whose file cannot be read is only given its status. Returns the error code (0 on
// success, -1 when the module was not analysed at all).
int AnalyzeModule(CKSTDoc& doc, CHierarchyItem* item, AnalysisContext& context);

// Analyses a module text that is already in memory. The component refresh of a normal module
// rewrites `sourcePath`; pass an empty path to leave files alone.
void AnalyzeModuleText(CKSTDoc* doc, CHierarchyItem* item, HierarchyKind itemKind, const std::string& text,
                       const std::string& sourcePath, CKSTObject& object, CVHDLSignal* signals,
                       AnalysisContext& context);

// "No error encountered." or "Error encountered at line N. " and the message of the code.
void ReportAnalysisResult(CMessageLog& log, const AnalysisContext& context);

// Marks the item's parent and its ancestors as needing analysis.
void MarkParentNeedsAnalysis(CKSTDoc& doc, CHierarchyItem* item);

// How a module file comes into the module folder: under the first free name of name, name_2,
// name_3 ... (the module renamed inside the copy), or over the file of its own name.
enum class ImportMode { FreeName = 0, Overwrite = 1 };

// Copies a module file into the project's module folder. Returns the module name used, or none
// when the file could not be copied (logged).
[[nodiscard]] std::optional<std::string>
ImportModuleFile(CKSTDoc& doc, ImportMode mode, const std::string& sourcePath, const std::string& name);

} // namespace kestra
