#pragma once

#include <QWidget>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QTabWidget;

namespace kestra {

class CFindBar;
class CProjectSession;
class CSourceEditor;

// One source open in the VHDL editor.
struct OpenSource {
    std::filesystem::path path;
    // The project whose module's source it is; none for a file of no open project.
    CProjectSession* session = nullptr;
    // What the file held when the editor last read or wrote it.
    std::string diskText;
    QString name;
    CSourceEditor* editor = nullptr;
    // The file is gone from disk (removed or renamed by another program); a save writes it again.
    bool removed = false;
    // The names completion offers, read when first asked for after the module was analysed: a
    // keystroke never reads the whole text.
    std::vector<std::string> names;
    bool namesStale = true;
};

// The "VHDL EDITOR" bar's pane: a tab per open source, named by its module with a "*" while
// it has unsaved changes and "(removed)" while its file is gone, and the find bar under them. It holds the
// open sources; the file work is its controller's.
class CVhdlEditorPane : public QWidget {
    Q_OBJECT

public:
    explicit CVhdlEditorPane(QWidget* parent = nullptr);
    ~CVhdlEditorPane() override;

    // A new tab for the source, made current.
    OpenSource& Add(std::filesystem::path path, QString name, CProjectSession* session);
    void Remove(OpenSource& source);
    OpenSource* Find(const std::filesystem::path& path) const;
    OpenSource* Of(const CSourceEditor* editor) const;
    OpenSource* Current() const;
    void MakeCurrent(const OpenSource& source);
    std::vector<OpenSource*> Sources() const;
    QTabWidget& Tabs() const { return *m_tabs; }
    CFindBar& FindBar() const { return *m_findBar; }
    // Shows the tab's name as the source's state is now.
    void UpdateTitle(const OpenSource& source);

signals:
    // A tab's close button was pressed: the controller asks about unsaved changes.
    void closeRequested(kestra::OpenSource* source);

private:
    QTabWidget* m_tabs;
    CFindBar* m_findBar;
    std::vector<std::unique_ptr<OpenSource>> m_sources;
};

} // namespace kestra
