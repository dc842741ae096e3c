#include "model/archive.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (const int v : values)
        bytes.push_back(static_cast<char>(v));
    return bytes;
}

TEST(Archive, IntegersAreLittleEndian) {
    CArchive out = CArchive::ForStoring();
    out.WriteUInt8(0xAB);
    out.WriteUInt16(0x1234);
    out.WriteUInt32(0x11D2A07E);
    out.WriteInt32(-2);
    EXPECT_EQ(out.Buffer(), Bytes({0xAB, 0x34, 0x12, 0x7E, 0xA0, 0xD2, 0x11, 0xFE, 0xFF, 0xFF, 0xFF}));

    CArchive in = CArchive::ForLoading(out.Buffer());
    std::uint8_t b = 0;
    std::uint16_t w = 0;
    std::uint32_t d = 0;
    std::int32_t i = 0;
    ASSERT_TRUE(in.ReadUInt8(b) && in.ReadUInt16(w) && in.ReadUInt32(d) && in.ReadInt32(i));
    EXPECT_EQ(b, 0xAB);
    EXPECT_EQ(w, 0x1234);
    EXPECT_EQ(d, 0x11D2A07Eu);
    EXPECT_EQ(i, -2);
    EXPECT_TRUE(in.AtEnd());
}

TEST(Archive, StringLengthPrefixes) {
    struct Case {
        std::size_t length;
        std::string prefix;
    };
    const Case cases[] = {
        {0, Bytes({0x00})},
        {254, Bytes({0xFE})},
        {255, Bytes({0xFF, 0xFF, 0x00})},
        {65533, Bytes({0xFF, 0xFD, 0xFF})},
        {65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::string text(c.length, 'x');
        if (!text.empty())
            text.back() = 'y';
        CArchive out = CArchive::ForStoring();
        out.WriteString(text);
        ASSERT_EQ(out.Buffer().size(), c.prefix.size() + c.length);
        EXPECT_EQ(out.Buffer().substr(0, c.prefix.size()), c.prefix);

        CArchive in = CArchive::ForLoading(out.Buffer());
        std::string back;
        ASSERT_TRUE(in.ReadString(back));
        EXPECT_EQ(back, text);
        EXPECT_TRUE(in.AtEnd());
    }
}

TEST(Archive, RejectsWideCharacterMarkerAndOverlongLengths) {
    std::string back;
    const std::string wideBytes = Bytes({0xFF, 0xFE, 0xFF, 0x01, 'a'});
    CArchive wide = CArchive::ForLoading(wideBytes);
    EXPECT_FALSE(wide.ReadString(back));
    EXPECT_TRUE(wide.Failed());

    // A 32-bit length of 4 GiB with a few bytes behind it: must fail without allocating.
    const std::string hugeBytes = Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 'b'});
    CArchive huge = CArchive::ForLoading(hugeBytes);
    EXPECT_FALSE(huge.ReadString(back));
    EXPECT_TRUE(back.empty());
}

TEST(Archive, FailureIsSticky) {
    const std::string inBytes = Bytes({0x01, 0x02, 0x03});
    CArchive in = CArchive::ForLoading(inBytes);
    std::uint32_t d = 0;
    EXPECT_FALSE(in.ReadUInt32(d));
    std::uint8_t b = 0;
    EXPECT_FALSE(in.ReadUInt8(b)); // bytes remain, but the archive has failed
    EXPECT_TRUE(in.Failed());
}

TEST(Archive, CanHoldGuardsCounts) {
    const std::string inBytes = std::string(20, '\0');
    CArchive in = CArchive::ForLoading(inBytes);
    EXPECT_TRUE(in.CanHold(2, 10));
    EXPECT_FALSE(in.CanHold(3, 10));
    EXPECT_TRUE(in.Failed());
    const std::string hugeBytes = std::string(20, '\0');
    CArchive huge = CArchive::ForLoading(hugeBytes);
    EXPECT_FALSE(huge.CanHold(0xFFFFFFFFull, 1));
}

} // namespace
} // namespace kestra
