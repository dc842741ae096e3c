#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestra {

class CKSTObject;

// An instantiation of a child module as the VHDL editor inserts it at its cursor:
//   <head>   ("u_<child>: entity <library>.<child>", or "u_<child>: <child>" for a component)
//       generic map (G => value, ...)
//       port map (P => P, ...);
// every generic of the child's entity with the child's parameter value (else the default its
// source declares, else the generic's own name), every port associated by name with a name the
// same as the port; a map stays out when the entity has no such clause. The first line goes
// where the cursor stands; the next lines start with `indent` (the blanks of the cursor's line)
// and one more step of it (a tab, or the indent itself where it is all spaces), and end with
// `lineEnd`. None when the child's entity is missing or its header does not analyse.
[[nodiscard]] std::optional<std::string>
InstantiationText(const std::string& childName, std::string_view head, const CKSTObject& childObject,
                  std::string_view childSource, std::string_view lineEnd, std::string_view indent);

} // namespace kestra
