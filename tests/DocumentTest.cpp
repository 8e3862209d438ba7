#include "OrvaneTest.h"
#include "document/CKivXml.h"
#include "support/Edition.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char *kParseFailed = "CKivXml::LoadFromText Invalid XML buffer xmlParseMemory FAILED";

class DocumentTest : public OrvaneTest {};

TEST_F(DocumentTest, NewDocumentsAreIndependentAndClosed) {
    Document a = NewDocument();
    Document b = NewDocument();
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a.get(), b.get());
    EXPECT_EQ(a->SaveFile(nullptr), E_HANDLE) << "closed";
}

struct LoadCase {
    const char *name;
    std::u16string text;
    HRESULT hr;
};

void PrintTo(const LoadCase &c, std::ostream *os) { *os << c.name; }

class LoadFromTextTest : public OrvaneTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadFromTextTest, ResultAndLog) {
    Document doc = NewDocument();
    EXPECT_EQ(doc->LoadFromText(GetParam().text.c_str()), GetParam().hr);
    if (GetParam().hr == S_OK) {
        EXPECT_THAT(log.errors(), IsEmpty());
    } else {
        EXPECT_THAT(log.errors(), ElementsAre(kParseFailed));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LoadFromTextTest,
    ::testing::Values(LoadCase{"Element", u"<a/>", S_OK},
                      LoadCase{"Declaration", u"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<config>\n</config>", S_OK},
                      LoadCase{"Accents", u"<caf\u00e9 n\u00e9=\"\u00fc\">\u20ac</caf\u00e9>", S_OK},
                      LoadCase{"Emoji", u"<a>\xD83D\xDE00</a>", S_OK},
                      // The bytes are UTF-8 whatever the text declares.
                      LoadCase{"DeclaredLatin1", u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\u00e9</a>", S_OK},
                      LoadCase{"DeclaredUtf16", u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><a>\u00e9</a>", S_OK},
                      LoadCase{"Empty", u"", E_INVALIDARG},
                      LoadCase{"NotXml", u"hello", E_INVALIDARG},
                      LoadCase{"Unclosed", u"<a><b></a>", E_INVALIDARG},
                      LoadCase{"TwoRoots", u"<a/><b/>", E_INVALIDARG},
                      // A lone surrogate becomes U+FFFD, which is allowed text.
                      LoadCase{"LoneSurrogate", u"<a>\xD800</a>", S_OK},
                      LoadCase{"NulInName", u"<\u0001/>", E_INVALIDARG}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(DocumentTest, NullTextKeepsTheOpenDocument) {
    Document doc = Load("<keep/>");
    EXPECT_EQ(doc->LoadFromText(nullptr), E_INVALIDARG);
    EXPECT_THAT(log.errors(), ElementsAre("CKivXml::LoadFromText pstrText=NULL"));
    EXPECT_TRUE(static_cast<CKivXml *>(doc.get())->DumpDocInMemory()) << "still open";
}

TEST_F(DocumentTest, FailedLoadLeavesTheDocumentClosed) {
    Document doc = Load("<first/>");
    EXPECT_EQ(doc->LoadFromText(u"<broken"), E_INVALIDARG);
    EXPECT_FALSE(static_cast<CKivXml *>(doc.get())->DumpDocInMemory());
    EXPECT_EQ(doc->LoadFromText(u"<second/>"), S_OK);
    EXPECT_TRUE(static_cast<CKivXml *>(doc.get())->DumpDocInMemory());
}

// Large documents load; a single text node past libxml2's limit is refused
// cleanly, and libxml2 prints nothing on the host's streams either way.
TEST_F(DocumentTest, LargeTextLoadsAndOversizedNodeFailsQuietly) {
    std::u16string many = u"<a>";
    for (int i = 0; i < 200000; ++i) many += u"<e>中中中中中中</e>";
    many += u"</a>";
    const std::u16string huge = u"<a>" + std::u16string(4 << 20, u'中') + u"</a>";
    Document doc = NewDocument();
    ::testing::internal::CaptureStderr();
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(doc->LoadFromText(many.c_str()), S_OK);
    EXPECT_EQ(doc->LoadFromText(huge.c_str()), E_INVALIDARG);
    EXPECT_EQ(doc->LoadFromText(u"<a><b></a>"), E_INVALIDARG);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_THAT(log.errors(), ElementsAre(kParseFailed, kParseFailed));
}

TEST_F(DocumentTest, LoadFromTextTraces) {
    Document doc = NewDocument();
    doc->LoadFromText(u"<a/>");
    doc->LoadFromText(nullptr);
    if (edition::kTracesOperations) {
        EXPECT_THAT(log.traces(), ElementsAre("> CKivXml::LoadFromText pstrText=<a/>", "< 0",
                                              "> CKivXml::LoadFromText pstrText=(null)", "< -2147024809"));
    } else {
        EXPECT_THAT(log.traces(), IsEmpty());
    }
}

TEST_F(DocumentTest, ReleaseOfOpenAndClosedDocuments) {
    NewDocument();
    Load("<a><b/></a>");
    EXPECT_THAT(log.errors(), IsEmpty());
}

#if defined(ORVANE_EDITION_X86)
TEST_F(DocumentTest, DumpAndDumpText) {
    Document doc = NewDocument();
    CKivString text(u"stale");
    EXPECT_EQ(doc->GetDumpText(text), S_OK);
    EXPECT_TRUE(text.IsEmpty()) << "no dump yet";
    EXPECT_FALSE(doc->DumpDocInMemory()) << "nothing open";

    ASSERT_EQ(doc->LoadFromText(u"<caf\u00e9>\xD83D\xDE00</caf\u00e9>"), S_OK);
    EXPECT_TRUE(doc->DumpDocInMemory());
    EXPECT_EQ(doc->GetDumpText(text), S_OK);
    EXPECT_EQ(U8(text), "<?xml version=\"1.0\"?>\n<caf\u00e9>&#x1F600;</caf\u00e9>\n");

    // A text that declares another encoding is still read as the characters
    // it holds.
    ASSERT_EQ(doc->LoadFromText(u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><b>\u00e9</b>"), S_OK);
    EXPECT_TRUE(doc->DumpDocInMemory());
    doc->GetDumpText(text);
    EXPECT_EQ(U8(text), "<?xml version=\"1.0\"?>\n<b>&#xE9;</b>\n");

    ASSERT_EQ(doc->LoadFromText(u"<b>  kept  </b>"), S_OK);
    EXPECT_EQ(doc->GetDumpText(text), S_OK);
    EXPECT_TRUE(text.IsEmpty()) << "a load drops the old dump";
    EXPECT_TRUE(doc->DumpDocInMemory());
    doc->GetDumpText(text);
    EXPECT_EQ(U8(text), "<?xml version=\"1.0\"?>\n<b>  kept  </b>\n");
    EXPECT_THAT(log.errors(), IsEmpty());
    EXPECT_THAT(log.traces(), IsEmpty());
}
#else
TEST_F(DocumentTest, DumpIsTracedAndOnlyForOpenDocuments) {
    Document doc = NewDocument();
    auto *document = static_cast<CKivXml *>(doc.get());
    EXPECT_FALSE(document->DumpDocInMemory());
    doc->LoadFromText(u"<a/>");
    log.clear();
    EXPECT_TRUE(document->DumpDocInMemory());
    EXPECT_THAT(log.traces(), ElementsAre("> CKivXml::DumpDocInMemory(void)", "< 1"));
}
#endif

}  // namespace
