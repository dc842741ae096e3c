// Modules written as open-source IP libraries write them (tests/data/imported, listed in
// sources.txt): each analyses without error, and its generics and ports agree with GHDL's view.
#include "analysis/interface_list.h"
#include "analysis/reader_fixture.h"
#include "support/ghdl_interface.h"
#include "system/file_system.h"

#include <gtest/gtest.h>
#include <iostream>
#include <sstream>

namespace kestra {
namespace {

namespace fs = std::filesystem;
using test::ModuleAnalysis;

const fs::path kFolder = fs::path(KESTRA_TEST_DATA) / "imported";

struct ImportedSource {
    std::string file;
    std::string entity;
    std::string standard;
    std::vector<std::string> dependencies;
};

std::vector<ImportedSource> ImportedSources() {
    std::vector<ImportedSource> sources;
    std::istringstream lines(ReadWholeFile(kFolder / "sources.txt").ValueOr(""));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        ImportedSource source;
        words >> source.file >> source.entity >> source.standard;
        for (std::string dependency; words >> dependency;)
            source.dependencies.push_back(dependency);
        sources.push_back(source);
    }
    return sources;
}

// The last name of a type mark ("work.pkg.t_word" gives t_word), in lower case.
std::string TypeName(const std::string& typeMark) {
    return ToLowerAscii(typeMark.substr(typeMark.rfind('.') + 1));
}

// The readers' view in GHDL's terms.
test::GhdlEntity ReadersView(const std::string& text, const ModuleAnalysis& analysis,
                             const std::string& entity) {
    test::GhdlEntity view;
    if (const std::optional<EntityInterface> header = ReadEntityInterface(text, entity);
        header && header->generics) {
        for (const InterfaceDeclaration& declaration : header->generics->declarations) {
            for (const std::string& name : declaration.names)
                view.generics.push_back({ToLowerAscii(name), "in", TypeName(declaration.typeMark)});
        }
    }
    for (int i = 0; i < analysis.signals.GetSignalCount(); ++i) {
        view.ports.push_back({ToLowerAscii(analysis.signals.GetSignalText(i, 0)),
                              analysis.signals.GetSignalText(i, 1),
                              TypeName(analysis.signals.GetSignalText(i, 2))});
    }
    return view;
}

std::string Describe(const std::vector<test::GhdlDeclaration>& declarations) {
    std::string text;
    for (const test::GhdlDeclaration& d : declarations)
        text += d.name + ":" + d.mode + ":" + d.typeMark + " ";
    return text;
}

bool SameDeclarations(const std::vector<test::GhdlDeclaration>& a,
                      const std::vector<test::GhdlDeclaration>& b, bool compareModes) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].typeMark != b[i].typeMark ||
            (compareModes && a[i].mode != b[i].mode))
            return false;
    }
    return true;
}

TEST(ImportedSources, AtLeastFortyModulesAnalyzeWithoutError) {
    const std::vector<ImportedSource> sources = ImportedSources();
    ASSERT_GE(sources.size(), 40u);
    for (const ImportedSource& source : sources) {
        SCOPED_TRACE(source.file + " " + source.entity);
        const std::string text = ReadWholeFile(kFolder / source.file).ValueOr("");
        ASSERT_FALSE(text.empty());
        ModuleAnalysis analysis;
        test::AnalyzeModuleSource(text, source.entity, analysis);
        EXPECT_EQ(analysis.context.errorCode, AnalysisErrorCode::NoError)
            << "line " << analysis.context.errorLine;
        // Every generic became a parameter the user can see.
        const std::optional<EntityInterface> header = ReadEntityInterface(text, source.entity);
        ASSERT_TRUE(header.has_value());
        if (header->generics) {
            for (const InterfaceDeclaration& declaration : header->generics->declarations) {
                for (const std::string& name : declaration.names)
                    EXPECT_GT(analysis.object.FindEntry(name), 0) << name;
            }
        }
        EXPECT_GT(analysis.signals.GetSignalCount(), 0);
    }
}

TEST(ImportedSources, GenericsAndPortsAgreeWithGhdl) {
    KESTRA_REQUIRE_GHDL();
    const std::vector<ImportedSource> sources = ImportedSources();
    int agreeing = 0;
    for (const ImportedSource& source : sources) {
        SCOPED_TRACE(source.file + " " + source.entity);
        const std::string text = ReadWholeFile(kFolder / source.file).ValueOr("");
        ModuleAnalysis analysis;
        test::AnalyzeModuleSource(text, source.entity, analysis);
        std::string log;
        const std::optional<test::GhdlEntity> ghdl = test::GhdlEntityInterface(
            kFolder, source.dependencies, source.file, source.entity, source.standard, log);
        ASSERT_TRUE(ghdl.has_value()) << log;
        const test::GhdlEntity readers = ReadersView(text, analysis, source.entity);
        const bool generics = SameDeclarations(readers.generics, ghdl->generics, false);
        const bool ports = SameDeclarations(readers.ports, ghdl->ports, true);
        EXPECT_TRUE(generics) << "readers: " << Describe(readers.generics)
                              << "\nghdl:    " << Describe(ghdl->generics);
        EXPECT_TRUE(ports) << "readers: " << Describe(readers.ports)
                           << "\nghdl:    " << Describe(ghdl->ports);
        if (!analysis.context.HasError() && generics && ports)
            ++agreeing;
    }
    std::cout << "[ imported ] " << agreeing << " of " << sources.size()
              << " modules analyse without error and agree with GHDL\n";
    RecordProperty("agreeing", agreeing);
    RecordProperty("modules", static_cast<int>(sources.size()));
    EXPECT_EQ(agreeing, static_cast<int>(sources.size()));
}

} // namespace
} // namespace kestra
