#pragma once

#include "actions/edit_target.h"
#include "project/message_log.h"

#include <QPlainTextEdit>

namespace kestra {

// The project window's message log: a read-only text pane that the project's commands append
// to. Text is added at the end exactly as given (CR LF shown as a line break) and the end
// stays in view; the user can select and copy but never type.
class CKSTEditView : public QPlainTextEdit, public CMessageLog, public CEditTarget {
    Q_OBJECT

public:
    explicit CKSTEditView(QWidget* parent = nullptr);

    void AppendLog(const std::string& text) override;
    void ClearLog() override;

    // While the log has the focus it copies its selection and Remove clears it; it takes no
    // cut or paste. The other edit commands go on to the hierarchy.
    CommandAnswer Answer(EditCommand command) const override;
    void Run(EditCommand command) override;
    Result<int> PrintPages(QPrinter& printer) override;

signals:
    // Shift+Tab: the parameter list of the same window takes the focus.
    void previousPaneRequested();
    // A double click or Enter on a line of the VHDL analyser's check that names a file and line.
    void sourceLineRequested(const QString& file, int line);

protected:
    bool event(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // The check line under the text cursor asks for its file; false for other lines.
    bool RequestSourceLine();
};

} // namespace kestra
