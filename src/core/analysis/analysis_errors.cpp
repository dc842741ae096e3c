#include "analysis/analysis_errors.h"

#include <array>

namespace kestra {

const char* AnalysisErrorMessage(int code) {
    // The texts are shown to users exactly so, spelling included.
    static constexpr std::array<const char*, 23> kMessages = {
        "No error encountered.",
        "Syntax error.",
        "Expected keyword not found.",
        "Missing identifier.",
        "Punctuation error.",
        "Wrong keyword.",
        "Missing keyword or parameter.",
        "File I/O error.",
        "Missing keyword.",
        "Missing parameter.",
        "Entity not found.",
        "Child module incorrect.",
        "Child module not found.",
        "Architecture body not found.",
        "Unexpected end of file.",
        "Wrong expression.",
        "End of architecture body not found.",
        "The selected parameter is not found in choice list.",
        "End of entity body not found.",
        "Repeated parameter name.",
        "Signal assignment not allowed in port declaration.",
        "Close blanket not found.",
        "Type, subprogram and package generics are not supported.",
    };
    if (code < 0 || code >= static_cast<int>(kMessages.size()))
        return "Unknown error.";
    return kMessages[static_cast<std::size_t>(code)];
}

} // namespace kestra
