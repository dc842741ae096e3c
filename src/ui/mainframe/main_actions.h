#pragma once

#include "diagram/diagram_actions.h"

#include <QList>

class QAction;
class QWidget;

namespace kestra {

// Every command of the main window, each a QAction with its menu text, key and status-bar
// prompt, made from the tables in main_actions.cpp. The main window owns them; the menus, the
// toolbars and the context menus show the same actions, so a command is enabled or disabled in
// one place: the controller of the pane it acts on.
struct CMainActions {
    QAction* newProject = nullptr;
    QAction* openProject = nullptr;
    QAction* closeProject = nullptr;
    QAction* saveProject = nullptr;
    QAction* saveProjectAs = nullptr;
    QAction* properties = nullptr;
    QAction* print = nullptr;
    QAction* printPreview = nullptr;
    QList<QAction*> recentFiles;
    QAction* exit = nullptr;

    QAction* undo = nullptr;
    QAction* redo = nullptr;
    QAction* cut = nullptr;
    QAction* copy = nullptr;
    QAction* paste = nullptr;
    QAction* remove = nullptr;
    QAction* copyView = nullptr;
    QAction* selectAll = nullptr;
    QAction* insertRow = nullptr;

    QAction* addModule = nullptr;
    QAction* insertLibrary = nullptr;
    QAction* insertPredefined = nullptr;
    QAction* importDesign = nullptr;
    QAction* createLibrary = nullptr;
    QAction* createPredefined = nullptr;
    QAction* analyzeModule = nullptr;
    QAction* generate = nullptr;
    QAction* generateIndividual = nullptr;
    QAction* editVhdl = nullptr;
    QAction* rename = nullptr;
    QAction* moveToTop = nullptr;
    QAction* moveUp = nullptr;
    QAction* moveDown = nullptr;
    QAction* moveToBottom = nullptr;
    QAction* setNormal = nullptr;
    QAction* setLibrary = nullptr;
    QAction* setPredefined = nullptr;
    QAction* setPackage = nullptr;
    QAction* expandAll = nullptr;
    QAction* collapseAll = nullptr;

    QAction* invoke = nullptr;
    QAction* forceEdit = nullptr;
    QAction* addNumeric = nullptr;
    QAction* addDataType = nullptr;
    QAction* addLogic = nullptr;
    QAction* addStyle = nullptr;
    QAction* addNote = nullptr;
    QAction* addLink = nullptr;

    QAction* toolbar = nullptr;
    QAction* statusBar = nullptr;
    QAction* libraryBar = nullptr;
    QAction* blockDiagram = nullptr;
    QAction* signalList = nullptr;
    QAction* vhdlEditor = nullptr;
    QAction* focusTree = nullptr;
    QAction* focusList = nullptr;
    QAction* focusSignals = nullptr;
    QAction* focusDiagram = nullptr;
    QAction* maximizeDiagram = nullptr;

    QAction* synthesizer = nullptr;
    QAction* implementer = nullptr;
    QAction* vhdlSimulator = nullptr;
    QAction* functionalSimulator = nullptr;
    QAction* timingSimulator = nullptr;
    QAction* toolSettings = nullptr;
    QAction* designFlow = nullptr;
    QAction* viewWaveform = nullptr;
    QAction* flowSettings = nullptr;

    QAction* cascade = nullptr;
    QAction* tile = nullptr;
    QAction* nextWindow = nullptr;
    QAction* previousWindow = nullptr;

    QAction* userManual = nullptr;
    QAction* tutorial = nullptr;
    QAction* openExample = nullptr;
    QAction* about = nullptr;

    CDiagramActions diagram;

    // The hierarchy pane's context menu, in its order; null entries are separators.
    QList<QAction*> TreeContextMenu() const;
    // The parameter list's context menu and its "Parameter" menu, in their order.
    QList<QAction*> ListContextMenu() const;
    // The signal list's context menu, in its order.
    QList<QAction*> SignalContextMenu() const;
};

// What the four move commands speak of: the hierarchy's modules (also in the parameter list),
// or the signal list's signals.
enum class MoveWording { Modules, Signals };
void SetMoveWording(const CMainActions& actions, MoveWording wording);

// Makes the actions of the main window's own menus, the module and parameter commands and the
// tool commands (the block diagram's are the diagram controller's), owned by `owner`.
void MakeMainActions(QWidget& owner, CMainActions& actions);

} // namespace kestra
