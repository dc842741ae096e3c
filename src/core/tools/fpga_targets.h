#pragma once

#include "system/outcome.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

// One device of a family: its name, the place-and-route option that chooses it and its packages
// (the first is the one taken when a target names none).
struct FpgaDevice {
    std::string_view name;
    std::string_view option;
    std::vector<std::string_view> packages;
};

// A resource the place-and-route report counts, by its cell name there, as a designer calls it.
struct FpgaResource {
    std::string_view cell;
    std::string_view label;
};

// A program of the flow and the Debian package that installs it.
struct FlowProgram {
    std::string_view program;
    std::string_view debianPackage;
};

// What the open toolchain needs to know of an FPGA family: a table, so that a family is added
// as data. Synthesis runs yosys's `synthesisCommand` on GHDL's netlist; place and route runs
// `placeAndRoute` with the device option, "--package", the constraint file after
// `constraintsOption` and the placed design after `placedOption`; `packer` turns the placed
// design into the bitstream.
struct FpgaFamily {
    std::string_view name;
    std::string_view synthesisCommand;
    FlowProgram placeAndRoute;
    std::string_view constraintsOption;
    std::string_view constraintsExtension;
    std::string_view placedOption;
    std::string_view placedExtension;
    FlowProgram packer;
    std::string_view bitstreamExtension;
    // The synthesis statistics' cells whose names begin so are flip-flops.
    std::string_view flipFlopPrefix;
    std::vector<FpgaResource> resources;
    std::vector<FpgaDevice> devices;
};

std::span<const FpgaFamily> FpgaFamilies();

// A device in a package of a family, as a project names it: "iCE40 HX1K tq144".
struct FpgaTarget {
    const FpgaFamily* family = nullptr;
    const FpgaDevice* device = nullptr;
    std::string package;
    std::string Text() const;
};

// The target a text names: family, device and package separated by blanks, letter case ignored;
// without a package the device's first. Fails with the reason and the targets there are.
[[nodiscard]] Result<FpgaTarget> ParseFpgaTarget(std::string_view text);

// Every target of the table, as ParseFpgaTarget reads it.
std::vector<std::string> FpgaTargetChoices();

} // namespace kestra
