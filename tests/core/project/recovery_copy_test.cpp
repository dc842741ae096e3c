#include "project/recovery_copy.h"
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

class RecoveryCopyTest : public ::testing::Test, protected test::ProjectFixture {
protected:
    RecoveryCopyTest() {
        EXPECT_TRUE(doc.DoFileSave());
        rootText = Root()->Text();
    }

    // The project as its file holds it, opened as a window opens it.
    std::unique_ptr<CKSTDoc> Open() {
        auto opened = std::make_unique<CKSTDoc>(prompts, log);
        opened->SetIdentity({"tester", "bench"});
        EXPECT_TRUE(opened->OnOpenDocument(project.string()));
        return opened;
    }
    // Puts the project file's time ten seconds before the copy's.
    void MakeProjectOlder() {
        const std::uint64_t copyTime = GetLastWriteTime(RecoveryCopyPath(project)).value_or(0);
        ASSERT_TRUE(SetLastWriteTime(project, copyTime - 100000000ull));
    }

    fs::path project = folder / "project.kst";
    std::string rootText;
};

TEST_F(RecoveryCopyTest, UnsavedChangesComeBackFromTheCopyUntilTheProjectIsSaved) {
    AddModule(Root(), "UNSAVED", "");
    doc.SetModifiedFlag(true);
    ASSERT_TRUE(WriteRecoveryCopy(doc));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), project.string());
    EXPECT_EQ(RecoveryCopyPath(project), folder / "project.kst.recovery");
    MakeProjectOlder();
    EXPECT_TRUE(HasRecoveryCopy(project));

    std::unique_ptr<CKSTDoc> reopened = Open();
    EXPECT_EQ(ItemTexts(*reopened), std::vector<std::string>{rootText});
    ASSERT_TRUE(RestoreRecoveryCopy(*reopened));
    EXPECT_EQ(ItemTexts(*reopened), (std::vector<std::string>{rootText, "UNSAVED"}));
    EXPECT_TRUE(reopened->IsModified());
    EXPECT_EQ(reopened->GetPathName(), project.string());
    EXPECT_EQ(reopened->GetProjectFolder(), folder.Path());

    ASSERT_TRUE(reopened->DoFileSave());
    EXPECT_FALSE(fs::exists(RecoveryCopyPath(project)));
    EXPECT_FALSE(HasRecoveryCopy(project));
    EXPECT_EQ(ItemTexts(*Open()), (std::vector<std::string>{rootText, "UNSAVED"}));
}

TEST_F(RecoveryCopyTest, ACopyOlderThanTheProjectIsNotOffered) {
    ASSERT_TRUE(WriteRecoveryCopy(doc));
    const std::uint64_t projectTime = GetLastWriteTime(project).value_or(0);
    ASSERT_TRUE(SetLastWriteTime(RecoveryCopyPath(project), projectTime - 100000000ull));
    EXPECT_FALSE(HasRecoveryCopy(project));
    // Without its project file the copy is all there is.
    ASSERT_TRUE(DeleteFileAt(project));
    EXPECT_TRUE(HasRecoveryCopy(project));
}

TEST_F(RecoveryCopyTest, ADamagedCopyLeavesTheOpenProjectAsItWas) {
    AddModule(Root(), "UNSAVED", "");
    const std::string whole = doc.StoreToBytes();
    std::unique_ptr<CKSTDoc> reopened = Open();
    prompts.ClearRecord();
    for (const std::string& damaged : {whole.substr(0, whole.size() / 2), std::string("not a project")}) {
        WriteBytes(RecoveryCopyPath(project), damaged);
        EXPECT_FALSE(RestoreRecoveryCopy(*reopened));
        EXPECT_EQ(ItemTexts(*reopened), std::vector<std::string>{rootText});
        EXPECT_EQ(reopened->GetPathName(), project.string());
        EXPECT_FALSE(reopened->IsModified());
        EXPECT_TRUE(reopened->IsLoaded());
    }
    EXPECT_TRUE(prompts.Messages().empty()) << prompts.Messages().front().text;
    ASSERT_TRUE(DeleteFileAt(RecoveryCopyPath(project)));
    EXPECT_FALSE(RestoreRecoveryCopy(*reopened));
}

} // namespace
} // namespace kestra
