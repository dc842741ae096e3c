#include "commands/completed_work.h"
#include "support/ghdl.h"
#include "support/project_fixture.h"
#include "support/shell_runner.h"
#include "support/temp_folder.h"
#include "tools/check_manifest.h"
#include "tools/vhdl_check.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kestra {
namespace {

// Answers every run as passed, keeping its arguments.
class CScriptedRunner : public CProcessRunner {
public:
    int Run(const std::string&, const std::vector<std::string>& arguments, const std::filesystem::path&,
            std::string&, const std::atomic<bool>*) override {
        runs.push_back(arguments);
        return 0;
    }

    // The names of the files analysed since the last call, in order.
    std::vector<std::string> TakeAnalyzed() {
        std::vector<std::string> names;
        for (const std::vector<std::string>& run : runs) {
            if (run.front() == "-a" || std::find(run.begin(), run.end(), "-a") != run.end())
                names.push_back(std::filesystem::path(run.back()).filename().string());
        }
        runs.clear();
        return names;
    }

    std::vector<std::vector<std::string>> runs;
};

bool Has(const std::vector<std::string>& arguments, const std::string& argument) {
    return std::find(arguments.begin(), arguments.end(), argument) != arguments.end();
}

const VhdlAnalyzer kGhdl{VhdlAnalyzer::Kind::Ghdl, "ghdl"};

// pkg <- leaf <- mid <- top, and other <- top.
class IncrementalCheck : public ::testing::Test {
protected:
    IncrementalCheck() {
        Write("pkg.vhd", "package pkg is constant W : integer := 4; end package;\n");
        Write("leaf.vhd", "use work.pkg.all;\nentity leaf is port (x : in bit_vector(W-1 downto 0)); end;\n"
                          "architecture a of leaf is begin end;\n");
        Write("other.vhd", "entity other is end;\narchitecture a of other is begin end;\n");
        Write("mid.vhd", "entity mid is end;\narchitecture a of mid is\n"
                         "  component leaf port (x : in bit_vector(3 downto 0)); end component;\n"
                         "begin u: leaf port map (x => \"0000\"); end;\n");
        Write("top.vhd", "entity top is end;\narchitecture a of top is begin\n"
                         "  m: entity work.mid; o: entity work.other;\nend;\n");
        for (const char* name : {"pkg.vhd", "leaf.vhd", "other.vhd", "mid.vhd", "top.vhd"})
            job.files.push_back({folder / name, "work"});
        job.top = "top";
        job.workFolder = folder / "kept";
    }

    void Write(const std::string& name, const std::string& text) { test::WriteBytes(folder / name, text); }

    test::TempFolder folder;
    CheckJob job;
    CScriptedRunner runner;
};

TEST_F(IncrementalCheck, OnlyAChangedFileAndWhatUsesItAreAnalysedAgain) {
    EXPECT_EQ(RunVhdlCheck(job, kGhdl, runner).errors, 0);
    EXPECT_EQ(runner.TakeAnalyzed().size(), 5u);

    Write("leaf.vhd", "use work.pkg.all;\nentity leaf is port (x : in bit_vector(W-1 downto 0)); end;\n"
                      "architecture b of leaf is begin end;\n");
    const CheckOutcome changed = RunVhdlCheck(job, kGhdl, runner);
    EXPECT_EQ(changed.errors, 0);
    EXPECT_EQ(changed.analyzedFiles.size(), 3u); // what the editor's markers are replaced for
    ASSERT_FALSE(runner.runs.empty());
    EXPECT_EQ(runner.runs.back().front(), "--elab-run"); // the top is elaborated every time
    EXPECT_EQ(runner.TakeAnalyzed(), (std::vector<std::string>{"leaf.vhd", "mid.vhd", "top.vhd"}));

    EXPECT_EQ(RunVhdlCheck(job, kGhdl, runner).errors, 0);
    EXPECT_TRUE(runner.TakeAnalyzed().empty());

    // A file left out of the job may have left units behind: everything is analysed again.
    job.files.erase(job.files.begin() + 2);
    EXPECT_EQ(RunVhdlCheck(job, kGhdl, runner).errors, 0);
    EXPECT_EQ(runner.TakeAnalyzed().size(), 4u);
}

TEST_F(IncrementalCheck, OtherOptionsClearTheFolder) {
    EXPECT_EQ(RunVhdlCheck(job, kGhdl, runner).errors, 0);
    runner.TakeAnalyzed();
    test::WriteBytes(job.workFolder / "work-obj93.cf", "left over");
    // One file that needs VHDL-2008 makes every file analysed as 2008.
    Write("other.vhd", "entity other is end;\narchitecture a of other is\n  signal s, t : bit;\n"
                       "begin\n  process (all) begin t <= s; end process;\nend;\n");
    EXPECT_EQ(RunVhdlCheck(job, kGhdl, runner).errors, 0);
    EXPECT_FALSE(std::filesystem::exists(job.workFolder / "work-obj93.cf"));
    EXPECT_TRUE(Has(runner.runs.front(), "--std=08"));
    EXPECT_EQ(runner.TakeAnalyzed().size(), 5u);
}

TEST_F(IncrementalCheck, AFileThatFailedIsAnalysedAgain) {
    class CFailingMid : public CScriptedRunner {
    public:
        int Run(const std::string& program, const std::vector<std::string>& arguments,
                const std::filesystem::path& folder, std::string& output,
                const std::atomic<bool>* cancel) override {
            static_cast<void>(CScriptedRunner::Run(program, arguments, folder, output, cancel));
            if (!arguments.back().ends_with("mid.vhd"))
                return 0;
            output = arguments.back() + ":2:1: no declaration for \"leaf\"\n";
            return 1;
        }
    } failing;
    const CheckOutcome outcome = RunVhdlCheck(job, kGhdl, failing);
    EXPECT_EQ(outcome.failedFiles, std::vector<std::filesystem::path>{folder / "mid.vhd"});
    failing.TakeAnalyzed();
    EXPECT_EQ(RunVhdlCheck(job, kGhdl, runner).errors, 0);
    EXPECT_EQ(runner.TakeAnalyzed(), (std::vector<std::string>{"mid.vhd", "top.vhd"}));
}

TEST(VhdlCheckLibraries, EachFileIsAnalysedIntoItsLibrary) {
    test::TempFolder folder;
    test::WriteBytes(folder / "fifo.vhd", "entity fifo is end;\n");
    test::WriteBytes(folder / "top.vhd", "entity top is end;\n");
    GeneratedFile generated;
    generated.path = folder / "top.vhd";
    generated.top = "top";
    generated.libraryFiles = {{folder / "fifo.vhd", "olo"}};
    test::ProjectFixture project;
    const std::vector<CheckJob> jobs =
        CheckJobsAfter(project.doc, CompletedWork{nullptr, {generated}, false});
    ASSERT_EQ(jobs.size(), 1u);
    ASSERT_EQ(jobs[0].files.size(), 2u);
    EXPECT_EQ(jobs[0].files[0].library, "olo");

    CScriptedRunner runner;
    EXPECT_EQ(RunVhdlCheck(jobs[0], kGhdl, runner).errors, 0);
    ASSERT_EQ(runner.runs.size(), 3u);
    EXPECT_TRUE(Has(runner.runs[0], "--work=olo"));
    EXPECT_TRUE(Has(runner.runs[1], "--work=work"));
    EXPECT_TRUE(Has(runner.runs[2], "--work=work")); // the top's library
    const std::string workdir = runner.runs[0][runner.runs[0].size() - 4];
    ASSERT_TRUE(workdir.starts_with("--workdir="));
    EXPECT_TRUE(Has(runner.runs[0], "-P" + workdir.substr(10)));

    runner.runs.clear();
    EXPECT_EQ(RunVhdlCheck(jobs[0], {VhdlAnalyzer::Kind::Nvc, "nvc"}, runner).errors, 0);
    ASSERT_EQ(runner.runs.size(), 3u);
    EXPECT_TRUE(runner.runs[0][1].starts_with("--work=olo:") && runner.runs[0][1].ends_with("/olo"));
    EXPECT_EQ(runner.runs[0][2], "-L");
}

TEST(VhdlCheckFolder, TheKeptFolderIsInTheUsersCacheNamedAfterTheProject) {
    const std::filesystem::path folder = CheckWorkFolderFor("/p/a.kst", "/c", "/h");
    EXPECT_EQ(folder.parent_path(), "/c/kestra/check");
    EXPECT_EQ(folder.filename().string().size(), 16u);
    EXPECT_NE(CheckWorkFolderFor("/p/b.kst", "/c", "/h"), folder);
    EXPECT_EQ(CheckWorkFolderFor("/p/a.kst", "", "/h").parent_path(), "/h/.cache/kestra/check");
    EXPECT_TRUE(CheckWorkFolderFor("/p/a.kst", "", "").empty());
    EXPECT_TRUE(CheckWorkFolderFor("/p/a.kst", "/p/cache", "/h").empty()); // never in the project
}

TEST(VhdlCheckGhdl, APackageOfAnotherLibraryChangedBetweenTwoChecks) {
    KESTRA_REQUIRE_GHDL();
    test::TempFolder folder;
    auto writePackage = [&folder](int width) {
        test::WriteBytes(folder / "widths.vhd", "package widths is constant W : integer := " +
                                                    std::to_string(width) + "; end package;\n");
    };
    writePackage(4);
    test::WriteBytes(folder / "user.vhd",
                     "library lib1;\nuse lib1.widths.all;\nentity user is end;\n"
                     "architecture a of user is\n  signal s : bit_vector(W-1 downto 0);\n"
                     "begin\n  s <= (others => '1');\nend;\n");
    CheckJob job;
    job.files = {{folder / "widths.vhd", "lib1"}, {folder / "user.vhd", "work"}};
    job.top = "user";
    job.workFolder = folder / "kept";
    test::CShellRunner runner;
    const CheckOutcome first = RunVhdlCheck(job, {VhdlAnalyzer::Kind::Ghdl, "ghdl"}, runner);
    EXPECT_EQ(first.errors, 0) << (first.messages.empty() ? "" : first.messages[0].text);
    // The user is analysed again with the package, or its elaboration would find it obsolete.
    writePackage(8);
    runner.runs.clear();
    const CheckOutcome second = RunVhdlCheck(job, {VhdlAnalyzer::Kind::Ghdl, "ghdl"}, runner);
    EXPECT_EQ(second.errors, 0) << (second.messages.empty() ? "" : second.messages[0].text);
    EXPECT_EQ(runner.runs.size(), 3u);
}

} // namespace
} // namespace kestra
