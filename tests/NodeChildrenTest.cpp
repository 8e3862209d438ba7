// Child elements: counting, reaching by position, enumerating, adding and
// removing.
#include "NodeTest.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Text, a comment and a processing instruction take no index.
const std::string kMixed = "<p>text<b/><!--c--><?pi x?><c/>tail</p>";

struct IndexCase {
    const char *name;
    LONG index;
    HRESULT hr;
    const char *child;  // nullptr: none handed out
};

class ChildIndexTest : public NodeTest, public ::testing::WithParamInterface<IndexCase> {};

TEST_P(ChildIndexTest, CountsElementsOnly) {
    const IndexCase &c = GetParam();
    Document doc = Load(kMixed);
    Node p = Root(doc.get());
    EXPECT_EQ(p->GetChildCount(), 2);
    IKivXmlNode *child = kUntouchedNode;
    EXPECT_EQ(p->GetChildAt(c.index, &child), c.hr);
    Node owned(c.hr == S_OK ? child : nullptr);
    if (c.child) {
        EXPECT_EQ(NameOf(child), c.child);
    } else {
        EXPECT_EQ(child, nullptr);
    }
    EXPECT_EQ(p->isOK(), c.hr);
    EXPECT_THAT(log.errors(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Indexes, ChildIndexTest,
                         ::testing::Values(IndexCase{"First", 0, S_OK, "b"}, IndexCase{"Second", 1, S_OK, "c"},
                                           IndexCase{"PastTheEnd", 2, E_INVALIDARG, nullptr},
                                           IndexCase{"Largest", INT32_MAX, E_INVALIDARG, nullptr},
                                           IndexCase{"Negative", -1, E_FAIL, nullptr},
                                           IndexCase{"Smallest", INT32_MIN, E_FAIL, nullptr}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(NodeTest, EnumerationRunsPastTheEndQuietly) {
    Document doc = Load(kMixed);
    Node p = Root(doc.get());
    IKivXmlNode *child = nullptr;
    ASSERT_EQ(p->GetFirstChild(&child), S_OK);
    EXPECT_EQ(NameOf(Node(child).get()), "b");
    ASSERT_EQ(p->GetNextChild(&child), S_OK);
    EXPECT_EQ(NameOf(Node(child).get()), "c");
    for (int i = 0; i < 3; ++i) {
        child = kUntouchedNode;
        EXPECT_EQ(p->GetNextChild(&child), E_INVALIDARG);
        EXPECT_EQ(child, nullptr);
        EXPECT_EQ(p->isOK(), E_INVALIDARG);
    }
    ASSERT_EQ(p->GetFirstChild(&child), S_OK) << "GetFirstChild starts again";
    EXPECT_EQ(NameOf(Node(child).get()), "b");
    EXPECT_THAT(log.errors(), IsEmpty());
}

TEST_F(NodeTest, NextChildOfAFreshObjectIsTheFirst) {
    Document doc = Load(kMixed);
    Node p = Root(doc.get());
    IKivXmlNode *child = nullptr;
    ASSERT_EQ(p->GetNextChild(&child), S_OK);
    EXPECT_EQ(NameOf(Node(child).get()), "b");
}

TEST_F(NodeTest, ElementWithoutElementChildren) {
    Document doc = Load("<p>only text</p>");
    Node p = Root(doc.get());
    IKivXmlNode *child = kUntouchedNode;
    EXPECT_EQ(p->GetChildCount(), 0);
    EXPECT_EQ(p->GetFirstChild(&child), E_INVALIDARG);
    EXPECT_EQ(child, nullptr);
    EXPECT_THAT(log.errors(), IsEmpty());
}

// The cursor is not adjusted: the element that moves into the removed one's
// place is passed over.
TEST_F(NodeTest, RemovalDuringEnumerationSkipsOne) {
    Document doc = Load("<p><b/><c/><d/></p>");
    Node p = Root(doc.get());
    IKivXmlNode *child = nullptr;
    ASSERT_EQ(p->GetFirstChild(&child), S_OK);
    Node(child).reset();
    EXPECT_EQ(p->RemoveChild(0), S_OK);
    ASSERT_EQ(p->GetNextChild(&child), S_OK);
    EXPECT_EQ(NameOf(Node(child).get()), "d");
    EXPECT_THAT(ChildNamesOf(p.get()), ElementsAre("c", "d"));
}

TEST_F(NodeTest, AddChildAppendsAndAddressesByPosition) {
    Document doc = Load("<r><item/>x<other/></r>");
    Node r = Root(doc.get());
    IKivXmlNode *added = nullptr;
    ASSERT_EQ(r->AddChild(u"item", &added), S_OK);
    Node first(added);
    EXPECT_EQ(r->isOK(), S_OK);
    EXPECT_EQ(r->GetChildCount(), 3);
    EXPECT_EQ(PathOf(first.get()), "/r/item[2]");
    EXPECT_EQ(PathOf(ChildAt(r.get(), 2).get()), "/r/item[2]");
    ASSERT_EQ(r->AddChild(u"item", &added), S_OK);
    Node second(added);
    EXPECT_EQ(PathOf(second.get()), "/r/item[3]");
    // Children of a new element are reached like any other.
    ASSERT_EQ(second->AddChild(u"caf\u00e9", &added), S_OK);
    EXPECT_EQ(PathOf(Node(added).get()), "/r/item[3]/caf\u00e9");
    EXPECT_THAT(log.errors(), IsEmpty());
#if defined(ORVANE_EDITION_X86)
    EXPECT_EQ(Serialised(doc.get()),
              "<?xml version=\"1.0\"?>\n<r><item/>x<other/><item/><item><caf\u00e9/></item></r>\n");
#endif
}

// The element is added whatever its name; a name whose path cannot be
// evaluated leaves the caller without an object for it.
TEST_F(NodeTest, AddChildWithUnevaluableNameKeepsTheElement) {
    Document doc = Load("<r/>");
    Node r = Root(doc.get());
    for (const char16_t *name : {u"x:item", u"two words"}) {
        IKivXmlNode *added = kUntouchedNode;
        EXPECT_EQ(r->AddChild(name, &added), E_FAIL);
        EXPECT_EQ(added, nullptr);
        EXPECT_EQ(r->isOK(), E_FAIL);
    }
    EXPECT_EQ(r->GetChildCount(), 2);
    EXPECT_THAT(log.errors(),
                ElementsAre("CKivXmlNode::CKivXmlNode(xmlDocPtr XMLDoc,xmlNodePtr pNode) Node /r/x:item Not found ",
                            "CKivXmlNode::AddChild(...) FAILED pNode->isOK()=FALSE Invalid return node",
                            "CKivXmlNode::CKivXmlNode(xmlDocPtr XMLDoc,xmlNodePtr pNode) Node /r/two words Not found ",
                            "CKivXmlNode::AddChild(...) FAILED pNode->isOK()=FALSE Invalid return node"));
#if defined(ORVANE_EDITION_X86)
    EXPECT_EQ(Serialised(doc.get()), "<?xml version=\"1.0\"?>\n<r><x:item/><two words/></r>\n");
#endif
}

TEST_F(NodeTest, PrefixedChildHasNoObject) {
    Document doc = Load("<r xmlns:x=\"urn:x\"><x:item/><plain/></r>");
    Node r = Root(doc.get());
    IKivXmlNode *child = kUntouchedNode;
    EXPECT_EQ(r->GetChildAt(0, &child), E_FAIL);
    EXPECT_EQ(child, nullptr);
    EXPECT_EQ(NameOf(ChildAt(r.get(), 1).get()), "plain");
    // Removal must not free what it cannot address.
    EXPECT_EQ(r->RemoveChild(0), E_INVALIDARG);
    EXPECT_EQ(r->isOK(), E_INVALIDARG);
    EXPECT_EQ(r->GetChildCount(), 2);
    EXPECT_THAT(log.errors(), ElementsAre("CKivXmlNode::GetChildAt(...) FAILED pNode->isOK()=FALSE Invalid return node",
                                          "CKivXmlNode::RemoveChild(...) Child not found"));
}

TEST_F(NodeTest, RemoveChildTakesTheWholeSubtree) {
    Document doc = Load("<r><a k=\"v\"><deep>t</deep></a><b/></r>");
    Node r = Root(doc.get());
    EXPECT_EQ(r->RemoveChild(0), S_OK);
    EXPECT_EQ(r->isOK(), S_OK);
    EXPECT_THAT(ChildNamesOf(r.get()), ElementsAre("b"));
    IKivXmlNode *node = nullptr;
    EXPECT_EQ(doc->GetNode(u"//deep", &node), E_FAIL);
#if defined(ORVANE_EDITION_X86)
    EXPECT_EQ(Serialised(doc.get()), "<?xml version=\"1.0\"?>\n<r><b/></r>\n");
#endif
}

struct RemoveCase {
    const char *name;
    LONG index;
};

class RemoveMissingChildTest : public NodeTest, public ::testing::WithParamInterface<RemoveCase> {};

TEST_P(RemoveMissingChildTest, LeavesTheTree) {
    Document doc = Load("<r><a/>t<b/></r>");
    Node r = Root(doc.get());
    EXPECT_EQ(r->RemoveChild(GetParam().index), E_INVALIDARG);
    EXPECT_EQ(r->isOK(), E_INVALIDARG);
    EXPECT_THAT(log.errors(), ElementsAre("CKivXmlNode::RemoveChild(...) Child not found"));
    EXPECT_THAT(ChildNamesOf(r.get()), ElementsAre("a", "b"));
}

INSTANTIATE_TEST_SUITE_P(Indexes, RemoveMissingChildTest,
                         ::testing::Values(RemoveCase{"Count", 2}, RemoveCase{"Negative", -1}),
                         [](const auto &info) { return std::string(info.param.name); });

// A child renamed "." has a path that designates its parent, "b[1]" one
// that designates a sibling: RemoveChild frees only the child it was asked
// for, or nothing.
TEST_F(NodeTest, RemoveChildNeverFreesAnotherElement) {
    Document doc = Load("<r><b/><c/><d/></r>");
    Node r = Root(doc.get());
    ASSERT_EQ(ChildAt(r.get(), 1)->SetName(u"b[1]"), S_OK);
    ASSERT_EQ(ChildAt(r.get(), 2)->SetName(u"."), S_OK);
    log.clear();
    EXPECT_EQ(r->RemoveChild(1), E_INVALIDARG);
    EXPECT_EQ(r->RemoveChild(2), E_INVALIDARG);
    EXPECT_THAT(log.errors(), ElementsAre("CKivXmlNode::RemoveChild(...) Child not found",
                                          "CKivXmlNode::RemoveChild(...) Child not found"));
    EXPECT_EQ(r->GetChildCount(), 3);
    EXPECT_EQ(NameOf(r.get()), "r");
    EXPECT_EQ(r->RemoveChild(0), S_OK);
    EXPECT_EQ(r->GetChildCount(), 2);
}

TEST_F(NodeTest, ChildTracesNest) {
    Document doc = Load("<r><a/></r>");
    Node r = Root(doc.get());
    log.clear();
    IKivXmlNode *child = nullptr;
    r->GetFirstChild(&child);
    Node(child).reset();
    r->GetNextChild(&child);
    r->RemoveChild(0);
    r->AddChild(u"n", &child);
    Node(child).reset();
    if (edition::kTracesOperations) {
        EXPECT_THAT(
            log.traces(),
            ElementsAre("> CKivXmlNode::GetFirstChild(IKivXmlNode **ppNode)",
                        "> CKivXmlNode::GetChildAt(LONG lIndex=0,IKivXmlNode **ppNode)",
                        "> CKivXmlNode::GetChildCount(void)", "< 1", "> CKivXmlNode::GetNode(xmlNodePtr Node)", "< 0",
                        "< 0", "> CKivXmlNode::GetNextChild(IKivXmlNode **ppNode)",
                        "> CKivXmlNode::GetChildAt(LONG lIndex=1,IKivXmlNode **ppNode)",
                        "> CKivXmlNode::GetChildCount(void)", "< 1", "< -2147024809", "< -2147024809",
                        "> CKivXmlNode::RemoveChild(LONG lIndex=0)",
                        "> CKivXmlNode::GetChildAt(LONG lIndex=0,CKivXmlNode **ppNode)",
                        "> CKivXmlNode::GetChildCount(void)", "< 1", "> CKivXmlNode::GetNode(xmlNodePtr Node)", "< 0",
                        "< 0", "> CKivXmlNode::AddChild(LPCWSTR pstrName = n, IKivXmlNode **ppNode)", "< 0"));
    } else {
        EXPECT_THAT(log.traces(), IsEmpty());
    }
}

}  // namespace
