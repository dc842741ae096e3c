#include "tools/check_messages.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

CheckMessage Message(std::string file, int line, std::string text, bool error = true) {
    return CheckMessage{std::move(file), line, 1, std::move(text), error};
}

// Each message goes to the job's file it names (by its path, or by its name as seen from the
// work folder); messages without a file or line, and files of no job, are not kept.
TEST(CheckMessageStore, MessagesGoToTheFilesTheyName) {
    CheckJob job;
    job.files = {{"/p/A.vhd", "work"}, {"/p/lib/B.vhd", "lib"}};
    CheckOutcome outcome;
    outcome.messages = {Message("/p/A.vhd", 3, "no declaration"), Message("B.vhd", 7, "hides x", false),
                        Message("", 0, "cannot elaborate"), Message("/q/C.vhd", 2, "elsewhere")};
    CCheckMessageStore store;
    const std::vector<std::filesystem::path> replaced = store.Record(job, outcome);
    EXPECT_EQ(replaced, (std::vector<std::filesystem::path>{"/p/A.vhd", "/p/lib/B.vhd"}));
    ASSERT_EQ(store.MessagesOf("/p/./A.vhd").size(), 1u);
    EXPECT_EQ(store.MessagesOf("/p/A.vhd")[0].line, 3);
    ASSERT_EQ(store.MessagesOf("/p/lib/B.vhd").size(), 1u);
    EXPECT_FALSE(store.MessagesOf("/p/lib/B.vhd")[0].error);
    EXPECT_TRUE(store.MessagesOf("/q/C.vhd").empty());
}

// A later check replaces the messages of the files it analysed and keeps the others' (also those
// of a file it took from a kept work folder without analysing it); a cancelled check replaces
// nothing.
TEST(CheckMessageStore, ALaterCheckReplacesTheFilesItAnalysed) {
    CheckJob both;
    both.files = {{"/p/A.vhd", "work"}, {"/p/B.vhd", "work"}};
    CheckOutcome failed;
    failed.messages = {Message("/p/A.vhd", 3, "a"), Message("/p/B.vhd", 4, "b")};
    CCheckMessageStore store;
    store.Record(both, failed);

    CheckJob onlyA;
    onlyA.files = {{"/p/A.vhd", "work"}};
    CheckOutcome cancelled;
    cancelled.cancelled = true;
    EXPECT_TRUE(store.Record(onlyA, cancelled).empty());
    EXPECT_EQ(store.MessagesOf("/p/A.vhd").size(), 1u);

    EXPECT_TRUE(store.Record(onlyA, CheckOutcome{}).empty());
    EXPECT_EQ(store.MessagesOf("/p/A.vhd").size(), 1u);

    CheckOutcome clean;
    clean.analyzedFiles = {"/p/A.vhd"};
    EXPECT_EQ(store.Record(onlyA, clean).size(), 1u);
    EXPECT_TRUE(store.MessagesOf("/p/A.vhd").empty());
    EXPECT_EQ(store.MessagesOf("/p/B.vhd").size(), 1u);
}

} // namespace
} // namespace kestra
