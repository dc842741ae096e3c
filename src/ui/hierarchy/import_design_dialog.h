#pragma once

#include "operations/design_import.h"

#include <QDialog>
#include <filesystem>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace kestra {

// The "Import VHDL Design" dialog: the files and folders of a design, the choice of its top
// entity and a preview of what the import would bring in (counts, the top or tops, the problems
// found, or why nothing can be imported). The preview is read again whenever the files, the
// folders or the top change, never before the user has added something; Import is enabled only
// while it can import. After OK the preview is the one to import.
class CImportDesignDialog : public QDialog {
    Q_OBJECT

public:
    // The file dialogs start in `startFolder`.
    explicit CImportDesignDialog(std::filesystem::path startFolder, QWidget* parent = nullptr);
    ~CImportDesignDialog() override;

    // Adds files and folders to the list, each once, and previews the import again.
    void AddPaths(const std::vector<std::filesystem::path>& paths);
    const std::vector<std::filesystem::path>& Paths() const { return m_paths; }
    const DesignImportPreview& Preview() const { return m_preview; }

    QListWidget* PathList() const { return m_pathList; }
    QPushButton* RemoveButton() const { return m_remove; }
    QComboBox* TopBox() const { return m_topBox; }
    // The counts and tops, or the reason nothing can be imported (rich text).
    QLabel* Summary() const { return m_summary; }
    QListWidget* ProblemList() const { return m_problemList; }
    QPushButton* ImportButton() const { return m_import; }

private:
    void LayOut();
    void OnAddFiles();
    void OnAddFolder();
    void OnRemove();
    // Reads the files again for the paths and the top chosen.
    void UpdatePreview();
    void FillTopBox();
    void ShowPreview();
    void ShowProblems();
    std::string ChosenTop() const;

    std::filesystem::path m_startFolder;
    std::vector<std::filesystem::path> m_paths;
    DesignImportPreview m_preview;
    QListWidget* m_pathList;
    QPushButton* m_addFiles;
    QPushButton* m_addFolder;
    QPushButton* m_remove;
    QComboBox* m_topBox;
    QLabel* m_summary;
    QLabel* m_problemsLabel;
    QListWidget* m_problemList;
    QPushButton* m_import;
};

} // namespace kestra
