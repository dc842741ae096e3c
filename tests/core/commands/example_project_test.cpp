#include "project/kst_doc.h"
#include "project/message_log.h"
#include "support/ghdl.h"
#include "support/project_commands.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"
#include "system/file_system.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

using test::ProjectCommands;

namespace fs = std::filesystem;

// The example project as shipped: it opens, analyses without error and generates exactly the
// reviewed file, which GHDL analyses and elaborates.
TEST(ExampleProject, AnalyzesAndGeneratesTheReviewedFile) {
    test::TempFolder folder;
    fs::copy(fs::path(KESTRA_EXAMPLES) / "blinker", folder.Path(), fs::copy_options::recursive);
    CScriptedPrompts prompts;
    CMemoryLog log;
    CKSTDoc doc(prompts, log);
    ASSERT_TRUE(doc.OnOpenDocument((folder / "Blinker.kst").string())) << log.Text();
    doc.OnFirstUpdate();
    ProjectCommands commands(doc);
    commands.session.Select(doc.Tree().GetRootItem());
    ASSERT_TRUE(commands.analysis.OnAnalyzeModule()) << log.Text();
    ASSERT_TRUE(commands.generation.OnGenerate()) << log.Text();
    EXPECT_EQ(log.Text().find("ERROR"), std::string::npos) << log.Text();

    const std::string generated = ReadWholeFile(folder / "BLINKER.vhd").ValueOr("<missing>");
    EXPECT_EQ(generated, ReadWholeFile(fs::path(KESTRA_TEST_DATA) / "golden" / "blinker_generated.vhd"));
    EXPECT_NE(generated.find("entity DIVIDER_2 is"), std::string::npos);
    if (test::GhdlAvailable()) {
        const auto result = test::GhdlAnalyze({generated}, "BLINKER");
        EXPECT_TRUE(result.ok) << result.output;
    }
}

} // namespace
} // namespace kestra
