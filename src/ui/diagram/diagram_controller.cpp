#include "diagram/diagram_controller.h"

#include "diagram/block_diagram_bar.h"
#include "hierarchy/hierarchy_icons.h"
#include "hierarchy/hierarchy_model.h"
#include "hierarchy/kst_tree_view.h"
#include "mainframe/dock_bars.h"
#include "mainframe/main_actions.h"
#include "mainframe/ui_context.h"
#include "picture/diagram_painter.h"
#include "project/kst_doc.h"
#include "projectframe/project_frame.h"
#include "projectframe/project_windows.h"
#include "session/project_session.h"
#include "strings/qt_text.h"
#include "system/user_prompts.h"

#include <QAction>
#include <QColorDialog>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>

namespace kestra {

namespace {

using Spec = ActionSpec<CDiagramActions>;
using Qt::CTRL;

QKeyCombination CtrlAlt(Qt::Key key) {
    return QKeyCombination(Qt::ControlModifier | Qt::AltModifier, key);
}

// Ctrl+Alt with a digit, from the main keys or the keypad.
std::array<QKeyCombination, 2> CtrlAltDigit(Qt::Key digit) {
    return {CtrlAlt(digit),
            QKeyCombination(Qt::ControlModifier | Qt::AltModifier | Qt::KeypadModifier, digit)};
}

const Spec kDiagramActions[] = {
    {&CDiagramActions::maximizeMenu,
     {"&Maximize", {}, "Let the block diagram fill the window", nullptr, {}, true}},
    {&CDiagramActions::increaseWidth,
     {"Increase &Width", {CtrlAlt(Qt::Key_Right)}, "Make the diagram 100 pixels wider", "diagram-wider"}},
    {&CDiagramActions::increaseHeight,
     {"Increase &Height", {CtrlAlt(Qt::Key_Down)}, "Make the diagram 100 pixels taller", "diagram-taller"}},
    {&CDiagramActions::increaseHeightMenu, {"Increase &Hieght", {}, "Make the diagram 100 pixels taller"}},
    {&CDiagramActions::zoomIn,
     {"Zoom &In",
      {CTRL | Qt::Key_Plus, CTRL | Qt::Key_Equal},
      "Show the diagram larger (Ctrl+wheel zooms too)"}},
    {&CDiagramActions::zoomOut, {"Zoom &Out", {CTRL | Qt::Key_Minus}, "Show the diagram smaller"}},
    {&CDiagramActions::fitToPane, {"&Fit to Pane", {CTRL | Qt::Key_0}, "Show the whole drawing in the pane"}},
    {&CDiagramActions::redrawFromVhdl,
     {"&Redraw from VHDL", {}, "Lay the diagram out again from the module's architecture"}},
    {&CDiagramActions::blockCustom,
     {"&Custom Block",
      {CtrlAlt(Qt::Key_C)},
      "Insert a custom block at the next click",
      "block-custom",
      {},
      true}},
    {&CDiagramActions::blockNormal,
     {"&Normal Module",
      {CtrlAlt(Qt::Key_N)},
      "Insert a normal module block at the next click",
      "module",
      {},
      true}},
    {&CDiagramActions::blockLibrary,
     {"&Library Module",
      {CtrlAlt(Qt::Key_L)},
      "Insert a library module block at the next click",
      "library-module",
      {},
      true}},
    {&CDiagramActions::blockPredefined,
     {"&Predefined Module",
      {CtrlAlt(Qt::Key_P)},
      "Insert a predefined module block at the next click",
      "predefined-module",
      {},
      true}},
    {&CDiagramActions::insertBlock, {"Insert Block", {}, "Insert a block of the kind shown", "block-custom"}},
    {&CDiagramActions::portText,
     {"&Text\tCtrl+Alt+T",
      {},
      "Insert a text block, or turn the selected port into one",
      "port-text",
      {},
      true}},
    {&CDiagramActions::portIn,
     {"&In", {CtrlAlt(Qt::Key_I)}, "Insert an in port, or make the selected port one", "port-in", {}, true}},
    {&CDiagramActions::portOut,
     {"&Out",
      {CtrlAlt(Qt::Key_O)},
      "Insert an out port, or make the selected port one",
      "port-out",
      {},
      true}},
    {&CDiagramActions::portInout,
     {"Ino&ut",
      {CtrlAlt(Qt::Key_U)},
      "Insert an inout port, or make the selected port one",
      "port-inout",
      {},
      true}},
    {&CDiagramActions::portBuffer,
     {"&Buffer",
      {CtrlAlt(Qt::Key_B)},
      "Insert a buffer port, or make the selected port one",
      "port-buffer",
      {},
      true}},
    {&CDiagramActions::portLinkage,
     {"Lin&kage",
      {CtrlAlt(Qt::Key_K)},
      "Insert a linkage port, or make the selected port one",
      "port-linkage",
      {},
      true}},
    {&CDiagramActions::interfaceButton, {"Interface", {}, "Insert a port of the kind shown", "port-in"}},
    {&CDiagramActions::insertText,
     {"Insert Text Block", {CtrlAlt(Qt::Key_T)}, "Insert a text block at the next click"}},
    {&CDiagramActions::thickness1,
     {"Thickness &1", CtrlAltDigit(Qt::Key_1), "Thin lines", "thickness-1", {}, true}},
    {&CDiagramActions::thickness2,
     {"Thickness &2", CtrlAltDigit(Qt::Key_2), "Medium lines", "thickness-2", {}, true}},
    {&CDiagramActions::thickness3,
     {"Thickness &3", CtrlAltDigit(Qt::Key_3), "Thick lines", "thickness-3", {}, true}},
    {&CDiagramActions::thicknessButton,
     {"Thickness", {}, "Give the line the thickness shown", "thickness-2"}},
    {&CDiagramActions::arrowNone,
     {"&No Arrow", CtrlAltDigit(Qt::Key_0), "Lines without arrows", "arrow-none", {}, true}},
    {&CDiagramActions::arrowHead,
     {"Head &Arrow", CtrlAltDigit(Qt::Key_4), "An arrow at the start of the line", "arrow-head", {}, true}},
    {&CDiagramActions::arrowBoth,
     {"&Bidirectional Arrow",
      CtrlAltDigit(Qt::Key_5),
      "Arrows at both ends of the line",
      "arrow-both",
      {},
      true}},
    {&CDiagramActions::arrowEnd,
     {"&End Arrow", CtrlAltDigit(Qt::Key_6), "An arrow at the end of the line", "arrow-end", {}, true}},
    {&CDiagramActions::arrowButton, {"Arrow", {}, "Give the line the arrows shown", "arrow-end"}},
    {&CDiagramActions::automaticLink,
     {"A&utomatic Link", {CTRL | Qt::Key_A}, "Draw routed links from block to block", "link-automatic"}},
    {&CDiagramActions::manualLink,
     {"Manual &Link", {CTRL | Qt::Key_M}, "Draw a link point by point", "link-manual"}},
    {&CDiagramActions::lineStyle,
     {"Line &Style",
      {CtrlAlt(Qt::Key_Return), CtrlAlt(Qt::Key_Enter)},
      "Route the selected line another way",
      "line-style"}},
    {&CDiagramActions::pickColour,
     {"Pick Color", {}, "Colour the selected line or custom block", "pick-colour"}},
    {&CDiagramActions::exportDiagram,
     {"E&xport Diagram...", {}, "Save the diagram as an SVG, PDF or PNG file"}},
};

QIcon ColourIcon(std::uint32_t colour) {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.drawPixmap(0, 0, CHierarchyIcons::CommandIcon("pick-colour").pixmap(16, 16));
    painter.fillRect(QRect(0, 13, 16, 3), CDiagramPainter::ToQColor(colour));
    painter.end();
    return QIcon(picture);
}

QIcon SwatchIcon(std::uint32_t colour) {
    QPixmap picture(16, 16);
    picture.fill(CDiagramPainter::ToQColor(colour));
    QPainter painter(&picture);
    painter.setPen(Qt::gray);
    painter.drawRect(0, 0, 15, 15);
    painter.end();
    return QIcon(picture);
}

// The thickness value a button shows for a pen width: 1, 3 or 5.
int ThicknessIndex(int width) {
    return width <= 1 ? 0 : width <= 4 ? 1 : 2;
}

} // namespace

CDiagramController::CDiagramController(QMainWindow& window, CDockBars& bars, CMainActions& actions,
                                       const UiContext& ui, CProjectWindows& windows,
                                       std::function<void()> changed)
    : m_window(window), m_bars(bars), m_actions(actions), m_diagramActions(actions.diagram), m_ui(ui),
      m_windows(windows), m_changed(std::move(changed)), m_bar(new CBlockDiagramBar(bars.BlockDiagramBar())) {
    MakeActions(window, m_diagramActions, std::span<const Spec>(kDiagramActions));
    bars.BlockDiagramBar()->setWidget(m_bar);
    MakeColourMenu();
    MakeToolBars(window);
    m_contextMenu = std::make_unique<QMenu>();
    FillMenu(*m_contextMenu, true);
    connect(m_contextMenu.get(), &QMenu::aboutToShow, this, [this] { m_changed(); });
    ConnectCommands();
    ConnectAttributes();
    connect(m_bar, &CBlockDiagramBar::contextMenuRequested, this, [this](const QPoint& globalPos) {
        m_changed();
        m_contextMenu->popup(globalPos);
    });
    connect(m_bar, &CBlockDiagramBar::stateChanged, this, [this] { m_changed(); });
    connect(m_bar, &CBlockDiagramBar::selectItemRequested, this,
            [this](CProjectSession* session, CHierarchyItem* item) {
                if (C3SplitFrame* frame = m_windows.OfSession(session))
                    frame->TreeView()->SelectItem(item);
            });
    // Hiding the bar hides its toolbar; showing it shows both.
    connect(bars.BlockDiagramBar()->toggleViewAction(), &QAction::toggled, m_toolBar, &QWidget::setVisible);
    connect(actions.blockDiagram, &QAction::triggered, m_toolBar, &QWidget::setVisible);
    connect(&windows, &CProjectWindows::added, this, &CDiagramController::Connect);
    connect(&windows, &CProjectWindows::activated, this, &CDiagramController::ShowProject);
}

CDiagramController::~CDiagramController() = default;

// The "Bloc&k Diagram" menu and the context menu, which also toggles maximizing.
void CDiagramController::FillMenu(QMenu& menu, bool contextMenu) const {
    const CDiagramActions& d = m_diagramActions;
    if (contextMenu) {
        menu.addActions({d.maximizeMenu, d.increaseWidth, d.increaseHeightMenu});
    } else {
        menu.addActions({d.increaseWidth, d.increaseHeight});
        menu.addSeparator();
        menu.addActions({d.zoomIn, d.zoomOut, d.fitToPane});
        menu.addSeparator();
        menu.addAction(d.redrawFromVhdl);
        menu.addSeparator();
    }
    menu.addMenu(QStringLiteral("Bl&ock"))->addActions(d.Blocks());
    menu.addMenu(QStringLiteral("&Interface"))->addActions(d.Ports());
    AddMenuActions(menu, QList<QAction*>{nullptr} << d.Thicknesses() << nullptr << d.Arrows() << nullptr
                                                  << d.automaticLink << d.manualLink << d.lineStyle << nullptr
                                                  << d.exportDiagram);
}

void CDiagramController::AddMenu(QMenuBar& menuBar) {
    FillMenu(*menuBar.addMenu(QStringLiteral("Bloc&k Diagram")), false);
}

void CDiagramController::MakeColourMenu() {
    // The colour picker: the named colours, the default and the platform's colour dialog.
    m_colourMenu = std::make_unique<QMenu>();
    auto addColour = [this](const QString& name, std::uint32_t colour) {
        QAction* action = m_colourMenu->addAction(SwatchIcon(colour), name);
        connect(action, &QAction::triggered, this,
                [this, colour] { OnDiagram([colour](CBlockDiagramBar& bar) { bar.OnColour(colour); }); });
    };
    addColour(QString::fromLatin1(kPaletteDefaultName), kDefaultLineColour);
    m_colourMenu->addSeparator();
    for (const PaletteColour& entry : kColourPalette)
        addColour(QString::fromLatin1(entry.name), entry.colour);
    m_colourMenu->addSeparator();
    connect(m_colourMenu->addAction(QString::fromLatin1(kPaletteMoreName)), &QAction::triggered, this,
            [this] {
                QColorDialog dialog(CDiagramPainter::ToQColor(m_bar->Pane().PickerColour()), &m_window);
                if (m_ui.ExecDialog(dialog) == QDialog::Accepted) {
                    const std::uint32_t colour = CDiagramPainter::FromQColor(dialog.selectedColor());
                    OnDiagram([colour](CBlockDiagramBar& bar) { bar.OnColour(colour); });
                }
            });
}

// The block diagram toolbar and its four drop-down toolbars (hidden after the layout is
// restored).
void CDiagramController::MakeToolBars(QMainWindow& window) {
    const CDiagramActions& d = m_diagramActions;
    m_toolBar = new QToolBar(QStringLiteral("Block Diagram"), &window);
    m_toolBar->setObjectName(QStringLiteral("BlockDiagramToolBar"));
    m_toolBar->addActions({m_actions.maximizeDiagram, d.increaseWidth, d.increaseHeight});
    m_toolBar->addSeparator();
    auto addDropDown = [this](QAction* button, QMenu* menu) {
        m_toolBar->addAction(button);
        if (auto* tool = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(button))) {
            tool->setMenu(menu);
            tool->setPopupMode(QToolButton::MenuButtonPopup);
        }
    };
    addDropDown(d.pickColour, m_colourMenu.get());
    const std::pair<QAction*, QList<QAction*>> dropDowns[] = {{d.thicknessButton, d.Thicknesses()},
                                                              {d.arrowButton, d.Arrows()},
                                                              {d.interfaceButton, d.Ports()},
                                                              {d.insertBlock, d.Blocks()}};
    for (const auto& [button, items] : dropDowns) {
        m_dropDownMenus.push_back(std::make_unique<QMenu>());
        m_dropDownMenus.back()->addActions(items);
        addDropDown(button, m_dropDownMenus.back().get());
    }
    m_toolBar->addSeparator();
    m_toolBar->addActions({d.automaticLink, d.manualLink, d.lineStyle});
    window.addToolBar(Qt::BottomToolBarArea, m_toolBar);
    const std::pair<const char*, QList<QAction*>> hidden[] = {{"Line Thickness", d.Thicknesses()},
                                                              {"Arrow", d.Arrows()},
                                                              {"Interface", d.Ports()},
                                                              {"Block", d.Blocks()}};
    QList<QToolBar*> toolbars;
    for (const auto& [title, items] : hidden) {
        auto* toolbar = new QToolBar(QString::fromLatin1(title), &window);
        toolbar->setObjectName(QString::fromLatin1(title).remove(QLatin1Char(' ')) +
                               QStringLiteral("ToolBar"));
        toolbar->addActions(items);
        window.addToolBar(Qt::BottomToolBarArea, toolbar);
        toolbar->hide();
        toolbars << toolbar;
    }
    m_bars.SetDiagramToolBars(m_toolBar, toolbars);
}

void CDiagramController::OnCommand(QAction* action, std::function<void(CBlockDiagramBar&)> command) {
    connect(action, &QAction::triggered, this, [this, command = std::move(command)] { OnDiagram(command); });
}

void CDiagramController::ConnectCommands() {
    const CDiagramActions& d = m_diagramActions;
    connect(d.maximizeMenu, &QAction::triggered, m_actions.maximizeDiagram, &QAction::trigger);
    OnCommand(d.increaseWidth, [](CBlockDiagramBar& bar) { bar.OnIncreaseWidth(); });
    OnCommand(d.increaseHeight, [](CBlockDiagramBar& bar) { bar.OnIncreaseHeight(); });
    OnCommand(d.increaseHeightMenu, [](CBlockDiagramBar& bar) { bar.OnIncreaseHeight(); });
    OnCommand(d.zoomIn, [](CBlockDiagramBar& bar) { bar.OnZoomIn(); });
    OnCommand(d.zoomOut, [](CBlockDiagramBar& bar) { bar.OnZoomOut(); });
    OnCommand(d.fitToPane, [](CBlockDiagramBar& bar) { bar.OnFitToPane(); });
    OnCommand(d.redrawFromVhdl, [](CBlockDiagramBar& bar) { bar.OnRedrawFromVhdl(); });
    const std::pair<QAction*, EditMode> modes[] = {{d.blockCustom, EditMode::InsertCustom},
                                                   {d.blockNormal, EditMode::InsertNormalModule},
                                                   {d.blockLibrary, EditMode::InsertLibraryModule},
                                                   {d.blockPredefined, EditMode::InsertPredefinedModule},
                                                   {d.insertText, EditMode::InsertText},
                                                   {d.automaticLink, EditMode::AutomaticLink},
                                                   {d.manualLink, EditMode::ManualLink}};
    for (const auto& [action, mode] : modes) {
        const EditMode started = mode;
        OnCommand(action, [started](CBlockDiagramBar& bar) { bar.OnMode(started); });
    }
    OnCommand(d.insertBlock, [](CBlockDiagramBar& bar) { bar.OnInsertBlock(); });
    const std::pair<QAction*, BlockKind> ports[] = {
        {d.portText, BlockKind::TextBlock},    {d.portIn, BlockKind::InPort},
        {d.portOut, BlockKind::OutPort},       {d.portInout, BlockKind::InoutPort},
        {d.portBuffer, BlockKind::BufferPort}, {d.portLinkage, BlockKind::LinkagePort}};
    for (const auto& [action, kind] : ports) {
        const BlockKind port = kind;
        OnCommand(action, [port](CBlockDiagramBar& bar) { bar.OnInterface(port); });
    }
    OnCommand(d.interfaceButton, [](CBlockDiagramBar& bar) { bar.OnInterfaceAction(); });
    OnCommand(d.lineStyle, [](CBlockDiagramBar& bar) { bar.OnLineStyle(); });
    OnCommand(d.pickColour, [](CBlockDiagramBar& bar) { bar.OnColour(bar.Pane().PickerColour()); });
    connect(d.exportDiagram, &QAction::triggered, this, &CDiagramController::OnExport);
}

// The line thickness and arrow commands set bits of the line attributes; the two toolbar
// buttons apply the value they show.
void CDiagramController::ConnectAttributes() {
    const CDiagramActions& d = m_diagramActions;
    const std::pair<QAction*, std::uint16_t> widths[] = {
        {d.thickness1, 1}, {d.thickness2, 3}, {d.thickness3, 5}};
    for (const auto& [action, width] : widths) {
        const std::uint16_t value = width;
        OnCommand(action, [value](CBlockDiagramBar& bar) { bar.OnAttributes(value, LineRecord::WidthMask); });
    }
    OnCommand(d.thicknessButton, [button = d.thicknessButton](CBlockDiagramBar& bar) {
        bar.OnAttributes(static_cast<std::uint16_t>(button->data().toInt()), LineRecord::WidthMask);
    });
    const std::pair<QAction*, std::uint16_t> arrows[] = {
        {d.arrowNone, 0x00}, {d.arrowHead, 0x20}, {d.arrowBoth, 0x30}, {d.arrowEnd, 0x10}};
    for (const auto& [action, bits] : arrows) {
        const std::uint16_t value = bits;
        action->setData(value);
        OnCommand(action, [value](CBlockDiagramBar& bar) { bar.OnAttributes(value, 0xF0); });
    }
    OnCommand(d.arrowButton, [button = d.arrowButton](CBlockDiagramBar& bar) {
        bar.OnAttributes(static_cast<std::uint16_t>(button->data().toInt()), 0xF0);
    });
}

void CDiagramController::Connect(C3SplitFrame* frame) {
    connect(frame, &C3SplitFrame::sharedPanesReload, m_bar,
            [this](CProjectSession* session, CHierarchyItem* item, int panes) {
                if ((panes & CProjectObserver::kBlockDiagram) != 0)
                    m_bar->Show(session, item);
            });
    connect(frame, &C3SplitFrame::sharedPanesCommit, m_bar, &CBlockDiagramBar::CommitItem);
    connect(frame, &C3SplitFrame::sessionEnding, m_bar, &CBlockDiagramBar::ForgetSession);
    connect(frame, &C3SplitFrame::moduleInserted, m_bar, &CBlockDiagramBar::ModuleInserted);
    connect(&frame->TreeView()->Model(), &CHierarchyModel::itemAboutToBeRemoved, m_bar,
            &CBlockDiagramBar::ForgetItem);
}

void CDiagramController::ShowProject(C3SplitFrame* frame) {
    CProjectSession* session = frame != nullptr ? &frame->Session() : nullptr;
    CHierarchyItem* item = session != nullptr ? session->Selected() : nullptr;
    const CDiagramPane& pane = m_bar->Pane();
    if (item != nullptr && pane.Session() == session && pane.Item() == item)
        return;
    m_bar->CommitItem(pane.Item());
    m_bar->Show(item != nullptr ? session : nullptr, item);
}

void CDiagramController::OnDiagram(const std::function<void(CBlockDiagramBar&)>& command) {
    if (m_bars.BlockDiagramBar()->isHidden())
        return;
    command(*m_bar);
    m_changed();
}

void CDiagramController::OnExport() {
    if (!Shown())
        return;
    FileChoice choice;
    choice.title = "Export Diagram";
    choice.filters = {{"SVG Pictures (*.svg)", "*.svg"},
                      {"PDF Documents (*.pdf)", "*.pdf"},
                      {"PNG Images (*.png)", "*.png"}};
    choice.defaultExtension = "svg";
    const CProjectSession* session = m_bar->Pane().Session();
    const std::filesystem::path folder =
        session != nullptr ? session->Doc().GetProjectFolder() : std::filesystem::path();
    choice.initialPath = (folder / (m_bar->Pane().Item()->Text() + ".svg")).string();
    choice.forSaving = true;
    const std::optional<std::string> path = m_ui.prompts.ChooseFile(choice);
    if (!path)
        return;
    if (const Outcome exported = m_bar->ExportTo(*path); !exported)
        m_ui.prompts.ShowMessage(kDefaultPromptTitle,
                                 "Cannot export the diagram to " + *path + ".\n" + exported.Reason(),
                                 PromptIcon::Error);
}

bool CDiagramController::Shown() const {
    return m_bar->Pane().Item() != nullptr && !m_bars.BlockDiagramBar()->isHidden();
}

void CDiagramController::UpdateActions() {
    const CDiagramActions& d = m_diagramActions;
    const bool shown = Shown();
    for (const QList<QAction*>& group : {d.Blocks(), d.Ports(), d.Thicknesses(), d.Arrows()}) {
        for (QAction* action : group)
            action->setEnabled(shown);
    }
    for (QAction* action :
         {d.increaseWidth, d.increaseHeight, d.increaseHeightMenu, d.zoomIn, d.zoomOut, d.fitToPane,
          d.insertBlock, d.interfaceButton, d.insertText, d.thicknessButton, d.arrowButton, d.automaticLink,
          d.manualLink, d.lineStyle, d.pickColour, d.exportDiagram})
        action->setEnabled(shown);
    d.redrawFromVhdl->setEnabled(shown && m_bar->Pane().CanRedraw());
    d.maximizeMenu->setChecked(m_bars.IsDiagramMaximized());
    UpdateUndoTips();
    UpdateChecks();
}

// Undo and Redo name the step they take back.
void CDiagramController::UpdateUndoTips() {
    const CDiagramHistory& history = m_bar->Pane().History();
    m_actions.undo->setStatusTip(history.CanUndo() ? QStringLiteral("Undo ") + MessageToQt(history.UndoName())
                                                   : QStringLiteral("Undo the last diagram edit"));
    m_actions.redo->setStatusTip(history.CanRedo() ? QStringLiteral("Redo ") + MessageToQt(history.RedoName())
                                                   : QStringLiteral("Redo the diagram edit last undone"));
}

void CDiagramController::UpdateChecks() {
    const CDiagramActions& d = m_diagramActions;
    const CDiagramPane& pane = m_bar->Pane();
    const std::uint16_t attributes = pane.Diagram().Attributes();
    const int thickness = ThicknessIndex(attributes & LineRecord::WidthMask);
    static constexpr int kThicknessValues[] = {1, 3, 5};
    for (int i = 0; i < 3; ++i)
        d.Thicknesses()[i]->setChecked(i == thickness);
    d.thicknessButton->setIcon(d.Thicknesses()[thickness]->icon());
    d.thicknessButton->setData(kThicknessValues[thickness]);
    const int arrowBits = attributes & 0xF0;
    for (QAction* arrow : d.Arrows()) {
        arrow->setChecked(arrow->data().toInt() == arrowBits);
        if (arrow->isChecked()) {
            d.arrowButton->setIcon(arrow->icon());
            d.arrowButton->setData(arrowBits);
        }
    }
    const BlockKind interfaceKinds[] = {BlockKind::TextBlock, BlockKind::InPort,     BlockKind::OutPort,
                                        BlockKind::InoutPort, BlockKind::BufferPort, BlockKind::LinkagePort};
    for (int i = 0; i < 6; ++i) {
        const bool current = interfaceKinds[i] == pane.InterfaceKind();
        d.Ports()[i]->setChecked(current);
        if (current)
            d.interfaceButton->setIcon(d.Ports()[i]->icon());
    }
    const EditMode blockModes[] = {EditMode::InsertCustom, EditMode::InsertNormalModule,
                                   EditMode::InsertLibraryModule, EditMode::InsertPredefinedModule};
    for (int i = 0; i < 4; ++i) {
        const bool current = blockModes[i] == pane.InsertKind();
        d.Blocks()[i]->setChecked(current);
        if (current)
            d.insertBlock->setIcon(d.Blocks()[i]->icon());
    }
    d.pickColour->setIcon(ColourIcon(pane.PickerColour()));
}

} // namespace kestra
