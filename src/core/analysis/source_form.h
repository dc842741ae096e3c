#pragma once

#include <string>
#include <string_view>

namespace kestra {

struct EntityInterface;
struct EntityLayout;

// Whether a source is written in the tool's own form (see IsToolFormSource) or otherwise.
enum class SourceForm { Tool, Other };

// Whether a module source is written the way the tool writes its own modules, so that its
// entity header may be rebuilt from the parameters as a whole: CR LF line ends, lines indented
// with tabs only, a generic clause whose declarations each name one generic of a type word the
// tool reads and writes (integer, type, std_logic, file, note, string) without a constraint or
// a comment in the clause, and an entity declarative part of nothing but type and constant
// declarations without comments. Any other source (a module imported from elsewhere) is
// edited in place instead.
bool IsToolFormSource(std::string_view text, const std::string& entityName);

// The same for an entity whose layout has been read already (by analysis or ReadEntityLayout):
// nothing of the entity is read again.
bool IsToolFormSource(std::string_view text, const EntityLayout& entity);

// The same for an entity whose clauses have been read already (ReadEntityInterface): only its
// declarative part is looked at.
bool IsToolFormSource(std::string_view text, const EntityInterface& entity);

// The line end the text uses: "\n" when its first line break is a lone LF, else CR LF.
std::string LineEndOf(std::string_view text);

// Text written with CR LF line ends, given the line end of the file it goes into.
std::string WithLineEnds(std::string_view text, const std::string& lineEnd);

} // namespace kestra
