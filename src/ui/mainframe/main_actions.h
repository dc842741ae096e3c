#pragma once

#include <QList>

class QAction;
class QMenu;

namespace kestra {

// The block diagram's commands: sizes, the block and interface items with their toolbar
// buttons, line thickness and arrows with theirs, links, line style and the colour picker.
struct CDiagramActions {
    QAction* maximizeMenu = nullptr; // "&Maximize" in the context menu
    QAction* increaseWidth = nullptr;
    QAction* increaseHeight = nullptr;
    QAction* increaseHeightMenu = nullptr; // the context menu's own text
    QAction* blockCustom = nullptr;
    QAction* blockNormal = nullptr;
    QAction* blockLibrary = nullptr;
    QAction* blockPredefined = nullptr;
    QAction* insertBlock = nullptr;
    QAction* portText = nullptr;
    QAction* portIn = nullptr;
    QAction* portOut = nullptr;
    QAction* portInout = nullptr;
    QAction* portBuffer = nullptr;
    QAction* portLinkage = nullptr;
    QAction* interfaceButton = nullptr;
    QAction* insertText = nullptr;
    QAction* thickness1 = nullptr;
    QAction* thickness2 = nullptr;
    QAction* thickness3 = nullptr;
    QAction* thicknessButton = nullptr;
    QAction* arrowNone = nullptr;
    QAction* arrowHead = nullptr;
    QAction* arrowBoth = nullptr;
    QAction* arrowEnd = nullptr;
    QAction* arrowButton = nullptr;
    QAction* automaticLink = nullptr;
    QAction* manualLink = nullptr;
    QAction* lineStyle = nullptr;
    QAction* pickColour = nullptr;
    QAction* exportDiagram = nullptr;

    QList<QAction*> Blocks() const { return {blockCustom, blockNormal, blockLibrary, blockPredefined}; }
    QList<QAction*> Ports() const { return {portText, portIn, portOut, portInout, portBuffer, portLinkage}; }
    QList<QAction*> Thicknesses() const { return {thickness1, thickness2, thickness3}; }
    QList<QAction*> Arrows() const { return {arrowNone, arrowHead, arrowBoth, arrowEnd}; }
};

// Every command of the main window, each a QAction with its menu text, key and status-bar
// prompt. The main window owns them; the menus, the toolbar and the tree's context menu show
// the same actions, so a command is enabled or disabled in one place.
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
    QAction* insertRow = nullptr;

    QAction* addModule = nullptr;
    QAction* insertLibrary = nullptr;
    QAction* insertPredefined = nullptr;
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

    QAction* cascade = nullptr;
    QAction* tile = nullptr;
    QAction* nextWindow = nullptr;
    QAction* previousWindow = nullptr;

    QAction* userManual = nullptr;
    QAction* tutorial = nullptr;
    QAction* about = nullptr;

    CDiagramActions diagram;

    // The hierarchy pane's context menu, in its order; null entries are separators.
    QList<QAction*> TreeContextMenu() const;
    // The parameter list's context menu and its "Parameter" menu, in their order.
    QList<QAction*> ListContextMenu() const;
    // The signal list's context menu, in its order.
    QList<QAction*> SignalContextMenu() const;
};

// Adds the actions to the menu in order, a null entry as a separator.
void AddMenuActions(QMenu& menu, const QList<QAction*>& actions);

} // namespace kestra
