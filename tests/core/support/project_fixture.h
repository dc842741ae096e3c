#pragma once

// A real project on disk for one test: a new project in a fresh folder, its root item created
// by the first update, and helpers to add modules with their sources.

#include "analysis/scanner.h"
#include "model/design_object.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"
#include "system/file_system.h"

#include <gtest/gtest.h>
#include <string>

namespace kestra::test {

class ProjectFixture {
public:
    ProjectFixture() : doc(prompts, log) {
        doc.SetIdentity({"tester", "bench"});
        EXPECT_TRUE(doc.OnNewDocument((folder / "project.kst").string()));
        doc.OnFirstUpdate();
        log.ClearLog();
    }

    CHierarchyItem* Root() { return doc.Tree().GetRootItem(); }
    std::filesystem::path SourcePath(const std::string& name) {
        return doc.GetModuleFolderPath() / (name + ".vhd");
    }

    // Inserts a module item whose entry 0 names its file, and writes the source when given.
    CHierarchyItem* AddModule(CHierarchyItem* parent, const std::string& name, const std::string& source,
                              HierarchyKind kind = HierarchyKind::Normal) {
        CHierarchyItem* item = doc.Tree().InsertItem(name, kind, parent);
        CKSTObject* object = item->Object();
        object->SetEntryCount(1);
        object->SetEntry(0, EntryKindOfItem(kind), name, name + ".vhd");
        if (!source.empty())
            WriteSource(name, source);
        return item;
    }
    void WriteSource(const std::string& name, const std::string& source) {
        EXPECT_TRUE(ReplaceFileSafely(SourcePath(name), source));
    }
    std::string ReadSource(const std::string& name) {
        return ReadWholeFile(SourcePath(name)).ValueOr("<missing>");
    }

    TempFolder folder;
    CScriptedPrompts prompts;
    CMemoryLog log;
    CKSTDoc doc;
};

// A module with the given ports and architecture body, in the style new modules are written.
inline std::string SimpleModule(const std::string& name, const std::string& generics,
                                const std::string& ports, const std::string& body = "") {
    std::string text = "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\n\r\nentity " + name + " is\r\n";
    if (!generics.empty())
        text += "\tgeneric (" + generics + ");\r\n";
    text += "\tport (" + ports + ");\r\nend " + name + ";\r\n\r\narchitecture " + name + "_arch of " + name +
            " is\r\nbegin\r\n" + body + "end " + name + "_arch;\r\n";
    return text;
}

} // namespace kestra::test
