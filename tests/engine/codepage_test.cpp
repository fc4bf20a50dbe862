// Code page conversion: known encodings, '?' policy, growth, UTF-16 decoding, bad input.
#include "engine/codepage.h"

#include <gtest/gtest.h>

#include "tests/test_text.h"

namespace morvane {
namespace {

using test::FromHex;
using test::Hex;

struct EncodingCase {
    int codePage;
    const char* utf8;
    const char* hex;
};

void PrintTo(const EncodingCase& c, std::ostream* os) { *os << c.codePage; }

// One short text per code page the window offers, bytes as Python's codecs give them.
const EncodingCase kEncodings[] = {
    {874, "ไทย", "e4 b7 c2"},
    {932, "日本語", "93 fa 96 7b 8c ea"},
    {936, "中文", "d6 d0 ce c4"},
    {949, "한국", "c7 d1 b1 b9"},
    {950, "中文", "a4 a4 a4 e5"},
    {1250, "Łódź", "a3 f3 64 9f"},
    {1251, "Привет", "cf f0 e8 e2 e5 f2"},
    {1252, "café", "63 61 66 e9"},
    {1253, "Ωμέγα", "d9 ec dd e3 e1"},
    {1254, "Ğış", "d0 fd fe"},
    {1255, "שלום", "f9 ec e5 ed"},
    {1256, "سلام", "d3 e1 c7 e3"},
    {1257, "Ąž", "c0 fe"},
    {1258, "Đàn", "d0 e0 6e"},
    {1361, "한국", "d0 65 8a 82"},
    {54936, "𠀀", "95 32 82 36"},
};

class CodePageEncoding : public testing::TestWithParam<EncodingCase> {};

TEST_P(CodePageEncoding, EncodesFromAndDecodesToUtf8)
{
    const EncodingCase& c = GetParam();
    std::string text = c.utf8;
    ASSERT_TRUE(ConvertCodePage(text, kCodePageUtf8, c.codePage));
    EXPECT_EQ(Hex(text), c.hex);
    ASSERT_TRUE(ConvertCodePage(text, c.codePage, kCodePageUtf8));
    EXPECT_EQ(text, c.utf8);
}

INSTANTIATE_TEST_SUITE_P(EveryListedCodePage, CodePageEncoding, testing::ValuesIn(kEncodings),
                         [](const auto& row) { return "cp" + std::to_string(row.param.codePage); });

TEST(ConvertCodePage, GbkToBig5ReplacesWhatBig5LacksByOneQuestionMark)
{
    // 这 is Simplified only: BIG5 has no such character.
    std::string text = test::Gbk("这中");
    ASSERT_TRUE(ConvertCodePage(text, 936, 950));
    EXPECT_EQ(Hex(text), "3f a4 a4");
}

TEST(ConvertCodePage, InvalidSourceSequencesBecomeOneQuestionMarkEach)
{
    // A lead byte with a bad trail, a lone 0xFF, and a lead byte cut off at the end.
    std::string text = FromHex("41 81 20 ff 42 d6");
    ASSERT_TRUE(ConvertCodePage(text, 936, 65001));
    EXPECT_EQ(text, "A? ?B?");
}

TEST(ConvertCodePage, GrowsWithoutCuttingTheText)
{
    // Each accented letter takes two bytes in GBK: nothing is cut.
    std::string text = FromHex("e9 fc e9 fc");
    ASSERT_TRUE(ConvertCodePage(text, 1252, 936));
    EXPECT_EQ(Hex(text), "a8 a6 a8 b9 a8 a6 a8 b9");
}

TEST(ConvertCodePage, EqualCodePagesStillPassThroughUnicode)
{
    std::string text = FromHex("41 ff 42");
    ASSERT_TRUE(ConvertCodePage(text, 936, 936));
    EXPECT_EQ(text, "A?B");
}

TEST(ConvertCodePage, KeepsBytesAfterANulByte)
{
    std::string text = test::Gbk("中") + std::string(1, '\0') + test::Gbk("文");
    ASSERT_TRUE(ConvertCodePage(text, 936, 65001));
    EXPECT_EQ(text, std::string("中") + std::string(1, '\0') + "文");
}

TEST(ConvertCodePage, EmptyStaysEmpty)
{
    std::string text;
    ASSERT_TRUE(ConvertCodePage(text, 936, 950));
    EXPECT_EQ(text, "");
}

TEST(ConvertCodePage, UnknownCodePageFailsAndLeavesTheText)
{
    std::string text = "abc";
    EXPECT_FALSE(ConvertCodePage(text, 936, 12345));
    EXPECT_FALSE(ConvertCodePage(text, 0, 936));
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(IconvNameForCodePage(12345), nullptr);
}

TEST(ConvertCodePage, Utf16TargetsStayAligned)
{
    // A bad UTF-16 unit is skipped as a whole unit, so what follows still decodes.
    std::string text = FromHex("41 00 00 dc 42 00");
    ASSERT_TRUE(ConvertCodePage(text, 1200, 65001));
    EXPECT_EQ(text, "A?B");
}

struct DecodeCase {
    const char* name;
    const char* fileHex;
    int codePage;
    const char* expectedHex;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

const DecodeCase kDecodes[] = {
    {"MarkAloneGivesEmptyText", "ff fe", 936, ""},
    {"Utf16ToGbk", "ff fe 2d 4e 87 65", 936, "d6 d0 ce c4"},
    {"Utf16ToBig5", "ff fe 2d 4e 87 65", 950, "a4 a4 a4 e5"},
    {"Utf16ToShiftJis", "ff fe e5 65 2c 67", 932, "93 fa 96 7b"},
    {"TextAfterAZeroUnitIsKept", "ff fe 41 00 00 00 42 00", 936, "41 00 42"},
    {"OddLastByteBecomesQuestionMark", "ff fe 41 00 42", 936, "41 3f"},
    {"UnpairedSurrogateBecomesQuestionMark", "ff fe 00 d8 41 00", 936, "3f 41"},
    {"SurrogatePairToGb18030", "ff fe 40 d8 00 dc", 54936, "95 32 82 36"},
    {"BigEndianMarkIsLeftRaw", "fe ff 00 41", 936, "fe ff 00 41"},
    {"Utf8MarkIsLeftRaw", "ef bb bf 41", 936, "ef bb bf 41"},
    {"NoMarkIsLeftRaw", "41 00 42 00", 936, "41 00 42 00"},
    {"OneByteIsLeftRaw", "ff", 936, "ff"},
};

class DecodeLoadedTextCase : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeLoadedTextCase, Decodes)
{
    const DecodeCase& c = GetParam();
    std::string buffer = FromHex(c.fileHex);
    ASSERT_TRUE(DecodeLoadedText(buffer, c.codePage));
    EXPECT_EQ(Hex(buffer), c.expectedHex);
}

INSTANTIATE_TEST_SUITE_P(Files, DecodeLoadedTextCase, testing::ValuesIn(kDecodes),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(DecodeLoadedText, UnknownCodePageFailsAndLeavesTheBytes)
{
    std::string buffer = FromHex("ff fe 41 00");
    EXPECT_FALSE(DecodeLoadedText(buffer, 4242));
    EXPECT_EQ(Hex(buffer), "ff fe 41 00");
}

} // namespace
} // namespace morvane
