#pragma once

// A process runner for tests and benchmarks of the core, which has no QProcess: the program runs
// through the shell in the given folder, its output and errors collected, and the arguments of
// every run kept.

#include "tools/vhdl_check.h"

#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace kestra::test {

class CShellRunner : public CProcessRunner {
public:
    int Run(const std::string& program, const std::vector<std::string>& arguments,
            const std::filesystem::path& folder, std::string& output, const std::atomic<bool>*) override {
        std::string command = "cd " + Quoted(folder.string()) + " && " + Quoted(program);
        for (const std::string& argument : arguments)
            command += " " + Quoted(argument);
        command += " 2>&1";
        runs.push_back(arguments);
        FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr)
            return -1;
        char buffer[4096];
        for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            output.append(buffer, count);
        const int status = ::pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::vector<std::vector<std::string>> runs;

private:
    static std::string Quoted(const std::string& text) {
        std::string quoted = "'";
        for (const char c : text)
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return quoted + "'";
    }
};

} // namespace kestra::test
