#include "LibXml.h"

#include <climits>

namespace {

void IgnoreError(void *, xmlErrorPtr) {}

bool IsUtf8Name(const char *pszName) {
    return xmlStrcasecmp(reinterpret_cast<const xmlChar *>(pszName), BAD_CAST "UTF-8") == 0 ||
           xmlStrcasecmp(reinterpret_cast<const xmlChar *>(pszName), BAD_CAST "UTF8") == 0;
}

}  // namespace

void InitLibXml() {
    static const bool bInitialised = [] {
        xmlInitParser();
        return true;
    }();
    (void)bInitialised;
}

ParserContextHandle NewParserContext() {
    ParserContextHandle context(xmlNewParserCtxt());
    if (context) SilenceParser(context.get());
    return context;
}

void SilenceParser(xmlParserCtxt *pContext) {
    // Parser errors go to the structured handler of a SAX2 context; without
    // one, some of them reach libxml2's generic handler, which prints.
    pContext->sax->serror = IgnoreError;
    pContext->sax->warning = nullptr;
    pContext->sax->error = nullptr;
    pContext->vctxt.error = nullptr;
    pContext->vctxt.warning = nullptr;
}

XmlDocHandle ParseXmlMemory(const char *pBytes, size_t nSize, const char *pszEncoding, int iExtraOptions) {
    if (!pBytes || nSize > static_cast<size_t>(INT_MAX)) return nullptr;
    ParserContextHandle context = NewParserContext();
    if (!context) return nullptr;
    return XmlDocHandle(
        xmlCtxtReadMemory(context.get(), pBytes, static_cast<int>(nSize), nullptr, pszEncoding, kParseOptions | iExtraOptions));
}

XmlDocHandle ParseUtf8Text(const char *pBytes, size_t nSize) {
    XmlDocHandle doc = ParseXmlMemory(pBytes, nSize, nullptr);
    if (doc && (!doc->encoding || IsUtf8Name(reinterpret_cast<const char *>(doc->encoding)))) return doc;
    return ParseXmlMemory(pBytes, nSize, nullptr, XML_PARSE_IGNORE_ENC);
}

XPathContextHandle NewXPathContext(xmlDoc *pDoc) {
    XPathContextHandle context(xmlXPathNewContext(pDoc));
    if (context) context->error = IgnoreError;
    return context;
}
