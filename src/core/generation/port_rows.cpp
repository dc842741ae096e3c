#include "generation/port_rows.h"

#include "analysis/interface_list.h"
#include "text/char_class.h"

#include <algorithm>
#include <optional>

namespace kestra {

namespace {

// The source's ports as the signal list holds them after analysis.
std::vector<CVHDLSignal::Row> SourcePorts(std::string_view text, const std::string& entityName) {
    std::vector<CVHDLSignal::Row> ports;
    const std::optional<EntityInterface> entity = ReadEntityInterface(text, entityName);
    if (!entity || !entity->ports)
        return ports;
    for (const InterfaceDeclaration& declaration : entity->ports->declarations) {
        const std::string initial =
            declaration.defaultValue ? ExpressionText(text, *declaration.defaultValue) : std::string();
        const std::string mode = declaration.mode.empty() ? std::string("in") : declaration.mode;
        for (const std::string& name : declaration.names)
            ports.push_back({name, mode, declaration.typeMark, declaration.range, initial});
    }
    return ports;
}

// Which source port each row stands for: a row names it, or an invalid row was made of it.
class CPortPairing {
public:
    CPortPairing(const CVHDLSignal& signals, const std::vector<std::string>& problems,
                 const std::vector<CVHDLSignal::Row>& ports)
        : m_signals(signals), m_problems(problems), m_ports(ports),
          m_portOfRow(static_cast<std::size_t>(signals.GetSignalCount()), -1), m_rowOfPort(ports.size(), -1) {
        // Valid rows first, so that an invalid row never takes the port a valid row names.
        for (int row = 0; row < RowCount(); ++row) {
            if (!Invalid(row))
                ClaimByName(row);
        }
        for (int row = 0; row < RowCount(); ++row) {
            if (Invalid(row))
                ClaimByName(row);
        }
        const std::vector<int> named = m_portOfRow;
        for (int row = 0; row < RowCount(); ++row) {
            if (Invalid(row) && PortOf(row) < 0)
                ClaimInGap(row, named);
        }
    }

    int RowCount() const { return m_signals.GetSignalCount(); }
    bool Invalid(int row) const { return !m_problems[static_cast<std::size_t>(row)].empty(); }
    int PortOf(int row) const { return m_portOfRow[static_cast<std::size_t>(row)]; }
    bool Claimed(std::size_t port) const { return m_rowOfPort[port] >= 0; }

private:
    void Claim(int row, std::size_t port) {
        m_portOfRow[static_cast<std::size_t>(row)] = static_cast<int>(port);
        m_rowOfPort[port] = row;
    }

    void ClaimByName(int row) {
        const std::string name = m_signals.GetSignalText(row, CVHDLSignal::kName);
        for (std::size_t port = 0; port < m_ports.size(); ++port) {
            if (!Claimed(port) && SameTextNoCase(m_ports[port][CVHDLSignal::kName], name)) {
                Claim(row, port);
                return;
            }
        }
    }

    // An invalid row that names no port stands for a port renamed in its place: between the
    // rows around it that name ports, the rows that name none and the ports no row names pair
    // in their order, when there are as many of each and those ports lie between the named ones.
    void ClaimInGap(int row, const std::vector<int>& named) {
        int firstRow = row;
        while (firstRow > 0 && named[static_cast<std::size_t>(firstRow - 1)] < 0)
            --firstRow;
        int endRow = row + 1;
        while (endRow < RowCount() && named[static_cast<std::size_t>(endRow)] < 0)
            ++endRow;
        const int firstPort = firstRow > 0 ? named[static_cast<std::size_t>(firstRow - 1)] + 1 : 0;
        const int endPort =
            endRow < RowCount() ? named[static_cast<std::size_t>(endRow)] : static_cast<int>(m_ports.size());
        std::vector<std::size_t> free;
        for (int port = firstPort; port < endPort; ++port) {
            if (!NamedPort(static_cast<std::size_t>(port), named))
                free.push_back(static_cast<std::size_t>(port));
        }
        if (free.size() != static_cast<std::size_t>(endRow - firstRow))
            return;
        const std::size_t port = free[static_cast<std::size_t>(row - firstRow)];
        if (!Claimed(port))
            Claim(row, port);
    }

    static bool NamedPort(std::size_t port, const std::vector<int>& named) {
        return std::find(named.begin(), named.end(), static_cast<int>(port)) != named.end();
    }

    const CVHDLSignal& m_signals;
    const std::vector<std::string>& m_problems;
    const std::vector<CVHDLSignal::Row>& m_ports;
    std::vector<int> m_portOfRow;
    std::vector<int> m_rowOfPort;
};

// One declaration of the clause to write, with the source port it stands for (-1: a new port).
struct ClauseRow {
    CVHDLSignal::Row row;
    int port = -1;
};

// Puts a kept port after the declaration of the nearest source port before it.
void InsertInSourceOrder(std::vector<ClauseRow>& rows, const CVHDLSignal::Row& port, int index) {
    std::size_t at = 0;
    int nearest = -1;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].port < index && rows[i].port > nearest) {
            nearest = rows[i].port;
            at = i + 1;
        }
    }
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), ClauseRow{port, index});
}

CVHDLSignal::Row RowOf(const CVHDLSignal& signals, int row) {
    return {signals.GetSignalText(row, CVHDLSignal::kName), signals.GetSignalText(row, CVHDLSignal::kMode),
            signals.GetSignalText(row, CVHDLSignal::kDataType),
            signals.GetSignalText(row, CVHDLSignal::kRange),
            signals.GetSignalText(row, CVHDLSignal::kInitialValue)};
}

} // namespace

PortClauseRows PortRowsToWrite(std::string_view text, const std::string& entityName,
                               const CVHDLSignal& signals) {
    const std::vector<std::string> problems = signals.RowProblems();
    const std::vector<CVHDLSignal::Row> ports = SourcePorts(text, entityName);
    const CPortPairing pairing(signals, problems, ports);
    PortClauseRows result;
    std::vector<ClauseRow> rows;
    std::optional<std::size_t> unplaced; // the first refused row that stands for no port
    for (int row = 0; row < signals.GetSignalCount(); ++row) {
        const int port = pairing.PortOf(row);
        if (!pairing.Invalid(row)) {
            rows.push_back({RowOf(signals, row), port});
            continue;
        }
        result.refused.push_back({row, problems[static_cast<std::size_t>(row)], {}});
        if (port >= 0) {
            rows.push_back({ports[static_cast<std::size_t>(port)], port});
            result.refused.back().keptPorts.push_back(
                ports[static_cast<std::size_t>(port)][CVHDLSignal::kName]);
        } else if (!unplaced) {
            unplaced = result.refused.size() - 1;
        }
    }
    // Such a row may be any port that no row names (moved and renamed, say): none of them is
    // deleted or renamed while it is invalid.
    if (unplaced) {
        for (std::size_t port = 0; port < ports.size(); ++port) {
            if (pairing.Claimed(port))
                continue;
            InsertInSourceOrder(rows, ports[port], static_cast<int>(port));
            result.refused[*unplaced].keptPorts.push_back(ports[port][CVHDLSignal::kName]);
        }
    }
    result.rows.SetSignalCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CVHDLSignal::Row& row = rows[i].row;
        result.rows.SetSignalAll(static_cast<int>(i), row[0], row[1], row[2], row[3], row[4]);
    }
    return result;
}

} // namespace kestra
