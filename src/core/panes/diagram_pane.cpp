#include "panes/diagram_pane.h"

#include "analysis/component_ports.h"
#include "commands/module_commands.h"
#include "diagram/module_diagram.h"
#include "operations/module_files.h"
#include "operations/source_update.h"
#include "project/kst_doc.h"
#include "project/project_observer.h"
#include "system/file_system.h"
#include "text/char_class.h"
#include "text/word_reader.h"

namespace kestra {

namespace {

bool IsModuleMode(EditMode mode) {
    return mode == EditMode::InsertNormalModule || mode == EditMode::InsertLibraryModule ||
           mode == EditMode::InsertPredefinedModule;
}

// Ports and text blocks: the blocks the interface commands re-shape.
bool IsInterfaceKind(BlockKind kind) {
    return IsPortKind(kind) || kind == BlockKind::TextBlock;
}

// The item's children as its diagram shows them; none without an item.
std::vector<CChildModule> ChildModulesOf(const CHierarchyItem* item) {
    std::vector<CChildModule> children;
    const int count = item != nullptr ? item->ChildCount() : 0;
    children.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        children.push_back({item->Child(i)->Text(), item->Child(i)->Kind()});
    return children;
}

} // namespace

CDiagramPane::CDiagramPane() : m_editor(this) {
    Diagram().SetModulePorts(this);
}

void CDiagramPane::Show(CProjectSession* session, CHierarchyItem* item) {
    m_editor.Reset();
    m_history.Clear();
    m_session = item != nullptr ? session : nullptr;
    m_item = item;
    m_signalsChanged = false;
    m_componentPorts.clear();
    const CBlockData* record = item != nullptr ? item->BlockData() : nullptr;
    m_caption = record != nullptr ? DiagramCaption(item->Text()) : std::string();
    const bool stored = record != nullptr && record->GetBlockCount() > 0;
    LoadModuleDiagram(Diagram(), record, ChildModulesOf(item), item != nullptr ? item->Signals() : nullptr);
    m_structure.reset();
    if (item != nullptr && record != nullptr)
        DrawFromSource(stored ? StructurePlacement::KeepPlaced : StructurePlacement::LayOutAll);
}

void CDiagramPane::DrawFromSource(StructurePlacement placement) {
    const HierarchyKind kind = m_item != nullptr ? m_item->Kind() : HierarchyKind::Root;
    if (m_session == nullptr || (kind != HierarchyKind::Normal && kind != HierarchyKind::Library &&
                                 kind != HierarchyKind::Predefined))
        return;
    const Result<std::string> text = ReadModuleSource(m_session->Doc(), *m_item);
    if (!text)
        return; // the hierarchy shows the source as missing
    // Drawn from the text whenever its architecture reads, also where the module's analysis failed
    // for another reason (a child not analysed yet).
    std::optional<ArchitectureStructure> structure = ReadArchitectureStructure(*text, m_item->Text());
    if (structure) {
        m_lastStructures[m_item] = *structure;
        ReadComponentPorts(*text, *structure);
        Diagram().SetNotice({});
    } else if (const auto last = m_lastStructures.find(m_item); last != m_lastStructures.end()) {
        structure = last->second;
        Diagram().SetNotice(m_item->Text() +
                            "'s source does not analyse now: the diagram shows its last analysis.");
    } else {
        Diagram().SetNotice(m_item->Text() +
                            "'s source does not analyse: the diagram shows its stored lines.");
    }
    m_structure = structure;
    if (!structure)
        return;
    DrawStructure(Diagram(), *structure, ChildModulesOf(m_item), placement);
}

// The pins of an instance of a unit that is no child module come from the component declaration
// the architecture gives it, where it has one.
void CDiagramPane::ReadComponentPorts(std::string_view text, const ArchitectureStructure& structure) {
    m_componentPorts.clear();
    for (const InstanceStructure& instance : structure.instances) {
        const std::string key = ToLowerAscii(instance.unit);
        if (instance.entity || ChildNamed(instance.unit) != nullptr || m_componentPorts.contains(key))
            continue;
        if (std::optional<CVHDLSignal> ports = ComponentPorts(text, structure, instance.unit))
            m_componentPorts.emplace(key, std::move(*ports));
    }
}

void CDiagramPane::RedrawFromVhdl() {
    if (!CanRedraw())
        return;
    m_editor.EndGestures();
    Edit("redraw from VHDL", [this] { DrawFromSource(StructurePlacement::LayOutAll); });
}

std::optional<ConnectionEnd> CDiagramPane::ConnectionEndOf(const LineEnd& end) const {
    const CDiagramBlock* block = Diagram().FindBlock(end.block);
    if (block == nullptr || block->text.empty())
        return std::nullopt;
    if (end.pin.empty())
        return IsPortKind(block->kind) ? std::optional<ConnectionEnd>(ConnectionEnd{"", block->text})
                                       : std::nullopt;
    if (block->kind != BlockKind::Module || block->instance.empty())
        return std::nullopt;
    return ConnectionEnd{block->instance, end.pin};
}

bool CDiagramPane::OnConnect(const LineEnd& from, const LineEnd& to) {
    const std::optional<ConnectionEnd> a = ConnectionEndOf(from);
    const std::optional<ConnectionEnd> b = ConnectionEndOf(to);
    if (m_session == nullptr)
        return false;
    if (!a || !b) {
        const LineEnd& bad = a ? to : from;
        const CDiagramBlock* block = Diagram().FindBlock(bad.block);
        const bool uninstantiated =
            block != nullptr && block->kind == BlockKind::Module && block->instance.empty();
        m_session->ReportRefusal(uninstantiated
                                     ? block->text + " has no instance in " + m_item->Text() +
                                           "'s architecture to connect"
                                     : "A line from a pin ends at another pin or at a port block.");
        Beep();
        return true;
    }
    ChangeConnection(ConnectionChange::Connect, *a, *b);
    return true;
}

bool CDiagramPane::ChangeConnection(ConnectionChange change, const ConnectionEnd& a, const ConnectionEnd& b) {
    if (m_session == nullptr || m_item == nullptr)
        return false;
    // The ports drawn meanwhile must be in the source before its architecture is written.
    WriteBackSignals();
    const Outcome outcome =
        kestra::ChangeConnection(m_session->Doc(), m_item, m_session->Context(), change, a, b);
    m_history.Clear();
    if (!outcome) {
        m_session->ReportRefusal(outcome.Reason());
        Beep();
        return false;
    }
    // The line of a removed connection goes with it rather than stay as a drawing.
    const int line = ConnectionLineBetween(a, b);
    if (change == ConnectionChange::Disconnect && line >= 0)
        Diagram().RemoveLine(line);
    DrawFromSource(StructurePlacement::KeepPlaced);
    Diagram().SetDiagramChanged(true);
    if (change == ConnectionChange::Connect)
        Diagram().SelectLine(ConnectionLineBetween(a, b));
    return true;
}

int CDiagramPane::ConnectionLineBetween(const ConnectionEnd& a, const ConnectionEnd& b) const {
    for (const auto& [id, connection] : Diagram().Connections()) {
        const std::optional<ConnectionEnd> from = ConnectionEndOf(connection.from);
        const std::optional<ConnectionEnd> to = ConnectionEndOf(connection.to);
        if (!from || !to)
            continue;
        const auto same = [](const ConnectionEnd& x, const ConnectionEnd& y) {
            return SameTextNoCase(x.instance, y.instance) && SameTextNoCase(x.port, y.port);
        };
        if ((same(*from, a) && same(*to, b)) || (same(*from, b) && same(*to, a)))
            return id;
    }
    return -1;
}

bool CDiagramPane::RemoveConnectionLine(int line) {
    const ConnectionLine* connection = Diagram().ConnectionOf(line);
    if (connection == nullptr)
        return false;
    const std::optional<ConnectionEnd> a = ConnectionEndOf(connection->from);
    const std::optional<ConnectionEnd> b = ConnectionEndOf(connection->to);
    if (!a || !b)
        return false;
    ChangeConnection(ConnectionChange::Disconnect, *a, *b);
    return true;
}

void CDiagramPane::BeginStep() {
    m_history.Begin(Diagram());
}

void CDiagramPane::EndStep(const std::string& name) {
    m_history.End(Diagram(), name);
}

void CDiagramPane::Edit(const std::string& name, const std::function<void()>& edit) {
    BeginStep();
    edit();
    EndStep(name);
}

bool CDiagramPane::Undo() {
    m_editor.EndGestures();
    return m_history.Undo(Diagram());
}

bool CDiagramPane::Redo() {
    m_editor.EndGestures();
    return m_history.Redo(Diagram());
}

bool CDiagramPane::WriteBack() {
    if (m_item == nullptr)
        return false;
    const bool written = WriteDiagramRecord(Diagram(), m_item->BlockData());
    if (written)
        m_session->Doc().SetModifiedFlag();
    WriteBackSignals();
    return written;
}

void CDiagramPane::WriteBackSignals() {
    if (m_item == nullptr || !m_signalsChanged)
        return;
    m_signalsChanged = false;
    m_session->Doc().SetModifiedFlag();
    const PortListUpdate update = UpdatePortList(m_session->Doc(), m_item, m_session->Context());
    if (update.updated)
        m_session->Observer().ReloadPanes(m_item, CProjectObserver::kParameterList);
    if (!update.refusals.empty())
        m_session->Observer().ShowStatus(update.refusals.front());
}

bool CDiagramPane::SignalsChanged(const CProjectSession* session, const CHierarchyItem* owner) {
    if (m_item == nullptr || owner == nullptr || session != m_session)
        return false;
    if (owner->Parent() == m_item) {
        m_history.Clear();
        Diagram().FitModuleBlocks();
        return true;
    }
    if (owner != m_item)
        return false;
    // The signals changed: no undo may bring back a block of the signals before.
    m_history.Clear();
    return ReshapeSignalBlocks(Diagram(), m_item->Signals());
}

void CDiagramPane::SignalsEdited() {
    m_history.Clear();
    m_signalsChanged = true;
    if (m_signalsListener != nullptr && m_session != nullptr)
        m_signalsListener->SignalsChanged(*m_session, m_item);
}

void CDiagramPane::ForgetItem(const CHierarchyItem* item) {
    for (auto it = m_lastStructures.begin(); it != m_lastStructures.end();)
        it = item != nullptr && (it->first == item || item->IsAncestorOf(it->first))
                 ? m_lastStructures.erase(it)
                 : std::next(it);
    if (m_item != nullptr && item != nullptr && (m_item == item || item->IsAncestorOf(m_item)))
        Show(nullptr, nullptr);
}

bool CDiagramPane::ModuleInserted(const CHierarchyItem* parent, const CHierarchyItem* item) {
    if (m_item == nullptr || parent != m_item || item == nullptr)
        return false;
    m_history.Clear();
    CBlockDiagram& diagram = Diagram();
    const int block = m_insertionBlock;
    m_insertionBlock = -1;
    if (block >= 0 && diagram.GetBlockKind(block) == BlockKind::Module && diagram.BlockText(block).empty()) {
        diagram.ReplaceBlock(block, item->Text(), BlockKind::Module, ModuleColour(item->Kind()));
        diagram.FitModuleBlocks();
        DrawFromSource(StructurePlacement::KeepPlaced);
        return true;
    }
    if (AddChildModuleBlock(diagram, {item->Text(), item->Kind()}) < 0)
        return false;
    DrawFromSource(StructurePlacement::KeepPlaced);
    Diagram().SetDiagramChanged(true);
    return true;
}

void CDiagramPane::ForgetSession(const CProjectSession* session) {
    // The items of the other session stay; their addresses may not be told apart from new ones.
    m_lastStructures.clear();
    if (m_session != nullptr && m_session == session)
        Show(nullptr, nullptr);
}

bool CDiagramPane::CanTakeChildModules() const {
    return m_item != nullptr &&
           (m_item->Kind() == HierarchyKind::Normal || m_item->Kind() == HierarchyKind::Root);
}

bool CDiagramPane::StartMode(EditMode mode) {
    if (IsModuleMode(mode) && !CanTakeChildModules()) {
        Beep();
        return false;
    }
    if (mode == EditMode::InsertCustom || IsModuleMode(mode))
        m_insertKind = mode;
    m_editor.SetMode(mode);
    return true;
}

void CDiagramPane::InterfaceAction(BlockKind kind) {
    Edit("interface", [this, kind] { InterfaceStep(kind); });
}

void CDiagramPane::InterfaceStep(BlockKind kind) {
    m_interfaceKind = kind;
    CBlockDiagram& diagram = Diagram();
    const int selected = diagram.SelectedBlock();
    const BlockKind selectedKind = diagram.GetBlockKind(selected);
    if (selected >= 0 && IsInterfaceKind(selectedKind)) {
        if (selectedKind == kind)
            return;
        CVHDLSignal* signals = m_item != nullptr ? m_item->Signals() : nullptr;
        const std::string text = diagram.BlockText(selected);
        const std::string mode = ModeFromBlockKind(kind);
        const int row = signals != nullptr && !text.empty() ? signals->FindSignal(text) : -1;
        // Without a signal to change (and none to make: a text block names no mode), only the
        // block takes the kind's shape and colour.
        if (signals == nullptr || text.empty() || (row < 0 && mode.empty())) {
            const std::uint32_t colour = IsPortKind(kind) ? PortColour(kind) : diagram.ButtonFaceColour();
            diagram.ReplaceBlock(selected, text, kind, colour);
            return;
        }
        if (row < 0)
            signals->SetSignalAll(signals->AddSignal() - 1, text, mode, "", "", "");
        else if (mode.empty())
            signals->RemoveSignal(row);
        else
            signals->SetSignalText(row, CVHDLSignal::kMode, mode);
        SignalsEdited();
        ReshapeSignalBlocks(diagram, signals);
        return;
    }
    switch (kind) {
    case BlockKind::InoutPort:
        m_editor.SetMode(EditMode::InsertInoutPort);
        break;
    case BlockKind::InPort:
        m_editor.SetMode(EditMode::InsertInPort);
        break;
    case BlockKind::OutPort:
        m_editor.SetMode(EditMode::InsertOutPort);
        break;
    case BlockKind::BufferPort:
        m_editor.SetMode(EditMode::InsertBufferPort);
        break;
    case BlockKind::LinkagePort:
        m_editor.SetMode(EditMode::InsertLinkagePort);
        break;
    default:
        m_editor.SetMode(EditMode::InsertText);
        break;
    }
}

void CDiagramPane::ApplyColour(std::uint32_t colour) {
    m_pickerColour = colour;
    Edit("colour", [this, colour] { Diagram().SetColour(colour); });
}

bool CDiagramPane::CanRemove() const {
    const CBlockDiagram& diagram = Diagram();
    if (diagram.SelectedLine() >= 0)
        return true;
    const int block = diagram.SelectedBlock();
    if (block < 0)
        return false;
    const BlockKind kind = diagram.GetBlockKind(block);
    return kind == BlockKind::Module || IsInterfaceKind(kind) || kind == BlockKind::CustomBlock;
}

void CDiagramPane::Remove() {
    CBlockDiagram& diagram = Diagram();
    if (RemoveConnectionLine(diagram.SelectedLine()))
        return;
    const int block = diagram.SelectedBlock();
    if (block >= 0 && diagram.GetBlockKind(block) == BlockKind::Module && m_session != nullptr) {
        if (CHierarchyItem* child = ChildNamed(diagram.BlockText(block))) {
            // The hierarchy asks first; a refusal keeps the block.
            if (!CModuleCommands(*m_session).RemoveItem(child))
                return;
            m_history.Clear();
            diagram.DeleteSelection();
            return;
        }
    }
    Edit({}, [&diagram] { diagram.DeleteSelection(); });
}

CHierarchyItem* CDiagramPane::ChildNamed(const std::string& name) const {
    if (m_item == nullptr || name.empty())
        return nullptr;
    // VHDL names are the same in any letter case; a child named exactly so comes first.
    CHierarchyItem* found = nullptr;
    for (int i = 0; i < m_item->ChildCount(); ++i) {
        if (m_item->Child(i)->Text() == name)
            return m_item->Child(i);
        if (found == nullptr && SameTextNoCase(m_item->Child(i)->Text(), name))
            found = m_item->Child(i);
    }
    return found;
}

CHierarchyItem* CDiagramPane::TakeDoubleClickTarget() {
    const int block = m_editor.TakeDoubleClickedBlock();
    if (m_item == nullptr || m_editor.Mode() != EditMode::Select)
        return nullptr;
    if (block >= 0)
        return ChildNamed(Diagram().BlockText(block));
    return m_item->Parent();
}

const CVHDLSignal* CDiagramPane::PortsOf(const std::string& childName) const {
    const CHierarchyItem* child = ChildNamed(childName);
    if (child != nullptr)
        return child->Signals();
    const auto component = m_componentPorts.find(ToLowerAscii(childName));
    return component != m_componentPorts.end() ? &component->second : nullptr;
}

std::vector<std::pair<std::string, std::string>>
CDiagramPane::GenericsOf(const std::string& childName) const {
    std::vector<std::pair<std::string, std::string>> generics;
    const CHierarchyItem* child = ChildNamed(childName);
    const CKSTObject* object = child != nullptr ? child->Object() : nullptr;
    if (object == nullptr)
        return generics;
    for (int entry = 1; entry < object->GetEntryCount(); ++entry) {
        const EntryKind kind = object->GetEntryKind(entry);
        if (kind == EntryKind::Numeric || kind == EntryKind::String || kind == EntryKind::Generic ||
            kind == EntryKind::Logic || kind == EntryKind::Note)
            generics.emplace_back(object->GetEntryName(entry), object->GetEntryValue(entry));
    }
    return generics;
}

void CDiagramPane::Beep() {
    if (m_beep)
        m_beep();
}

int CDiagramPane::OnBlockNotify(CBlockNotify& notify) {
    switch (notify.code) {
    case CBlockNotify::kInsertOrEdit:
        if (notify.blockId < 0)
            OnBlockInserted(notify);
        else
            OnBlockTextEdited(notify);
        return 0;
    case CBlockNotify::kDoubleClick:
    case CBlockNotify::kEnterOrSpace:
        return OnBlockActivated(notify);
    default:
        return 0;
    }
}

void CDiagramPane::OnBlockInserted(CBlockNotify& notify) {
    const CPixelRect& r = notify.rect;
    const auto kind = static_cast<BlockKind>(notify.kind);
    if (IsPortKind(kind)) {
        notify.result =
            Diagram().AddBlock(r.left, r.top, r.Width(), r.Height(), "", PortColour(kind), -1, kind);
        return;
    }
    // Insertion kinds 10, 11 and 12 are module blocks of a normal, library or predefined module.
    static constexpr HierarchyKind kModuleKinds[] = {HierarchyKind::Normal, HierarchyKind::Library,
                                                     HierarchyKind::Predefined};
    const int index = notify.kind - 10;
    if (index < 0 || index > 2)
        return;
    notify.result = Diagram().AddBlock(r.left, r.top, r.Width(), r.Height(), "",
                                       ModuleColour(kModuleKinds[index]), -1, BlockKind::Module);
}

void CDiagramPane::OnBlockTextEdited(CBlockNotify& notify) {
    CBlockDiagram& diagram = Diagram();
    const auto kind = static_cast<BlockKind>(notify.kind);
    notify.result = notify.blockId;
    if (kind == BlockKind::Module) {
        OnModuleBlockNamed(notify);
        return;
    }
    // A port's name is its signal's name in the port clause: a text VHDL cannot take there is
    // refused, and the block gets its text back.
    if (IsPortKind(kind) && !notify.newText.empty() && !IsUsableVhdlName(notify.newText)) {
        if (m_session != nullptr)
            m_session->ReportRefusal("Invalid port name: " + VhdlNameProblem(notify.newText));
        diagram.ReplaceBlock(notify.blockId, notify.oldText, kind, diagram.BlockColour(notify.blockId));
        return;
    }
    // A block named after a signal becomes that signal's port; a port given a name no signal
    // bears keeps its kind and names its signal: a new one the first time, else the one it
    // named before.
    CVHDLSignal* signals = m_item != nullptr ? m_item->Signals() : nullptr;
    SignalShape shape = SignalBlockShape(diagram, signals, notify.newText);
    if (shape.kind == BlockKind::TextBlock && IsPortKind(kind)) {
        shape = {kind, PortColour(kind)};
        // An emptied port keeps its signal: a signal without a name would spoil the port clause.
        if (signals != nullptr && !notify.newText.empty()) {
            int row = -1;
            if (notify.oldText.empty()) {
                row = signals->AddSignal() - 1; // the count
                signals->SetSignalAll(row, notify.newText, ModeFromBlockKind(kind), "", "", "");
            } else if ((row = signals->FindSignal(notify.oldText)) >= 0) {
                signals->SetSignalText(row, CVHDLSignal::kName, notify.newText);
            }
            if (row >= 0)
                SignalsEdited();
        }
    }
    diagram.ReplaceBlock(notify.blockId, notify.newText, shape.kind, shape.colour);
}

// The canvas has put the new text on the block already; a refusal puts the old one back.
void CDiagramPane::OnModuleBlockNamed(CBlockNotify& notify) {
    CBlockDiagram& diagram = Diagram();
    const int block = notify.blockId;
    const std::uint32_t colour = diagram.BlockColour(block);
    bool accepted = false;
    if (notify.oldText.empty()) {
        accepted = CreateChildModule(notify.newText);
    } else if (CHierarchyItem* child = ChildNamed(notify.oldText); child != nullptr) {
        WriteBackSignals();
        accepted = CModuleCommands(*m_session).EndNameEdit(child, notify.newText, true);
    }
    if (accepted) {
        m_history.Clear();
        // The block shows the whole name and the new child's pins, and the instance the parent's
        // analysis gave it is drawn with its connections.
        diagram.FitModuleBlocks();
        DrawFromSource(StructurePlacement::KeepPlaced);
    } else {
        diagram.ReplaceBlock(block, notify.oldText, BlockKind::Module, colour);
    }
}

bool CDiagramPane::CreateChildModule(const std::string& name) {
    if (m_session == nullptr || !CanTakeChildModules())
        return false;
    // The parent is analysed with its new child: its ports drawn meanwhile must be in its source.
    WriteBackSignals();
    return CModuleCommands(*m_session).AddNamedModule(m_item, name) != nullptr;
}

int CDiagramPane::OnBlockActivated(const CBlockNotify& notify) {
    const CBlockDiagram& diagram = Diagram();
    const int block = notify.blockId;
    // An unnamed library or predefined module block starts the library insertion; every other
    // unnamed block, and any block that is not a module, is named in the text editor.
    if (diagram.GetBlockKind(block) != BlockKind::Module || diagram.BlockText(block).empty()) {
        const std::uint32_t colour = diagram.BlockColour(block);
        const bool library = colour == ModuleColour(HierarchyKind::Library);
        const bool predefined = colour == ModuleColour(HierarchyKind::Predefined);
        if (m_item != nullptr && m_libraryInsertion && diagram.GetBlockKind(block) == BlockKind::Module &&
            (library || predefined)) {
            m_insertionBlock = block;
            m_libraryInsertion(library ? LibraryKind::Library : LibraryKind::Predefined);
            m_insertionBlock = -1;
            return 1;
        }
        m_editor.BeginTextEdit();
        return 0;
    }
    // A named module block: Space or Enter renames it (predefined modules keep their names); a
    // double-click goes on to open the module.
    const bool predefined = diagram.BlockColour(block) == ModuleColour(HierarchyKind::Predefined);
    if (notify.code == CBlockNotify::kEnterOrSpace && !predefined)
        m_editor.BeginTextEdit();
    return 0;
}

} // namespace kestra
