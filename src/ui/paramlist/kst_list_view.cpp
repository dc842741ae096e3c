#include "paramlist/kst_list_view.h"

#include "desktop/qt_text.h"
#include "model/design_object.h"

#include <QHeaderView>

namespace kestra {

CKSTListView::CKSTListView(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(2);
    setHeaderLabels({QStringLiteral("Item"), QStringLiteral("Parameter")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(true);
    header()->setSectionsMovable(false);
    setColumnWidth(0, kDefaultItemColumnWidth);
}

void CKSTListView::SetItemColumnWidth(int width) {
    setColumnWidth(0, width > 0 ? width : kDefaultItemColumnWidth);
}

void CKSTListView::SetObject(const CKSTObject* object, const std::filesystem::path& sourcePath) {
    m_sourcePath = sourcePath;
    setUpdatesEnabled(false);
    clear();
    if (object != nullptr) {
        for (int entry = 0; entry < object->GetEntryCount(); ++entry) {
            auto* row = new QTreeWidgetItem(this);
            row->setText(0, TextToQt(object->GetEntryName(entry)));
            row->setText(1, TextToQt(object->GetEntryValue(entry)));
            row->setData(0, Qt::UserRole, object->GetEntryKind(entry));
        }
        if (topLevelItemCount() > 0)
            setCurrentItem(topLevelItem(0));
    }
    setUpdatesEnabled(true);
}

} // namespace kestra
