// Refused arguments and objects that failed construction: each call gets
// its code and one message, and nothing in the document changes.
#include <functional>
#include <memory>

#include "NodeTest.h"
#include "attribute/CKivXmlAttribute.h"
#include "node/CKivXmlNode.h"

namespace {

using ::testing::ElementsAre;

struct NullCase {
    const char *name;
    std::function<HRESULT(IKivXml *, IKivXmlNode *, IKivXmlAttribute *)> call;
    HRESULT hr;
    const char *error;
};

class NullArgumentTest : public NodeTest, public ::testing::WithParamInterface<NullCase> {};

TEST_P(NullArgumentTest, IsRefusedWithoutChanges) {
    const NullCase &c = GetParam();
    Document doc = Load("<r k=\"v\">t<c/></r>");
    Node r = Root(doc.get());
    Attribute k = AttributeOf(r.get(), u"k");
    log.clear();
    EXPECT_EQ(c.call(doc.get(), r.get(), k.get()), c.hr);
    EXPECT_THAT(log.errors(), ElementsAre(c.error));

    EXPECT_EQ(NameOf(r.get()), "r");
    EXPECT_EQ(TextOf(r.get()), "t");
    EXPECT_THAT(AttributesOf(r.get()), ElementsAre("k=v"));
    EXPECT_THAT(ChildNamesOf(r.get()), ElementsAre("c"));
    EXPECT_EQ(Take(k->GetName()), "k");
    // The cursors did not move either.
    IKivXmlNode *child = nullptr;
    ASSERT_EQ(r->GetNextChild(&child), S_OK);
    EXPECT_EQ(NameOf(Node(child).get()), "c");
    IKivXmlAttribute *attribute = nullptr;
    ASSERT_EQ(r->GetNextAttribute(&attribute), S_OK);
    EXPECT_EQ(Take(Attribute(attribute)->GetName()), "k");
}

IKivXmlNode *unusedNode;
IKivXmlAttribute *unusedAttribute;

INSTANTIATE_TEST_SUITE_P(
    Calls, NullArgumentTest,
    ::testing::Values(
        NullCase{"GetNodeOut", [](IKivXml *d, auto, auto) { return d->GetNode(u"/r", nullptr); }, E_POINTER,
                 "CKivXml::GetNode(...) ppNode=NULL"},
        NullCase{"GetRootNodeOut", [](IKivXml *d, auto, auto) { return d->GetRootNode(nullptr); }, E_POINTER,
                 "CKivXml::GetRootNode(...) ppNode=NULL"},
        NullCase{"SetNameName", [](auto, IKivXmlNode *n, auto) { return n->SetName(nullptr); }, E_INVALIDARG,
                 "CKivXmlNode::SetName pstrNewName=NULL"},
        NullCase{"AddChildName", [](auto, IKivXmlNode *n, auto) { return n->AddChild(nullptr, &unusedNode); },
                 E_POINTER, "CKivXmlNode::AddChild pstrName=NULL"},
        NullCase{"AddChildOut", [](auto, IKivXmlNode *n, auto) { return n->AddChild(u"x", nullptr); }, E_POINTER,
                 "CKivXmlNode::AddChild(...) ppNode=NULL"},
        NullCase{"GetChildAtOut", [](auto, IKivXmlNode *n, auto) { return n->GetChildAt(0, nullptr); }, E_POINTER,
                 "CKivXmlNode::GetChildAt(...) ppNode=NULL"},
        NullCase{"GetFirstChildOut", [](auto, IKivXmlNode *n, auto) { return n->GetFirstChild(nullptr); }, E_POINTER,
                 "CKivXmlNode::GetFirstChild(...) ppNode=NULL"},
        NullCase{"GetNextChildOut", [](auto, IKivXmlNode *n, auto) { return n->GetNextChild(nullptr); }, E_POINTER,
                 "CKivXmlNode::GetNextChild(...) ppNode=NULL"},
        NullCase{"GetFirstAttributeOut", [](auto, IKivXmlNode *n, auto) { return n->GetFirstAttribute(nullptr); },
                 E_POINTER, "CKivXmlNode::GetFirstAttribute(...) ppAttribute=NULL"},
        NullCase{"GetNextAttributeOut", [](auto, IKivXmlNode *n, auto) { return n->GetNextAttribute(nullptr); },
                 E_POINTER, "CKivXmlNode::GetNextAttribute(...) ppAttribute=NULL"},
        NullCase{"GetAttributeAtOut", [](auto, IKivXmlNode *n, auto) { return n->GetAttributeAt(0, nullptr); },
                 E_POINTER, "CKivXmlNode::GetAttributeAt(...) ppAttribute=NULL"},
        NullCase{"GetAttributeName",
                 [](auto, IKivXmlNode *n, auto) { return n->GetAttribute(nullptr, &unusedAttribute); }, E_POINTER,
                 "CKivXmlNode::GetAttribute pstrName=NULL"},
        NullCase{"GetAttributeOut", [](auto, IKivXmlNode *n, auto) { return n->GetAttribute(u"k", nullptr); },
                 E_POINTER, "CKivXmlNode::GetAttribute(...) ppAttribute=NULL"},
        NullCase{"AddAttributeName",
                 [](auto, IKivXmlNode *n, auto) { return n->AddAttribute(nullptr, &unusedAttribute); }, E_POINTER,
                 "CKivXmlNode::AddAttribute pstrName=NULL"},
        NullCase{"AddAttributeOut", [](auto, IKivXmlNode *n, auto) { return n->AddAttribute(u"k", nullptr); },
                 E_POINTER, "CKivXmlNode::AddAttribute(...) ppAttribute=NULL"},
        NullCase{"RemoveAttributeName", [](auto, IKivXmlNode *n, auto) { return n->RemoveAttribute(nullptr); },
                 E_POINTER, "CKivXmlNode::RemoveAttribute pstrName=NULL"},
        NullCase{"SetTextText", [](auto, IKivXmlNode *n, auto) { return n->SetText(nullptr); }, E_POINTER,
                 "CKivXmlNode::SetText pstrText=NULL"},
        NullCase{"SetStringValueValue", [](auto, auto, IKivXmlAttribute *a) { return a->SetStringValue(nullptr); },
                 E_POINTER, "CKivXmlAttribute::SetStringValue pstrValue=NULL"},
        NullCase{"AttributeSetNameName", [](auto, auto, IKivXmlAttribute *a) { return a->SetName(nullptr); }, E_POINTER,
                 "CKivXmlAttribute::SetName pstrName=NULL"}),
    [](const auto &info) { return std::string(info.param.name); });

// Objects that failed construction never leave the library; made here
// directly, every operation that tests validity refuses them.
class InvalidObjectTest : public OrvaneTest {
protected:
    static constexpr char kXml[] = "<r k=\"v\"><c/></r>";
    XmlDocHandle m_doc = ParseXmlMemory(kXml, sizeof kXml - 1, nullptr);
    std::unique_ptr<CKivXmlNode> m_node{new CKivXmlNode(m_doc.get(), u"/missing")};
    std::unique_ptr<CKivXmlAttribute> m_attribute{
        new CKivXmlAttribute(m_doc.get(), xmlDocGetRootElement(m_doc.get()), u"missing")};
};

TEST_F(InvalidObjectTest, NodeOperationsGiveEHandle) {
    IKivXmlNode *n = m_node.get();
    IKivXmlNode *child = kUntouchedNode;
    IKivXmlAttribute *attr = kUntouchedAttribute;
    log.clear();
    EXPECT_EQ(n->GetName(), nullptr);
    EXPECT_EQ(n->GetXPath(), nullptr);
    EXPECT_EQ(n->GetText(), nullptr);
    EXPECT_EQ(n->SetText(u"x"), E_HANDLE);
    EXPECT_EQ(n->GetChildCount(), 0);
    EXPECT_EQ(n->GetAttributeCount(), 0);
    EXPECT_EQ(n->RemoveChild(0), E_HANDLE);
    EXPECT_EQ(n->RemoveAttribute(u"k"), E_HANDLE);
    // Some leave the out-parameter as it was...
    EXPECT_EQ(n->GetFirstChild(&child), E_HANDLE);
    EXPECT_EQ(n->GetNextChild(&child), E_HANDLE);
    EXPECT_EQ(n->GetFirstAttribute(&attr), E_HANDLE);
    EXPECT_EQ(n->GetNextAttribute(&attr), E_HANDLE);
    EXPECT_EQ(n->GetAttributeAt(0, &attr), E_HANDLE);
    EXPECT_EQ(child, kUntouchedNode);
    EXPECT_EQ(attr, kUntouchedAttribute);
    // ...the others set it to NULL.
    EXPECT_EQ(n->GetChildAt(0, &child), E_HANDLE);
    EXPECT_EQ(child, nullptr);
    child = kUntouchedNode;
    EXPECT_EQ(n->AddChild(u"x", &child), E_HANDLE);
    EXPECT_EQ(child, nullptr);
    EXPECT_EQ(n->GetAttribute(u"k", &attr), E_HANDLE);
    EXPECT_EQ(attr, nullptr);
    attr = kUntouchedAttribute;
    EXPECT_EQ(n->AddAttribute(u"k", &attr), E_HANDLE);
    EXPECT_EQ(attr, nullptr);
    EXPECT_EQ(n->isOK(), E_HANDLE);
    EXPECT_THAT(
        log.errors(),
        ElementsAre(
            "CKivXmlNode::GetName(...) Invalid CKivXmlNode", "CKivXmlNode::GetXPath(...) Invalid CKivXmlNode",
            "CKivXmlNode::GetText(...) Invalid CKivXmlNode", "CKivXmlNode::SetText(...) Invalid CKivXmlNode",
            "CKivXmlNode::GetChildCount(...) Invalid CKivXmlNode",
            "CKivXmlNode::GetAttributeCount(...) Invalid CKivXmlNode",
            "CKivXmlNode::RemoveChild(...) Invalid CKivXmlNode",
            "CKivXmlNode::RemoveAttribute(...) Invalid CKivXmlNode",
            "CKivXmlNode::GetFirstChild(...) Invalid CKivXmlNode", "CKivXmlNode::GetNextChild(...) Invalid CKivXmlNode",
            "CKivXmlNode::GetFirstAttribute(...) Invalid CKivXmlNode",
            "CKivXmlNode::GetNextAttribute(...) Invalid CKivXmlNode",
            "CKivXmlNode::GetAttributeAt(...) Invalid CKivXmlNode", "CKivXmlNode::GetChildAt(...) Invalid CKivXmlNode",
            "CKivXmlNode::AddChild(...) Invalid CKivXmlNode", "CKivXmlNode::GetAttribute(...) Invalid CKivXmlNode",
            "CKivXmlNode::AddAttribute(...) Invalid CKivXmlNode"));
}

TEST_F(InvalidObjectTest, AttributeOperationsGiveEHandle) {
    IKivXmlAttribute *a = m_attribute.get();
    EXPECT_EQ(a->isOK(), E_FAIL) << "a failed construction";
    log.clear();
    EXPECT_EQ(a->GetStringValue(), nullptr);
    EXPECT_EQ(a->isOK(), E_HANDLE);
    EXPECT_EQ(a->GetLongValue(), 0);
    EXPECT_EQ(a->GetLong64Value(), 0);
    EXPECT_EQ(a->SetStringValue(u"x"), E_HANDLE);
    EXPECT_EQ(a->SetLongValue(1), E_HANDLE);
    EXPECT_EQ(a->SetLong64Value(1), E_HANDLE);
    EXPECT_EQ(a->GetName(), nullptr);
    EXPECT_EQ(a->SetName(u"y"), E_HANDLE);
    EXPECT_EQ(a->isOK(), E_HANDLE);
    EXPECT_THAT(log.errors(), ElementsAre("CKivXmlAttribute::GetStringValue(...) Invalid CKivXmlAttribute",
                                          "CKivXmlAttribute::GetLongValue(...) Invalid CKivXmlAttribute",
                                          "CKivXmlAttribute::GetLong64Value(...) Invalid CKivXmlAttribute",
                                          "CKivXmlAttribute::SetStringValue(...) Invalid CKivXmlAttribute",
                                          "CKivXmlAttribute::SetLongValue(...) Invalid CKivXmlAttribute",
                                          "CKivXmlAttribute::SetLong64Value(...) Invalid CKivXmlAttribute",
                                          "CKivXmlAttribute::GetName(...) Invalid CKivXmlAttribute",
                                          "CKivXmlAttribute::SetName(...) Invalid CKivXmlAttribute"));
    if (!edition::kTracesOperations) {
        EXPECT_THAT(log.traces(), ElementsAre("> CKivXmlAttribute::GetStringValue(void)",
                                              "< CKivXmlAttribute::GetStringValue(void) return NULL"));
    }
}

// The attribute constructor reports the element that lacks the attribute.
TEST_F(InvalidObjectTest, AttributeConstructorMessages) {
    EXPECT_THAT(log.errors(),
                ElementsAre("CKivXmlAttribute::CKivXmlAttribute(xmlDocPtr XMLDoc,xmlNodePtr pNode,LPCTSTR "
                            "strAttrName) Attribute missing Not found"));
    log.clear();
    CKivXmlAttribute noElement(m_doc.get(), nullptr, u"k");
    IKivXmlAttribute *attr = kUntouchedAttribute;
    EXPECT_EQ(CKivXmlAttribute::HandOut(nullptr, &attr, u"Creator"), E_FAIL);
    EXPECT_EQ(attr, nullptr);
    EXPECT_THAT(log.errors(),
                ElementsAre("CKivXmlAttribute::CKivXmlAttribute(xmlDocPtr XMLDoc,xmlNodePtr pNode,LPCTSTR "
                            "strAttrName) xmlGetNodePath FAILED Invalid node path",
                            "Creator(...) FAILED create new CKivXmlAttribute pAttr=NULL"));
}

}  // namespace
