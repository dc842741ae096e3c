#include "desktop/qt_user_prompts.h"

#include "strings/qt_text.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace kestra {

namespace {

QMessageBox::Icon BoxIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::Warning:
        return QMessageBox::Warning;
    case PromptIcon::Error:
        return QMessageBox::Critical;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton BoxButton(PromptAnswer answer) {
    switch (answer) {
    case PromptAnswer::Ok:
        return QMessageBox::Ok;
    case PromptAnswer::Cancel:
        return QMessageBox::Cancel;
    case PromptAnswer::Yes:
        return QMessageBox::Yes;
    case PromptAnswer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButtons BoxButtons(PromptButtons buttons) {
    switch (buttons) {
    case PromptButtons::Ok:
        return QMessageBox::Ok;
    case PromptButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

} // namespace

QString FileFilterText(const FileChoice& choice) {
    QStringList filters;
    for (const FileFilter& filter : choice.filters) {
        // "*.*" means every file, with or without an extension.
        const QString pattern = filter.pattern == "*.*" ? QStringLiteral("*") : TextToQt(filter.pattern);
        QString label = TextToQt(filter.label);
        const qsizetype open = label.indexOf(QLatin1Char('('));
        if (open >= 0)
            label = label.left(open).trimmed();
        filters << QStringLiteral("%1 (%2)").arg(label, pattern);
    }
    return filters.join(QStringLiteral(";;"));
}

PromptAnswer CQtUserPrompts::ShowMessageBox(const std::string& title, const std::string& text,
                                            PromptIcon icon, PromptButtons buttons,
                                            PromptAnswer defaultAnswer) {
    QMessageBox box(BoxIcon(icon), MessageToQt(title), MessageToQt(text), BoxButtons(buttons), m_parent);
    box.setDefaultButton(BoxButton(defaultAnswer));
    return Run(box, buttons);
}

PromptAnswer CQtUserPrompts::AskYesNoCancel(const std::string& title, const std::string& text,
                                            const std::string& yesLabel, const std::string& noLabel) {
    QMessageBox box(QMessageBox::Warning, MessageToQt(title), MessageToQt(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_parent);
    box.button(QMessageBox::Yes)->setText(MessageToQt(yesLabel));
    box.button(QMessageBox::No)->setText(MessageToQt(noLabel));
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    return Run(box, PromptButtons::YesNoCancel);
}

PromptAnswer CQtUserPrompts::Run(QMessageBox& box, PromptButtons buttons) {
    switch (box.exec()) {
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    default:
        // Closed without a button: the box's way out.
        return buttons == PromptButtons::YesNo
                   ? PromptAnswer::No
                   : (buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Cancel);
    }
}

void CQtUserPrompts::Beep() {
    QApplication::beep();
}

std::optional<std::string> CQtUserPrompts::ChooseFile(const FileChoice& choice) {
    QFileDialog dialog(m_parent, MessageToQt(choice.title));
    dialog.setNameFilter(FileFilterText(choice));
    dialog.setAcceptMode(choice.forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(choice.forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!choice.defaultExtension.empty())
        dialog.setDefaultSuffix(TextToQt(choice.defaultExtension));
    // A folder is where the dialog starts: selected as a file, it would start in its parent.
    const QString initial = PathToQt(choice.initialPath);
    if (!initial.isEmpty() && QFileInfo(initial).isDir())
        dialog.setDirectory(initial);
    else if (!initial.isEmpty())
        dialog.selectFile(initial);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return PathFromQt(dialog.selectedFiles().front()).string();
}

std::optional<std::string> CQtUserPrompts::ChooseFolder(const FolderChoice& choice) {
    QFileDialog dialog(m_parent, MessageToQt(choice.title), PathToQt(choice.initialFolder));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (!choice.prompt.empty()) {
        // The desktop's own chooser has no place for a prompt; Qt's shows it in front of the
        // folder it looks in.
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        dialog.setLabelText(QFileDialog::LookIn, MessageToQt(choice.prompt));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return PathFromQt(dialog.selectedFiles().front()).string();
}

} // namespace kestra
