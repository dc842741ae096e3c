#pragma once

#include "library/library_roots.h"

#include <filesystem>
#include <optional>
#include <utility>

namespace kestra {

// How Insert Library Module and Insert Predefined Module learn which module to insert: the
// window layer lets the user pick one in the library's tree.
class CLibraryChooser {
public:
    virtual ~CLibraryChooser() = default;
    // The chosen module file; none when the user cancelled or chose no module.
    [[nodiscard]] virtual std::optional<std::filesystem::path> ChooseModule(LibraryKind kind) = 0;
};

// Chooses the one module file it was given, whatever the library: for callers that name the
// file themselves.
class CFixedLibraryChooser : public CLibraryChooser {
public:
    explicit CFixedLibraryChooser(std::filesystem::path file) : m_file(std::move(file)) {}
    [[nodiscard]] std::optional<std::filesystem::path> ChooseModule(LibraryKind) override { return m_file; }

private:
    std::filesystem::path m_file;
};

} // namespace kestra
