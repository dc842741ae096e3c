#include "project/message_log.h"
#include "tools/qt_tool_runner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestra {
namespace {

using ::testing::HasSubstr;

class ToolRunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_bin.isValid());
        ASSERT_TRUE(m_work.isValid());
        m_path = qgetenv("PATH");
        qputenv("PATH", (m_bin.path() + QStringLiteral(":") + QString::fromLocal8Bit(m_path)).toLocal8Bit());
    }
    void TearDown() override { qputenv("PATH", m_path); }

    void WriteScript(const QString& name, const QByteArray& body) {
        QFile script(m_bin.filePath(name));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n" + body);
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    int m_argc = 1;
    char m_name[8] = "kestra";
    char* m_argv[2] = {m_name, nullptr};
    QCoreApplication m_app{m_argc, m_argv};
    QTemporaryDir m_bin;
    QTemporaryDir m_work;
    QByteArray m_path;
};

TEST_F(ToolRunnerTest, FoundOnPathItsOutputReachesTheLogWithTheExitStatus) {
    // Both channels, a last line without its line feed, the working folder and the arguments.
    WriteScript(QStringLiteral("yosys"), "echo \"args: $*\"\necho \"in: $(pwd)\"\necho oops >&2\n"
                                         "read line && echo \"stdin gave: $line\"\nprintf tail\nexit 3\n");
    CQtToolRunner runner;
    const std::string found = runner.FindProgram("yosys");
    EXPECT_EQ(found, QDir(m_bin.path()).filePath(QStringLiteral("yosys")).toStdString());
    EXPECT_EQ(runner.FindProgram("kestra-no-such-tool"), "");

    CMemoryLog log;
    const ToolProcess process{
        "VHDL Synthesizer", found, {"-p", "my design.prj"}, m_work.path().toStdString()};
    ASSERT_TRUE(runner.Start(process, &log));
    EXPECT_EQ(runner.Running(&log), std::vector<std::string>{"VHDL Synthesizer"});
    ASSERT_TRUE(runner.WaitForAll(10000));
    const std::string text = LogTextForDisplay(log.Text());
    EXPECT_THAT(text, HasSubstr("VHDL Synthesizer: " + found + " -p \"my design.prj\""));
    EXPECT_THAT(text, HasSubstr("\nargs: -p my design.prj\n"));
    EXPECT_THAT(text, HasSubstr("\nin: " + QDir(m_work.path()).canonicalPath().toStdString() + "\n"));
    EXPECT_THAT(text, HasSubstr("\noops\n"));
    EXPECT_THAT(text, ::testing::Not(HasSubstr("stdin gave")));
    EXPECT_THAT(text, HasSubstr("\ntail\nVHDL Synthesizer finished with exit status 3."));
}

TEST_F(ToolRunnerTest, AMissingProgramDoesNotStartAndStopEndsARunningOne) {
    CQtToolRunner runner;
    CMemoryLog log;
    EXPECT_FALSE(runner.Start(
        {"VHDL Simulator", m_bin.filePath(QStringLiteral("missing")).toStdString(), {}, {}}, &log));
    EXPECT_TRUE(runner.Running().empty());

    WriteScript(QStringLiteral("slow"), "echo started\nexec sleep 30\n");
    ASSERT_TRUE(runner.Start({"VHDL Simulator", runner.FindProgram("slow"), {}, {}}, &log));
    runner.Stop(&log);
    EXPECT_TRUE(runner.Running().empty());
    EXPECT_THAT(log.Text(), HasSubstr("VHDL Simulator stopped abnormally."));
}

} // namespace
} // namespace kestra
