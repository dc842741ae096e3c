#include "help/help_controller.h"

#include "help/help_window.h"
#include "hierarchy/hierarchy_icons.h"
#include "mainframe/main_actions.h"
#include "mainframe/ui_context.h"
#include "model/file_version.h"
#include "system/application_paths.h"
#include "system/file_system.h"
#include "system/user_prompts.h"

#include <QMainWindow>
#include <QMessageBox>

namespace kestra {

CHelpController::CHelpController(QMainWindow& window, const UiContext& ui, CMainActions& actions)
    : m_window(window), m_ui(ui) {
    m_rules.Add({
        {actions.userManual, [this] { OpenHelpFile(true); }},
        {actions.tutorial, [this] { OpenHelpFile(false); }},
        {actions.about, [this] { OnAbout(); }},
    });
}

// The documents are Markdown: shown in the application's own help window, they need no
// program of the desktop's that can show Markdown, and their links and pictures work there.
void CHelpController::OpenHelpFile(bool manual) {
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
        m_help = new CHelpWindow(&m_window);
    m_help->ShowDocument(file);
}

void CHelpController::OnAbout() {
    QMessageBox box(&m_window);
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
