#include "diagram/block_diagram_ctrl.h"

#include "hierarchy/hierarchy_icons.h"
#include "picture/diagram_painter.h"
#include "strings/qt_text.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPixmapCache>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <cmath>
#include <cstdlib>

namespace kestra {

namespace {

constexpr int kAutoScrollMilliseconds = 100;
// One notch of a mouse wheel, in eighths of a degree.
constexpr int kWheelNotch = 120;

const char* CursorIcon(EditMode mode) {
    switch (mode) {
    case EditMode::AutomaticLink:
        return "link-automatic";
    case EditMode::ManualLink:
        return "link-manual";
    case EditMode::InsertText:
        return "port-text";
    case EditMode::InsertCustom:
        return "block-custom";
    case EditMode::InsertInoutPort:
        return "port-inout";
    case EditMode::InsertInPort:
        return "port-in";
    case EditMode::InsertOutPort:
        return "port-out";
    case EditMode::InsertBufferPort:
        return "port-buffer";
    case EditMode::InsertLinkagePort:
        return "port-linkage";
    case EditMode::InsertNormalModule:
        return "module";
    case EditMode::InsertLibraryModule:
        return "library-module";
    case EditMode::InsertPredefinedModule:
        return "predefined-module";
    default:
        return nullptr;
    }
}

std::optional<DiagramKey> KeyOf(int key) {
    switch (key) {
    case Qt::Key_Left:
        return DiagramKey::Left;
    case Qt::Key_Right:
        return DiagramKey::Right;
    case Qt::Key_Up:
        return DiagramKey::Up;
    case Qt::Key_Down:
        return DiagramKey::Down;
    case Qt::Key_Home:
        return DiagramKey::Home;
    case Qt::Key_End:
        return DiagramKey::End;
    case Qt::Key_PageUp:
        return DiagramKey::PageUp;
    case Qt::Key_PageDown:
        return DiagramKey::PageDown;
    case Qt::Key_Space:
        return DiagramKey::Space;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return DiagramKey::Enter;
    case Qt::Key_Escape:
        return DiagramKey::Escape;
    default:
        return std::nullopt;
    }
}

} // namespace

QCursor CBlockDiagramCtrl::CursorFor(const CDiagramCursor& cursor, EditMode mode) {
    using Shape = CDiagramCursor::Shape;
    switch (cursor.shape) {
    case Shape::Unchanged:
    case Shape::Arrow:
        return Qt::ArrowCursor;
    case Shape::Cross:
        return Qt::CrossCursor;
    case Shape::SizeWestEast:
        return Qt::SizeHorCursor;
    case Shape::SizeNorthSouth:
        return Qt::SizeVerCursor;
    case Shape::SizeNorthWestSouthEast:
        return Qt::SizeFDiagCursor;
    case Shape::SizeNorthEastSouthWest:
        return Qt::SizeBDiagCursor;
    case Shape::Resource:
        break;
    }
    const char* icon = CursorIcon(mode);
    if (icon == nullptr)
        return Qt::CrossCursor;
    // A crosshair with the mode's picture below and to the right of its hot spot.
    const QString key = QStringLiteral("kestra-cursor-%1").arg(QString::fromLatin1(icon));
    QPixmap picture;
    if (!QPixmapCache::find(key, &picture)) {
        picture = QPixmap(32, 32);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        for (const auto& [colour, width] :
             {std::pair{QColor(Qt::white), 3}, std::pair{QColor(Qt::black), 1}}) {
            painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(7, 0, 7, 15);
            painter.drawLine(0, 7, 15, 7);
        }
        painter.drawPixmap(13, 13, CHierarchyIcons::CommandIcon(icon).pixmap(16, 16));
        painter.end();
        QPixmapCache::insert(key, picture);
    }
    return QCursor(picture, 7, 7);
}

CBlockDiagramCtrl::CBlockDiagramCtrl(CDiagramEditor& editor, QWidget* parent)
    : QAbstractScrollArea(parent), m_editor(editor) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFrameShape(QFrame::StyledPanel);
    horizontalScrollBar()->setSingleStep(CDiagramEditor::kLineStep);
    verticalScrollBar()->setSingleStep(CDiagramEditor::kLineStep);
    m_editor.Diagram().SetButtonFaceColour(CDiagramPainter::FromQColor(palette().color(QPalette::Button)));
    for (std::size_t i = 0; i < m_scrollTimers.size(); ++i) {
        auto* timer = new QTimer(this);
        timer->setSingleShot(true);
        timer->setInterval(kAutoScrollMilliseconds);
        connect(timer, &QTimer::timeout, this, [this, i] {
            m_editor.OnAutoScrollTimer(static_cast<ScrollDirection>(i));
            AfterGesture();
        });
        m_scrollTimers[i] = timer;
    }
}

void CBlockDiagramCtrl::Refresh() {
    SyncClientSize();
    SyncTextEditor();
    SyncScrollBars();
    viewport()->setCursor(CursorFor(m_editor.Cursor(), m_editor.Mode()));
    viewport()->update();
}

CPixelPoint CBlockDiagramCtrl::WindowPoint(const QPointF& position) const {
    return m_zoom.ToWindow(position.x(), position.y());
}

QRect CBlockDiagramCtrl::ViewRect(const CPixelRect& diagram) const {
    const CBlockList& blocks = m_editor.Diagram().Blocks();
    const auto view = [this](int units) { return static_cast<int>(std::lround(m_zoom.ToView(units))); };
    const int left = view(diagram.left - blocks.ScrollX());
    const int top = view(diagram.top - blocks.ScrollY());
    return {left, top, view(diagram.right - blocks.ScrollX()) - left,
            view(diagram.bottom - blocks.ScrollY()) - top};
}

void CBlockDiagramCtrl::SyncClientSize() {
    m_editor.SetClientSize(m_zoom.Units(viewport()->width()), m_zoom.Units(viewport()->height()));
}

void CBlockDiagramCtrl::ZoomIn() {
    CDiagramZoom next = m_zoom;
    next.ZoomIn();
    ZoomAround(next.Factor(), QRectF(viewport()->rect()).center());
}

void CBlockDiagramCtrl::ZoomOut() {
    CDiagramZoom next = m_zoom;
    next.ZoomOut();
    ZoomAround(next.Factor(), QRectF(viewport()->rect()).center());
}

void CBlockDiagramCtrl::ZoomAround(double factor, const QPointF& anchor) {
    const CBlockList& blocks = m_editor.Diagram().Blocks();
    const CPixelPoint scroll{blocks.ScrollX(), blocks.ScrollY()};
    if (!m_anchor || m_anchor->view != anchor || m_anchor->scroll != scroll ||
        m_anchor->factor != m_zoom.Factor())
        m_anchor = ZoomAnchor{anchor, scroll.x + anchor.x() / m_zoom.Factor(),
                              scroll.y + anchor.y() / m_zoom.Factor(), scroll, m_zoom.Factor()};
    if (!m_zoom.SetFactor(factor))
        return;
    const CPixelPoint kept = m_zoom.ScrollKeeping(m_anchor->x, m_anchor->y, anchor.x(), anchor.y());
    // Zoomed in where the diagram ends before the pane, the view goes on beyond its end.
    m_editor.Diagram().Blocks().AllowScrollTo(kept.x + m_zoom.Units(viewport()->width()),
                                              kept.y + m_zoom.Units(viewport()->height()));
    ApplyZoom(kept);
    m_anchor->scroll = {blocks.ScrollX(), blocks.ScrollY()};
    m_anchor->factor = m_zoom.Factor();
}

void CBlockDiagramCtrl::FitToPane() {
    const std::optional<CPixelRect> drawing = DrawingBounds(m_editor.Diagram());
    if (!drawing) {
        m_zoom.SetFactor(1.0);
        ApplyZoom({0, 0});
        return;
    }
    m_zoom.SetFactor(CDiagramZoom::FitFactor(*drawing, viewport()->width(), viewport()->height()));
    const int margin = static_cast<int>(std::ceil(CDiagramZoom::kFitMargin / m_zoom.Factor()));
    ApplyZoom({drawing->left - margin, drawing->top - margin});
}

void CBlockDiagramCtrl::ApplyZoom(CPixelPoint scroll) {
    SyncClientSize();
    m_editor.Diagram().Blocks().ScrollTo(scroll.x, scroll.y);
    // A wheel notch or an arrow of the scroll bar moves the view as far as at 100 %.
    const int step = std::max(1, static_cast<int>(std::lround(CDiagramEditor::kLineStep / m_zoom.Factor())));
    horizontalScrollBar()->setSingleStep(step);
    verticalScrollBar()->setSingleStep(step);
    SyncTextEditor();
    SyncScrollBars();
    viewport()->update();
    emit zoomChanged(m_zoom.Percent());
}

void CBlockDiagramCtrl::AfterGesture() {
    for (std::size_t i = 0; i < m_scrollTimers.size(); ++i) {
        const bool armed = m_editor.AutoScrollRequested(static_cast<ScrollDirection>(i));
        if (armed && !m_scrollTimers[i]->isActive())
            m_scrollTimers[i]->start();
        else if (!armed)
            m_scrollTimers[i]->stop();
    }
    if (m_editor.Cursor().shape != CDiagramCursor::Shape::Unchanged)
        viewport()->setCursor(CursorFor(m_editor.Cursor(), m_editor.Mode()));
    SyncTextEditor();
    SyncScrollBars();
    viewport()->update();
    emit stateChanged();
}

void CBlockDiagramCtrl::SyncScrollBars() {
    const CBlockList& blocks = m_editor.Diagram().Blocks();
    m_syncing = true;
    horizontalScrollBar()->setRange(0, blocks.MaxScrollX());
    horizontalScrollBar()->setPageStep(std::max(blocks.ClientWidth(), 1));
    horizontalScrollBar()->setValue(blocks.ScrollX());
    verticalScrollBar()->setRange(0, blocks.MaxScrollY());
    verticalScrollBar()->setPageStep(std::max(blocks.ClientHeight(), 1));
    verticalScrollBar()->setValue(blocks.ScrollY());
    m_syncing = false;
}

void CBlockDiagramCtrl::SyncTextEditor() {
    const std::optional<CTextEditBox>& box = m_editor.TextEdit();
    if (!box) {
        if (m_textEditor != nullptr)
            m_textEditor->deleteLater();
        m_textEditor = nullptr;
        return;
    }
    const QRect view = ViewRect(box->rect);
    const QRect rect(view.topLeft(), QSize(std::max(view.width(), 1), std::max(view.height(), 1)));
    // The text at the size the diagram shows it.
    QFont zoomed = font();
    if (zoomed.pointSizeF() > 0)
        zoomed.setPointSizeF(std::max(zoomed.pointSizeF() * m_zoom.Factor(), 1.0));
    else
        zoomed.setPixelSize(std::max(static_cast<int>(std::lround(zoomed.pixelSize() * m_zoom.Factor())), 1));
    if (m_textEditor == nullptr) {
        m_textEditor = new QLineEdit(viewport());
        m_textEditor->setFrame(false);
        m_textEditor->setAlignment(Qt::AlignCenter);
        QPalette colours = m_textEditor->palette();
        colours.setColor(QPalette::Base, CDiagramPainter::ToQColor(box->background));
        colours.setColor(QPalette::Text, Qt::black);
        m_textEditor->setPalette(colours);
        m_textEditor->setText(TextToQt(box->text));
        m_textEditor->selectAll();
        connect(m_textEditor, &QLineEdit::returnPressed, this, [this] { EndTextEditor(true); });
        connect(m_textEditor, &QLineEdit::editingFinished, this, [this] {
            if (m_textEditor != nullptr && !m_textEditor->hasFocus())
                EndTextEditor(true);
        });
        m_textEditor->installEventFilter(this);
        m_textEditor->show();
        m_textEditor->setFocus();
    }
    m_textEditor->setFont(zoomed);
    m_textEditor->setGeometry(rect);
}

void CBlockDiagramCtrl::EndTextEditor(bool accept) {
    if (m_textEditor == nullptr || !m_editor.TextEdit())
        return;
    const std::optional<std::string> text =
        accept ? std::optional<std::string>(TextFromQt(m_textEditor->text())) : std::nullopt;
    QLineEdit* editor = m_textEditor;
    m_textEditor = nullptr;
    editor->removeEventFilter(this);
    editor->deleteLater();
    BeginStep();
    m_editor.EndTextEdit(text);
    EndStep();
    setFocus();
    AfterGesture();
}

void CBlockDiagramCtrl::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const CBlockList& blocks = m_editor.Diagram().Blocks();
    const QRect exposed = event->rect();
    painter.scale(m_zoom.Factor(), m_zoom.Factor());
    painter.translate(-blocks.ScrollX(), -blocks.ScrollY());
    // The diagram units that cover the exposed pixels.
    const CPixelPoint first = WindowPoint(exposed.topLeft());
    const CPixelPoint last = WindowPoint(QPointF(exposed.right() + 1, exposed.bottom() + 1));
    const CPixelRect area{first.x + blocks.ScrollX(), first.y + blocks.ScrollY(),
                          last.x + 1 + blocks.ScrollX(), last.y + 1 + blocks.ScrollY()};
    CDiagramPainter(m_editor.Diagram(), font(), CDiagramPainter::Look::Screen).Paint(painter, area);
    PaintRubberBand(painter);
}

void CBlockDiagramCtrl::PaintRubberBand(QPainter& painter) const {
    const CBlockDiagram& diagram = m_editor.Diagram();
    const CPixelPoint cursor = m_editor.CursorPoint();
    painter.save();
    if (m_editor.Mode() == EditMode::AutomaticLink && m_editor.PressedBlock() >= 0) {
        // The band runs outside the blocks only.
        QRegion outside(QRect(-1000000, -1000000, 2000000, 2000000));
        for (const auto& entry : diagram.Blocks().Blocks()) {
            const CPixelRect& r = entry.second.rect;
            outside -= QRegion(r.left, r.top, r.Width(), r.Height());
        }
        painter.setClipRegion(outside);
        const CPixelPoint centre = m_editor.LinkStart();
        painter.setPen(QPen(Qt::red, 1));
        painter.drawLine(centre.x, centre.y, cursor.x, cursor.y);
    } else if (m_editor.Mode() == EditMode::ManualLink && m_editor.ManualLink().IsActive()) {
        const std::vector<LinePoint>& points = m_editor.ManualLink().Points();
        QPolygon entered;
        for (const LinePoint& p : points)
            entered << QPoint(p.x, p.y);
        painter.setPen(QPen(Qt::red, 1));
        painter.drawPolyline(entered);
        const LinePoint last = points.back();
        const LinePoint snapped{Round10(cursor.x), Round10(cursor.y)};
        const bool vertical = std::abs(last.x - snapped.x) < std::abs(last.y - snapped.y);
        const QPoint corner = vertical ? QPoint(last.x, snapped.y) : QPoint(snapped.x, last.y);
        painter.setPen(QPen(Qt::red, 1, Qt::DotLine));
        painter.drawPolyline(QPolygon({QPoint(last.x, last.y), corner, QPoint(snapped.x, snapped.y)}));
    }
    painter.restore();
}

void CBlockDiagramCtrl::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    SyncClientSize();
    SyncScrollBars();
}

void CBlockDiagramCtrl::scrollContentsBy(int, int) {
    if (m_syncing)
        return;
    // Dragging the scroll box scrolls in steps of ten pixels.
    const int x = horizontalScrollBar()->value();
    const int y = verticalScrollBar()->value();
    const bool dragging = horizontalScrollBar()->isSliderDown() || verticalScrollBar()->isSliderDown();
    m_editor.Diagram().Blocks().ScrollTo(dragging ? x / 10 * 10 : x, dragging ? y / 10 * 10 : y);
    SyncTextEditor();
    viewport()->update();
}

void CBlockDiagramCtrl::mousePressEvent(QMouseEvent* event) {
    if (m_textEditor != nullptr)
        EndTextEditor(true);
    setFocus(Qt::MouseFocusReason);
    const CPixelPoint point = WindowPoint(event->position());
    if (event->button() == Qt::LeftButton) {
        BeginStep();
        m_editor.OnLeftButtonDown(point);
        AfterGesture();
    } else if (event->button() == Qt::RightButton) {
        const bool menu = m_editor.OnRightButtonDown(point);
        AfterGesture();
        if (menu)
            emit contextMenuRequested(event->globalPosition().toPoint());
    }
}

void CBlockDiagramCtrl::mouseMoveEvent(QMouseEvent* event) {
    const CPixelPoint point = WindowPoint(event->position());
    if ((event->buttons() & Qt::LeftButton) != 0 || m_editor.Mode() == EditMode::ManualLink)
        m_editor.OnMouseMove(point);
    else
        m_editor.OnHover(point);
    AfterGesture();
}

void CBlockDiagramCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_editor.OnLeftButtonUp(WindowPoint(event->position()));
    EndStep();
    AfterGesture();
}

void CBlockDiagramCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    BeginStep();
    const bool passOn = m_editor.OnDoubleClick(WindowPoint(event->position()));
    EndStep();
    AfterGesture();
    if (passOn)
        emit doubleClicked();
}

void CBlockDiagramCtrl::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const std::optional<DiagramKey> key = modifiers == Qt::NoModifier ? KeyOf(event->key()) : std::nullopt;
    if (!key) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    BeginStep();
    m_editor.OnKeyDown(*key);
    EndStep();
    AfterGesture();
    event->accept();
}

// Ctrl with the wheel zooms a step a notch around the cursor; the wheel alone scrolls.
void CBlockDiagramCtrl::wheelEvent(QWheelEvent* event) {
    if ((event->modifiers() & Qt::ControlModifier) == 0) {
        m_wheelAngle = 0;
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    event->accept();
    m_wheelAngle += event->angleDelta().y();
    while (std::abs(m_wheelAngle) >= kWheelNotch) {
        const bool in = m_wheelAngle > 0;
        m_wheelAngle += in ? -kWheelNotch : kWheelNotch;
        CDiagramZoom next = m_zoom;
        if (!(in ? next.ZoomIn() : next.ZoomOut())) {
            m_wheelAngle = 0;
            break;
        }
        ZoomAround(next.Factor(), event->position());
    }
}

bool CBlockDiagramCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_textEditor && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        EndTextEditor(false);
        return true;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

bool CBlockDiagramCtrl::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave && m_editor.Mode() == EditMode::OverLine) {
        m_editor.SetMode(EditMode::Select);
        viewport()->setCursor(Qt::ArrowCursor);
    }
    return QAbstractScrollArea::viewportEvent(event);
}

} // namespace kestra
