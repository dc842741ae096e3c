#pragma once

#include "library/library_folder_list.h"

#include <QListWidget>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class QLabel;

namespace kestra {

// The entries of the library bar: one click opens a folder or inserts a module, so the second
// click of a double click is dropped rather than inserting the module twice.
class CLibraryEntryList : public QListWidget {
    Q_OBJECT

public:
    explicit CLibraryEntryList(QWidget* parent = nullptr);

signals:
    void entryClicked(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_pressedRow = -1;
};

// The "MODULE LIBRARY" bar: one folder of the module library at a time, with an entry going up
// when below the root, its folders and its modules. A click on a folder opens it; a click on a
// module asks for it to be inserted into the active project. The library's root comes from the
// settings at every rescan.
class CLibraryBar : public QWidget {
    Q_OBJECT

public:
    // rootFolder gives the library's root folder, or nothing when it cannot be used.
    explicit CLibraryBar(std::function<std::optional<std::filesystem::path>()> rootFolder,
                         QWidget* parent = nullptr);
    ~CLibraryBar() override;

    // Lists the current folder again (the root may have moved in the settings).
    void Rescan();
    // As a click on the row would.
    void ActivateRow(int row);

    CLibraryEntryList* List() const { return m_list; }
    QLabel* Location() const { return m_location; }
    // Shown instead of the list when the library holds nothing yet.
    QLabel* Hint() const { return m_hint; }
    const CLibraryFolderList* Folder() const { return m_folder.get(); }

signals:
    void moduleClicked(const std::filesystem::path& file);

private:
    void Fill();

    std::function<std::optional<std::filesystem::path>()> m_rootFolder;
    std::unique_ptr<CLibraryFolderList> m_folder;
    QLabel* m_location;
    CLibraryEntryList* m_list;
    QLabel* m_hint;
};

} // namespace kestra
