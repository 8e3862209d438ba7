// Finding elements from the document (GetRootNode, GetNode) and what a node
// object is: its identity by XPath, name and path.
#include <libxml/tree.h>

#include "NodeTest.h"
#include "node/CKivXmlNode.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char *kGetNodeInvalid = "CKivXml::GetNode(...) FAILED pNode->isOK()=FALSE Invalid return node";

const std::string kCatalog =
    "<catalog id=\"c1\"><book id=\"b1\"><title>A</title></book><book id=\"b2\"><title>B</title></book>"
    "<x:item xmlns:x=\"urn:x\"/><note>n</note></catalog>";

struct PathCase {
    const char *name;
    std::u16string path;
    std::string found;  // GetXPath of the node handed out; empty: none
    std::vector<std::string> errors;
};

class GetNodePathTest : public NodeTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(GetNodePathTest, FindsTheFirstElementOrNothing) {
    const PathCase &c = GetParam();
    Document doc = Load(kCatalog);
    IKivXmlNode *node = kUntouchedNode;
    HRESULT hr = doc->GetNode(c.path.c_str(), &node);
    Node owned(hr == S_OK ? node : nullptr);
    if (c.found.empty()) {
        EXPECT_EQ(hr, E_FAIL);
        EXPECT_EQ(node, nullptr);
    } else {
        ASSERT_EQ(hr, S_OK);
        EXPECT_EQ(PathOf(node), c.found);
        EXPECT_EQ(node->isOK(), S_OK);
    }
    EXPECT_EQ(log.errors(), c.errors);
}

std::string NotFound(const std::string &path) {
    return "CKivXmlNode::CKivXmlNode(xmlDocPtr XMLDoc,LPCWSTR pstrNodePath) Node " + path + " Not Found";
}

INSTANTIATE_TEST_SUITE_P(
    Paths, GetNodePathTest,
    ::testing::Values(
        PathCase{"Absolute", u"/catalog/book", "/catalog/book[1]", {}},
        PathCase{"RelativeReadFromTheDocument", u"catalog/book", "/catalog/book[1]", {}},
        PathCase{"Root", u"/catalog", "/catalog", {}}, PathCase{"RootWithoutSlash", u"catalog", "/catalog", {}},
        PathCase{"FirstInDocumentOrder", u"//book", "/catalog/book[1]", {}},
        PathCase{"DescendantsInDocumentOrder", u"//title", "/catalog/book[1]/title", {}},
        PathCase{"Position", u"/catalog/book[2]/title", "/catalog/book[2]/title", {}},
        PathCase{"Predicate", u"//book[@id='b2']", "/catalog/book[2]", {}},
        PathCase{"UnionPassesOverAttributes", u"/catalog/@id | //note", "/catalog/note", {}},
        PathCase{"PrefixedElementByPosition", u"/catalog/*[3]", "/catalog/x:item", {}},
        // Read as /book: the root is not book.
        PathCase{"RelativeNotNamingTheRoot", u"book", "", {kGetNodeInvalid}},
        PathCase{"NoMatch", u"/catalog/missing", "", {kGetNodeInvalid}},
        PathCase{"Attribute", u"/catalog/@id", "", {kGetNodeInvalid}},
        PathCase{"TextNodes", u"//title/text()", "", {kGetNodeInvalid}},
        // "" becomes "/", the document node, which is no element.
        PathCase{"Empty", u"", "", {kGetNodeInvalid}},
        PathCase{"NotXPath", u"catalog[", "", {NotFound("catalog["), kGetNodeInvalid}},
        PathCase{"UnknownPrefix", u"/catalog/x:item", "", {NotFound("/catalog/x:item"), kGetNodeInvalid}},
        PathCase{"Boolean", u"/catalog/note = 'n'", "", {NotFound("/catalog/note = 'n'"), kGetNodeInvalid}},
        PathCase{"Number", u"/catalog/book[1]/@id * 2", "", {NotFound("/catalog/book[1]/@id * 2"), kGetNodeInvalid}}),
    [](const auto &info) { return std::string(info.param.name); });

struct RefusedCase {
    const char *name;
    bool open;
    const char16_t *path;
    HRESULT hr;
    const char *error;
};

class GetNodeRefusedTest : public NodeTest, public ::testing::WithParamInterface<RefusedCase> {};

// Refused before any node object is made: *ppNode stays as the caller set it.
TEST_P(GetNodeRefusedTest, LeavesTheOutParameter) {
    const RefusedCase &c = GetParam();
    Document doc = c.open ? Load("<a/>") : NewDocument();
    IKivXmlNode *node = kUntouchedNode;
    EXPECT_EQ(doc->GetNode(c.path, &node), c.hr);
    EXPECT_EQ(node, kUntouchedNode);
    EXPECT_THAT(log.errors(), ElementsAre(c.error));
}

INSTANTIATE_TEST_SUITE_P(
    Checks, GetNodeRefusedTest,
    ::testing::Values(
        RefusedCase{"NullPathOpen", true, nullptr, E_POINTER, "CKivXml::GetNode(...) pstrNodePath=NULL"},
        RefusedCase{"NullPathClosed", false, nullptr, E_POINTER, "CKivXml::GetNode(...) pstrNodePath=NULL"},
        RefusedCase{"BackslashOpen", true, u"/a\\b", E_INVALIDARG, "CKivXml::GetNode(...) Invalid XPath Expression"},
        // The backslash test comes before the test for an open document.
        RefusedCase{"BackslashClosed", false, u"\\", E_INVALIDARG, "CKivXml::GetNode(...) Invalid XPath Expression"},
        RefusedCase{"Closed", false, u"/a", E_HANDLE, "CKivXml::GetNode(...) m_bOpen=FALSE No document open ?"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(NodeTest, NullOutParameterIsRefused) {
    Document doc = Load("<a/>");
    EXPECT_EQ(doc->GetNode(u"/a", nullptr), E_POINTER);
    EXPECT_EQ(doc->GetRootNode(nullptr), E_POINTER);
    EXPECT_THAT(log.errors(),
                ElementsAre("CKivXml::GetNode(...) ppNode=NULL", "CKivXml::GetRootNode(...) ppNode=NULL"));
}

TEST_F(NodeTest, GetRootNodeNeedsAnOpenDocument) {
    Document doc = NewDocument();
    IKivXmlNode *node = kUntouchedNode;
    EXPECT_EQ(doc->GetRootNode(&node), E_HANDLE);
    EXPECT_EQ(node, kUntouchedNode);
    // A failed load closes the document again.
    EXPECT_EQ(doc->LoadFromText(u"<broken"), E_INVALIDARG);
    EXPECT_EQ(doc->GetRootNode(&node), E_HANDLE);
    EXPECT_THAT(log.errors(), ElementsAre("CKivXml::GetRootNode(...) m_bOpen=FALSE No document open ?",
                                          "CKivXml::LoadFromText Invalid XML buffer xmlParseMemory FAILED",
                                          "CKivXml::GetRootNode(...) m_bOpen=FALSE No document open ?"));
}

// Two requests for one element give two objects with their own cursors and
// stored results, which see each other's changes at once.
TEST_F(NodeTest, ObjectsForOneElementAreIndependent) {
    Document doc = Load("<r><a/><b/></r>");
    Node first = Root(doc.get());
    Node second = NodeAt(doc.get(), u"/r");
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.get(), second.get());

    IKivXmlNode *child = nullptr;
    ASSERT_EQ(first->GetFirstChild(&child), S_OK);
    Node(child).reset();
    ASSERT_EQ(second->GetNextChild(&child), S_OK);
    EXPECT_EQ(NameOf(Node(child).get()), "a") << "the second object's cursor is its own";
    EXPECT_EQ(first->GetChildAt(5, &child), E_INVALIDARG);
    EXPECT_EQ(first->isOK(), E_INVALIDARG);
    EXPECT_EQ(second->isOK(), S_OK);

    EXPECT_EQ(first->SetName(u"renamed"), S_OK);
    EXPECT_EQ(NameOf(second.get()), "renamed");
    EXPECT_THAT(log.errors(), IsEmpty());
}

// GetXPath gives libxml2's path; GetNode resolves it to the same element,
// also for repeated names and elements in a default namespace.
TEST_F(NodeTest, PathOfEveryElementLeadsBackToIt) {
    Document doc = Load(
        "<r><item>1</item><item>2</item><other/><item>3<item>3.1</item></item>"
        "<d xmlns=\"urn:d\"><e/></d><d xmlns=\"urn:d\"/></r>");
    const std::vector<std::pair<std::u16string, std::string>> elements = {
        {u"/r", "/r"},
        {u"/r/item[3]", "/r/item[3]"},
        {u"/r/item[3]/item", "/r/item[3]/item"},
        {u"/r/other", "/r/other"},
        {u"/r/*[5]", "/r/*[5]"},
        {u"/r/*[5]/*", "/r/*[5]/*"},
        {u"/r/*[6]", "/r/*[6]"},
    };
    for (const auto &[path, expected] : elements) {
        Node node = NodeAt(doc.get(), path.c_str());
        const std::string own = PathOf(node.get());
        EXPECT_EQ(own, expected);
        Node again = NodeAt(doc.get(), U16(own).c_str());
        EXPECT_EQ(PathOf(again.get()), expected);
    }
    // The third item's object made by position stands for that element.
    Node root = Root(doc.get());
    Node third = ChildAt(root.get(), 3);
    EXPECT_EQ(PathOf(third.get()), "/r/item[3]");
    EXPECT_EQ(TextOf(third.get()), "3");
    EXPECT_THAT(log.errors(), IsEmpty());
}

TEST_F(NodeTest, NameIsTheLocalName) {
    Document doc = Load("<r xmlns:a=\"urn:a\"><a:item/><caf\u00e9/></r>");
    Node root = Root(doc.get());
    EXPECT_EQ(NameOf(root.get()), "r");
    EXPECT_EQ(NameOf(ChildAt(root.get(), 1).get()), "caf\u00e9");
    // The prefixed element cannot be made into an object by position (its
    // path is not evaluable) but by a path that avoids the prefix.
    Node item = NodeAt(doc.get(), u"/r/*[1]");
    EXPECT_EQ(NameOf(item.get()), "item");
    EXPECT_EQ(PathOf(item.get()), "/r/a:item");
    EXPECT_EQ(item->isOK(), S_OK);
}

TEST_F(NodeTest, SetNameRenamesWithoutStoringOrTracing) {
    Document doc = Load("<r><old>t</old></r>");
    Node node = NodeAt(doc.get(), u"/r/old");
    IKivXmlNode *child = nullptr;
    ASSERT_EQ(node->GetChildAt(0, &child), E_INVALIDARG);
    log.clear();

    EXPECT_EQ(node->SetName(nullptr), E_INVALIDARG);
    EXPECT_EQ(node->isOK(), E_INVALIDARG) << "SetName stores nothing";
    EXPECT_EQ(node->SetName(u"n\u00e9w"), S_OK);
    EXPECT_EQ(node->isOK(), E_INVALIDARG);
    EXPECT_THAT(log.errors(), ElementsAre("CKivXmlNode::SetName pstrNewName=NULL"));
    EXPECT_THAT(log.traces(), IsEmpty());

    EXPECT_EQ(NameOf(node.get()), "n\u00e9w");
    EXPECT_EQ(PathOf(node.get()), "/r/n\u00e9w");
    EXPECT_EQ(TextOf(NodeAt(doc.get(), u"/r/n\u00e9w").get()), "t");
}

// A name that is no XPath name test (given through SetName) makes every
// later lookup of the element by its path fail; nothing breaks, and objects
// already held for it keep working.
TEST_F(NodeTest, UnevaluableNameMakesLookupsFailCleanly) {
    Document doc = Load("<r><a k=\"v\">t<c/></a><b/></r>");
    Node root = Root(doc.get());
    Node held = ChildAt(root.get(), 0);
    ASSERT_EQ(held->SetName(u"x:y"), S_OK);
    log.clear();

    IKivXmlNode *node = kUntouchedNode;
    EXPECT_EQ(root->GetChildAt(0, &node), E_FAIL);
    EXPECT_EQ(node, nullptr);
    EXPECT_EQ(held->GetChildAt(0, &node), E_FAIL) << "a descendant's path holds the name too";
    EXPECT_EQ(root->RemoveChild(0), E_INVALIDARG);
    IKivXmlAttribute *attribute = kUntouchedAttribute;
    EXPECT_EQ(held->GetAttribute(u"k", &attribute), E_FAIL);
    EXPECT_EQ(attribute, nullptr);
    EXPECT_EQ(doc->GetNode(u"/r/x:y", &node), E_FAIL);
    EXPECT_THAT(log.errors(),
                ElementsAre("CKivXmlNode::GetChildAt(...) FAILED pNode->isOK()=FALSE Invalid return node",
                            "CKivXmlNode::GetChildAt(...) FAILED pNode->isOK()=FALSE Invalid return node",
                            "CKivXmlNode::RemoveChild(...) Child not found",
                            "CKivXmlAttribute::CKivXmlAttribute(xmlDocPtr XMLDoc,xmlNodePtr pNode,LPCTSTR strAttrName) "
                            "Node Not found",
                            "CKivXmlNode::GetAttribute(...) FAILED pAttr->isOK()=FALSE Invalid return Attribute",
                            NotFound("/r/x:y"), kGetNodeInvalid));

    EXPECT_EQ(NameOf(held.get()), "x:y");
    EXPECT_EQ(PathOf(held.get()), "/r/x:y");
    EXPECT_EQ(TextOf(held.get()), "t");
    EXPECT_EQ(held->SetText(u"u"), S_OK);
    EXPECT_EQ(held->GetChildCount(), 1);
    EXPECT_EQ(root->GetChildCount(), 2) << "the element was not removed";
    EXPECT_EQ(NameOf(ChildAt(root.get(), 1).get()), "b");
    ASSERT_EQ(held->SetName(u"a"), S_OK);
    EXPECT_EQ(ValueOf(AttributeOf(held.get(), u"k").get()), "v") << "renamed back, it is found again";
}

TEST_F(NodeTest, ReleasingANodeLeavesTheElement) {
    Document doc = Load("<r><a>text</a></r>");
    NodeAt(doc.get(), u"/r/a").reset();
    Root(doc.get()).reset();
    EXPECT_EQ(TextOf(NodeAt(doc.get(), u"/r/a").get()), "text");
#if defined(ORVANE_EDITION_X86)
    EXPECT_EQ(Serialised(doc.get()), "<?xml version=\"1.0\"?>\n<r><a>text</a></r>\n");
#endif
}

TEST_F(NodeTest, LookupTraces) {
    Document doc = Load("<r><a/></r>");
    IKivXmlNode *node = nullptr;
    doc->GetRootNode(&node);
    Node root(node);
    doc->GetNode(u"/r/missing", &node);
    doc->GetNode(nullptr, &node);
    NameOf(root.get());
    PathOf(root.get());
    root->SetName(u"r");
    root->isOK();
    if (edition::kTracesOperations) {
        EXPECT_THAT(
            log.traces(),
            ElementsAre("> CKivXml::GetRootNode(IKivXmlNode **ppNode)", "< 0",
                        "> CKivXml::GetNode(LPCWSTR pstrNodePath = /r/missing, IKivXmlNode **ppNode)", "< -2147467259",
                        "> CKivXml::GetNode(LPCWSTR pstrNodePath = (null), IKivXmlNode **ppNode)", "< -2147467261",
                        "> CKivXmlNode::GetName(void)", "> CKivXmlNode::GetXPath(void)"));
    } else {
        EXPECT_THAT(log.traces(), IsEmpty());
    }
}

// Paths the interface cannot produce: a document without a root element,
// and an element constructor given no element.
TEST_F(NodeTest, ConstructorsWithoutAnElementAreInvalid) {
    XmlDocHandle empty(xmlNewDoc(reinterpret_cast<const xmlChar *>("1.0")));
    IKivXmlNode *node = kUntouchedNode;
    EXPECT_EQ(CKivXmlNode::HandOut(new CKivXmlNode(empty.get()), &node, u"Creator"), E_FAIL);
    EXPECT_EQ(node, nullptr);
    EXPECT_EQ(CKivXmlNode::HandOut(new CKivXmlNode(empty.get(), static_cast<xmlNodePtr>(nullptr)), &node, u"Creator"),
              E_FAIL);
    EXPECT_EQ(CKivXmlNode::HandOut(nullptr, &node, u"Creator"), E_FAIL);
    EXPECT_THAT(log.errors(), ElementsAre("CKivXmlNode::CKivXmlNode(xmlDocPtr XMLDoc) xmlDocGetRootElement return NULL",
                                          "Creator(...) FAILED pNode->isOK()=FALSE Invalid return node",
                                          "Creator(...) FAILED pNode->isOK()=FALSE Invalid return node",
                                          "Creator(...) FAILED create new CKivXmlNode pNode=NULL"));
}

}  // namespace
