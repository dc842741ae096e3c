#pragma once

#include "diagram/diagram_editor.h"
#include "diagram/diagram_history.h"
#include "diagram/structure_diagram.h"
#include "library/library_roots.h"
#include "operations/connections.h"
#include "panes/signal_grid.h"
#include "session/project_session.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace kestra {

class CHierarchyItem;

// The block diagram pane without a window: the live diagram (through its gesture editor) of the
// module the hierarchy showed last, loaded from and written back into that module's record;
// the tool state of the pane (insert kind, interface kind, picker colour); the pane's commands;
// and the answers to the diagram's block notifications. The pane is shared by all project
// windows; the item and its session must be forgotten before either goes. The exchange with
// the module's signals and its child modules is made in the notification answers.
class CDiagramPane : public IDiagramListener, public IModulePorts {
public:
    CDiagramPane();

    CDiagramEditor& Editor() { return m_editor; }
    const CDiagramEditor& Editor() const { return m_editor; }
    CBlockDiagram& Diagram() { return m_editor.Diagram(); }
    const CBlockDiagram& Diagram() const { return m_editor.Diagram(); }
    // The window's system beep (refused gestures).
    void SetBeep(std::function<void()> beep) { m_beep = std::move(beep); }
    // Hears that the diagram changed the shown module's signals (the signal list reloads).
    void SetSignalsListener(CSignalsListener* listener) { m_signalsListener = listener; }
    // Starts Insert Library Module or Insert Predefined Module below the shown module, for an
    // unnamed module block of that colour; the module inserted meanwhile names that block.
    void SetLibraryInsertion(std::function<void(LibraryKind)> insertion) {
        m_libraryInsertion = std::move(insertion);
    }

    // Loads the item's record into the diagram with its child modules and signals, module blocks
    // grown to their names and pins and a port block added for every port that has none
    // (`LoadModuleDiagram`); no item (or one without a record) leaves the diagram empty under an
    // empty caption.
    void Show(CProjectSession* session, CHierarchyItem* item);
    // Writes a changed diagram into the shown item's record and, when the diagram changed its
    // signals, their port clause into its source (which is analysed again). True when the
    // record was written.
    bool WriteBack();
    // The signal list changed the module's signals: the port and text blocks follow. A child's
    // changed signals change its block's pins, and the block grows where they need it. True when
    // the drawing changed.
    bool SignalsChanged(const CProjectSession* session, const CHierarchyItem* owner);
    void ForgetItem(const CHierarchyItem* item);
    // A module inserted below the shown item gets its block in the diagram at once (the unnamed
    // block that started the insertion, if any); the block is written back with the diagram.
    // False when the diagram shows another item.
    bool ModuleInserted(const CHierarchyItem* parent, const CHierarchyItem* item);
    void ForgetSession(const CProjectSession* session);

    // Undo and redo of the diagram's own edits. A step runs from BeginStep to EndStep (the
    // canvas brackets every mouse gesture, key and text edit; the commands bracket themselves)
    // and is kept when the drawing changed. Edits that change signals, modules or files end the
    // history, so that undo never makes the diagram disagree with the VHDL; showing another
    // module clears it. An undo marks the diagram changed, so write-back stores it.
    void BeginStep();
    void EndStep(const std::string& name = {});
    void Edit(const std::string& name, const std::function<void()>& edit);
    const CDiagramHistory& History() const { return m_history; }
    bool Undo();
    bool Redo();

    CHierarchyItem* Item() const { return m_item; }
    CProjectSession* Session() const { return m_session; }
    // The shown module's name with every "_" shown as a space; empty when none is shown.
    const std::string& Caption() const { return m_caption; }

    // The block button's mode (custom block, normal, library or predefined module).
    EditMode InsertKind() const { return m_insertKind; }
    // Enters an insert or link mode. Module insertion is refused with a beep when the shown
    // item cannot take child modules. The block modes also become the insert kind.
    bool StartMode(EditMode mode);
    // The interface button's kind (a port kind, or `TextBlock`).
    BlockKind InterfaceKind() const { return m_interfaceKind; }
    // Re-shapes a selected port or text block into the kind (a named one through its signal,
    // whose mode becomes the kind's, or which goes for a text block), or enters the mode that
    // inserts one at the next click.
    void InterfaceAction(BlockKind kind);
    std::uint32_t PickerColour() const { return m_pickerColour; }
    // The picker colour recolours a selected line or custom block and colours new lines.
    void ApplyColour(std::uint32_t colour);

    // A selected line, or a selected module, port, text or custom block.
    bool CanRemove() const;
    // Deletes the selection; a module block's child module is removed from the hierarchy first,
    // with its question (a refusal keeps the block).
    void Remove();
    // After a double-click on the canvas in select mode: the child module the double-clicked
    // block names, or the shown module's parent when the canvas itself was hit; null for none.
    CHierarchyItem* TakeDoubleClickTarget();

    // Lays the shown module's diagram out again from its architecture (an undoable step).
    bool CanRedraw() const { return m_item != nullptr && m_structure.has_value(); }
    void RedrawFromVhdl();
    // Makes or removes the connection between two ends in the shown module's source, which is
    // analysed again, and draws the lines anew; a refusal is reported with its reason.
    bool ChangeConnection(ConnectionChange change, const ConnectionEnd& a, const ConnectionEnd& b);
    // The end of the architecture a line end stands for: a port block's port, or a pin of the
    // instance a module block stands for.
    std::optional<ConnectionEnd> ConnectionEndOf(const LineEnd& end) const;

    void Beep() override;
    int OnBlockNotify(CBlockNotify& notify) override;
    bool OnConnect(const LineEnd& from, const LineEnd& to) override;
    // The signals of the shown module's child of that name, as they are now.
    const CVHDLSignal* PortsOf(const std::string& childName) const override;
    // The generic parameters of the shown module's child of that name, with its values.
    std::vector<std::pair<std::string, std::string>> GenericsOf(const std::string& childName) const override;

private:
    void InterfaceStep(BlockKind kind);
    void OnBlockInserted(CBlockNotify& notify);
    void OnBlockTextEdited(CBlockNotify& notify);
    void OnModuleBlockNamed(CBlockNotify& notify);
    int OnBlockActivated(const CBlockNotify& notify);
    bool CreateChildModule(const std::string& name);
    // The diagram changed the shown module's signals.
    void SignalsEdited();
    // Pending signal changes reach the source before the hierarchy analyses the module again.
    void WriteBackSignals();
    CHierarchyItem* ChildNamed(const std::string& name) const;
    bool CanTakeChildModules() const;
    // Reads the shown module's architecture and draws it (the last one read when the source
    // does not analyse now, with a notice saying so).
    void DrawFromSource(StructurePlacement placement);
    void ReadComponentPorts(std::string_view text, const ArchitectureStructure& structure);
    bool RemoveConnectionLine(int line);
    // The line of the connection between the two ends; -1 for none.
    int ConnectionLineBetween(const ConnectionEnd& a, const ConnectionEnd& b) const;

    CDiagramEditor m_editor;
    CDiagramHistory m_history;
    CProjectSession* m_session = nullptr;
    CHierarchyItem* m_item = nullptr;
    std::string m_caption;
    std::function<void()> m_beep;
    std::function<void(LibraryKind)> m_libraryInsertion;
    CSignalsListener* m_signalsListener = nullptr;
    // The architecture drawn last, and the last one read per module (for a source that no
    // longer analyses).
    std::optional<ArchitectureStructure> m_structure;
    std::map<const CHierarchyItem*, ArchitectureStructure> m_lastStructures;
    // The ports of the components declared for instances of units that are no child module, by
    // lower-case name.
    std::map<std::string, CVHDLSignal> m_componentPorts;
    // The unnamed module block whose library insertion is running.
    int m_insertionBlock = -1;
    EditMode m_insertKind = EditMode::InsertCustom;
    BlockKind m_interfaceKind = BlockKind::InPort;
    std::uint32_t m_pickerColour = kDefaultLineColour;
    // A port edit changed the shown module's signals: the source's port clause follows on the
    // next write-back.
    bool m_signalsChanged = false;
};

} // namespace kestra
