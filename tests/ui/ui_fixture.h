#pragma once

#include "desktop/desktop_shell.h"
#include "desktop/system_tree_clipboard.h"
#include "mainframe/main_frame.h"
#include "mainframe/ui_context.h"
#include "project/hierarchy_item.h"
#include "session/project_session.h"
#include "settings/qt_settings_store.h"
#include "support/scripted_prompts.h"
#include "tools/qt_tool_runner.h"

#include <QTemporaryDir>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class QAbstractItemModel;
class QAction;
class QWidget;

namespace kestra {

class C3SplitFrame;
class CKSTTreeView;

// The system clipboard holds data under the hierarchy's format.
bool ClipboardHasTreeFormat();

// A desktop that records what it was asked to open or start, instead of doing it.
class CRecordingShell : public CDesktopShell {
public:
    struct Started {
        QString program;
        QStringList arguments;
    };
    bool OpenDocument(const std::filesystem::path& path) override {
        opened.push_back(path);
        return succeed;
    }
    bool OpenAddress(const QString& address) override {
        addresses.push_back(address);
        return succeed;
    }
    bool StartProgram(const QString& program, const QStringList& arguments,
                      const std::filesystem::path&) override {
        started.push_back(Started{program, arguments});
        return succeed;
    }
    // False plays a desktop without an application for anything.
    bool succeed = true;
    std::vector<std::filesystem::path> opened;
    std::vector<QString> addresses;
    std::vector<Started> started;
};

// A main window over a scratch folder, the user's settings store (in the tests' own settings
// location, emptied first), scripted prompts and a recording desktop. Modal dialogs never
// run a loop: `dialogHandler` answers them.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh main window, shown and active, opening the command line's project if any.
    CMainFrame& StartFrame(const std::vector<std::string>& arguments = {});
    // Closes the main window as the user would (saving projects and layout) and drops it.
    bool CloseFrame();

    std::filesystem::path Folder() const { return m_folder; }
    // File New Project with the file dialog answered by the path.
    C3SplitFrame* NewProject(const std::string& fileName);
    // Checks every change of the model against the rules of Qt's item models.
    static void CheckModel(QAbstractItemModel* model);
    // The item whose text is exactly the name, in the project's hierarchy.
    static CHierarchyItem* Find(C3SplitFrame* project, const std::string& text);
    static CKSTTreeView& Tree(C3SplitFrame* project);
    static std::string LogText(C3SplitFrame* project);
    void Activate(C3SplitFrame* project);
    // Selects the item and gives the hierarchy the focus.
    void Select(C3SplitFrame* project, CHierarchyItem* item);
    // Adds a module below the selection with F1 and names it by typing into the name editor.
    CHierarchyItem* AddModule(C3SplitFrame* project, CHierarchyItem* parent, const QString& name);
    // Types into the open name editor and presses Enter; false when no editor was open.
    bool TypeName(C3SplitFrame* project, const QString& name);
    void Key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Runs an action as a menu would: only when it is enabled.
    bool Trigger(QAction* action);
    static void ProcessEvents();

    QTemporaryDir m_temp;
    std::filesystem::path m_folder;
    std::unique_ptr<CQtSettingsStore> m_settings;
    CScriptedPrompts m_prompts;
    CSystemTreeClipboard m_clipboard;
    COpenProjects m_projects{m_clipboard};
    CRecordingShell m_shell;
    CQtToolRunner m_tools;
    std::function<int(QDialog&)> dialogHandler;
    std::unique_ptr<UiContext> m_ui;
    std::unique_ptr<CMainFrame> m_frame;
};

} // namespace kestra
