#pragma once

#include "model/vhdl_signal.h"

#include <string>
#include <string_view>
#include <vector>

namespace kestra {

// A row of the signal list that the port clause cannot declare, and what the clause does
// instead.
struct RefusedPortRow {
    int row = 0;
    std::string problem;
    // The source's ports that stay as they were because of the row: the one in the row's place,
    // or, for a row that stands for none, every port no row stands for; none when the row is
    // simply left out.
    std::vector<std::string> keptPorts;
};

// The rows a port clause is written from, and the rows it cannot declare.
struct PortClauseRows {
    CVHDLSignal rows;
    std::vector<RefusedPortRow> refused;
};

// The signal list's rows as the port clause may declare them without losing a port of the
// source: a valid row as it is; an invalid row (a name that is not usable, a name another row
// has too, an incomplete row) in the place of the source's port it stands for, which is kept as
// the source declares it, or left out when it stands for none. An invalid row stands for the
// source port of its name, else for a port no row names between the ports of the rows around
// it (a port renamed in place). When an invalid row stands for none that way, every port no row
// stands for is kept in its source order: a source port is never deleted or renamed while an
// invalid row might be its edit.
PortClauseRows PortRowsToWrite(std::string_view text, const std::string& entityName,
                               const CVHDLSignal& signals);

} // namespace kestra
