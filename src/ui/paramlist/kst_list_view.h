#pragma once

#include <QTreeWidget>
#include <filesystem>

namespace kestra {

class CKSTObject;

// The parameter list pane: the design object of the item selected in the hierarchy, one row
// per entry (name under "Item", value under "Parameter"). For now it only shows the object;
// it keeps no copy beyond the rows on screen.
class CKSTListView : public QTreeWidget {
    Q_OBJECT

public:
    static constexpr int kDefaultItemColumnWidth = 150;

    explicit CKSTListView(QWidget* parent = nullptr);

    // Shows the object (none clears the list) and remembers the module's source path.
    void SetObject(const CKSTObject* object, const std::filesystem::path& sourcePath);
    const std::filesystem::path& SourcePath() const { return m_sourcePath; }

    int ItemColumnWidth() const { return columnWidth(0); }
    void SetItemColumnWidth(int width);

private:
    std::filesystem::path m_sourcePath;
};

} // namespace kestra
