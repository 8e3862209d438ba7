// Helpers for tests that work on element nodes and attributes: fetching
// nodes and attributes the way a host does, reading them back as text, and
// the document's serialised form where the edition can show it.
#ifndef ORVANE_TEST_NODETEST_H
#define ORVANE_TEST_NODETEST_H

#include <cstdint>
#include <string>
#include <vector>

#include "OrvaneTest.h"
#include "support/Edition.h"

// Out-parameter value that an operation must leave as it is.
inline IKivXmlNode *const kUntouchedNode = reinterpret_cast<IKivXmlNode *>(0x10);
inline IKivXmlAttribute *const kUntouchedAttribute = reinterpret_cast<IKivXmlAttribute *>(0x10);

class NodeTest : public OrvaneTest {
protected:
    // The node for path; the test fails when there is none.
    static Node NodeAt(IKivXml *doc, const char16_t *path) {
        IKivXmlNode *node = nullptr;
        EXPECT_EQ(doc->GetNode(path, &node), S_OK) << U8(path);
        return Node(node);
    }
    static Node Root(IKivXml *doc) {
        IKivXmlNode *node = nullptr;
        EXPECT_EQ(doc->GetRootNode(&node), S_OK);
        return Node(node);
    }
    static Node ChildAt(IKivXmlNode *parent, LONG index) {
        IKivXmlNode *node = nullptr;
        EXPECT_EQ(parent->GetChildAt(index, &node), S_OK) << index;
        return Node(node);
    }
    static Attribute AttributeOf(IKivXmlNode *node, const char16_t *name) {
        IKivXmlAttribute *attribute = nullptr;
        EXPECT_EQ(node->GetAttribute(name, &attribute), S_OK) << U8(name);
        return Attribute(attribute);
    }

    static std::string NameOf(IKivXmlNode *node) { return node ? Take(node->GetName()) : "<no node>"; }
    static std::string PathOf(IKivXmlNode *node) { return node ? Take(node->GetXPath()) : "<no node>"; }
    static std::string TextOf(IKivXmlNode *node) { return Take(node->GetText()); }
    static std::string ValueOf(IKivXmlAttribute *attribute) { return Take(attribute->GetStringValue()); }

    // The element's attributes as name=value, in order.
    static std::vector<std::string> AttributesOf(IKivXmlNode *node) {
        std::vector<std::string> out;
        for (LONG i = 0; i < node->GetAttributeCount(); ++i) {
            IKivXmlAttribute *attribute = nullptr;
            if (node->GetAttributeAt(i, &attribute) != S_OK) break;
            Attribute owned(attribute);
            out.push_back(Take(owned->GetName()) + "=" + Take(owned->GetStringValue()));
        }
        return out;
    }
    // The names of the element children, in order.
    static std::vector<std::string> ChildNamesOf(IKivXmlNode *node) {
        std::vector<std::string> out;
        for (LONG i = 0; i < node->GetChildCount(); ++i) {
            IKivXmlNode *child = nullptr;
            out.push_back(node->GetChildAt(i, &child) == S_OK ? NameOf(Node(child).get()) : "<no object>");
        }
        return out;
    }

#if defined(ORVANE_EDITION_X86)
    // The document as the x86 edition serialises it (its dump slots).
    static std::string Serialised(IKivXml *doc) {
        CKivString text;
        EXPECT_TRUE(doc->DumpDocInMemory());
        doc->GetDumpText(text);
        return U8(text);
    }
#endif
};

#endif
