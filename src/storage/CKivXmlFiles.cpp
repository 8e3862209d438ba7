// Loading and saving documents as files: plain XML (possibly gzip), or a
// container of a 36-byte header and a compressed, encrypted, or compressed
// and encrypted payload.
//
// Nothing of a document reaches the disk except the file that is saved:
// payloads are decompressed and decrypted in memory, and every save builds
// its bytes in memory and replaces the target as a whole, so a failed save
// leaves the previous file as it was.
#include <cstring>
#include <new>
#include <utility>

#include "document/CKivXml.h"
#include "storage/AtomicFileWriter.h"
#include "storage/ByteBuffer.h"
#include "storage/GzipDeflater.h"
#include "storage/XmlStreamReader.h"
#include "support/CKivLog.h"
#include "support/Edition.h"
#include "support/Trace.h"

namespace {

using namespace kernel32;

constexpr const char16_t *kFileParseFailed = u"CKivXml::LoadFile Invalid File or FileName xmlParseFile FAILED";
constexpr const char16_t *kPayloadParseFailed = u"CKivXml::LoadFile Invalid XML buffer xmlParseMemory FAILED";
constexpr const char16_t *kPlainSaveFailed = u"CKivXml::SaveFile xmlSaveFormatFile FAILED FileName=%s";
constexpr const char16_t *kCreateFailed = u"CKivXml::SaveFile CreateFile FAILED FileName=%s";
constexpr const char16_t *kWriteFailed = u"CKivXml::SaveFile CKivFile Write FAILED";
constexpr const char16_t *kTooLarge = u"CKivXml::SaveFile FAILED size exceeds 4 GiB FileName=%s";

constexpr int kCompressionLevel = 9;
constexpr DWORD kReadBlock = 64 * 1024;
constexpr BYTE kGzipMagic[2] = {0x1F, 0x8B};

// Files are read shared, so a file another reader holds, or a read-only
// one, still loads.
bool OpenForReading(CKivFile &file, LPCWSTR pstrPath) {
    return file.Attach(pstrPath) &&
           file.Open(GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A plain file is gzip when it starts as one, as libxml2's file reader
// decides. The file position goes back to the start.
bool StartsAsGzip(CKivFile &file) {
    BYTE abStart[sizeof kGzipMagic];
    const bool bGzip = file.Read(abStart, sizeof abStart) && std::memcmp(abStart, kGzipMagic, sizeof abStart) == 0;
    file.SeekSimple(0, FILE_BEGIN);
    return bGzip;
}

// Sends the whole file to sink, a block at a time.
bool StreamFile(CKivFile &file, ByteSink &sink) {
    LONGLONG llLeft = file.GetFileSize();
    ByteBuffer block;
    if (llLeft < 0 || !block.Allocate(kReadBlock)) return false;
    while (llLeft > 0) {
        const DWORD dwCount = llLeft < kReadBlock ? static_cast<DWORD>(llLeft) : kReadBlock;
        if (!file.Read(block.get(), dwCount) || !sink.Accept(block.get(), dwCount)) return false;
        llLeft -= dwCount;
    }
    return true;
}

// The document serialised as DumpDocInMemory gives it (format 0, in the
// document's declared encoding): the bytes libxml2 writes to a file.
struct SerialisedDocument {
    explicit SerialisedDocument(xmlDoc *pDoc) {
        xmlChar *pBytes = nullptr;
        xmlDocDumpFormatMemory(pDoc, &pBytes, &iSize, 0);
        bytes.reset(pBytes);
    }
    const BYTE *get() const { return bytes.get(); }
    size_t size() const { return iSize > 0 ? static_cast<size_t>(iSize) : 0; }

    XmlText bytes;
    int iSize = 0;
};

bool FitsHeaderField(size_t nCount) { return nCount <= 0xFFFFFFFFu; }

}  // namespace

// ---------------------------------------------------------------- loading

HRESULT ORVANE_CALL CKivXml::LoadFile(LPCWSTR pstrXMLFile) {
    Trace trace(u"CKivXml::LoadFile pstrXMLFile=%s", pstrXMLFile);
    if (!pstrXMLFile) return trace.Exit(Fail(E_INVALIDARG, u"CKivXml::LoadFile pstrXMLFile=NULL"));
    Close();
    CKivFile file;
    BYTE abMagic[sizeof kContainerMagic];
    const bool bProbed = OpenForReading(file, pstrXMLFile) && file.Read(abMagic, sizeof abMagic);
    if (!bProbed && !edition::kLoadsUnprobedFileAsPlain) return trace.Exit(E_FAIL);
    if (bProbed && std::memcmp(abMagic, kContainerMagic, sizeof abMagic) == 0)
        return trace.Exit(LoadContainer(file, pstrXMLFile));
    file.Close();
    return trace.Exit(LoadPlain(pstrXMLFile));
}

HRESULT CKivXml::LoadPlain(LPCWSTR pstrXMLFile) {
    CKivFile file;
    if (!OpenForReading(file, pstrXMLFile)) return Fail(E_INVALIDARG, kFileParseFailed);
    XmlStreamReader reader(StartsAsGzip(file));
    XmlDocHandle doc = StreamFile(file, reader) ? reader.Finish() : nullptr;
    if (!doc) return Fail(E_INVALIDARG, kFileParseFailed);
    return TakeDocument(std::move(doc), pstrXMLFile);
}

// A complete header replaces m_Header before the payload is looked at; the
// size it announces is checked against the file before anything is
// allocated.
HRESULT CKivXml::LoadContainer(CKivFile &file, LPCWSTR pstrXMLFile) {
    XML_FILE_HEADER header;
    if (!file.SeekSimple(0, FILE_BEGIN) || !file.Read(&header, sizeof header)) return E_FAIL;
    m_Header = header;
    if (!m_Header.dwEncrypted && !m_Header.dwCompressed) return E_FAIL;
    const DWORD dwPayload = m_Header.dwEncrypted ? m_Header.dwCipherSize : m_Header.dwCompressedSize;
    if (dwPayload > file.GetFileSize() - static_cast<LONGLONG>(sizeof header)) return E_FAIL;
    ByteBuffer payload;
    if (!payload.Allocate(dwPayload) || !file.Read(payload.get(), dwPayload)) return E_FAIL;
    file.Close();
    if (m_Header.dwEncrypted) return LoadEncrypted(pstrXMLFile, payload);
    return LoadCompressed(pstrXMLFile, payload);
}

// Decrypts the payload in place with the key of the file's name; the first
// dwPlainSize bytes are the XML or gzip file. The compression setting stays.
HRESULT CKivXml::LoadEncrypted(LPCWSTR pstrXMLFile, ByteBuffer &payload) {
    if (FAILED(SetCryptoFor(pstrXMLFile))) return E_FAIL;
    DWORD dwDecrypted = 0;
    if (!m_Crypto.CryptoDecryptData(m_hCrypto.get(), payload.get(), static_cast<DWORD>(payload.size()), nullptr,
                                    &dwDecrypted))
        return E_FAIL;
    if (m_Header.dwPlainSize > dwDecrypted) return E_FAIL;
    XmlDocHandle doc = XmlStreamReader::Read(m_Header.dwCompressed != 0, payload.get(), m_Header.dwPlainSize);
    if (!doc) return Fail(E_INVALIDARG, kPayloadParseFailed);
    return TakeDocument(std::move(doc), pstrXMLFile);
}

// A compressed-only container switches the compression setting on.
HRESULT CKivXml::LoadCompressed(LPCWSTR pstrXMLFile, const ByteBuffer &payload) {
    XmlDocHandle doc = XmlStreamReader::Read(true, payload.get(), payload.size());
    if (!doc) return Fail(E_INVALIDARG, kPayloadParseFailed);
    m_bCompression = static_cast<BOOL>(m_Header.dwCompressed);
    return TakeDocument(std::move(doc), pstrXMLFile);
}

HRESULT CKivXml::TakeDocument(XmlDocHandle doc, LPCWSTR pstrXMLFile) {
    m_pXMLDoc = std::move(doc);
    m_strFileName = pstrXMLFile;
    m_bOpen = TRUE;
    return S_OK;
}

// ----------------------------------------------------------------- saving

HRESULT ORVANE_CALL CKivXml::SaveFile(LPCWSTR pstrXMLFile) {
    Trace trace(u"CKivXml::SaveFile(LPCWSTR pstrXMLFile = %s)", pstrXMLFile);
    if (!m_bOpen) return trace.Exit(Fail(E_HANDLE, u"CKivXml::SaveFile m_bOpen=FALSE No File Open ?"));
    const CKivPathString strTarget(pstrXMLFile ? pstrXMLFile : m_strFileName.GetString());
    if (!m_Header.dwEncrypted) return trace.Exit(m_bCompression ? SaveCompressed(strTarget) : SavePlain(strTarget));
    return trace.Exit(m_bCompression ? SaveCompressedEncrypted(strTarget) : SaveEncrypted(strTarget));
}

// The XML file libxml2 would write: gzip when the document's compression
// level is set (read from gzip, or saved compressed before).
HRESULT CKivXml::SavePlain(const CKivPathString &strTarget) {
    const SerialisedDocument xml(m_pXMLDoc.get());
    const int iLevel = xmlGetDocCompressMode(m_pXMLDoc.get());
    ByteBuffer gzip;
    if (!xml.bytes || (iLevel > 0 && !GzipDeflater::Compress(xml.get(), xml.size(), iLevel, gzip)))
        return Fail(E_FAIL, kPlainSaveFailed, strTarget.GetString());
    const BYTE *pBytes = iLevel > 0 ? gzip.get() : xml.get();
    const size_t nBytes = iLevel > 0 ? gzip.size() : xml.size();
    AtomicFileWriter file(strTarget);
    if (!file.Create() || !file.Write(pBytes, nBytes) || !file.Flush() || !file.ReplaceTarget())
        return Fail(E_FAIL, kPlainSaveFailed, strTarget.GetString());
    return S_OK;
}

// Header and gzip file; every failure is E_FAIL without a message, except a
// size the header cannot hold.
HRESULT CKivXml::SaveCompressed(const CKivPathString &strTarget) {
    ByteBuffer gzip;
    DWORD dwSerialised = 0;
    const HRESULT hr = CompressDocument(strTarget, gzip, dwSerialised);
    if (FAILED(hr)) return hr;
    const DWORD dwGzip = static_cast<DWORD>(gzip.size());
    SetContainerFields(1, 0, dwGzip, dwGzip, 0, 0);
    AtomicFileWriter file(strTarget);
    if (!file.Create() || !file.Write(&m_Header, sizeof m_Header) || !file.Write(gzip.get(), gzip.size()) ||
        !file.Flush() || !file.ReplaceTarget())
        return E_FAIL;
    return S_OK;
}

// Header and the ciphertext of the serialised document, which stays in
// m_pDumpBuffer, as the ciphertext stays in m_pCipher.
HRESULT CKivXml::SaveEncrypted(const CKivPathString &strTarget) {
    if (FAILED(SetCryptoFor(strTarget))) return E_FAIL;
    if (!DumpDocInMemory()) return E_FAIL;
    const DWORD dwSerialised = static_cast<DWORD>(m_iDumpSize);
    const HRESULT hr = Encrypt(strTarget, m_pDumpBuffer.get(), dwSerialised);
    if (FAILED(hr)) return hr;
    SetContainerFields(0, 1, 0, 0, m_dwCipherSize, dwSerialised);
    return WriteEncryptedContainer(strTarget);
}

// Header and the ciphertext of the gzip file.
HRESULT CKivXml::SaveCompressedEncrypted(const CKivPathString &strTarget) {
    ByteBuffer gzip;
    DWORD dwSerialised = 0;
    HRESULT hr = CompressDocument(strTarget, gzip, dwSerialised);
    if (FAILED(hr)) return hr;
    if (FAILED(SetCryptoFor(strTarget))) return E_FAIL;
    const DWORD dwGzip = static_cast<DWORD>(gzip.size());
    hr = Encrypt(strTarget, gzip.get(), dwGzip);
    if (FAILED(hr)) return hr;
    SetContainerFields(1, 1, dwGzip, dwSerialised, m_dwCipherSize, dwGzip);
    return WriteEncryptedContainer(strTarget);
}

// The gzip file of the serialised document at level 9, which the document
// keeps as its compression level, as libxml2's compressed save leaves it.
// dwSerialised is the size of the uncompressed serialisation.
HRESULT CKivXml::CompressDocument(const CKivPathString &strTarget, ByteBuffer &gzip, DWORD &dwSerialised) {
    xmlSetDocCompressMode(m_pXMLDoc.get(), kCompressionLevel);
    const SerialisedDocument xml(m_pXMLDoc.get());
    if (!xml.bytes || !GzipDeflater::Compress(xml.get(), xml.size(), kCompressionLevel, gzip)) return E_FAIL;
    if (!FitsHeaderField(xml.size()) || !FitsHeaderField(gzip.size()))
        return Fail(E_FAIL, kTooLarge, strTarget.GetString());
    dwSerialised = static_cast<DWORD>(xml.size());
    return S_OK;
}

// Encrypts into a new m_pCipher of the size the facility asks for.
HRESULT CKivXml::Encrypt(const CKivPathString &strTarget, const BYTE *pPlain, DWORD dwPlain) {
    const DWORD dwCipher = m_Crypto.GetDestinationBufferSize(m_hCrypto.get(), dwPlain);
    if (dwCipher == 0) return Fail(E_FAIL, kTooLarge, strTarget.GetString());
    m_pCipher.reset();
    m_dwCipherSize = 0;
    m_pCipher.reset(new (std::nothrow) BYTE[dwCipher]);
    if (!m_pCipher) return E_FAIL;
    m_dwCipherSize = dwCipher;
    if (!m_Crypto.CryptoEncryptData(m_hCrypto.get(), pPlain, m_pCipher.get(), dwPlain)) return E_FAIL;
    return S_OK;
}

// The flags and sizes of a container save; the magic too, and the header
// size as the document holds it.
void CKivXml::SetContainerFields(DWORD dwCompressed, DWORD dwEncrypted, DWORD dwCompressedSize, DWORD dwProbeSize,
                                 DWORD dwCipherSize, DWORD dwPlainSize) {
    std::memcpy(m_Header.abMagic, kContainerMagic, sizeof kContainerMagic);
    m_Header.dwCompressed = dwCompressed;
    m_Header.dwEncrypted = dwEncrypted;
    m_Header.dwCompressedSize = dwCompressedSize;
    m_Header.dwProbeSize = dwProbeSize;
    m_Header.dwCipherSize = dwCipherSize;
    m_Header.dwPlainSize = dwPlainSize;
}

// Header and m_pCipher, with the encrypted modes' reports: the new file
// cannot be made (or cannot take the target's place), a write fails.
HRESULT CKivXml::WriteEncryptedContainer(const CKivPathString &strTarget) {
    AtomicFileWriter file(strTarget);
    if (!file.Create()) return Fail(E_HANDLE, kCreateFailed, strTarget.GetString());
    if (!file.Write(&m_Header, sizeof m_Header)) return E_FAIL;
    if (!file.Write(m_pCipher.get(), m_dwCipherSize) || !file.Flush()) return Fail(E_FAIL, kWriteFailed);
    if (!file.ReplaceTarget()) return Fail(E_HANDLE, kCreateFailed, strTarget.GetString());
    return S_OK;
}
