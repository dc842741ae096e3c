#pragma once

#include <string>

namespace kestra {

// This program's process id.
long CurrentProcessId();

// The host name the system gives this computer; empty when it has none.
std::string CurrentHostName();

// A process of that id runs on this computer (also one this user may not signal). False for
// ids that name no process (0 and below included).
bool ProcessIsRunning(long pid);

// The local time now, ISO 8601 to the second: "2025-03-14T09:26:53".
std::string LocalTimeText();

} // namespace kestra
