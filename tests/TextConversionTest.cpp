#include <cstring>
#include <vector>

#include "OrvaneTest.h"

namespace {

std::vector<unsigned char> Encode(const std::u16string &text, uint32_t nCapacity) {
    std::vector<unsigned char> out(nCapacity + 8, 0xAA);
    uint32_t n = Utf16ToUtf8(text.data(), static_cast<uint32_t>(text.size()), out.data(), nCapacity);
    for (size_t i = nCapacity; i < out.size(); ++i) EXPECT_EQ(out[i], 0xAA) << "wrote past the capacity";
    out.resize(n);
    return out;
}

struct EncodeCase {
    std::u16string text;
    std::vector<unsigned char> bytes;
};

void PrintTo(const EncodeCase &c, std::ostream *os) { *os << U8(c.text.c_str()); }

class EncodeTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeTest, EncodesUnitsAndPairs) {
    const EncodeCase &c = GetParam();
    EXPECT_EQ(Encode(c.text, 3 * static_cast<uint32_t>(c.text.size())), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Utf16ToUtf8, EncodeTest,
    ::testing::Values(EncodeCase{u"A", {0x41}}, EncodeCase{u"\u00e9", {0xC3, 0xA9}},
                      EncodeCase{u"\u07ff", {0xDF, 0xBF}}, EncodeCase{u"\u0800", {0xE0, 0xA0, 0x80}},
                      EncodeCase{u"\u20ac", {0xE2, 0x82, 0xAC}}, EncodeCase{u"\uffff", {0xEF, 0xBF, 0xBF}},
                      // A pair is one character; lone halves become U+FFFD.
                      EncodeCase{u"\xD83D\xDE00", {0xF0, 0x9F, 0x98, 0x80}},
                      EncodeCase{u"\xD83D", {0xEF, 0xBF, 0xBD}}, EncodeCase{u"\xDE00x", {0xEF, 0xBF, 0xBD, 'x'}},
                      EncodeCase{u"\xDE00\xD83D", {0xEF, 0xBF, 0xBD, 0xEF, 0xBF, 0xBD}},
                      EncodeCase{std::u16string(u"a\0b", 3), {'a', 0, 'b'}}),
    [](const auto &info) { return "Case" + std::to_string(info.index); });

TEST(TextConversion, CapacityFailsWholeConversion) {
    EXPECT_TRUE(Encode(u"\u00e9", 1).empty());
    EXPECT_EQ(Encode(u"\u00e9", 2).size(), 2u);
    EXPECT_TRUE(Encode(u"ab\u20ac", 4).empty());
    EXPECT_TRUE(Encode(u"\xD83D\xDE00", 3).empty());
    unsigned char buffer[8];
    EXPECT_EQ(Utf16ToUtf8(u"abc", 0, buffer, sizeof buffer), 0u);
    EXPECT_EQ(Utf16ToUtf8(u"abc", 3, buffer, 0), 0u);
}

TEST(TextConversion, ThreeBytesPerUnitAlwaysSuffice) {
    std::u16string text(1000, u'\u4e2d');
    EXPECT_EQ(Encode(text, 3000).size(), 3000u);
    std::u16string pairs;
    for (int i = 0; i < 500; ++i) pairs += u"\xD83D\xDE00";
    EXPECT_EQ(Encode(pairs, 3000).size(), 2000u);
}

TEST(TextConversion, WideToUtf8Terminates) {
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_STREQ(WideToUtf8(u"", buffer), "");
    EXPECT_STREQ(WideToUtf8(u"h\u00e9", buffer), "h\xC3\xA9");
}

TEST(TextConversion, Utf8ToWide) {
    CKivString target(u"old");
    Utf8ToWide("", target);
    EXPECT_TRUE(target.IsEmpty());
    target = u"old";
    Utf8ToWide(nullptr, target);
    EXPECT_TRUE(target.IsEmpty());
    Utf8ToWide("a", target);
    EXPECT_EQ(std::u16string(target.GetString()), u"a");
    Utf8ToWide("\xF0\x9F\x98\x80 \xE2\x82\xAC", target);
    EXPECT_EQ(std::u16string(target.GetString()), u"\xD83D\xDE00 \u20ac");
}

// Invalid input decodes as the platform does with flags 0: each maximal
// invalid subpart becomes one U+FFFD, and nothing is read past the end.
// Windows decodes with the system's MultiByteToWideChar, which may group
// the bytes of an encoded surrogate or of a code point beyond U+10FFFF
// differently (wine does): there those become U+FFFD, one or more.
TEST(TextConversion, Utf8ToWideReplacesInvalidSequences) {
    struct Case {
        const char *bytes;
        std::u16string text;
        bool bSystemGroupsBytes;
    } cases[] = {
        {"a\xFF" "b", u"a\uFFFDb", false},
        {"\xC3", u"\uFFFD", false},
        {"\xE2\x82", u"\uFFFD", false},
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", true},  // an encoded surrogate
        {"\xC0\xAF", u"\uFFFD\uFFFD", false},             // overlong
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", true},
        {"\x80x", u"\uFFFDx", false},
    };
    for (const Case &c : cases) {
        CKivString target;
        Utf8ToWide(c.bytes, target);
        const std::u16string text(target.GetString());
#if defined(_WIN32)
        if (c.bSystemGroupsBytes) {
            EXPECT_THAT(text, ::testing::AllOf(::testing::Not(::testing::IsEmpty()),
                                               ::testing::Each(::testing::Eq(u'\uFFFD'))))
                << c.bytes;
            continue;
        }
#endif
        EXPECT_EQ(text, c.text) << c.bytes;
    }
}

TEST(TextConversion, RoundTripsEveryBmpCharacterAndAPair) {
    std::u16string all;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c < 0xD800 || c > 0xDFFF) all += static_cast<char16_t>(c);
    }
    all += u"\xDBFF\xDFFF";
    Utf8Buffer utf8(all.c_str());
    ASSERT_TRUE(utf8);
    CKivString back;
    Utf8ToWide(utf8.get(), back);
    EXPECT_EQ(std::u16string(back.GetString(), back.GetLength()), all);
}

}  // namespace
