#include "analysis/analysis_errors.h"

#include <gtest/gtest.h>
#include <string>

namespace kestra {
namespace {

TEST(AnalysisErrors, MessagesByCode) {
    EXPECT_STREQ(AnalysisErrorMessage(0), "No error encountered.");
    EXPECT_STREQ(AnalysisErrorMessage(static_cast<int>(AnalysisErrorCode::EntityNotFound)),
                 "Entity not found.");
    EXPECT_STREQ(AnalysisErrorMessage(static_cast<int>(AnalysisErrorCode::ParameterNotInChoiceList)),
                 "The selected parameter is not found in choice list.");
    EXPECT_STREQ(AnalysisErrorMessage(static_cast<int>(AnalysisErrorCode::SignalAssignmentInPort)),
                 "Signal assignment not allowed in port declaration.");
    EXPECT_STREQ(AnalysisErrorMessage(21), "Close blanket not found.");
    EXPECT_STREQ(AnalysisErrorMessage(22), "Type, subprogram and package generics are not supported.");
    EXPECT_STREQ(AnalysisErrorMessage(23), "Unknown error.");
    EXPECT_STREQ(AnalysisErrorMessage(-1), "Unknown error.");
    // Every known code has its own message ending in a full stop.
    for (int code = 0; code <= 22; ++code) {
        const std::string message = AnalysisErrorMessage(code);
        EXPECT_EQ(message.back(), '.');
        EXPECT_NE(message, "Unknown error.");
        for (int other = 0; other < code; ++other)
            EXPECT_NE(message, AnalysisErrorMessage(other));
    }
}

} // namespace
} // namespace kestra
