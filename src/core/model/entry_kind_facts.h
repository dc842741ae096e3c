#pragma once

#include "model/design_object.h"
#include "model/item_kind.h"

#include <array>
#include <cstdint>

namespace kestra {

// What Invoke does with a row of the parameter list.
enum class ParameterAction { None, TextEditor, ChoiceBox, HdlEditor, FolderChooser, OpenLink };

// How a typed or pasted value of a kind is checked before it reaches the source, where it
// stands as the generic's default (or as a constant's value).
enum class ValueRule {
    Text,       // anything but ';', "--" and '"', which would end it early in the source
    Expression, // a VHDL expression as written: no ';' or "--", and '"' only in pairs
    Numeric,    // an integer expression of numbers and names the module sees (CheckNumericExpression)
    Name,       // a usable VHDL name (blanks become '_')
    Choice,     // one of the entry's choices; anything else is ignored
};

// How the parameter list draws a kind: a coloured tag with a short mark, the hierarchy's image
// of a module kind, or a folder.
enum class EntryIcon { Tag, Module, Folder };

// Everything the system knows about one entry kind, in one place: how the entry is written,
// what the parameter list may do with it, how it becomes a generic and how it is drawn.
struct EntryKindFacts {
    EntryKind kind = EntryKind::None;
    // The label of its entry text line; String parameters have none of their own.
    const char* label = "UNKNOWN";
    bool editsName = false;  // the list edits the name
    bool editsValue = false; // the list edits the value, as text or by a choice
    bool copyable = false;   // Copy, Cut and Paste take it
    bool removable = true;   // Remove takes it out (never row 0)
    // The Invoke action on the name column (or forced) and on the value column; an HDL editor
    // needs a file name in the value.
    ParameterAction nameAction = ParameterAction::None;
    ParameterAction valueAction = ParameterAction::None;
    bool choicesOnValue = false; // the value column offers the entry's choices when it has some
    ValueRule valueRule = ValueRule::Text;
    // What Add puts into a new entry of the kind; no name for kinds that are not added.
    const char* addedName = nullptr;
    const char* addedValue = nullptr;
    std::array<const char*, 2> addedChoices{};
    bool generic = false;    // declared in the entity's generic clause
    bool choiceType = false; // its choices are the literals of an ENUM_ type of its name
    // The type word of its generic in the tool's form; null when it has none. Numeric and String
    // generics are written in every generic clause, the others only where all kinds are.
    const char* typeWord = nullptr;
    bool typeWordInEveryClause = false;
    bool quotedValue = false; // its generic's default is its value in double quotes
    EntryIcon icon = EntryIcon::Tag;
    HierarchyKind iconModule = HierarchyKind::Normal; // the module image of a Module icon
    const char* iconTag = "\"\"";
    std::uint32_t iconColour = 0x555b66; // 0xRRGGBB
};

// The facts of the kinds this system knows, indexed by the kind code the project file stores.
inline constexpr std::array<EntryKindFacts, 15> kEntryKindFacts = {{
    {.kind = EntryKind::Vhdl,
     .label = "VHDL",
     .removable = false,
     .nameAction = ParameterAction::HdlEditor,
     .valueAction = ParameterAction::HdlEditor,
     .icon = EntryIcon::Module,
     .iconModule = HierarchyKind::Normal},
    {.kind = EntryKind::Numeric,
     .label = "NUM",
     .editsName = true,
     .editsValue = true,
     .copyable = true,
     .nameAction = ParameterAction::TextEditor,
     .valueAction = ParameterAction::TextEditor,
     .choicesOnValue = true,
     .valueRule = ValueRule::Numeric,
     .addedName = "Numeric",
     .addedValue = "8",
     .generic = true,
     .choiceType = true,
     .typeWord = "integer",
     .typeWordInEveryClause = true,
     .iconTag = "#",
     .iconColour = 0x1f6fc0},
    {.kind = EntryKind::DataType,
     .label = "TYP",
     .editsName = true,
     .editsValue = true,
     .copyable = true,
     .nameAction = ParameterAction::TextEditor,
     .valueAction = ParameterAction::TextEditor,
     .choicesOnValue = true,
     .addedName = "DataType",
     .addedValue = "YourType",
     .generic = true,
     .choiceType = true,
     .typeWord = "type",
     .iconTag = "T",
     .iconColour = 0x7a3fb0},
    {.kind = EntryKind::Architecture,
     .label = "ARCH",
     .editsValue = true,
     .removable = false,
     .nameAction = ParameterAction::ChoiceBox,
     .valueAction = ParameterAction::ChoiceBox,
     .valueRule = ValueRule::Choice,
     .iconTag = "A",
     .iconColour = 0x2e8b57},
    {.kind = EntryKind::Library,
     .label = "LIB",
     .editsName = true,
     .editsValue = true,
     .removable = false,
     .nameAction = ParameterAction::TextEditor,
     .valueAction = ParameterAction::TextEditor,
     .iconTag = "L",
     .iconColour = 0x8b5a2b},
    {.kind = EntryKind::Component,
     .label = "COMP",
     .removable = false,
     .nameAction = ParameterAction::HdlEditor,
     .valueAction = ParameterAction::HdlEditor,
     .icon = EntryIcon::Module,
     .iconModule = HierarchyKind::Library},
    {.kind = EntryKind::Predefined,
     .label = "PRE",
     .removable = false,
     .nameAction = ParameterAction::HdlEditor,
     .valueAction = ParameterAction::HdlEditor,
     .icon = EntryIcon::Module,
     .iconModule = HierarchyKind::Predefined},
    {.kind = EntryKind::Directory,
     .label = "DIR",
     .removable = false,
     .nameAction = ParameterAction::FolderChooser,
     .valueAction = ParameterAction::FolderChooser,
     .icon = EntryIcon::Folder},
    {.kind = EntryKind::Link,
     .label = "LINK",
     .editsName = true,
     .editsValue = true,
     .copyable = true,
     .nameAction = ParameterAction::TextEditor,
     .valueAction = ParameterAction::OpenLink,
     .addedName = "Link",
     .addedValue = "<Filename>",
     .generic = true,
     .typeWord = "file",
     .quotedValue = true,
     .iconTag = "@",
     .iconColour = 0x008080},
    {.kind = EntryKind::Logic,
     .label = "LOGIC",
     .editsName = true,
     .editsValue = true,
     .copyable = true,
     .nameAction = ParameterAction::TextEditor,
     .valueAction = ParameterAction::ChoiceBox,
     .addedName = "Logic",
     .addedValue = "'0'",
     .addedChoices = {"'0'", "'1'"},
     .generic = true,
     .typeWord = "STD_LOGIC",
     .iconTag = "01",
     .iconColour = 0xc0392b},
    {.kind = EntryKind::Package,
     .label = "PKG",
     .removable = false,
     .nameAction = ParameterAction::HdlEditor,
     .valueAction = ParameterAction::HdlEditor,
     .icon = EntryIcon::Module,
     .iconModule = HierarchyKind::Package},
    {.kind = EntryKind::Note,
     .label = "NOTE",
     .editsName = true,
     .editsValue = true,
     .copyable = true,
     .nameAction = ParameterAction::TextEditor,
     .valueAction = ParameterAction::TextEditor,
     .addedName = "Note",
     .addedValue = "<Your note>",
     .generic = true,
     .typeWord = "note",
     .quotedValue = true,
     .iconTag = "i",
     .iconColour = 0xb08a00},
    {.kind = EntryKind::Style,
     .label = "STYLE",
     .editsName = true,
     .editsValue = true,
     .copyable = true,
     .nameAction = ParameterAction::TextEditor,
     .valueAction = ParameterAction::ChoiceBox,
     .valueRule = ValueRule::Name,
     .addedName = "Style",
     .addedValue = "Style1",
     .addedChoices = {"Style1", "Style2"},
     .iconTag = "S",
     .iconColour = 0xd35400},
    {.kind = EntryKind::String,
     .editsName = true,
     .editsValue = true,
     .nameAction = ParameterAction::TextEditor,
     .valueAction = ParameterAction::TextEditor,
     .choicesOnValue = true,
     .generic = true,
     .choiceType = true,
     .typeWord = "string",
     .typeWordInEveryClause = true,
     .quotedValue = true},
    {.kind = EntryKind::Generic,
     .label = "GEN",
     .editsName = true,
     .editsValue = true,
     .nameAction = ParameterAction::TextEditor,
     .valueAction = ParameterAction::TextEditor,
     .valueRule = ValueRule::Expression,
     .generic = true,
     .iconTag = "G",
     .iconColour = 0x3f6e2a},
}};

// The facts of None and of kind codes this system does not know (a file may hold any): no
// label, nothing the list may do but remove it, no generic, drawn as a String parameter.
inline constexpr EntryKindFacts kUnknownEntryKindFacts{};

constexpr bool FactsFollowTheKindCodes() {
    for (std::size_t i = 0; i < kEntryKindFacts.size(); ++i) {
        if (static_cast<std::size_t>(kEntryKindFacts[i].kind) != i)
            return false;
    }
    return true;
}
static_assert(FactsFollowTheKindCodes(), "kEntryKindFacts is indexed by the kind code");

constexpr const EntryKindFacts& FactsOf(EntryKind kind) {
    const int code = static_cast<int>(kind);
    if (code < 0 || code >= static_cast<int>(kEntryKindFacts.size()))
        return kUnknownEntryKindFacts;
    return kEntryKindFacts[static_cast<std::size_t>(code)];
}

} // namespace kestra
