#include "hierarchy/message_log_view.h"
#include "projectframe/project_frame.h"
#include "strings/qt_text.h"
#include "support/ghdl.h"
#include "support/temp_folder.h"
#include "tools/design_flow_dialog.h"
#include "tools/flow_runner.h"
#include "tools/qt_tool_runner.h"
#include "tools/tool_settings_dialog.h"
#include "tools/tools_controller.h"
#include "tools/vhdl_checker.h"
#include "ui_fixture.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>

namespace kestra {
namespace {

class ToolsTest : public UiTest {
protected:
    // A PATH on which none of the tools is found.
    void HideTools() {
        m_path = qgetenv("PATH");
        qputenv("PATH", m_emptyBin.path().toLocal8Bit());
    }
    void TearDown() override {
        if (!m_path.isNull())
            qputenv("PATH", m_path);
        UiTest::TearDown();
    }

    QTemporaryDir m_emptyBin;
    QByteArray m_path;
};

TEST_F(ToolsTest, TheSettingDialogWritesAllFourteenValuesOnOkAndNothingOnCancel) {
    CMainFrame& frame = StartFrame();
    m_settings->WriteSetting("Tools", "HDL Editor", "/usr/bin/old-editor");
    dialogHandler = [](QDialog& dialog) {
        auto& settings = dynamic_cast<CToolSettingsDialog&>(dialog);
        EXPECT_EQ(settings.PathField(5)->text(), QStringLiteral("/usr/bin/old-editor"));
        settings.PathField(0)->setText(QStringLiteral("/usr/bin/yosys"));
        settings.ParametersField(2)->setText(QStringLiteral("-c @"));
        settings.PathField(5)->clear();
        settings.accept();
        return int(QDialog::Accepted);
    };
    ASSERT_TRUE(Trigger(frame.Actions().toolSettings));
    EXPECT_EQ(m_settings->ReadSetting("Tools", "Synthesizer"), "/usr/bin/yosys");
    EXPECT_EQ(m_settings->ReadSetting("Tools", "VHDLSim param"), "-c @");
    EXPECT_EQ(m_settings->ReadSetting("Tools", "HDL Editor"), "");

    dialogHandler = [](QDialog& dialog) {
        dynamic_cast<CToolSettingsDialog&>(dialog).PathField(0)->setText(QStringLiteral("/changed"));
        return int(QDialog::Rejected);
    };
    ASSERT_TRUE(Trigger(frame.Actions().toolSettings));
    EXPECT_EQ(m_settings->ReadSetting("Tools", "Synthesizer"), "/usr/bin/yosys");
}

TEST_F(ToolsTest, ANonAsciiPathFromTheSettingDialogReadsBackTheSameThroughTheStore) {
    CMainFrame& frame = StartFrame();
    const QString program = QStringLiteral("/opt/caf\u00e9/bin/synth");
    const QString parameters = QStringLiteral("-p \"r\u00e9sum\u00e9.prj\"");
    dialogHandler = [&](QDialog& dialog) {
        auto& settings = dynamic_cast<CToolSettingsDialog&>(dialog);
        settings.PathField(0)->setText(program);
        settings.ParametersField(0)->setText(parameters);
        settings.accept();
        return int(QDialog::Accepted);
    };
    ASSERT_TRUE(Trigger(frame.Actions().toolSettings));

    // The core gets the name the file system has for the program, also from a new store.
    const std::string fileName = PathFromQt(program).string();
    EXPECT_EQ(m_settings->ReadSetting("Tools", "Synthesizer"), fileName);
    EXPECT_EQ(CQtSettingsStore().ReadSetting("Tools", "Synthesizer"), fileName);
    dialogHandler = [&](QDialog& dialog) {
        auto& settings = dynamic_cast<CToolSettingsDialog&>(dialog);
        EXPECT_EQ(settings.PathField(0)->text(), program);
        EXPECT_EQ(settings.ParametersField(0)->text(), parameters);
        return int(QDialog::Rejected);
    };
    ASSERT_TRUE(Trigger(frame.Actions().toolSettings));
}

TEST_F(ToolsTest, TheDesignFlowMarksAStepVisitedOnlyWhenItsProgramStartsAndBringsTheWindowBack) {
    HideTools();
    CMainFrame& frame = StartFrame();
    bool minimizedWhileOpen = false;
    dialogHandler = [&](QDialog& dialog) {
        auto& flow = dynamic_cast<CDesignFlowDialog&>(dialog);
        EXPECT_EQ(flow.windowTitle(), QStringLiteral("KESTRA - Design Flow"));
        minimizedWhileOpen = frame.isMinimized();
        flow.ToolButton(ExternalTool::Synthesizer)->click();
        EXPECT_FALSE(flow.IsVisited(ExternalTool::Synthesizer));
        // A program that starts marks its step.
        m_settings->WriteSetting("Tools", "VHDLSim", "/bin/true");
        flow.ToolButton(ExternalTool::VhdlSimulator)->click();
        EXPECT_TRUE(flow.IsVisited(ExternalTool::VhdlSimulator));
        flow.EntryButton()->click();
        return flow.result();
    };
    ASSERT_TRUE(Trigger(frame.Actions().designFlow));
    EXPECT_TRUE(minimizedWhileOpen);
    EXPECT_FALSE(frame.isMinimized());
    ASSERT_FALSE(m_prompts.Messages().empty());
    EXPECT_EQ(m_prompts.Messages().front().text, kNoApplicationMessage);
    EXPECT_EQ(m_settings->ReadSetting("Tools", "Synthesizer"), "");
}

// The example's flows from the design flow panel: Implem generates and runs synthesis, place
// and route and the packer to a bitstream and marks its step visited; VHDL runs the test bench
// and opens its waveform in the viewer; a constraint file that names a pin the device lacks
// fails the implementation, which marks the step failed, not visited.
TEST_F(ToolsTest, TheExampleGoesToABitstreamAndAWaveformFromTheFlowPanel) {
    for (const char* tool : {"ghdl", "yosys", "nextpnr-ice40", "icepack"}) {
        if (FindProgramOnPath(tool).empty())
            GTEST_SKIP() << tool << " is not installed";
    }
    // A waveform viewer that notes what it was asked to open.
    QTemporaryDir bin;
    const std::string opened = (Folder() / "viewer-args").string();
    test::WriteBytes(std::filesystem::path(bin.path().toStdString()) / "gtkwave",
                     "#!/bin/sh\necho \"$@\" > '" + opened + "'\n");
    std::filesystem::permissions(std::filesystem::path(bin.path().toStdString()) / "gtkwave",
                                 std::filesystem::perms::owner_all);
    m_path = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit() + ":" + m_path);

    const std::filesystem::path example = Folder() / "blinker";
    std::filesystem::copy(KESTRA_EXAMPLES "/blinker", example, std::filesystem::copy_options::recursive);
    CMainFrame& frame = StartFrame({(example / "Blinker.kst").string()});
    C3SplitFrame* project = frame.ActiveProject();
    ASSERT_NE(project, nullptr);
    CFlowRunner& flows = frame.ToolsController().Flows();
    dialogHandler = [&](QDialog& dialog) {
        auto& panel = dynamic_cast<CDesignFlowDialog&>(dialog);
        panel.ToolButton(ExternalTool::Implementer)->click();
        EXPECT_TRUE(flows.WaitForIdle(60000));
        EXPECT_TRUE(panel.IsVisited(ExternalTool::Implementer));
        panel.ToolButton(ExternalTool::VhdlSimulator)->click();
        EXPECT_TRUE(flows.WaitForIdle(60000));
        EXPECT_TRUE(panel.IsVisited(ExternalTool::VhdlSimulator));

        test::WriteBytes(example / "blinker_hx1k.pcf", "set_io CLK 21\nset_io RST 78\nset_io LED_A 999\n"
                                                       "set_io LED_B 98\n");
        panel.ToolButton(ExternalTool::Implementer)->click();
        EXPECT_TRUE(flows.WaitForIdle(60000));
        EXPECT_TRUE(panel.IsFailed(ExternalTool::Implementer));
        EXPECT_FALSE(panel.IsVisited(ExternalTool::Implementer));
        return int(QDialog::Accepted);
    };
    ASSERT_TRUE(Trigger(frame.Actions().designFlow));
    const std::string log = LogText(project);
    EXPECT_TRUE(std::filesystem::exists(example / "flow" / "BLINKER" / "BLINKER.bin")) << log;
    EXPECT_NE(log.find("Implementation passed."), std::string::npos) << log;
    EXPECT_NE(log.find("Device use: logic cells "), std::string::npos) << log;
    EXPECT_NE(log.find("TB_BLINKER: after 2000 clocks LED_A changed 0 times, LED_B changed 400 times"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("nextpnr: " + (example / "blinker_hx1k.pcf").string() + ":3:1: error:"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("ERROR: Implementation failed at Place and route."), std::string::npos) << log;
    ASSERT_TRUE(m_tools.WaitForAll(10000));
    EXPECT_EQ(test::ReadBytes(opened), (example / "flow" / "BLINKER" / "TB_BLINKER.ghw").string() + "\n");
}

TEST_F(ToolsTest, ClosingAProjectAsksToStopItsRunningToolAndAMissingProgramIsExplained) {
    CMainFrame& frame = StartFrame();
    C3SplitFrame* project = NewProject("p.kst");
    ASSERT_NE(project, nullptr);
    m_settings->WriteSetting("Tools", "FuncSim", "/nowhere/funcsim");
    ASSERT_TRUE(Trigger(frame.Actions().functionalSimulator));
    EXPECT_EQ(m_prompts.Messages().back().text, kCannotLaunchMessage);

    m_settings->WriteSetting("Tools", "FuncSim", "sleep");
    m_settings->WriteSetting("Tools", "FuncSim param", "30");
    ASSERT_TRUE(Trigger(frame.Actions().functionalSimulator));
    EXPECT_EQ(m_tools.Running().size(), 1u);
    m_prompts.QueueAnswer(PromptAnswer::Yes);
    frame.Actions().closeProject->trigger();
    ProcessEvents();
    EXPECT_EQ(m_prompts.Messages().back().text.rfind("Functional Simulator is still running.\nStop it?", 0),
              0u);
    EXPECT_TRUE(m_tools.Running().empty());
    EXPECT_EQ(frame.ActiveProject(), nullptr);
}

TEST_F(ToolsTest, AnalyzeIsCheckedInTheBackgroundAndTheLogLineOpensTheSourceAtItsLine) {
    if (!test::GhdlAvailable())
        GTEST_SKIP() << "GHDL is not installed";
    const std::filesystem::path example = Folder() / "blinker";
    std::filesystem::copy(KESTRA_EXAMPLES "/blinker", example, std::filesystem::copy_options::recursive);
    const std::filesystem::path divider = example / "Blinker" / "DIVIDER.vhd";
    std::string source = test::ReadBytes(divider);
    const std::size_t width = source.find("WIDTH: integer := ");
    ASSERT_NE(width, std::string::npos);
    const std::size_t value = width + 18;
    test::WriteBytes(divider, source.substr(0, value) + "abc" + source.substr(source.find(';', value)));
    m_settings->WriteSetting("Tools", "HDL Editor", "vhdl-edit");
    m_settings->WriteSetting("Tools", "HDL Editor param", "+%l");

    CMainFrame& frame = StartFrame({(example / "Blinker.kst").string()});
    C3SplitFrame* project = frame.ActiveProject();
    ASSERT_NE(project, nullptr);
    CHierarchyItem* item = Find(project, "DIVIDER");
    Select(project, item);
    ASSERT_TRUE(Trigger(frame.Actions().analyzeModule));
    // The tool's own analysis passes; the analyser, in the background, does not.
    EXPECT_NE(LogText(project).find("DIVIDER analyzed. No error encountered."), std::string::npos);
    ASSERT_TRUE(project->Checker().WaitForIdle(30000));
    const std::string log = LogText(project);
    const std::string errorLine = "GHDL: " + divider.string() + ":9:";
    EXPECT_NE(log.find(errorLine), std::string::npos) << log;
    EXPECT_NE(log.find(" errors in DIVIDER.vhd."), std::string::npos) << log;
    EXPECT_TRUE(item->CheckFailed());
    EXPECT_EQ(item->Status(), AnalysisStatus::Analyzed);

    // Enter on the error line opens the source at that line in the HDL editor.
    CKSTEditView& view = *project->LogView();
    const QTextBlock block = view.document()->find(QString::fromStdString(errorLine)).block();
    ASSERT_TRUE(block.isValid());
    QTextCursor cursor(block);
    view.setTextCursor(cursor);
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Return);
    ASSERT_FALSE(m_shell.started.empty());
    EXPECT_EQ(m_shell.started.back().program, QStringLiteral("vhdl-edit"));
    EXPECT_EQ(m_shell.started.back().arguments,
              (QStringList{QStringLiteral("+9"), QString::fromStdString(divider.string())}));

    // Mended, the next check passes the module again.
    test::WriteBytes(divider, source);
    ASSERT_TRUE(Trigger(frame.Actions().analyzeModule));
    ASSERT_TRUE(project->Checker().WaitForIdle(30000));
    EXPECT_NE(LogText(project).find("GHDL check: no error in 2 files."), std::string::npos)
        << LogText(project);
    EXPECT_FALSE(item->CheckFailed());
}

} // namespace
} // namespace kestra
