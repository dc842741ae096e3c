#include "generation/module_template.h"
#include "operations/module_files.h"
#include "support/temp_folder.h"
#include "system/file_system.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(ModuleFiles, NewModuleFileAndRenameInside) {
    test::TempFolder folder;
    const auto file = folder / "ADDER.vhd";
    ASSERT_TRUE(WriteNewModuleTemplate(file, "ADDER"));
    EXPECT_EQ(ReadWholeFile(file), NewModuleTemplateText("ADDER"));

    std::string text =
        "-- ADDER here\r\nentity ADDER is end ADDER;\r\narchitecture ADDER_arch of ADDER is begin\r\n"
        "U_ADDER: MY_ADDER; end ADDER_arch;\r\n";
    ASSERT_TRUE(ReplaceFileSafely(file, text));
    ASSERT_TRUE(RenameModuleInFile(file, "ADDER", "SUM", HierarchyKind::Library));
    EXPECT_EQ(ReadWholeFile(file),
              "-- ADDER here\r\nentity SUM is end SUM;\r\narchitecture SUM_arch of SUM is begin\r\n"
              "U_SUM: MY_ADDER; end SUM_arch;\r\n");
    ASSERT_TRUE(RenameModuleInFile(file, "SUM", "ADD2", HierarchyKind::Normal));
    EXPECT_EQ(ReadWholeFile(file)->substr(0, 12), "-- ADDER her"); // ADDER is not SUM
    ASSERT_TRUE(RenameModuleInFile(file, "ADDER", "X", HierarchyKind::Package));
    EXPECT_EQ(ReadWholeFile(file)->substr(0, 9), "-- X here");

    EXPECT_FALSE(RenameModuleInFile(folder / "missing.vhd", "A", "B", HierarchyKind::Normal));
    EXPECT_FALSE(std::filesystem::exists(folder / "missing.vhd"));
}

} // namespace
} // namespace kestra
