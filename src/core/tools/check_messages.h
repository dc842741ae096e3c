#pragma once

#include "tools/vhdl_check.h"

#include <filesystem>
#include <map>
#include <vector>

namespace kestra {

// The messages of the last check that analysed each file, kept for the VHDL editor's markers.
// A check replaces the messages of every file it analysed, also by none; a message belongs to
// the file of the job it names, as the check's log counts it, and a message that names no file
// of the job (or no line) is not kept. Files are told apart by their normal path.
class CCheckMessageStore {
public:
    // Takes in the check's messages; answers the files whose messages it replaced (none for a
    // check that was cancelled or could not run the analyser).
    std::vector<std::filesystem::path> Record(const CheckJob& job, const CheckOutcome& outcome);
    // The messages of the last check that analysed the file, in the analyser's order.
    std::vector<CheckMessage> MessagesOf(const std::filesystem::path& path) const;

private:
    std::map<std::filesystem::path, std::vector<CheckMessage>> m_byFile;
};

} // namespace kestra
