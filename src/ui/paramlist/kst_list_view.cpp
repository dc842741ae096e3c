#include "paramlist/kst_list_view.h"

#include "mainframe/ui_context.h"
#include "model/design_object.h"
#include "paramlist/parameter_delegate.h"
#include "paramlist/parameter_list_model.h"
#include "project/hierarchy_item.h"
#include "project/kst_doc.h"
#include "strings/qt_text.h"
#include "system/user_prompts.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <algorithm>

namespace kestra {

namespace {

// Below this view width the columns keep their minimums and the view scrolls.
constexpr int kNarrowRow = 2 * CKSTListView::kMinimumColumnWidth;

} // namespace

CKSTListView::CKSTListView(CKSTDoc& doc, CProjectSession& session, const UiContext& ui, QWidget* parent)
    : QTreeView(parent), m_doc(doc), m_session(session), m_parameters(session), m_ui(ui),
      m_model(new CParameterListModel(this)), m_delegate(new CParameterDelegate(this)) {
    setModel(m_model);
    setRootIsDecorated(false);
    setIndentation(0);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(m_delegate);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QHeaderView* columns = header();
    columns->setStretchLastSection(false);
    columns->setSectionsMovable(false);
    columns->setMinimumSectionSize(kMinimumColumnWidth);
    columns->setSectionResizeMode(0, QHeaderView::Interactive);
    // Only the divider after "Item" can be dragged.
    columns->setSectionResizeMode(1, QHeaderView::Fixed);
    setColumnWidth(0, kDefaultItemColumnWidth);
    setColumnWidth(1, kMinimumColumnWidth);
    connect(columns, &QHeaderView::sectionResized, this, &CKSTListView::OnSectionResized);
    connect(m_delegate, &CParameterDelegate::cellEdited, this, &CKSTListView::OnCellEdited);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &CKSTListView::commandStateChanged);
}

CKSTListView::~CKSTListView() = default;

CHierarchyItem* CKSTListView::Item() const {
    CHierarchyItem* item = m_session.Selected();
    return item != nullptr && item == m_item && item->Object() == m_object ? item : nullptr;
}

CKSTObject* CKSTListView::Object() const {
    return Item() != nullptr ? m_object : nullptr;
}

void CKSTListView::EndOpenEdit() {
    // The view leaves its editing state when the editor loses the focus, but the editor stays
    // open until the view releases it.
    if (QWidget* editor = Editor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void CKSTListView::SetObject(CHierarchyItem* item, const std::filesystem::path& sourcePath) {
    EndOpenEdit();
    m_item = item;
    m_object = item != nullptr ? item->Object() : nullptr;
    m_sourcePath = sourcePath;
    m_lastClicked = {-1, -1};
    SyncParameterList(true);
}

bool CKSTListView::SyncParameterList(bool toList) {
    if (toList) {
        EndOpenEdit();
        m_model->Reset(m_object);
        if (m_object != nullptr)
            SelectRow(0);
        ApplyColumnLayout();
        emit commandStateChanged();
        return true;
    }
    CKSTObject* object = Object();
    if (object == nullptr)
        return false;
    // A cell still being edited ends first, so that its text is not lost.
    EndOpenEdit();
    if (object->GetEntryKind(0) == EntryKind::Library)
        m_doc.SetLibraryName(object->GetEntryValue(0));
    return true;
}

int CKSTListView::FocusedRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void CKSTListView::SelectRow(int row) {
    const int rows = m_model->rowCount();
    if (rows == 0)
        return;
    const QModelIndex index = m_model->index(std::clamp(row, 0, rows - 1), 0);
    setCurrentIndex(index);
    scrollTo(index);
}

QWidget* CKSTListView::Editor() const {
    return m_delegate->Editor();
}

std::vector<ParameterRow> CKSTListView::Rows() const {
    std::vector<ParameterRow> rows;
    for (int i = 0; i < m_model->rowCount(); ++i) {
        rows.push_back(ParameterRow{
            static_cast<EntryKind>(m_model->index(i, 0).data(CParameterListModel::KindRole).toInt()),
            m_model->index(i, 0).data().toString(), m_model->index(i, 1).data().toString()});
    }
    return rows;
}

std::pair<int, int> CKSTListView::ColumnWidths(int viewWidth, int rowWidth, int itemWidth) {
    if (rowWidth <= kNarrowRow && viewWidth > kNarrowRow)
        return {kMinimumColumnWidth, viewWidth - kMinimumColumnWidth};
    const int item = std::clamp(itemWidth, kMinimumColumnWidth,
                                std::max(kMinimumColumnWidth, viewWidth - kMinimumColumnWidth));
    return {item, std::max(viewWidth - item, kMinimumColumnWidth)};
}

void CKSTListView::SetItemColumnWidth(int width) {
    m_settingWidths = true;
    m_itemWidth = std::max(width > 0 ? width : kDefaultItemColumnWidth, kMinimumColumnWidth);
    setColumnWidth(0, m_itemWidth);
    setColumnWidth(1, std::max(viewport()->width() - m_itemWidth, kMinimumColumnWidth));
    m_settingWidths = false;
}

void CKSTListView::ApplyColumnLayout() {
    if (m_settingWidths)
        return;
    m_settingWidths = true;
    const auto [item, parameter] =
        ColumnWidths(viewport()->width(), columnWidth(0) + columnWidth(1), m_itemWidth);
    setColumnWidth(0, item);
    setColumnWidth(1, parameter);
    m_settingWidths = false;
}

void CKSTListView::OnSectionResized(int section, int oldSize, int newSize) {
    if (m_settingWidths)
        return;
    // Widening "Item" is refused once "Parameter" is down to its minimum.
    if (section == 0 && newSize > oldSize && viewport()->width() - newSize < kMinimumColumnWidth &&
        columnWidth(1) <= kMinimumColumnWidth) {
        m_settingWidths = true;
        setColumnWidth(0, std::max(oldSize, kMinimumColumnWidth));
        m_settingWidths = false;
    }
    if (section != 0) {
        ApplyColumnLayout();
        return;
    }
    m_itemWidth = columnWidth(0);
    ApplyColumnLayout();
    m_itemWidth = columnWidth(0);
}

void CKSTListView::resizeEvent(QResizeEvent* event) {
    QTreeView::resizeEvent(event);
    ApplyColumnLayout();
}

void CKSTListView::keyPressEvent(QKeyEvent* event) {
    if (state() != QAbstractItemView::EditingState) {
        const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            (modifiers & (Qt::ControlModifier | Qt::AltModifier)) == 0) {
            OnInvoke();
            return;
        }
        // Space works on every row: a kind that has no forced edit acts as on Invoke.
        if (event->key() == Qt::Key_Space && modifiers == Qt::NoModifier) {
            OnForceEdit();
            return;
        }
    }
    QTreeView::keyPressEvent(event);
}

void CKSTListView::mousePressEvent(QMouseEvent* event) {
    QTreeView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    const std::pair<int, int> cell{index.row(), index.column()};
    if (cell == m_lastClicked && state() != QAbstractItemView::EditingState) {
        m_clickInvoked.start();
        Invoke(cell.first, cell.second, false);
    } else {
        m_clickInvoked.invalidate();
    }
    m_lastClicked = cell;
}

void CKSTListView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid())
        return;
    const std::pair<int, int> cell{index.row(), index.column()};
    // The click that began this double click invoked the cell already.
    if (cell == m_lastClicked && m_clickInvoked.isValid() &&
        m_clickInvoked.elapsed() <= QApplication::doubleClickInterval())
        return;
    m_lastClicked = cell;
    Invoke(index.row(), index.column(), false);
}

void CKSTListView::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse) {
        const QModelIndex row = indexAt(event->pos());
        if (row.isValid())
            setCurrentIndex(row);
        else if (currentIndex().isValid())
            selectionModel()->select(currentIndex(),
                                     QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        emit contextMenuRequested(event->globalPos());
    } else {
        emit contextMenuRequested(viewport()->mapToGlobal(viewport()->rect().center()));
    }
    event->accept();
}

bool CKSTListView::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QTreeView::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    if (!index.isValid()) {
        QToolTip::hideText();
        return true;
    }
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    if (m_delegate->IsTruncated(option, index))
        QToolTip::showText(help->globalPos(), index.data(Qt::DisplayRole).toString(), viewport(),
                           option.rect);
    else
        QToolTip::hideText();
    return true;
}

} // namespace kestra
