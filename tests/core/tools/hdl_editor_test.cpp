#include "support/memory_settings.h"
#include "tools/hdl_editor.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(HdlEditor, LaunchFromTheToolsSettings) {
    CMemorySettings settings;
    EXPECT_FALSE(HdlEditorLaunch(settings, "/p/Blinker/TOP.vhd"));

    settings.WriteSetting("Tools", "HDL Editor", "/usr/bin/vhdl-edit");
    auto launch = HdlEditorLaunch(settings, "/p/My Project/TOP.vhd");
    ASSERT_TRUE(launch);
    EXPECT_EQ(launch->program, "/usr/bin/vhdl-edit");
    EXPECT_EQ(launch->parameters, " \"/p/My Project/TOP.vhd\"");

    settings.WriteSetting("Tools", "HDL Editor param", "-line 1");
    launch = HdlEditorLaunch(settings, "/p/TOP.vhd");
    ASSERT_TRUE(launch);
    EXPECT_EQ(launch->parameters, "-line 1 \"/p/TOP.vhd\"");
}

} // namespace
} // namespace kestra
