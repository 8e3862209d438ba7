// The document's compression and encryption settings and its key state.
#include <new>

#include "document/CKivXml.h"
#include "support/CKivLog.h"
#include "support/Trace.h"

void ORVANE_CALL CKivXml::SetCompression(BOOL bCompression) {
    Trace trace(u"CKivXml::SetCompression(BOOL bCompression)");
    if (!m_bOpen) {
        Fail(E_HANDLE, u"CKivXml::SetCompression(...) m_bOpen=FALSE No File Open ?");
        return trace.Exit();
    }
    m_bCompression = bCompression;
    m_Header.dwCompressed = static_cast<DWORD>(bCompression);
    xmlSetDocCompressMode(m_pXMLDoc.get(), bCompression ? 9 : 0);
    trace.Exit();
}

void ORVANE_CALL CKivXml::SetEncryption(BOOL bEncryption) {
    Trace trace(u"CKivXml::SetEncryption(BOOL bEncryption)");
    if (!m_bOpen) {
        Fail(E_HANDLE, u"CKivXml::SetEncryption(...) m_bOpen=FALSE No File Open ?");
        return trace.Exit();
    }
    if (bEncryption) {
        m_Header.dwEncrypted = 1;
    } else if (m_bCrypto) {
        ReleaseCrypto();
        m_bCrypto = FALSE;
        m_Header.dwEncrypted = 0;
    }
    trace.Exit();
}

HRESULT CKivXml::SetCrypto(KIV_ENCRYPTION iCryptoAlgo, LPCWSTR pszPassword, KIV_KEYTYPE iKeyType) {
    Trace trace(u"CKivXml::SetCrypto(KIV_ENCRYPTION iCryptoAlgo=%d,LPCTSTR pszPassword=%s,KIV_KEYTYPE iKeyType=%d)",
                static_cast<int32_t>(iCryptoAlgo), pszPassword, static_cast<int32_t>(iKeyType));
    if (!pszPassword) return trace.Exit(Fail(E_INVALIDARG, u"CKivXml::SetCrypto(...) pszPassword=NULL"));
    m_hCrypto.reset();
    m_pKey.reset(new (std::nothrow) BYTE[CKivCrypto::kKeyBytes]());
    if (!m_pKey || !m_Crypto.CryptoDeriveKey(pszPassword, iKeyType, m_pKey.get(), nullptr, 0))
        return trace.Exit(Fail(E_FAIL, u"CKivXml::SetCrypto(...) CryptoDeriveKey FAILED "));
    m_hCrypto.reset(m_Crypto.CryptoCreate(iCryptoAlgo, m_pKey.get(), CKivCrypto::kKeyBytes * 8));
    if (!m_hCrypto) return trace.Exit(Fail(E_FAIL, u"CKivXml::SetCrypto(...) CryptoCreate FAILED "));
    m_strPassword = pszPassword;
    m_bCrypto = TRUE;
    return trace.Exit(S_OK);
}

void CKivXml::ReleaseCrypto() {
    m_pDumpBuffer.reset();
    m_pCipher.reset();
    m_dwCipherSize = 0;
    m_hCrypto.reset();
    m_pKey.reset();
}

// The key of a container is that of its file name, wherever the file lies.
HRESULT CKivXml::SetCryptoFor(LPCWSTR pstrPath) {
    const CKivPathString strPath(pstrPath);
    return SetCrypto(KIV_ENCRYPTION_AES128_GCM, strPath.FindFileName(), KIV_KEYTYPE_FILE_NAME);
}
