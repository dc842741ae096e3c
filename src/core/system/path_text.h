#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kestra {

// Paths kept as text (in project files, settings and records) may come from a system that
// separates folders with '\'. Everything that turns such text into a path goes through here.

// Every '\' becomes '/'.
std::string NormalizeSeparators(std::string_view text);

// The text as a path: separators normalised, a relative text taken relative to base.
std::filesystem::path ResolvePath(const std::filesystem::path& base, std::string_view text);

// The text up to its last separator ('/' or '\'), without it; empty when there is none.
std::string FolderOfPath(std::string_view path);

// The text after its last separator.
std::string FileNameOfPath(std::string_view path);

// The VHDL library of a module file named relative to the module folder: the folder it stands
// in ("olo/fifo.vhd" -> "olo"), in lower case; "work" for a file in the module folder itself.
std::string LibraryOfModuleFile(std::string_view fileName);

bool EndsWithNoCase(std::string_view text, std::string_view suffix);

// The text that names the file as seen from the folder: its path below the folder
// ("docs/board.pcf") when it lies inside it, else its absolute path. Compared as written, after
// "." and ".." are taken out; links are not followed. A relative file stays as it is.
std::string PathTextFrom(const std::filesystem::path& folder, const std::filesystem::path& file);

// Both paths name the same folder (after normalising; through links where they exist).
bool SameFolder(const std::filesystem::path& a, const std::filesystem::path& b);

} // namespace kestra
