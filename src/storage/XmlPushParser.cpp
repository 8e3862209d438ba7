#include "XmlPushParser.h"

namespace {

// libxml2 copies each chunk into its own input buffer: small chunks keep
// that copy small.
constexpr size_t kChunk = 64 * 1024;

}  // namespace

XmlPushParser::XmlPushParser() : m_context(xmlCreatePushParserCtxt(nullptr, nullptr, nullptr, 0, nullptr)) {
    if (!m_context) return;
    SilenceParser(m_context.get());
    xmlCtxtUseOptions(m_context.get(), kParseOptions);
}

// The context does not own the tree it builds: a tree that was never handed
// out goes here.
XmlPushParser::~XmlPushParser() {
    if (m_context && m_context->myDoc) {
        xmlFreeDoc(m_context->myDoc);
        m_context->myDoc = nullptr;
    }
}

bool XmlPushParser::Accept(const BYTE *pBytes, size_t nCount) {
    while (nCount > 0 && IsWellFormed()) {
        const size_t nChunk = nCount < kChunk ? nCount : kChunk;
        xmlParseChunk(m_context.get(), reinterpret_cast<const char *>(pBytes), static_cast<int>(nChunk), 0);
        pBytes += nChunk;
        nCount -= nChunk;
    }
    return IsWellFormed();
}

XmlDocHandle XmlPushParser::Finish() {
    if (!m_context) return nullptr;
    if (IsWellFormed()) xmlParseChunk(m_context.get(), nullptr, 0, 1);
    XmlDocHandle doc(m_context->myDoc);
    m_context->myDoc = nullptr;
    if (!IsWellFormed()) doc.reset();
    return doc;
}
