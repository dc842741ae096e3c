#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace kestra::test {

// What one run of the built program gave.
struct CliRun {
    int status = -1; // -1 when it crashed or did not finish
    std::string out;
    std::string err;
};

// Runs the built program in the folder with the environment and waits for it; a run that does
// not finish in time is killed and fails the test.
inline CliRun RunKestra(const QStringList& arguments, const QProcessEnvironment& environment,
                        const std::filesystem::path& folder, int timeoutMs) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(QString::fromStdString(folder.string()));
    process.start(QStringLiteral(KESTRA_EXECUTABLE), arguments);
    CliRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "kestra did not finish";
        return run;
    }
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}

} // namespace kestra::test
