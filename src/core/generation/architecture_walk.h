#pragma once

#include "generation/module_units.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace kestra {

// What the walk over one architecture's declarative part shares with its component items.
struct CGenerationSession::ArchitectureWalk {
    CKSTObject& object; // the module copy being generated
    OrderList& order;
    std::size_t statementsStart = 0;
    std::size_t endKeyword = 0;                               // the "end" closing the architecture
    std::vector<std::pair<std::string, std::string>> renames; // (component, generation key)
    std::string lastComponentKey;
};

} // namespace kestra
