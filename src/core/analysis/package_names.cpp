#include "analysis/package_names.h"

#include "analysis/design_units.h"
#include "analysis/token_reader.h"

namespace kestra {

namespace {

std::string_view TextOf(const CTokenReader& reader, const VhdlToken& token) {
    return reader.Text().substr(token.start, token.end - token.start);
}

// "constant A, B : ..." after the word "constant": the names up to the ':'.
void ReadConstantNames(CTokenReader& reader, std::vector<std::string>& names) {
    for (VhdlToken token = reader.Next(); token.kind == TokenKind::Word; token = reader.Next()) {
        names.emplace_back(TextOf(reader, token));
        if (!reader.Peek().Is(','))
            return;
        reader.Next();
    }
}

// Whether the "end" just read closes the package: "end;", "end package ..." or "end NAME".
bool ClosesPackage(CTokenReader& reader, std::string_view name) {
    const VhdlToken next = reader.Peek();
    return next.Is(';') || next.Is(VhdlKeyword::Package) ||
           (next.kind == TokenKind::Word && SameTextNoCase(TextOf(reader, next), name));
}

// The declarative part of a package declaration, from after its "is" to its "end".
PackageConstants ReadPackageDeclaration(CTokenReader& reader, std::string_view name) {
    PackageConstants package{std::string(name), {}};
    int depth = 0;
    for (VhdlToken token = reader.Next(); token.kind != TokenKind::EndOfText; token = reader.Next()) {
        if (token.Is('('))
            ++depth;
        else if (token.Is(')'))
            --depth;
        else if (depth == 0 && token.Is(VhdlKeyword::Constant))
            ReadConstantNames(reader, package.constants);
        else if (depth == 0 && token.Is(VhdlKeyword::End) && ClosesPackage(reader, name))
            break;
    }
    return package;
}

// A selected name of a use clause, after "use": its parts, "all" included.
void AddUsedItems(const std::vector<std::string>& parts, std::vector<UsedPackageItem>& used) {
    const std::size_t count = parts.size();
    if (count < 2)
        return;
    used.push_back({parts[count - 2], parts[count - 1]});
    if (count == 2 && !SameTextNoCase(parts[1], "all"))
        used.push_back({parts[1], {}});
}

} // namespace

std::vector<PackageConstants> ReadPackageConstants(std::string_view text) {
    std::vector<PackageConstants> packages;
    CTokenReader reader(text);
    for (VhdlToken token = reader.Next(); token.kind != TokenKind::EndOfText; token = reader.Next()) {
        if (!token.Is(VhdlKeyword::Package))
            continue;
        const VhdlToken name = reader.Next();
        if (name.kind != TokenKind::Word || name.Is(VhdlKeyword::Body) ||
            !reader.Next().Is(VhdlKeyword::Is) || reader.Peek().Is(VhdlKeyword::New))
            continue;
        packages.push_back(ReadPackageDeclaration(reader, TextOf(reader, name)));
    }
    return packages;
}

std::vector<UsedPackageItem> ReadUseClausesBeforeEntity(std::string_view text,
                                                        const std::string& entityName) {
    std::vector<UsedPackageItem> used;
    // Only the clauses in front of the entity's own declaration count: in a file of several
    // units, those of the units before it do not reach it.
    for (const DesignUnit& unit : ReadDesignUnits(text).units) {
        if (unit.kind != DesignUnitKind::Entity || !SameTextNoCase(unit.name, entityName))
            continue;
        for (const UseClause& use : unit.context.uses) {
            std::vector<std::string> parts;
            for (const std::string* part : {&use.library, &use.package, &use.item}) {
                if (!part->empty())
                    parts.push_back(*part);
            }
            AddUsedItems(parts, used);
        }
        break;
    }
    return used;
}

} // namespace kestra
