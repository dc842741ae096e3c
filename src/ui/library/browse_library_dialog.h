#pragma once

#include "library/library_browser.h"
#include "library/library_chooser.h"
#include "library/library_store.h"

#include <QDialog>
#include <filesystem>
#include <string>
#include <vector>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;
class QTreeWidget;

namespace kestra {

class CLibraryTreeModel;
class CUserPrompts;
struct UiContext;

// The "Browse Library" dialog over the core's library browser: the library's tree, the entries
// of the selected (or stored) module, the edit with "&Create" and "&Remove", and drag and drop
// of modules between folders. In choose mode OK gives the selected module's file; in store mode
// "&Create" files the module into the selected folder and switches to choose mode. Closing
// either way writes "LibraryOrg.dat". Every failed file operation is shown with the system's
// error text and leaves the tree as it was.
class CBrowseLibraryDialog : public QDialog {
    Q_OBJECT

public:
    CBrowseLibraryDialog(std::filesystem::path rootFolder, LibraryKind kind, CUserPrompts& prompts,
                         QWidget* parent = nullptr);
    ~CBrowseLibraryDialog() override;

    // Store mode for the exported module file (its companion files beside it); before LoadLibrary.
    void SetStoreFile(std::filesystem::path file, std::vector<std::string> companions);
    // Reads the library's folders and restores the tree as the user left it.
    void LoadLibrary();

    CLibraryBrowser& Browser() { return m_browser; }
    // The chosen module's file after OK; empty after Cancel or without a module selected.
    const std::filesystem::path& ChosenFile() const { return m_chosenFile; }

    QTreeView* Tree() const { return m_treeView; }
    CLibraryTreeModel& TreeModel() const { return *m_model; }
    QTreeWidget* EntryList() const { return m_entries; }
    QLabel* EditLabel() const { return m_editLabel; }
    QLineEdit* Edit() const { return m_edit; }
    QPushButton* CreateButton() const { return m_create; }
    QPushButton* RemoveButton() const { return m_remove; }

    // Selects the item in the tree and the core alike.
    void SelectItem(CLibraryItem* item);
    void OnCreate();
    void OnRemove();
    // Moves a dragged module into the folder of the target.
    void DropModule(CLibraryItem* module, CLibraryItem* target);

    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpViews();
    void LayOut();
    void ConnectViews();
    void ApplyMode();
    // The core's tree changed: the view follows, keeping expansion and selection.
    void ReloadTree();
    void SyncExpansion(const QModelIndex& parent);
    void ShowSelection();
    void OnCurrentChanged();
    void FillEntries(const std::filesystem::path& moduleFile);
    void FitEntryColumns();
    bool Report(const LibraryActionResult& result);
    void Close(bool ok);

    CLibraryBrowser m_browser;
    CUserPrompts& m_prompts;
    LibraryKind m_kind;
    CLibraryTreeModel* m_model;
    QTreeView* m_treeView;
    QTreeWidget* m_entries;
    QLabel* m_editLabel;
    QLineEdit* m_edit;
    QPushButton* m_create;
    QPushButton* m_remove;
    QDialogButtonBox* m_buttons;
    std::filesystem::path m_chosenFile;
    bool m_scrolled = false;
    bool m_syncing = false;
};

// Insert Library Module and Insert Predefined Module: the module is chosen in the dialog over
// the library that the settings name.
class CDialogLibraryChooser : public CLibraryChooser {
public:
    CDialogLibraryChooser(const UiContext& ui, QWidget* parent) : m_ui(ui), m_parent(parent) {}
    std::optional<std::filesystem::path> ChooseModule(LibraryKind kind) override;

private:
    const UiContext& m_ui;
    QWidget* m_parent;
};

// Create Library Module and Create Predefined Module: the user picks the folder in the dialog,
// in store mode.
class CDialogLibraryStore : public CLibraryStore {
public:
    CDialogLibraryStore(const UiContext& ui, QWidget* parent) : m_ui(ui), m_parent(parent) {}
    bool StoreModule(const std::filesystem::path& moduleFile, LibraryKind kind,
                     const std::vector<std::string>& companions) override;

private:
    const UiContext& m_ui;
    QWidget* m_parent;
};

// The library's root folder from the settings, created when missing; a folder that cannot be
// made is reported to the user and gives nothing.
std::optional<std::filesystem::path> OpenLibraryFolder(const UiContext& ui, LibraryKind kind);

} // namespace kestra
