// The main window's commands as tables: text, keys, status-bar prompt (and after a line break
// the tool tip) and image. What each does and when it is enabled is in the controller of the
// pane it acts on.
#include "mainframe/main_actions.h"

#include "actions/action_table.h"
#include "projectframe/recent_file_list.h"

#include <QAction>
#include <QWidget>

namespace kestra {

namespace {

using Spec = ActionSpec<CMainActions>;
using Qt::CTRL;
using Qt::SHIFT;

const Spec kFileActions[] = {
    {&CMainActions::newProject,
     {"&New Project...", {}, "Create a new project\nNew Project", "new-project", QKeySequence::New}},
    {&CMainActions::openProject,
     {"&Open Project...", {}, "Open an existing project\nOpen Project", "open-project", QKeySequence::Open}},
    {&CMainActions::closeProject, {"&Close Project", {}, "Save and close the active project\nClose Project"}},
    {&CMainActions::saveProject,
     {"&Save Project", {}, "Save the active project\nSave Project", "save-project", QKeySequence::Save}},
    {&CMainActions::saveProjectAs,
     {"Save Project &As...", {}, "Save the active project under a new name\nSave Project As"}},
    {&CMainActions::properties,
     {"Propert&ies...", {}, "Show the project's creator and access permission\nProperties"}},
    {&CMainActions::print,
     {"&Print...", {}, "Print the design hierarchy\nPrint", "print", QKeySequence::Print}},
    {&CMainActions::printPreview,
     {"Print Pre&view", {}, "Show the printed design hierarchy on screen\nPrint Preview"}},
    {&CMainActions::exit, {"E&xit", {}, "Quit the application; saves the projects\nExit"}},
};

// Undo and Redo take back the block diagram's own edits while it has the focus.
const Spec kEditActions[] = {
    {&CMainActions::undo, {"&Undo", {CTRL | Qt::Key_Z}, "Undo the last diagram edit\nUndo"}},
    {&CMainActions::redo,
     {"&Redo", {CTRL | Qt::Key_Y, CTRL | SHIFT | Qt::Key_Z}, "Redo the diagram edit last undone\nRedo"}},
    {&CMainActions::cut,
     {"Cu&t", {CTRL | Qt::Key_X}, "Cut the selected module and its child modules\nCut", "cut"}},
    {&CMainActions::copy,
     {"&Copy", {CTRL | Qt::Key_C}, "Copy the selected module and its child modules\nCopy", "copy"}},
    {&CMainActions::paste,
     {"&Paste",
      {CTRL | Qt::Key_V},
      "Paste the cut or copied modules below the selected module\nPaste",
      "paste"}},
    {&CMainActions::remove,
     {"&Remove",
      {CTRL | Qt::Key_Delete},
      "Remove the selected module and its child modules\nRemove",
      "remove"}},
    {&CMainActions::copyView,
     {"Copy &View", {}, "Copy a picture of the design hierarchy to the clipboard\nCopy View"}},
    // Ctrl+A is the block diagram's Automatic Link: the panes that select text take the key
    // themselves while they have the focus.
    {&CMainActions::selectAll, {"Select &All", {}, "Select everything in the pane\nSelect All"}},
    // The menu names the key as it is written on it, not "Ins".
    {&CMainActions::insertRow,
     {"&Insert\tInsert", {Qt::Key_Insert}, "Insert a blank row above the focused row\nInsert"}},
};

// Enter runs Edit VHDL and Space starts the renaming in the hierarchy pane only: the pane
// handles those keys itself.
const Spec kModuleActions[] = {
    {&CMainActions::addModule,
     {"&Add Module", {Qt::Key_F1}, "Add a new module below the selected module\nAdd Module", "add-module"}},
    {&CMainActions::insertLibrary,
     {"&Insert Library Module",
      {Qt::Key_F2},
      "Insert a library module into project\nInsert Library Module",
      "insert-library-module"}},
    {&CMainActions::insertPredefined,
     {"I&nsert Predefined Module",
      {Qt::Key_F3},
      "Insert a predefined module into project\nInsert Predefined Module",
      "insert-predefined-module"}},
    {&CMainActions::importDesign,
     {"Import VHDL &Design...",
      {},
      "Import a VHDL design of several files below the selected module\nImport VHDL Design",
      "import-design"}},
    {&CMainActions::createLibrary,
     {"Create &Library Module",
      {Qt::Key_F11},
      "Store the selected module into module library\nCreate Library Module",
      "create-library-module"}},
    {&CMainActions::createPredefined,
     {"Create &Predefined Module",
      {Qt::Key_F12},
      "Store the selected module into predefined module library\nCreate Predefined Module",
      "create-predefined-module"}},
    {&CMainActions::analyzeModule,
     {"Analy&ze Module",
      {Qt::Key_F4},
      "Analyze the selected module from the VDHL file\nAnalyze Module",
      "analyze"}},
    {&CMainActions::generate,
     {"&Generate",
      {Qt::Key_F9},
      "Generate synthesizable VHDL code for current module and all child modules\nGenerate",
      "generate"}},
    {&CMainActions::generateIndividual,
     {"Generate In&dividual",
      {CTRL | Qt::Key_F9},
      "Generate synthesizable VHDL code for current module only\nGenerate Individual",
      "generate-individual"}},
    {&CMainActions::editVhdl,
     {"&Edit VHDL\tEnter", {}, "Open the module's VHDL file in the HDL editor\nEdit VHDL", "edit-vhdl"}},
    {&CMainActions::rename,
     {"Re&name\tSpace", {}, "Rename the selected module (its file too) or the project\nRename"}},
    {&CMainActions::setNormal,
     {"Set As &Normal Module", {}, "Make the selected module a normal module\nSet As Normal Module"}},
    {&CMainActions::setLibrary,
     {"Set As &Library Module", {}, "Make the selected module a library module\nSet As Library Module"}},
    {&CMainActions::setPredefined,
     {"Set As Prede&fined Module",
      {},
      "Make the selected module a predefined module\nSet As Predefined Module"}},
    {&CMainActions::setPackage,
     {"Set As Pac&kage", {}, "Make the selected module a package\nSet As Package"}},
    {&CMainActions::expandAll,
     {"&Expand All", {CTRL | Qt::Key_E}, "Show every module of the hierarchy\nExpand All"}},
    {&CMainActions::collapseAll,
     {"Co&llapse All", {CTRL | Qt::Key_L}, "Show the project item only\nCollapse All"}},
};

// The four moves are shared by the panes that reorder rows; they speak of modules, and of
// signals while the signal list has the focus.
const Spec kModuleMoveActions[] = {
    {&CMainActions::moveToTop,
     {"&Move To Top", {CTRL | Qt::Key_Home}, "Move the selected module before its siblings\nMove To Top"}},
    {&CMainActions::moveUp,
     {"Move &Up One Item",
      {CTRL | Qt::Key_Up},
      "Move the selected module up by one place\nMove Up One Item"}},
    {&CMainActions::moveDown,
     {"Move &Down One Item",
      {CTRL | Qt::Key_Down},
      "Move the selected module down by one place\nMove Down One Item"}},
    {&CMainActions::moveToBottom,
     {"Move To &Bottom",
      {CTRL | Qt::Key_End},
      "Move the selected module after its siblings\nMove To Bottom"}},
};

const Spec kSignalMoveActions[] = {
    {&CMainActions::moveToTop,
     {"&Move to top\tCtrl+Home", {}, "Move the selected signal to the top\nMove to top"}},
    {&CMainActions::moveUp,
     {"Move &up one item\tCtrl+Up", {}, "Move the selected signal up one row\nMove up one item"}},
    {&CMainActions::moveDown,
     {"Move &down one item\tCtrl+Down", {}, "Move the selected signal down one row\nMove down one item"}},
    {&CMainActions::moveToBottom,
     {"Move to &bottom\tCtrl+End", {}, "Move the selected signal to the bottom\nMove to bottom"}},
};

// Enter and Space work in the parameter list only: the list handles those keys itself.
const Spec kParameterActions[] = {
    {&CMainActions::invoke, {"&Invoke\tEnter", {}, "Edit, choose or open the selected parameter\nInvoke"}},
    {&CMainActions::forceEdit, {"Force &Edit\tSpace", {}, "Edit the selected parameter's text\nForce Edit"}},
    {&CMainActions::addNumeric,
     {"Add &Numeric Parameter", {}, "Add an integer parameter\nAdd Numeric Parameter"}},
    {&CMainActions::addDataType,
     {"Add Data &Type Parameter", {}, "Add a data type parameter\nAdd Data Type Parameter"}},
    {&CMainActions::addLogic,
     {"Add &Logic Parameter", {}, "Add a logic level parameter\nAdd Logic Parameter"}},
    {&CMainActions::addStyle, {"Add &Style Parameter", {}, "Add a style parameter\nAdd Style Parameter"}},
    {&CMainActions::addNote, {"Add N&ote", {}, "Add a note\nAdd Note"}},
    {&CMainActions::addLink, {"Add Lin&k", {}, "Add a link to a file\nAdd Link"}},
};

// The bar toggles start checked; their check marks follow the bars.
const Spec kViewActions[] = {
    {&CMainActions::toolbar,
     {"&Toolbar", {}, "Show or hide the toolbar\nToggle Toolbar", nullptr, {}, true, true}},
    {&CMainActions::statusBar,
     {"&Status Bar", {}, "Show or hide the status bar\nToggle Status Bar", nullptr, {}, true, true}},
    {&CMainActions::libraryBar,
     {"&Library Bar",
      {},
      "Show or hide the module library bar\nToggle Library Bar",
      nullptr,
      {},
      true,
      true}},
    {&CMainActions::blockDiagram,
     {"&Block Diagram",
      {},
      "Show or hide the block diagram bar\nToggle Block Diagram",
      nullptr,
      {},
      true,
      true}},
    {&CMainActions::signalList,
     {"S&ignal List", {}, "Show or hide the signal list bar\nToggle Signal List", nullptr, {}, true, true}},
    {&CMainActions::vhdlEditor,
     {"&VHDL Editor", {}, "Show or hide the VHDL editor bar\nToggle VHDL Editor", nullptr, {}, true, true}},
    {&CMainActions::focusTree,
     {"Focus to &Module Tree", {Qt::Key_F5}, "Move the focus to the hierarchy\nFocus to Module Tree"}},
    {&CMainActions::focusList,
     {"Focus to &Parameter List",
      {Qt::Key_F6},
      "Move the focus to the parameter list\nFocus to Parameter List"}},
    {&CMainActions::focusSignals,
     {"&Focus to Signal List", {Qt::Key_F7}, "Move the focus to the signal list\nFocus to Signal List"}},
    {&CMainActions::focusDiagram,
     {"Focus to Block &Diagram",
      {Qt::Key_F8},
      "Move the focus to the block diagram\nFocus to Block Diagram"}},
    {&CMainActions::maximizeDiagram,
     {"Ma&ximize Block Diagram",
      {CTRL | Qt::Key_F},
      "Let the block diagram fill the window\nMaximize Block Diagram",
      "diagram-maximize",
      {},
      true}},
};

const Spec kToolActions[] = {
    {&CMainActions::synthesizer, {"VHDL &Synthesizer", {}, "Start the VHDL synthesizer\nVHDL Synthesizer"}},
    {&CMainActions::implementer,
     {"&Implementation Tool", {}, "Start the implementation tool\nImplementation Tool"}},
    {&CMainActions::vhdlSimulator, {"&VHDL Simulator", {}, "Start the VHDL simulator\nVHDL Simulator"}},
    {&CMainActions::functionalSimulator,
     {"&Functional Simulator", {}, "Start the functional simulator\nFunctional Simulator"}},
    {&CMainActions::timingSimulator,
     {"&Timing Simulator", {}, "Start the timing simulator\nTiming Simulator"}},
    {&CMainActions::toolSettings,
     {"&Setting...", {}, "Set the external tools and their parameters\nTools Setting"}},
    {&CMainActions::designFlow,
     {"&Design Flow", {CTRL | Qt::Key_D}, "Show Design Flow Dialog\nDesign Flow", "design-flow"}},
    {&CMainActions::viewWaveform,
     {"View &Waveform", {}, "Open the latest simulation's waveform in the waveform viewer\nView Waveform"}},
    {&CMainActions::flowSettings,
     {"F&PGA Flow Settings...",
      {},
      "Set the project's FPGA target, clock frequency, constraint file and test bench\nFPGA Flow Settings"}},
};

// The desktop's key for the previous window is Ctrl+Shift+Tab, which arrives as
// Ctrl+Shift+Backtab; the menu shows the first of the two as it is written.
const Spec kWindowActions[] = {
    {&CMainActions::cascade, {"&Cascade", {}, "Arrange the project windows so they overlap"}},
    {&CMainActions::tile, {"&Tile", {}, "Arrange the project windows side by side"}},
    {&CMainActions::nextWindow,
     {"Ne&xt Window", {}, "Activate the next project window", nullptr, QKeySequence::NextChild}},
    {&CMainActions::previousWindow,
     {"Pre&vious Window",
      {CTRL | SHIFT | Qt::Key_Tab, CTRL | SHIFT | Qt::Key_Backtab},
      "Activate the previous project window"}},
    {&CMainActions::userManual, {"User &Manual", {}, "Open the user manual\nUser Manual", "help"}},
    {&CMainActions::tutorial, {"&Tutorial", {}, "Open the tutorial\nTutorial"}},
    {&CMainActions::openExample,
     {"Open the &Example Project...",
      {},
      "Copy the example project into a folder of yours and open it\nOpen the Example Project"}},
    {&CMainActions::about,
     {"&About KESTRA...", {}, "Display program information, version number and copyright\nAbout"}},
};

} // namespace

void MakeMainActions(QWidget& owner, CMainActions& actions) {
    for (std::span<const Spec> table :
         {std::span<const Spec>(kFileActions), std::span<const Spec>(kEditActions),
          std::span<const Spec>(kModuleActions), std::span<const Spec>(kModuleMoveActions),
          std::span<const Spec>(kParameterActions), std::span<const Spec>(kViewActions),
          std::span<const Spec>(kToolActions), std::span<const Spec>(kWindowActions)})
        MakeActions(owner, actions, table);
    for (int i = 0; i < CRecentFileList::kSize; ++i)
        actions.recentFiles << MakeAction(owner, {"", {}, "Open this project"});
}

void SetMoveWording(const CMainActions& actions, MoveWording wording) {
    const std::span<const Spec> looks = wording == MoveWording::Signals
                                            ? std::span<const Spec>(kSignalMoveActions)
                                            : std::span<const Spec>(kModuleMoveActions);
    for (const Spec& row : looks)
        SetLook(*(actions.*row.member), row.look);
}

QList<QAction*> CMainActions::TreeContextMenu() const {
    return {editVhdl, rename,       remove,     cut,           copy,      paste,    copyView,
            nullptr,  importDesign, nullptr,    moveToTop,     moveUp,    moveDown, moveToBottom,
            nullptr,  setNormal,    setLibrary, setPredefined, setPackage};
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

} // namespace kestra
