#pragma once

#include <string>

namespace kestra {

// The source of a new module: a comment with its name, the IEEE clauses, an entity with one
// placeholder port and an empty architecture named name + "_arch"; CR LF line ends.
std::string NewModuleTemplateText(const std::string& moduleName);

} // namespace kestra
