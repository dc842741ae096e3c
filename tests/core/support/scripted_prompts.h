#pragma once

#include "system/user_prompts.h"

#include <deque>
#include <string>
#include <vector>

namespace kestra {

// Answers questions from queued answers (the box's default button once the queue is empty)
// and records everything it was shown.
class CScriptedPrompts : public CUserPrompts {
public:
    struct Shown {
        std::string title;
        std::string text;
        PromptIcon icon = PromptIcon::None;
        PromptButtons buttons = PromptButtons::Ok;
    };

    void QueueAnswer(PromptAnswer answer) { m_answers.push_back(answer); }
    // A file or folder chooser takes the next queued choice; nothing queued counts as cancel.
    void QueueChoice(std::optional<std::string> path) { m_choices.push_back(std::move(path)); }

    PromptAnswer ShowMessageBox(const std::string& title, const std::string& text, PromptIcon icon,
                                PromptButtons buttons, PromptAnswer defaultAnswer) override;
    void Beep() override { ++m_beeps; }
    std::optional<std::string> ChooseFile(const FileChoice& choice) override;
    // Recorded among the file requests too, by its title and initial folder.
    std::optional<std::string> ChooseFolder(const FolderChoice& choice) override;

    const std::vector<Shown>& Messages() const { return m_shown; }
    const std::vector<FileChoice>& FileRequests() const { return m_fileRequests; }
    const std::vector<FolderChoice>& FolderRequests() const { return m_folderRequests; }
    int BeepCount() const { return m_beeps; }
    void ClearRecord();

private:
    std::deque<PromptAnswer> m_answers;
    std::deque<std::optional<std::string>> m_choices;
    std::vector<Shown> m_shown;
    std::vector<FileChoice> m_fileRequests;
    std::vector<FolderChoice> m_folderRequests;
    int m_beeps = 0;
};

inline PromptAnswer CScriptedPrompts::ShowMessageBox(const std::string& title, const std::string& text,
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

inline std::optional<std::string> CScriptedPrompts::ChooseFile(const FileChoice& choice) {
    m_fileRequests.push_back(choice);
    if (m_choices.empty())
        return std::nullopt;
    std::optional<std::string> path = std::move(m_choices.front());
    m_choices.pop_front();
    return path;
}

inline std::optional<std::string> CScriptedPrompts::ChooseFolder(const FolderChoice& choice) {
    m_folderRequests.push_back(choice);
    FileChoice request;
    request.title = choice.title;
    request.initialPath = choice.initialFolder;
    return ChooseFile(request);
}

inline void CScriptedPrompts::ClearRecord() {
    m_shown.clear();
    m_fileRequests.clear();
    m_folderRequests.clear();
    m_beeps = 0;
}

} // namespace kestra
