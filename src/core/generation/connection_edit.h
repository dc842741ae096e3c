#pragma once

#include "analysis/architecture_names.h"
#include "system/outcome.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestra {

// One end of a connection in a module's architecture: a port of the module (no instance), or a
// pin, the port of one of its instances ("U_CNT.Q": the instance label as written, the port).
struct ConnectionEnd {
    std::string instance;
    std::string port;
    bool IsPin() const { return !instance.empty(); }
    // "PORT" or "LABEL.PORT".
    std::string Text() const { return instance.empty() ? port : instance + "." + port; }
    bool operator==(const ConnectionEnd&) const = default;
};

// "LEDS" or "U_CNT.Q"; nothing when a part is not a VHDL identifier.
[[nodiscard]] std::optional<ConnectionEnd> ParseConnectionEnd(std::string_view text);

// The interface of a unit an instance instantiates: its ports as declared and its generics with
// their defaults (which types written with generics are read with).
struct UnitInterface {
    std::vector<PortShape> ports;
    std::vector<std::pair<std::string, std::string>> generics;
};

// The interface of a unit by name (compared without case), or null when it is not known.
using UnitLookup = std::function<const UnitInterface*(std::string_view unit)>;

// The source with a connection between the two ends made in the architecture of the entity:
// the pin's instance associates its port (named association; a positional port map becomes
// named) with the port of the module, or with the signal already on the other pin, or two pins
// without a signal get a new one, declared in the architecture, named after the driving pin's
// instance and port and typed as that port. Refused, with the reason, when an end is not there,
// the two are connected already or to different signals, an end is connected to something the
// diagram does not follow (an expression), the connection would give a signal a second driver,
// drive an input of the module or read an output of it, or join different types.
[[nodiscard]] Result<std::string> ConnectInSource(std::string_view text, std::string_view entity,
                                                  const UnitLookup& units, const ConnectionEnd& a,
                                                  const ConnectionEnd& b);

// The source with the connection between the two ends removed: the pin that reads the signal
// (or the only pin) leaves it; an output pin becomes `open`, an input pin gets a signal of its
// own so that the architecture still compiles. Refused, with the reason, when the two are not
// connected.
[[nodiscard]] Result<std::string> DisconnectInSource(std::string_view text, std::string_view entity,
                                                     const UnitLookup& units, const ConnectionEnd& a,
                                                     const ConnectionEnd& b);

// The base of a subtype indication in lower case, without its constraint: "std_logic_vector"
// for "STD_LOGIC_VECTOR(7 downto 0)", "integer" for "integer range 0 to 9".
std::string TypeMarkOf(std::string_view subtype);

} // namespace kestra
