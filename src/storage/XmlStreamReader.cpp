#include "XmlStreamReader.h"

XmlDocHandle XmlStreamReader::Finish() {
    if (m_bGzip && !m_inflater.Finish()) return nullptr;
    XmlDocHandle doc = m_parser.Finish();
    if (doc && m_bGzip) xmlSetDocCompressMode(doc.get(), 9);
    return doc;
}

XmlDocHandle XmlStreamReader::Read(bool bGzip, const BYTE *pBytes, size_t nCount) {
    XmlStreamReader reader(bGzip);
    if (!reader.Accept(pBytes, nCount)) return nullptr;
    return reader.Finish();
}
