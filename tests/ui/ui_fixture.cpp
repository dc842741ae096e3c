#include "ui_fixture.h"

#include "hierarchy/hierarchy_model.h"
#include "hierarchy/kst_tree_view.h"
#include "hierarchy/message_log_view.h"
#include "mainframe/application.h"
#include "paramlist/kst_list_view.h"
#include "project/kst_doc.h"
#include "projectframe/project_frame.h"
#include "signallist/signal_list_view.h"
#include "system/application_paths.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QSettings>
#include <QTest>

namespace kestra {

bool ClipboardHasTreeFormat() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data != nullptr && data->hasFormat(QString::fromLatin1(kTreeClipboardFormat));
}

void UiTest::SetUp() {
    ASSERT_TRUE(m_temp.isValid());
    m_folder = std::filesystem::path(m_temp.path().toStdString());
    QSettings(QStringLiteral("Orvalle Software"), QStringLiteral("KESTRA")).clear();
    m_settings = std::make_unique<CQtSettingsStore>();
    m_ui.reset(new UiContext{
        *m_settings, m_prompts, m_projects, m_shell, m_tools,
        InitialiseApplicationPaths(*m_settings, StartupFolders{m_folder, m_folder}),
        [this](QDialog& dialog) { return dialogHandler ? dialogHandler(dialog) : int(QDialog::Rejected); }});
}

void UiTest::TearDown() {
    m_frame.reset();
    ProcessEvents();
}

CMainFrame& UiTest::StartFrame(const std::vector<std::string>& arguments) {
    m_frame = StartMainFrame(*m_ui, arguments);
    if (m_frame) {
        CheckModel(m_frame->SignalList()->model());
        m_frame->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
    }
    return *m_frame;
}

bool UiTest::CloseFrame() {
    const bool closed = m_frame->close();
    if (closed)
        m_frame.reset();
    ProcessEvents();
    return closed;
}

void UiTest::ProcessEvents() {
    // Name edits and editor openings travel through queued calls that post further calls.
    for (int round = 0; round < 4; ++round) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

C3SplitFrame* UiTest::NewProject(const std::string& fileName) {
    m_prompts.QueueChoice((m_folder / fileName).string());
    if (!Trigger(m_frame->Actions().newProject))
        return nullptr;
    ProcessEvents();
    C3SplitFrame* project = m_frame->ActiveProject();
    if (project != nullptr) {
        CheckModel(project->TreeView()->model());
        CheckModel(project->ListView()->model());
    }
    return project;
}

void UiTest::CheckModel(QAbstractItemModel* model) {
    // The tester lives as long as the model and stops the run at the first broken rule.
    new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::Fatal, model);
}

CHierarchyItem* UiTest::Find(C3SplitFrame* project, const std::string& text) {
    const CHierarchyTree& tree = project->Doc().Tree();
    for (CHierarchyItem* item = tree.GetRootItem(); item != nullptr; item = tree.NextItem(item)) {
        if (item->Text() == text)
            return item;
    }
    return nullptr;
}

CKSTTreeView& UiTest::Tree(C3SplitFrame* project) {
    return *project->TreeView();
}

std::string UiTest::LogText(C3SplitFrame* project) {
    return project->LogView()->toPlainText().toStdString();
}

void UiTest::Activate(C3SplitFrame* project) {
    m_frame->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(project->parentWidget()));
    ProcessEvents();
}

void UiTest::Select(C3SplitFrame* project, CHierarchyItem* item) {
    Activate(project);
    CKSTTreeView& tree = Tree(project);
    tree.setFocus();
    tree.setCurrentIndex(tree.Model().IndexOf(item));
    ProcessEvents();
}

bool UiTest::TypeName(C3SplitFrame* project, const QString& name) {
    ProcessEvents();
    QLineEdit* editor = Tree(project).NameEditor();
    if (editor == nullptr || !editor->isVisible())
        return false;
    editor->selectAll();
    QTest::keyClicks(editor, name);
    QTest::keyClick(editor, Qt::Key_Return);
    ProcessEvents();
    return true;
}

CHierarchyItem* UiTest::AddModule(C3SplitFrame* project, CHierarchyItem* parent, const QString& name) {
    Select(project, parent);
    Key(&Tree(project), Qt::Key_F1);
    if (!TypeName(project, name))
        return nullptr;
    return Find(project, name.toStdString());
}

void UiTest::Key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers) {
    m_frame->UpdateActions();
    QTest::keyClick(widget, static_cast<Qt::Key>(key), modifiers);
    ProcessEvents();
}

bool UiTest::Trigger(QAction* action) {
    m_frame->UpdateActions();
    if (!action->isEnabled())
        return false;
    action->trigger();
    ProcessEvents();
    return true;
}

} // namespace kestra
