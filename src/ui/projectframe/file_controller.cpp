#include "projectframe/file_controller.h"

#include "mainframe/main_actions.h"
#include "mainframe/ui_context.h"
#include "project/example_project.h"
#include "project/kst_doc.h"
#include "projectframe/project_frame.h"
#include "projectframe/project_windows.h"
#include "projectframe/properties_dialog.h"
#include "strings/qt_text.h"
#include "system/file_system.h"
#include "system/user_prompts.h"

#include <QAction>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStandardPaths>
#include <QStatusBar>

namespace kestra {

CFileController::CFileController(QMainWindow& window, const UiContext& ui, CMainActions& actions,
                                 CProjectWindows& windows, std::function<void()> changed)
    : m_window(window), m_ui(ui), m_actions(actions), m_windows(windows), m_recentFiles(ui.settings),
      m_rules(std::move(changed)) {
    const CMainActions& a = actions;
    auto hasProject = [this] { return m_windows.Active() != nullptr; };
    m_rules.Add({
        {a.newProject, [this] { OnNewProject(); }},
        {a.openProject, [this] { OnOpenProject(); }},
        {a.closeProject, [this] { OnCloseProject(); }, hasProject},
        {a.saveProject,
         [this] {
             // A save that fails has shown the user why.
             if (C3SplitFrame* project = m_windows.Active())
                 static_cast<void>(project->Save());
         },
         hasProject},
        {a.saveProjectAs, [this] { OnSaveProjectAs(); }, hasProject},
        {a.properties, [this] { OnProperties(); }, hasProject},
        {a.openExample, [this] { OnOpenExample(); }},
    });
    for (int i = 0; i < a.recentFiles.size(); ++i)
        m_rules.Add({a.recentFiles[i], [this, i] { OnOpenRecentFile(i); }});
    UpdateRecentFileActions();
}

void CFileController::OnNewProject() {
    auto frame = std::make_unique<C3SplitFrame>(m_ui);
    if (!frame->NewProject())
        return;
    const std::string path = frame->Doc().GetPathName();
    m_windows.Add(std::move(frame));
    m_recentFiles.Add(path);
    UpdateRecentFileActions();
}

void CFileController::OnOpenProject() {
    const std::optional<std::string> path = m_ui.prompts.ChooseFile(ProjectFileChoice("Open", false));
    if (path)
        OpenProjectFile(*path);
}

bool CFileController::OpenProjectFile(const std::string& path) {
    const std::string absolute = AbsolutePath(path).string();
    if (C3SplitFrame* open = m_windows.OfFile(absolute)) {
        m_windows.Activate(open);
        return true;
    }
    auto frame = std::make_unique<C3SplitFrame>(m_ui);
    if (!frame->OpenProject(absolute))
        return false;
    const std::string opened = frame->Doc().GetPathName();
    m_windows.Add(std::move(frame));
    m_recentFiles.Add(opened);
    UpdateRecentFileActions();
    return true;
}

void CFileController::OnOpenRecentFile(int index) {
    const std::vector<std::string>& files = m_recentFiles.Files();
    if (index < 0 || index >= static_cast<int>(files.size()))
        return;
    const std::string path = files[static_cast<std::size_t>(index)];
    // A recent project that no longer opens leaves the list.
    if (!OpenProjectFile(path)) {
        m_recentFiles.Remove(path);
        UpdateRecentFileActions();
    }
}

// The installed example may be read-only and is shared by every user: a copy of it opens.
void CFileController::OnOpenExample() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const std::optional<std::string> parent =
        m_ui.prompts.ChooseFolder({"Copy the Example Project Into", "", PathFromQt(documents).string()});
    if (!parent)
        return;
    const Result<std::filesystem::path> copy = CopyExampleProject(ExampleProjectPath(m_ui.paths), *parent);
    if (!copy) {
        m_ui.prompts.ShowMessage(kDefaultPromptTitle, copy.Reason(), PromptIcon::Warning);
        return;
    }
    if (OpenProjectFile(copy->string()))
        m_window.statusBar()->showMessage(
            QStringLiteral("The example project was copied to %1").arg(PathToQt(copy->parent_path())));
}

void CFileController::OnSaveProjectAs() {
    C3SplitFrame* project = m_windows.Active();
    if (project == nullptr)
        return;
    CKSTDoc& doc = project->Doc();
    const std::optional<std::string> path = doc.AskSaveAsPath();
    if (path && doc.OnSaveDocument(*path)) {
        project->SavedAs();
        m_recentFiles.Add(doc.GetPathName());
        UpdateRecentFileActions();
    }
}

void CFileController::OnCloseProject() {
    QMdiArea& area = m_windows.Area();
    if (QMdiSubWindow* sub = area.activeSubWindow())
        sub->close();
    else if (QMdiSubWindow* current = area.currentSubWindow())
        current->close();
}

void CFileController::OnProperties() {
    C3SplitFrame* project = m_windows.Active();
    if (project == nullptr)
        return;
    CPropertiesDialog dialog(project->Doc().GetProperties(), &m_window);
    if (m_ui.ExecDialog(dialog) == QDialog::Accepted)
        project->Doc().SetAccessLevel(dialog.ChosenAccessLevel());
}

void CFileController::UpdateRecentFileActions() {
    const std::vector<std::string>& files = m_recentFiles.Files();
    for (int i = 0; i < m_actions.recentFiles.size(); ++i) {
        QAction* action = m_actions.recentFiles[i];
        const bool used = i < static_cast<int>(files.size());
        action->setVisible(used);
        if (used) {
            const QString path = PathToQt(files[static_cast<std::size_t>(i)]);
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
            action->setData(path);
            action->setStatusTip(QStringLiteral("Open %1").arg(path));
        }
    }
}

} // namespace kestra
