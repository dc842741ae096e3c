#include "cli_prompts.h"

#include "project/message_log.h"

#include <ostream>

namespace kestra {

namespace {

PromptAnswer PositiveAnswer(PromptButtons buttons) {
    switch (buttons) {
    case PromptButtons::YesNo:
    case PromptButtons::YesNoCancel:
        return PromptAnswer::Yes;
    case PromptButtons::Ok:
    case PromptButtons::OkCancel:
        break;
    }
    return PromptAnswer::Ok;
}

} // namespace

PromptAnswer CCliPrompts::ShowMessageBox(const std::string& title, const std::string& text, PromptIcon,
                                         PromptButtons buttons, PromptAnswer) {
    const PromptAnswer answer = PositiveAnswer(buttons);
    if (buttons == PromptButtons::Ok)
        m_lastMessage = LogTextForDisplay(text);
    m_out << '[' << (title.empty() ? kDefaultPromptTitle : title) << "] " << LogTextForDisplay(text);
    if (answer == PromptAnswer::Yes)
        m_out << " -> Yes";
    m_out << '\n';
    return answer;
}

std::optional<std::string> CCliPrompts::ChooseFile(const FileChoice& choice) {
    m_out << '[' << choice.title << "] cancelled: no file can be chosen on the command line\n";
    return std::nullopt;
}

std::optional<std::string> CCliPrompts::ChooseFolder(const FolderChoice& choice) {
    m_out << '[' << choice.title << "] cancelled: no folder can be chosen on the command line\n";
    return std::nullopt;
}

} // namespace kestra
