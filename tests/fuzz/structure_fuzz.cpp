// Feeds arbitrary text to the architecture structure reader and to the edits that write
// connections into it: the positions it reports must lie in the text and in order, and the
// edits must never fail on a structure the reader gave nor lose text outside the part they edit.
#include "analysis/architecture_structure.h"
#include "generation/connection_edit.h"
#include "generation/port_map_edit.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace kestra;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckPositions(std::string_view text, const ArchitectureStructure& structure) {
    Check(structure.declarations <= structure.begin && structure.begin < structure.end);
    Check(structure.end <= text.size());
    for (const InstanceStructure& instance : structure.instances) {
        Check(instance.start < instance.semicolon && instance.semicolon < text.size());
        Check(instance.start > structure.begin && instance.semicolon < structure.end);
        Check(text[instance.semicolon] == ';');
        for (const MapAssociation& association : instance.ports)
            Check(association.start <= association.end && association.end <= instance.semicolon);
        if (instance.portMapOpen != std::string_view::npos)
            Check(text[instance.portMapOpen] == '(' && text[instance.portMapClose] == ')');
    }
    for (const SignalDeclaration& signal : structure.declaredSignals)
        Check(signal.start < signal.semicolon && signal.semicolon < structure.begin);
}

// Every unit has the ports A (in) and Y (out) of one type.
const UnitInterface* Unit(std::string_view) {
    static const UnitInterface unit{{{"A", "in", "std_logic"}, {"Y", "out", "std_logic"}}, {}};
    return &unit;
}

void Edit(std::string_view text, const ArchitectureStructure& structure) {
    if (structure.instances.empty())
        return;
    const InstanceStructure& instance = structure.instances.front();
    const std::string edited = EditPortMap(text, instance, {"A", "Y"}, {{"A", "x"}, {"Y", "open"}});
    // What comes before the instance stays as it was.
    if (!edited.empty())
        Check(std::string_view(edited).substr(0, instance.start) == text.substr(0, instance.start));
    const std::string declared = AddSignalDeclaration(text, structure, "s_new", "std_logic");
    if (!declared.empty())
        Check(declared.size() > text.size());
    const UnitLookup lookup = Unit;
    if (structure.instances.size() >= 2) {
        const ConnectionEnd a{structure.instances[0].label, "Y"};
        const ConnectionEnd b{structure.instances[1].label, "A"};
        static_cast<void>(ConnectInSource(text, structure.entity, lookup, a, b));
        static_cast<void>(DisconnectInSource(text, structure.entity, lookup, a, b));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const std::string_view entity : {std::string_view(), std::string_view("m")}) {
        if (const auto structure = ReadArchitectureStructure(text, entity)) {
            CheckPositions(text, *structure);
            Edit(text, *structure);
        }
    }
    return 0;
}
