// Reads a document from the bytes of an XML file, or of a gzip file holding
// one, as they arrive: gzip is decompressed in memory and streamed into the
// parser, so neither the compressed nor the plain text needs a file.
#ifndef ORVANE_XMLSTREAMREADER_H
#define ORVANE_XMLSTREAMREADER_H

#include "storage/GzipInflater.h"
#include "storage/XmlPushParser.h"

class XmlStreamReader final : public ByteSink {
public:
    explicit XmlStreamReader(bool bGzip) : m_bGzip(bGzip), m_inflater(m_parser) {}

    bool Accept(const BYTE *pBytes, size_t nCount) override {
        return m_bGzip ? m_inflater.Accept(pBytes, nCount) : m_parser.Accept(pBytes, nCount);
    }
    // The document, or NULL when the bytes did not hold one. A document read
    // from gzip keeps compression level 9, as libxml2 marks a document it
    // read from a gzip file, so a plain save writes it compressed again.
    XmlDocHandle Finish();

    // The document held in a block of bytes.
    static XmlDocHandle Read(bool bGzip, const BYTE *pBytes, size_t nCount);

private:
    bool m_bGzip;
    XmlPushParser m_parser;
    GzipInflater m_inflater;
};

#endif
