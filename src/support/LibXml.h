// Owning handles for libxml2 objects, and the library's way of parsing and
// of evaluating XPath: quietly, never printing to the host's streams.
#ifndef ORVANE_LIBXML_H
#define ORVANE_LIBXML_H

#include <cstddef>
#include <memory>

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

struct XmlDocFree {
    void operator()(xmlDoc *pDoc) const { xmlFreeDoc(pDoc); }
};
struct XmlMemoryFree {
    void operator()(void *p) const { xmlFree(p); }
};
struct ParserContextFree {
    void operator()(xmlParserCtxt *pContext) const { xmlFreeParserCtxt(pContext); }
};
struct XPathContextFree {
    void operator()(xmlXPathContext *pContext) const { xmlXPathFreeContext(pContext); }
};
struct XPathObjectFree {
    void operator()(xmlXPathObject *pObject) const { xmlXPathFreeObject(pObject); }
};
struct XmlNodeFree {
    void operator()(xmlNode *pNode) const { xmlFreeNode(pNode); }
};

using XmlDocHandle = std::unique_ptr<xmlDoc, XmlDocFree>;
// Memory that libxml2 allocated: dumps, node paths, property values.
using XmlText = std::unique_ptr<xmlChar, XmlMemoryFree>;
using ParserContextHandle = std::unique_ptr<xmlParserCtxt, ParserContextFree>;
using XPathContextHandle = std::unique_ptr<xmlXPathContext, XPathContextFree>;
using XPathObjectHandle = std::unique_ptr<xmlXPathObject, XPathObjectFree>;
// A node outside the tree (not yet added, or unlinked): freed with all it
// holds.
using XmlNodeHandle = std::unique_ptr<xmlNode, XmlNodeFree>;

// Initialises libxml2 once per process. The library never calls libxml2's
// process-wide cleanup: other documents, threads or the host itself may
// still be using it.
void InitLibXml();

// Options of every parse: blanks kept, no network, no diagnostics.
inline constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

// A parser context that reports nothing on the host's streams.
ParserContextHandle NewParserContext();
// Makes a parser context (a push parser's, say) report nothing.
void SilenceParser(xmlParserCtxt *pContext);

// Parses an in-memory document: blanks kept, no network access, no
// diagnostics printed. encoding forces the bytes' encoding (NULL: as the
// document declares). NULL when the bytes are not a well-formed document.
XmlDocHandle ParseXmlMemory(const char *pBytes, size_t nSize, const char *pszEncoding, int iExtraOptions = 0);

// Parses UTF-8 that came from UTF-16 text. A declaration naming another
// encoding (ISO-8859-1, UTF-16...) would make libxml2 misread or refuse the
// bytes, so such a document is parsed again ignoring the declaration.
XmlDocHandle ParseUtf8Text(const char *pBytes, size_t nSize);

// An XPath context over pDoc whose errors are dropped instead of printed;
// no namespace prefixes registered, the document node as context node.
XPathContextHandle NewXPathContext(xmlDoc *pDoc);

#endif
