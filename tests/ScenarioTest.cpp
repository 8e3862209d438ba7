// A host's typical request on a document loaded from text: find an element
// by XPath, read and change a numeric attribute, replace the element's text.
#include "NodeTest.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(NodeTest, TypicalRequest) {
    Document doc = Load(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<config>\n"
        "  <server port=\"8080\" name=\"main\">primary\n"
        "  </server>\n"
        "  <server port=\"9090\"/>\n"
        "</config>");

    // Find the element.
    IKivXmlNode *found = nullptr;
    ASSERT_EQ(doc->GetNode(u"config/server", &found), S_OK);
    Node server(found);
    EXPECT_EQ(PathOf(server.get()), "/config/server[1]");
    EXPECT_EQ(TextOf(server.get()), "primary\n  ") << "blanks before the closing tag stay";

    // Read a number from an attribute and write a new one.
    IKivXmlAttribute *got = nullptr;
    ASSERT_EQ(server->GetAttribute(u"port", &got), S_OK);
    Attribute port(got);
    EXPECT_EQ(port->GetLongValue(), 8080);
    EXPECT_EQ(port->isOK(), S_OK);
    EXPECT_EQ(port->SetLongValue(8443), S_OK);

    // Replace the text.
    EXPECT_EQ(server->SetText(u"backup"), S_OK);

    port.reset();
    server.reset();
    EXPECT_THAT(log.errors(), IsEmpty());

    Node again = NodeAt(doc.get(), u"/config/server[@port='8443']");
    EXPECT_EQ(TextOf(again.get()), "backup");
    EXPECT_THAT(AttributesOf(again.get()), ElementsAre("port=8443", "name=main"));
    EXPECT_EQ(ValueOf(AttributeOf(NodeAt(doc.get(), u"//server[2]").get(), u"port").get()), "9090");
#if defined(ORVANE_EDITION_X86)
    EXPECT_EQ(Serialised(doc.get()),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
              "<config>\n"
              "  <server port=\"8443\" name=\"main\">backup</server>\n"
              "  <server port=\"9090\"/>\n"
              "</config>\n");
#endif
}

// The same steps as the x64 edition traces them.
TEST_F(NodeTest, TypicalRequestTraces) {
    Document doc = Load("<config><server port=\"8080\">primary</server></config>");
    IKivXmlNode *found = nullptr;
    doc->GetNode(u"config/server", &found);
    Node server(found);
    IKivXmlAttribute *got = nullptr;
    server->GetAttribute(u"port", &got);
    Attribute port(got);
    port->GetLongValue();
    port->SetLongValue(8081);
    server->SetText(u"backup");
    if (edition::kTracesOperations) {
        EXPECT_THAT(
            log.traces(),
            ElementsAre("> CKivXml::GetNode(LPCWSTR pstrNodePath = config/server, IKivXmlNode **ppNode)", "< 0",
                        "> CKivXmlNode::GetAttribute(LPCTSTR pstrName=port,IKivXmlAttribute **ppAttribute)", "< 0",
                        "> CKivXmlAttribute::GetLongValue(void)", "> CKivXmlAttribute::SetLongValue(LONG lValue=8081)",
                        "< 0", "> CKivXmlNode::SetText(LPCWSTR pstrText=backup)", "< 0"));
    } else {
        EXPECT_THAT(log.traces(), IsEmpty());
    }
}

}  // namespace
