#include "system/outcome.h"

#include <gtest/gtest.h>
#include <memory>

namespace kestra {
namespace {

TEST(Outcome, SuccessHasNoReasonAndAFailureKeepsItsOwn) {
    const Outcome ok = Outcome::Ok();
    EXPECT_TRUE(ok);
    EXPECT_EQ(ok.Reason(), "");
    const Outcome failed = Outcome::Failed("Permission denied");
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.Reason(), "Permission denied");
    EXPECT_FALSE(Outcome::Failed({}));
}

TEST(Result, HoldsAValueOrTheReasonWhyNot) {
    Result<std::string> text = std::string("content");
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "content");
    EXPECT_EQ(text->size(), 7u);
    EXPECT_EQ(text, "content");
    EXPECT_EQ(text.Reason(), "");

    const Result<std::string> missing = Result<std::string>::Failed("No such file or directory");
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.Reason(), "No such file or directory");
    EXPECT_EQ(missing.ValueOr("none"), "none");
    EXPECT_FALSE(missing == "");

    // A value that can only move is given away whole.
    Result<std::unique_ptr<int>> owned = std::make_unique<int>(3);
    const std::unique_ptr<int> taken = std::move(*owned);
    EXPECT_EQ(*taken, 3);
}

} // namespace
} // namespace kestra
