#include "diagram/block_diagram_bar.h"

#include "diagram/block_diagram_ctrl.h"
#include "picture/diagram_export.h"
#include "picture/diagram_painter.h"
#include "print/picture_pages.h"
#include "project/hierarchy_item.h"
#include "strings/qt_text.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>

namespace kestra {

namespace {

QFont CaptionFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    font.setBold(true);
    return font;
}

} // namespace

CDiagramCaption::CDiagramCaption(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void CDiagramCaption::SetText(const QString& text) {
    m_text = text;
    update();
}

void CDiagramCaption::SetActive(bool active) {
    if (active == m_active)
        return;
    m_active = active;
    update();
}

void CDiagramCaption::SetZoomPercent(int percent) {
    m_zoomText = percent == 100 ? QString() : QStringLiteral("Zoom %1 %").arg(percent);
    update();
}

QSize CDiagramCaption::sizeHint() const {
    return QSize(100, QFontMetrics(CaptionFont()).height() + 6);
}

void CDiagramCaption::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette colours = palette();
    const QRect area = rect();
    painter.fillRect(area, colours.color(QPalette::Button));
    // While the pane has the focus the caption is a pressed button; the text's shadow swaps.
    const QColor light = colours.color(QPalette::Light);
    const QColor dark = colours.color(QPalette::Dark);
    painter.setPen(m_active ? dark : light);
    painter.drawLine(area.topLeft(), area.topRight());
    painter.drawLine(area.topLeft(), area.bottomLeft());
    painter.setPen(m_active ? light : dark);
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    painter.drawLine(area.topRight(), area.bottomRight());
    painter.setFont(CaptionFont());
    const QRect textArea = area.adjusted(6, 0, -6, 0);
    const QColor text = colours.color(QPalette::ButtonText);
    const QColor shadow = QColor(0x80, 0x80, 0x80);
    painter.setPen(m_active ? shadow : text);
    painter.drawText(textArea.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter, m_text);
    painter.setPen(m_active ? text : shadow);
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter, m_text);
    if (!m_zoomText.isEmpty()) {
        painter.setFont(font());
        painter.setPen(text);
        painter.drawText(textArea, Qt::AlignRight | Qt::AlignVCenter, m_zoomText);
    }
}

CBlockDiagramBar::CBlockDiagramBar(QWidget* parent)
    : QWidget(parent), m_caption(new CDiagramCaption(this)),
      m_canvas(new CBlockDiagramCtrl(m_pane.Editor(), this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_caption);
    layout->addWidget(m_canvas, 1);
    setFocusProxy(m_canvas);
    m_pane.SetBeep([] { QApplication::beep(); });
    m_pane.SetSignalsListener(this);
    m_canvas->SetStepHooks([this] { m_pane.BeginStep(); }, [this] { m_pane.EndStep(); });
    connect(m_canvas, &CBlockDiagramCtrl::contextMenuRequested, this,
            &CBlockDiagramBar::contextMenuRequested);
    connect(m_canvas, &CBlockDiagramCtrl::stateChanged, this, &CBlockDiagramBar::stateChanged);
    connect(m_canvas, &CBlockDiagramCtrl::doubleClicked, this, &CBlockDiagramBar::OnDoubleClicked);
    connect(m_canvas, &CBlockDiagramCtrl::zoomChanged, m_caption, &CDiagramCaption::SetZoomPercent);
    connect(qApp, &QApplication::focusChanged, this, &CBlockDiagramBar::OnFocusChanged);
}

CBlockDiagramBar::~CBlockDiagramBar() {
    disconnect(qApp, nullptr, this, nullptr);
}

QString CBlockDiagramBar::Caption() const {
    return TextToQt(m_pane.Caption());
}

bool CBlockDiagramBar::HasFocusInside() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && (focus == this || isAncestorOf(focus));
}

void CBlockDiagramBar::Show(CProjectSession* session, CHierarchyItem* item) {
    m_pane.Show(session, item);
    m_caption->SetText(Caption());
    m_canvas->Refresh();
    emit stateChanged();
}

void CBlockDiagramBar::CommitItem(CHierarchyItem* item) {
    if (item != nullptr && item == m_pane.Item())
        WriteBack();
}

void CBlockDiagramBar::ModuleInserted(const CHierarchyItem* parent, const CHierarchyItem* item) {
    if (!m_pane.ModuleInserted(parent, item))
        return;
    m_canvas->Refresh();
    emit stateChanged();
}

void CBlockDiagramBar::OnSignalsChangedElsewhere(CProjectSession* session, CHierarchyItem* owner) {
    if (!m_pane.SignalsChanged(session, owner))
        return;
    m_canvas->Refresh();
    emit stateChanged();
}

void CBlockDiagramBar::SignalsChanged(CProjectSession& session, CHierarchyItem* owner) {
    emit signalsEdited(&session, owner);
}

bool CBlockDiagramBar::WriteBack() {
    return m_pane.WriteBack();
}

void CBlockDiagramBar::ForgetItem(const CHierarchyItem* item) {
    const bool shown = m_pane.Item() != nullptr;
    m_pane.ForgetItem(item);
    if (shown && m_pane.Item() == nullptr)
        Show(nullptr, nullptr);
}

void CBlockDiagramBar::ForgetSession(const CProjectSession* session) {
    const bool shown = m_pane.Item() != nullptr;
    m_pane.ForgetSession(session);
    if (shown && m_pane.Item() == nullptr)
        Show(nullptr, nullptr);
}

void CBlockDiagramBar::Changed() {
    m_canvas->setFocus();
    m_canvas->Refresh();
    emit stateChanged();
}

void CBlockDiagramBar::OnIncreaseWidth() {
    m_pane.Edit("increase width", [this] { m_pane.Diagram().IncreaseWidth(); });
    Changed();
}

void CBlockDiagramBar::OnIncreaseHeight() {
    m_pane.Edit("increase height", [this] { m_pane.Diagram().IncreaseHeight(); });
    Changed();
}

void CBlockDiagramBar::OnZoomIn() {
    m_canvas->ZoomIn();
    Changed();
}

void CBlockDiagramBar::OnZoomOut() {
    m_canvas->ZoomOut();
    Changed();
}

void CBlockDiagramBar::OnFitToPane() {
    m_canvas->FitToPane();
    Changed();
}

void CBlockDiagramBar::OnRedrawFromVhdl() {
    m_pane.RedrawFromVhdl();
    Changed();
}

bool CBlockDiagramBar::OnUndo() {
    const bool undone = m_pane.Undo();
    Changed();
    return undone;
}

bool CBlockDiagramBar::OnRedo() {
    const bool redone = m_pane.Redo();
    Changed();
    return redone;
}

void CBlockDiagramBar::OnMode(EditMode mode) {
    m_pane.StartMode(mode);
    Changed();
}

void CBlockDiagramBar::OnInsertBlock() {
    OnMode(m_pane.InsertKind());
}

void CBlockDiagramBar::OnInterface(BlockKind kind) {
    m_pane.InterfaceAction(kind);
    Changed();
}

void CBlockDiagramBar::OnInterfaceAction() {
    OnInterface(m_pane.InterfaceKind());
}

void CBlockDiagramBar::OnAttributes(std::uint16_t value, std::uint16_t mask) {
    m_pane.Edit({}, [&] { m_pane.Diagram().SetAttributes(value, mask); });
    Changed();
}

void CBlockDiagramBar::OnLineStyle() {
    m_pane.Edit("line style", [this] { m_pane.Diagram().CycleLineStyle(); });
    Changed();
}

void CBlockDiagramBar::OnColour(std::uint32_t colour) {
    m_pane.ApplyColour(colour);
    Changed();
}

void CBlockDiagramBar::OnRemove() {
    if (!m_pane.CanRemove())
        return;
    m_pane.Remove();
    Changed();
}

CommandAnswer CBlockDiagramBar::Answer(EditCommand command) const {
    switch (command) {
    case EditCommand::Undo:
        return AnswerIf(m_pane.Item() != nullptr && m_pane.History().CanUndo());
    case EditCommand::Redo:
        return AnswerIf(m_pane.Item() != nullptr && m_pane.History().CanRedo());
    case EditCommand::Remove:
        return AnswerIf(m_pane.CanRemove());
    case EditCommand::CopyView:
    case EditCommand::Print:
        return CommandAnswer::Enabled;
    default:
        return CommandAnswer::Disabled;
    }
}

void CBlockDiagramBar::Run(EditCommand command) {
    switch (command) {
    case EditCommand::Undo:
        OnUndo();
        return;
    case EditCommand::Redo:
        OnRedo();
        return;
    case EditCommand::Remove:
        return OnRemove();
    case EditCommand::CopyView:
        return OnCopyView();
    default:
        return;
    }
}

QImage CBlockDiagramBar::Picture() const {
    return CDiagramPainter(m_pane.Diagram(), m_canvas->font(), CDiagramPainter::Look::Picture).Picture();
}

Outcome CBlockDiagramBar::ExportTo(const std::filesystem::path& path) {
    return ExportDiagram(m_pane.Diagram(), path);
}

void CBlockDiagramBar::OnCopyView() {
    QApplication::clipboard()->setImage(Picture());
}

Result<int> CBlockDiagramBar::Print(QPrinter& printer) {
    const CDiagramPainter painter(m_pane.Diagram(), m_canvas->font(), CDiagramPainter::Look::Picture);
    return PrintPicturePages(
        printer, Caption() + QStringLiteral(" Block Diagram"), painter.PictureSize(), m_canvas->font(),
        [&painter](QPainter& target, const QRect& area) {
            target.save();
            target.translate(-area.topLeft());
            painter.Paint(target, {area.left(), area.top(), area.right() + 1, area.bottom() + 1});
            target.restore();
        });
}

void CBlockDiagramBar::OnDoubleClicked() {
    CProjectSession* session = m_pane.Session();
    if (CHierarchyItem* target = m_pane.TakeDoubleClickTarget(); target != nullptr && session != nullptr)
        emit selectItemRequested(session, target);
}

void CBlockDiagramBar::OnFocusChanged(QWidget* old, QWidget* now) {
    const auto inside = [this](const QWidget* widget) {
        return widget != nullptr && (widget == this || isAncestorOf(widget));
    };
    m_caption->SetActive(inside(now));
    // The focus leaving for a window outside the pane (not a menu opened on it) writes back.
    if (inside(old) && !inside(now) && (now == nullptr || qobject_cast<QMenu*>(now->window()) == nullptr))
        WriteBack();
}

} // namespace kestra
