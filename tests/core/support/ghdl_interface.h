#pragma once

// GHDL's view of an entity's generics and ports, read from the XML that "ghdl --file-to-xml"
// writes: names, modes and type marks, for comparing with what the readers make of a source.

#include "support/ghdl.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace kestra::test {

struct XmlElement {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::vector<XmlElement> children;

    std::string Attribute(const std::string& key) const {
        const auto found = attributes.find(key);
        return found == attributes.end() ? std::string() : found->second;
    }
    const XmlElement* Child(const std::string& childName) const {
        for (const XmlElement& child : children) {
            if (child.name == childName)
                return &child;
        }
        return nullptr;
    }
    // The first element of that name below this one, depth first.
    const XmlElement* Descendant(const std::string& descendantName) const {
        for (const XmlElement& child : children) {
            if (child.name == descendantName)
                return &child;
            if (const XmlElement* found = child.Descendant(descendantName))
                return found;
        }
        return nullptr;
    }
};

// Parses the element that starts at pos (a '<'); pos is left after it. Enough XML for GHDL's
// output: elements and attributes, no text content, no comments inside.
inline std::optional<XmlElement> ParseXmlElement(std::string_view text, std::size_t& pos) {
    if (pos >= text.size() || text[pos] != '<')
        return std::nullopt;
    XmlElement element;
    std::size_t i = pos + 1;
    while (i < text.size() && text[i] != ' ' && text[i] != '>' && text[i] != '/' && text[i] != '\n')
        element.name += text[i++];
    for (;;) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\n' || text[i] == '\r' || text[i] == '\t'))
            ++i;
        if (i >= text.size())
            return std::nullopt;
        if (text.compare(i, 2, "/>") == 0) {
            pos = i + 2;
            return element;
        }
        if (text[i] == '>') {
            ++i;
            break;
        }
        const std::size_t equals = text.find('=', i);
        const std::size_t open = text.find('"', equals);
        const std::size_t close = text.find('"', open + 1);
        if (equals == std::string_view::npos || open == std::string_view::npos ||
            close == std::string_view::npos)
            return std::nullopt;
        element.attributes[std::string(text.substr(i, equals - i))] =
            std::string(text.substr(open + 1, close - open - 1));
        i = close + 1;
    }
    for (;;) {
        const std::size_t next = text.find('<', i);
        if (next == std::string_view::npos)
            return std::nullopt;
        if (text.compare(next, 2, "</") == 0) {
            const std::size_t end = text.find('>', next);
            pos = end == std::string_view::npos ? text.size() : end + 1;
            return element;
        }
        i = next;
        std::optional<XmlElement> child = ParseXmlElement(text, i);
        if (!child)
            return std::nullopt;
        element.children.push_back(std::move(*child));
    }
}

struct GhdlDeclaration {
    std::string name; // lower case, as GHDL keeps basic identifiers
    std::string mode;
    std::string typeMark;
};

struct GhdlEntity {
    std::vector<GhdlDeclaration> generics;
    std::vector<GhdlDeclaration> ports;
};

// The declarations of one chain; names that share a declaration share its type.
inline std::vector<GhdlDeclaration> GhdlChain(const XmlElement* chain) {
    std::vector<GhdlDeclaration> declarations;
    if (chain == nullptr)
        return declarations;
    std::string lastType;
    for (const XmlElement& el : chain->children) {
        GhdlDeclaration declaration;
        declaration.name = el.Attribute("identifier");
        declaration.mode = el.Attribute("mode");
        const XmlElement* subtype = el.Child("subtype_indication");
        if (subtype == nullptr || !subtype->Attribute("ref").empty()) {
            declaration.typeMark = lastType;
        } else {
            const std::string kind = subtype->Attribute("kind");
            if (kind == "simple_name" || kind == "selected_name") {
                declaration.typeMark = subtype->Attribute("identifier");
            } else if (const XmlElement* mark = subtype->Descendant("subtype_type_mark")) {
                declaration.typeMark = mark->Attribute("identifier");
            }
        }
        lastType = declaration.typeMark;
        declarations.push_back(declaration);
    }
    return declarations;
}

// The GHDL options a designer gives for a standard: 93c for the tool's own style (with the
// Synopsys packages it uses), 08 for sources that need VHDL-2008.
inline std::string GhdlOptions(const std::string& standard) {
    return standard == "08" ? " --std=08 --workdir=. " : " --std=93c --ieee=synopsys -fexplicit --workdir=. ";
}

// Analyses the dependencies, then reads the entity's interface from the file's XML. None when
// GHDL rejects the sources or the entity is not in the file; the output is in `log`.
inline std::optional<GhdlEntity> GhdlEntityInterface(const std::filesystem::path& folder,
                                                     const std::vector<std::string>& dependencies,
                                                     const std::string& file, const std::string& entity,
                                                     const std::string& standard, std::string& log) {
    namespace fs = std::filesystem;
    std::random_device random;
    const fs::path work = fs::temp_directory_path() / ("kestra-ghdl-xml-" + std::to_string(random()));
    fs::create_directories(work);
    std::string command = "cd '" + work.string() + "'";
    for (const std::string& dependency : dependencies)
        command += " && ghdl -a" + GhdlOptions(standard) + "'" + (folder / dependency).string() + "'";
    command += " && ghdl --file-to-xml" + GhdlOptions(standard) + "'" + (folder / file).string() +
               "' > unit.xml 2> log.txt";
    const bool ok = std::system(command.c_str()) == 0;
    std::ifstream logFile(work / "log.txt");
    log.assign(std::istreambuf_iterator<char>(logFile), std::istreambuf_iterator<char>());
    std::ifstream xmlFile(work / "unit.xml");
    const std::string xml((std::istreambuf_iterator<char>(xmlFile)), std::istreambuf_iterator<char>());
    std::error_code ignored;
    fs::remove_all(work, ignored);
    if (!ok)
        return std::nullopt;

    std::string lowered = entity;
    for (char& c : lowered)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string fileName = fs::path(file).filename().string();
    for (std::size_t at = xml.find("kind=\"entity_declaration\""); at != std::string::npos;
         at = xml.find("kind=\"entity_declaration\"", at + 1)) {
        std::size_t start = xml.rfind('<', at);
        const std::optional<XmlElement> unit = ParseXmlElement(xml, start);
        if (!unit || unit->Attribute("identifier") != lowered ||
            fs::path(unit->Attribute("file")).filename().string() != fileName)
            continue;
        return GhdlEntity{GhdlChain(unit->Child("generic_chain")), GhdlChain(unit->Child("port_chain"))};
    }
    log += "entity " + entity + " not found in the XML of " + file;
    return std::nullopt;
}

} // namespace kestra::test
