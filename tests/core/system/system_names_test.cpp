#include "support/scripted_prompts.h"
#include "system/system_names.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(SystemNames, UserAndComputerAreKnown) {
    const std::string user = CurrentUserName();
    EXPECT_FALSE(user.empty());
    EXPECT_EQ(user.find('\n'), std::string::npos);
    const std::string computer = CurrentComputerName();
    EXPECT_FALSE(computer.empty());
    EXPECT_EQ(computer.find('\n'), std::string::npos);
    EXPECT_EQ(CurrentUserName(), user);
}

TEST(ScriptedPrompts, QueuedAnswersThenDefaultButtons) {
    CScriptedPrompts prompts;
    prompts.QueueAnswer(PromptAnswer::No);
    EXPECT_FALSE(prompts.AskYesNo("ENQUIRY", "Confirm remove A ?"));
    EXPECT_TRUE(prompts.AskYesNo("ENQUIRY", "again"));
    EXPECT_FALSE(prompts.AskYesNo("ENQUIRY", "default no", PromptIcon::Question, false));
    prompts.ShowMessage("WARNING", "text", PromptIcon::Warning);
    ASSERT_EQ(prompts.Messages().size(), 4u);
    EXPECT_EQ(prompts.Messages()[0].text, "Confirm remove A ?");
    EXPECT_EQ(prompts.Messages()[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompts.Messages()[3].title, "WARNING");
    EXPECT_EQ(prompts.Messages()[3].icon, PromptIcon::Warning);

    prompts.QueueChoice("/tmp/a.kst");
    EXPECT_EQ(prompts.ChooseFile({}), "/tmp/a.kst");
    EXPECT_FALSE(prompts.ChooseFolder({"Folder", "", "/"}).has_value());
    EXPECT_EQ(prompts.FileRequests().size(), 2u);
    prompts.Beep();
    EXPECT_EQ(prompts.BeepCount(), 1);
}

} // namespace
} // namespace kestra
