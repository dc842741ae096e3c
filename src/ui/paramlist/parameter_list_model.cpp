#include "paramlist/parameter_list_model.h"

#include "model/design_object.h"
#include "strings/qt_text.h"

namespace kestra {

void CParameterListModel::Reset(const CKSTObject* object) {
    beginResetModel();
    m_object = object;
    m_rows = object != nullptr ? object->GetEntryCount() : 0;
    endResetModel();
}

int CParameterListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int CParameterListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant CParameterListModel::data(const QModelIndex& index, int role) const {
    if (m_object == nullptr || !index.isValid() || index.row() >= m_object->GetEntryCount())
        return {};
    const int entry = index.row();
    if (role == KindRole)
        return static_cast<int>(m_object->GetEntryKind(entry));
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return TextToQt(index.column() == 0 ? m_object->GetEntryName(entry) : m_object->GetEntryValue(entry));
}

QVariant CParameterListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? QStringLiteral("Item") : QStringLiteral("Parameter");
}

Qt::ItemFlags CParameterListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemNeverHasChildren;
}

} // namespace kestra
