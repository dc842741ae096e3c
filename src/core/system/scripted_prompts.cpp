#include "system/scripted_prompts.h"

namespace kestra {

PromptAnswer CScriptedPrompts::ShowMessageBox(const std::string& title, const std::string& text,
                                              PromptIcon icon, PromptButtons buttons,
                                              PromptAnswer defaultAnswer) {
    m_shown.push_back(Shown{title, text, icon, buttons});
    // A box with one button asks nothing: it takes no queued answer.
    if (buttons == PromptButtons::Ok)
        return PromptAnswer::Ok;
    if (m_answers.empty())
        return defaultAnswer;
    const PromptAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

std::optional<std::string> CScriptedPrompts::ChooseFile(const FileChoice& choice) {
    m_fileRequests.push_back(choice);
    if (m_choices.empty())
        return std::nullopt;
    std::optional<std::string> path = std::move(m_choices.front());
    m_choices.pop_front();
    return path;
}

std::optional<std::string> CScriptedPrompts::ChooseFolder(const std::string& title,
                                                          const std::string& initialFolder) {
    FileChoice request;
    request.title = title;
    request.initialPath = initialFolder;
    return ChooseFile(request);
}

void CScriptedPrompts::ClearRecord() {
    m_shown.clear();
    m_fileRequests.clear();
    m_beeps = 0;
}

} // namespace kestra
