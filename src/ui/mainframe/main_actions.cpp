// The main window's actions, menus and toolbar.
#include "hierarchy/hierarchy_icons.h"
#include "mainframe/dock_bars.h"
#include "mainframe/main_frame.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace kestra {

namespace {

// A command prompt holds the status-bar text and, after a line break, the tool tip.
QAction* MakeAction(QWidget* owner, const QString& text, const QKeySequence& key, const QString& prompt,
                    const char* icon = nullptr) {
    auto* action = new QAction(text, owner);
    if (!key.isEmpty())
        action->setShortcut(key);
    const qsizetype lineBreak = prompt.indexOf(QLatin1Char('\n'));
    action->setStatusTip(lineBreak < 0 ? prompt : prompt.left(lineBreak));
    if (lineBreak >= 0)
        action->setToolTip(prompt.mid(lineBreak + 1));
    if (icon != nullptr)
        action->setIcon(CHierarchyIcons::CommandIcon(icon));
    // Shortcuts keep working while the menu bar is hidden.
    owner->addAction(action);
    return action;
}

QAction* MakeToggle(QWidget* owner, const QString& text, const QString& prompt) {
    QAction* action = MakeAction(owner, text, {}, prompt);
    action->setCheckable(true);
    action->setChecked(true);
    return action;
}

} // namespace

QList<QAction*> CMainActions::TreeContextMenu() const {
    return {editVhdl, rename,    remove,     cut,           copy,      paste,
            copyView, nullptr,   moveToTop,  moveUp,        moveDown,  moveToBottom,
            nullptr,  setNormal, setLibrary, setPredefined, setPackage};
}

void AddMenuActions(QMenu& menu, const QList<QAction*>& actions) {
    for (QAction* action : actions) {
        if (action != nullptr)
            menu.addAction(action);
        else
            menu.addSeparator();
    }
}

QList<QAction*> CMainActions::SignalContextMenu() const {
    return {insertRow, remove,    cut,    copy,     paste,       copyView,
            nullptr,   moveToTop, moveUp, moveDown, moveToBottom};
}

QList<QAction*> CMainActions::ListContextMenu() const {
    return {invoke,   forceEdit, nullptr,   addNumeric, addDataType, addLogic,    addStyle,
            addNote,  addLink,   nullptr,   remove,     cut,         copy,        paste,
            copyView, nullptr,   moveToTop, moveUp,     moveDown,    moveToBottom};
}

void CMainFrame::CreateActions() {
    CMainActions& a = m_actions;
    a.newProject = MakeAction(this, QStringLiteral("&New Project..."), QKeySequence::New,
                              QStringLiteral("Create a new project\nNew Project"), "new-project");
    a.openProject = MakeAction(this, QStringLiteral("&Open Project..."), QKeySequence::Open,
                               QStringLiteral("Open an existing project\nOpen Project"), "open-project");
    a.closeProject = MakeAction(this, QStringLiteral("&Close Project"), {},
                                QStringLiteral("Save and close the active project\nClose Project"));
    a.saveProject = MakeAction(this, QStringLiteral("&Save Project"), QKeySequence::Save,
                               QStringLiteral("Save the active project\nSave Project"), "save-project");
    a.saveProjectAs = MakeAction(this, QStringLiteral("Save Project &As..."), {},
                                 QStringLiteral("Save the active project under a new name\nSave Project As"));
    a.properties = MakeAction(this, QStringLiteral("Propert&ies..."), {},
                              QStringLiteral("Show the project's creator and access permission\nProperties"));
    a.print = MakeAction(this, QStringLiteral("&Print..."), QKeySequence::Print,
                         QStringLiteral("Print the design hierarchy\nPrint"), "print");
    a.printPreview = MakeAction(this, QStringLiteral("Print Pre&view"), {},
                                QStringLiteral("Show the printed design hierarchy on screen\nPrint Preview"));
    for (int i = 0; i < CRecentFileList::kSize; ++i) {
        QAction* recent = MakeAction(this, QString(), {}, QStringLiteral("Open this project"));
        connect(recent, &QAction::triggered, this, [this, i] { OnOpenRecentFile(i); });
        a.recentFiles << recent;
    }
    a.exit = MakeAction(this, QStringLiteral("E&xit"), {},
                        QStringLiteral("Quit the application; saves the projects\nExit"));

    // Undo and Redo take back the block diagram's own edits while it has the focus.
    a.undo = MakeAction(this, QStringLiteral("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z),
                        QStringLiteral("Undo the last diagram edit\nUndo"));
    a.redo = MakeAction(this, QStringLiteral("&Redo"), QKeySequence(Qt::CTRL | Qt::Key_Y),
                        QStringLiteral("Redo the diagram edit last undone\nRedo"));
    a.redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    a.cut = MakeAction(this, QStringLiteral("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X),
                       QStringLiteral("Cut the selected module and its child modules\nCut"), "cut");
    a.copy = MakeAction(this, QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C),
                        QStringLiteral("Copy the selected module and its child modules\nCopy"), "copy");
    a.paste = MakeAction(this, QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V),
                         QStringLiteral("Paste the cut or copied modules below the selected module\nPaste"),
                         "paste");
    a.remove =
        MakeAction(this, QStringLiteral("&Remove"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
                   QStringLiteral("Remove the selected module and its child modules\nRemove"), "remove");
    a.copyView =
        MakeAction(this, QStringLiteral("Copy &View"), {},
                   QStringLiteral("Copy a picture of the design hierarchy to the clipboard\nCopy View"));

    a.insertRow = MakeAction(this, QStringLiteral("&Insert"), QKeySequence(Qt::Key_Insert),
                             QStringLiteral("Insert a blank row above the focused row\nInsert"));

    a.addModule =
        MakeAction(this, QStringLiteral("&Add Module"), QKeySequence(Qt::Key_F1),
                   QStringLiteral("Add a new module below the selected module\nAdd Module"), "add-module");
    a.insertLibrary =
        MakeAction(this, QStringLiteral("&Insert Library Module"), QKeySequence(Qt::Key_F2),
                   QStringLiteral("Insert a library module into project\nInsert Library Module"),
                   "insert-library-module");
    a.insertPredefined =
        MakeAction(this, QStringLiteral("I&nsert Predefined Module"), QKeySequence(Qt::Key_F3),
                   QStringLiteral("Insert a predefined module into project\nInsert Predefined Module"),
                   "insert-predefined-module");
    a.createLibrary =
        MakeAction(this, QStringLiteral("Create &Library Module"), QKeySequence(Qt::Key_F11),
                   QStringLiteral("Store the selected module into module library\nCreate Library Module"),
                   "create-library-module");
    a.createPredefined = MakeAction(
        this, QStringLiteral("Create &Predefined Module"), QKeySequence(Qt::Key_F12),
        QStringLiteral("Store the selected module into predefined module library\nCreate Predefined Module"),
        "create-predefined-module");
    a.analyzeModule = MakeAction(
        this, QStringLiteral("Analy&ze Module"), QKeySequence(Qt::Key_F4),
        QStringLiteral("Analyze the selected module from the VDHL file\nAnalyze Module"), "analyze");
    a.generate = MakeAction(
        this, QStringLiteral("&Generate"), QKeySequence(Qt::Key_F9),
        QStringLiteral("Generate synthesizable VHDL code for current module and all child modules\nGenerate"),
        "generate");
    a.generateIndividual = MakeAction(
        this, QStringLiteral("Generate In&dividual"), QKeySequence(Qt::CTRL | Qt::Key_F9),
        QStringLiteral("Generate synthesizable VHDL code for current module only\nGenerate Individual"),
        "generate-individual");
    // Enter runs Edit VHDL in the hierarchy pane only: the pane handles that key itself.
    a.editVhdl =
        MakeAction(this, QStringLiteral("&Edit VHDL\tEnter"), {},
                   QStringLiteral("Open the module's VHDL file in the HDL editor\nEdit VHDL"), "edit-vhdl");
    // Space starts the renaming in the hierarchy pane only: the pane handles that key itself.
    a.rename = MakeAction(this, QStringLiteral("Re&name\tSpace"), {},
                          QStringLiteral("Rename the selected module (its file too) or the project\nRename"));
    a.moveToTop = MakeAction(this, QStringLiteral("&Move To Top"), QKeySequence(Qt::CTRL | Qt::Key_Home),
                             QStringLiteral("Move the selected module before its siblings\nMove To Top"));
    a.moveUp = MakeAction(this, QStringLiteral("Move &Up One Item"), QKeySequence(Qt::CTRL | Qt::Key_Up),
                          QStringLiteral("Move the selected module up by one place\nMove Up One Item"));
    a.moveDown =
        MakeAction(this, QStringLiteral("Move &Down One Item"), QKeySequence(Qt::CTRL | Qt::Key_Down),
                   QStringLiteral("Move the selected module down by one place\nMove Down One Item"));
    a.moveToBottom =
        MakeAction(this, QStringLiteral("Move To &Bottom"), QKeySequence(Qt::CTRL | Qt::Key_End),
                   QStringLiteral("Move the selected module after its siblings\nMove To Bottom"));
    a.setNormal =
        MakeAction(this, QStringLiteral("Set As &Normal Module"), {},
                   QStringLiteral("Make the selected module a normal module\nSet As Normal Module"));
    a.setLibrary =
        MakeAction(this, QStringLiteral("Set As &Library Module"), {},
                   QStringLiteral("Make the selected module a library module\nSet As Library Module"));
    a.setPredefined =
        MakeAction(this, QStringLiteral("Set As Prede&fined Module"), {},
                   QStringLiteral("Make the selected module a predefined module\nSet As Predefined Module"));
    a.setPackage = MakeAction(this, QStringLiteral("Set As Pac&kage"), {},
                              QStringLiteral("Make the selected module a package\nSet As Package"));
    a.expandAll = MakeAction(this, QStringLiteral("&Expand All"), QKeySequence(Qt::CTRL | Qt::Key_E),
                             QStringLiteral("Show every module of the hierarchy\nExpand All"));
    a.collapseAll = MakeAction(this, QStringLiteral("Co&llapse All"), QKeySequence(Qt::CTRL | Qt::Key_L),
                               QStringLiteral("Show the project item only\nCollapse All"));

    // Enter and Space work in the parameter list only: the list handles those keys itself.
    a.invoke = MakeAction(this, QStringLiteral("&Invoke\tEnter"), {},
                          QStringLiteral("Edit, choose or open the selected parameter\nInvoke"));
    a.forceEdit = MakeAction(this, QStringLiteral("Force &Edit\tSpace"), {},
                             QStringLiteral("Edit the selected parameter's text\nForce Edit"));
    a.addNumeric = MakeAction(this, QStringLiteral("Add &Numeric Parameter"), {},
                              QStringLiteral("Add an integer parameter\nAdd Numeric Parameter"));
    a.addDataType = MakeAction(this, QStringLiteral("Add Data &Type Parameter"), {},
                               QStringLiteral("Add a data type parameter\nAdd Data Type Parameter"));
    a.addLogic = MakeAction(this, QStringLiteral("Add &Logic Parameter"), {},
                            QStringLiteral("Add a logic level parameter\nAdd Logic Parameter"));
    a.addStyle = MakeAction(this, QStringLiteral("Add &Style Parameter"), {},
                            QStringLiteral("Add a style parameter\nAdd Style Parameter"));
    a.addNote = MakeAction(this, QStringLiteral("Add N&ote"), {}, QStringLiteral("Add a note\nAdd Note"));
    a.addLink =
        MakeAction(this, QStringLiteral("Add Lin&k"), {}, QStringLiteral("Add a link to a file\nAdd Link"));

    a.toolbar = MakeToggle(this, QStringLiteral("&Toolbar"),
                           QStringLiteral("Show or hide the toolbar\nToggle Toolbar"));
    a.statusBar = MakeToggle(this, QStringLiteral("&Status Bar"),
                             QStringLiteral("Show or hide the status bar\nToggle Status Bar"));
    a.libraryBar = MakeToggle(this, QStringLiteral("&Library Bar"),
                              QStringLiteral("Show or hide the module library bar\nToggle Library Bar"));
    a.blockDiagram = MakeToggle(this, QStringLiteral("&Block Diagram"),
                                QStringLiteral("Show or hide the block diagram bar\nToggle Block Diagram"));
    a.signalList = MakeToggle(this, QStringLiteral("S&ignal List"),
                              QStringLiteral("Show or hide the signal list bar\nToggle Signal List"));
    a.focusTree = MakeAction(this, QStringLiteral("Focus to &Module Tree"), QKeySequence(Qt::Key_F5),
                             QStringLiteral("Move the focus to the hierarchy\nFocus to Module Tree"));
    a.focusList = MakeAction(this, QStringLiteral("Focus to &Parameter List"), QKeySequence(Qt::Key_F6),
                             QStringLiteral("Move the focus to the parameter list\nFocus to Parameter List"));
    a.focusSignals = MakeAction(this, QStringLiteral("&Focus to Signal List"), QKeySequence(Qt::Key_F7),
                                QStringLiteral("Move the focus to the signal list\nFocus to Signal List"));
    a.focusDiagram =
        MakeAction(this, QStringLiteral("Focus to Block &Diagram"), QKeySequence(Qt::Key_F8),
                   QStringLiteral("Move the focus to the block diagram\nFocus to Block Diagram"));
    a.maximizeDiagram = MakeAction(
        this, QStringLiteral("Ma&ximize Block Diagram"), QKeySequence(Qt::CTRL | Qt::Key_F),
        QStringLiteral("Let the block diagram fill the window\nMaximize Block Diagram"), "diagram-maximize");
    a.maximizeDiagram->setCheckable(true);

    a.synthesizer = MakeAction(this, QStringLiteral("VHDL &Synthesizer"), {},
                               QStringLiteral("Start the VHDL synthesizer\nVHDL Synthesizer"));
    a.implementer = MakeAction(this, QStringLiteral("&Implementation Tool"), {},
                               QStringLiteral("Start the implementation tool\nImplementation Tool"));
    a.vhdlSimulator = MakeAction(this, QStringLiteral("&VHDL Simulator"), {},
                                 QStringLiteral("Start the VHDL simulator\nVHDL Simulator"));
    a.functionalSimulator =
        MakeAction(this, QStringLiteral("&Functional Simulator"), {},
                   QStringLiteral("Start the functional simulator\nFunctional Simulator"));
    a.timingSimulator = MakeAction(this, QStringLiteral("&Timing Simulator"), {},
                                   QStringLiteral("Start the timing simulator\nTiming Simulator"));
    a.toolSettings = MakeAction(this, QStringLiteral("&Setting..."), {},
                                QStringLiteral("Set the external tools and their parameters\nTools Setting"));
    a.designFlow = MakeAction(this, QStringLiteral("&Design Flow"), QKeySequence(Qt::CTRL | Qt::Key_D),
                              QStringLiteral("Show Design Flow Dialog\nDesign Flow"), "design-flow");

    a.cascade = MakeAction(this, QStringLiteral("&Cascade"), {},
                           QStringLiteral("Arrange the project windows so they overlap"));
    a.tile = MakeAction(this, QStringLiteral("&Tile"), {},
                        QStringLiteral("Arrange the project windows side by side"));
    a.nextWindow = MakeAction(this, QStringLiteral("Ne&xt Window"), QKeySequence::NextChild,
                              QStringLiteral("Activate the next project window"));
    a.previousWindow = MakeAction(this, QStringLiteral("Pre&vious Window"), {},
                                  QStringLiteral("Activate the previous project window"));
    // The desktop's key is Ctrl+Shift+Tab, which arrives as Ctrl+Shift+Backtab; the menu shows
    // the first of the two as it is written.
    a.previousWindow->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)});

    a.userManual = MakeAction(this, QStringLiteral("User &Manual"), {},
                              QStringLiteral("Open the user manual\nUser Manual"), "help");
    a.tutorial =
        MakeAction(this, QStringLiteral("&Tutorial"), {}, QStringLiteral("Open the tutorial\nTutorial"));
    a.about = MakeAction(this, QStringLiteral("&About KESTRA..."), {},
                         QStringLiteral("Display program information, version number and copyright\nAbout"));
    CreateDiagramActions();
}

void CMainFrame::CreateMenus() {
    const CMainActions& a = m_actions;
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addActions({a.newProject, a.openProject, a.closeProject, a.saveProject, a.saveProjectAs});
    file->addSeparator();
    file->addAction(a.properties);
    file->addSeparator();
    file->addActions({a.print, a.printPreview});
    file->addSeparator();
    file->addActions(a.recentFiles);
    file->addSeparator();
    file->addAction(a.exit);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addActions({a.undo, a.redo});
    edit->addSeparator();
    edit->addActions({a.cut, a.copy, a.paste, a.remove});
    edit->addSeparator();
    edit->addAction(a.copyView);

    QMenu* module = menuBar()->addMenu(QStringLiteral("&Module"));
    module->addActions({a.addModule, a.insertLibrary, a.insertPredefined});
    module->addSeparator();
    module->addActions({a.analyzeModule, a.generate, a.generateIndividual});
    module->addSeparator();
    module->addActions({a.createLibrary, a.createPredefined});
    module->addSeparator();
    module->addActions({a.editVhdl, a.rename});
    module->addSeparator();
    module->addActions({a.moveToTop, a.moveUp, a.moveDown, a.moveToBottom});
    module->addSeparator();
    module->addActions({a.setNormal, a.setLibrary, a.setPredefined, a.setPackage});
    module->addSeparator();
    module->addActions({a.expandAll, a.collapseAll});

    QMenu* parameter = menuBar()->addMenu(QStringLiteral("&Parameter"));
    AddMenuActions(*parameter, a.ListContextMenu());

    const CDiagramActions& d = a.diagram;
    QMenu* diagram = menuBar()->addMenu(QStringLiteral("Bloc&k Diagram"));
    diagram->addActions({d.increaseWidth, d.increaseHeight});
    diagram->addSeparator();
    diagram->addMenu(QStringLiteral("Bl&ock"))->addActions(d.Blocks());
    diagram->addMenu(QStringLiteral("&Interface"))->addActions(d.Ports());
    diagram->addSeparator();
    diagram->addActions(d.Thicknesses());
    diagram->addSeparator();
    diagram->addActions(d.Arrows());
    diagram->addSeparator();
    diagram->addActions({d.automaticLink, d.manualLink, d.lineStyle});
    diagram->addSeparator();
    diagram->addAction(d.exportDiagram);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addActions({a.toolbar, a.statusBar, a.libraryBar, a.blockDiagram, a.signalList});
    view->addSeparator();
    view->addActions({a.focusTree, a.focusList, a.focusSignals, a.focusDiagram});
    view->addSeparator();
    view->addAction(a.maximizeDiagram);

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->addActions(
        {a.synthesizer, a.implementer, a.vhdlSimulator, a.functionalSimulator, a.timingSimulator});
    tools->addSeparator();
    tools->addAction(a.toolSettings);
    tools->addSeparator();
    tools->addAction(a.designFlow);

    QMenu* window = menuBar()->addMenu(QStringLiteral("&Window"));
    window->addActions({a.cascade, a.tile, a.nextWindow, a.previousWindow});

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addActions({a.userManual, a.tutorial});
    help->addSeparator();
    help->addAction(a.about);

    for (QMenu* menu : {file, edit, module, parameter, diagram, view, tools, window, help})
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateActions);
}

void CMainFrame::CreateToolBar() {
    const CMainActions& a = m_actions;
    m_mainToolBar = addToolBar(QStringLiteral("Toolbar"));
    m_mainToolBar->setObjectName(QStringLiteral("MainToolBar"));
    m_mainToolBar->addActions({a.newProject, a.openProject, a.saveProject});
    m_mainToolBar->addSeparator();
    m_mainToolBar->addActions({a.cut, a.copy, a.paste});
    m_mainToolBar->addSeparator();
    m_mainToolBar->addActions({a.addModule, a.insertLibrary, a.insertPredefined, a.remove, a.editVhdl});
    m_mainToolBar->addSeparator();
    m_mainToolBar->addActions({a.analyzeModule, a.generate, a.generateIndividual});
    m_mainToolBar->addSeparator();
    m_mainToolBar->addAction(a.designFlow);
    m_mainToolBar->addSeparator();
    m_mainToolBar->addActions({a.print, a.userManual});
}

} // namespace kestra
