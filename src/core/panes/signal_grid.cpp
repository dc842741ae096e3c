#include "panes/signal_grid.h"

#include "model/block_colours.h"
#include "model/vhdl_signal.h"
#include "operations/source_update.h"
#include "project/kst_doc.h"
#include "text/char_class.h"

#include <algorithm>
#include <string_view>

namespace kestra {

namespace {

constexpr std::uint32_t kUnknownModeColour = Rgb(211, 212, 212);

} // namespace

std::string SignalListCaption(const std::string& moduleName) {
    std::string caption = moduleName;
    std::replace(caption.begin(), caption.end(), '_', ' ');
    return caption;
}

void CSignalGrid::SetOwner(CProjectSession* session, CHierarchyItem* item) {
    m_session = item != nullptr ? session : nullptr;
    m_owner = item != nullptr && item->Signals() != nullptr ? item : nullptr;
    m_caption = item == nullptr      ? std::string()
                : m_owner == nullptr ? "n/a"
                                     : SignalListCaption(item->Text());
    Load();
}

void CSignalGrid::Load() {
    m_rows.clear();
    m_changed = false;
    m_sourcePending = false;
    if (m_owner == nullptr)
        return;
    const CVHDLSignal& signals = *m_owner->Signals();
    m_rows.resize(static_cast<std::size_t>(signals.GetSignalCount()));
    for (int i = 0; i < signals.GetSignalCount(); ++i) {
        Row& row = m_rows[static_cast<std::size_t>(i)];
        for (int column = 0; column < kSignalColumnCount; ++column)
            row.cells[static_cast<std::size_t>(column)] = signals.GetSignalText(i, column);
        row.initialValue = signals.GetSignalText(i, CVHDLSignal::kInitialValue);
    }
    ValidateAll();
}

bool CSignalGrid::ForgetItem(const CHierarchyItem* item) {
    if (m_owner == nullptr || item == nullptr || (m_owner != item && !item->IsAncestorOf(m_owner)))
        return false;
    SetOwner(nullptr, nullptr);
    return true;
}

bool CSignalGrid::ForgetSession(const CProjectSession* session) {
    if (m_session == nullptr || m_session != session)
        return false;
    SetOwner(nullptr, nullptr);
    return true;
}

const std::string& CSignalGrid::Cell(int row, SignalColumn column) const {
    return RowAt(row).cells[static_cast<std::size_t>(column)];
}

void CSignalGrid::Colour(Row& row) {
    const BlockKind kind = BlockKindFromMode(row.cells[static_cast<std::size_t>(SignalColumn::Mode)]);
    if (IsPortKind(kind)) {
        row.colour = PortColour(kind);
    } else {
        row.colour = kUnknownModeColour;
        row.status = SignalRowStatus::ModeNotRecognised;
    }
}

void CSignalGrid::ValidateAll() {
    std::vector<std::string_view> names;
    names.reserve(m_rows.size());
    for (const Row& row : m_rows)
        names.emplace_back(row.cells[0]);
    const std::vector<int> twins = SameNameRows(names);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        Row& row = m_rows[i];
        row.problem = CVHDLSignal::SignalProblem(row.cells[0], row.cells[1], row.cells[2], row.cells[3]);
        if (row.problem.empty() && twins[i] >= 0)
            row.problem = SameNameProblem(twins[i]);
        row.status = row.problem.empty() ? SignalRowStatus::Valid : SignalRowStatus::Invalid;
        Colour(row);
    }
}

std::string CSignalGrid::StatusTip(int row) const {
    const std::string& problem = RowAt(row).problem;
    if (problem.empty())
        return {};
    return "Not written into the source: " + problem +
           " Until the row is corrected, any port it replaces stays in the source as it was.";
}

void CSignalGrid::ShowProblemOf(int row) {
    if (row < 0 || row >= RowCount() || RowAt(row).problem.empty())
        return;
    m_session->Observer().ShowStatus("Invalid port in row " + std::to_string(row + 1) + " of " +
                                     m_owner->Text() + ": " + RowAt(row).problem);
}

bool CSignalGrid::EndCellEdit(int row, SignalColumn column, const std::string& text) {
    if (m_owner == nullptr || row < 0 || row >= RowCount())
        return false;
    std::string& cell = m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
    if (cell == text)
        return false;
    cell = text;
    m_changed = true;
    ValidateAll();
    ShowProblemOf(row);
    WriteBack(true);
    return true;
}

int CSignalGrid::SetCells(int row, SignalColumn column, const std::vector<std::vector<std::string>>& cells) {
    if (m_owner == nullptr || row < 0 || row > RowCount() || cells.empty())
        return 0;
    const int first = static_cast<int>(column);
    for (std::size_t r = 0; r < cells.size(); ++r) {
        const std::size_t target = static_cast<std::size_t>(row) + r;
        if (target >= m_rows.size())
            m_rows.resize(target + 1);
        for (std::size_t c = 0; c < cells[r].size() && first + static_cast<int>(c) < kSignalColumnCount; ++c)
            m_rows[target].cells[static_cast<std::size_t>(first) + c] = cells[r][c];
    }
    m_changed = true;
    ValidateAll();
    for (std::size_t r = 0; r < cells.size(); ++r) {
        if (!RowAt(row + static_cast<int>(r)).problem.empty()) {
            ShowProblemOf(row + static_cast<int>(r));
            break;
        }
    }
    WriteBack(true);
    return static_cast<int>(cells.size());
}

int CSignalGrid::InsertRow(int before) {
    if (m_owner == nullptr)
        return -1;
    const int index = before >= 0 && before < RowCount() ? before : RowCount();
    m_rows.insert(m_rows.begin() + index, Row());
    m_changed = true;
    ValidateAll();
    return index;
}

int CSignalGrid::RemoveRows(int first, int last) {
    if (m_owner == nullptr || RowCount() == 0)
        return -1;
    first = std::max(first, 0);
    last = std::min(last, RowCount() - 1);
    if (first > last)
        return -1;
    m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
    m_changed = true;
    // A removed duplicate may leave its twin valid.
    ValidateAll();
    WriteBack(true);
    return first < RowCount() ? first : RowCount() - 1;
}

int CSignalGrid::MoveRow(int row, MoveCommand command) {
    if (m_owner == nullptr || row < 0 || row >= RowCount())
        return -1;
    const int last = RowCount() - 1;
    const int target = MoveTarget(command, row, 0, last);
    if (target == row || target < 0 || target > last)
        return -1;
    const auto from = m_rows.begin() + row;
    const auto to = m_rows.begin() + target;
    if (target < row)
        std::rotate(to, from, from + 1);
    else
        std::rotate(from, from + 1, to + 1);
    m_changed = true;
    return target;
}

bool CSignalGrid::WriteBack(bool notify) {
    if (m_owner == nullptr || !m_changed)
        return false;
    CVHDLSignal& signals = *m_owner->Signals();
    signals.SetSignalCount(RowCount());
    for (int i = 0; i < RowCount(); ++i) {
        const Row& row = RowAt(i);
        signals.SetSignalAll(i, row.cells[0], row.cells[1], row.cells[2], row.cells[3], row.initialValue);
    }
    m_changed = false;
    m_sourcePending = true;
    m_session->Doc().SetModifiedFlag();
    if (notify && m_listener != nullptr)
        m_listener->SignalsChanged(*m_session, m_owner);
    return true;
}

bool CSignalGrid::CommitToSource() {
    WriteBack(false);
    if (m_owner == nullptr || !m_sourcePending)
        return false;
    m_sourcePending = false;
    CHierarchyItem* owner = m_owner;
    const PortListUpdate update = UpdatePortList(m_session->Doc(), owner, m_session->Context());
    m_session->Observer().ReloadPanes(owner, CProjectObserver::kParameterList);
    if (!update.refusals.empty())
        m_session->Observer().ShowStatus(update.refusals.front());
    return update.updated;
}

} // namespace kestra
