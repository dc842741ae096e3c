#pragma once

// Every command class of one project over a session of its own, as the views of a project
// window use them. Tests that share the open projects (Paste between two projects) pass theirs.

#include "commands/analysis_commands.h"
#include "commands/clipboard_commands.h"
#include "commands/generate_commands.h"
#include "commands/library_commands.h"
#include "commands/module_commands.h"
#include "commands/parameter_commands.h"
#include "session/project_session.h"

#include <memory>

namespace kestra::test {

struct ProjectCommands {
    explicit ProjectCommands(CKSTDoc& doc, CProjectObserver* observer = nullptr,
                             COpenProjects* shared = nullptr)
        : ownProjects(shared == nullptr ? std::make_unique<COpenProjects>() : nullptr),
          session(doc, shared != nullptr ? *shared : *ownProjects, observer) {}

    std::unique_ptr<COpenProjects> ownProjects;
    CProjectSession session;
    CModuleCommands modules{session};
    CClipboardCommands clipboard{session};
    CAnalysisCommands analysis{session};
    CGenerateCommands generation{session};
    CLibraryCommands library{session};
    CParameterCommands parameters{session};
};

} // namespace kestra::test
