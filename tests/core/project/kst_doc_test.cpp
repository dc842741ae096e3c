#include "project/analysis_status.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "support/byte_builder.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"
#include "system/file_system.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace kestra {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

std::vector<std::string> EntryLines(const CKSTObject& object) {
    std::vector<std::string> lines;
    for (int i = 0; i < object.GetEntryCount(); ++i)
        lines.push_back(object.FormatEntry(i));
    return lines;
}

std::vector<std::string> Structure(const CHierarchyTree& tree) {
    std::vector<std::string> texts;
    for (const CHierarchyItem* item = tree.GetRootItem(); item != nullptr; item = tree.NextItem(item))
        texts.push_back(std::to_string(CHierarchyTree::ItemDepth(item)) + item->Text() + "/" +
                        std::to_string(item->Image()) + "/" +
                        std::to_string(static_cast<int>(item->Status())));
    return texts;
}

class KstDocTest : public ::testing::Test {
protected:
    KstDocTest() { doc.SetIdentity({"alice", "lab1"}); }

    std::unique_ptr<CKSTDoc> Reopen(const fs::path& path) {
        auto other = std::make_unique<CKSTDoc>(prompts, otherLog);
        other->SetIdentity({"alice", "lab1"});
        if (!other->OnOpenDocument(path.string()))
            return nullptr;
        return other;
    }
    fs::path CopyData(const char* name) {
        const fs::path target = folder / name;
        fs::copy_file(fs::path(KESTRA_TEST_DATA) / name, target);
        return target;
    }

    test::TempFolder folder;
    CScriptedPrompts prompts;
    CMemoryLog log;
    CMemoryLog otherLog;
    CKSTDoc doc{prompts, log};
};

TEST_F(KstDocTest, NewProjectFileHoldsTheHeaderAndTheEndMarkOnly) {
    ASSERT_TRUE(doc.OnNewDocument((folder / "design.kst").string()));
    EXPECT_EQ(ReadBytes(folder / "design.kst"), test::ByteBuilder()
                                                    .U32(0x11D2A07E)
                                                    .U32(110)
                                                    .Str("lab1")
                                                    .Str("alice")
                                                    .U32(0)
                                                    .U32(0)
                                                    .U8(0)
                                                    .U32(0xFFFFFFFF)
                                                    .Bytes());
    EXPECT_TRUE(doc.Tree().IsEmpty());
    EXPECT_EQ(doc.GetProjectFolder(), folder.Path());
    EXPECT_EQ(doc.GetTitle(), "design.kst");
    EXPECT_EQ(doc.LastReadFileVersion(), 110);
    EXPECT_FALSE(doc.IsModified());
    const ProjectProperties properties = doc.GetProperties();
    EXPECT_EQ(properties.creatorUser, "alice");
    EXPECT_EQ(properties.creatorComputer, "lab1");
    EXPECT_EQ(properties.accessLevel, AccessLevel::Any);
}

TEST_F(KstDocTest, FirstUpdateCreatesTheRootInAFreeFolder) {
    fs::create_directory(folder / "ProjectA");
    ASSERT_TRUE(doc.OnNewDocument((folder / "p.kst").string()));
    doc.OnFirstUpdate();
    const CHierarchyItem* root = doc.Tree().GetRootItem();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Text(), "ProjectB");
    EXPECT_EQ(root->Kind(), HierarchyKind::Root);
    EXPECT_TRUE(FolderExists(folder / "ProjectB"));
    EXPECT_EQ(doc.Tree().GetModuleFolder(), "ProjectB/");
    EXPECT_EQ(doc.GetModuleFolderPath(), folder.Path() / "ProjectB/");
    EXPECT_EQ(EntryLines(*root->Object()),
              (std::vector<std::string>{
                  "LIB\tLibrary name\tWORK", "DIR\tDestination folder\t" + folder.Path().string(),
                  "LINK\tSynthesis\t", "LINK\tImplemention\t", "LINK\tVHDL_simulation\t",
                  "LINK\tFunctional_simulation\t", "LINK\tTiming_simulation\t"}));
    EXPECT_EQ(doc.GetLibraryName(), "WORK");
    EXPECT_EQ(doc.GetDestinationFolder(), folder.Path().string());
    EXPECT_EQ(log.Text(), "Open project: ProjectB");
    EXPECT_TRUE(doc.IsModified());

    // The root is written at the next save and read back unchanged.
    ASSERT_TRUE(doc.DoFileSave());
    auto reopened = Reopen(folder / "p.kst");
    ASSERT_NE(reopened, nullptr);
    reopened->OnFirstUpdate();
    EXPECT_EQ(EntryLines(*reopened->Tree().GetRootItem()->Object()), EntryLines(*root->Object()));
    EXPECT_EQ(otherLog.Text(), "Open project: ProjectB");
    EXPECT_FALSE(reopened->IsModified());
}

TEST_F(KstDocTest, FirstUpdateRepairsTheRootSettings) {
    ASSERT_TRUE(doc.OnNewDocument((folder / "p.kst").string()));
    CHierarchyItem* root = doc.Tree().InsertItem("Proj", HierarchyKind::Root);
    CKSTObject& object = *root->Object();
    object.SetEntryCount(5);
    object.SetEntry(0, EntryKind::Library, "Library name", "MYLIB");
    object.SetEntry(1, EntryKind::Link, "Synthesizer_project", "syn.prj");
    object.SetEntry(2, EntryKind::Directory, "Destination folder", "out\\gen");
    object.SetEntry(3, EntryKind::Link, "Timing_simulation", "t.do");
    object.SetEntry(4, EntryKind::Note, "Synthesis", "not a link");
    doc.OnFirstUpdate();
    EXPECT_EQ(EntryLines(object),
              (std::vector<std::string>{"LIB\tLibrary name\tMYLIB", "LINK\tSynthesis\tsyn.prj",
                                        "DIR\tDestination folder\tout\\gen", "LINK\tTiming_simulation\tt.do",
                                        "NOTE\tSynthesis\tnot a link", "LINK\tImplemention\t",
                                        "LINK\tVHDL_simulation\t", "LINK\tFunctional_simulation\t"}));
    EXPECT_EQ(doc.GetLibraryName(), "MYLIB");
    EXPECT_EQ(doc.GetDestinationFolder(), "out\\gen");
    EXPECT_EQ(doc.ResolvePath(doc.GetDestinationFolder()), folder.Path() / "out" / "gen");

    // Entry 0 of another kind resets the object; no destination entry resets it to two.
    object.SetEntryCount(2);
    object.SetEntry(0, EntryKind::Vhdl, "Proj", "x");
    object.SetEntry(1, EntryKind::Directory, "Destination folder", "keep?");
    doc.OnFirstUpdate();
    EXPECT_EQ(object.GetEntryCount(), 7);
    EXPECT_EQ(object.FormatEntry(0), "LIB\tLibrary name\tWORK");
    EXPECT_EQ(object.FormatEntry(1), "DIR\tDestination folder\t" + folder.Path().string());
}

TEST_F(KstDocTest, StatusesFollowFilesAndTimes) {
    ASSERT_TRUE(doc.OnNewDocument((folder / "p.kst").string()));
    doc.OnFirstUpdate();
    CHierarchyTree& tree = doc.Tree();
    CHierarchyItem* root = tree.GetRootItem();
    auto addModule = [&](CHierarchyItem* parent, const std::string& name, HierarchyKind kind) {
        CHierarchyItem* item = tree.InsertItem(name, kind, parent);
        item->Object()->SetEntryCount(1);
        item->Object()->SetEntry(0, EntryKind::Vhdl, name, name + ".vhd");
        return item;
    };
    CHierarchyItem* top = addModule(root, "TOP", HierarchyKind::Normal);
    CHierarchyItem* sub = addModule(top, "SUB", HierarchyKind::Normal);
    CHierarchyItem* failed = addModule(top, "BAD", HierarchyKind::Library);
    CHierarchyItem* missing = addModule(top, "GONE", HierarchyKind::Predefined);
    CHierarchyItem* fresh = tree.InsertItem(kNewObjectText, HierarchyKind::Normal, root);

    const fs::path modules = doc.GetModuleFolderPath();
    for (const char* name : {"TOP.vhd", "SUB.vhd", "BAD.vhd"}) {
        WriteBytes(modules / name, "entity");
        ASSERT_TRUE(SetLastWriteTime(modules / name, 133000000000000001ULL));
    }
    for (CHierarchyItem* item : {top, sub, failed})
        item->Object()->SetAnalysedTime(static_cast<std::uint32_t>(133000000000000001ULL),
                                        static_cast<std::uint32_t>(133000000000000001ULL >> 32));
    failed->Object()->SetEntryText(0, EntryField::Name, "* BAD");
    for (CHierarchyItem* item = root; item != nullptr; item = tree.NextItem(item))
        UpdateAnalysisStatus(doc, item);
    EXPECT_EQ(Structure(tree), (std::vector<std::string>{"0" + root->Text() + "/2/0", "1TOP/0/2", "2SUB/0/2",
                                                         "2BAD/4/5", "2GONE/6/1", "1<New Object>/0/4"}));
    (void)missing;
    (void)fresh;

    // A changed file marks the module and its ancestors below the root.
    ASSERT_TRUE(SetLastWriteTime(modules / "SUB.vhd", 133000000000000002ULL));
    UpdateAnalysisStatus(doc, sub);
    EXPECT_EQ(sub->Status(), AnalysisStatus::NeedsAnalysis);
    EXPECT_EQ(top->Status(), AnalysisStatus::NeedsAnalysis);
    EXPECT_EQ(sub->Object()->GetAnalysedTime(), 0u);
    EXPECT_EQ(top->Object()->GetAnalysedTime(), 0u);
    EXPECT_EQ(root->Status(), AnalysisStatus::None);
    EXPECT_EQ(failed->Status(), AnalysisStatus::Failed);
}

TEST_F(KstDocTest, ProjectSurvivesSaveAndReopen) {
    ASSERT_TRUE(doc.OnNewDocument((folder / "full.kst").string()));
    doc.OnFirstUpdate();
    CHierarchyTree& tree = doc.Tree();
    CHierarchyItem* cpu = tree.InsertItem("CPU", HierarchyKind::Normal, tree.GetRootItem());
    cpu->Object()->SetEntryCount(2);
    cpu->Object()->SetEntry(0, EntryKind::Vhdl, "CPU", "CPU.vhd");
    cpu->Object()->SetEntry(1, EntryKind::Style, "ADDER", "FAST");
    const std::vector<std::string> styles{"FAST", "SMALL"};
    cpu->Object()->SetChoiceList(1, &styles);
    cpu->Signals()->SetSignalCount(1);
    cpu->Signals()->SetSignalAll(0, "bus", "inout", "std_logic_vector", "15 downto 0", "(others => 'Z')");
    CHierarchyItem* alu = tree.InsertItem("ALU", HierarchyKind::Library, cpu);
    tree.InsertItem("PKG", HierarchyKind::Package, tree.GetRootItem());
    CBlockData& blocks = *cpu->BlockData();
    blocks.Resize(2);
    blocks.SetBlock(0, "ALU", 0, {10, 10, 90, 60}, ModuleColour(HierarchyKind::Library));
    blocks.SetBlock(1, MakeStoredBlockName(BlockKind::InoutPort, "bus"), 1, {0, 80, 40, 100},
                    PortColour(BlockKind::InoutPort));
    LineRecord line;
    line.attributes = LineRecord::ArrowEnd | 3;
    line.fromId = 1;
    line.toId = 0;
    line.points = {{40, 90}, {50, 90}, {50, 35}, {10, 35}};
    blocks.AddLine(line);
    alu->Object()->SetEntryCount(1);
    alu->Object()->SetEntry(0, EntryKind::Component, "ALU", "ALU.vhd");
    doc.SetAccessLevel(AccessLevel::SameUserAndComputer);
    ASSERT_TRUE(doc.DoFileSave());

    auto reopened = Reopen(folder / "full.kst");
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->StoreToBytes(), doc.StoreToBytes());
    EXPECT_EQ(Structure(reopened->Tree()), Structure(tree));
    const CHierarchyItem* cpu2 = reopened->Tree().GetRootItem()->FirstChild();
    EXPECT_EQ(*cpu2->Object(), *cpu->Object());
    EXPECT_EQ(*cpu2->Signals(), *cpu->Signals());
    EXPECT_EQ(*cpu2->BlockData(), blocks);
    EXPECT_EQ(reopened->GetProperties().accessLevel, AccessLevel::SameUserAndComputer);

    CKSTDoc stranger(prompts, otherLog);
    stranger.SetIdentity({"alice", "lab2"});
    EXPECT_FALSE(stranger.OnOpenDocument((folder / "full.kst").string()));
    EXPECT_EQ(prompts.Messages().back().text, "Access permission denied!");
}

TEST_F(KstDocTest, SaveAsInTheSameFolderMovesTheModulesToAFreeSuffix) {
    ASSERT_TRUE(doc.OnNewDocument((folder / "p.kst").string()));
    doc.OnFirstUpdate();
    ASSERT_EQ(doc.Tree().GetRootItem()->Text(), "ProjectA");
    fs::create_directory(folder / "ProjectAA");
    fs::create_directory(folder / "ProjectAB");
    const fs::path modules = folder / "ProjectA";
    WriteBytes(modules / "CPU.vhd", "cpu");
    WriteBytes(modules / "ALU.vhd", "alu");
    WriteBytes(modules / "CPU.BAK", "old");
    WriteBytes(modules / "alu.bak", "old");
    WriteBytes(modules / ".hidden", "x");
    fs::create_directory(modules / "sub");
    ASSERT_TRUE(doc.DoFileSave());

    ASSERT_TRUE(doc.OnSaveDocument((folder / "q.kst").string()));
    EXPECT_EQ(doc.GetPathName(), (folder / "q.kst").string());
    EXPECT_EQ(doc.Tree().GetRootItem()->Text(), "ProjectAC");
    EXPECT_EQ(doc.Tree().GetModuleFolder(), "ProjectAC/");
    EXPECT_EQ(ListFiles(folder / "ProjectAC"), (std::vector<std::string>{"ALU.vhd", "CPU.vhd"}));
    EXPECT_EQ(ReadBytes(folder / "ProjectAC" / "CPU.vhd"), "cpu");
    EXPECT_EQ(ListFiles(modules).size(), 5u);

    // Both files on disk name their own module folders.
    auto saved = Reopen(folder / "q.kst");
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->Tree().GetRootItem()->Text(), "ProjectAC");
    auto original = Reopen(folder / "p.kst");
    ASSERT_NE(original, nullptr);
    EXPECT_EQ(original->Tree().GetRootItem()->Text(), "ProjectA");
}

TEST_F(KstDocTest, SaveAsInAnotherFolderKeepsTheRootName) {
    ASSERT_TRUE(doc.OnNewDocument((folder / "p.kst").string()));
    doc.OnFirstUpdate();
    WriteBytes(folder / "ProjectA" / "CPU.vhd", "cpu");
    fs::create_directories(folder / "elsewhere" / "ProjectA");
    WriteBytes(folder / "elsewhere" / "ProjectA" / "CPU.vhd", "stale");
    ASSERT_TRUE(doc.OnSaveDocument((folder / "elsewhere" / "p.kst").string()));
    EXPECT_EQ(doc.Tree().GetRootItem()->Text(), "ProjectA");
    EXPECT_EQ(doc.GetProjectFolder(), folder / "elsewhere");
    EXPECT_EQ(ReadBytes(folder / "elsewhere" / "ProjectA" / "CPU.vhd"), "cpu");
    EXPECT_EQ(doc.GetModuleFolderPath(), folder.Path() / "elsewhere" / "ProjectA/");

    // Saving to the same path again moves nothing.
    ASSERT_TRUE(doc.OnSaveDocument((folder / "elsewhere" / "p.kst").string()));
    EXPECT_FALSE(FolderExists(folder / "elsewhere" / "ProjectAA"));
}

TEST_F(KstDocTest, SaveAsSaysWhenTheModulesCannotFollow) {
    ASSERT_TRUE(doc.OnNewDocument((folder / "p.kst").string()));
    doc.OnFirstUpdate();
    WriteBytes(folder / "ProjectA" / "CPU.vhd", "cpu");
    fs::create_directory(folder / "elsewhere");
    WriteBytes(folder / "elsewhere" / "ProjectA", "a file where the module folder should go");
    log.ClearLog();
    // The project file is saved under its new name; the user is told the modules did not follow.
    ASSERT_TRUE(doc.OnSaveDocument((folder / "elsewhere" / "p.kst").string()));
    EXPECT_EQ(doc.GetPathName(), (folder / "elsewhere" / "p.kst").string());
    EXPECT_TRUE(FileExists(folder / "elsewhere" / "p.kst"));
    EXPECT_EQ(ReadBytes(folder / "ProjectA" / "CPU.vhd"), "cpu");
    EXPECT_EQ(log.Text().rfind("\r\nWARNING: Cannot create the module folder " +
                                   (folder / "elsewhere" / "ProjectA").string() + ". ",
                               0),
              0u)
        << log.Text();
    ASSERT_FALSE(prompts.Messages().empty());
    EXPECT_EQ(prompts.Messages().back().icon, PromptIcon::Warning);
    EXPECT_NE(prompts.Messages().back().text.find("not all of its module files could be copied"),
              std::string::npos);
}

TEST_F(KstDocTest, SaveRunsTheCommitHookFirst) {
    ASSERT_TRUE(doc.OnNewDocument((folder / "p.kst").string()));
    doc.OnFirstUpdate();
    int commits = 0;
    doc.SetCommitEditorsHook([&] {
        ++commits;
        doc.Tree().GetRootItem()->Object()->SetEntryText(0, EntryField::Value, "COMMITTED");
    });
    ASSERT_TRUE(doc.DoFileSave());
    EXPECT_EQ(commits, 1);
    auto reopened = Reopen(folder / "p.kst");
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->Tree().GetRootItem()->Object()->GetEntryValue(0), "COMMITTED");
}

TEST_F(KstDocTest, SaveFailuresAreReportedAndCanKeepTheProjectOpen) {
    ASSERT_TRUE(doc.OnNewDocument((folder / "sub" / ".." / "p.kst").string()));
    doc.OnFirstUpdate();
    const fs::path saved = folder / "p.kst";
    EXPECT_EQ(doc.GetPathName(), saved.string());
    fs::remove(saved);
    fs::create_directory(saved); // a folder where the file should go
    prompts.QueueAnswer(PromptAnswer::No);
    EXPECT_FALSE(doc.SaveModified());
    ASSERT_EQ(prompts.Messages().size(), 2u);
    EXPECT_EQ(prompts.Messages()[0].text.rfind("Cannot save the project file " + saved.string(), 0), 0u);
    EXPECT_EQ(prompts.Messages()[0].icon, PromptIcon::Error);
    EXPECT_EQ(prompts.Messages()[1].text, kMsgCloseUnsaved);
    EXPECT_EQ(prompts.Messages()[1].buttons, PromptButtons::YesNo);
    prompts.QueueAnswer(PromptAnswer::Yes);
    EXPECT_TRUE(doc.SaveModified());

    fs::remove(saved);
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_TRUE(FileExists(saved));
}

TEST_F(KstDocTest, NothingIsWrittenWithoutAProject) {
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_FALSE(doc.OnSaveDocument(""));
    EXPECT_FALSE(doc.OnOpenDocument((folder / "none.kst").string()));
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_TRUE(fs::is_empty(folder.Path()));
    EXPECT_EQ(doc.GetPathName(), "");
}

TEST_F(KstDocTest, NewProjectDialogAsksBeforeOverwriting) {
    EXPECT_FALSE(doc.AskNewProjectPath().has_value());
    ASSERT_EQ(prompts.FileRequests().size(), 1u);
    const FileChoice& request = prompts.FileRequests()[0];
    EXPECT_EQ(request.title, "Create New Project");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].label, "KESTRA Files (*.kst)");
    EXPECT_EQ(request.filters[0].pattern, "*.kst");
    EXPECT_EQ(request.filters[1].label, "All Files (*.*)");
    EXPECT_EQ(request.filters[1].pattern, "*.*");
    EXPECT_EQ(request.defaultExtension, "kst");

    WriteBytes(folder / "taken.kst", "x");
    prompts.QueueChoice((folder / "taken.kst").string());
    prompts.QueueAnswer(PromptAnswer::No);
    prompts.QueueChoice((folder / "fresh").string());
    EXPECT_EQ(doc.AskNewProjectPath(), (folder / "fresh.kst").string());
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, "Project file already exist, overwrite?");
    EXPECT_EQ(prompts.Messages()[0].icon, PromptIcon::Question);

    prompts.QueueChoice((folder / "taken.kst").string());
    prompts.QueueAnswer(PromptAnswer::Yes);
    EXPECT_EQ(doc.AskNewProjectPath(), (folder / "taken.kst").string());
}

TEST_F(KstDocTest, OpeningAMissingFileSaysWhy) {
    EXPECT_FALSE(doc.OnOpenDocument((folder / "none.kst").string()));
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text,
              "Cannot open the project file " + (folder / "none.kst").string() + ".\n" +
                  std::make_error_code(std::errc::no_such_file_or_directory).message());
    EXPECT_FALSE(doc.IsLoaded());
}

TEST_F(KstDocTest, HandBuiltVersion110File) {
    const fs::path path = CopyData("project_v110.kst");
    ASSERT_TRUE(doc.OnOpenDocument(path.string()));
    doc.OnFirstUpdate();
    EXPECT_EQ(Structure(doc.Tree()),
              (std::vector<std::string>{"0Demo/2/0", "1CPU/0/1", "2ALU/4/1", "1PKG/8/1"}));
    EXPECT_EQ(log.Text(), "Open project: Demo");
    EXPECT_EQ(doc.GetDestinationFolder(), "out");
    EXPECT_FALSE(doc.IsModified());
    const CHierarchyItem* cpu = doc.Tree().GetRootItem()->FirstChild();
    EXPECT_EQ(cpu->Object()->FormatEntry(2), "LOGIC\tRESET\tHIGH\tHIGH\tLOW");
    EXPECT_EQ(cpu->Signals()->FormatSignalList(SignalForm::PortDeclaration),
              "\r\n\tport (\r\n\t\tclk : in std_logic;\r\n\t\tq : out std_logic_vector(7 downto 0)\r\n\t);");
    const CBlockData& blocks = *cpu->BlockData();
    ASSERT_EQ(blocks.GetBlockCount(), 4);
    EXPECT_EQ(blocks.NameById(3), "\\C:note");
    EXPECT_EQ(blocks.LookUpLine(1)->attributes, 0x1F31);
    EXPECT_EQ(blocks.LookUpLine(1)->points, (std::vector<LinePoint>{{180, 60}, {260, 60}}));
    // Nothing is lost when it is written back.
    EXPECT_EQ(doc.StoreToBytes(), ReadBytes(path));
}

TEST_F(KstDocTest, HandBuiltOldFiles) {
    const fs::path old = CopyData("project_v100.kst");
    ASSERT_TRUE(doc.OnOpenDocument(old.string()));
    fs::create_directory(folder / "Old");
    WriteBytes(folder / "Old" / "TOP.vhd", "entity TOP is end;");
    doc.OnFirstUpdate();
    EXPECT_EQ(Structure(doc.Tree()), (std::vector<std::string>{"0Old/2/0", "1TOP/0/3", "2RAM/6/1"}));
    EXPECT_EQ(log.Text(),
              "Open project: Old\r\nThe project file version is old, please reanalyze all the objects.");
    EXPECT_EQ(doc.GetProperties().creatorUser, "alice");
    EXPECT_EQ(doc.GetProperties().accessLevel, AccessLevel::Any);

    CKSTDoc mid(prompts, otherLog);
    ASSERT_TRUE(mid.OnOpenDocument(CopyData("project_v104.kst").string()));
    mid.OnFirstUpdate();
    EXPECT_EQ(otherLog.Text(), "Open project: Mid");
    const CBlockData& blocks = *mid.Tree().GetRootItem()->FirstChild()->BlockData();
    EXPECT_EQ(blocks.NameById(6), "\\T:x");
    EXPECT_EQ(blocks.LookUpLine(0)->attributes, 0x0011);
    EXPECT_TRUE(blocks.LookUpLine(0)->points.empty());
    EXPECT_EQ(mid.Tree().GetRootItem()->FirstChild()->FirstChild()->Text(), "SUB");

    CKSTDoc locked(prompts, otherLog);
    EXPECT_FALSE(locked.OnOpenDocument(CopyData("project_locked.kst").string()));
    EXPECT_EQ(prompts.Messages().back().text, "Access permission denied!");
}

TEST(MessageLog, AppendsUnchangedAndShowsLineBreaks) {
    CMemoryLog log;
    log.AppendLog("\r\nNew module added.");
    log.AppendWarning("Cannot create new module.");
    log.AppendError("x");
    EXPECT_EQ(log.Text(), "\r\nNew module added.\r\nWARNING: Cannot create new module.\r\nERROR: x");
    EXPECT_EQ(LogTextForDisplay(log.Text()),
              "\nNew module added.\nWARNING: Cannot create new module.\nERROR: x");
    EXPECT_EQ(LogTextForDisplay("a\rb\r\n\r"), "a\rb\n\r");
    log.ClearLog();
    log.AppendLog("Open project: P");
    EXPECT_EQ(log.Text(), "Open project: P");
}

// Two windows (or a window and a script) on one project: a save never writes over what the
// other wrote since this one read the file, unless the user says so.
TEST_F(KstDocTest, ASaveNeverOverwritesWhatAnotherProgramSavedMeanwhile) {
    const fs::path path = folder / "shared.kst";
    ASSERT_TRUE(doc.OnNewDocument(path.string()));
    std::unique_ptr<CKSTDoc> other = Reopen(path);
    ASSERT_NE(other, nullptr);
    ASSERT_TRUE(other->SetAccessLevel(AccessLevel::SameUser));
    ASSERT_TRUE(other->DoFileSave());
    const std::string theirs = ReadBytes(path);
    EXPECT_EQ(doc.CheckProjectFileOnDisk(), ProjectFileOnDisk::Changed);

    EXPECT_FALSE(doc.DoFileSave());
    EXPECT_EQ(ReadBytes(path), theirs);
    ASSERT_FALSE(prompts.Messages().empty());
    EXPECT_NE(prompts.Messages().back().text.find("changed by another program"), std::string::npos);

    std::vector<StaleProjectChoice> answers{StaleProjectChoice::Cancel, StaleProjectChoice::ReloadTheirs,
                                            StaleProjectChoice::OverwriteWithMine};
    doc.SetStaleProjectHandler([&answers] {
        const StaleProjectChoice answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    });
    EXPECT_FALSE(doc.DoFileSave());
    EXPECT_FALSE(doc.TakeReloadWish());
    EXPECT_FALSE(doc.DoFileSave());
    EXPECT_TRUE(doc.TakeReloadWish());
    EXPECT_EQ(ReadBytes(path), theirs);
    EXPECT_TRUE(doc.DoFileSave());
    EXPECT_NE(ReadBytes(path), theirs);
    EXPECT_EQ(doc.CheckProjectFileOnDisk(), ProjectFileOnDisk::AsLastSeen);
}

// The sources' stamps live beside the project and are read back only with the project file
// they were written with.
TEST_F(KstDocTest, SourceStampsFollowTheProjectFileTheyWereSavedWith) {
    const fs::path path = folder / "stamped.kst";
    ASSERT_TRUE(doc.OnNewDocument(path.string()));
    const fs::path source = folder / "stamped" / "TOP.vhd";
    doc.SourceStamps().Set(source, FileStamp{7, 11, 13});
    ASSERT_TRUE(doc.DoFileSave());
    std::unique_ptr<CKSTDoc> again = Reopen(path);
    ASSERT_NE(again, nullptr);
    ASSERT_NE(again->SourceStamps().Find(source), nullptr);
    EXPECT_EQ(*again->SourceStamps().Find(source), (FileStamp{7, 11, 13}));

    // Another program writes the project file alone: its stamps no longer belong to it.
    const std::string stamps = ReadBytes(fs::path(path.string() + ".stamps"));
    ASSERT_TRUE(again->SetAccessLevel(AccessLevel::SameUser));
    ASSERT_TRUE(again->DoFileSave());
    WriteBytes(fs::path(path.string() + ".stamps"), stamps);
    std::unique_ptr<CKSTDoc> third = Reopen(path);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->SourceStamps().Find(source), nullptr);
}

TEST_F(KstDocTest, AProjectFileNobodyMayWriteIsSaidToBeReadOnlyAtOnce) {
    const fs::path path = folder / "p.kst";
    ASSERT_TRUE(doc.OnNewDocument(path.string()));
    doc.OnFirstUpdate();
    EXPECT_EQ(log.Text().find("WARNING"), std::string::npos) << log.Text();
    ASSERT_TRUE(doc.DoFileSave());
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    auto reopened = Reopen(path);
    ASSERT_NE(reopened, nullptr);
    reopened->OnFirstUpdate();
    EXPECT_TRUE(otherLog.Text().ends_with("\r\nWARNING: The project file " + path.string() +
                                          " is read-only: edits cannot be written."))
        << otherLog.Text();
}

TEST_F(KstDocTest, AReadOnlyProjectFolderIsSaidAtOnce) {
    ASSERT_TRUE(doc.OnNewDocument((folder / "p.kst").string()));
    doc.OnFirstUpdate();
    ASSERT_TRUE(doc.DoFileSave());
    fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(folder.Path().c_str(), W_OK) == 0)
        GTEST_SKIP() << "this user may write any folder";
    auto reopened = Reopen(folder / "p.kst");
    ASSERT_NE(reopened, nullptr);
    reopened->OnFirstUpdate();
    EXPECT_TRUE(otherLog.Text().ends_with("\r\nWARNING: The project folder " + folder.Path().string() +
                                          " is read-only: edits cannot be written."))
        << otherLog.Text();
}

} // namespace
} // namespace kestra
