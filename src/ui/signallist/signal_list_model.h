#pragma once

#include "panes/signal_grid.h"

#include <QAbstractTableModel>

namespace kestra {

// The signal grid as a Qt table: columns "Name", "Mode", "Data Type" and "Range", the row's
// status image in the row header, the row's colour behind its cells. The model holds no rows
// of its own: every call reads the core's grid, so a module with many ports costs nothing
// until its rows are shown.
class CSignalListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit CSignalListModel(CSignalGrid& grid, QObject* parent = nullptr);

    CSignalGrid& Grid() { return m_grid; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A finished cell edit goes to the grid, which validates, colours and writes back.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Runs a change of the grid that a cell edit does not describe (load, insert, remove, move,
    // paste); every row is read again afterwards.
    template <typename Change>
    void Reset(Change change) {
        beginResetModel();
        change();
        endResetModel();
    }
    // The rows' status and colours may have changed everywhere (a new duplicate name).
    void RowsRestyled();

    static QPixmap StatusImage(SignalRowStatus status);

private:
    CSignalGrid& m_grid;
};

} // namespace kestra
