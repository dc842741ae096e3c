#include "project_printer.h"
#include "support/project_fixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <sstream>

namespace kestra {
namespace {

using test::ProjectFixture;

QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A small hierarchy whose texts hold everything a JSON string must escape.
class PrinterTest : public ::testing::Test {
protected:
    PrinterTest() {
        CHierarchyItem* top = project.AddModule(project.Root(), "TOP", "");
        CKSTObject& object = *top->Object();
        object.SetEntryCount(3);
        object.SetEntry(0, EntryKind::Vhdl, "TOP", "TOP.vhd");
        object.SetEntry(1, EntryKind::Numeric, "WIDTH", "8");
        const std::vector<std::string> widths{"8", "16"};
        object.SetChoiceList(1, &widths);
        object.SetEntry(2, EntryKind::Note, "Note", kAwkward);
        CVHDLSignal& ports = *top->Signals();
        ports.SetSignalCount(2);
        ports.SetSignalAll(0, "CLK", "in", "std_logic", "", "");
        ports.SetSignalAll(1, "Q", "out", "std_logic_vector", "7 downto 0", "(others => '0')");
        project.AddModule(top, "LEAF", "", HierarchyKind::Library);
        project.AddModule(project.Root(), "PKG", "", HierarchyKind::Package);
    }

    static constexpr const char* kAwkward = "say \"hi\"\\ caf\xe9\t\x01\r\nend\x7f";
    ProjectFixture project;
};

TEST_F(PrinterTest, PlainFormIndentsItemsByDepthAndListsEntriesAndSignals) {
    std::ostringstream out;
    PrintHierarchy(project.doc, out);
    const std::string text = out.str();
    const std::string root = project.Root()->Text();
    EXPECT_EQ(text.rfind(root + " [root, none]\n  LIB     Library name = WORK\n", 0), 0u) << text;
    EXPECT_NE(text.find("  LINK    Synthesis =\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n    TOP [normal, none]\n"
                        "      VHDL    TOP = TOP.vhd\n"
                        "      NUM     WIDTH = 8  {8 | 16}\n"
                        "      NOTE    Note = say \"hi\"\\ caf\xe9\\t\\x01\\r\\nend\\x7f\n"
                        "      signal  CLK : in std_logic\n"
                        "      signal  Q : out std_logic_vector (7 downto 0) := (others => '0')\n"
                        "        LEAF [library, none]\n"
                        "          COMP    LEAF = LEAF.vhd\n"
                        "    PKG [package, none]\n"
                        "      PKG     PKG = PKG.vhd\n"),
              std::string::npos)
        << text;
}

TEST_F(PrinterTest, JsonFormParsesBackWithEveryTextIntact) {
    std::ostringstream out;
    PrintHierarchyJson(project.doc, out);
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(out.str()), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n"
                                                     << out.str();
    const QJsonObject whole = json.object();
    EXPECT_EQ(whole["project"].toString(), Latin1(project.doc.GetPathName()));
    const QJsonArray items = whole["items"].toArray();
    ASSERT_EQ(items.size(), 4);

    const QJsonObject top = items[1].toObject();
    EXPECT_EQ(top["depth"].toInt(), 1);
    EXPECT_EQ(top["text"].toString(), "TOP");
    EXPECT_EQ(top["kindName"].toString(), "normal");
    const QJsonArray entries = top["entries"].toArray();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[1].toObject()["label"].toString(), "NUM");
    EXPECT_EQ(entries[1].toObject()["choices"].toArray(), QJsonArray({"8", "16"}));
    EXPECT_EQ(entries[2].toObject()["value"].toString(), Latin1(kAwkward));
    const QJsonArray ports = top["signals"].toArray();
    ASSERT_EQ(ports.size(), 2);
    EXPECT_EQ(ports[1].toObject()["range"].toString(), "7 downto 0");
    EXPECT_EQ(ports[1].toObject()["initialValue"].toString(), "(others => '0')");

    EXPECT_EQ(items[2].toObject()["depth"].toInt(), 2);
    EXPECT_EQ(items[2].toObject()["kind"].toInt(), static_cast<int>(HierarchyKind::Library));
    EXPECT_EQ(items[3].toObject()["signals"].toArray().size(), 0); // packages have no signal list
    // Only ASCII leaves the printer, whatever bytes the project holds.
    for (const char c : out.str())
        ASSERT_LT(static_cast<unsigned char>(c), 0x80);
}

TEST(JsonQuote, EscapesQuotesBackslashesAndControlBytes) {
    EXPECT_EQ(JsonQuote(""), "\"\"");
    EXPECT_EQ(JsonQuote("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonQuote(std::string("\x00\x1f\xff", 3)), "\"\\u0000\\u001f\\u00ff\"");
}

} // namespace
} // namespace kestra
