#pragma once

namespace kestra {

// The project file version this system writes; shown to the user as "1.10".
inline constexpr int kProgramFileVersion = 110;
inline constexpr const char* kProgramVersionText = "1.10";

} // namespace kestra
