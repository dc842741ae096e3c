#include "library/library_bar.h"

#include "hierarchy/hierarchy_icons.h"
#include "library/library_files.h"
#include "library/library_roots.h"
#include "library/library_tree.h"
#include "strings/qt_text.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace kestra {

namespace fs = std::filesystem;

namespace {

// Rows light up under the mouse, so that it is plain what a click will do.
class CHoverDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (option.state.testFlag(QStyle::State_MouseOver) &&
            !option.state.testFlag(QStyle::State_Selected)) {
            QColor hover = option.palette.color(QPalette::Highlight);
            hover.setAlpha(48);
            painter->fillRect(option.rect, hover);
        }
        QStyledItemDelegate::paint(painter, option, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(size.height() + 6);
        return size;
    }
};

} // namespace

CLibraryEntryList::CLibraryEntryList(QWidget* parent) : QListWidget(parent) {
    setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_Hover);
    setItemDelegate(new CHoverDelegate(this));
    setIconSize(QSize(CHierarchyIcons::kImageSize, CHierarchyIcons::kImageSize));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setFrameShape(QFrame::NoFrame);
}

void CLibraryEntryList::mousePressEvent(QMouseEvent* event) {
    QListWidget::mousePressEvent(event);
    m_pressedRow = event->button() == Qt::LeftButton ? indexAt(event->position().toPoint()).row() : -1;
}

void CLibraryEntryList::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    const int row = indexAt(event->position().toPoint()).row();
    const int pressed = m_pressedRow;
    m_pressedRow = -1;
    if (event->button() == Qt::LeftButton && row >= 0 && row == pressed)
        emit entryClicked(row);
}

void CLibraryEntryList::mouseDoubleClickEvent(QMouseEvent* event) {
    // The first click has acted already.
    m_pressedRow = -1;
    event->accept();
}

void CLibraryEntryList::mouseMoveEvent(QMouseEvent* event) {
    QListWidget::mouseMoveEvent(event);
    const bool onEntry = indexAt(event->position().toPoint()).isValid();
    viewport()->setCursor(onEntry ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void CLibraryEntryList::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) &&
        currentRow() >= 0) {
        emit entryClicked(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}

CLibraryBar::CLibraryBar(std::function<std::optional<fs::path>()> rootFolder, QWidget* parent)
    : QWidget(parent), m_rootFolder(std::move(rootFolder)), m_location(new QLabel(this)),
      m_list(new CLibraryEntryList(this)), m_hint(new QLabel(this)) {
    setObjectName(QStringLiteral("LibraryBarPane"));
    m_location->setTextFormat(Qt::PlainText);
    m_location->setContentsMargins(6, 4, 6, 4);
    m_location->setBackgroundRole(QPalette::AlternateBase);
    m_location->setAutoFillBackground(true);
    QFont bold = m_location->font();
    bold.setBold(true);
    m_location->setFont(bold);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_location);
    layout->addWidget(m_list, 1);
    m_hint->setWordWrap(true);
    m_hint->setTextFormat(Qt::PlainText);
    m_hint->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_hint->setContentsMargins(8, 8, 8, 8);
    m_hint->setForegroundRole(QPalette::PlaceholderText);
    m_hint->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_hint, 1);
    m_hint->hide();
    connect(m_list, &CLibraryEntryList::entryClicked, this, &CLibraryBar::ActivateRow);
}

CLibraryBar::~CLibraryBar() = default;

void CLibraryBar::Rescan() {
    const std::optional<fs::path> root = m_rootFolder ? m_rootFolder() : std::nullopt;
    if (!root)
        m_folder.reset();
    else if (m_folder == nullptr || m_folder->RootFolder() != *root)
        m_folder = std::make_unique<CLibraryFolderList>(*root);
    else
        m_folder->Rescan();
    Fill();
}

void CLibraryBar::ActivateRow(int row) {
    if (m_folder == nullptr)
        return;
    const fs::path file = m_folder->Activate(row);
    if (!file.empty()) {
        emit moduleClicked(file);
        return;
    }
    Fill();
}

void CLibraryBar::Fill() {
    m_list->clear();
    const auto showHint = [this](const QString& hint) {
        m_hint->setText(hint);
        m_hint->setVisible(!hint.isEmpty());
        m_list->setVisible(hint.isEmpty());
    };
    if (m_folder == nullptr) {
        m_location->setText(QStringLiteral("No module library folder"));
        m_location->setToolTip({});
        showHint(QStringLiteral("The module library's folder cannot be made. Check \"Library path\" in the "
                                "settings."));
        return;
    }
    // An empty library says where it lives and how modules get there.
    showHint(m_folder->Entries().empty()
                 ? QStringLiteral("No modules yet in\n%1\n\nStore a module of a project here with Create "
                                  "Library Module (F11), or put its VHDL file into this folder.")
                       .arg(PathToQt(m_folder->CurrentFolder()))
                 : QString());
    // Where the bar stands: the library, then the folders down to the current one.
    const QString rootText = QString::fromLatin1(LibraryRootText(LibraryKind::Library));
    QStringList names{rootText};
    for (const std::string& name : m_folder->CurrentPath())
        names << PathToQt(name);
    m_location->setText(names.join(QStringLiteral(" \u203a ")));
    m_location->setToolTip(PathToQt(m_folder->CurrentFolder()));

    const fs::path folder = m_folder->CurrentFolder();
    for (const FolderEntry& entry : m_folder->Entries()) {
        auto* item = new QListWidgetItem(m_list);
        switch (entry.kind) {
        case FolderEntryKind::Up:
            item->setIcon(CHierarchyIcons::CommandIcon("folder-up"));
            item->setText(QStringLiteral("\u00ab ") + names.value(names.size() - 2));
            item->setToolTip(QStringLiteral("Up to ") + PathToQt(folder.parent_path()));
            break;
        case FolderEntryKind::Folder:
            item->setIcon(CHierarchyIcons::KindImage(kLibraryFolderImage, false));
            item->setText(PathToQt(entry.name));
            item->setToolTip(PathToQt(folder / entry.name));
            break;
        case FolderEntryKind::Module:
            item->setIcon(CHierarchyIcons::KindImage(kLibraryModuleImage, false));
            item->setText(PathToQt(entry.name));
            item->setToolTip(QStringLiteral("Insert into the project\n") +
                             PathToQt(ModuleFilePath(folder, entry.name)));
            break;
        }
    }
}

} // namespace kestra
