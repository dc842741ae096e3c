#include "model/archive.h"
#include "model/design_object.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

CKSTObject SampleObject() {
    CKSTObject object;
    object.SetEntryCount(3);
    object.SetEntry(0, EntryKind::Vhdl, "COUNTER", "COUNTER.vhd");
    object.SetEntry(1, EntryKind::Numeric, "WIDTH", "8");
    object.SetEntry(2, EntryKind::Logic, "RESET_LEVEL", "HIGH");
    const std::vector<std::string> choices{"HIGH", "LOW"};
    object.SetChoiceList(2, &choices);
    object.SetAnalysedTime(0x89ABCDEF, 0x01D2A07E);
    return object;
}

TEST(DesignObject, TableOperationsReportInvalidIndices) {
    CKSTObject object;
    EXPECT_EQ(object.RemoveEntry(0), -1);
    EXPECT_EQ(object.AddEntry(), 1);
    EXPECT_EQ(object.GetEntryName(0), "");
    EXPECT_TRUE(object.GetChoiceList(0).empty());
    EXPECT_EQ(object.RemoveEntry(1), -1);
    EXPECT_FALSE(object.SetEntry(1, EntryKind::Numeric, "A", "B"));
    EXPECT_FALSE(object.SetEntryText(0, static_cast<EntryField>(2), "x"));
    EXPECT_TRUE(object.SetEntryText(0, EntryField::Value, "value"));
    EXPECT_EQ(object.GetEntryValue(0), "value");
    EXPECT_EQ(object.GetEntryKind(-1), EntryKind::None);
    EXPECT_EQ(object.GetEntryValue(5), "");
    EXPECT_EQ(object.FormatEntry(1), "");

    CKSTObject sample = SampleObject();
    EXPECT_EQ(sample.RemoveEntry(1), 2);
    EXPECT_EQ(sample.GetEntryName(1), "RESET_LEVEL");
    EXPECT_EQ(sample.FindEntry("reset_level"), 1);
    EXPECT_EQ(sample.FindEntry("WIDTH"), -1);
}

TEST(DesignObject, SetEntryCountClearsTimeOnlyWhenCreatingEntries) {
    CKSTObject object = SampleObject();
    object.SetEntryCount(0);
    EXPECT_EQ(object.GetEntryCount(), 0);
    EXPECT_NE(object.GetAnalysedTime(), 0u);
    object.SetEntryCount(2);
    EXPECT_EQ(object.GetAnalysedTime(), 0u);
    EXPECT_EQ(object.GetEntryCount(), 2);
}

TEST(DesignObject, CopyFromCopiesEverything) {
    CKSTObject empty;
    empty.SetAnalysedTime(7, 9);
    empty.SetGeneratedName("ADD_2");
    CKSTObject object = SampleObject();
    object.CopyFrom(empty);
    EXPECT_EQ(object.GetEntryCount(), 0);
    EXPECT_EQ(object.GetAnalysedTime(), (9ull << 32) | 7);
    EXPECT_EQ(object.GetGeneratedName(), "ADD_2");
}

TEST(DesignObject, FormatEntry) {
    const CKSTObject object = SampleObject();
    EXPECT_EQ(object.FormatEntry(2), "LOGIC\tRESET_LEVEL\tHIGH\tHIGH\tLOW");
    EXPECT_EQ(object.FormatEntry(1), "NUM\tWIDTH\t8");
    CKSTObject other;
    other.SetEntryCount(1);
    other.SetEntry(0, EntryKind::String, "LPM_TYPE", "x");
    EXPECT_EQ(other.FormatEntry(0), "UNKNOWN\tLPM_TYPE\tx");
    EXPECT_STREQ(EntryKindLabel(static_cast<EntryKind>(99)), "UNKNOWN");
    EXPECT_STREQ(EntryKindLabel(static_cast<EntryKind>(10)), "PKG");
}

TEST(DesignObject, ParseEntryAcceptsPasteableLines) {
    EntryKind kind = EntryKind::None;
    std::string name, value;
    ASSERT_TRUE(CKSTObject::ParseEntry("NUM\tWIDTH\t8", kind, name, value));
    EXPECT_EQ(kind, EntryKind::Numeric);
    EXPECT_EQ(name, "WIDTH");
    EXPECT_EQ(value, "8");

    std::vector<std::string> choices;
    ASSERT_TRUE(CKSTObject::ParseEntry("LOGIC\tL\tA\t\tB", kind, name, value, &choices));
    EXPECT_EQ(kind, EntryKind::Logic);
    EXPECT_EQ(value, "A");
    EXPECT_EQ(choices, (std::vector<std::string>{"", "B"}));

    ASSERT_TRUE(CKSTObject::ParseEntry("  NOTE\tN\tfree text with spaces", kind, name, value));
    EXPECT_EQ(value, "free text with spaces");
    ASSERT_TRUE(CKSTObject::ParseEntry("STYLE\tS\tFAST", kind, name, value)); // no list given
    ASSERT_TRUE(CKSTObject::ParseEntry("TYP\tT\t", kind, name, value));
    EXPECT_EQ(value, "");

    // A formatted entry parses back to itself.
    const CKSTObject object = SampleObject();
    choices.clear();
    ASSERT_TRUE(CKSTObject::ParseEntry(object.FormatEntry(2), kind, name, value, &choices));
    EXPECT_EQ(choices, object.GetChoiceList(2));
}

TEST(DesignObject, ParseEntryRejections) {
    const char* const rejected[] = {
        "NUM\tWIDTH\t8\tx", // a further TAB for a kind without choices
        "UNKNOWN\tLPM\tx",  // label of kind 13
        "VHDL\tA\tA.vhd",   // not a pasteable kind
        "num\tWIDTH\t8",    // labels are compared exactly
        "NUM WIDTH\t8",     // a space instead of the TAB
        "NUM\t2WIDE\t8",    "NUM\tA__B\t8",
        "NUM\tA_\t8",
        "NUM\tWIDTH", // no TAB after the name
        "NUM\tWIDTH 8",     "",
    };
    for (const char* line : rejected) {
        SCOPED_TRACE(line);
        EntryKind kind = EntryKind::Note;
        std::string name = "keep", value = "keep";
        EXPECT_FALSE(CKSTObject::ParseEntry(line, kind, name, value));
        EXPECT_EQ(kind, EntryKind::Note);
        EXPECT_EQ(name, "keep");
    }
}

TEST(DesignObject, SerializeByteLayout) {
    CKSTObject object;
    object.SetEntryCount(1);
    object.SetEntry(0, EntryKind::Logic, "L", "H");
    const std::vector<std::string> choices{"H", "LO"};
    object.SetChoiceList(0, &choices);
    object.SetAnalysedTime(0x04030201, 0x08070605);
    object.SetGeneratedName("never stored");

    CArchive out = CArchive::ForStoring();
    ASSERT_TRUE(object.Serialize(out));
    const std::string expected("\x01\0\0\0"
                               "\x01\x02\x03\x04\x05\x06\x07\x08"
                               "\x09\0\0\0"
                               "\x01L\x01H"
                               "\x02\0\0\0"
                               "\x01H\x02LO",
                               4 + 8 + 4 + 4 + 4 + 2 + 3);
    EXPECT_EQ(out.Buffer(), expected);
}

TEST(DesignObject, RoundTripAndOldVersionsClearTheTime) {
    const CKSTObject object = SampleObject();
    CArchive out = CArchive::ForStoring();
    ASSERT_TRUE(CKSTObject(object).Serialize(out));

    {
        CArchive in = CArchive::ForLoading(out.Buffer(), 110);
        CKSTObject back;
        ASSERT_TRUE(back.Serialize(in));
        EXPECT_EQ(back, object);
        EXPECT_TRUE(in.AtEnd());
    }
    {
        CArchive in = CArchive::ForLoading(out.Buffer(), 100);
        CKSTObject back;
        ASSERT_TRUE(back.Serialize(in));
        EXPECT_EQ(back.GetAnalysedTime(), 0u);
        EXPECT_EQ(back.FormatEntry(2), object.FormatEntry(2));
        EXPECT_EQ(back.GetEntryCount(), 3);
    }
}

TEST(DesignObject, TruncatedRecordFailsAtEveryLength) {
    CArchive out = CArchive::ForStoring();
    ASSERT_TRUE(SampleObject().Serialize(out));
    const std::string& bytes = out.Buffer();
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        CArchive in = CArchive::ForLoading(std::string_view(bytes).substr(0, length));
        CKSTObject back;
        EXPECT_FALSE(back.Serialize(in)) << "length " << length;
    }
}

TEST(DesignObject, HugeCountsFailWithoutAllocating) {
    // An entry count of 0x7FFFFFFF, and a choice count of 0x7FFFFFFF in an otherwise valid record.
    const std::string bigCountBytes = std::string("\xFF\xFF\xFF\x7F\0\0\0\0\0\0\0\0", 12);
    CArchive bigCount = CArchive::ForLoading(bigCountBytes);
    CKSTObject back;
    EXPECT_FALSE(back.Serialize(bigCount));
    const std::string negativeBytes = std::string("\xFF\xFF\xFF\xFF\0\0\0\0\0\0\0\0", 12);
    CArchive negative = CArchive::ForLoading(negativeBytes);
    EXPECT_FALSE(back.Serialize(negative));
    const std::string bigChoicesBytes =
        std::string("\x01\0\0\0\0\0\0\0\0\0\0\0\x01\0\0\0\0\0\xFF\xFF\xFF\x7F", 22);
    CArchive bigChoices = CArchive::ForLoading(bigChoicesBytes);
    EXPECT_FALSE(back.Serialize(bigChoices));
}

TEST(DesignObject, RenameModuleObjectKeepsTheFailureMark) {
    CKSTObject object;
    object.SetEntryCount(3);
    object.SetEntry(0, EntryKind::Vhdl, "* ADDER", "ADDER.vhd");
    object.SetEntry(1, EntryKind::Architecture, "ADDER", "rtl");
    object.SetEntry(2, EntryKind::Numeric, "ADDER", "1");
    RenameModuleObject(object, "SUM");
    EXPECT_EQ(object.FormatEntry(0), "VHDL\t* SUM\tSUM.vhd");
    EXPECT_EQ(object.GetEntryName(1), "SUM");
    EXPECT_EQ(object.GetEntryName(2), "ADDER");
}

} // namespace
} // namespace kestra
