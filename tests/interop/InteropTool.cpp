// One program, built for Linux and for Windows from this source, with which
// each build writes files that the other reads:
//   orvane_interop encrypt PLAIN CIPHER   encrypts PLAIN under the key of
//                                         CIPHER's file name
//   orvane_interop decrypt CIPHER PLAIN   the reverse
//   orvane_interop save compressed|encrypted|both XML CONTAINER
//                                         saves the UTF-8 document XML as a
//                                         container of that mode
//   orvane_interop load CONTAINER XML     loads a container, saves it plain
// The key comes from the file name, as for a container. Files go through the
// library's own file layer and its document interface, so on Windows every
// path reaches the system as UTF-16.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <orvane/KivXml.h>

#include "support/CKivCrypto.h"
#include "support/CKivFile.h"
#include "text/TextConversion.h"

namespace {

using Bytes = std::vector<BYTE>;

bool ReadAll(LPCWSTR pstrPath, Bytes &bytes) {
    CKivFile file(pstrPath);
    if (!file.Open(kernel32::GENERIC_READ, kernel32::FILE_SHARE_READ, nullptr, kernel32::OPEN_EXISTING,
                   kernel32::FILE_ATTRIBUTE_NORMAL, nullptr))
        return false;
    const LONGLONG llSize = file.GetFileSize();
    if (llSize < 0 || llSize > 0x7FFFFFFF) return false;
    bytes.resize(static_cast<size_t>(llSize));
    return bytes.empty() || file.Read(bytes.data(), static_cast<DWORD>(bytes.size()));
}

bool WriteAll(LPCWSTR pstrPath, const BYTE *pBytes, DWORD dwCount) {
    CKivFile file(pstrPath);
    return file.Open(kernel32::GENERIC_WRITE, 0, nullptr, kernel32::CREATE_ALWAYS, kernel32::FILE_ATTRIBUTE_NORMAL,
                     nullptr) &&
           (dwCount == 0 || file.Write(pBytes, dwCount));
}

// The crypto context for the key of a file's name, destroyed with the scope.
class FileKey {
public:
    FileKey(CKivCrypto &crypto, LPCWSTR pstrPath) : m_crypto(crypto) {
        BYTE abKey[CKivCrypto::kKeyBytes];
        const CKivPathString path(pstrPath);
        if (m_crypto.CryptoDeriveKey(path.FindFileName(), KIV_KEYTYPE_FILE_NAME, abKey, nullptr, 0))
            m_hCrypto = m_crypto.CryptoCreate(KIV_ENCRYPTION_AES128_GCM, abKey, CKivCrypto::kKeyBytes * 8);
    }
    ~FileKey() {
        if (m_hCrypto) m_crypto.CryptoDestroy(m_hCrypto);
    }
    FileKey(const FileKey &) = delete;
    FileKey &operator=(const FileKey &) = delete;
    KIV_HCRYPTO get() const { return m_hCrypto; }

private:
    CKivCrypto &m_crypto;
    KIV_HCRYPTO m_hCrypto = nullptr;
};

int Fail(const char *pszWhat, LPCWSTR pstrPath) {
    std::fprintf(stderr, "orvane_interop: %s %s\n", pszWhat, Utf16ToUtf8String(pstrPath).c_str());
    return 1;
}

int Encrypt(LPCWSTR pstrPlain, LPCWSTR pstrCipher) {
    CKivCrypto crypto;
    Bytes plain;
    if (!ReadAll(pstrPlain, plain)) return Fail("cannot read", pstrPlain);
    FileKey key(crypto, pstrCipher);
    const DWORD dwSize = static_cast<DWORD>(plain.size());
    Bytes cipher(crypto.GetDestinationBufferSize(key.get(), dwSize));
    if (!key.get() || cipher.empty() || !crypto.CryptoEncryptData(key.get(), plain.data(), cipher.data(), dwSize))
        return Fail("cannot encrypt for", pstrCipher);
    if (!WriteAll(pstrCipher, cipher.data(), static_cast<DWORD>(cipher.size()))) return Fail("cannot write", pstrCipher);
    std::printf("encrypted %u bytes\n", static_cast<unsigned>(dwSize));
    return 0;
}

int Decrypt(LPCWSTR pstrCipher, LPCWSTR pstrPlain) {
    CKivCrypto crypto;
    Bytes bytes;
    if (!ReadAll(pstrCipher, bytes)) return Fail("cannot read", pstrCipher);
    FileKey key(crypto, pstrCipher);
    DWORD dwPlain = 0;
    if (!key.get() ||
        !crypto.CryptoDecryptData(key.get(), bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &dwPlain))
        return Fail("cannot decrypt", pstrCipher);
    if (!WriteAll(pstrPlain, bytes.data(), dwPlain)) return Fail("cannot write", pstrPlain);
    std::printf("decrypted %u bytes\n", static_cast<unsigned>(dwPlain));
    return 0;
}

struct ReleaseDocument {
    void operator()(IKivXml *pDoc) const { pDoc->Release(); }
};
using Document = std::unique_ptr<IKivXml, ReleaseDocument>;

int Save(const std::u16string &strMode, LPCWSTR pstrXml, LPCWSTR pstrContainer) {
    const BOOL bCompression = strMode == u"compressed" || strMode == u"both";
    const BOOL bEncryption = strMode == u"encrypted" || strMode == u"both";
    if (!bCompression && !bEncryption) return Fail("no such mode:", strMode.c_str());
    Bytes bytes;
    if (!ReadAll(pstrXml, bytes)) return Fail("cannot read", pstrXml);
    bytes.push_back(0);
    CKivString strText;
    Utf8ToWide(reinterpret_cast<const char *>(bytes.data()), strText);
    Document doc(GetLibXmlInterface());
    if (!doc || FAILED(doc->LoadFromText(strText))) return Fail("cannot parse", pstrXml);
    doc->SetCompression(bCompression);
    doc->SetEncryption(bEncryption);
    if (FAILED(doc->SaveFile(pstrContainer))) return Fail("cannot save", pstrContainer);
    std::printf("saved %s\n", Utf16ToUtf8String(strMode.c_str()).c_str());
    return 0;
}

int Load(LPCWSTR pstrContainer, LPCWSTR pstrXml) {
    Document doc(GetLibXmlInterface());
    if (!doc || FAILED(doc->LoadFile(pstrContainer))) return Fail("cannot load", pstrContainer);
    doc->SetEncryption(FALSE);
    doc->SetCompression(FALSE);
    if (FAILED(doc->SaveFile(pstrXml))) return Fail("cannot save", pstrXml);
    std::printf("loaded\n");
    return 0;
}

int Run(const std::vector<std::u16string> &args) {
    if (args.size() == 4 && args[1] == u"encrypt") return Encrypt(args[2].c_str(), args[3].c_str());
    if (args.size() == 4 && args[1] == u"decrypt") return Decrypt(args[2].c_str(), args[3].c_str());
    if (args.size() == 5 && args[1] == u"save") return Save(args[2], args[3].c_str(), args[4].c_str());
    if (args.size() == 4 && args[1] == u"load") return Load(args[2].c_str(), args[3].c_str());
    std::fprintf(stderr,
                 "usage: orvane_interop encrypt PLAIN CIPHER | decrypt CIPHER PLAIN\n"
                 "       orvane_interop save compressed|encrypted|both XML CONTAINER | load CONTAINER XML\n");
    return 2;
}

}  // namespace

// The arguments as UTF-16: Windows hands them over so (wmain), elsewhere
// they are UTF-8.
#if defined(_WIN32)
int wmain(int argc, wchar_t **argv) {
    std::vector<std::u16string> args;
    for (int i = 0; i < argc; ++i) args.emplace_back(reinterpret_cast<const char16_t *>(argv[i]));
    return Run(args);
}
#else
int main(int argc, char **argv) {
    std::vector<std::u16string> args;
    for (int i = 0; i < argc; ++i) {
        CKivString wide;
        Utf8ToWide(argv[i], wide);
        args.emplace_back(wide.GetString(), wide.GetLength());
    }
    return Run(args);
}
#endif
