#include "CKivXml.h"

#include <new>

#include "support/CKivLog.h"
#include "support/Trace.h"
#include "text/TextConversion.h"

void CKivXml::CryptoContext::reset(KIV_HCRYPTO hCrypto) {
    if (m_hCrypto) m_crypto.CryptoDestroy(m_hCrypto);
    m_hCrypto = hCrypto;
}

CKivXml::CKivXml() = default;

// Whatever is still held (tree, dump, key, context, ciphertext) is released
// by its owner; ReleaseCrypto runs first, as it does in Close.
CKivXml::~CKivXml() {
    m_pXMLDoc.reset();
    if (m_bCrypto) ReleaseCrypto();
}

void CKivXml::Close() {
    if (!m_bOpen) return;
    m_pXMLDoc.reset();
    if (m_bCrypto) ReleaseCrypto();
    m_pDumpBuffer.reset();
    m_strFileName.Empty();
    m_bOpen = FALSE;
}

void ORVANE_CALL CKivXml::Release() { delete this; }

HRESULT ORVANE_CALL CKivXml::LoadFromText(LPCWSTR pstrText) {
    Trace trace(u"CKivXml::LoadFromText pstrText=%s", pstrText);
    if (!pstrText) return trace.Exit(Fail(E_INVALIDARG, u"CKivXml::LoadFromText pstrText=NULL"));
    Close();
    Utf8Buffer utf8(pstrText);
    if (!utf8) return trace.Exit(Fail(E_OUTOFMEMORY, u"CKivXml::LoadFromText pstrText too large, out of memory"));
    m_pXMLDoc = ParseUtf8Text(utf8.get(), utf8.size());
    if (!m_pXMLDoc)
        return trace.Exit(Fail(E_INVALIDARG, u"CKivXml::LoadFromText Invalid XML buffer xmlParseMemory FAILED"));
    m_strFileName.Empty();
    m_bOpen = TRUE;
    return trace.Exit(S_OK);
}

BOOL ORVANE_CALL CKivXml::DumpDocInMemory() {
    Trace trace(u"CKivXml::DumpDocInMemory(void)");
    m_pDumpBuffer.reset();
    if (!m_bOpen) return trace.Exit(FALSE);
    xmlChar *pDump = nullptr;
    xmlDocDumpFormatMemory(m_pXMLDoc.get(), &pDump, &m_iDumpSize, 0);
    m_pDumpBuffer.reset(pDump);
    return trace.Exit(m_pDumpBuffer ? TRUE : FALSE);
}

#if defined(ORVANE_EDITION_X86)
HRESULT ORVANE_CALL CKivXml::GetDumpText(CKivString &strText) {
    Utf8ToWide(reinterpret_cast<const char *>(m_pDumpBuffer.get()), strText);
    return S_OK;
}
#endif

extern "C" ORVANE_API IKivXml *GetLibXmlInterface() {
    try {
        InitLibXml();
        return new CKivXml;
    } catch (...) {
        CKivLog::GetInstance()->AddError(u"CKivXml *xml=new CKivXml FAILED GetLibXmlInterface() return NULL");
        return nullptr;
    }
}
