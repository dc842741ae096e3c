#include "signallist/signal_list_model.h"

#include "hierarchy/hierarchy_icons.h"
#include "strings/qt_text.h"

#include <QColor>
#include <QPixmap>
#include <QPixmapCache>

namespace kestra {

namespace {

QColor FromColourRef(std::uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

} // namespace

CSignalListModel::CSignalListModel(CSignalGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), m_grid(grid) {}

QPixmap CSignalListModel::StatusImage(SignalRowStatus status) {
    static const char* const kNames[] = {"signal-valid", "signal-invalid", "signal-mode-unknown"};
    const char* name = kNames[static_cast<int>(status)];
    const QString key = QStringLiteral("kestra-%1").arg(QString::fromLatin1(name));
    QPixmap picture;
    if (!QPixmapCache::find(key, &picture)) {
        picture = CHierarchyIcons::CommandIcon(name).pixmap(15, 16);
        QPixmapCache::insert(key, picture);
    }
    return picture;
}

int CSignalListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_grid.RowCount();
}

int CSignalListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kSignalColumnCount;
}

QVariant CSignalListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_grid.RowCount())
        return {};
    const CSignalGrid::Row& row = m_grid.RowAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole:
        return TextToQt(row.cells[static_cast<std::size_t>(index.column())]);
    case Qt::BackgroundRole:
        return FromColourRef(row.colour);
    case Qt::ForegroundRole:
        return QColor(Qt::black);
    case Qt::TextAlignmentRole:
        return static_cast<SignalColumn>(index.column()) == SignalColumn::Range
                   ? QVariant(Qt::AlignCenter)
                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant CSignalListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        static const char* const kTitles[] = {"Name", "Mode", "Data Type", "Range"};
        if (role == Qt::DisplayRole && section >= 0 && section < kSignalColumnCount)
            return QString::fromLatin1(kTitles[section]);
        return {};
    }
    if (section < 0 || section >= m_grid.RowCount())
        return {};
    if (role == Qt::DecorationRole)
        return StatusImage(m_grid.RowAt(section).status);
    if (role == Qt::ToolTipRole) {
        const std::string tip = m_grid.StatusTip(section);
        return tip.empty() ? QVariant() : QVariant(TextToQt(tip));
    }
    if (role == Qt::DisplayRole)
        return QStringLiteral(" ");
    return {};
}

Qt::ItemFlags CSignalListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

bool CSignalListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const auto column = static_cast<SignalColumn>(index.column());
    if (!m_grid.EndCellEdit(index.row(), column, TextFromQt(value.toString())))
        return false;
    if (column == SignalColumn::Name) {
        RowsRestyled();
    } else {
        emit dataChanged(this->index(index.row(), 0), this->index(index.row(), kSignalColumnCount - 1));
        emit headerDataChanged(Qt::Vertical, index.row(), index.row());
    }
    return true;
}

void CSignalListModel::RowsRestyled() {
    if (m_grid.RowCount() == 0)
        return;
    emit dataChanged(index(0, 0), index(m_grid.RowCount() - 1, kSignalColumnCount - 1));
    emit headerDataChanged(Qt::Vertical, 0, m_grid.RowCount() - 1);
}

} // namespace kestra
