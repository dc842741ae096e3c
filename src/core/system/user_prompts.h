#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestra {

enum class PromptIcon { None, Information, Question, Warning, Error };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

// The title of message boxes that name no title of their own.
inline constexpr const char* kDefaultPromptTitle = "KESTRA";

struct FileFilter {
    std::string label;   // "KESTRA Files (*.kst)"
    std::string pattern; // "*.kst"
};

struct FileChoice {
    std::string title;
    std::vector<FileFilter> filters;
    std::string defaultExtension; // without the dot; added when a chosen name has none
    std::string initialPath;      // a file to select, or a folder to start in
    bool forSaving = false;       // a name that does not exist yet may be chosen
};

struct FolderChoice {
    std::string title;
    std::string prompt; // what the folder is for: "Choose folder to save generated VHDL files:"
    std::string initialFolder;
};

// How the core asks the user something or tells them something it cannot put in the log:
// message boxes, beeps and file or folder choosers. The window layer implements it with
// dialogs; tests and the command line answer from a script.
class CUserPrompts {
public:
    virtual ~CUserPrompts() = default;

    // Returns the button pressed; defaultAnswer is the button that Enter would press.
    virtual PromptAnswer ShowMessageBox(const std::string& title, const std::string& text, PromptIcon icon,
                                        PromptButtons buttons, PromptAnswer defaultAnswer) = 0;
    virtual void Beep() = 0;
    // The chosen path, or nothing when cancelled.
    [[nodiscard]] virtual std::optional<std::string> ChooseFile(const FileChoice& choice) = 0;
    [[nodiscard]] virtual std::optional<std::string> ChooseFolder(const FolderChoice& choice) = 0;

    void ShowMessage(const std::string& title, const std::string& text, PromptIcon icon) {
        ShowMessageBox(title, text, icon, PromptButtons::Ok, PromptAnswer::Ok);
    }
    // Yes, No or Cancel with the buttons named by what they do (the window shows the labels;
    // scripts answer Yes, No or Cancel). Closing the box is Cancel.
    virtual PromptAnswer AskYesNoCancel(const std::string& title, const std::string& text,
                                        const std::string& /*yesLabel*/, const std::string& /*noLabel*/) {
        return ShowMessageBox(title, text, PromptIcon::Warning, PromptButtons::YesNoCancel,
                              PromptAnswer::Cancel);
    }
    // True for Yes.
    bool AskYesNo(const std::string& title, const std::string& text, PromptIcon icon = PromptIcon::Question,
                  bool defaultYes = true) {
        return ShowMessageBox(title, text, icon, PromptButtons::YesNo,
                              defaultYes ? PromptAnswer::Yes : PromptAnswer::No) == PromptAnswer::Yes;
    }
};

} // namespace kestra
