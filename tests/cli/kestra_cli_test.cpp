#include "cli_commands.h"
#include "kestra_process.h"
#include "settings/qt_settings_store.h"
#include "support/ghdl.h"
#include "support/temp_folder.h"
#include "tools/qt_tool_runner.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

namespace kestra {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

using test::CliRun;

const std::string kModuleM = "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\n\r\n"
                             "entity M is\r\n"
                             "\tgeneric (WIDTH : integer := 8);\r\n"
                             "\tport (CLK : in std_logic; Q : out std_logic);\r\n"
                             "end M;\r\n\r\n"
                             "architecture M_arch of M is\r\nbegin\r\n\tQ <= CLK;\r\nend M_arch;\r\n";

// Runs the real executable in a scratch folder, with its settings kept in that folder too so
// that the user's own settings are never read or written.
class KestraCli : public ::testing::Test {
protected:
    KestraCli() {
        fs::create_directories(work);
        fs::create_directories(config);
        fs::create_directories(home);
    }

    CliRun Kestra(const std::vector<std::string>& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(config.string()));
        environment.insert("XDG_DATA_HOME", QString::fromStdString(data.string()));
        environment.insert("HOME", QString::fromStdString(home.string()));
        environment.insert("XDG_CACHE_HOME", QString::fromStdString((home / ".cache").string()));
        if (noDisplay) {
            for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
                environment.remove(QString::fromLatin1(name));
        }
        QStringList list;
        for (const std::string& argument : arguments)
            list << QString::fromStdString(argument);
        return test::RunKestra(list, environment, work, 10000);
    }

    // A project P.kst with its root "ProjectA".
    void NewProject() {
        const CliRun run = Kestra({"new", "P.kst"});
        ASSERT_EQ(run.status, 0) << run.out << run.err;
    }
    void Add(const std::string& parent, const std::string& name) {
        const CliRun run = Kestra({"add", "P.kst", parent, name});
        ASSERT_EQ(run.status, 0) << run.out << run.err;
    }
    // The item lines of the plain hierarchy, as "depth text [kind, status]".
    std::vector<std::string> Items() {
        const CliRun run = Kestra({"show", "P.kst"});
        EXPECT_EQ(run.status, 0) << run.err;
        std::vector<std::string> items;
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);) {
            const std::size_t indent = line.find_first_not_of(' ');
            if (indent != std::string::npos && indent % 4 == 0 && line.back() == ']')
                items.push_back(std::to_string(indent / 4) + " " + line.substr(indent));
        }
        return items;
    }
    fs::path Module(const std::string& file) { return work / "ProjectA" / file; }

    // Runs the program as on a build server: no display and no Qt platform named.
    bool noDisplay = false;
    test::TempFolder folder;
    fs::path work = folder / "work";
    fs::path config = folder / "config";
    fs::path home = folder / "home";
    fs::path data = folder / "data";
    // The user's data folder for the program, where the libraries are by default.
    fs::path appData = data / "Orvalle Software" / "KESTRA";
};

TEST_F(KestraCli, HelpAndVersionNeedNoProject) {
    const CliRun version = Kestra({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "KESTRA 1.10\n");

    const CliRun help = Kestra({"--help"});
    EXPECT_EQ(help.status, 0);
    // Every subcommand on a line of its own: name, synopsis and what it does.
    std::vector<std::string> lines;
    std::istringstream stream(help.out);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    for (const CliSubcommand& subcommand : Subcommands()) {
        const std::string start =
            "  " + std::string(subcommand.name) + ' ' + std::string(subcommand.synopsis);
        const auto found = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.starts_with(start + ' ');
        });
        ASSERT_NE(found, lines.end()) << start << "\n" << help.out;
        EXPECT_TRUE(found->ends_with("  " + std::string(subcommand.summary))) << *found;
    }
    for (const char* status : {"  0  done", "  1  refused", "  2  usage error"}) {
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                [&](const std::string& line) { return line.starts_with(status); }))
            << status << "\n"
            << help.out;
    }

    // Without a subcommand no command runs and nothing is written.
    const CliRun bare = Kestra({});
    EXPECT_EQ(bare.status, 0);
    EXPECT_EQ(bare.out.rfind("KESTRA 1.10\n", 0), 0u) << bare.out;
    EXPECT_NE(bare.out.find("--help"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(work));
    EXPECT_TRUE(fs::is_empty(config));
}

TEST_F(KestraCli, NewCreatesTheProjectWithItsSettingsInTheGivenConfigFolder) {
    const CliRun run = Kestra({"new", "P.kst"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Open project: ProjectA\n");
    EXPECT_TRUE(fs::is_regular_file(work / "P.kst"));
    EXPECT_TRUE(fs::is_directory(work / "ProjectA"));
    EXPECT_EQ(Items(), std::vector<std::string>{"0 ProjectA [root, none]"});

    const CQtSettingsStore settings(
        QString::fromStdString((config / "Orvalle Software" / "KESTRA.conf").string()));
    EXPECT_EQ(settings.ReadSetting("Settings", "Library path"), (appData / "Library").string() + "/");
    EXPECT_TRUE(fs::is_directory(appData / "Library"));
    EXPECT_TRUE(fs::is_directory(appData / "Predefined"));
    EXPECT_TRUE(fs::is_empty(home));
    // The current folder gets the project and nothing else.
    std::vector<std::string> inWork;
    for (const fs::directory_entry& entry : fs::directory_iterator(work))
        inWork.push_back(entry.path().filename().string());
    std::sort(inWork.begin(), inWork.end());
    EXPECT_EQ(inWork, (std::vector<std::string>{"P.kst", "ProjectA"}));
    // Run from the build folder, the program's own files are the source tree's.
    EXPECT_EQ(settings.ReadSetting("Settings", "Application path"), fs::path(KESTRA_SOURCE_TREE).string());

    // A second New on the same file asks before replacing it; the answer is Yes.
    const CliRun again = Kestra({"new", "P"});
    EXPECT_EQ(again.status, 0);
    EXPECT_NE(again.err.find("Project file already exist, overwrite? -> Yes"), std::string::npos)
        << again.err;
    EXPECT_EQ(again.out, "Open project: ProjectB\n");
}

TEST_F(KestraCli, AddNamesTheModuleAndWritesItsSource) {
    NewProject();
    const CliRun top = Kestra({"add", "P.kst", "ProjectA", "TOP"});
    EXPECT_EQ(top.status, 0) << top.out << top.err;
    EXPECT_EQ(top.out.rfind("New module added.\n", 0), 0u) << top.out;
    EXPECT_NE(top.out.find("Set module name as TOP.\n"), std::string::npos) << top.out;
    EXPECT_NE(top.out.find("TOP analyzed. No error encountered."), std::string::npos) << top.out;
    EXPECT_EQ(top.out.find("Open project"), std::string::npos);
    EXPECT_TRUE(fs::is_regular_file(Module("TOP.vhd")));

    Add("TOP", "SUB");
    EXPECT_TRUE(fs::is_regular_file(Module("SUB.vhd")));
    const std::vector<std::string> items = Items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1].substr(0, 6), "1 TOP ");
    EXPECT_EQ(items[2].substr(0, 6), "2 SUB ");

    // A library module takes no children, and a bad name leaves no unnamed item behind.
    ASSERT_EQ(Kestra({"set-kind", "P.kst", "SUB", "library"}).status, 0);
    EXPECT_EQ(Kestra({"add", "P.kst", "SUB", "X"}).status, 1);
    const CliRun badName = Kestra({"add", "P.kst", "TOP", "not a name"});
    EXPECT_EQ(badName.status, 1);
    // A refusal says why, in the log and on the error stream.
    const std::string reason =
        "Invalid module name: a VHDL identifier begins with a letter and holds letters, "
        "digits and single underscores.";
    EXPECT_NE(badName.out.find("WARNING: " + reason), std::string::npos) << badName.out;
    EXPECT_EQ(badName.err, "kestra add: refused: " + reason + "\n");
    const CliRun reserved = Kestra({"rename", "P.kst", "SUB", "Signal"});
    EXPECT_EQ(reserved.status, 1);
    EXPECT_EQ(reserved.err,
              "kestra rename: refused: Invalid module name: \"Signal\" is a VHDL reserved word.\n");
    EXPECT_EQ(Items().size(), 3u);
}

TEST_F(KestraCli, RenameMovesTheFileOrIsRefusedWithAWarning) {
    NewProject();
    Add("ProjectA", "TOP");
    Add("TOP", "SUB");
    const CliRun rename = Kestra({"rename", "P.kst", "SUB", "CHILD"});
    EXPECT_EQ(rename.status, 0) << rename.out << rename.err;
    EXPECT_NE(rename.out.find("Set module name as CHILD."), std::string::npos) << rename.out;
    EXPECT_TRUE(fs::is_regular_file(Module("CHILD.vhd")));
    EXPECT_FALSE(fs::exists(Module("SUB.vhd")));

    const CliRun refused = Kestra({"rename", "P.kst", "CHILD", "TOP"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "WARNING: New module name in use, specify other name.\n");
    EXPECT_NE(refused.err.find("[WARNING] New module name in use, specify other name."), std::string::npos)
        << refused.err;
    EXPECT_TRUE(fs::is_regular_file(Module("CHILD.vhd")));
    EXPECT_EQ(Items().back().substr(0, 8), "2 CHILD ");
}

TEST_F(KestraCli, RemoveKeepsTheFileAsBackupAfterTheAnsweredQuestion) {
    NewProject();
    Add("ProjectA", "TOP");
    Add("TOP", "SUB");
    const CliRun run = Kestra({"remove", "P.kst", "TOP"});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.err.find("[ENQUIRY] Confirm remove TOP and all its child objects? -> Yes"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.out.find("TOP deleted."), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("SUB deleted."), std::string::npos) << run.out;
    EXPECT_TRUE(fs::is_regular_file(Module("TOP.bak")));
    EXPECT_TRUE(fs::is_regular_file(Module("SUB.bak")));
    EXPECT_FALSE(fs::exists(Module("SUB.vhd")));
    EXPECT_EQ(Items().size(), 1u);
    // The project itself cannot be removed.
    EXPECT_EQ(Kestra({"remove", "P.kst", "ProjectA"}).status, 1);
}

TEST_F(KestraCli, MoveReordersSiblingsAndReportsWhenNothingMoves) {
    NewProject();
    Add("ProjectA", "A");
    Add("ProjectA", "B");
    Add("ProjectA", "C");
    EXPECT_EQ(Kestra({"move", "P.kst", "C", "top"}).status, 0);
    EXPECT_EQ(Kestra({"move", "P.kst", "A", "BOTTOM"}).status, 0);
    std::vector<std::string> order;
    for (const std::string& item : Items())
        order.push_back(item.substr(2, 1));
    EXPECT_EQ(order, (std::vector<std::string>{"P", "C", "B", "A"}));
    EXPECT_EQ(Kestra({"move", "P.kst", "C", "up"}).status, 1);
    EXPECT_EQ(Kestra({"move", "P.kst", "A", "down"}).status, 1);
}

TEST_F(KestraCli, SetKindChangesTheItemOnce) {
    NewProject();
    Add("ProjectA", "TOP");
    const CliRun run = Kestra({"set-kind", "P.kst", "TOP", "package"});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(run.out.rfind("Module is set as package.\n", 0), 0u) << run.out;
    EXPECT_EQ(Items().back().substr(0, 15), "1 TOP [package,");
    EXPECT_EQ(Kestra({"set-kind", "P.kst", "TOP", "package"}).status, 1);
}

TEST_F(KestraCli, SetRewritesTheParameterInTheSource) {
    NewProject();
    WriteBytes(Module("M.vhd"), kModuleM);
    const CliRun add = Kestra({"add", "P.kst", "ProjectA", "M"});
    ASSERT_EQ(add.status, 0) << add.out << add.err;
    EXPECT_NE(add.out.find("Import existing VHDL file."), std::string::npos) << add.out;

    const CliRun set = Kestra({"set", "P.kst", "M", "width", "16"});
    EXPECT_EQ(set.status, 0) << set.out << set.err;
    EXPECT_NE(ReadBytes(Module("M.vhd")).find("WIDTH: integer := 16"), std::string::npos)
        << ReadBytes(Module("M.vhd"));
    EXPECT_NE(Kestra({"show", "P.kst"}).out.find("NUM     WIDTH = 16\n"), std::string::npos);

    const CliRun unknown = Kestra({"set", "P.kst", "M", "DEPTH", "3"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err.rfind("kestra set: module 'M' has no parameter 'DEPTH'; its parameters: WIDTH\n"
                                "Usage: kestra set P.kst MODULE PARAMETER VALUE\n",
                                0),
              0u)
        << unknown.err;
    const CliRun badValue = Kestra({"set", "P.kst", "M", "WIDTH", "8; -- oops"});
    EXPECT_EQ(badValue.status, 1);
    EXPECT_EQ(badValue.err,
              "kestra set: refused: Invalid parameter value: a value cannot hold ';', '--' or '\"'.\n");
}

TEST_F(KestraCli, AnalyzeFailsOnASourceError) {
    NewProject();
    Add("ProjectA", "TOP");
    WriteBytes(Module("TOP.vhd"), "entity TOP is\r\n\tport (CLK : in std_logic\r\nend TOP;\r\n");
    const CliRun run = Kestra({"analyze", "P.kst", "TOP"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("TOP analyzed. Error encountered at line"), std::string::npos) << run.out;
    EXPECT_EQ(Items().back(), "1 TOP [normal, failed]");
    EXPECT_EQ(Kestra({"analyze", "P.kst"}).status, 1);

    WriteBytes(Module("TOP.vhd"), std::string("entity TOP is\r\nend TOP;\r\n"
                                              "architecture a of TOP is\r\nbegin\r\nend a;\r\n"));
    const CliRun fixed = Kestra({"analyze", "P.kst"});
    EXPECT_EQ(fixed.status, 0) << fixed.out << fixed.err;
    EXPECT_EQ(Items().back(), "1 TOP [normal, analysed]");
}

TEST_F(KestraCli, GenerateWritesOneFilePerTopModule) {
    NewProject();
    Add("ProjectA", "TOP");
    Add("TOP", "SUB");
    const CliRun run = Kestra({"generate", "P.kst"});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("Writing to "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nSynthesizable VHDL file created successfully."), std::string::npos) << run.out;
    std::string generated;
    for (const auto& entry : fs::recursive_directory_iterator(work)) {
        if (entry.path().filename() == "TOP.vhd" && entry.path().parent_path() != work / "ProjectA")
            generated = ReadBytes(entry.path());
    }
    EXPECT_NE(generated.find("entity SUB is"), std::string::npos) << generated;

    const CliRun individual = Kestra({"generate", "P.kst", "TOP", "--individual"});
    EXPECT_EQ(individual.status, 0) << individual.out;
    EXPECT_NE(individual.out.find("Individual synthesizable VHDL file created successfully."),
              std::string::npos);

    fs::remove(Module("SUB.vhd"));
    const CliRun broken = Kestra({"generate", "P.kst", "TOP"});
    EXPECT_EQ(broken.status, 1) << broken.out;
}

TEST_F(KestraCli, ExportedModuleIsInsertedIntoAnotherProject) {
    NewProject();
    Add("ProjectA", "TOP");
    Add("TOP", "SUB");
    // Naming SUB left TOP to be analysed again: nothing is exported before that.
    const CliRun early = Kestra({"export", "P.kst", "TOP", "--library"});
    EXPECT_EQ(early.status, 1);
    EXPECT_EQ(early.out, "ERROR: Object is not completely analyzed yet.\n");
    ASSERT_EQ(Kestra({"analyze", "P.kst"}).status, 0);
    const CliRun exported = Kestra({"export", "P.kst", "TOP", "--library"});
    EXPECT_EQ(exported.status, 0) << exported.out << exported.err;
    EXPECT_EQ(exported.out, "Stored " + (appData / "Library" / "TOP.vhd").string() +
                                "\nLibrary module TOP created successfully.\n");
    const std::string stored = ReadBytes(appData / "Library" / "TOP.vhd");
    EXPECT_EQ(stored.rfind("-- TOP: Library module created by KESTRA\r\n--\r\n", 0), 0u) << stored;
    EXPECT_NE(stored.find("entity SUB is"), std::string::npos) << stored;

    // The same name again asks before replacing; the answer is Yes.
    const CliRun again = Kestra({"export", "P.kst", "TOP", "--library"});
    EXPECT_EQ(again.status, 0) << again.out << again.err;
    EXPECT_NE(again.err.find("[Overwrite] TOP.vhd already exists.\nDo you want to replace it? -> Yes"),
              std::string::npos)
        << again.err;

    const CliRun listing = Kestra({"library"});
    EXPECT_EQ(listing.status, 0) << listing.err;
    EXPECT_EQ(listing.out, "Library module (" + (appData / "Library").string() + ")\n    TOP\n");

    // A second project takes the module by its name in the library.
    ASSERT_EQ(Kestra({"new", "Q.kst"}).status, 0);
    const CliRun inserted = Kestra({"insert", "Q.kst", "ProjectB", "TOP"});
    EXPECT_EQ(inserted.status, 0) << inserted.out << inserted.err;
    EXPECT_EQ(inserted.out, "TOP analyzed. No error encountered.\nLibrary module TOP added.\n");
    EXPECT_EQ(ReadBytes(work / "ProjectB" / "TOP.vhd"), stored);
    const CliRun show = Kestra({"show", "Q.kst"});
    EXPECT_NE(show.out.find("    TOP [library, analysed]\n"), std::string::npos) << show.out;

    const CliRun twice = Kestra({"insert", "Q.kst", "ProjectB", (appData / "Library" / "TOP.vhd").string()});
    EXPECT_EQ(twice.status, 0) << twice.out << twice.err;
    EXPECT_NE(twice.out.find("Library module TOP_2 added."), std::string::npos) << twice.out;
}

TEST_F(KestraCli, PredefinedModulesGoIntoLibraryFolders) {
    NewProject();
    Add("ProjectA", "TOP");
    Add("TOP", "SUB");
    ASSERT_EQ(Kestra({"analyze", "P.kst"}).status, 0);
    // A module with children is no predefined module.
    const CliRun refused = Kestra({"export", "P.kst", "TOP", "--predefined"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "kestra export: refused, or nothing to do\n");

    const CliRun missing = Kestra({"export", "P.kst", "SUB", "--predefined", "--folder", "gates"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("no folder 'gates'"), std::string::npos) << missing.err;
    fs::create_directories(appData / "Predefined" / "gates");
    const CliRun stored = Kestra({"export", "P.kst", "SUB", "--predefined", "--folder=gates"});
    EXPECT_EQ(stored.status, 0) << stored.out << stored.err;
    EXPECT_NE(stored.out.find("Predefined module SUB created successfully."), std::string::npos);
    EXPECT_TRUE(fs::is_regular_file(appData / "Predefined" / "gates" / "SUB.vhd"));
    EXPECT_FALSE(fs::exists(appData / "Library" / "SUB.vhd"));

    const CliRun listing = Kestra({"library", "--predefined"});
    EXPECT_EQ(listing.out,
              "Predefined module (" + (appData / "Predefined").string() + ")\n    gates/\n        SUB\n");

    Add("ProjectA", "OTHER");
    const CliRun first = Kestra({"insert", "P.kst", "OTHER", "gates/SUB.vhd", "--predefined"});
    EXPECT_EQ(first.status, 0) << first.out << first.err;
    EXPECT_NE(first.out.find("Predefined module SUB added."), std::string::npos) << first.out;
    const CliRun second = Kestra({"insert", "P.kst", "OTHER", "gates/SUB", "--predefined"});
    EXPECT_EQ(second.status, 1);
    EXPECT_EQ(second.out, "Predefined module already exist in the same hierarchy.\n");

    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {"export", "P.kst", "SUB"},
             {"export", "P.kst", "SUB", "--library", "--predefined"},
             {"export", "P.kst", "SUB", "--library", "--folder", "../elsewhere"},
             {"export", "P.kst", "SUB", "--library", "--folder"},
             {"insert", "P.kst", "OTHER", "NOWHERE.vhd"},
             {"library", "P.kst"},
         }) {
        const CliRun run = Kestra(wrong);
        EXPECT_EQ(run.status, 2) << wrong[wrong.size() - 1] << run.out << run.err;
    }
}

TEST_F(KestraCli, ShowJsonIsValidAndEscapesTheProjectName) {
    NewProject();
    Add("ProjectA", "TOP");
    // The words arrive as UTF-8 bytes; project text is 8-bit and is read back as Latin-1.
    const std::string awkward = "Pro\"ject\tcaf\xc3\xa9";
    const CliRun rename = Kestra({"rename", "P.kst", "ProjectA", awkward});
    ASSERT_EQ(rename.status, 0) << rename.out << rename.err;
    EXPECT_TRUE(fs::is_directory(work / awkward));
    const CliRun run = Kestra({"show", "P.kst", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out;
    const QJsonArray items = json.object()["items"].toArray();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0].toObject()["text"].toString(), QString::fromLatin1(awkward.c_str()));
    EXPECT_EQ(items[1].toObject()["depth"].toInt(), 1);
    EXPECT_EQ(items[1].toObject()["text"].toString(), "TOP");
    EXPECT_EQ(items[1].toObject()["entries"].toArray()[0].toObject()["label"].toString(), "VHDL");
    EXPECT_EQ(items[1].toObject()["signals"].toArray()[0].toObject()["name"].toString(), "CLK");
}

TEST_F(KestraCli, UsageErrorsExitWithTwoAndShowTheSubcommandsOwnUsage) {
    NewProject();
    // Each known subcommand given wrong arguments: the problem, then its own usage.
    const std::vector<std::pair<std::vector<std::string>, std::string>> wrong = {
        {{"add", "P.kst", "ProjectA"}, "Usage: kestra add P.kst PARENT NAME\n"},
        {{"show", "P.kst", "--xml"}, "Usage: kestra show P.kst [--json]\n"},
        {{"move", "P.kst", "ProjectA", "sideways"}, "Usage: kestra move P.kst MODULE top|up|down|bottom\n"},
        {{"set-kind", "P.kst", "ProjectA", "weird"},
         "Usage: kestra set-kind P.kst MODULE normal|library|predefined|package\n"},
        {{"rename", "P.kst", "NOPE", "X"}, "Usage: kestra rename P.kst MODULE NEWNAME\n"},
        {{"analyze", "P.kst", "NOPE"}, "Usage: kestra analyze P.kst [MODULE]\n"},
        {{"library", "P.kst"}, "Usage: kestra library [--predefined]\n"},
    };
    const std::string before = ReadBytes(work / "P.kst");
    for (const auto& [arguments, usage] : wrong) {
        const CliRun run = Kestra(arguments);
        EXPECT_EQ(run.status, 2) << arguments.front();
        EXPECT_EQ(run.out, "");
        std::istringstream lines(run.err);
        std::string problem, synopsis;
        std::getline(lines, problem);
        std::getline(lines, synopsis);
        EXPECT_EQ(problem.rfind("kestra " + arguments.front() + ": ", 0), 0u) << run.err;
        EXPECT_EQ(synopsis + "\n", usage) << run.err;
        const CliSubcommand* subcommand = FindSubcommand(arguments.front());
        ASSERT_NE(subcommand, nullptr);
        EXPECT_TRUE(run.err.ends_with("       " + std::string(subcommand->summary) + "\n\n" +
                                      std::string(subcommand->details) + "\n"))
            << run.err;
    }
    // The whole program's usage errors are one line.
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"frobnicate", "P.kst"}, {"--version", "extra"}, {"--bogus"}}) {
        const CliRun run = Kestra(arguments);
        EXPECT_EQ(run.status, 2) << arguments.front();
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.err.rfind("kestra: ", 0), 0u) << run.err;
    }
    // Asked for, a subcommand's usage goes to the output and nothing runs.
    const CliRun asked = Kestra({"remove", "P.kst", "ProjectA", "--help"});
    EXPECT_EQ(asked.status, 0);
    EXPECT_EQ(asked.out.rfind("Usage: kestra remove P.kst MODULE\n", 0), 0u) << asked.out;
    EXPECT_EQ(ReadBytes(work / "P.kst"), before);
}

TEST_F(KestraCli, OpeningAnOldProjectFileSaysSoOnTheErrorStreamBeforeTheOutput) {
    // A version 100 file: the root "Old" with TOP below it and a predefined RAM below TOP.
    fs::copy_file(fs::path(KESTRA_TEST_DATA) / "project_v100.kst", work / "old.kst");
    fs::create_directories(work / "Old");
    WriteBytes(work / "Old" / "TOP.vhd", kModuleM);
    const std::string oldLine = "The project file version is old, please reanalyze all the objects.\n";

    const CliRun show = Kestra({"show", "old.kst"});
    EXPECT_EQ(show.status, 0) << show.err;
    EXPECT_EQ(show.err, oldLine);
    EXPECT_EQ(show.out.find("reanalyze"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("TOP"), std::string::npos) << show.out;

    // Saved by the command, the file is of this version now and opens without the line.
    const CliRun again = Kestra({"show", "old.kst"});
    EXPECT_EQ(again.err, "");

    // On one terminal the line comes before anything the command prints.
    fs::copy_file(fs::path(KESTRA_TEST_DATA) / "project_v100.kst", work / "old.kst",
                  fs::copy_options::overwrite_existing);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(config.string()));
    environment.insert("XDG_DATA_HOME", QString::fromStdString(data.string()));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(QString::fromStdString(work.string()));
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(KESTRA_EXECUTABLE), {"analyze", "old.kst"});
    ASSERT_TRUE(process.waitForFinished(10000));
    const std::string merged = process.readAll().toStdString();
    EXPECT_EQ(merged.rfind(oldLine, 0), 0u) << merged;
    EXPECT_GT(merged.size(), oldLine.size()) << merged;
}

TEST_F(KestraCli, AProjectThatDoesNotOpenFailsWithItsMessage) {
    const CliRun missing = Kestra({"show", "missing.kst"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Cannot open the project file"), std::string::npos) << missing.err;

    WriteBytes(work / "junk.kst", "not a project");
    const CliRun junk = Kestra({"show", "junk.kst"});
    EXPECT_EQ(junk.status, 1);
    EXPECT_NE(junk.err.find("Unrecognized file!\n" + (work / "junk.kst").string()), std::string::npos)
        << junk.err;
    EXPECT_EQ(ReadBytes(work / "junk.kst"), "not a project");
}

TEST_F(KestraCli, AFinalSaveThatFailsExitsWithOneAndSaysWhy) {
    NewProject();
    const std::string before = ReadBytes(work / "P.kst");
    fs::permissions(work / "P.kst", fs::perms::owner_read | fs::perms::group_read);
    const CliRun run = Kestra({"add", "P.kst", "ProjectA", "M"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(
        run.err.find("Cannot save the project file " + (work / "P.kst").string() + ".\nPermission denied"),
        std::string::npos)
        << run.err;
    EXPECT_EQ(ReadBytes(work / "P.kst"), before);
}

// A module in two places: a script copies it under a second parent (as Paste does, the copy
// gets a free name and a file of its own), sets each instance's value by its path, and
// generation writes both specialised units, which GHDL accepts.
TEST_F(KestraCli, InstancesUnderTwoParentsTakeTheirOwnValuesByPath) {
    NewProject();
    const auto module = [](const std::string& name, const std::string& generics) {
        return "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\n\r\nentity " + name + " is\r\n" + generics +
               "\tport (CLK : in std_logic; Q : out std_logic);\r\nend " + name +
               ";\r\n\r\narchitecture rtl of " + name + " is\r\nbegin\r\nend rtl;\r\n";
    };
    for (const char* name : {"TOP", "LEFT", "RIGHT"})
        WriteBytes(Module(std::string(name) + ".vhd"), module(name, ""));
    WriteBytes(Module("M.vhd"), module("M", "\tgeneric (WIDTH : integer := 8);\r\n"));
    Add("ProjectA", "TOP");
    Add("TOP", "LEFT");
    Add("TOP", "RIGHT");
    Add("LEFT", "M");
    const CliRun copy = Kestra({"copy", "P.kst", "TOP/LEFT/M", "TOP/RIGHT"});
    ASSERT_EQ(copy.status, 0) << copy.out << copy.err;
    EXPECT_NE(copy.out.find("Module M_2 is pasted."), std::string::npos) << copy.out;
    ASSERT_EQ(Kestra({"set", "P.kst", "TOP/LEFT/M", "WIDTH", "4"}).status, 0);
    ASSERT_EQ(Kestra({"set", "P.kst", "TOP/RIGHT/M_2", "WIDTH", "12"}).status, 0);
    EXPECT_EQ(Kestra({"set", "P.kst", "TOP/NOWHERE/M", "WIDTH", "1"}).status, 2);

    const QJsonDocument json =
        QJsonDocument::fromJson(QByteArray::fromStdString(Kestra({"show", "P.kst", "--json"}).out));
    QStringList paths;
    for (const QJsonValue item : json.object()[QStringLiteral("items")].toArray())
        paths << item.toObject()[QStringLiteral("path")].toString();
    EXPECT_EQ(paths, (QStringList{QString(), QStringLiteral("TOP"), QStringLiteral("TOP/LEFT"),
                                  QStringLiteral("TOP/LEFT/M"), QStringLiteral("TOP/RIGHT"),
                                  QStringLiteral("TOP/RIGHT/M_2")}));

    const CliRun generate = Kestra({"generate", "P.kst", "TOP"});
    ASSERT_EQ(generate.status, 0) << generate.out << generate.err;
    std::string generated;
    for (const auto& entry : fs::recursive_directory_iterator(work)) {
        if (entry.path().filename() == "TOP.vhd" && entry.path().parent_path() != work / "ProjectA")
            generated = ReadBytes(entry.path());
    }
    EXPECT_NE(generated.find(":= 4"), std::string::npos) << generated;
    EXPECT_NE(generated.find(":= 12"), std::string::npos) << generated;
    if (test::GhdlAvailable()) {
        const auto result = test::GhdlAnalyze({generated}, "TOP");
        EXPECT_TRUE(result.ok) << result.output << generated;
    }
}

} // namespace
} // namespace kestra

namespace kestra {
namespace {

// The line of the first occurrence of the text in the file, counting from 1.
int LineOf(const fs::path& file, const std::string& text) {
    const std::string content = ReadBytes(file);
    const std::size_t at = content.find(text);
    EXPECT_NE(at, std::string::npos) << text << " not in " << file;
    return 1 + static_cast<int>(std::count(content.begin(), content.begin() + static_cast<long>(at), '\n'));
}

class KestraCheck : public KestraCli {
protected:
    // A fresh copy of the example project, named by the case.
    fs::path Example(const std::string& name) {
        const fs::path copy = work / name;
        fs::copy(KESTRA_EXAMPLES "/blinker", copy, fs::copy_options::recursive);
        return copy / "Blinker.kst";
    }
};

TEST_F(KestraCheck, WhatGhdlRejectsFailsTheCheckAtItsFileAndLine) {
    if (!test::GhdlAvailable())
        GTEST_SKIP() << "GHDL is not installed";
    const fs::path clean = Example("clean");
    std::vector<fs::path> before;
    for (const auto& entry : fs::recursive_directory_iterator(clean.parent_path()))
        before.push_back(entry.path());
    const CliRun passed = Kestra({"check", clean.string()});
    EXPECT_EQ(passed.status, 0) << passed.out << passed.err;
    EXPECT_NE(passed.out.find("GHDL check: no error in 5 files."), std::string::npos) << passed.out;
    EXPECT_NE(passed.out.find("GHDL check: no error in BLINKER.vhd."), std::string::npos) << passed.out;
    std::vector<fs::path> after;
    for (const auto& entry : fs::recursive_directory_iterator(clean.parent_path()))
        after.push_back(entry.path());
    // (Saving the project writes its sources' stamps beside it, as every save does.)
    std::erase(after, fs::path(clean.string() + ".stamps"));
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(before, after) << "the check wrote into the project folder";

    // A Numeric value beyond the integer range, which only the analyser knows.
    const fs::path value = Example("value");
    const std::string tooLarge = "99999999999999999999";
    ASSERT_EQ(Kestra({"set", value.string(), "DIVIDER", "WIDTH", tooLarge}).status, 0);
    const fs::path divider = value.parent_path() / "Blinker" / "DIVIDER.vhd";
    const CliRun badValue = Kestra({"check", value.string()});
    EXPECT_EQ(badValue.status, 1);
    EXPECT_NE(badValue.out.find("GHDL: " + divider.string() + ":" +
                                std::to_string(LineOf(divider, tooLarge)) + ":"),
              std::string::npos)
        << badValue.out;
    EXPECT_NE(badValue.out.find("GHDL check: 1 error in DIVIDER.vhd."), std::string::npos) << badValue.out;
    const CliRun generated = Kestra({"generate", value.string(), "--check"});
    EXPECT_EQ(generated.status, 1);
    EXPECT_NE(generated.out.find("Synthesizable VHDL file created successfully.\nGHDL: "), std::string::npos)
        << generated.out;

    // A child removed after its instantiation was written.
    const fs::path removed = Example("removed");
    ASSERT_EQ(Kestra({"remove", removed.string(), "BLINKER/CHANNEL_B/DIVIDER"}).status, 0);
    const fs::path channel = removed.parent_path() / "Blinker" / "CHANNEL_B.vhd";
    const CliRun noChild = Kestra({"check", removed.string()});
    EXPECT_EQ(noChild.status, 1);
    EXPECT_NE(noChild.out.find("GHDL: " + channel.string() + ":" +
                               std::to_string(LineOf(channel, ": DIVIDER")) + ":"),
              std::string::npos)
        << noChild.out;

    // A pasted child whose port TICK the parent lacks: the parent declares a signal for it.
    const fs::path pasted = Example("pasted");
    ASSERT_EQ(Kestra({"copy", pasted.string(), "DIVIDER", "BLINKER"}).status, 0);
    const CliRun withPort = Kestra({"check", pasted.string(), "BLINKER"});
    EXPECT_EQ(withPort.status, 0) << withPort.out;
    EXPECT_NE(withPort.out.find("GHDL check: no error in BLINKER.vhd."), std::string::npos) << withPort.out;

    // A name the parent does not declare, which the tool's own analysis lets pass.
    const fs::path undeclared = Example("undeclared");
    const fs::path blinker = undeclared.parent_path() / "Blinker" / "BLINKER.vhd";
    std::string text = ReadBytes(blinker);
    text.replace(text.find("LED_A <= led_a_int;"), 19, "LED_A <= led_c_int;");
    WriteBytes(blinker, text);
    const CliRun noName = Kestra({"check", undeclared.string(), "BLINKER"});
    EXPECT_EQ(noName.status, 1);
    EXPECT_NE(noName.out.find("no declaration for \"led_c_int\""), std::string::npos) << noName.out;
    EXPECT_NE(noName.out.find("GHDL check: 1 error in BLINKER.vhd."), std::string::npos) << noName.out;

    EXPECT_EQ(Kestra({"check"}).status, 2);
    EXPECT_EQ(Kestra({"check", pasted.string(), "BLINKER", "extra"}).status, 2);
}

// The value of a module shared by two instances goes into its source: one that is no integer
// expression is refused with the reason and the source stays as it was.
TEST_F(KestraCheck, SetRefusesANumericValueThatIsNoExpression) {
    const fs::path project = Example("refused");
    const fs::path divider = project.parent_path() / "Blinker" / "DIVIDER.vhd";
    const std::string before = ReadBytes(divider);
    const CliRun refused = Kestra({"set", project.string(), "DIVIDER", "WIDTH", "abc"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "kestra set: refused: Invalid parameter value: \"abc\" is no name this value can use: a "
              "generic declared before this one, or a constant of a package the module uses.\n");
    EXPECT_EQ(ReadBytes(divider), before);
    const CliRun accepted = Kestra({"set", project.string(), "DIVIDER", "WIDTH", "2**8"});
    EXPECT_EQ(accepted.status, 0) << accepted.err;
    EXPECT_NE(ReadBytes(divider).find("WIDTH: integer := 2**8;"), std::string::npos) << ReadBytes(divider);
}

// A source changed in an editor since the project was last analysed: the edit goes to the file
// as it is now, and what the editor added stays; an edit of what is no longer there is refused.
TEST_F(KestraCheck, SetRestsOnTheSourceAsItIsNowAndKeepsWhatAnEditorAdded) {
    const fs::path project = Example("outside");
    const fs::path divider = project.parent_path() / "Blinker" / "DIVIDER.vhd";
    std::string text = ReadBytes(divider);
    const std::size_t width = text.find("WIDTH: integer := 5;");
    ASSERT_NE(width, std::string::npos);
    text.insert(text.find('\n', width) + 1, "\t\tPHASE : integer := 3;\r\n");
    WriteBytes(divider, text);
    const CliRun set = Kestra({"set", project.string(), "DIVIDER", "WIDTH", "7"});
    EXPECT_EQ(set.status, 0) << set.out << set.err;
    const std::string now = ReadBytes(divider);
    EXPECT_NE(now.find("PHASE"), std::string::npos) << now;
    EXPECT_NE(now.find("WIDTH: integer := 7"), std::string::npos) << now;
    EXPECT_NE(set.out.find("analyzed again before the edit is written"), std::string::npos) << set.out;

    // What the tool wrote is remembered beside the project: a file only touched since (a
    // checkout, a copy) is not taken as changed by the next run, one edited again is.
    ASSERT_TRUE(fs::exists(project.string() + ".stamps"));
    fs::last_write_time(divider, fs::last_write_time(divider) + std::chrono::hours(1));
    const CliRun touched = Kestra({"set", project.string(), "DIVIDER", "WIDTH", "6"});
    EXPECT_EQ(touched.status, 0) << touched.out << touched.err;
    EXPECT_EQ(touched.out.find("analyzed again"), std::string::npos) << touched.out;
    WriteBytes(divider, ReadBytes(divider) + "-- edited\r\n");
    const CliRun edited = Kestra({"set", project.string(), "DIVIDER", "WIDTH", "7"});
    EXPECT_NE(edited.out.find("changed on disk since DIVIDER was last analyzed"), std::string::npos)
        << edited.out;
    EXPECT_NE(ReadBytes(divider).find("-- edited"), std::string::npos);

    // The editor renames WIDTH: setting it is refused and the file stays as the editor left it.
    std::string renamed = ReadBytes(divider);
    for (std::size_t at = renamed.find("WIDTH"); at != std::string::npos; at = renamed.find("WIDTH", at))
        renamed.replace(at, 5, "STAGES");
    WriteBytes(divider, renamed);
    const CliRun gone = Kestra({"set", project.string(), "DIVIDER", "WIDTH", "9"});
    EXPECT_EQ(gone.status, 1);
    EXPECT_NE(gone.err.find("WIDTH is no longer in DIVIDER's source"), std::string::npos) << gone.err;
    EXPECT_EQ(ReadBytes(divider), renamed);
}

TEST_F(KestraCheck, DiagramDrawsAModulesBlockDiagramWithoutADisplay) {
    noDisplay = true;
    const fs::path project = Example("diagram");
    const fs::path svg = work / "blinker.svg";
    const CliRun vector = Kestra({"diagram", project.string(), "BLINKER", "-o", svg.string()});
    ASSERT_EQ(vector.status, 0) << vector.out << vector.err;
    const std::string picture = ReadBytes(svg);
    // Texts stay text and every line of the diagram is one polyline (or path) of its own.
    for (const char* text : {">CHANNEL_A<", ">CHANNEL_B<"})
        EXPECT_NE(picture.find(text), std::string::npos) << text << "\n" << picture;
    EXPECT_NE(picture.find("<text"), std::string::npos);
    // The children's pins are named in text, and each of BLINKER's ports has its block.
    const auto count = [&picture](const std::string& text) {
        int found = 0;
        for (std::size_t at = picture.find(text); at != std::string::npos; at = picture.find(text, at + 1))
            ++found;
        return found;
    };
    EXPECT_EQ(count(">LED<"), 2) << picture; // a pin of each channel
    EXPECT_EQ(count(">CLK<"), 3) << picture; // two pins and a port block
    EXPECT_EQ(count(">RST<"), 3) << picture;
    EXPECT_EQ(count(">LED_A<"), 1) << picture;
    EXPECT_EQ(count(">LED_B<"), 1) << picture;

    const fs::path png = work / "blinker.png";
    ASSERT_EQ(Kestra({"diagram", project.string(), "BLINKER", "--output", png.string()}).status, 0);
    EXPECT_EQ(ReadBytes(png).substr(1, 3), "PNG");

    const fs::path pdf = work / "blinker.pdf";
    ASSERT_EQ(Kestra({"diagram", project.string(), "BLINKER", "-o", pdf.string()}).status, 0);
    if (std::system("command -v pdftotext >/dev/null 2>&1") == 0) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QString::fromStdString(pdf.string()), QStringLiteral("-")});
        ASSERT_TRUE(text.waitForFinished(10000));
        const std::string words = text.readAllStandardOutput().toStdString();
        EXPECT_NE(words.find("CHANNEL_A"), std::string::npos) << words;
    }

    // A package draws nothing.
    const CliRun nothing =
        Kestra({"diagram", project.string(), "BLINK_PKG", "-o", (work / "p.svg").string()});
    EXPECT_EQ(nothing.status, 1);
    EXPECT_NE(nothing.err.find("BLINK_PKG has no block diagram to draw"), std::string::npos) << nothing.err;
    EXPECT_FALSE(fs::exists(work / "p.svg"));
    EXPECT_EQ(Kestra({"diagram", project.string(), "BLINKER", "-o", (work / "x.gif").string()}).status, 2);
    EXPECT_EQ(Kestra({"diagram", project.string(), "BLINKER"}).status, 2);
    EXPECT_EQ(Kestra({"diagram", project.string(), "NOWHERE", "-o", svg.string()}).status, 2);
}

TEST_F(KestraCheck, AnImportedDesignInItsOwnLibraryPassesTheCheckAndGenerates) {
    const fs::path project = Example("import");
    const fs::path designs = fs::path(KESTRA_TEST_DATA) / "designs";
    const CliRun empty = Kestra({"import", project.string(), "Blinker", (work / "nothing-here").string()});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("does not exist"), std::string::npos) << empty.err;
    const CliRun imported =
        Kestra({"import", project.string(), "Blinker", (designs / "stream").string(), "--top", "stream_top"});
    ASSERT_EQ(imported.status, 0) << imported.out << imported.err;
    EXPECT_NE(imported.out.find("Design imported: 4 modules, top stream_top."), std::string::npos)
        << imported.out;
    EXPECT_TRUE(fs::exists(project.parent_path() / "Blinker" / "strm" / "strm_pkg.vhd"));
    if (!test::GhdlAvailable())
        GTEST_SKIP() << "GHDL is not installed";
    const CliRun checked = Kestra({"check", project.string(), "stream_top"});
    EXPECT_EQ(checked.status, 0) << checked.out << checked.err;
    EXPECT_NE(checked.out.find("GHDL check: no error in 2 files."), std::string::npos) << checked.out;
}

TEST_F(KestraCheck, ConnectAndDisconnectRewriteTheArchitectureAndTheDiagramDrawsThem) {
    noDisplay = true;
    const fs::path project = Example("connect");
    const fs::path top = project.parent_path() / "Blinker" / "BLINKER.vhd";
    const auto run = [&](const char* verb, const char* a, const char* b) {
        return Kestra({verb, project.string(), "BLINKER", a, b});
    };
    // Channel B's clock leaves CLK for a signal of its own, then joins RST instead.
    const CliRun off = run("disconnect", "CLK", "U_CHANNEL_B.CLK");
    ASSERT_EQ(off.status, 0) << off.out << off.err;
    EXPECT_NE(ReadBytes(top).find("CLK => U_CHANNEL_B_CLK"), std::string::npos) << ReadBytes(top);
    const CliRun on = run("connect", "U_CHANNEL_B.CLK", "RST");
    ASSERT_EQ(on.status, 0) << on.out << on.err;
    std::string text = ReadBytes(top);
    EXPECT_NE(text.find("U_CHANNEL_B: CHANNEL_B port map (CLK => RST, RST => RST"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("U_CHANNEL_B_CLK"), std::string::npos) << text;

    // Refused with the reason and exit 1, the source untouched: a port that a statement drives,
    // ends that are not connected, a name that is no identifier.
    const CliRun driven = run("connect", "U_CHANNEL_A.LED", "LED_B");
    EXPECT_EQ(driven.status, 1);
    EXPECT_NE(driven.err.find("U_CHANNEL_A.LED is on led_a_int"), std::string::npos) << driven.err;
    EXPECT_EQ(run("disconnect", "U_CHANNEL_A.LED", "LED_A").status, 1);
    const CliRun bad = run("connect", "U_CHANNEL_A.2x", "LED_A");
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("neither a port"), std::string::npos) << bad.err;
    EXPECT_EQ(ReadBytes(top), text);

    // The picture: every line one polyline, the instance labels and stub names as text.
    const fs::path svg = work / "connected.svg";
    ASSERT_EQ(Kestra({"diagram", project.string(), "BLINKER", "-o", svg.string()}).status, 0);
    const std::string picture = ReadBytes(svg);
    for (const char* label : {">U_CHANNEL_A<", ">U_CHANNEL_B<", ">led_a_int<", ">led_b_int<"})
        EXPECT_NE(picture.find(label), std::string::npos) << label;
    // Pins and stubs are short straight strokes; the four connection lines (CLK to channel A,
    // RST to both channels' RST and to B's CLK) bend on their way.
    int lines = 0;
    for (std::size_t at = picture.find("points=\""); at != std::string::npos;
         at = picture.find("points=\"", at + 1)) {
        const std::string points = picture.substr(at + 8, picture.find('"', at + 8) - at - 8);
        lines += std::count(points.begin(), points.end(), ',') > 2 ? 1 : 0;
    }
    EXPECT_EQ(lines, 4) << picture;
}

// The example goes to a bitstream and to a waveform with one command each; its settings are set
// and refused as the flow needs them, and a constraint for a port the design lacks fails the
// build at that line of the constraint file.
TEST_F(KestraCheck, BuildAndSimulateTheExampleWithTheOpenToolchain) {
    for (const char* tool : {"ghdl", "yosys", "nextpnr-ice40", "icepack"}) {
        if (FindProgramOnPath(tool).empty())
            GTEST_SKIP() << tool << " is not installed";
    }
    const fs::path project = Example("flow");
    const CliRun refused = Kestra({"set", project.string(), "Blinker", "Target", "iCE40 HX2K"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("names no device of iCE40"), std::string::npos) << refused.err;
    const CliRun built = Kestra({"build", project.string()});
    ASSERT_EQ(built.status, 0) << built.out << built.err;
    const fs::path flow = project.parent_path() / "flow" / "BLINKER";
    EXPECT_GT(fs::file_size(flow / "BLINKER.bin"), 1000u);
    EXPECT_NE(built.out.find("Device use: logic cells "), std::string::npos) << built.out;
    EXPECT_NE(built.out.find("target 12.00 MHz: met."), std::string::npos) << built.out;
    EXPECT_NE(built.out.find("Result: " + (flow / "BLINKER.bin").string()), std::string::npos) << built.out;

    const CliRun simulated = Kestra({"simulate", project.string()});
    ASSERT_EQ(simulated.status, 0) << simulated.out << simulated.err;
    EXPECT_GT(fs::file_size(flow / "TB_BLINKER.ghw"), 1000u);
    EXPECT_NE(simulated.out.find("LED_B changed 400 times"), std::string::npos) << simulated.out;

    const fs::path constraints = project.parent_path() / "blinker_hx1k.pcf";
    WriteBytes(constraints, ReadBytes(constraints) + "set_io SPEED 97\n");
    const CliRun failed = Kestra({"build", project.string()});
    EXPECT_EQ(failed.status, 1) << failed.out;
    EXPECT_NE(failed.out.find("nextpnr: " + constraints.string() + ":" +
                              std::to_string(LineOf(constraints, "SPEED")) +
                              ":1: error: unmatched constraint"),
              std::string::npos)
        << failed.out;
}

} // namespace
} // namespace kestra
