#pragma once

#include "system/user_prompts.h"

#include <iosfwd>

namespace kestra {

// The prompts of an unattended run: every message box is printed as one "[TITLE] text" entry,
// every question is answered with its positive button (the user asked for the action by
// naming it), and file and folder choosers are cancelled since nobody can answer them.
class CCliPrompts : public CUserPrompts {
public:
    explicit CCliPrompts(std::ostream& out) : m_out(out) {}

    PromptAnswer ShowMessageBox(const std::string& title, const std::string& text, PromptIcon icon,
                                PromptButtons buttons, PromptAnswer defaultAnswer) override;
    void Beep() override {}
    std::optional<std::string> ChooseFile(const FileChoice& choice) override;
    std::optional<std::string> ChooseFolder(const FolderChoice& choice) override;
    // The text of the last message that asked nothing (a warning or an error box).
    const std::string& LastMessage() const { return m_lastMessage; }

private:
    std::ostream& m_out;
    std::string m_lastMessage;
};

} // namespace kestra
