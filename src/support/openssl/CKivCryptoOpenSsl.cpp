// CKivCrypto over OpenSSL's libcrypto.
#include "support/CKivCrypto.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

namespace {

struct CryptoContext {
    BYTE abKey[CKivCrypto::kKeyBytes];
    ~CryptoContext() { OPENSSL_cleanse(abKey, sizeof abKey); }
};

struct CipherContextFree {
    void operator()(EVP_CIPHER_CTX *ctx) const { EVP_CIPHER_CTX_free(ctx); }
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree>;

// Runs AES-128-GCM over dwLength bytes from pIn to pOut (which may be the
// same buffer). Encrypting writes the tag; decrypting checks it.
bool RunGcm(const CryptoContext &context, bool bEncrypt, const BYTE *pNonce, const BYTE *pIn, BYTE *pOut,
            DWORD dwLength, BYTE *pTag) {
    CipherContext ctx(EVP_CIPHER_CTX_new());
    int n = 0;
    if (!ctx) return false;
    if (EVP_CipherInit_ex(ctx.get(), EVP_aes_128_gcm(), nullptr, context.abKey, pNonce, bEncrypt ? 1 : 0) != 1)
        return false;
    if (dwLength > 0 && EVP_CipherUpdate(ctx.get(), pOut, &n, pIn, static_cast<int>(dwLength)) != 1) return false;
    if (!bEncrypt && EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_TAG, CKivCrypto::kTagBytes, pTag) != 1)
        return false;
    if (EVP_CipherFinal_ex(ctx.get(), pOut + n, &n) != 1) return false;
    return !bEncrypt || EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_GET_TAG, CKivCrypto::kTagBytes, pTag) == 1;
}

}  // namespace

int CKivCrypto::CryptoDeriveKey(LPCWSTR pszPassword, KIV_KEYTYPE iKeyType, BYTE *pKey, BYTE *, DWORD) {
    if (!pszPassword || !pKey || iKeyType != KIV_KEYTYPE_FILE_NAME) return FALSE;
    std::vector<unsigned char> password;
    for (LPCWSTR p = pszPassword; *p; ++p) {
        password.push_back(static_cast<unsigned char>(*p & 0xFF));
        password.push_back(static_cast<unsigned char>(*p >> 8));
    }
    return PKCS5_PBKDF2_HMAC(reinterpret_cast<const char *>(password.data()), static_cast<int>(password.size()),
                             reinterpret_cast<const unsigned char *>(kSalt), sizeof kSalt - 1, kIterations,
                             EVP_sha256(), kKeyBytes, pKey) == 1;
}

KIV_HCRYPTO CKivCrypto::CryptoCreate(KIV_ENCRYPTION iAlgorithm, const BYTE *pKey, DWORD dwKeyBits) {
    if (iAlgorithm != KIV_ENCRYPTION_AES128_GCM || !pKey || dwKeyBits != kKeyBytes * 8) return nullptr;
    auto *context = new (std::nothrow) CryptoContext;
    if (context) std::memcpy(context->abKey, pKey, kKeyBytes);
    return context;
}

DWORD CKivCrypto::GetDestinationBufferSize(KIV_HCRYPTO hCrypto, DWORD dwPlain) {
    if (!hCrypto || dwPlain > 0xFFFFFFFFu - kOverhead || dwPlain > 0x7FFFFFFFu) return 0;
    return dwPlain + kOverhead;
}

int CKivCrypto::CryptoEncryptData(KIV_HCRYPTO hCrypto, const BYTE *pSource, BYTE *pDest, DWORD dwLength) {
    if (!hCrypto || !pDest || (!pSource && dwLength) || GetDestinationBufferSize(hCrypto, dwLength) == 0)
        return FALSE;
    BYTE *pNonce = pDest;
    BYTE *pBody = pDest + kNonceBytes;
    if (RAND_bytes(pNonce, kNonceBytes) != 1) return FALSE;
    return RunGcm(*static_cast<CryptoContext *>(hCrypto), true, pNonce, pSource, pBody, dwLength,
                  pBody + dwLength);
}

int CKivCrypto::CryptoDecryptData(KIV_HCRYPTO hCrypto, BYTE *pSource, DWORD dwLength, BYTE *pDest,
                                  DWORD *pdwPlain) {
    if (!hCrypto || !pSource || dwLength < kOverhead) return FALSE;
    const DWORD dwPlain = dwLength - kOverhead;
    BYTE abNonce[kNonceBytes];
    BYTE abTag[kTagBytes];
    std::memcpy(abNonce, pSource, kNonceBytes);
    std::memcpy(abTag, pSource + kNonceBytes + dwPlain, kTagBytes);
    // In place: move the body to the front so input and output coincide.
    BYTE *pOut = pDest ? pDest : pSource;
    std::memmove(pOut, pSource + kNonceBytes, dwPlain);
    if (!RunGcm(*static_cast<CryptoContext *>(hCrypto), false, abNonce, pOut, pOut, dwPlain, abTag)) {
        OPENSSL_cleanse(pOut, dwPlain);
        return FALSE;
    }
    if (pdwPlain) *pdwPlain = dwPlain;
    return TRUE;
}

int CKivCrypto::CryptoDestroy(KIV_HCRYPTO hCrypto) {
    delete static_cast<CryptoContext *>(hCrypto);
    return TRUE;
}
