#pragma once

#include "system/user_prompts.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace kestra {

// The core's questions and messages as modal Qt dialogs over the main window: message boxes
// with the core's titles, icons and buttons, and file and folder choosers. File choosers never
// ask about overwriting: the core asks its own question where one is due.
class CQtUserPrompts : public CUserPrompts {
public:
    explicit CQtUserPrompts(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }

    PromptAnswer ShowMessageBox(const std::string& title, const std::string& text, PromptIcon icon,
                                PromptButtons buttons, PromptAnswer defaultAnswer) override;
    PromptAnswer AskYesNoCancel(const std::string& title, const std::string& text,
                                const std::string& yesLabel, const std::string& noLabel) override;
    void Beep() override;
    std::optional<std::string> ChooseFile(const FileChoice& choice) override;
    std::optional<std::string> ChooseFolder(const FolderChoice& choice) override;

private:
    PromptAnswer Run(QMessageBox& box, PromptButtons buttons);

    QPointer<QWidget> m_parent;
};

// The name filter text of a file chooser: "KESTRA Files (*.kst);;All Files (*)".
QString FileFilterText(const FileChoice& choice);

} // namespace kestra
