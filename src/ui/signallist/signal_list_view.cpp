#include "signallist/signal_list_view.h"

#include "print/signal_list_printer.h"
#include "project/hierarchy_item.h"
#include "signallist/signal_list_model.h"
#include "signallist/status_column_grip.h"
#include "strings/qt_text.h"
#include "system/settings_store.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>

namespace kestra {

namespace {

std::string ColumnKey(int column) {
    return "Column " + std::to_string(column + 1);
}

SignalColumn ColumnOf(const QModelIndex& index) {
    return static_cast<SignalColumn>(index.column());
}

// Cells as a spreadsheet exchanges them: a tab between cells, a line per row.
std::vector<std::vector<std::string>> ParseCells(const QString& text) {
    std::vector<std::vector<std::string>> rows;
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        std::vector<std::string> cells;
        for (const QString& cell : line.split(QLatin1Char('\t')))
            cells.push_back(TextFromQt(cell));
        rows.push_back(std::move(cells));
    }
    return rows;
}

} // namespace

QWidget* CSignalDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
    QWidget* editor = MakeEditor(parent, option, index);
    m_editor = editor;
    return editor;
}

QWidget* CSignalDelegate::MakeEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    switch (ColumnOf(index)) {
    case SignalColumn::Mode:
    case SignalColumn::DataType: {
        const bool mode = ColumnOf(index) == SignalColumn::Mode;
        auto* box = new QComboBox(parent);
        box->setEditable(!mode);
        box->setInsertPolicy(QComboBox::NoInsert);
        if (mode) {
            for (const char* choice : kSignalModeChoices)
                box->addItem(QString::fromLatin1(choice));
        } else {
            for (const char* choice : kSignalDataTypeChoices)
                box->addItem(QString::fromLatin1(choice));
        }
        return box;
    }
    case SignalColumn::Name:
    case SignalColumn::Range:
        break;
    }
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor);
        line != nullptr && ColumnOf(index) == SignalColumn::Range)
        line->setAlignment(Qt::AlignCenter);
    return editor;
}

void CSignalDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* box = qobject_cast<QComboBox*>(editor);
    if (box == nullptr) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    const QString text = index.data(Qt::EditRole).toString();
    if (box->isEditable()) {
        box->setEditText(text);
        return;
    }
    // A mode typed or pasted before keeps its own text until another is chosen.
    int found = box->findText(text);
    if (found < 0 && !text.isEmpty()) {
        box->insertItem(0, text);
        found = 0;
    }
    box->setCurrentIndex(std::max(found, 0));
}

void CSignalDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                   const QModelIndex& index) const {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        model->setData(index, box->currentText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

CSignalListView::CSignalListView(CSettingsStore& settings, QWidget* parent)
    : QTableView(parent), m_settings(settings), m_model(new CSignalListModel(m_grid, this)),
      m_delegate(new CSignalDelegate(this)) {
    setModel(m_model);
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setTextElideMode(Qt::ElideRight);
    setWordWrap(false);
    setCornerButtonEnabled(true);

    QHeaderView* rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 6);
    rows->setHighlightSections(false);
    QHeaderView* columns = horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setStretchLastSection(false);
    columns->setHighlightSections(false);
    columns->setMinimumSectionSize(kMinimumWidth);
    for (int column = 0; column < 5; ++column) {
        const int width = std::max(kMinimumWidth, m_settings.ReadSettingInt(kWidthSection, ColumnKey(column),
                                                                            kDefaultWidths[column]));
        if (column == 0)
            SetStatusColumnWidth(width);
        else
            columns->resizeSection(column - 1, width);
    }
    auto* grip = new CStatusColumnGrip(
        *rows, kMinimumWidth, [this](int width) { SetStatusColumnWidth(width); }, this);
    grip->Watch(rows->viewport(), CStatusColumnGrip::Edge::Right);
    grip->Watch(columns->viewport(), CStatusColumnGrip::Edge::Left);

    for (QHeaderView* header : {rows, columns}) {
        header->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(header, &QWidget::customContextMenuRequested, this,
                [this, header](const QPoint& pos) { OnHeaderMenu(header->orientation(), pos); });
    }
    if (auto* corner = findChild<QAbstractButton*>()) {
        grip->Watch(corner, CStatusColumnGrip::Edge::Right);
        corner->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(corner, &QWidget::customContextMenuRequested, this, [this, corner](const QPoint& pos) {
            selectAll();
            emit contextMenuRequested(corner->mapToGlobal(pos));
        });
    }
    connect(qApp, &QApplication::focusChanged, this, &CSignalListView::OnFocusChanged);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CSignalListView::commandStateChanged);
}

CSignalListView::~CSignalListView() {
    disconnect(qApp, nullptr, this, nullptr);
}

void CSignalListView::SetOwner(CProjectSession* session, CHierarchyItem* item) {
    // An open cell editor belongs to the rows it was opened on.
    if (QWidget* editor = m_delegate->Editor();
        editor != nullptr && state() == QAbstractItemView::EditingState)
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    m_model->Reset([&] { m_grid.SetOwner(session, item); });
    setCurrentIndex(QModelIndex());
    emit captionChanged(Caption());
    emit commandStateChanged();
}

void CSignalListView::OnSignalsChangedElsewhere(CProjectSession& session, CHierarchyItem* owner) {
    if (owner == nullptr || owner != m_grid.Owner() || &session != m_grid.Session())
        return;
    const QModelIndex current = currentIndex();
    m_model->Reset([&] { m_grid.Load(); });
    if (current.isValid() && current.row() < m_grid.RowCount())
        SetFocusCell(current.row(), current.column());
}

void CSignalListView::CommitItem(CHierarchyItem* item) {
    if (item != nullptr && item == m_grid.Owner())
        CommitToSource();
}

bool CSignalListView::CommitToSource() {
    // The open editor's text is the user's last edit: it reaches the grid before the source.
    if (QWidget* editor = m_delegate->Editor();
        editor != nullptr && state() == QAbstractItemView::EditingState) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    const bool updated = m_grid.CommitToSource();
    emit commandStateChanged();
    return updated;
}

void CSignalListView::ForgetItem(const CHierarchyItem* item) {
    if (m_grid.Owner() != nullptr && (m_grid.Owner() == item || item->IsAncestorOf(m_grid.Owner())))
        SetOwner(nullptr, nullptr);
}

void CSignalListView::ForgetSession(const CProjectSession* session) {
    if (session != nullptr && m_grid.Session() == session)
        SetOwner(nullptr, nullptr);
}

QString CSignalListView::Caption() const {
    return TextToQt(m_grid.Caption());
}

std::array<int, 5> CSignalListView::ColumnWidths() const {
    std::array<int, 5> widths{verticalHeader()->width()};
    for (int column = 1; column < 5; ++column)
        widths[static_cast<std::size_t>(column)] = horizontalHeader()->sectionSize(column - 1);
    return widths;
}

void CSignalListView::SetStatusColumnWidth(int width) {
    // The status column is the row header, whose width only the table's layout follows.
    verticalHeader()->setFixedWidth(std::max(width, kMinimumWidth));
    updateGeometries();
}

void CSignalListView::WriteColumnWidths() const {
    const std::array<int, 5> widths = ColumnWidths();
    for (int column = 4; column >= 0; --column)
        m_settings.WriteSettingInt(kWidthSection, ColumnKey(column),
                                   widths[static_cast<std::size_t>(column)]);
}

int CSignalListView::FocusRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void CSignalListView::SetFocusCell(int row, int column) {
    if (row < 0 || row >= m_grid.RowCount()) {
        setCurrentIndex(QModelIndex());
        return;
    }
    const QModelIndex index = m_model->index(row, std::clamp(column, 0, kSignalColumnCount - 1));
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

QRect CSignalListView::SelectedCells() const {
    QRect cells;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        cells = cells.united(QRect(QPoint(range.left(), range.top()), QPoint(range.right(), range.bottom())));
    return cells;
}

void CSignalListView::OnInsert() {
    if (!CanInsert())
        return;
    int inserted = -1;
    const int before = FocusRow();
    m_model->Reset([&] { inserted = m_grid.InsertRow(before); });
    SetFocusCell(inserted, static_cast<int>(SignalColumn::Name));
    emit commandStateChanged();
}

bool CSignalListView::CanRemove() const {
    const QRect cells = SelectedCells();
    return m_grid.HasOwner() && cells.isValid() && cells.left() == 0 &&
           cells.right() == kSignalColumnCount - 1;
}

void CSignalListView::OnRemove() {
    if (!CanRemove())
        return;
    const QRect cells = SelectedCells();
    int next = -1;
    m_model->Reset([&] { next = m_grid.RemoveRows(cells.top(), cells.bottom()); });
    SetFocusCell(next, 0);
    emit commandStateChanged();
}

bool CSignalListView::CanMove() const {
    return m_grid.HasOwner() && FocusRow() >= 0;
}

void CSignalListView::OnMove(MoveCommand command) {
    if (!CanMove())
        return;
    const QModelIndex current = currentIndex();
    int target = -1;
    m_model->Reset([&] { target = m_grid.MoveRow(current.row(), command); });
    // The focus cell follows the moved row, in the same column; a row that stays keeps it.
    SetFocusCell(target >= 0 ? target : current.row(), current.column());
    emit commandStateChanged();
}

bool CSignalListView::CanCutOrCopy() const {
    return m_grid.HasOwner() && SelectedCells().isValid();
}

void CSignalListView::OnCopy() {
    const QRect cells = SelectedCells();
    if (!m_grid.HasOwner() || !cells.isValid())
        return;
    QString text;
    for (int row = cells.top(); row <= cells.bottom(); ++row) {
        QStringList line;
        for (int column = cells.left(); column <= cells.right(); ++column)
            line << TextToQt(m_grid.Cell(row, static_cast<SignalColumn>(column)));
        text += line.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    QApplication::clipboard()->setText(text);
}

void CSignalListView::OnCut() {
    const QRect cells = SelectedCells();
    if (!m_grid.HasOwner() || !cells.isValid())
        return;
    OnCopy();
    const std::vector<std::vector<std::string>> empty(
        static_cast<std::size_t>(cells.height()),
        std::vector<std::string>(static_cast<std::size_t>(cells.width())));
    m_model->Reset([&] { m_grid.SetCells(cells.top(), static_cast<SignalColumn>(cells.left()), empty); });
    SetFocusCell(cells.top(), cells.left());
    emit commandStateChanged();
}

bool CSignalListView::CanPaste() const {
    return m_grid.HasOwner() && !QApplication::clipboard()->text().isEmpty();
}

void CSignalListView::OnPaste() {
    if (!CanPaste())
        return;
    const std::vector<std::vector<std::string>> cells = ParseCells(QApplication::clipboard()->text());
    if (cells.empty())
        return;
    const QModelIndex current = currentIndex();
    const int row = current.isValid() ? current.row() : m_grid.RowCount();
    const int column = current.isValid() ? current.column() : 0;
    m_model->Reset([&] { m_grid.SetCells(row, static_cast<SignalColumn>(column), cells); });
    SetFocusCell(row, column);
    emit commandStateChanged();
}

void CSignalListView::OnCopyView() {
    const CSignalListPrinter printer(m_grid, font(), ColumnWidths(), verticalHeader()->defaultSectionSize());
    QApplication::clipboard()->setImage(printer.Picture());
}

Result<int> CSignalListView::Print(QPrinter& printer) {
    const CSignalListPrinter picture(m_grid, font(), ColumnWidths(), verticalHeader()->defaultSectionSize());
    return picture.Print(printer, Caption());
}

CommandAnswer CSignalListView::Answer(EditCommand command) const {
    switch (command) {
    case EditCommand::Cut:
    case EditCommand::Copy:
        return AnswerIf(CanCutOrCopy());
    case EditCommand::Paste:
        return AnswerIf(CanPaste());
    case EditCommand::Remove:
        return AnswerIf(CanRemove());
    case EditCommand::Insert:
        return AnswerIf(CanInsert());
    case EditCommand::SelectAll:
        return AnswerIf(HasOwner());
    case EditCommand::CopyView:
    case EditCommand::Print:
        return CommandAnswer::Enabled;
    case EditCommand::Undo:
    case EditCommand::Redo:
        return CommandAnswer::Disabled;
    default:
        return AnswerIf(CanMove());
    }
}

void CSignalListView::Run(EditCommand command) {
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
    case EditCommand::Insert:
        return OnInsert();
    case EditCommand::SelectAll:
        return selectAll();
    case EditCommand::CopyView:
        return OnCopyView();
    default:
        return;
    }
}

void CSignalListView::SetPreviewing(bool previewing) {
    if (previewing)
        CommitToSource();
}

void CSignalListView::keyPressEvent(QKeyEvent* event) {
    const bool plainEnter = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
                            (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plainEnter && state() != QAbstractItemView::EditingState && currentIndex().isValid()) {
        edit(currentIndex());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CSignalListView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        QTableView::mousePressEvent(event);
        return;
    }
    // The right button keeps a selection it falls into; elsewhere it selects the one cell.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && !selectionModel()->isSelected(index))
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    event->accept();
}

void CSignalListView::contextMenuEvent(QContextMenuEvent* event) {
    emit contextMenuRequested(event->globalPos());
    event->accept();
}

void CSignalListView::OnHeaderMenu(Qt::Orientation orientation, const QPoint& pos) {
    QHeaderView* header = orientation == Qt::Horizontal ? horizontalHeader() : verticalHeader();
    const int section = header->logicalIndexAt(pos);
    if (section >= 0) {
        if (orientation == Qt::Horizontal && !selectionModel()->isColumnSelected(section, QModelIndex()))
            selectColumn(section);
        else if (orientation == Qt::Vertical && !selectionModel()->isRowSelected(section, QModelIndex()))
            selectRow(section);
    }
    emit contextMenuRequested(header->mapToGlobal(pos));
}

bool CSignalListView::Contains(const QWidget* widget) const {
    // Followed across windows: the list a cell's drop-down opens is a window of its own, and
    // the focus it takes stays in the pane.
    for (const QWidget* up = widget; up != nullptr; up = up->parentWidget()) {
        if (up == this)
            return true;
    }
    return false;
}

void CSignalListView::OnFocusChanged(QWidget* old, QWidget* now) {
    // Only the focus leaving for a window outside the pane writes the source; a popup menu
    // opened on the pane does not take it away.
    if (!Contains(old) || Contains(now) || (now != nullptr && qobject_cast<QMenu*>(now->window()) != nullptr))
        return;
    CommitToSource();
}

} // namespace kestra
