// What the VHDL editor costs on a large source (3 MB of VHDL): opening it with its visible part
// highlighted and painted, one keystroke in the middle of it with the repaint that follows,
// and showing the markers and annotations of 1,000 check messages.
// The core's headers before Qt's, whose "signals" keyword they use as a name.
// clang-format off
#include "operations/edited_source.h"
#include "system/file_system.h"
#include "tools/vhdl_check.h"
#include "offscreen_main.h"
#include "editor/source_editor.h"
// clang-format on

#include <QKeyEvent>
#include <string>
#include <vector>

namespace {

using namespace kestra;

constexpr std::size_t kSourceBytes = 3u * 1024u * 1024u;

// Entities of a counter and a process each, with comments, literals and attributes, until the
// text reaches the size.
const std::string& LargeSource() {
    static const std::string text = [] {
        std::string source = "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\nuse IEEE.numeric_std.all;\r\n";
        for (int unit = 0; source.size() < kSourceBytes; ++unit) {
            const std::string name = "COUNTER_" + std::to_string(unit);
            source +=
                "\r\n-- " + name + ": counts the enabled clocks\r\nentity " + name +
                " is\r\n\tgeneric (WIDTH : integer := 8);\r\n\tport (\r\n\t\tCLK, RST, EN : in std_logic;\r\n"
                "\t\tQ : out std_logic_vector(WIDTH - 1 downto 0)\r\n\t);\r\nend " +
                name + ";\r\n\r\narchitecture rtl of " + name +
                " is\r\n\tsignal count : unsigned(WIDTH - 1 downto 0);\r\nbegin\r\n"
                "\tprocess (CLK, RST)\r\n\tbegin\r\n\t\tif RST = '1' then\r\n"
                "\t\t\tcount <= (others => '0');\r\n\t\telsif rising_edge(CLK) then\r\n"
                "\t\t\tif EN = '1' and count'length > 0 then\r\n\t\t\t\tcount <= count + 1;\r\n"
                "\t\t\tend if;\r\n\t\tend if;\r\n\tend process;\r\n\tQ <= std_logic_vector(count);\r\nend "
                "rtl;\r\n";
        }
        return source;
    }();
    return text;
}

// An editor the size of the bar's default, its first screen drawn.
void Draw(CSourceEditor& editor) {
    editor.viewport()->repaint();
}

// The file read as the editor reads it, shown in a new editor and its first screen drawn.
void BM_OpenLargeSourceHighlighted(benchmark::State& state) {
    const CPrivateTempFolder folder("kestra-editor-bench");
    const std::filesystem::path path = folder.Path() / "large.vhd";
    if (!ReplaceFileSafely(path, LargeSource())) {
        state.SkipWithError("cannot write the source");
        return;
    }
    for (auto _ : state) {
        const Result<EditableSource> read = ReadSourceForEditing(path);
        if (!read) {
            state.SkipWithError("cannot read the source");
            return;
        }
        CSourceEditor editor;
        editor.resize(560, 400);
        editor.show();
        editor.LoadBytes(read->text, read->lineEnds);
        Draw(editor);
    }
    state.counters["bytes"] = static_cast<double>(LargeSource().size());
}

void BM_KeystrokeInLargeSource(benchmark::State& state) {
    CSourceEditor editor;
    editor.resize(560, 400);
    editor.show();
    editor.LoadBytes(LargeSource(), LineEnds::CrLf);
    editor.GoToLine(editor.lines() / 2);
    Draw(editor);
    int typed = 0;
    for (auto _ : state) {
        // A letter typed, then taken back every other time, so that the text stays the same size.
        const bool back = (typed++ % 2) == 1;
        QKeyEvent press(QEvent::KeyPress, back ? Qt::Key_Backspace : Qt::Key_X, Qt::NoModifier,
                        back ? QString() : QStringLiteral("x"));
        QApplication::sendEvent(&editor, &press);
        Draw(editor);
    }
}

void BM_ShowThousandCheckMarkers(benchmark::State& state) {
    CSourceEditor editor;
    editor.resize(560, 400);
    editor.show();
    editor.LoadBytes(LargeSource(), LineEnds::CrLf);
    std::vector<CheckMessage> messages;
    const int step = editor.lines() / 1000;
    for (int i = 0; i < 1000; ++i)
        messages.push_back(
            CheckMessage{"big.vhd", 1 + i * step, 3, "no declaration for \"cnt\"", i % 3 != 0});
    for (auto _ : state) {
        editor.ShowCheckMessages(messages);
        Draw(editor);
    }
}

BENCHMARK(BM_OpenLargeSourceHighlighted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeInLargeSource)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowThousandCheckMarkers)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return kestra::bench::RunOffscreen(argc, argv);
}
