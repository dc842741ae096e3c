#include "desktop/qt_user_prompts.h"
#include "desktop/system_tree_clipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace kestra {
namespace {

// Answers the next message box that opens with the button, and records what it showed.
struct BoxAnswer {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

void AnswerNextBox(QMessageBox::StandardButton button, BoxAnswer& seen) {
    QTimer::singleShot(0, [button, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            // Nothing to answer: make sure no loop is left waiting.
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            return;
        }
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.defaultButton = box->standardButton(box->defaultButton());
        box->button(button)->click();
    });
}

TEST(QtUserPromptsTest, MessageBoxesShowTheCoreTextsAndReturnTheButton) {
    CQtUserPrompts prompts;
    BoxAnswer seen;
    AnswerNextBox(QMessageBox::No, seen);
    EXPECT_EQ(prompts.ShowMessageBox("ENQUIRY", "Confirm remove alu ?", PromptIcon::Question,
                                     PromptButtons::YesNo, PromptAnswer::No),
              PromptAnswer::No);
    EXPECT_EQ(seen.title, "ENQUIRY");
    EXPECT_EQ(seen.text, "Confirm remove alu ?");
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.defaultButton, QMessageBox::No);

    AnswerNextBox(QMessageBox::Ok, seen);
    prompts.ShowMessage("WARNING", "New module name in use, specify other name.", PromptIcon::Warning);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.text, "New module name in use, specify other name.");
}

// The prompt says what the folder is for; the desktop's own chooser could not show it.
TEST(QtUserPromptsTest, TheFolderChooserShowsItsPromptAndTitle) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QString title;
    bool qtDialog = false;
    QStringList shownLabels;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            return;
        }
        title = dialog->windowTitle();
        qtDialog = dialog->testOption(QFileDialog::DontUseNativeDialog);
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->isVisible())
                shownLabels << label->text();
        }
        dialog->reject();
    });
    CQtUserPrompts prompts;
    EXPECT_FALSE(
        prompts
            .ChooseFolder({"Select Destination Folder",
                           "Choose folder to save generated VHDL files:", folder.path().toStdString()})
            .has_value());
    EXPECT_EQ(title, "Select Destination Folder");
    EXPECT_TRUE(qtDialog);
    EXPECT_TRUE(shownLabels.contains(QStringLiteral("Choose folder to save generated VHDL files:")))
        << shownLabels.join(QStringLiteral(" | ")).toStdString();
}

TEST(QtUserPromptsTest, AFileChooserGivenAFolderStartsInIt) {
    QTemporaryDir temp;
    const QString folder = temp.path() + QStringLiteral("/project");
    ASSERT_TRUE(QDir().mkpath(folder));
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            shown = dialog->directory().absolutePath();
            dialog->reject();
        }
    });
    CQtUserPrompts prompts;
    FileChoice choice;
    choice.initialPath = folder.toStdString();
    EXPECT_FALSE(prompts.ChooseFile(choice));
    EXPECT_EQ(shown.toStdString(), folder.toStdString());
}

TEST(QtUserPromptsTest, FileFiltersTakeEveryFileForStarDotStar) {
    FileChoice choice;
    choice.filters = {{"KESTRA Files (*.kst)", "*.kst"}, {"All Files (*.*)", "*.*"}};
    EXPECT_EQ(FileFilterText(choice), "KESTRA Files (*.kst);;All Files (*)");
}

TEST(SystemTreeClipboardTest, HoldsThePaneOnlyWhileTheClipboardKeepsItsData) {
    CSystemTreeClipboard clipboard;
    clipboard.SetPane(0x01020304u);
    ASSERT_EQ(clipboard.Pane(), 0x01020304u);
    const QByteArray block = QApplication::clipboard()->mimeData()->data(QStringLiteral("KESTRA tree"));
    EXPECT_EQ(block, QByteArray("\x04\x03\x02\x01", 4));

    // Another program, or a text copy, replaces the data: the pane id is gone with it.
    QApplication::clipboard()->setText(QStringLiteral("other"));
    EXPECT_FALSE(clipboard.Pane().has_value());
    clipboard.SetPane(7);
    clipboard.Clear();
    EXPECT_FALSE(clipboard.Pane().has_value());
    const QMimeData* data = QApplication::clipboard()->mimeData();
    EXPECT_TRUE(data == nullptr || !data->hasFormat(QStringLiteral("KESTRA tree")));
}

} // namespace
} // namespace kestra
