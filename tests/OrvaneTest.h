// Test harness: a fixture that captures the library's log, owning handles
// for the objects and strings the interfaces hand out, and text helpers.
#ifndef ORVANE_TEST_ORVANETEST_H
#define ORVANE_TEST_ORVANETEST_H

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <orvane/KivXml.h>

#include "text/TextConversion.h"

// UTF-8 of a wide string, for readable assertions.
inline std::string U8(const char16_t *psz) { return psz ? Utf16ToUtf8String(psz) : std::string("<null>"); }

// UTF-16 of a UTF-8 literal.
inline std::u16string U16(const std::string &utf8) {
    CKivString wide;
    Utf8ToWide(utf8.c_str(), wide);
    return std::u16string(wide.GetString(), wide.GetLength());
}

struct ReleaseObject {
    template <typename T>
    void operator()(T *p) const { p->Release(); }
};
using Document = std::unique_ptr<IKivXml, ReleaseObject>;
using Node = std::unique_ptr<IKivXmlNode, ReleaseObject>;
using Attribute = std::unique_ptr<IKivXmlAttribute, ReleaseObject>;

struct FreeBstr {
    void operator()(BSTR b) const { SysFreeString(b); }
};
using Bstr = std::unique_ptr<char16_t, FreeBstr>;

// The text of a returned string, freeing it; "<null>" for NULL.
inline std::string Take(BSTR b) {
    Bstr owned(b);
    return U8(owned.get());
}

// Installs a log sink for the test's lifetime and collects every message.
class LogCapture {
public:
    struct Entry {
        int kind;
        std::string text;
    };

    LogCapture() { KivLogSetSink(&LogCapture::Collect, this); }
    ~LogCapture() { KivLogSetSink(nullptr, nullptr); }

    std::vector<std::string> errors() const { return Texts(0); }
    // Entry traces as "> text", exit traces as "< text", in order.
    std::vector<std::string> traces() const {
        std::vector<std::string> out;
        for (const Entry &e : m_entries) {
            if (e.kind != 0) out.push_back((e.kind == 1 ? "> " : "< ") + e.text);
        }
        return out;
    }
    void clear() { m_entries.clear(); }

private:
    static void Collect(void *context, int kind, const char16_t *text) {
        static_cast<LogCapture *>(context)->m_entries.push_back({kind, U8(text)});
    }
    std::vector<std::string> Texts(int kind) const {
        std::vector<std::string> out;
        for (const Entry &e : m_entries) {
            if (e.kind == kind) out.push_back(e.text);
        }
        return out;
    }
    std::vector<Entry> m_entries;
};

class OrvaneTest : public ::testing::Test {
protected:
    static Document NewDocument() { return Document(GetLibXmlInterface()); }

    // A document loaded from UTF-8 text; the load's log is cleared.
    Document Load(const std::string &xml) {
        Document doc = NewDocument();
        EXPECT_EQ(doc->LoadFromText(U16(xml).c_str()), S_OK);
        log.clear();
        return doc;
    }

    LogCapture log;
};

#endif
