#pragma once

#include <string>

namespace kestra {

// The name of the user running the program, as the operating system knows it; empty when
// it cannot be found.
std::string CurrentUserName();

// The computer's host name; empty when it cannot be found.
std::string CurrentComputerName();

} // namespace kestra
