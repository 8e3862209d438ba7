// The document object: one parsed libxml2 document at a time, its file
// name, its container header and protection state.
#ifndef ORVANE_CKIVXML_H
#define ORVANE_CKIVXML_H

#include <memory>

#include <orvane/KivXml.h>

#include "storage/XmlFileHeader.h"
#include "support/CKivCrypto.h"
#include "support/LibXml.h"

class ByteBuffer;
class CKivFile;

class CKivXml final : public IKivXml {
public:
    CKivXml();

    HRESULT ORVANE_CALL LoadFile(LPCWSTR pstrXMLFile) override;
    HRESULT ORVANE_CALL LoadFromText(LPCWSTR pstrText) override;
    HRESULT ORVANE_CALL Create(LPCWSTR pstrXMLFile, LPCWSTR pstrRootName, IKivXmlNode **ppRootNode) override;
    HRESULT ORVANE_CALL SaveFile(LPCWSTR pstrXMLFile) override;
    HRESULT ORVANE_CALL GetNode(LPCWSTR pstrNodePath, IKivXmlNode **ppNode) override;
    HRESULT ORVANE_CALL GetRootNode(IKivXmlNode **ppNode) override;
    void ORVANE_CALL SetEncryption(BOOL bEncryption) override;
    void ORVANE_CALL SetCompression(BOOL bCompression) override;
    void ORVANE_CALL Release() override;
#if defined(ORVANE_EDITION_X86)
    BOOL ORVANE_CALL DumpDocInMemory() override;
    HRESULT ORVANE_CALL GetDumpText(CKivString &strText) override;
#else
    // The x64 edition keeps the dump for its own saves.
    BOOL DumpDocInMemory();
#endif

private:
    // Owns a crypto context and destroys it through the document's facility.
    class CryptoContext {
    public:
        explicit CryptoContext(CKivCrypto &crypto) : m_crypto(crypto) {}
        ~CryptoContext() { reset(); }
        CryptoContext(const CryptoContext &) = delete;
        CryptoContext &operator=(const CryptoContext &) = delete;
        KIV_HCRYPTO get() const { return m_hCrypto; }
        explicit operator bool() const { return m_hCrypto != nullptr; }
        void reset(KIV_HCRYPTO hCrypto = nullptr);

    private:
        CKivCrypto &m_crypto;
        KIV_HCRYPTO m_hCrypto = nullptr;
    };

    ~CKivXml();
    void Close();
    HRESULT SetCrypto(KIV_ENCRYPTION iCryptoAlgo, LPCWSTR pszPassword, KIV_KEYTYPE iKeyType);
    void ReleaseCrypto();
    // SetCrypto with the key of a container's file name.
    HRESULT SetCryptoFor(LPCWSTR pstrPath);

    // Loading (CKivXmlFiles.cpp).
    HRESULT LoadPlain(LPCWSTR pstrXMLFile);
    HRESULT LoadContainer(CKivFile &file, LPCWSTR pstrXMLFile);
    HRESULT LoadEncrypted(LPCWSTR pstrXMLFile, ByteBuffer &payload);
    HRESULT LoadCompressed(LPCWSTR pstrXMLFile, const ByteBuffer &payload);
    HRESULT TakeDocument(XmlDocHandle doc, LPCWSTR pstrXMLFile);

    // Saving (CKivXmlFiles.cpp).
    HRESULT SavePlain(const CKivPathString &strTarget);
    HRESULT SaveCompressed(const CKivPathString &strTarget);
    HRESULT SaveEncrypted(const CKivPathString &strTarget);
    HRESULT SaveCompressedEncrypted(const CKivPathString &strTarget);
    HRESULT CompressDocument(const CKivPathString &strTarget, ByteBuffer &gzip, DWORD &dwSerialised);
    HRESULT Encrypt(const CKivPathString &strTarget, const BYTE *pPlain, DWORD dwPlain);
    void SetContainerFields(DWORD dwCompressed, DWORD dwEncrypted, DWORD dwCompressedSize, DWORD dwProbeSize,
                            DWORD dwCipherSize, DWORD dwPlainSize);
    HRESULT WriteEncryptedContainer(const CKivPathString &strTarget);

    BOOL m_bOpen = FALSE;
    CKivString m_strFileName;
    XmlDocHandle m_pXMLDoc;
    std::unique_ptr<BYTE[]> m_pCipher;
    DWORD m_dwCipherSize = 0;
    int m_iDumpSize = 0;
    BOOL m_bCrypto = FALSE;
    BOOL m_bCompression = FALSE;
    XML_FILE_HEADER m_Header = InitialFileHeader();
    CKivCrypto m_Crypto;
    CryptoContext m_hCrypto{m_Crypto};
    std::unique_ptr<BYTE[]> m_pKey;
    CKivString m_strPassword;
    XmlText m_pDumpBuffer;
};

#endif
