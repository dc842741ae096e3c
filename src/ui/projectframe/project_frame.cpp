#include "projectframe/project_frame.h"

#include "desktop/desktop_shell.h"
#include "hierarchy/kst_tree_view.h"
#include "hierarchy/message_log_view.h"
#include "mainframe/ui_context.h"
#include "paramlist/kst_list_view.h"
#include "project/hierarchy_tree.h"
#include "project/kst_doc.h"
#include "projectframe/project_sync.h"
#include "session/project_session.h"
#include "strings/qt_text.h"
#include "system/application_paths.h"
#include "system/settings_store.h"
#include "tools/qt_tool_runner.h"
#include "tools/vhdl_checker.h"

#include <QApplication>
#include <QCloseEvent>
#include <QSplitter>
#include <QVBoxLayout>

namespace kestra {

namespace {

constexpr const char* kSplitterRowKey = "Splitter Row";
constexpr const char* kSplitterColumnKey = "Splitter Column";
constexpr const char* kListColumnKey = "List Column";

} // namespace

C3SplitFrame::C3SplitFrame(const UiContext& ui, QWidget* parent)
    : QWidget(parent), m_ui(ui), m_rows(new QSplitter(Qt::Vertical, this)),
      m_columns(new QSplitter(Qt::Horizontal, m_rows)), m_logView(new CKSTEditView(m_rows)),
      m_doc(std::make_unique<CKSTDoc>(ui.prompts, *m_logView)),
      m_session(std::make_unique<CProjectSession>(*m_doc, ui.projects, this)),
      m_listView(new CKSTListView(*m_doc, *m_session, ui, m_columns)),
      m_treeView(new CKSTTreeView(*m_doc, *m_session, *this, ui, m_columns)) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_columns->insertWidget(0, m_treeView);
    m_rows->setChildrenCollapsible(false);
    m_columns->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_rows);
    m_listView->SetItemColumnWidth(m_ui.settings.ReadSettingInt(kSettingsSection, kListColumnKey,
                                                                CKSTListView::kDefaultItemColumnWidth));
    m_doc->SetCommitEditorsHook([this] { CommitPanes(m_session->Selected()); });
    m_doc->SetModifiedListener([this](bool modified) {
        setWindowModified(modified);
        emit modifiedChanged();
    });
    connect(m_treeView, &CKSTTreeView::commandStateChanged, this, &C3SplitFrame::commandStateChanged);
    connect(m_listView, &CKSTListView::commandStateChanged, this, &C3SplitFrame::commandStateChanged);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != nullptr && (now == m_treeView || now == m_listView))
            m_activeView = now;
    });
    connect(m_logView, &CKSTEditView::previousPaneRequested, m_listView, [this] { m_listView->setFocus(); });
    m_checker = std::make_unique<CVhdlChecker>(ui, *m_session);
    m_sync = new CProjectSync(*this);
    connect(m_treeView, &CKSTTreeView::analysisDone, this,
            [this] { m_checker->CheckAfter(m_treeView->LastCompleted()); });
    connect(m_checker.get(), &CVhdlChecker::marksChanged, this, [this] {
        if (m_treeView == nullptr)
            return;
        // A module that failed is brought into view, even below a collapsed parent.
        const CHierarchyTree& tree = m_doc->Tree();
        for (CHierarchyItem* item = tree.GetRootItem(); item != nullptr; item = tree.NextItem(item)) {
            if (item->CheckFailed())
                m_treeView->ShowItem(item);
        }
        m_treeView->viewport()->update();
    });
    connect(m_logView, &CKSTEditView::sourceLineRequested, this, [this](const QString& file, int line) {
        m_ui.shell.EditSource(m_ui.settings, m_ui.prompts, PathFromQt(file), m_doc->GetProjectFolder(), line);
    });
    setFocusProxy(m_treeView);
    for (QSplitter* splitter : {m_rows, m_columns})
        connect(splitter, &QSplitter::splitterMoved, this, [this] { m_layoutSettling = false; });
}

C3SplitFrame::~C3SplitFrame() {
    m_closing = true;
    // It answers the document's questions and watches its files: it goes before the document.
    delete m_sync;
    m_sync = nullptr;
    m_doc->SetModifiedListener({});
    m_checker.reset();
    emit sessionEnding(m_session.get());
    // The panes hold references into the document: they go before it.
    disconnect(qApp, nullptr, this, nullptr);
    delete m_treeView;
    m_treeView = nullptr;
    delete m_listView;
    m_listView = nullptr;
    m_session.reset();
}

bool C3SplitFrame::NewProject() {
    const std::optional<std::string> path = m_doc->AskNewProjectPath();
    if (!path || !m_sync->Claim(*path))
        return false;
    if (!m_doc->OnNewDocument(*path)) {
        m_sync->Stopped();
        return false;
    }
    m_treeView->OnInitialUpdate();
    UpdateTitle();
    m_sync->Started();
    return true;
}

bool C3SplitFrame::OpenProject(const std::string& path) {
    if (!m_sync->Claim(path))
        return false;
    if (!m_doc->OnOpenDocument(path)) {
        m_sync->Stopped();
        return false;
    }
    m_sync->OfferRecovery();
    m_treeView->OnInitialUpdate();
    UpdateTitle();
    m_sync->Started();
    return true;
}

bool C3SplitFrame::Save() {
    return m_sync->Save();
}

void C3SplitFrame::SavedAs() {
    UpdateTitle();
    m_sync->Started();
}

void C3SplitFrame::LetGoOfItems() {
    m_checker->Stop();
    emit sessionEnding(m_session.get());
    m_listView->SetObject(nullptr, {});
    m_session->Select(nullptr);
}

void C3SplitFrame::UpdateTitle() {
    // The desktop's mark of unsaved changes stands where the placeholder is.
    setWindowTitle(PathToQt(m_doc->GetTitle()) + QStringLiteral("[*]"));
    setWindowModified(m_doc->IsModified());
}

QWidget* C3SplitFrame::ActiveView() const {
    return m_activeView != nullptr ? m_activeView : m_treeView;
}

CommandAnswer C3SplitFrame::Answer(EditCommand command) const {
    switch (command) {
    case EditCommand::Print:
        return CommandAnswer::Enabled;
    case EditCommand::Cut:
    case EditCommand::Copy:
    case EditCommand::Paste:
    case EditCommand::CopyView:
        return m_treeView->Answer(command);
    default:
        return CommandAnswer::NotMine;
    }
}

void C3SplitFrame::Run(EditCommand command) {
    m_treeView->Run(command);
}

Result<int> C3SplitFrame::PrintPages(QPrinter& printer) {
    if (ActiveView() == m_listView)
        return m_listView->Print(printer);
    return m_treeView->Print(printer);
}

void C3SplitFrame::SetPreviewing(bool previewing) {
    // Selection changes wait while the preview paints.
    m_treeView->SetBusy(previewing);
}

void C3SplitFrame::CommitPanes(CHierarchyItem* item) {
    if (m_listView != nullptr && item != nullptr && m_listView->Object() == item->Object())
        m_listView->SyncParameterList(false);
    if (item != nullptr)
        emit sharedPanesCommit(item);
}

void C3SplitFrame::ReloadPanes(CHierarchyItem* item, int panes) {
    if (item == nullptr || item != m_session->Selected() || m_treeView == nullptr || m_listView == nullptr ||
        m_treeView->IsBusy())
        return;
    if ((panes & kParameterList) != 0)
        m_listView->SetObject(item, m_doc->GetModuleFilePath(*item));
    if ((panes & (kSignalList | kBlockDiagram)) != 0)
        emit sharedPanesReload(m_session.get(), item, panes);
}

void C3SplitFrame::ShowStatus(const std::string& text) {
    emit statusMessage(MessageToQt(text));
}

void C3SplitFrame::ModuleInserted(CHierarchyItem* parent, CHierarchyItem* item) {
    emit moduleInserted(parent, item);
}

void C3SplitFrame::StartNameEditing(CHierarchyItem* item) {
    if (m_treeView != nullptr)
        m_treeView->StartNameEditing(item);
}

void C3SplitFrame::ShowItem(CHierarchyItem* item) {
    if (m_treeView != nullptr)
        m_treeView->ShowItem(item);
}

// A new window passes through several sizes while it is shown and maximised, and the splitters
// scale their panes on every resize: the stored sizes are applied again at each size until
// the user moves a splitter.
void C3SplitFrame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_layoutSettling)
        ApplyLayoutSettings();
}

void C3SplitFrame::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_layoutApplied)
        return;
    m_layoutApplied = true;
    m_layoutSettling = true;
    ApplyLayoutSettings();
}

void C3SplitFrame::ApplyLayoutSettings() {
    // The splitters fill the frame, but they may not have been laid out yet: measure the frame.
    const int total = height() - m_rows->handleWidth();
    const int upper = m_ui.settings.ReadSettingInt(kSettingsSection, kSplitterRowKey, total * 3 / 4);
    m_rows->setSizes({upper, std::max(total - upper, 1)});
    const int across = width() - m_columns->handleWidth();
    const int left = m_ui.settings.ReadSettingInt(kSettingsSection, kSplitterColumnKey, across / 2);
    m_columns->setSizes({left, std::max(across - left, 1)});
}

void C3SplitFrame::WriteLayoutSettings() {
    if (m_layoutApplied) {
        m_ui.settings.WriteSettingInt(kSettingsSection, kSplitterRowKey, m_rows->sizes().value(0));
        m_ui.settings.WriteSettingInt(kSettingsSection, kSplitterColumnKey, m_columns->sizes().value(0));
    }
    m_ui.settings.WriteSettingInt(kSettingsSection, kListColumnKey, m_listView->ItemColumnWidth());
}

void C3SplitFrame::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->accept();
        return;
    }
    if (m_doc->IsLoaded() && !m_sync->SaveBeforeClosing()) {
        event->ignore();
        return;
    }
    AskToStopTools(m_ui.tools, m_ui.prompts, &m_doc->Log());
    WriteLayoutSettings();
    m_closing = true;
    m_sync->Stopped();
    emit sessionEnding(m_session.get());
    emit closing(this);
    event->accept();
}

} // namespace kestra
