#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestra {

// The text of one VHDL library of a design copy.
struct LibraryText {
    std::string library; // lower case
    std::string text;
};

// The generated copy of a design brought in from existing files: every design unit it needs
// once, as the sources write it (the parameters chosen are in the sources' generic defaults),
// in an order in which each unit follows those it needs: packages first, then each entity with
// its chosen architecture after the entities it instantiates. Each VHDL library gets a text of
// its own, and the libraries come in the order in which they are first needed.
class CDesignCopy {
public:
    // The package declarations and bodies of a package module's file, each file once.
    void AddPackages(std::string_view fileKey, const std::string& library, std::string_view text);
    // An entity with its context clause and the chosen architecture (empty: the last one of the
    // file), once per library and entity; add children before their parents. False when the
    // text declares no such entity or architecture.
    [[nodiscard]] bool AddModule(const std::string& library, std::string_view text, std::string_view entity,
                                 std::string_view architecture);

    // The line (from 1) at which the next unit of the library begins.
    int NextLine(const std::string& library) const;
    const std::vector<LibraryText>& Libraries() const { return m_libraries; }

private:
    std::string& TextOf(const std::string& library);

    std::vector<LibraryText> m_libraries;
    std::vector<std::string> m_files;    // file keys whose packages were added
    std::vector<std::string> m_entities; // "library.entity" in lower case
};

} // namespace kestra
