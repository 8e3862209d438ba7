// The text of an element: its first text or CDATA child, read cleaned up
// and written literally.
#include "NodeTest.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct TextCase {
    const char *name;
    std::string xml;
    std::string text;
};

class GetTextTest : public NodeTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(GetTextTest, ReadsTheFirstTextChild) {
    Document doc = Load(GetParam().xml);
    Node a = Root(doc.get());
    BSTR text = a->GetText();
    ASSERT_NE(text, nullptr) << "an element without text gives the empty string";
    EXPECT_EQ(Take(text), GetParam().text);
    EXPECT_EQ(a->isOK(), S_OK);
    EXPECT_THAT(log.errors(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, GetTextTest,
    ::testing::Values(
        TextCase{"TrailingLineFeedAndTab", "<a>hello\n\t</a>", "hello"},
        TextCase{"TrailingBlankKept", "<a>hello \n</a>", "hello "},
        TextCase{"CarriageReturnKept", "<a>x&#13;\n</a>", "x\r"},
        TextCase{"LeadingKept", "<a>\n\t lead</a>", "\n\t lead"}, TextCase{"SingleCharacter", "<a>x\n</a>", "x"},
        TextCase{"OnlyIndentation", "<a>\n\t\t\n</a>", ""},
        TextCase{"IndentationBeforeChild", "<a>\n  <b/></a>", "\n  "}, TextCase{"NoChildren", "<a/>", ""},
        TextCase{"OnlyElements", "<a><b>inner</b></a>", ""}, TextCase{"FirstOfSeveral", "<a>x<b/>y</a>", "x"},
        TextCase{"AfterComment", "<a><!--c-->t</a>", "t"},
        TextCase{"EntitiesResolved", "<a>1 &lt; 2 &amp; \u00e9\u20ac</a>", "1 < 2 & \u00e9\u20ac"},
        TextCase{"RealCData", "<a><![CDATA[1 < 2]]></a>", "1 < 2"},
        TextCase{"RealCDataTrimmed", "<a><![CDATA[x\n\t]]></a>", "x"},
        TextCase{"CDataFirstThenText", "<a><![CDATA[c]]>t</a>", "c"},
        // A CDATA section stored as text comes back as its content.
        TextCase{"CDataWrapperAsText", "<a>&lt;![CDATA[abc]]&gt;</a>", "abc"},
        // The last three characters go, whatever they are.
        TextCase{"CDataWrapperWithTrailingIndentation", "<a>&lt;![CDATA[abc]]&gt;\n</a>", "abc]"},
        TextCase{"TextBeforeWrapper", "<a>pre&lt;![CDATA[abc]]&gt;</a>", "preabc"},
        TextCase{"EveryMarkerRemoved", "<a>&lt;![CDATA[x&lt;![CDATA[y]]&gt;</a>", "xy"},
        TextCase{"MarkerOnly", "<a>&lt;![CDATA[</a>", ""}, TextCase{"FewerThanThreeLeft", "<a>&lt;![CDATA[ab</a>", ""},
        TextCase{"ExactlyThreeLeft", "<a>&lt;![CDATA[]]&gt;</a>", ""},
        TextCase{"MarkerWithoutClosing", "<a>&lt;![CDATA[abcd</a>", "a"}),
    [](const auto &info) { return std::string(info.param.name); });

struct SetTextCase {
    const char *name;
    std::string xml;
    std::u16string text;
    std::string read;        // GetText afterwards
    std::string serialised;  // the element afterwards (x86 edition)
};

class SetTextTest : public NodeTest, public ::testing::WithParamInterface<SetTextCase> {};

TEST_P(SetTextTest, WritesTheFirstTextChildLiterally) {
    const SetTextCase &c = GetParam();
    Document doc = Load(c.xml);
    Node a = Root(doc.get());
    EXPECT_EQ(a->SetText(c.text.c_str()), S_OK);
    EXPECT_EQ(a->isOK(), S_OK);
    EXPECT_EQ(TextOf(a.get()), c.read);
    EXPECT_THAT(log.errors(), IsEmpty());
#if defined(ORVANE_EDITION_X86)
    EXPECT_EQ(Serialised(doc.get()), "<?xml version=\"1.0\"?>\n" + c.serialised + "\n");
#endif
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SetTextTest,
    ::testing::Values(
        SetTextCase{"Replaces", "<a>old</a>", u"new", "new", "<a>new</a>"},
        SetTextCase{"CreatesInEmptyElement", "<a/>", u"made", "made", "<a>made</a>"},
        SetTextCase{"MarkupIsText", "<a>old</a>", u"<b>&amp;</b>", "<b>&amp;</b>",
                    "<a>&lt;b&gt;&amp;amp;&lt;/b&gt;</a>"},
        SetTextCase{"CDataStaysCData", "<a><![CDATA[old]]></a>", u"1 < 2", "1 < 2", "<a><![CDATA[1 < 2]]></a>"},
        SetTextCase{"AfterComment", "<a><!--c-->t</a>", u"u", "u", "<a><!--c-->u</a>"},
        SetTextCase{"EmptyText", "<a>old</a>", u"", "", "<a></a>"},
        SetTextCase{"NonAscii", "<a>old</a>", u"gr\u00fc\u00df \u20ac", "gr\u00fc\u00df \u20ac",
                    "<a>gr&#xFC;&#xDF; &#x20AC;</a>"},
        // Only the indentation before the first child element is replaced.
        SetTextCase{"IndentedElement", "<a>\n  <b/>\n  tail\n</a>", u"x", "x", "<a>x<b/>\n  tail\n</a>"},
        SetTextCase{"WrapperRoundTrip", "<a>old</a>", u"<![CDATA[abc]]>", "abc", "<a>&lt;![CDATA[abc]]&gt;</a>"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(NodeTest, SetTextNeedsATextChildWhenThereAreChildren) {
    Document doc = Load("<a><b>t</b><!--c--></a>");
    Node a = Root(doc.get());
    EXPECT_EQ(a->SetText(u"x"), E_FAIL);
    EXPECT_EQ(a->isOK(), E_FAIL);
    EXPECT_THAT(log.errors(), ElementsAre("CKivXmlNode::SetText(...) XML_TEXT_NODE Not found"));
    EXPECT_EQ(TextOf(a.get()), "");
    EXPECT_EQ(TextOf(ChildAt(a.get(), 0).get()), "t");
#if defined(ORVANE_EDITION_X86)
    EXPECT_EQ(Serialised(doc.get()), "<?xml version=\"1.0\"?>\n<a><b>t</b><!--c--></a>\n");
#endif
}

TEST_F(NodeTest, SetTextRefusesNull) {
    Document doc = Load("<a>keep</a>");
    Node a = Root(doc.get());
    EXPECT_EQ(a->SetText(nullptr), E_POINTER);
    EXPECT_EQ(a->isOK(), E_POINTER);
    EXPECT_THAT(log.errors(), ElementsAre("CKivXmlNode::SetText pstrText=NULL"));
    EXPECT_EQ(TextOf(a.get()), "keep");
}

// A text stored with a CDATA wrapper is written escaped and still reads as
// its content once the document is loaded again from its serialised form.
TEST_F(NodeTest, CDataWrapperSurvivesReloading) {
    Document doc = Load("<r><a>old</a></r>");
    ASSERT_EQ(NodeAt(doc.get(), u"/r/a")->SetText(u"<![CDATA[x < y]]>"), S_OK);
    std::string saved = "<?xml version=\"1.0\"?>\n<r><a>&lt;![CDATA[x &lt; y]]&gt;</a></r>\n";
#if defined(ORVANE_EDITION_X86)
    EXPECT_EQ(Serialised(doc.get()), saved);
#endif
    ASSERT_EQ(doc->LoadFromText(U16(saved).c_str()), S_OK);
    EXPECT_EQ(TextOf(NodeAt(doc.get(), u"/r/a").get()), "x < y");
}

TEST_F(NodeTest, TextTraces) {
    Document doc = Load("<a>t</a>");
    Node a = Root(doc.get());
    log.clear();
    TextOf(a.get());
    a->SetText(u"u");
    a->SetText(nullptr);
    if (edition::kTracesOperations) {
        EXPECT_THAT(log.traces(),
                    ElementsAre("> CKivXmlNode::GetText(void)", "> CKivXmlNode::SetText(LPCWSTR pstrText=u)", "< 0",
                                "> CKivXmlNode::SetText(LPCWSTR pstrText=(null))", "< -2147467261"));
    } else {
        EXPECT_THAT(log.traces(), IsEmpty());
    }
}

}  // namespace
