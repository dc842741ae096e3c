#pragma once

#include "diagram/diagram_editor.h"
#include "diagram/diagram_zoom.h"

#include <QAbstractScrollArea>
#include <QLineEdit>
#include <QPointer>
#include <array>
#include <functional>

class QTimer;

namespace kestra {

// The scrollable canvas of the block diagram: paints what is exposed of the live diagram and
// the rubber band of the gesture in progress, turns mouse and keys into the gesture editor's
// calls, shows each mode's cursor, keeps the scroll bars on the diagram's extent (40-pixel
// steps), scrolls by itself while a drag leaves the window (100 ms timers), and opens the
// in-place text editor the editor asks for. It changes nothing itself: every change is the
// editor's. It shows the diagram at its zoom (Ctrl with the wheel zooms around the cursor); every
// view pixel becomes a window point of the editor through the zoom alone, so the editor, the
// scroll bars and the grid keep diagram units.
class CBlockDiagramCtrl : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CBlockDiagramCtrl(CDiagramEditor& editor, QWidget* parent = nullptr);

    CDiagramEditor& Editor() { return m_editor; }
    // After the diagram changed from outside (loaded, a command): scroll bars, cursor, picture.
    void Refresh();
    // The text editor over a block, while one is open.
    QLineEdit* TextEditor() const { return m_textEditor; }
    // Called around every gesture that may change the diagram (a left press to its release, a
    // double-click, a key, the end of text editing): the pane's undo steps.
    void SetStepHooks(std::function<void()> begin, std::function<void()> end) {
        m_beginStep = std::move(begin);
        m_endStep = std::move(end);
    }

    static QCursor CursorFor(const CDiagramCursor& cursor, EditMode mode);

    // The view's zoom, kept while other modules are shown; printing and pictures never see it.
    const CDiagramZoom& Zoom() const { return m_zoom; }
    // Zoom In and Zoom Out by one step around the view's centre; Fit to Pane shows the whole
    // drawing (100 % for an empty one).
    void ZoomIn();
    void ZoomOut();
    void FitToPane();
    // Sets the factor keeping the diagram point under the view pixel `anchor` where it is (left
    // and above the diagram's origin the view does not go).
    void ZoomAround(double factor, const QPointF& anchor);

signals:
    void contextMenuRequested(const QPoint& globalPos);
    // A double-click in select mode that the canvas passes on to its pane.
    void doubleClicked();
    // Something the commands' states depend on changed (selection, mode, attributes).
    void stateChanged();
    void zoomChanged(int percent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void BeginStep() {
        if (m_beginStep)
            m_beginStep();
    }
    void EndStep() {
        if (m_endStep)
            m_endStep();
    }
    std::function<void()> m_beginStep;
    std::function<void()> m_endStep;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The view transform: view pixels to the editor's window points, diagram rectangles to
    // view rectangles.
    CPixelPoint WindowPoint(const QPointF& position) const;
    QRect ViewRect(const CPixelRect& diagram) const;
    // The client size in diagram units, the scroll position, the scroll steps and the picture
    // after the factor changed.
    void ApplyZoom(CPixelPoint scroll);
    void SyncClientSize();
    // After every editor call: the text editor, the timers, the cursor, the scroll bars.
    void AfterGesture();
    void SyncScrollBars();
    void SyncTextEditor();
    void EndTextEditor(bool accept);
    void PaintRubberBand(QPainter& painter) const;

    CDiagramEditor& m_editor;
    std::array<QTimer*, 4> m_scrollTimers{};
    QPointer<QLineEdit> m_textEditor;
    bool m_syncing = false;
    CDiagramZoom m_zoom;
    // The diagram point that steps of zoom around one view pixel keep there, so that rounding
    // the scroll position to diagram units never adds up from step to step.
    struct ZoomAnchor {
        QPointF view;
        double x = 0;
        double y = 0;
        CPixelPoint scroll;
        double factor = 0;
    };
    std::optional<ZoomAnchor> m_anchor;
    // The wheel's turn with Ctrl not yet used for a step (eighths of a degree).
    int m_wheelAngle = 0;
};

} // namespace kestra
