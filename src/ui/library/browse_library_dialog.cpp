#include "library/browse_library_dialog.h"

#include "library/library_tree_model.h"
#include "mainframe/ui_context.h"
#include "model/design_object.h"
#include "operations/library_module_reader.h"
#include "paramlist/parameter_icons.h"
#include "strings/qt_text.h"
#include "system/user_prompts.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace kestra {

namespace fs = std::filesystem;

namespace {

// The entry list's columns share a list of at least this width, each keeping half of it.
constexpr int kSharedListWidth = 300;
constexpr int kMinimumColumnWidth = kSharedListWidth / 2;

} // namespace

CBrowseLibraryDialog::CBrowseLibraryDialog(fs::path rootFolder, LibraryKind kind, CUserPrompts& prompts,
                                           QWidget* parent)
    : QDialog(parent), m_browser(std::move(rootFolder), kind, prompts), m_prompts(prompts), m_kind(kind),
      m_model(new CLibraryTreeModel(m_browser.Tree(), this)), m_treeView(new QTreeView(this)),
      m_entries(new QTreeWidget(this)), m_editLabel(new QLabel(this)), m_edit(new QLineEdit(this)),
      m_create(new QPushButton(QStringLiteral("&Create"), this)),
      m_remove(new QPushButton(QStringLiteral("&Remove"), this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    m_browser.SetCompanionReader(LibraryCompanionReader(kind));
    setObjectName(QStringLiteral("BrowseLibraryDialog"));
    setWindowTitle(QString::fromLatin1(kBrowseLibraryTitle));
    SetUpViews();
    LayOut();
    ConnectViews();
}

void CBrowseLibraryDialog::SetUpViews() {
    m_treeView->setModel(m_model);
    m_treeView->setHeaderHidden(true);
    m_treeView->setRootIsDecorated(true);
    m_treeView->setUniformRowHeights(true);
    m_treeView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_treeView->setDragDropMode(QAbstractItemView::InternalMove);
    m_treeView->setDefaultDropAction(Qt::MoveAction);
    m_treeView->setDropIndicatorShown(true);
    // Dragging near the top or bottom edge scrolls the tree on the view's own timer.
    m_treeView->setAutoScroll(true);
    m_treeView->setAutoScrollMargin(24);
    m_treeView->setExpandsOnDoubleClick(true);

    m_entries->setColumnCount(2);
    m_entries->setHeaderLabels({QStringLiteral("Item"), QStringLiteral("Parameter")});
    m_entries->setRootIsDecorated(false);
    m_entries->setUniformRowHeights(true);
    m_entries->setSelectionMode(QAbstractItemView::SingleSelection);
    m_entries->setIconSize(QSize(CParameterIcons::kWidth, CParameterIcons::kHeight));
    m_entries->header()->setStretchLastSection(true);
    m_entries->header()->setSectionsMovable(false);
    m_entries->header()->resizeSection(0, kMinimumColumnWidth);
    m_entries->installEventFilter(this);
}

void CBrowseLibraryDialog::LayOut() {
    auto* panes = new QSplitter(Qt::Horizontal, this);
    panes->addWidget(m_treeView);
    panes->addWidget(m_entries);
    panes->setChildrenCollapsible(false);
    panes->setSizes({280, 340});

    m_editLabel->setBuddy(m_edit);
    m_edit->installEventFilter(this);
    m_create->setAutoDefault(false);
    m_remove->setAutoDefault(false);
    auto* editRow = new QHBoxLayout;
    editRow->addWidget(m_editLabel);
    editRow->addWidget(m_edit, 1);
    editRow->addWidget(m_create);
    editRow->addWidget(m_remove);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panes, 1);
    layout->addLayout(editRow);
    layout->addWidget(m_buttons);
    resize(660, 440);
}

void CBrowseLibraryDialog::ConnectViews() {
    connect(m_treeView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CBrowseLibraryDialog::OnCurrentChanged);
    connect(m_treeView, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        m_browser.Tree().SetExpanded(CLibraryTreeModel::ItemAt(index), true);
    });
    connect(m_treeView, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        m_browser.Tree().SetExpanded(CLibraryTreeModel::ItemAt(index), false);
    });
    connect(m_treeView, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        const CLibraryItem* item = CLibraryTreeModel::ItemAt(index);
        if (item != nullptr && item->IsModule())
            accept();
    });
    // The move rebuilds the view, which must not happen inside the view's own drop handling.
    connect(m_model, &CLibraryTreeModel::moduleDropped, this,
            [this](CLibraryItem* module, CLibraryItem* target) {
                QMetaObject::invokeMethod(
                    this, [this, module, target] { DropModule(module, target); }, Qt::QueuedConnection);
            });
    connect(m_create, &QPushButton::clicked, this, &CBrowseLibraryDialog::OnCreate);
    connect(m_remove, &QPushButton::clicked, this, &CBrowseLibraryDialog::OnRemove);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CBrowseLibraryDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CBrowseLibraryDialog::reject);
}

CBrowseLibraryDialog::~CBrowseLibraryDialog() = default;

void CBrowseLibraryDialog::SetStoreFile(fs::path file, std::vector<std::string> companions) {
    m_browser.SetStoreFile(std::move(file), std::move(companions));
}

void CBrowseLibraryDialog::LoadLibrary() {
    m_browser.Open();
    ApplyMode();
    ReloadTree();
    if (m_browser.Mode() == BrowseMode::Store)
        FillEntries(m_browser.StoreFile());
}

void CBrowseLibraryDialog::ApplyMode() {
    setWindowTitle(QString::fromLatin1(m_browser.Title()));
    m_editLabel->setText(QString::fromLatin1(m_browser.EditLabel()));
    m_edit->setReadOnly(m_browser.EditReadOnly());
    m_edit->setText(PathToQt(m_browser.InitialEditText()));
    // While a module waits to be stored, Enter stores it; OK alone would store nothing.
    const bool storing = m_browser.Mode() == BrowseMode::Store;
    m_create->setDefault(storing);
    m_buttons->button(QDialogButtonBox::Ok)->setDefault(!storing);
}

void CBrowseLibraryDialog::ReloadTree() {
    const int scroll = m_treeView->verticalScrollBar()->value();
    m_syncing = true;
    m_model->Reload();
    CLibraryTree& tree = m_browser.Tree();
    m_treeView->expand(m_model->IndexOf(tree.Root()));
    for (const CLibraryItem* item = tree.NextItem(tree.Root()); item != nullptr; item = tree.NextItem(item)) {
        if (item->IsFolder() && item->IsExpanded())
            m_treeView->expand(m_model->IndexOf(item));
    }
    ShowSelection();
    m_syncing = false;
    m_treeView->verticalScrollBar()->setValue(scroll);
    if (m_treeView->currentIndex().isValid())
        m_treeView->scrollTo(m_treeView->currentIndex());
    OnCurrentChanged();
}

void CBrowseLibraryDialog::ShowSelection() {
    const QModelIndex index = m_model->IndexOf(m_browser.Tree().Selected());
    if (index.isValid())
        m_treeView->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    else
        m_treeView->selectionModel()->clear();
}

void CBrowseLibraryDialog::SelectItem(CLibraryItem* item) {
    m_browser.Tree().Select(item);
    m_syncing = true;
    for (const CLibraryItem* folder = item != nullptr ? item->Parent() : nullptr; folder != nullptr;
         folder = folder->Parent())
        m_treeView->expand(m_model->IndexOf(folder));
    ShowSelection();
    m_syncing = false;
    if (m_treeView->currentIndex().isValid())
        m_treeView->scrollTo(m_treeView->currentIndex());
    OnCurrentChanged();
}

void CBrowseLibraryDialog::OnCurrentChanged() {
    if (m_syncing)
        return;
    CLibraryItem* item = CLibraryTreeModel::ItemAt(m_treeView->currentIndex());
    if (item != m_browser.Tree().Selected())
        m_browser.Tree().Select(item);
    // In store mode the list keeps the stored module's entries.
    if (m_browser.Mode() == BrowseMode::Choose)
        FillEntries(item != nullptr && item->IsModule() ? m_browser.Tree().FullPath(item) : fs::path());
}

void CBrowseLibraryDialog::FillEntries(const fs::path& moduleFile) {
    m_entries->clear();
    CKSTObject object;
    if (moduleFile.empty() || !ReadLibraryModule(moduleFile, m_kind, object))
        return;
    QList<QTreeWidgetItem*> rows;
    for (int i = 0; i < object.GetEntryCount(); ++i) {
        auto* row =
            new QTreeWidgetItem({TextToQt(object.GetEntryName(i)), TextToQt(object.GetEntryValue(i))});
        row->setIcon(0, CParameterIcons::KindImage(object.GetEntryKind(i)));
        rows << row;
    }
    m_entries->addTopLevelItems(rows);
}

void CBrowseLibraryDialog::FitEntryColumns() {
    const int width = m_entries->viewport()->width();
    if (width < kSharedListWidth)
        return;
    QHeaderView* header = m_entries->header();
    header->resizeSection(
        0, std::clamp(header->sectionSize(0), kMinimumColumnWidth, width - kMinimumColumnWidth));
}

bool CBrowseLibraryDialog::Report(const LibraryActionResult& result) {
    if (result.Failed())
        m_prompts.ShowMessage(kDefaultPromptTitle, result.errorText, PromptIcon::Error);
    return result.Done();
}

void CBrowseLibraryDialog::OnCreate() {
    if (!Report(m_browser.Create(PathFromQt(m_edit->text()).string())))
        return;
    // A stored module switches the dialog to choose mode.
    ApplyMode();
    ReloadTree();
}

void CBrowseLibraryDialog::OnRemove() {
    const CLibraryItem* selected = m_browser.Tree().Selected();
    CLibraryItem* parent = selected != nullptr ? selected->Parent() : nullptr;
    if (!Report(m_browser.Remove()))
        return;
    m_browser.Tree().Select(parent);
    ReloadTree();
}

void CBrowseLibraryDialog::DropModule(CLibraryItem* module, CLibraryItem* target) {
    if (Report(m_browser.Drop(module, target)))
        ReloadTree();
}

void CBrowseLibraryDialog::Close(bool ok) {
    m_browser.Tree().SetTopItem(CLibraryTreeModel::ItemAt(m_treeView->indexAt(QPoint(1, 1))));
    CLibraryBrowser::Closing closing = m_browser.Close(ok);
    m_chosenFile = std::move(closing.chosenFile);
    if (!closing.orgWritten)
        m_prompts.ShowMessage(kDefaultPromptTitle, closing.orgWritten.Reason(), PromptIcon::Error);
}

void CBrowseLibraryDialog::accept() {
    Close(true);
    QDialog::accept();
}

void CBrowseLibraryDialog::reject() {
    Close(false);
    QDialog::reject();
}

void CBrowseLibraryDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_scrolled)
        return;
    m_scrolled = true;
    // The first visible item is restored once the tree has its size.
    const QModelIndex top = m_model->IndexOf(m_browser.Tree().TopItem());
    if (top.isValid())
        m_treeView->scrollTo(top, QAbstractItemView::PositionAtTop);
    FitEntryColumns();
}

bool CBrowseLibraryDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_entries && event->type() == QEvent::Resize)
        FitEntryColumns();
    // Enter in a filled folder name creates the folder instead of closing the dialog.
    if (watched == m_edit && event->type() == QEvent::KeyPress && !m_edit->isReadOnly() &&
        !m_edit->text().isEmpty()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OnCreate();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

std::optional<fs::path> OpenLibraryFolder(const UiContext& ui, LibraryKind kind) {
    LibraryRootFolder root = OpenLibraryRoot(ui.settings, kind, ui.paths.userDataFolder);
    if (!root.created) {
        ui.prompts.ShowMessage(kDefaultPromptTitle, root.created.Reason(), PromptIcon::Error);
        return std::nullopt;
    }
    return std::move(root.path);
}

std::optional<fs::path> CDialogLibraryChooser::ChooseModule(LibraryKind kind) {
    const std::optional<fs::path> root = OpenLibraryFolder(m_ui, kind);
    if (!root)
        return std::nullopt;
    CBrowseLibraryDialog dialog(*root, kind, m_ui.prompts, m_parent);
    dialog.LoadLibrary();
    if (m_ui.ExecDialog(dialog) != QDialog::Accepted || dialog.ChosenFile().empty())
        return std::nullopt;
    return dialog.ChosenFile();
}

bool CDialogLibraryStore::StoreModule(const fs::path& moduleFile, LibraryKind kind,
                                      const std::vector<std::string>& companions) {
    const std::optional<fs::path> root = OpenLibraryFolder(m_ui, kind);
    if (!root)
        return false;
    CBrowseLibraryDialog dialog(*root, kind, m_ui.prompts, m_parent);
    dialog.SetStoreFile(moduleFile, companions);
    dialog.LoadLibrary();
    m_ui.ExecDialog(dialog);
    return dialog.Browser().Stored();
}

} // namespace kestra
