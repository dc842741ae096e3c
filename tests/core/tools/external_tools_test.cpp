#include "support/memory_settings.h"
#include "support/project_fixture.h"
#include "tools/external_tools.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>

namespace kestra {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Finds the programs it was told of and records what it was asked to start.
class ScriptedStarter : public CToolStarter {
public:
    std::string FindProgram(std::string_view name) override {
        searched.emplace_back(name);
        const auto found = onPath.find(std::string(name));
        return found != onPath.end() ? found->second : std::string();
    }
    bool Start(const ToolProcess& process, CMessageLog* log) override {
        started.push_back(process);
        startLog = log;
        return startable;
    }

    std::map<std::string, std::string> onPath;
    std::vector<std::string> searched;
    std::vector<ToolProcess> started;
    CMessageLog* startLog = nullptr;
    bool startable = true;
};

void SetRootLink(test::ProjectFixture& project, const std::string& name, const std::string& value) {
    CKSTObject& root = *project.Root()->Object();
    for (int i = 0; i < root.GetEntryCount(); ++i) {
        if (root.GetEntryName(i) == name) {
            root.SetEntry(i, EntryKind::Link, name, value);
            return;
        }
    }
    ADD_FAILURE() << "no link " << name;
}

TEST(ToolArguments, SplitLikeAShellAndTheLinkNeverAddsAWord) {
    EXPECT_THAT(SplitArguments("  -c 'a b' \"c 'd'\" e\"f g\"h  "),
                ElementsAre("-c", "a b", "c 'd'", "ef gh"));
    // Directly after the text: the quoted link joins its last word, as "-p" and the file name.
    EXPECT_THAT(ArgumentsWithLink("-p", "my design.prj"), ElementsAre("-pmy design.prj"));
    EXPECT_THAT(ArgumentsWithLink("-s ", "synth.ys"), ElementsAre("-s", "synth.ys"));
    EXPECT_THAT(ArgumentsWithLink("", "a 'b' -x"), ElementsAre("a 'b' -x"));
    // A parameter text that leaves a quote open keeps the link inside that one word.
    EXPECT_THAT(ArgumentsWithLink("-x \"open", " -y z"), ElementsAre("-x", "open -y z"));
}

TEST(ToolLaunch, SearchOnPathWriteBackLinkAndFolder) {
    test::ProjectFixture project;
    CMemorySettings settings;
    ScriptedStarter starter;

    // Nothing set and nothing on PATH: the first message, nothing started.
    EXPECT_EQ(LaunchExternalTool(settings, starter, ExternalTool::Synthesizer, &project.doc),
              LaunchOutcome::NoApplication);
    EXPECT_THAT(starter.searched, ElementsAre("yosys"));
    // The timing simulator has nothing to look for.
    starter.searched.clear();
    EXPECT_EQ(LaunchExternalTool(settings, starter, ExternalTool::TimingSimulator, nullptr),
              LaunchOutcome::NoApplication);
    EXPECT_TRUE(starter.searched.empty());
    EXPECT_TRUE(starter.started.empty());

    // Found on PATH: written back and started with the parameter text and the root's link.
    starter.onPath["nextpnr-gowin"] = "/opt/bin/nextpnr-gowin";
    starter.onPath["yosys"] = "/usr/bin/yosys";
    settings.WriteSetting("Tools", "Synthesizer param", "-p");
    SetRootLink(project, "Synthesis", "design.prj");
    EXPECT_EQ(LaunchExternalTool(settings, starter, ExternalTool::Synthesizer, &project.doc),
              LaunchOutcome::Started);
    EXPECT_EQ(settings.ReadSetting("Tools", "Synthesizer"), "/usr/bin/yosys");
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(starter.started[0].program, "/usr/bin/yosys");
    // The relative link names a file in the project folder, wherever the tool starts.
    EXPECT_THAT(starter.started[0].arguments,
                ElementsAre("-p" + (project.doc.GetProjectFolder() / "design.prj").string()));
    EXPECT_EQ(starter.started[0].workingFolder, project.doc.ResolvedDestinationFolder());
    EXPECT_EQ(starter.startLog, &project.log);

    // The implementation tools are tried in their order. Without parameters and without the
    // project's link the found one has nothing to work on: it is not started, and the user is
    // told what to set.
    const std::size_t startedBefore = starter.started.size();
    EXPECT_EQ(LaunchExternalTool(settings, starter, ExternalTool::Implementer, &project.doc),
              LaunchOutcome::NothingToDo);
    EXPECT_EQ(starter.started.size(), startedBefore);
    EXPECT_EQ(settings.ReadSetting("Tools", "Implementer"), "/opt/bin/nextpnr-gowin");
    EXPECT_THAT(starter.searched,
                ::testing::IsSupersetOf({"nextpnr-ice40", "nextpnr-ecp5", "nextpnr-gowin"}));
    EXPECT_NE(LaunchMessage(LaunchOutcome::NothingToDo, ExternalTool::Implementer).find("\"Implemention\""),
              std::string::npos);
    SetRootLink(project, "Implemention", "board.pcf");
    EXPECT_EQ(LaunchExternalTool(settings, starter, ExternalTool::Implementer, &project.doc),
              LaunchOutcome::Started);
    EXPECT_THAT(starter.started.back().arguments,
                ElementsAre((project.doc.GetProjectFolder() / "board.pcf").string()));

    // GHDL found for the VHDL simulator gets its parameter text too; the root's own entry
    // "VHDL_simulation" is the launch table's "VHDL_Simulation".
    starter.onPath["ghdl"] = "/usr/bin/ghdl";
    SetRootLink(project, "VHDL_simulation", "simulate.rsp");
    EXPECT_EQ(LaunchExternalTool(settings, starter, ExternalTool::VhdlSimulator, &project.doc),
              LaunchOutcome::Started);
    EXPECT_EQ(settings.ReadSetting("Tools", "VHDLSim"), "/usr/bin/ghdl");
    EXPECT_THAT(starter.started.back().arguments,
                ElementsAre("-c", "--std=93c", "--ieee=synopsys", "-fexplicit",
                            "@" + (project.doc.GetProjectFolder() / "simulate.rsp").string()));

    // No project: no folder, no link.
    EXPECT_EQ(LaunchExternalTool(settings, starter, ExternalTool::Synthesizer, nullptr),
              LaunchOutcome::Started);
    EXPECT_TRUE(starter.started.back().workingFolder.empty());
    EXPECT_THAT(starter.started.back().arguments, ElementsAre("-p"));
    EXPECT_EQ(starter.startLog, nullptr);
}

TEST(ToolLaunch, AFailedStartAndAnUnsafeLink) {
    test::ProjectFixture project;
    CMemorySettings settings;
    ScriptedStarter starter;
    settings.WriteSetting("Tools", "Synthesizer", "/nowhere/synth");
    settings.WriteSetting("Tools", "Synthesizer param", "-p");
    starter.startable = false;
    EXPECT_EQ(LaunchExternalTool(settings, starter, ExternalTool::Synthesizer, &project.doc),
              LaunchOutcome::CannotLaunch);
    EXPECT_EQ(settings.ReadSetting("Tools", "Synthesizer"), "/nowhere/synth");
    EXPECT_TRUE(starter.searched.empty());

    // A value from someone else's project that would close the quotes adds nothing.
    starter.startable = true;
    SetRootLink(project, "Synthesis", "x.prj\" -o \"/tmp/evil");
    EXPECT_EQ(LaunchExternalTool(settings, starter, ExternalTool::Synthesizer, &project.doc),
              LaunchOutcome::Started);
    EXPECT_THAT(starter.started.back().arguments, ElementsAre("-p"));
    EXPECT_THAT(project.log.Text(), HasSubstr("WARNING: The link parameter Synthesis holds a double quote"));
    SetRootLink(project, "Synthesis", "x.prj\n-o");
    EXPECT_EQ(LaunchExternalTool(settings, starter, ExternalTool::Synthesizer, &project.doc),
              LaunchOutcome::Started);
    EXPECT_THAT(starter.started.back().arguments, ElementsAre("-p"));
}

} // namespace
} // namespace kestra
