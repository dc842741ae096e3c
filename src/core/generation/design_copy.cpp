#include "generation/design_copy.h"

#include "analysis/design_units.h"
#include "analysis/scanner.h"
#include "generation/packages.h"
#include "text/char_class.h"

#include <algorithm>

namespace kestra {

namespace {

// The unit's text from its context clause (the comments in front of the file's first unit
// included) to its closing ';', with a line end after it.
std::string UnitText(std::string_view text, const CScanner& scanner, const FileDesignUnits& units,
                     std::size_t index) {
    const DesignUnit& unit = units.units[index];
    const std::size_t previousEnd = index == 0 ? 0 : units.units[index - 1].end;
    const std::size_t start = FindContextStart(scanner, unit.start, previousEnd);
    std::string result(text.substr(start, unit.end - start));
    const std::size_t first = result.find_first_not_of("\r\n");
    result.erase(0, first == std::string::npos ? result.size() : first);
    return result + "\r\n\r\n";
}

bool IsPackageUnit(const DesignUnit& unit) {
    return unit.kind == DesignUnitKind::Package || unit.kind == DesignUnitKind::PackageBody;
}

} // namespace

std::string& CDesignCopy::TextOf(const std::string& library) {
    for (LibraryText& text : m_libraries) {
        if (text.library == library)
            return text.text;
    }
    return m_libraries.emplace_back(LibraryText{library, {}}).text;
}

int CDesignCopy::NextLine(const std::string& library) const {
    for (const LibraryText& text : m_libraries) {
        if (text.library == library)
            return static_cast<int>(std::count(text.text.begin(), text.text.end(), '\n')) + 1;
    }
    return 1;
}

void CDesignCopy::AddPackages(std::string_view fileKey, const std::string& library, std::string_view text) {
    if (std::find(m_files.begin(), m_files.end(), fileKey) != m_files.end())
        return;
    m_files.emplace_back(fileKey);
    const FileDesignUnits units = ReadDesignUnits(text);
    const CScanner scanner(text);
    std::string& output = TextOf(library);
    for (std::size_t i = 0; i < units.units.size(); ++i) {
        if (IsPackageUnit(units.units[i]))
            output += UnitText(text, scanner, units, i);
    }
}

bool CDesignCopy::AddModule(const std::string& library, std::string_view text, std::string_view entity,
                            std::string_view architecture) {
    const std::string key = library + "." + ToLowerAscii(entity);
    if (std::find(m_entities.begin(), m_entities.end(), key) != m_entities.end())
        return true;
    const FileDesignUnits units = ReadDesignUnits(text);
    std::optional<std::size_t> declaration;
    std::optional<std::size_t> body;
    for (std::size_t i = 0; i < units.units.size(); ++i) {
        const DesignUnit& unit = units.units[i];
        if (unit.kind == DesignUnitKind::Entity && SameTextNoCase(unit.name, entity) && !declaration)
            declaration = i;
        if (unit.kind == DesignUnitKind::Architecture && SameTextNoCase(unit.entity, entity) &&
            (architecture.empty() || SameTextNoCase(unit.name, architecture)))
            body = i;
    }
    if (!declaration || !body)
        return false;
    m_entities.push_back(key);
    const CScanner scanner(text);
    std::string& output = TextOf(library);
    output += UnitText(text, scanner, units, *declaration);
    output += UnitText(text, scanner, units, *body);
    return true;
}

} // namespace kestra
