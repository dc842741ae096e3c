// Bringing in a design of several files: hierarchy, copies, libraries, problems, generation.
#include "commands/import_commands.h"
#include "support/project_commands.h"
#include "support/project_fixture.h"
#include "support/shell_runner.h"
#include "support/yosys.h"
#include "tools/vhdl_check.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace kestra::test {
namespace {

namespace fs = std::filesystem;

const fs::path kDesigns = fs::path(KESTRA_TEST_DATA) / "designs";

std::string Read(const fs::path& path) {
    return ReadWholeFile(path).ValueOr("<missing>");
}

// The tree below an item as "name(kind)" lines indented by depth.
std::string TreeText(const CKSTDoc& doc, const CHierarchyItem* top) {
    std::string text;
    for (const CHierarchyItem* item = top; item != nullptr;
         item = doc.Tree().NextItem(const_cast<CHierarchyItem*>(item), const_cast<CHierarchyItem*>(top))) {
        int depth = 0;
        for (const CHierarchyItem* up = item; up != top; up = up->Parent())
            ++depth;
        text += std::string(static_cast<std::size_t>(2 * depth), ' ') + item->Text() +
                (item->Kind() == HierarchyKind::Package ? " (package)" : "") + "\n";
    }
    return text;
}

class ImportTest : public ::testing::Test {
protected:
    // Imports the paths under the root; the preview is kept for the checks.
    bool Import(std::vector<fs::path> paths, const std::string& top = {}, std::size_t largestFile = 4096) {
        preview = PreviewDesignImport({std::move(paths), top, largestFile});
        commands.session.Select(project.Root());
        return CImportCommands(commands.session).OnImportDesign(preview);
    }

    CHierarchyItem* Top(int index = 0) { return project.Root()->Child(index); }

    ProjectFixture project;
    ProjectCommands commands{project.doc};
    DesignImportPreview preview;
};

TEST_F(ImportTest, AProcessorComesInWithItsHierarchyAndItsFilesAsTheyWere) {
    ASSERT_TRUE(Import({kDesigns / "tiny_cpu"})) << project.log.Text();
    EXPECT_EQ(preview.moduleCount, 6);
    EXPECT_EQ(TreeText(project.doc, Top()), "cpu\n  cpu_types (package)\n  regfile\n    reg\n  alu\n  reg\n");
    // Analysed clean, and neither the copies nor the analysis changed a byte of the sources.
    for (CHierarchyItem* item = Top(); item != nullptr; item = project.doc.Tree().NextItem(item, Top()))
        EXPECT_EQ(item->Status(), AnalysisStatus::Analyzed) << item->Text() << project.log.Text();
    for (const char* file : {"cpu.vhd", "alu.vhd", "alu_rtl.vhd", "regs.vhd", "cpu_types.vhd"})
        EXPECT_EQ(Read(project.doc.GetModuleFolderPath() / file), Read(kDesigns / "tiny_cpu" / "rtl" / file))
            << file;
    // Both items of the entity declared in the file of another share it.
    EXPECT_EQ(project.doc.ModuleSourcePath(*Top()->Child(1)), project.doc.GetModuleFolderPath() / "regs.vhd");
    EXPECT_EQ(project.doc.ModuleSourcePath(*Top()->Child(3)), project.doc.GetModuleFolderPath() / "regs.vhd");
    // The architecture kept in a file of its own is read with the entity's, and checked with it.
    const std::vector<fs::path> architectures = project.doc.ModuleArchitectureFiles(*Top()->Child(2));
    ASSERT_EQ(architectures.size(), 1u);
    EXPECT_EQ(architectures[0], project.doc.GetModuleFolderPath() / "alu_rtl.vhd");
    const CheckJob job = ModuleCheckJob(project.doc, {Top()});
    ASSERT_EQ(job.files.size(), 5u);
    EXPECT_EQ(job.files[0].path.filename(), "cpu_types.vhd");
    EXPECT_EQ(job.files.back().path.filename(), "cpu.vhd");

    // The generic fixed by the parent's generic map is refused; one left to its default is not.
    commands.session.Select(Top()->Child(2));
    const int width = Top()->Child(2)->Object()->FindEntry("WIDTH");
    EXPECT_FALSE(commands.parameters.EndParameterEdit(Top()->Child(2), width, 1, "16"));
    EXPECT_NE(commands.session.LastRefusal().find("u_alu (kDataWidth)"), std::string::npos);
    CHierarchyItem* accumulator = Top()->Child(3);
    EXPECT_TRUE(commands.parameters.EndParameterEdit(accumulator, accumulator->Object()->FindEntry("WIDTH"),
                                                     1, "12"));
}

TEST_F(ImportTest, TheGeneratedCopyElaboratesAndMatchesTheSources) {
    ASSERT_TRUE(Import({kDesigns / "tiny_cpu" / "rtl"}));
    const fs::path out = project.folder / "out";
    ASSERT_TRUE(CreateFolders(out));
    commands.generation.SetOutputFolder(out);
    commands.session.Select(Top());
    ASSERT_TRUE(commands.generation.OnGenerate(false)) << project.log.Text();
    const std::string generated = Read(out / "cpu.vhd");
    // Every unit once, the package before its users, the architecture the code binds alone.
    EXPECT_EQ(generated.find("entity reg is"), generated.rfind("entity reg is"));
    EXPECT_LT(generated.find("package cpu_types"), generated.find("entity alu"));
    EXPECT_EQ(generated.find("architecture small"), std::string::npos);
    CHierarchyItem* alu = Top()->Child(2);
    int choice = 1;
    while (choice < alu->Object()->GetEntryCount() &&
           alu->Object()->GetEntryKind(choice) != EntryKind::Architecture)
        ++choice;
    EXPECT_EQ(alu->Object()->GetEntryValue(choice), "rtl");
    KESTRA_REQUIRE_GHDL();
    // The sources as they are in the project pass the check, the generated copy elaborates.
    CShellRunner runner;
    const CheckOutcome checked =
        RunVhdlCheck(ModuleCheckJob(project.doc, {Top()}), {VhdlAnalyzer::Kind::Ghdl, "ghdl"}, runner);
    EXPECT_EQ(checked.errors, 0) << CheckLogText({VhdlAnalyzer::Kind::Ghdl, "ghdl"}, {}, checked);
    EXPECT_TRUE(GhdlAnalyze({generated}, "cpu").ok);
    std::vector<std::string> sources;
    for (const char* file : {"cpu_types.vhd", "alu.vhd", "alu_rtl.vhd", "regs.vhd", "cpu.vhd"})
        sources.push_back(Read(kDesigns / "tiny_cpu" / "rtl" / file));
    if (!SynthesisAvailable())
        GTEST_SKIP() << "yosys is not installed";
    const EquivalenceResult proof = ProveSameNamedEquivalent(sources, generated, "cpu");
    EXPECT_TRUE(proof.equivalent) << proof.output;
}

TEST_F(ImportTest, ALibraryDesignKeepsItsLibraryFromTheFilesToTheGeneratedCopy) {
    ASSERT_TRUE(Import({kDesigns / "stream"})) << project.log.Text();
    EXPECT_EQ(TreeText(project.doc, Top()), "stream_top\n  strm_pkg (package)\n  strm_fifo\n  strm_fifo\n");
    EXPECT_EQ(project.doc.ModuleLibrary(*Top()->Child(1)), "strm");
    EXPECT_EQ(project.doc.ModuleLibrary(*Top()), "work");
    EXPECT_TRUE(FileExists(project.doc.GetModuleFolderPath() / "strm" / "strm_fifo.vhd"));

    const fs::path out = project.folder / "out";
    ASSERT_TRUE(CreateFolders(out));
    commands.generation.SetOutputFolder(out);
    commands.session.Select(Top());
    ASSERT_TRUE(commands.generation.OnGenerate(false)) << project.log.Text();
    ASSERT_TRUE(FileExists(out / "stream_top.strm.vhd"));
    EXPECT_EQ(Read(out / "stream_top.vhd").find("entity strm_fifo"), std::string::npos);
    KESTRA_REQUIRE_GHDL();
    // The fifo's VHDL-2008 stays VHDL-2008.
    EXPECT_TRUE(NeedsVhdl2008(Read(out / "stream_top.strm.vhd")));
    const std::string options = " --std=08 --ieee=synopsys -fexplicit --workdir=. -P. ";
    const GhdlResult built = RunInScratch(
        WriteScratchUnits({Read(out / "stream_top.strm.vhd"), Read(out / "stream_top.vhd")}, "kestra-lib-"),
        "ghdl -a" + options + "--work=strm unit0.vhd && ghdl -a" + options + "unit1.vhd && ghdl -e" +
            options + "stream_top");
    EXPECT_TRUE(built.ok) << built.output;
}

TEST_F(ImportTest, WhatCannotBeResolvedIsReportedWithItsFileAndLine) {
    ASSERT_TRUE(Import({kDesigns / "board"}));
    const std::string log = project.log.Text();
    EXPECT_NE(log.find("board_top.vhd:20: u_buf: GLOBAL_BUF is declared in none of the files"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("board_top.vhd:21: u_deb: debounce"), std::string::npos) << log;
    EXPECT_EQ(TreeText(project.doc, Top()), "board_top\n");
    EXPECT_EQ(Top()->Status(), AnalysisStatus::Analyzed);
}

TEST_F(ImportTest, BadInputIsRefusedOrReportedAndAFailedCopyLeavesTheProjectAsItWas) {
    const fs::path input = project.folder / "input";
    ASSERT_TRUE(CreateFolders(input / "empty"));
    EXPECT_FALSE(Import({input / "empty"}));
    EXPECT_NE(preview.refusal.find("No VHDL file"), std::string::npos);
    EXPECT_FALSE(Import({input / "absent"}));

    std::ofstream(input / "pkg.vhd") << "package p is\nend package;\n";
    EXPECT_FALSE(Import({input / "pkg.vhd"}));
    EXPECT_EQ(preview.refusal, "The files declare no entity.");

    // Two declarations of one entity, a cycle, and a file over the size limit.
    std::ofstream(input / "a.vhd") << "entity a is end;\narchitecture r of a is\nbegin\n"
                                      "  u : entity work.b;\nend;\nentity top is end;\n"
                                      "architecture r of top is\nbegin\n  u : entity work.a;\nend;\n";
    std::ofstream(input / "b.vhd")
        << "entity b is end;\narchitecture r of b is\nbegin\n  u : entity work.a;\nend;\n";
    std::ofstream(input / "c.vhd") << "entity a is end;\n";
    std::ofstream(input / "large.vhd") << std::string(5000, '-');
    const std::size_t items = static_cast<std::size_t>(project.Root()->ChildCount());
    ASSERT_TRUE(Import({input / "a.vhd", input / "b.vhd", input / "c.vhd", input / "large.vhd"}));
    const std::string log = project.log.Text();
    EXPECT_NE(log.find("c.vhd:1: entity a is declared again"), std::string::npos) << log;
    EXPECT_NE(log.find("closes a cycle (a -> b -> a)"), std::string::npos) << log;
    EXPECT_NE(log.find("large.vhd: the file has 5000 bytes, more than the 4096"), std::string::npos) << log;
    EXPECT_EQ(TreeText(project.doc, project.Root()->Child(static_cast<int>(items))), "top\n  a\n    b\n");

    // A hierarchy that doubles at each of 20 levels is refused before anything is made.
    ASSERT_TRUE(CreateFolders(input / "wide"));
    std::ofstream fan(input / "wide" / "fan.vhd");
    for (int level = 0; level < 20; ++level)
        fan << "entity l" << level << " is end;\narchitecture r of l" << level
            << " is\nbegin\n  a : entity work.l" << level + 1 << ";\n  b : entity work.l" << level + 1
            << ";\nend;\n";
    fan << "entity l20 is end;\narchitecture r of l20 is\nbegin\nend;\n";
    fan.close();
    EXPECT_FALSE(Import({input / "wide"}));
    EXPECT_NE(preview.refusal.find("more than 100000 modules"), std::string::npos) << preview.refusal;

    // A copy that fails takes the copies made before it back, and adds nothing.
    const fs::path modules = project.doc.GetModuleFolderPath();
    ASSERT_TRUE(CreateFolders(modules / "regs.vhd"));
    const int before = project.Root()->ChildCount();
    EXPECT_FALSE(Import({kDesigns / "tiny_cpu"}));
    EXPECT_EQ(project.Root()->ChildCount(), before);
    EXPECT_FALSE(FileExists(modules / "cpu_types.vhd"));
    EXPECT_FALSE(FileExists(modules / "cpu.vhd"));
}

TEST_F(ImportTest, AFileNameInUseGetsAFreeOneAndAFileAlreadyThereIsShared) {
    const fs::path modules = project.doc.GetModuleFolderPath();
    ASSERT_TRUE(ReplaceFileSafely(modules / "alu.vhd", "-- another alu\n"));
    project.AddModule(project.Root(), "ALU", "entity ALU is end;\narchitecture a of ALU is\nbegin\nend;\n");
    ASSERT_TRUE(
        CopyFileTo(kDesigns / "tiny_cpu" / "rtl" / "cpu_types.vhd", modules / "cpu_types.vhd", false));
    ASSERT_TRUE(Import({kDesigns / "tiny_cpu"}));
    EXPECT_EQ(Read(modules / "alu.vhd"), "-- another alu\n");
    EXPECT_EQ(project.doc.ModuleSourcePath(*Top(1)->Child(2)), modules / "alu_2.vhd");
    EXPECT_NE(project.log.Text().find("copied to alu_2.vhd (alu.vhd is another file)"), std::string::npos);
    EXPECT_NE(project.log.Text().find("is in the module folder already as cpu_types.vhd"), std::string::npos);
    EXPECT_FALSE(FileExists(modules / "cpu_types_2.vhd"));
    // The project's own ALU and the imported alu would replace each other in library work.
    EXPECT_NE(project.log.Text().find(
                  "Module ALU of the project (ALU.vhd) and the imported entity alu (alu_2.vhd)"),
              std::string::npos)
        << project.log.Text();
}

} // namespace
} // namespace kestra::test
