#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

namespace kestra {

// The one place where 8-bit project text meets Qt's strings (for the window, the command line,
// the pictures and the platform's own services alike). Names and VHDL text are single
// bytes (Latin-1); file paths are the system's own encoding; messages, which may quote either,
// are shown as UTF-8 when they are valid UTF-8 and as Latin-1 otherwise.
QString TextToQt(std::string_view text);
std::string TextFromQt(const QString& text);
QString PathToQt(const std::filesystem::path& path);
std::filesystem::path PathFromQt(const QString& path);
QString MessageToQt(std::string_view text);
// A message typed or shown in the window, as UTF-8.
std::string MessageFromQt(const QString& text);
// Settings values are paths and command lines that the core hands to the file system and to
// the programs it starts: they take the encoding of paths, whoever wrote them (the window, the
// core, a program found on PATH).
QString SettingToQt(std::string_view value);
std::string SettingFromQt(const QString& value);

} // namespace kestra
