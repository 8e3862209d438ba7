#include "OrvaneTest.h"

namespace {

std::u16string S(const CKivString &s) { return std::u16string(s.GetString(), s.GetLength()); }

TEST(KivString, AssignAppendAndEmpty) {
    CKivString s;
    EXPECT_EQ(s.GetLength(), 0);
    EXPECT_EQ(S(s), u"");
    s = u"abc";
    s += u"\u00e9";
    EXPECT_EQ(S(s), u"abc\u00e9");
    EXPECT_EQ(s.GetLength(), 4);
    CKivString copy(s);
    s.Empty();
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(S(copy), u"abc\u00e9");
    copy = copy;
    EXPECT_EQ(S(copy), u"abc\u00e9");
}

TEST(KivString, Format) {
    CKivString s;
    s.Format(u"<%s>%d|%I64d|%u|100%%|%x</%s>", u"r\u00e9", -2147483647 - 1, INT64_MIN, 4000000000u, u"r");
    EXPECT_EQ(S(s), u"<r\u00e9>-2147483648|-9223372036854775808|4000000000|100%|%x</r>");
    s.Format(u"%s", static_cast<const char16_t *>(nullptr));
    EXPECT_EQ(S(s), u"(null)");
}

TEST(KivString, FindReplaceLeftGetAt) {
    CKivString s(u"<![CDATA[x]]><![CDATA[");
    EXPECT_EQ(s.Find(u"<![CDATA["), 0);
    EXPECT_EQ(s.Find(u"<![CDATA[", 1), 13);
    EXPECT_EQ(s.Find(u"\\"), -1);
    EXPECT_EQ(s.Replace(u"<![CDATA[", u""), 2);
    EXPECT_EQ(S(s), u"x]]>");
    EXPECT_EQ(S(s.Left(1)), u"x");
    EXPECT_EQ(S(s.Left(-3)), u"");
    EXPECT_EQ(S(s.Left(99)), u"x]]>");
    EXPECT_EQ(s.GetAt(3), u'>');
    EXPECT_EQ(s.GetAt(4), u'\0');
}

TEST(KivString, CompareNoCase) {
    EXPECT_EQ(CKivString(u"/").CompareNoCase(u"/"), 0);
    EXPECT_EQ(CKivString(u"Config").CompareNoCase(u"cONFIG"), 0);
    EXPECT_NE(CKivString(u"c").CompareNoCase(u"/"), 0);
    EXPECT_LT(CKivString(u"a").CompareNoCase(u"ab"), 0);
}

TEST(KivPathString, FindFileName) {
    struct {
        const char16_t *path;
        const char16_t *name;
    } cases[] = {{u"/tmp/dir/config.xml", u"config.xml"},
                 {u"C:\\Data\\app.cfg", u"app.cfg"},
                 {u"plain.xml", u"plain.xml"},
                 {u"dir/", u""},
                 {u"", u""}};
    for (const auto &c : cases) {
        CKivPathString path(c.path);
        EXPECT_EQ(std::u16string(path.FindFileName()), c.name) << U8(c.path);
    }
}

}  // namespace
