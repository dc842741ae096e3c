#pragma once

#include <string>
#include <string_view>

namespace kestra {

// Messages carry their own line breaks as CR LF: nearly every one starts with "\r\n".
inline constexpr const char* kLogNewLine = "\r\n";
inline constexpr const char* kLogWarningPrefix = "\r\nWARNING: ";
inline constexpr const char* kLogErrorPrefix = "\r\nERROR: ";

// The running report of one project window: text is appended exactly as given (no time
// stamps, no added line breaks) until the log is cleared.
class CMessageLog {
public:
    virtual ~CMessageLog() = default;
    virtual void AppendLog(const std::string& text) = 0;
    virtual void ClearLog() = 0;

    void AppendWarning(const std::string& text) { AppendLog(kLogWarningPrefix + text); }
    void AppendError(const std::string& text) { AppendLog(kLogErrorPrefix + text); }
};

// A log kept as one text: for tests and the command line.
class CMemoryLog : public CMessageLog {
public:
    void AppendLog(const std::string& text) override { m_text += text; }
    void ClearLog() override { m_text.clear(); }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

// The log text with each CR LF as a single line feed, for a terminal or a plain text pane.
std::string LogTextForDisplay(std::string_view text);

} // namespace kestra
