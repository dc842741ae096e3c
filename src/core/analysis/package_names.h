#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestra {

// A package declaration: its name and the constants it declares.
struct PackageConstants {
    std::string package;
    std::vector<std::string> constants;
};

// The constants of every package declaration in the text, deferred ones included; a package
// body's constants are seen by no other unit and are not read.
std::vector<PackageConstants> ReadPackageConstants(std::string_view text);

// What a use clause names: a package and what of it becomes visible ("all", one name, or empty
// when only the package's own name does, as in "use work.PKG;").
struct UsedPackageItem {
    std::string package;
    std::string item;
};

// The use clauses from the start of the text up to the declaration of the entity; a name of
// two parts may be library and package or package and item, and counts as both.
std::vector<UsedPackageItem> ReadUseClausesBeforeEntity(std::string_view text, const std::string& entityName);

} // namespace kestra
