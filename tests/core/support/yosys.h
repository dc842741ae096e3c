#pragma once

// Proves two designs equivalent: GHDL synthesises each to a netlist, yosys flattens both and
// proves every output of the reference equal to the design's. Tests skip when GHDL or yosys is
// not installed.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
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

// The design (files in order, top entity `top`) against the reference (one file, top entity
// `referenceTop`, with the same ports).
inline EquivalenceResult ProveEquivalent(const std::vector<std::string>& design, const std::string& top,
                                         const std::string& reference, const std::string& referenceTop) {
    namespace fs = std::filesystem;
    std::random_device random;
    const fs::path folder = fs::temp_directory_path() / ("kestra-yosys-" + std::to_string(random()));
    fs::create_directories(folder);
    std::string files;
    for (std::size_t i = 0; i < design.size(); ++i) {
        const std::string name = "unit" + std::to_string(i) + ".vhd";
        std::ofstream(folder / name, std::ios::binary) << design[i];
        files += " " + name;
    }
    std::ofstream(folder / "reference.vhd", std::ios::binary) << reference;
    const std::string synth = "ghdl --synth --std=93c --ieee=synopsys -fexplicit --out=verilog ";
    const std::string command =
        "cd '" + folder.string() + "' && (" + synth + files + " -e " + top +
        " > design.v && mkdir ref && cd ref && " + synth + "../reference.vhd -e " + referenceTop +
        " > ../reference.v && cd .. && yosys -q -p 'read_verilog " +
        "design.v reference.v; proc; flatten; opt_clean; equiv_make " + referenceTop + " " + top +
        " equiv; hierarchy -top equiv; equiv_simple; equiv_status -assert') > log.txt 2>&1";
    EquivalenceResult result;
    result.equivalent = std::system(command.c_str()) == 0;
    std::ifstream log(folder / "log.txt");
    result.output.assign(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>());
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return result;
}

} // namespace kestra::test
