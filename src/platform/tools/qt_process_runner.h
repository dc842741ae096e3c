#pragma once

#include "tools/vhdl_check.h"

namespace kestra {

// Runs a program to its end with QProcess, without an event loop, so that it also works on a
// worker thread; standard input is closed and both output channels are collected.
class CQtProcessRunner : public CProcessRunner {
public:
    int Run(const std::string& program, const std::vector<std::string>& arguments,
            const std::filesystem::path& folder, std::string& output,
            const std::atomic<bool>* cancel) override;
    int RunToFile(const std::string& program, const std::vector<std::string>& arguments,
                  const std::filesystem::path& folder, const std::filesystem::path& standardOutput,
                  std::string& output, const std::atomic<bool>* cancel) override;
};

} // namespace kestra
