#pragma once

// Proves two designs equivalent: GHDL synthesises each to a netlist, yosys flattens both and
// proves every output of the reference equal to the design's. Tests skip when GHDL or yosys is
// not installed.

#include "support/ghdl.h"

#include <string>
#include <vector>

namespace kestra::test {

inline bool SynthesisAvailable() {
    static const bool available =
        std::system("command -v ghdl >/dev/null 2>&1 && command -v yosys >/dev/null 2>&1") == 0;
    return available;
}

struct EquivalenceResult {
    bool equivalent = false;
    std::string output;
};

// Writes the design's files and the reference into a scratch folder, synthesises the design
// (top `top`) to design.v and the reference on its own (top `referenceTop`) to reference.v, then
// runs the yosys script over them.
inline EquivalenceResult SynthesiseAndCompare(const std::vector<std::string>& design, const std::string& top,
                                              const std::string& reference, const std::string& referenceTop,
                                              const std::string& script) {
    std::vector<std::string> texts = design;
    texts.push_back(reference);
    const ScratchUnits scratch = WriteScratchUnits(texts, "kestra-yosys-");
    const std::string referenceFile = "unit" + std::to_string(design.size()) + ".vhd";
    std::string designFiles = scratch.files;
    designFiles.erase(designFiles.rfind(' '));
    const std::string synth = "ghdl --synth --std=93c --ieee=synopsys -fexplicit --out=verilog ";
    const std::string command =
        synth + designFiles + " -e " + top + " > design.v && mkdir ref && cd ref && " + synth + "../" +
        referenceFile + " -e " + referenceTop + " > ../reference.v && cd .. && yosys -q -p '" + script + "'";
    const GhdlResult run = RunInScratch(scratch, command);
    return {run.ok, run.output};
}

// The design (files in order, top entity `top`) against the reference (one file, top entity
// `referenceTop`, with the same ports).
inline EquivalenceResult ProveEquivalent(const std::vector<std::string>& design, const std::string& top,
                                         const std::string& reference, const std::string& referenceTop) {
    return SynthesiseAndCompare(design, top, reference, referenceTop,
                                "read_verilog design.v reference.v; proc; flatten; opt_clean; equiv_make " +
                                    referenceTop + " " + top +
                                    " equiv; hierarchy -top equiv; equiv_simple; equiv_status -assert");
}

// The design (files in order) against the reference (one file), both with the top entity `top`
// and the same names for their units (a design and its generated copy): each is synthesised and
// flattened on its own before yosys compares them; latches of full case statements become
// plain logic.
inline EquivalenceResult ProveSameNamedEquivalent(const std::vector<std::string>& design,
                                                  const std::string& reference, const std::string& top) {
    auto prepare = [&top](const std::string& file, const std::string& as) {
        return "read_verilog " + file + "; hierarchy -top " + top +
               "; proc; flatten; opt -full; async2sync; rename " + top + " " + as + "; design -stash " + as +
               "; ";
    };
    return SynthesiseAndCompare(
        design, top, reference, top,
        prepare("design.v", "gold") + prepare("reference.v", "gate") +
            "design -copy-from gold -as gold gold; design -copy-from gate -as gate gate; "
            "equiv_make gold gate equiv; hierarchy -top equiv; equiv_simple -seq 2; "
            "equiv_induct; equiv_status -assert");
}

} // namespace kestra::test
