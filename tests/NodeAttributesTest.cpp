// The attributes of a node's element: count, position, enumeration, lookup
// by name, adding and removing.
#include "NodeTest.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char *kInvalidAttribute =
    "CKivXmlNode::GetAttribute(...) FAILED pAttr->isOK()=FALSE Invalid return Attribute";

TEST_F(NodeTest, ElementWithoutAttributes) {
    Document doc = Load("<a xmlns:p=\"urn:p\"/>");
    Node a = Root(doc.get());
    EXPECT_EQ(a->GetAttributeCount(), 0) << "namespace declarations are no attributes";
    IKivXmlAttribute *attribute = kUntouchedAttribute;
    EXPECT_EQ(a->GetFirstAttribute(&attribute), E_FAIL);
    EXPECT_EQ(attribute, kUntouchedAttribute);
    EXPECT_EQ(a->isOK(), E_FAIL);
    EXPECT_THAT(log.errors(), IsEmpty());
}

TEST_F(NodeTest, EnumerationInDocumentOrder) {
    Document doc = Load("<a z=\"1\" y=\"2\" x=\"3\"/>");
    Node a = Root(doc.get());
    EXPECT_EQ(a->GetAttributeCount(), 3);
    IKivXmlAttribute *attribute = nullptr;
    ASSERT_EQ(a->GetFirstAttribute(&attribute), S_OK);
    EXPECT_EQ(Take(Attribute(attribute)->GetName()), "z");
    for (const char *name : {"y", "x"}) {
        ASSERT_EQ(a->GetNextAttribute(&attribute), S_OK);
        EXPECT_EQ(Take(Attribute(attribute)->GetName()), name);
    }
    for (int i = 0; i < 2; ++i) {
        attribute = kUntouchedAttribute;
        EXPECT_EQ(a->GetNextAttribute(&attribute), E_FAIL);
        EXPECT_EQ(attribute, kUntouchedAttribute);
    }
    ASSERT_EQ(a->GetFirstAttribute(&attribute), S_OK) << "starts again";
    EXPECT_EQ(Take(Attribute(attribute)->GetName()), "z");
    EXPECT_THAT(log.errors(), IsEmpty());
}

TEST_F(NodeTest, NextAttributeOfAFreshObjectIsTheFirst) {
    Document doc = Load("<a first=\"1\" second=\"2\"/>");
    Node a = Root(doc.get());
    IKivXmlAttribute *attribute = nullptr;
    ASSERT_EQ(a->GetNextAttribute(&attribute), S_OK);
    EXPECT_EQ(Take(Attribute(attribute)->GetName()), "first");
}

// Removing an attribute moves the later ones down; the cursor stays.
TEST_F(NodeTest, RemovalDuringAttributeEnumerationSkipsOne) {
    Document doc = Load("<a p=\"1\" q=\"2\" r=\"3\"/>");
    Node a = Root(doc.get());
    IKivXmlAttribute *attribute = nullptr;
    ASSERT_EQ(a->GetFirstAttribute(&attribute), S_OK);
    Attribute(attribute).reset();
    ASSERT_EQ(a->RemoveAttribute(u"p"), S_OK);
    ASSERT_EQ(a->GetNextAttribute(&attribute), S_OK);
    EXPECT_EQ(Take(Attribute(attribute)->GetName()), "r");
}

struct AtCase {
    const char *name;
    LONG index;
    HRESULT hr;
    bool untouched;  // *ppAttribute left as it was (else NULL or an object)
    const char *attribute;
};

class AttributeAtTest : public NodeTest, public ::testing::WithParamInterface<AtCase> {};

TEST_P(AttributeAtTest, ByPosition) {
    const AtCase &c = GetParam();
    Document doc = Load("<a one=\"1\" two=\"2\"/>");
    Node a = Root(doc.get());
    IKivXmlAttribute *attribute = kUntouchedAttribute;
    EXPECT_EQ(a->GetAttributeAt(c.index, &attribute), c.hr);
    EXPECT_EQ(a->isOK(), c.hr);
    if (c.untouched) {
        EXPECT_EQ(attribute, kUntouchedAttribute);
    } else if (!c.attribute) {
        EXPECT_EQ(attribute, nullptr);
    } else {
        ASSERT_NE(attribute, nullptr);
        EXPECT_EQ(Take(Attribute(attribute)->GetName()), c.attribute);
    }
    EXPECT_THAT(log.errors(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Indexes, AttributeAtTest,
                         ::testing::Values(AtCase{"First", 0, S_OK, false, "one"},
                                           AtCase{"Last", 1, S_OK, false, "two"},
                                           AtCase{"Count", 2, E_FAIL, true, nullptr},
                                           AtCase{"Largest", INT32_MAX, E_FAIL, true, nullptr},
                                           AtCase{"Negative", -1, E_FAIL, false, nullptr},
                                           AtCase{"Smallest", INT32_MIN, E_FAIL, false, nullptr}),
                         [](const auto &info) { return std::string(info.param.name); });

// An attribute in a namespace is reached by position under its local name.
TEST_F(NodeTest, PrefixedAttributeByPosition) {
    Document doc = Load("<a xmlns:p=\"urn:p\" p:k=\"v\"/>");
    Node a = Root(doc.get());
    IKivXmlAttribute *attribute = nullptr;
    ASSERT_EQ(a->GetAttributeAt(0, &attribute), S_OK);
    Attribute k(attribute);
    EXPECT_EQ(Take(k->GetName()), "k");
    EXPECT_EQ(ValueOf(k.get()), "v");
}

TEST_F(NodeTest, GetAttributeByName) {
    Document doc = Load("<a k=\"v\" caf\u00e9=\"\u20ac\"/>");
    Node a = Root(doc.get());
    EXPECT_EQ(ValueOf(AttributeOf(a.get(), u"caf\u00e9").get()), "\u20ac");
    Attribute first = AttributeOf(a.get(), u"k");
    Attribute second = AttributeOf(a.get(), u"k");
    EXPECT_NE(first.get(), second.get()) << "two requests, two objects";
    EXPECT_EQ(first->SetStringValue(u"changed"), S_OK);
    EXPECT_EQ(ValueOf(second.get()), "changed");
    log.clear();

    IKivXmlAttribute *attribute = kUntouchedAttribute;
    EXPECT_EQ(a->GetAttribute(u"nope", &attribute), E_FAIL);
    EXPECT_EQ(attribute, nullptr);
    EXPECT_EQ(a->isOK(), E_FAIL);
    EXPECT_THAT(log.errors(), ElementsAre("CKivXmlAttribute::CKivXmlAttribute(xmlDocPtr XMLDoc,xmlNodePtr pNode,"
                                          "LPCTSTR strAttrName) Attribute nope Not found",
                                          kInvalidAttribute));
}

TEST_F(NodeTest, AddAttribute) {
    Document doc = Load("<a one=\"1\" two=\"2\"/>");
    Node a = Root(doc.get());
    IKivXmlAttribute *attribute = nullptr;
    ASSERT_EQ(a->AddAttribute(u"three", &attribute), S_OK);
    EXPECT_EQ(ValueOf(Attribute(attribute).get()), " ");
    // An existing attribute gets the blank in its own place.
    ASSERT_EQ(a->AddAttribute(u"one", &attribute), S_OK);
    Attribute one(attribute);
    EXPECT_EQ(a->isOK(), S_OK);
    EXPECT_THAT(AttributesOf(a.get()), ElementsAre("one= ", "two=2", "three= "));
    EXPECT_THAT(log.errors(), IsEmpty());
#if defined(ORVANE_EDITION_X86)
    EXPECT_EQ(Serialised(doc.get()), "<?xml version=\"1.0\"?>\n<a one=\" \" two=\"2\" three=\" \"/>\n");
#endif
}

TEST_F(NodeTest, RemoveAttribute) {
    Document doc = Load("<a k=\"v\" l=\"w\"/>");
    Node a = Root(doc.get());
    Attribute held = AttributeOf(a.get(), u"k");
    EXPECT_EQ(a->RemoveAttribute(u"k"), S_OK);
    EXPECT_EQ(a->isOK(), S_OK);
    EXPECT_THAT(AttributesOf(a.get()), ElementsAre("l=w"));
    EXPECT_EQ(Take(held->GetName()), "k") << "a held object still answers";
    log.clear();

    EXPECT_EQ(a->RemoveAttribute(u"k"), E_FAIL);
    EXPECT_EQ(a->isOK(), E_FAIL);
    EXPECT_THAT(log.errors(), ElementsAre("CKivXmlNode::RemoveAttribute(...) xmlUnsetProp FAILED"));
}

TEST_F(NodeTest, AttributeTracesNest) {
    Document doc = Load("<a k=\"v\"/>");
    Node a = Root(doc.get());
    log.clear();
    IKivXmlAttribute *attribute = nullptr;
    a->GetFirstAttribute(&attribute);
    Attribute(attribute).reset();
    a->GetNextAttribute(&attribute);
    a->GetAttribute(u"k", &attribute);
    Attribute(attribute).reset();
    a->AddAttribute(u"n", &attribute);
    Attribute(attribute).reset();
    a->RemoveAttribute(u"n");
    if (edition::kTracesOperations) {
        EXPECT_THAT(log.traces(),
                    ElementsAre("> CKivXmlNode::GetFirstAttribute(IKivXmlAttribute **ppAttribute)",
                                "> CKivXmlNode::GetAttributeAt(LONG lIndex=0,IKivXmlAttribute **ppAttribute)",
                                "> CKivXmlNode::GetAttributeCount(void)", "< 1", "< 0", "< 0",
                                "> CKivXmlNode::GetNextAttribute(IKivXmlAttribute **ppAttribute) EXIT -> return "
                                "(GetAttributeAt(m_lAttrIndex++,ppAttribute))",
                                "> CKivXmlNode::GetAttributeAt(LONG lIndex=1,IKivXmlAttribute **ppAttribute)",
                                "> CKivXmlNode::GetAttributeCount(void)", "< 1", "< -2147467259", "< -2147467259",
                                "> CKivXmlNode::GetAttribute(LPCTSTR pstrName=k,IKivXmlAttribute **ppAttribute)", "< 0",
                                "> CKivXmlNode::AddAttribute(LPCTSTR pstrName=n,IKivXmlAttribute **ppAttribute)", "< 0",
                                "> CKivXmlNode::RemoveAttribute(LPCWSTR pstrName=n)", "< 0"));
    } else {
        EXPECT_THAT(log.traces(), IsEmpty());
    }
}

}  // namespace
