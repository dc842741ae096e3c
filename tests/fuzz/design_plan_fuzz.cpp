// Feeds arbitrary text, cut into files at each byte 0x01, to the design unit reader, the import
// planner and the design copy: positions must lie in the texts, every planned child and package
// must be one the plan declares, a package must follow those it uses, and the copy must hold
// units only from the texts.
#include "analysis/design_plan.h"
#include "generation/design_copy.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace kestra;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

std::vector<DesignSourceFile> Files(std::string_view data) {
    std::vector<DesignSourceFile> files;
    for (std::size_t start = 0; start <= data.size();) {
        const std::size_t end = std::min(data.find('\x01', start), data.size());
        files.push_back(
            {"f" + std::to_string(files.size()) + ".vhd", std::string(data.substr(start, end - start))});
        start = end + 1;
    }
    return files;
}

void CheckPlan(const std::vector<DesignSourceFile>& files, const DesignImportPlan& plan) {
    Check(plan.files.size() == files.size() && plan.fileLibraries.size() == files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        for (const DesignUnit& unit : plan.files[i].units)
            Check(unit.start < unit.end && unit.end <= files[i].text.size());
    }
    for (const PlannedEntity& entity : plan.entities) {
        Check(entity.file < files.size());
        for (const PlannedChild& child : entity.children)
            Check(plan.FindEntity(child.entity) != nullptr);
    }
    for (const std::string& top : plan.tops)
        Check(plan.FindEntity(top) != nullptr);
    for (std::size_t i = 0; i < plan.packages.size(); ++i) {
        for (const std::string& used : plan.packages[i].uses) {
            const auto at = std::find_if(plan.packages.begin(), plan.packages.end(),
                                         [&used](const PlannedPackage& p) { return p.name == used; });
            Check(at != plan.packages.end() &&
                  at < plan.packages.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<DesignSourceFile> files =
        Files(std::string_view(reinterpret_cast<const char*>(data), size));
    const DesignImportPlan plan = PlanDesignImport(files);
    CheckPlan(files, plan);
    CDesignCopy copy;
    std::size_t total = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        copy.AddPackages(files[i].path, plan.fileLibraries[i], files[i].text);
        total += files[i].text.size();
    }
    for (const PlannedEntity& entity : plan.entities)
        static_cast<void>(copy.AddModule(plan.fileLibraries[entity.file], files[entity.file].text,
                                         entity.name, entity.architecture));
    std::size_t copied = 0;
    for (const LibraryText& library : copy.Libraries())
        copied += library.text.size();
    // Each unit at most once, with the line ends after it: never more than the texts hold.
    std::size_t units = 0;
    for (const DesignSourceFile& file : files)
        units += ReadDesignUnits(file.text).units.size();
    Check(copied <= total + 4 * units);
    return 0;
}
