#pragma once

namespace kestra {

// The numbered outcomes of analysing a module source, held by AnalysisContext::errorCode. The
// numbers are the ones the log shows; NoError (0) means that analysis succeeded.
enum class AnalysisErrorCode : int {
    NoError = 0,
    SyntaxError = 1,
    ExpectedKeywordNotFound = 2,
    MissingIdentifier = 3,
    PunctuationError = 4,
    WrongKeyword = 5,
    MissingKeywordOrParameter = 6,
    FileIoError = 7,
    MissingKeyword = 8,
    MissingParameter = 9,
    EntityNotFound = 10,
    ChildModuleIncorrect = 11,
    ChildModuleNotFound = 12,
    ArchitectureBodyNotFound = 13,
    UnexpectedEndOfFile = 14,
    WrongExpression = 15,
    EndOfArchitectureBodyNotFound = 16,
    ParameterNotInChoiceList = 17,
    EndOfEntityBodyNotFound = 18,
    RepeatedParameterName = 19,
    SignalAssignmentInPort = 20,
    CloseBracketNotFound = 21,
    // VHDL-2008 generics that declare a type, a subprogram or a package: no parameter can stand
    // for them.
    UnsupportedGeneric = 22,
};

// The fixed message logged for an error code; "Unknown error." for any code outside 0 to 22.
const char* AnalysisErrorMessage(int code);
inline const char* AnalysisErrorMessage(AnalysisErrorCode code) {
    return AnalysisErrorMessage(static_cast<int>(code));
}

} // namespace kestra
