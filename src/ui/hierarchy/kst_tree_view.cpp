#include "hierarchy/kst_tree_view.h"

#include "desktop/desktop_shell.h"
#include "hierarchy/hierarchy_icons.h"
#include "hierarchy/hierarchy_model.h"
#include "mainframe/ui_context.h"
#include "print/hierarchy_printer.h"
#include "project/kst_doc.h"
#include "project/project_observer.h"
#include "session/tree_clipboard.h"
#include "strings/qt_text.h"
#include "text/word_reader.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>

namespace kestra {

namespace {

bool IsModule(const CHierarchyItem* item) {
    return item != nullptr && item->Kind() != HierarchyKind::Root;
}

} // namespace

QLineEdit* CNameEditDelegate::Editor() const {
    return m_editor.data();
}

QWidget* CNameEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                         const QModelIndex& index) const {
    auto* editor = new QLineEdit(parent);
    m_editedIndex = index;
    editor->setFrame(true);
    m_editor = editor;
    return editor;
}

void CNameEditDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* line = static_cast<QLineEdit*>(editor);
    if (!m_initialText.isNull()) {
        line->setText(m_initialText);
        m_initialText.clear();
        m_initialText = QString();
    } else {
        line->setText(index.data(Qt::EditRole).toString());
    }
    line->selectAll();
}

void CNameEditDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
    emit nameEdited(QPersistentModelIndex(index), static_cast<QLineEdit*>(editor)->text());
}

CKSTTreeView::CKSTTreeView(CKSTDoc& doc, CProjectSession& session, CProjectObserver& panes,
                           const UiContext& ui, QWidget* parent)
    : QTreeView(parent), m_doc(doc), m_session(session), m_modules(session), m_clipboard(session),
      m_analysis(session), m_generation(session), m_library(session), m_panes(panes), m_ui(ui),
      m_model(new CHierarchyModel(doc.Tree(), this)), m_delegate(new CNameEditDelegate(this)) {
    setModel(m_model);
    setItemDelegate(m_delegate);
    m_model->SetFileOf([this](const CHierarchyItem& item) {
        if (item.Kind() == HierarchyKind::Root)
            return m_doc.GetProjectFolder();
        return item.Status() == AnalysisStatus::New ? std::filesystem::path() : m_doc.GetModuleFilePath(item);
    });
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setIconSize(CHierarchyIcons::ItemIconSize());
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setExpandsOnDoubleClick(false);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    // Name edits end in the core once the editor has closed, never inside the editor's own
    // commit, so that message boxes and reopened editors do not meet a closing one.
    connect(m_delegate, &CNameEditDelegate::nameEdited, this, &CKSTTreeView::OnNameEdited,
            Qt::QueuedConnection);
    connect(m_model, &CHierarchyModel::itemAboutToBeRemoved, this, &CKSTTreeView::OnItemAboutToBeRemoved);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &CKSTTreeView::commandStateChanged);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &CKSTTreeView::commandStateChanged);
    connect(m_model, &QAbstractItemModel::rowsMoved, this, &CKSTTreeView::commandStateChanged);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &CKSTTreeView::commandStateChanged);
}

CKSTTreeView::~CKSTTreeView() {
    // The model goes first, while the tree it listens to still exists.
    setModel(nullptr);
    delete m_model;
}

void CKSTTreeView::OnInitialUpdate() {
    m_doc.OnFirstUpdate();
    CHierarchyItem* root = m_doc.Tree().GetRootItem();
    expand(m_model->IndexOf(root));
    SelectItem(root);
}

std::vector<std::string> CKSTTreeView::ExpandedPaths() const {
    std::vector<std::string> paths;
    const CHierarchyTree& tree = m_doc.Tree();
    for (CHierarchyItem* item = tree.GetRootItem(); item != nullptr; item = tree.NextItem(item)) {
        if (item->ChildCount() > 0 && isExpanded(m_model->IndexOf(item)))
            paths.push_back(CHierarchyTree::ItemPath(item));
    }
    return paths;
}

void CKSTTreeView::Restore(const std::vector<std::string>& expanded, const std::string& selected) {
    const CHierarchyTree& tree = m_doc.Tree();
    for (const std::string& path : expanded) {
        if (CHierarchyItem* item = path.empty() ? tree.GetRootItem() : tree.FindItemByPath(path))
            expand(m_model->IndexOf(item));
    }
    CHierarchyItem* item = selected.empty() ? nullptr : tree.FindItemByPath(selected);
    SelectItem(item != nullptr ? item : tree.GetRootItem());
}

void CKSTTreeView::SelectItem(CHierarchyItem* item) {
    if (item == nullptr)
        return;
    const QModelIndex index = m_model->IndexOf(item);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    ChangeSelection(item);
}

void CKSTTreeView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTreeView::currentChanged(current, previous);
    if (m_commandDepth == 0 && current.isValid())
        ChangeSelection(CHierarchyModel::ItemAt(current));
}

void CKSTTreeView::ChangeSelection(CHierarchyItem* item) {
    m_model->SetBoldItem(item);
    if (item == m_shown && m_session.Selected() == item)
        return;
    if (!m_busy && m_shown != nullptr && m_shown != item)
        m_panes.CommitPanes(m_shown);
    m_session.Select(item);
    if (!m_busy)
        m_panes.ReloadPanes(item);
    m_shown = item;
    emit commandStateChanged();
}

void CKSTTreeView::OnItemAboutToBeRemoved(CHierarchyItem* item) {
    if (m_shown != nullptr && (m_shown == item || item->IsAncestorOf(m_shown)))
        m_shown = nullptr;
}

template <typename Command>
void CKSTTreeView::RunCommand(Command command) {
    ++m_commandDepth;
    command();
    --m_commandDepth;
    SyncSelection();
    emit commandStateChanged();
}

void CKSTTreeView::SyncSelection() {
    CHierarchyItem* item = m_session.Selected();
    if (item == nullptr)
        item = m_doc.Tree().GetRootItem();
    if (item == nullptr)
        return;
    const QModelIndex index = m_model->IndexOf(item);
    if (currentIndex() != index) {
        ++m_commandDepth;
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        --m_commandDepth;
    }
    ChangeSelection(item);
}

void CKSTTreeView::StartNameEditing(CHierarchyItem* item) {
    const QPersistentModelIndex index(m_model->IndexOf(item));
    QString text;
    if (!m_retypeText.empty())
        text = TextToQt(m_retypeText);
    m_retypeText.clear();
    // The editor opens once the command that asked for it has finished.
    QTimer::singleShot(0, this, [this, index, text] {
        // One name at a time: a request while another editor is open is dropped.
        if (!index.isValid() || state() == QAbstractItemView::EditingState)
            return;
        scrollTo(index);
        m_delegate->SetInitialText(text);
        edit(index);
    });
}

void CKSTTreeView::ShowItem(CHierarchyItem* item) {
    const QModelIndex index = m_model->IndexOf(item);
    if (index.isValid())
        scrollTo(index);
}

void CKSTTreeView::OnNameEdited(const QPersistentModelIndex& index, const QString& text) {
    CHierarchyItem* item = CHierarchyModel::ItemAt(index);
    if (!index.isValid() || item == nullptr)
        return;
    const std::string name = TextFromQt(text);
    if (name == item->Text()) {
        OnNameEditingCancelled(index);
        return;
    }
    if (item->Kind() != HierarchyKind::Root && !IsUsableVhdlName(name))
        m_retypeText = name;
    RunCommand([&] { m_modules.EndNameEdit(item, name); });
    m_retypeText.clear();
}

void CKSTTreeView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const QPersistentModelIndex edited = m_delegate->EditedIndex();
    QTreeView::closeEditor(editor, hint);
    if (hint == QAbstractItemDelegate::RevertModelCache)
        OnNameEditingCancelled(edited);
}

void CKSTTreeView::OnNameEditingCancelled(const QPersistentModelIndex& index) {
    // The item goes once the editor has let go of it.
    QTimer::singleShot(0, this, [this, index] {
        CHierarchyItem* item = index.isValid() ? CHierarchyModel::ItemAt(index) : nullptr;
        if (item != nullptr && state() != QAbstractItemView::EditingState)
            RunCommand([&] { m_modules.OnNameEditingCancelled(item); });
    });
}

bool CKSTTreeView::CanAddModule() const {
    const CHierarchyItem* item = m_session.Selected();
    return item != nullptr && (item->Kind() == HierarchyKind::Normal || item->Kind() == HierarchyKind::Root);
}

bool CKSTTreeView::CanCutOrCopy() const {
    return IsModule(m_session.Selected());
}

bool CKSTTreeView::CanRename() const {
    const CHierarchyItem* item = m_session.Selected();
    return item != nullptr && item->Kind() != HierarchyKind::Predefined;
}

void CKSTTreeView::OnRename() {
    if (CanRename()) {
        setFocus();
        StartNameEditing(m_session.Selected());
    }
}

bool CKSTTreeView::CanRemove() const {
    return IsModule(m_session.Selected());
}

void CKSTTreeView::OnAddModule() {
    RunCommand([&] { m_modules.OnAddModule(); });
}

void CKSTTreeView::OnRemove() {
    RunCommand([&] { m_modules.OnRemove(); });
}

void CKSTTreeView::OnCut() {
    RunCommand([&] { m_clipboard.OnCut(); });
}

void CKSTTreeView::OnCopy() {
    RunCommand([&] { m_clipboard.OnCopy(); });
}

void CKSTTreeView::OnPaste() {
    const CProjectSession* source = m_session.Projects().ClipboardSource();
    RunCommand([&] { m_clipboard.OnPaste(); });
    // A cut from another project changed that project's tree and selection too.
    if (source != nullptr && source != &m_session)
        emit commandStateChanged();
}

void CKSTTreeView::OnMove(MoveCommand command) {
    RunCommand([&] { m_modules.OnMove(command); });
    ShowItem(m_session.Selected());
}

void CKSTTreeView::OnSetKind(HierarchyKind kind) {
    RunCommand([&] { m_modules.OnSetKind(kind); });
}

void CKSTTreeView::OnAnalyzeModule() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    RunCommand([&] { m_analysis.OnAnalyzeModule(); });
    m_completed = m_analysis.Completed();
    QApplication::restoreOverrideCursor();
    emit analysisDone();
}

void CKSTTreeView::OnInsertLibraryModule(LibraryInsertMode mode, const std::string& path,
                                         CLibraryChooser* chooser, bool selectNew) {
    CHierarchyItem* inserted = nullptr;
    RunCommand([&] {
        inserted = m_library.InsertLibraryModule(mode, path, chooser);
        if (inserted != nullptr && selectNew)
            m_session.Select(inserted);
    });
    if (inserted != nullptr)
        ShowItem(inserted);
}

void CKSTTreeView::OnCreateLibraryModule(bool predefined, CLibraryStore& store) {
    RunCommand([&] {
        if (predefined)
            m_library.OnCreatePredefinedModule(store);
        else
            m_library.OnCreateLibraryModule(store);
    });
}

void CKSTTreeView::OnImportDesign(const DesignImportPreview& preview) {
    CHierarchyItem* parent = m_session.Selected();
    bool imported = false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CImportCommands commands(m_session);
    RunCommand([&] { imported = commands.OnImportDesign(preview); });
    QApplication::restoreOverrideCursor();
    CHierarchyItem* selected = m_session.Selected();
    if (imported && selected != nullptr && selected != parent) {
        ShowItem(selected);
        expand(m_model->IndexOf(selected));
    }
    if (imported) {
        // The imported sources are checked as after Analyze Module.
        m_completed = commands.Completed();
        emit analysisDone();
    }
}

void CKSTTreeView::OnGenerate(bool individual) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    RunCommand([&] { m_generation.OnGenerate(individual); });
    m_completed = m_generation.Completed();
    QApplication::restoreOverrideCursor();
    emit analysisDone();
}

void CKSTTreeView::OnEditVhdl() {
    const CHierarchyItem* item = m_session.Selected();
    // The root item names the project, not a module: it has no source to edit.
    if (!IsModule(item))
        return;
    const std::filesystem::path source = m_doc.GetModuleFilePath(*item);
    if (!source.empty())
        m_ui.shell.EditSource(m_ui.settings, m_ui.prompts, source, m_doc.GetProjectFolder());
}

void CKSTTreeView::OnExpandAll() {
    setUpdatesEnabled(false);
    expandAll();
    setUpdatesEnabled(true);
    ShowItem(m_session.Selected());
}

void CKSTTreeView::OnCollapseAll() {
    SelectItem(m_doc.Tree().GetRootItem());
    setUpdatesEnabled(false);
    collapseAll();
    setUpdatesEnabled(true);
}

std::vector<HierarchyRow> CKSTTreeView::VisibleRows() const {
    std::vector<HierarchyRow> rows;
    for (QModelIndex index = m_model->index(0, 0); index.isValid(); index = indexBelow(index)) {
        const CHierarchyItem* item = CHierarchyModel::ItemAt(index);
        rows.push_back(HierarchyRow{item, CHierarchyTree::ItemDepth(item), item == m_model->BoldItem()});
    }
    return rows;
}

CommandAnswer CKSTTreeView::Answer(EditCommand command) const {
    switch (command) {
    case EditCommand::Cut:
    case EditCommand::Copy:
        return AnswerIf(CanCutOrCopy());
    case EditCommand::Paste:
        return AnswerIf(CanPaste());
    case EditCommand::Remove:
        return AnswerIf(CanRemove());
    case EditCommand::CopyView:
        return CommandAnswer::Enabled;
    default:
        return MoveOf(command) ? CommandAnswer::Enabled : CommandAnswer::NotMine;
    }
}

void CKSTTreeView::Run(EditCommand command) {
    if (const std::optional<MoveCommand> move = MoveOf(command)) {
        OnMove(*move);
        return;
    }
    switch (command) {
    case EditCommand::Cut:
        return OnCut();
    case EditCommand::Copy:
        return OnCopy();
    case EditCommand::Paste:
        return OnPaste();
    case EditCommand::Remove:
        return OnRemove();
    case EditCommand::CopyView:
        return OnCopyView();
    default:
        return;
    }
}

void CKSTTreeView::OnCopyView() {
    const CHierarchyPrinter printer(VisibleRows(), font());
    QApplication::clipboard()->setImage(printer.Picture().convertToFormat(
        QImage::Format_Mono, Qt::MonoOnly | Qt::ThresholdDither | Qt::AvoidDither));
}

Result<int> CKSTTreeView::Print(QPrinter& printer) {
    const CHierarchyPrinter hierarchy(VisibleRows(), font());
    return hierarchy.Print(printer, TextToQt(m_doc.GetTitle()) + QStringLiteral(" design hierarchy"));
}

bool CKSTTreeView::IsOnStatusImage(const QModelIndex& index, const QPoint& pos) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    m_delegate->InitOption(&option, index);
    const QRect decoration = style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, this);
    return pos.x() >= decoration.left() && pos.x() < decoration.left() + CHierarchyIcons::kStatusWidth;
}

void CKSTTreeView::keyPressEvent(QKeyEvent* event) {
    if (state() != QAbstractItemView::EditingState && (event->modifiers() & ~Qt::KeypadModifier) == 0) {
        if (event->key() == Qt::Key_Space) {
            OnRename();
            return;
        }
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            OnEditVhdl();
            return;
        }
    }
    QTreeView::keyPressEvent(event);
}

void CKSTTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid()) {
        if (!IsOnStatusImage(index, event->position().toPoint()))
            OnEditVhdl();
        return;
    }
    QTreeView::mouseDoubleClickEvent(event);
}

void CKSTTreeView::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard
                          ? viewport()->mapToGlobal(viewport()->rect().center())
                          : event->globalPos();
    emit contextMenuRequested(at);
}

// Dotted lines join every item to its parent and run on past it to later siblings, from the
// top-level items on; the expand buttons are drawn over them.
void CKSTTreeView::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const {
    const CHierarchyItem* item = CHierarchyModel::ItemAt(index);
    if (item != nullptr) {
        const int step = indentation();
        const int depth = CHierarchyTree::ItemDepth(item);
        const int middle = rect.top() + rect.height() / 2;
        auto lineX = [&](int level) { return rect.left() + level * step + step / 2; };
        painter->save();
        painter->setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DotLine));
        const bool hasNext = item->NextSibling() != nullptr;
        const bool hasPrevious = item->Parent() != nullptr || item->PrevSibling() != nullptr;
        painter->drawLine(lineX(depth), hasPrevious ? rect.top() : middle, lineX(depth),
                          hasNext ? rect.bottom() : middle);
        painter->drawLine(lineX(depth), middle, rect.left() + (depth + 1) * step, middle);
        int level = depth - 1;
        for (const CHierarchyItem* up = item->Parent(); up != nullptr; up = up->Parent(), --level) {
            if (up->NextSibling() != nullptr)
                painter->drawLine(lineX(level), rect.top(), lineX(level), rect.bottom());
        }
        painter->restore();
    }
    QTreeView::drawBranches(painter, rect, index);
}

bool CKSTTreeView::event(QEvent* event) {
    // The pane's command keys (Ctrl+C, Ctrl+Del, Ctrl+Home ...) belong to the window's
    // commands, not to the view's own key handling.
    if (event->type() == QEvent::ShortcutOverride) {
        event->ignore();
        return true;
    }
    return QTreeView::event(event);
}

} // namespace kestra
