#include "tools/fpga_targets.h"

#include "text/char_class.h"
#include "tools/external_tools.h"

#include <array>

namespace kestra {

namespace {

const std::array<FpgaFamily, 1> kFamilies = {{
    {.name = "iCE40",
     .synthesisCommand = "synth_ice40",
     .placeAndRoute = {"nextpnr-ice40", "nextpnr-ice40"},
     .constraintsOption = "--pcf",
     .constraintsExtension = ".pcf",
     .placedOption = "--asc",
     .placedExtension = ".asc",
     .packer = {"icepack", "fpga-icestorm"},
     .bitstreamExtension = ".bin",
     .flipFlopPrefix = "SB_DFF",
     .resources = {{"ICESTORM_LC", "logic cells"},
                   {"ICESTORM_RAM", "RAM blocks"},
                   {"SB_IO", "I/O"},
                   {"SB_GB", "global buffers"}},
     .devices = {{"HX1K", "--hx1k", {"tq144", "vq100", "cb132"}},
                 {"HX8K", "--hx8k", {"ct256", "cb132", "tq144", "bg121", "cm225"}},
                 {"UP5K", "--up5k", {"sg48", "uwg30"}}}},
}};

const FpgaFamily* FindFamily(std::string_view name) {
    for (const FpgaFamily& family : kFamilies) {
        if (SameTextNoCase(family.name, name))
            return &family;
    }
    return nullptr;
}

const FpgaDevice* FindDevice(const FpgaFamily& family, std::string_view name) {
    for (const FpgaDevice& device : family.devices) {
        if (SameTextNoCase(device.name, name))
            return &device;
    }
    return nullptr;
}

std::string Choices() {
    std::string text;
    for (const std::string& choice : FpgaTargetChoices())
        text += (text.empty() ? "" : ", ") + choice;
    return text;
}

} // namespace

std::span<const FpgaFamily> FpgaFamilies() {
    return kFamilies;
}

std::string FpgaTarget::Text() const {
    if (family == nullptr || device == nullptr)
        return {};
    return std::string(family->name) + " " + std::string(device->name) + " " + package;
}

Result<FpgaTarget> ParseFpgaTarget(std::string_view text) {
    const std::vector<std::string> words = SplitArguments(text);
    const auto refuse = [&text](const std::string& why) {
        return Result<FpgaTarget>::Failed("The target \"" + std::string(text) + "\" " + why +
                                          ". The targets are: " + Choices() + ".");
    };
    if (words.size() < 2 || words.size() > 3)
        return refuse("is not a family, a device and a package");
    FpgaTarget target;
    target.family = FindFamily(words[0]);
    if (target.family == nullptr)
        return refuse("names no family the flow knows");
    target.device = FindDevice(*target.family, words[1]);
    if (target.device == nullptr)
        return refuse("names no device of " + std::string(target.family->name));
    target.package =
        words.size() == 3 ? ToLowerAscii(words[2]) : std::string(target.device->packages.front());
    for (std::string_view package : target.device->packages) {
        if (package == target.package)
            return target;
    }
    return refuse("names no package of " + std::string(target.device->name));
}

std::vector<std::string> FpgaTargetChoices() {
    std::vector<std::string> choices;
    for (const FpgaFamily& family : kFamilies) {
        for (const FpgaDevice& device : family.devices) {
            for (std::string_view package : device.packages)
                choices.push_back(std::string(family.name) + " " + std::string(device.name) + " " +
                                  std::string(package));
        }
    }
    return choices;
}

} // namespace kestra
