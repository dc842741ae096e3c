#include "generation/module_template.h"

#include "analysis/substitution.h"
#include "system/file_system.h"

namespace kestra {

std::string NewModuleTemplateText(const std::string& moduleName) {
    const std::string& n = moduleName;
    return "-- " + n +
           "\r\n"
           "library IEEE;\r\n"
           "use IEEE.std_logic_1164.all;\r\n"
           "use IEEE.std_logic_arith.all;\r\n"
           "\r\n"
           "entity " +
           n +
           " is\r\n"
           "\tport (\r\n"
           "\t\t-- Enter port list here\r\n"
           "\t\tCLK : in STD_LOGIC\r\n"
           "\t);\r\n"
           "end " +
           n +
           ";\r\n"
           "\r\n"
           "architecture " +
           n + "_arch of " + n +
           " is\r\n"
           "begin\r\n"
           "\t-- Enter concurrent statements here\r\n"
           "end " +
           n +
           "_arch;\r\n"
           "\r\n";
}

} // namespace kestra
