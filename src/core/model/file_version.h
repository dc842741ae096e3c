#pragma once

namespace kestra {

// The project file version this system writes; shown to the user as "1.10".
inline constexpr int kProgramFileVersion = 110;
inline constexpr const char* kProgramVersionText = "1.10";

// The version of the project file being read: one value for the whole application, set
// when a project file is opened (110 for a new project) and read by the record loaders
// to decide which fields an older file holds.
int FileVersionBeingRead();
void SetFileVersionBeingRead(int version);

} // namespace kestra
