// libxml2's push parser: a document fed block by block, so the text is never
// held in full beside the tree it becomes. Parses with the library's options
// (blanks kept, no network) and reports nothing on the host's streams.
#ifndef ORVANE_XMLPUSHPARSER_H
#define ORVANE_XMLPUSHPARSER_H

#include "storage/ByteSink.h"
#include "support/LibXml.h"

class XmlPushParser final : public ByteSink {
public:
    XmlPushParser();
    ~XmlPushParser();
    XmlPushParser(const XmlPushParser &) = delete;
    XmlPushParser &operator=(const XmlPushParser &) = delete;

    // False as soon as the bytes cannot be a well-formed document.
    bool Accept(const BYTE *pBytes, size_t nCount) override;
    // Ends the input. The document, or NULL when the bytes were not one.
    XmlDocHandle Finish();

private:
    bool IsWellFormed() const { return m_context && m_context->wellFormed; }

    ParserContextHandle m_context;
};

#endif
