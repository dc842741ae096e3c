#pragma once

#include "system/outcome.h"

#include <filesystem>

namespace kestra {

// Copies the folder of the example project (ExampleProjectPath) into a new folder of its name
// inside `parent` ("blinker", else "blinker-2", "blinker-3" ...), without the lock file and the
// recovery copy of a window that has the example open, and returns the copy's project file.
// Fails with the reason when the example is not installed or a folder or file cannot be made;
// what was copied before then stays.
Result<std::filesystem::path> CopyExampleProject(const std::filesystem::path& example,
                                                 const std::filesystem::path& parent);

} // namespace kestra
