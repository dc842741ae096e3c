#include "support/memory_settings.h"
#include "tools/link_open.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(LinkOpen, DecidesByValueAndSettings) {
    CMemorySettings settings;
    const std::filesystem::path folder = "/p/Chip";
    using Kind = LinkOpening::Kind;

    EXPECT_EQ(DecideLinkOpening(settings, folder, "").kind, Kind::ChooseFile);
    LinkOpening opening = DecideLinkOpening(settings, folder, "docs\\spec sheet.pdf");
    EXPECT_EQ(opening.kind, Kind::File);
    EXPECT_EQ(opening.target, "/p/Chip/docs/spec sheet.pdf");
    EXPECT_EQ(DecideLinkOpening(settings, folder, "/abs/notes.txt").target, "/abs/notes.txt");
    for (const char* address : {"http://example.org/a", "ftp://host/f", "mailto:someone@example.org"}) {
        opening = DecideLinkOpening(settings, folder, address);
        EXPECT_EQ(opening.kind, Kind::Address) << address;
        EXPECT_EQ(opening.target, address);
    }
    // The schemes are matched in their exact case.
    EXPECT_EQ(DecideLinkOpening(settings, folder, "HTTP://x").kind, Kind::File);

    // State machines open in the state editor, when one is set.
    EXPECT_EQ(DecideLinkOpening(settings, folder, "fsm.asf").kind, Kind::File);
    settings.WriteSetting("Tools", "State Editor", "/opt/fsm/editor");
    opening = DecideLinkOpening(settings, folder, "FSM.ASF");
    EXPECT_EQ(opening.kind, Kind::StateEditor);
    EXPECT_EQ(opening.launch.program, "/opt/fsm/editor");
    EXPECT_EQ(opening.launch.parameters, "\"/p/Chip/FSM.ASF\"");
    settings.WriteSetting("Tools", "State Editor param", "-open ");
    EXPECT_EQ(DecideLinkOpening(settings, folder, "sub\\a.asf").launch.parameters,
              "-open \"/p/Chip/sub/a.asf\"");
    EXPECT_EQ(DecideLinkOpening(settings, folder, "/x/b.asf").launch.parameters, "-open \"/x/b.asf\"");
    EXPECT_EQ(DecideLinkOpening(settings, folder, "").kind, Kind::ChooseFile);
}

} // namespace
} // namespace kestra
