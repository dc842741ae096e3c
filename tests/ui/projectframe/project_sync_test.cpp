#include "hierarchy/kst_tree_view.h"
#include "mainframe/main_frame.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "project/project_lock.h"
#include "project/recovery_copy.h"
#include "projectframe/project_frame.h"
#include "projectframe/project_sync.h"
#include "projectframe/project_watch.h"
#include "session/project_session.h"
#include "support/temp_folder.h"
#include "system/file_system.h"
#include "system/process_info.h"
#include "ui_fixture.h"

#include <QAction>
#include <QTest>
#include <functional>

namespace kestra {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

class ProjectSyncTest : public UiTest {
protected:
    fs::path Example(const std::string& name) {
        const fs::path folder = Folder() / name;
        fs::copy(KESTRA_EXAMPLES "/blinker", folder, fs::copy_options::recursive);
        return folder / "Blinker.kst";
    }
    // Runs the event loop until the condition holds (the watch reacts after the files settle).
    static bool WaitFor(const std::function<bool()>& condition) {
        for (int i = 0; i < 100 && !condition(); ++i)
            QTest::qWait(50);
        return condition();
    }
    // Another program (a script) adds a top-level module to the project file and saves it.
    void AnotherProgramAdds(const fs::path& project, const std::string& name) {
        CScriptedPrompts prompts;
        CMemoryLog log;
        CKSTDoc other(prompts, log);
        ASSERT_TRUE(other.OnOpenDocument(project.string()));
        other.OnFirstUpdate();
        ASSERT_NE(other.Tree().InsertItem(name, HierarchyKind::Normal, other.Tree().GetRootItem()), nullptr);
        other.SetModifiedFlag();
        ASSERT_TRUE(other.DoFileSave());
    }
    static int Count(const std::string& text, const std::string& part) {
        int count = 0;
        for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++count;
        return count;
    }
};

// A script changes the project and an editor a source while the window shows them: the window
// reads the project again (keeping the selection), analyses the source again, does not react
// to its own saves, and asks before it overwrites what another program saved.
TEST_F(ProjectSyncTest, TheWindowFollowsWhatAScriptAndAnEditorWrite) {
    const fs::path project = Example("shared");
    StartFrame({project.string()});
    C3SplitFrame* frame = m_frame->ActiveProject();
    ASSERT_NE(frame, nullptr);
    Select(frame, Find(frame, "DIVIDER"));

    AnotherProgramAdds(project, "EXTRA");
    ASSERT_TRUE(WaitFor([&] { return Find(frame, "EXTRA") != nullptr; })) << LogText(frame);
    ASSERT_NE(frame->Session().Selected(), nullptr);
    EXPECT_EQ(frame->Session().Selected()->Text(), "DIVIDER");
    EXPECT_EQ(Count(LogText(frame), "The project is read again"), 1);

    const fs::path divider = project.parent_path() / "Blinker" / "DIVIDER.vhd";
    std::string text = ReadBytes(divider);
    text.insert(text.find('\n', text.find("WIDTH: integer")) + 1, "\t\tPHASE : integer := 3;\r\n");
    WriteBytes(divider, text);
    const auto hasPhase = [&] {
        const CKSTObject* object = Find(frame, "DIVIDER")->Object();
        for (int i = 0; i < object->GetEntryCount(); ++i) {
            if (object->GetEntryName(i) == "PHASE")
                return true;
        }
        return false;
    };
    ASSERT_TRUE(WaitFor(hasPhase)) << LogText(frame);
    EXPECT_NE(LogText(frame).find("DIVIDER.vhd was changed by another program"), std::string::npos);

    // The window's own save is not taken for someone else's.
    ASSERT_TRUE(Trigger(m_frame->Actions().saveProject));
    QTest::qWait(3 * CProjectWatch::kSettleMilliseconds);
    EXPECT_EQ(Count(LogText(frame), "The project is read again"), 1) << LogText(frame);

    // With changes of its own the window asks; "keep mine" overwrites theirs, after asking.
    frame->Doc().SetModifiedFlag();
    m_prompts.QueueAnswer(PromptAnswer::No);
    AnotherProgramAdds(project, "THEIRS");
    ASSERT_TRUE(WaitFor([&] { return !frame->Doc().IsModified(); })) << LogText(frame);
    ASSERT_FALSE(m_prompts.Messages().empty());
    EXPECT_NE(m_prompts.Messages().back().text.find("changed by another program"), std::string::npos);
    EXPECT_EQ(Find(frame, "THEIRS"), nullptr);
    EXPECT_EQ(ReadBytes(project).find("THEIRS"), std::string::npos);

    // A project file replaced by garbage is not read into the window.
    WriteBytes(project, "not a project");
    ASSERT_TRUE(WaitFor([&] { return LogText(frame).find("does not open") != std::string::npos; }));
    EXPECT_NE(Find(frame, "EXTRA"), nullptr);
}

// A window that did not close normally left its unsaved changes beside the project: the next
// open offers them. A project another live window holds is opened only when the user says so.
TEST_F(ProjectSyncTest, UnsavedChangesComeBackAfterACrashAndALiveLockIsRespected) {
    const fs::path project = Example("crashed");
    StartFrame({project.string()});
    C3SplitFrame* frame = m_frame->ActiveProject();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(fs::exists(LockFilePath(project)));
    ASSERT_TRUE(frame->Doc().SetAccessLevel(AccessLevel::SameUser));
    frame->Doc().SetModifiedFlag();
    frame->Sync().WriteRecovery();
    ASSERT_TRUE(HasRecoveryCopy(project));
    const std::string unsaved = ReadBytes(RecoveryCopyPath(project));

    // The crash: the next start finds the project file as it was and the copy beside it.
    const fs::path copy = Example("after");
    WriteBytes(RecoveryCopyPath(copy), unsaved);
    fs::last_write_time(RecoveryCopyPath(copy), fs::last_write_time(copy) + std::chrono::minutes(1));
    m_prompts.QueueAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(m_frame->OpenProjectFile(copy.string()));
    C3SplitFrame* restored = m_frame->ActiveProject();
    ASSERT_NE(restored, frame);
    EXPECT_TRUE(restored->Doc().IsModified()) << LogText(restored);
    EXPECT_EQ(restored->Doc().GetProperties().accessLevel, AccessLevel::SameUser);

    // A lock of a live process (the system's first one) on this computer: the user declines.
    const fs::path held = Example("held");
    WriteBytes(LockFilePath(held),
               LockFileText(LockHolder{"carol", CurrentHostName(), 1, "2026-12-10T08:00:00"}));
    m_prompts.QueueAnswer(PromptAnswer::No);
    EXPECT_FALSE(m_frame->OpenProjectFile(held.string()));
    EXPECT_NE(m_prompts.Messages().back().text.find("carol"), std::string::npos);
    EXPECT_NE(ReadBytes(LockFilePath(held)).find("carol"), std::string::npos);
}

} // namespace
} // namespace kestra
