// The main window's project file commands, printing and help.
#include "desktop/desktop_shell.h"
#include "desktop/qt_text.h"
#include "diagram/block_diagram_bar.h"
#include "hierarchy/hierarchy_icons.h"
#include "hierarchy/kst_tree_view.h"
#include "mainframe/help_window.h"
#include "mainframe/main_frame.h"
#include "mainframe/project_frame.h"
#include "mainframe/properties_dialog.h"
#include "mainframe/ui_context.h"
#include "model/file_version.h"
#include "paramlist/kst_list_view.h"
#include "project/kst_doc.h"
#include "signallist/signal_list_view.h"
#include "system/file_system.h"
#include "system/settings_store.h"
#include "system/user_prompts.h"

#include <QAction>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace kestra {

namespace {

FileChoice ProjectFileChoice(const char* title, bool forSaving) {
    FileChoice choice;
    choice.title = title;
    choice.filters = {{"KESTRA Files (*.kst)", "*.kst"}, {"All Files (*.*)", "*.*"}};
    choice.defaultExtension = "kst";
    choice.forSaving = forSaving;
    return choice;
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

} // namespace

void CMainFrame::OnNewProject() {
    auto frame = std::make_unique<C3SplitFrame>(m_ui);
    if (!frame->NewProject())
        return;
    const std::string path = frame->Doc().GetPathName();
    AddProjectFrame(std::move(frame));
    m_recentFiles.Add(path);
    UpdateRecentFileActions();
}

void CMainFrame::OnOpenProject() {
    const std::optional<std::string> path = m_ui.prompts.ChooseFile(ProjectFileChoice("Open", false));
    if (path)
        OpenProjectFile(*path);
}

bool CMainFrame::OpenProjectFile(const std::string& path) {
    const std::string absolute = AbsolutePath(path);
    for (C3SplitFrame* open : Projects()) {
        if (open->Doc().GetPathName() == absolute) {
            m_mdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(open->parentWidget()));
            return true;
        }
    }
    auto frame = std::make_unique<C3SplitFrame>(m_ui);
    if (!frame->OpenProject(absolute))
        return false;
    const std::string opened = frame->Doc().GetPathName();
    AddProjectFrame(std::move(frame));
    m_recentFiles.Add(opened);
    UpdateRecentFileActions();
    return true;
}

void CMainFrame::OnOpenRecentFile(int index) {
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

void CMainFrame::OnSaveProject() {
    // A save that fails has shown the user why.
    if (C3SplitFrame* project = ActiveProject())
        static_cast<void>(project->Doc().DoFileSave());
}

void CMainFrame::OnSaveProjectAs() {
    C3SplitFrame* project = ActiveProject();
    if (project == nullptr)
        return;
    CKSTDoc& doc = project->Doc();
    FileChoice choice = ProjectFileChoice("Save As", true);
    choice.initialPath = doc.GetPathName();
    std::optional<std::string> path;
    for (;;) {
        path = m_ui.prompts.ChooseFile(choice);
        if (!path)
            return;
        if (std::filesystem::path(*path).extension().empty())
            *path += ".kst";
        *path = AbsolutePath(*path);
        if (*path == doc.GetPathName() || !FileExists(*path) ||
            m_ui.prompts.AskYesNo("Save As", *path + " already exists.\nDo you want to replace it?",
                                  PromptIcon::Warning, false))
            break;
    }
    if (doc.OnSaveDocument(*path)) {
        project->UpdateTitle();
        m_recentFiles.Add(doc.GetPathName());
        UpdateRecentFileActions();
    }
}

void CMainFrame::OnCloseProject() {
    if (QMdiSubWindow* sub = m_mdiArea->activeSubWindow())
        sub->close();
    else if (QMdiSubWindow* current = m_mdiArea->currentSubWindow())
        current->close();
}

void CMainFrame::OnProperties() {
    C3SplitFrame* project = ActiveProject();
    if (project == nullptr)
        return;
    CPropertiesDialog dialog(project->Doc().GetProperties(), this);
    if (m_ui.ExecDialog(dialog) == QDialog::Accepted)
        project->Doc().SetAccessLevel(dialog.ChosenAccessLevel());
}

void CMainFrame::OnPrint() {
    C3SplitFrame* project = ActiveProject();
    const bool signalList = SignalListFocus();
    const bool diagram = DiagramFocus();
    if (project == nullptr && !signalList && !diagram)
        return;
    QPrinter printer;
    printer.setDocName(QStringLiteral("KESTRA"));
    QPrintDialog dialog(&printer, this);
    if (m_ui.ExecDialog(dialog) != QDialog::Accepted)
        return;
    if (diagram)
        m_diagramBar->Print(printer);
    else if (signalList)
        m_signalList->Print(printer);
    else if (project->ActiveView() == project->ListView())
        project->ListView()->Print(printer);
    else
        project->TreeView()->Print(printer);
}

void CMainFrame::OnPrintPreview() {
    if (DiagramFocus()) {
        QPrintPreviewDialog dialog(this);
        connect(&dialog, &QPrintPreviewDialog::paintRequested, m_diagramBar,
                [this](QPrinter* printer) { m_diagramBar->Print(*printer); });
        m_ui.ExecDialog(dialog);
        return;
    }
    if (SignalListFocus()) {
        m_signalList->CommitToSource();
        QPrintPreviewDialog dialog(this);
        connect(&dialog, &QPrintPreviewDialog::paintRequested, m_signalList,
                [this](QPrinter* printer) { m_signalList->Print(*printer); });
        m_ui.ExecDialog(dialog);
        return;
    }
    C3SplitFrame* project = ActiveProject();
    if (project == nullptr)
        return;
    CKSTTreeView* tree = project->TreeView();
    CKSTListView* list = project->ActiveView() == project->ListView() ? project->ListView() : nullptr;
    QPrintPreviewDialog dialog(this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, tree, [tree, list](QPrinter* printer) {
        if (list != nullptr)
            list->Print(*printer);
        else
            tree->Print(*printer);
    });
    tree->SetBusy(true);
    m_ui.ExecDialog(dialog);
    tree->SetBusy(false);
}

void CMainFrame::UpdateRecentFileActions() {
    const std::vector<std::string>& files = m_recentFiles.Files();
    for (int i = 0; i < m_actions.recentFiles.size(); ++i) {
        QAction* action = m_actions.recentFiles[i];
        const bool used = i < static_cast<int>(files.size());
        action->setVisible(used);
        if (used) {
            const QString path = PathToQt(files[static_cast<std::size_t>(i)]);
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
            action->setStatusTip(QStringLiteral("Open %1").arg(path));
        }
    }
}

// The documents are Markdown: shown in the application's own help window, they need no
// program of the desktop's that can show Markdown, and their links and pictures work there.
void CMainFrame::OpenHelpFile(bool manual) {
    const std::filesystem::path file = manual ? UserManualPath(m_ui.paths) : TutorialPath(m_ui.paths);
    if (!FileExists(file)) {
        m_ui.prompts.ShowMessage(
            kDefaultPromptTitle,
            "Cannot open " + file.string() +
                ".\nThe file does not exist: check \"Application path\" in the settings.",
            PromptIcon::Warning);
        return;
    }
    if (m_help == nullptr)
        m_help = new CHelpWindow(this);
    m_help->ShowDocument(file);
}

void CMainFrame::OnAbout() {
    QMessageBox box(this);
    box.setWindowTitle(QStringLiteral("About KESTRA"));
    box.setIconPixmap(CHierarchyIcons::CommandIcon("kestra").pixmap(48, 48));
    box.setText(QStringLiteral("<b>KESTRA</b> Version %1").arg(QString::fromLatin1(kProgramVersionText)));
    box.setInformativeText(QStringLiteral("Design entry for VHDL module hierarchies: analysis, parameters "
                                          "and synthesizable VHDL generation.\n\nBuilt with Qt %1.")
                               .arg(QString::fromLatin1(qVersion())));
    box.setStandardButtons(QMessageBox::Ok);
    m_ui.ExecDialog(box);
}

} // namespace kestra
