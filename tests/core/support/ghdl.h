#pragma once

// Runs the GHDL analyser over VHDL text in a scratch folder. Tests call GTEST_SKIP() when it is
// not installed, so they pass cleanly on machines without it.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace kestra::test {

inline bool GhdlAvailable() {
    static const bool available = std::system("command -v ghdl >/dev/null 2>&1") == 0;
    return available;
}

struct GhdlResult {
    bool ok = false;
    std::string output;
};

// A fresh scratch folder holding the texts as unit0.vhd, unit1.vhd, ...; `files` lists them.
struct ScratchUnits {
    std::filesystem::path folder;
    std::string files;
};

inline ScratchUnits WriteScratchUnits(const std::vector<std::string>& texts, const std::string& prefix) {
    namespace fs = std::filesystem;
    std::random_device random;
    ScratchUnits scratch{fs::temp_directory_path() / (prefix + std::to_string(random())), {}};
    fs::create_directories(scratch.folder);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string name = "unit" + std::to_string(i) + ".vhd";
        std::ofstream(scratch.folder / name, std::ios::binary) << texts[i];
        scratch.files += " " + name;
    }
    return scratch;
}

// Runs the shell command in the scratch folder, its output going to the result, and removes the
// folder.
inline GhdlResult RunInScratch(const ScratchUnits& scratch, const std::string& command) {
    const std::string line = "cd '" + scratch.folder.string() + "' && (" + command + ") > log.txt 2>&1";
    GhdlResult result;
    result.ok = std::system(line.c_str()) == 0;
    std::ifstream log(scratch.folder / "log.txt");
    result.output.assign(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>());
    std::error_code ignored;
    std::filesystem::remove_all(scratch.folder, ignored);
    return result;
}

// Analyses the files in order (and elaborates `top` when given) in a fresh work folder with the
// options generated text is meant for: VHDL-93 by default, VHDL-2008 with standard "08" (for
// text that holds modules written for it); the Synopsys packages the tool's own modules use are
// there in both.
inline GhdlResult GhdlAnalyze(const std::vector<std::string>& texts, const std::string& top = {},
                              const std::string& standard = "93c") {
    const ScratchUnits scratch = WriteScratchUnits(texts, "kestra-ghdl-");
    const std::string options = " --std=" + standard + " --ieee=synopsys -fexplicit --workdir=. ";
    std::string command = "ghdl -a" + options + scratch.files;
    if (!top.empty())
        command += " && ghdl -e" + options + top;
    return RunInScratch(scratch, command);
}

} // namespace kestra::test

#define KESTRA_REQUIRE_GHDL()                                                                                \
    do {                                                                                                     \
        if (!::kestra::test::GhdlAvailable())                                                                \
            GTEST_SKIP() << "ghdl is not installed";                                                         \
    } while (false)
