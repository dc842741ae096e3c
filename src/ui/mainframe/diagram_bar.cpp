// The main window's block diagram bar: the pane shared by every project window, its commands,
// menus and toolbars, and what the project windows tell it.
#include "diagram/block_diagram_bar.h"
#include "diagram/block_diagram_ctrl.h"
#include "hierarchy/hierarchy_icons.h"
#include "hierarchy/hierarchy_model.h"
#include "hierarchy/kst_tree_view.h"
#include "mainframe/dock_bars.h"
#include "mainframe/main_frame.h"
#include "mainframe/project_frame.h"
#include "mainframe/ui_context.h"
#include "picture/diagram_painter.h"
#include "project/kst_doc.h"
#include "session/project_session.h"
#include "system/user_prompts.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QColorDialog>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>

namespace kestra {

namespace {

QAction* DiagramAction(QWidget* owner, const QString& text, const QList<QKeySequence>& keys,
                       const QString& tip, const char* icon = nullptr) {
    auto* action = new QAction(text, owner);
    action->setShortcuts(keys);
    action->setStatusTip(tip);
    if (icon != nullptr)
        action->setIcon(CHierarchyIcons::CommandIcon(icon));
    owner->addAction(action);
    return action;
}

// Ctrl+Alt with a digit, from the main keys or the keypad.
QList<QKeySequence> CtrlAltDigit(Qt::Key digit) {
    return {QKeySequence(Qt::CTRL | Qt::ALT | digit),
            QKeySequence(Qt::CTRL | Qt::ALT | Qt::KeypadModifier | digit)};
}

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

void CMainFrame::CreateDiagramActions() {
    CDiagramActions& d = m_actions.diagram;
    d.maximizeMenu = DiagramAction(this, QStringLiteral("&Maximize"), {},
                                   QStringLiteral("Let the block diagram fill the window"));
    d.maximizeMenu->setCheckable(true);
    d.increaseWidth = DiagramAction(this, QStringLiteral("Increase &Width"),
                                    {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Right)},
                                    QStringLiteral("Make the diagram 100 pixels wider"), "diagram-wider");
    d.increaseHeight = DiagramAction(this, QStringLiteral("Increase &Height"),
                                     {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Down)},
                                     QStringLiteral("Make the diagram 100 pixels taller"), "diagram-taller");
    d.increaseHeightMenu = DiagramAction(this, QStringLiteral("Increase &Hieght"), {},
                                         QStringLiteral("Make the diagram 100 pixels taller"));
    d.blockCustom =
        DiagramAction(this, QStringLiteral("&Custom Block"), {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C)},
                      QStringLiteral("Insert a custom block at the next click"), "block-custom");
    d.blockNormal =
        DiagramAction(this, QStringLiteral("&Normal Module"), {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N)},
                      QStringLiteral("Insert a normal module block at the next click"), "module");
    d.blockLibrary =
        DiagramAction(this, QStringLiteral("&Library Module"), {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_L)},
                      QStringLiteral("Insert a library module block at the next click"), "library-module");
    d.blockPredefined = DiagramAction(
        this, QStringLiteral("&Predefined Module"), {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P)},
        QStringLiteral("Insert a predefined module block at the next click"), "predefined-module");
    d.insertBlock = DiagramAction(this, QStringLiteral("Insert Block"), {},
                                  QStringLiteral("Insert a block of the kind shown"), "block-custom");
    d.portText =
        DiagramAction(this, QStringLiteral("&Text\tCtrl+Alt+T"), {},
                      QStringLiteral("Insert a text block, or turn the selected port into one"), "port-text");
    d.portIn = DiagramAction(this, QStringLiteral("&In"), {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_I)},
                             QStringLiteral("Insert an in port, or make the selected port one"), "port-in");
    d.portOut =
        DiagramAction(this, QStringLiteral("&Out"), {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_O)},
                      QStringLiteral("Insert an out port, or make the selected port one"), "port-out");
    d.portInout =
        DiagramAction(this, QStringLiteral("Ino&ut"), {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_U)},
                      QStringLiteral("Insert an inout port, or make the selected port one"), "port-inout");
    d.portBuffer =
        DiagramAction(this, QStringLiteral("&Buffer"), {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_B)},
                      QStringLiteral("Insert a buffer port, or make the selected port one"), "port-buffer");
    d.portLinkage =
        DiagramAction(this, QStringLiteral("Lin&kage"), {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_K)},
                      QStringLiteral("Insert a linkage port, or make the selected port one"), "port-linkage");
    d.interfaceButton = DiagramAction(this, QStringLiteral("Interface"), {},
                                      QStringLiteral("Insert a port of the kind shown"), "port-in");
    d.insertText = DiagramAction(this, QStringLiteral("Insert Text Block"),
                                 {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_T)},
                                 QStringLiteral("Insert a text block at the next click"));
    d.thickness1 = DiagramAction(this, QStringLiteral("Thickness &1"), CtrlAltDigit(Qt::Key_1),
                                 QStringLiteral("Thin lines"), "thickness-1");
    d.thickness2 = DiagramAction(this, QStringLiteral("Thickness &2"), CtrlAltDigit(Qt::Key_2),
                                 QStringLiteral("Medium lines"), "thickness-2");
    d.thickness3 = DiagramAction(this, QStringLiteral("Thickness &3"), CtrlAltDigit(Qt::Key_3),
                                 QStringLiteral("Thick lines"), "thickness-3");
    d.thicknessButton = DiagramAction(this, QStringLiteral("Thickness"), {},
                                      QStringLiteral("Give the line the thickness shown"), "thickness-2");
    d.arrowNone = DiagramAction(this, QStringLiteral("&No Arrow"), CtrlAltDigit(Qt::Key_0),
                                QStringLiteral("Lines without arrows"), "arrow-none");
    d.arrowHead = DiagramAction(this, QStringLiteral("Head &Arrow"), CtrlAltDigit(Qt::Key_4),
                                QStringLiteral("An arrow at the start of the line"), "arrow-head");
    d.arrowBoth = DiagramAction(this, QStringLiteral("&Bidirectional Arrow"), CtrlAltDigit(Qt::Key_5),
                                QStringLiteral("Arrows at both ends of the line"), "arrow-both");
    d.arrowEnd = DiagramAction(this, QStringLiteral("&End Arrow"), CtrlAltDigit(Qt::Key_6),
                               QStringLiteral("An arrow at the end of the line"), "arrow-end");
    d.arrowButton = DiagramAction(this, QStringLiteral("Arrow"), {},
                                  QStringLiteral("Give the line the arrows shown"), "arrow-end");
    d.automaticLink =
        DiagramAction(this, QStringLiteral("A&utomatic Link"), {QKeySequence(Qt::CTRL | Qt::Key_A)},
                      QStringLiteral("Draw routed links from block to block"), "link-automatic");
    d.manualLink = DiagramAction(this, QStringLiteral("Manual &Link"), {QKeySequence(Qt::CTRL | Qt::Key_M)},
                                 QStringLiteral("Draw a link point by point"), "link-manual");
    d.lineStyle = DiagramAction(
        this, QStringLiteral("Line &Style"),
        {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Enter)},
        QStringLiteral("Route the selected line another way"), "line-style");
    d.pickColour = DiagramAction(this, QStringLiteral("Pick Color"), {},
                                 QStringLiteral("Colour the selected line or custom block"), "pick-colour");
    d.exportDiagram = DiagramAction(this, QStringLiteral("E&xport Diagram..."), {},
                                    QStringLiteral("Save the diagram as an SVG, PDF or PNG file"));
    for (const QList<QAction*>& group : {d.Blocks(), d.Ports(), d.Thicknesses(), d.Arrows()}) {
        for (QAction* action : group)
            action->setCheckable(true);
    }
}

void CMainFrame::CreateDiagramBar() {
    const CDiagramActions& d = m_actions.diagram;
    m_diagramBar = new CBlockDiagramBar(m_bars->BlockDiagramBar());
    m_bars->BlockDiagramBar()->setWidget(m_diagramBar);

    // The colour picker: the named colours, the default and the platform's colour dialog.
    m_colourMenu = new QMenu(this);
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
                QColorDialog dialog(CDiagramPainter::ToQColor(m_diagramBar->Pane().PickerColour()), this);
                if (m_ui.ExecDialog(dialog) == QDialog::Accepted) {
                    const std::uint32_t colour = CDiagramPainter::FromQColor(dialog.selectedColor());
                    OnDiagram([colour](CBlockDiagramBar& bar) { bar.OnColour(colour); });
                }
            });

    // The block diagram toolbar and its four drop-down toolbars.
    m_diagramToolBar = new QToolBar(QStringLiteral("Block Diagram"), this);
    m_diagramToolBar->setObjectName(QStringLiteral("BlockDiagramToolBar"));
    m_diagramToolBar->addActions({m_actions.maximizeDiagram, d.increaseWidth, d.increaseHeight});
    m_diagramToolBar->addSeparator();
    auto addDropDown = [this](QAction* button, const QList<QAction*>& items, QMenu* menu = nullptr) {
        if (menu == nullptr) {
            menu = new QMenu(this);
            menu->addActions(items);
        }
        m_diagramToolBar->addAction(button);
        if (auto* tool = qobject_cast<QToolButton*>(m_diagramToolBar->widgetForAction(button))) {
            tool->setMenu(menu);
            tool->setPopupMode(QToolButton::MenuButtonPopup);
        }
    };
    addDropDown(d.pickColour, {}, m_colourMenu);
    addDropDown(d.thicknessButton, d.Thicknesses());
    addDropDown(d.arrowButton, d.Arrows());
    addDropDown(d.interfaceButton, d.Ports());
    addDropDown(d.insertBlock, d.Blocks());
    m_diagramToolBar->addSeparator();
    m_diagramToolBar->addActions({d.automaticLink, d.manualLink, d.lineStyle});
    addToolBar(Qt::BottomToolBarArea, m_diagramToolBar);
    const std::pair<const char*, QList<QAction*>> dropDowns[] = {{"Line Thickness", d.Thicknesses()},
                                                                 {"Arrow", d.Arrows()},
                                                                 {"Interface", d.Ports()},
                                                                 {"Block", d.Blocks()}};
    QList<QToolBar*> toolbars;
    for (const auto& [title, items] : dropDowns) {
        auto* toolbar = new QToolBar(QString::fromLatin1(title), this);
        toolbar->setObjectName(QString::fromLatin1(title).remove(QLatin1Char(' ')) +
                               QStringLiteral("ToolBar"));
        toolbar->addActions(items);
        addToolBar(Qt::BottomToolBarArea, toolbar);
        toolbar->hide();
        toolbars << toolbar;
    }
    m_bars->SetDiagramToolBars(m_diagramToolBar, toolbars);

    // The context menu.
    m_diagramMenu = new QMenu(this);
    m_diagramMenu->addActions({d.maximizeMenu, d.increaseWidth, d.increaseHeightMenu});
    QMenu* blocks = m_diagramMenu->addMenu(QStringLiteral("Bl&ock"));
    blocks->addActions(d.Blocks());
    QMenu* ports = m_diagramMenu->addMenu(QStringLiteral("&Interface"));
    ports->addActions(d.Ports());
    m_diagramMenu->addSeparator();
    m_diagramMenu->addActions(d.Thicknesses());
    m_diagramMenu->addSeparator();
    m_diagramMenu->addActions(d.Arrows());
    m_diagramMenu->addSeparator();
    m_diagramMenu->addActions({d.automaticLink, d.manualLink, d.lineStyle});
    m_diagramMenu->addSeparator();
    m_diagramMenu->addAction(d.exportDiagram);
    connect(m_diagramMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateActions);

    ConnectDiagramCommands();
    connect(m_diagramBar, &CBlockDiagramBar::contextMenuRequested, this, [this](const QPoint& globalPos) {
        UpdateActions();
        m_diagramMenu->popup(globalPos);
    });
    connect(m_diagramBar, &CBlockDiagramBar::stateChanged, this, &CMainFrame::UpdateActions);
    connect(m_diagramBar, &CBlockDiagramBar::selectItemRequested, this,
            [this](CProjectSession* session, CHierarchyItem* item) {
                for (C3SplitFrame* frame : Projects()) {
                    if (&frame->Session() == session)
                        frame->TreeView()->SelectItem(item);
                }
            });
    // Hiding the bar hides its toolbar; showing it shows both.
    connect(m_bars->BlockDiagramBar()->toggleViewAction(), &QAction::toggled, m_diagramToolBar,
            &QWidget::setVisible);
    connect(m_actions.blockDiagram, &QAction::triggered, m_diagramToolBar, &QWidget::setVisible);
}

void CMainFrame::ConnectDiagramCommands() {
    const CDiagramActions& d = m_actions.diagram;
    auto on = [this](QAction* action, auto command) {
        connect(action, &QAction::triggered, this, [this, command] { OnDiagram(command); });
    };
    connect(d.maximizeMenu, &QAction::triggered, m_actions.maximizeDiagram, &QAction::trigger);
    on(d.increaseWidth, [](CBlockDiagramBar& bar) { bar.OnIncreaseWidth(); });
    on(d.increaseHeight, [](CBlockDiagramBar& bar) { bar.OnIncreaseHeight(); });
    on(d.increaseHeightMenu, [](CBlockDiagramBar& bar) { bar.OnIncreaseHeight(); });
    const std::pair<QAction*, EditMode> modes[] = {{d.blockCustom, EditMode::InsertCustom},
                                                   {d.blockNormal, EditMode::InsertNormalModule},
                                                   {d.blockLibrary, EditMode::InsertLibraryModule},
                                                   {d.blockPredefined, EditMode::InsertPredefinedModule},
                                                   {d.insertText, EditMode::InsertText},
                                                   {d.automaticLink, EditMode::AutomaticLink},
                                                   {d.manualLink, EditMode::ManualLink}};
    for (const auto& [action, mode] : modes)
        on(action, [mode](CBlockDiagramBar& bar) { bar.OnMode(mode); });
    on(d.insertBlock, [](CBlockDiagramBar& bar) { bar.OnInsertBlock(); });
    const std::pair<QAction*, BlockKind> ports[] = {
        {d.portText, BlockKind::TextBlock},    {d.portIn, BlockKind::InPort},
        {d.portOut, BlockKind::OutPort},       {d.portInout, BlockKind::InoutPort},
        {d.portBuffer, BlockKind::BufferPort}, {d.portLinkage, BlockKind::LinkagePort}};
    for (const auto& [action, kind] : ports)
        on(action, [kind](CBlockDiagramBar& bar) { bar.OnInterface(kind); });
    on(d.interfaceButton, [](CBlockDiagramBar& bar) { bar.OnInterfaceAction(); });
    const std::pair<QAction*, std::uint16_t> widths[] = {
        {d.thickness1, 1}, {d.thickness2, 3}, {d.thickness3, 5}};
    for (const auto& [action, width] : widths)
        on(action, [width](CBlockDiagramBar& bar) { bar.OnAttributes(width, LineRecord::WidthMask); });
    on(d.thicknessButton, [this](CBlockDiagramBar& bar) {
        bar.OnAttributes(static_cast<std::uint16_t>(m_actions.diagram.thicknessButton->data().toInt()),
                         LineRecord::WidthMask);
    });
    const std::pair<QAction*, std::uint16_t> arrows[] = {
        {d.arrowNone, 0x00}, {d.arrowHead, 0x20}, {d.arrowBoth, 0x30}, {d.arrowEnd, 0x10}};
    for (const auto& [action, bits] : arrows) {
        action->setData(bits);
        on(action, [bits](CBlockDiagramBar& bar) { bar.OnAttributes(bits, 0xF0); });
    }
    on(d.arrowButton, [this](CBlockDiagramBar& bar) {
        bar.OnAttributes(static_cast<std::uint16_t>(m_actions.diagram.arrowButton->data().toInt()), 0xF0);
    });
    on(d.lineStyle, [](CBlockDiagramBar& bar) { bar.OnLineStyle(); });
    on(d.pickColour, [](CBlockDiagramBar& bar) { bar.OnColour(bar.Pane().PickerColour()); });
    on(m_actions.undo, [](CBlockDiagramBar& bar) { bar.OnUndo(); });
    on(m_actions.redo, [](CBlockDiagramBar& bar) { bar.OnRedo(); });
    connect(d.exportDiagram, &QAction::triggered, this, &CMainFrame::OnExportDiagram);
}

void CMainFrame::ConnectDiagramBar(C3SplitFrame* frame) {
    connect(frame, &C3SplitFrame::sharedPanesReload, m_diagramBar,
            [this](CProjectSession* session, CHierarchyItem* item, int panes) {
                if ((panes & CProjectObserver::kBlockDiagram) != 0)
                    m_diagramBar->Show(session, item);
            });
    connect(frame, &C3SplitFrame::sharedPanesCommit, m_diagramBar, &CBlockDiagramBar::CommitItem);
    connect(frame, &C3SplitFrame::sessionEnding, m_diagramBar, &CBlockDiagramBar::ForgetSession);
    connect(frame, &C3SplitFrame::moduleInserted, m_diagramBar, &CBlockDiagramBar::ModuleInserted);
    connect(&frame->TreeView()->Model(), &CHierarchyModel::itemAboutToBeRemoved, m_diagramBar,
            &CBlockDiagramBar::ForgetItem);
}

void CMainFrame::OnDiagram(const std::function<void(CBlockDiagramBar&)>& command) {
    if (m_bars->BlockDiagramBar()->isHidden())
        return;
    command(*m_diagramBar);
    UpdateActions();
}

void CMainFrame::OnExportDiagram() {
    if (m_diagramBar->Pane().Item() == nullptr || m_bars->BlockDiagramBar()->isHidden())
        return;
    FileChoice choice;
    choice.title = "Export Diagram";
    choice.filters = {{"SVG Pictures (*.svg)", "*.svg"},
                      {"PDF Documents (*.pdf)", "*.pdf"},
                      {"PNG Images (*.png)", "*.png"}};
    choice.defaultExtension = "svg";
    const CProjectSession* session = m_diagramBar->Pane().Session();
    const std::filesystem::path folder =
        session != nullptr ? session->Doc().GetProjectFolder() : std::filesystem::path();
    choice.initialPath = (folder / (m_diagramBar->Pane().Item()->Text() + ".svg")).string();
    choice.forSaving = true;
    const std::optional<std::string> path = m_ui.prompts.ChooseFile(choice);
    if (!path)
        return;
    if (const Outcome exported = m_diagramBar->ExportTo(*path); !exported)
        m_ui.prompts.ShowMessage(kDefaultPromptTitle,
                                 "Cannot export the diagram to " + *path + ".\n" + exported.Reason(),
                                 PromptIcon::Error);
}

bool CMainFrame::DiagramFocus() const {
    const QWidget* focus = FocusWidget();
    return m_diagramBar != nullptr && focus != nullptr &&
           (focus == m_diagramBar || m_diagramBar->isAncestorOf(focus));
}

void CMainFrame::UpdateDiagramActions() {
    const CDiagramActions& d = m_actions.diagram;
    const CDiagramPane& pane = m_diagramBar->Pane();
    const bool shown = pane.Item() != nullptr && !m_bars->BlockDiagramBar()->isHidden();
    for (const QList<QAction*>& group : {d.Blocks(), d.Ports(), d.Thicknesses(), d.Arrows()}) {
        for (QAction* action : group)
            action->setEnabled(shown);
    }
    for (QAction* action : {d.increaseWidth, d.increaseHeight, d.increaseHeightMenu, d.insertBlock,
                            d.interfaceButton, d.insertText, d.thicknessButton, d.arrowButton,
                            d.automaticLink, d.manualLink, d.lineStyle, d.pickColour, d.exportDiagram})
        action->setEnabled(shown);
    // Undo and Redo name the step they take back.
    const CDiagramHistory& history = pane.History();
    const bool diagramFocus = shown && DiagramFocus();
    m_actions.undo->setEnabled(diagramFocus && history.CanUndo());
    m_actions.redo->setEnabled(diagramFocus && history.CanRedo());
    m_actions.undo->setStatusTip(history.CanUndo()
                                     ? QStringLiteral("Undo ") + QString::fromStdString(history.UndoName())
                                     : QStringLiteral("Undo the last diagram edit"));
    m_actions.redo->setStatusTip(history.CanRedo()
                                     ? QStringLiteral("Redo ") + QString::fromStdString(history.RedoName())
                                     : QStringLiteral("Redo the diagram edit last undone"));
    d.maximizeMenu->setChecked(m_bars->IsDiagramMaximized());

    // Check marks and button images follow the current line attributes and the pane's kinds.
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
