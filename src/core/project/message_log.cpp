#include "project/message_log.h"

namespace kestra {

std::string LogTextForDisplay(std::string_view text) {
    std::string display;
    display.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        display += text[i];
    }
    return display;
}

} // namespace kestra
