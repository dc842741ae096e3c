#include "support/project_fixture.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

std::vector<std::string> ItemTexts(const CKSTDoc& doc) {
    std::vector<std::string> texts;
    const CHierarchyTree& tree = doc.Tree();
    for (const CHierarchyItem* item = tree.GetRootItem(); item != nullptr; item = tree.NextItem(item))
        texts.push_back(item->Text());
    return texts;
}

class InterruptedSave : public ::testing::Test, protected test::ProjectFixture {
protected:
    std::unique_ptr<CKSTDoc> Open() {
        auto opened = std::make_unique<CKSTDoc>(prompts, log);
        opened->SetIdentity({"tester", "bench"});
        EXPECT_TRUE(opened->OnOpenDocument(project.string()));
        return opened;
    }

    fs::path project = folder / "project.kst";
};

// A save cut off after its temporary file was written but before the rename leaves that file
// beside the project, named as the safe write path names it; the project is the old one, opens
// and saves again. Every save here goes through the flush to the disk.
TEST_F(InterruptedSave, ASaveCutOffBeforeItsRenameLeavesTheOldProject) {
    const std::string rootText = Root()->Text();
    AddModule(Root(), "SAVED", "");
    ASSERT_TRUE(doc.DoFileSave());
    const std::string saved = ReadBytes(project);
    AddModule(Root(), "LOST", "");
    const std::string next = doc.StoreToBytes();
    const fs::path temporary = folder / ".project.kst.00c0ffee00c0ffee.tmp";
    WriteBytes(temporary, next.substr(0, next.size() / 2));

    std::unique_ptr<CKSTDoc> reopened = Open();
    EXPECT_EQ(ItemTexts(*reopened), (std::vector<std::string>{rootText, "SAVED"}));
    EXPECT_EQ(ReadBytes(project), saved);
    reopened->Tree().InsertItem("AFTER", HierarchyKind::Normal, reopened->Tree().GetRootItem());
    ASSERT_TRUE(reopened->DoFileSave());
    EXPECT_EQ(ItemTexts(*Open()), (std::vector<std::string>{rootText, "SAVED", "AFTER"}));
    // Only the cut-off save's file is left beside the project: every save removes its own.
    EXPECT_EQ(ListFiles(folder.Path()),
              (std::vector<std::string>{temporary.filename().string(), "project.kst"}));
}

} // namespace
} // namespace kestra
