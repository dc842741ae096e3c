#pragma once

#include "actions/edit_target.h"
#include "panes/diagram_pane.h"
#include "system/outcome.h"

#include <QWidget>

class QPrinter;

namespace kestra {

class CBlockDiagramCtrl;

// The caption over the canvas: the shown module's name in bold with a shadow, drawn sunken
// while the pane has the focus, and at its right end the zoom factor while it is not 100 %.
class CDiagramCaption : public QWidget {
    Q_OBJECT

public:
    explicit CDiagramCaption(QWidget* parent = nullptr);
    void SetText(const QString& text);
    void SetZoomPercent(int percent);
    // "Zoom 125 %", or empty at 100 %.
    QString ZoomText() const { return m_zoomText; }
    void SetActive(bool active);
    QString Text() const { return m_text; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QString m_zoomText;
    bool m_active = false;
};

// The "BLOCK DIAGRAM" pane: the caption and the canvas over the core's diagram pane. It shows
// the module the hierarchy loads into it, writes the diagram back when the focus leaves it
// (and whenever a project commits its panes), carries the block diagram commands, and asks the
// window to show another module after a double-click. The pane is shared by all project
// windows.
class CBlockDiagramBar : public QWidget, public CSignalsListener, public CEditTarget {
    Q_OBJECT

public:
    explicit CBlockDiagramBar(QWidget* parent = nullptr);
    ~CBlockDiagramBar() override;

    CDiagramPane& Pane() { return m_pane; }
    CBlockDiagramCtrl* Canvas() const { return m_canvas; }
    CDiagramCaption* CaptionBar() const { return m_caption; }
    QString Caption() const;
    // The focus is in the pane (its canvas or the text editor).
    bool HasFocusInside() const;

    void Show(CProjectSession* session, CHierarchyItem* item);
    // The owner's project commits its editors: a shown item is written back.
    void CommitItem(CHierarchyItem* item);
    bool WriteBack();
    void ForgetItem(const CHierarchyItem* item);
    // A module inserted below the shown item appears as a block.
    void ModuleInserted(const CHierarchyItem* parent, const CHierarchyItem* item);
    // The signal list changed the owner's signals: the port blocks follow.
    void OnSignalsChangedElsewhere(kestra::CProjectSession* session, kestra::CHierarchyItem* owner);
    // The diagram changed the shown module's signals.
    void SignalsChanged(CProjectSession& session, CHierarchyItem* owner) override;
    void ForgetSession(const CProjectSession* session);

    // The commands; each gives the canvas the focus first.
    void OnIncreaseWidth();
    void OnIncreaseHeight();
    // The view's zoom (a view state: the record, printing and pictures never see it).
    void OnZoomIn();
    void OnZoomOut();
    void OnFitToPane();
    void OnRedrawFromVhdl();
    // Undo and Redo of the diagram's own edits.
    bool OnUndo();
    bool OnRedo();
    // The picture of Copy View and printing as an SVG, PDF or PNG file (by the extension).
    Outcome ExportTo(const std::filesystem::path& path);
    void OnMode(EditMode mode);
    void OnInsertBlock();
    void OnInterface(BlockKind kind);
    void OnInterfaceAction();
    void OnAttributes(std::uint16_t value, std::uint16_t mask);
    void OnLineStyle();
    void OnColour(std::uint32_t colour);
    bool CanRemove() const { return m_pane.CanRemove(); }
    void OnRemove();
    void OnCopyView();
    QImage Picture() const;
    Result<int> Print(QPrinter& printer);

    // Undo, redo, Remove, Copy View and printing while the pane has the focus; the diagram
    // takes no clipboard, move or insert commands.
    CommandAnswer Answer(EditCommand command) const override;
    void Run(EditCommand command) override;
    Result<int> PrintPages(QPrinter& printer) override { return Print(printer); }

signals:
    void contextMenuRequested(const QPoint& globalPos);
    void selectItemRequested(kestra::CProjectSession* session, kestra::CHierarchyItem* item);
    void signalsEdited(kestra::CProjectSession* session, kestra::CHierarchyItem* owner);
    void stateChanged();

private:
    void Changed();
    void OnFocusChanged(QWidget* old, QWidget* now);
    void OnDoubleClicked();

    CDiagramPane m_pane;
    CDiagramCaption* m_caption;
    CBlockDiagramCtrl* m_canvas;
};

} // namespace kestra
