#include "tools/qt_process_runner.h"

#include "strings/qt_text.h"

#include <QProcess>

namespace kestra {

namespace {

constexpr int kPollMilliseconds = 50;

} // namespace

int CQtProcessRunner::Run(const std::string& program, const std::vector<std::string>& arguments,
                          const std::filesystem::path& folder, std::string& output,
                          const std::atomic<bool>* cancel) {
    QProcess process;
    QStringList list;
    for (const std::string& argument : arguments)
        list << MessageToQt(argument);
    process.setProgram(PathToQt(program));
    process.setArguments(list);
    if (!folder.empty())
        process.setWorkingDirectory(PathToQt(folder));
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::MergedChannels);
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
    const QByteArray bytes = process.readAll();
    output.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace kestra
