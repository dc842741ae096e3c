#pragma once

#include <QAbstractTableModel>

namespace kestra {

class CKSTObject;

// The design object shown by the parameter list as a Qt table: one row per entry, its name
// under "Item" and its value under "Parameter", its kind under KindRole. The model holds no
// rows of its own: it reads the core's object, whose commands change it; Reset tells the view
// after they did. The row count is the one at the last reset, so that a view never asks for a
// row the object lost in between.
class CParameterListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int KindRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    const CKSTObject* Object() const { return m_object; }
    // Shows the object (none for an empty list) and reads every row again.
    void Reset(const CKSTObject* object);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Cells are edited through the delegate, which hands the text to the core.
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const CKSTObject* m_object = nullptr;
    int m_rows = 0;
};

} // namespace kestra
