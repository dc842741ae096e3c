#include "tools/qt_process_runner.h"

#include "strings/qt_text.h"

#include <QProcess>

namespace kestra {

namespace {

constexpr int kPollMilliseconds = 50;

// Runs the program to its end; its standard output goes to the file when one is given (then
// `output` gets its standard error), else both into `output`.
int RunProcess(const std::string& program, const std::vector<std::string>& arguments,
               const std::filesystem::path& folder, const std::filesystem::path& standardOutput,
               std::string& output, const std::atomic<bool>* cancel) {
    QProcess process;
    QStringList list;
    for (const std::string& argument : arguments)
        list << MessageToQt(argument);
    process.setProgram(PathToQt(program));
    process.setArguments(list);
    if (!folder.empty())
        process.setWorkingDirectory(PathToQt(folder));
    process.setStandardInputFile(QProcess::nullDevice());
    if (standardOutput.empty()) {
        process.setProcessChannelMode(QProcess::MergedChannels);
    } else {
        process.setStandardOutputFile(PathToQt(standardOutput));
        process.setReadChannel(QProcess::StandardError);
    }
    process.start();
    if (!process.waitForStarted())
        return -1;
    while (!process.waitForFinished(kPollMilliseconds)) {
        if (process.state() == QProcess::NotRunning)
            break;
        if (cancel != nullptr && cancel->load()) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
    }
    const QByteArray bytes = standardOutput.empty() ? process.readAll() : process.readAllStandardError();
    output.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace

int CQtProcessRunner::Run(const std::string& program, const std::vector<std::string>& arguments,
                          const std::filesystem::path& folder, std::string& output,
                          const std::atomic<bool>* cancel) {
    return RunProcess(program, arguments, folder, {}, output, cancel);
}

int CQtProcessRunner::RunToFile(const std::string& program, const std::vector<std::string>& arguments,
                                const std::filesystem::path& folder,
                                const std::filesystem::path& standardOutput, std::string& output,
                                const std::atomic<bool>* cancel) {
    return RunProcess(program, arguments, folder, standardOutput, output, cancel);
}

} // namespace kestra
