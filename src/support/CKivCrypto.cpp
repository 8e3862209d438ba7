// The facility's algorithms and ciphertext layout (see CKivCrypto.h), over
// the platform's primitives.
#include "CKivCrypto.h"

#include <cstring>
#include <vector>

#include "CryptoPrimitives.h"

namespace {

const crypto::AesKey &KeyOf(KIV_HCRYPTO hCrypto) { return *static_cast<const crypto::AesKey *>(hCrypto); }

}  // namespace

int CKivCrypto::CryptoDeriveKey(LPCWSTR pszPassword, KIV_KEYTYPE iKeyType, BYTE *pKey, BYTE *, DWORD) {
    if (!pszPassword || !pKey || iKeyType != KIV_KEYTYPE_FILE_NAME) return FALSE;
    std::vector<BYTE> password;
    for (LPCWSTR p = pszPassword; *p; ++p) {
        password.push_back(static_cast<BYTE>(*p & 0xFF));
        password.push_back(static_cast<BYTE>(*p >> 8));
    }
    return crypto::Pbkdf2HmacSha256(password.data(), password.size(), reinterpret_cast<const BYTE *>(kSalt),
                                    sizeof kSalt - 1, kIterations, pKey, kKeyBytes);
}

KIV_HCRYPTO CKivCrypto::CryptoCreate(KIV_ENCRYPTION iAlgorithm, const BYTE *pKey, DWORD dwKeyBits) {
    if (iAlgorithm != KIV_ENCRYPTION_AES128_GCM || !pKey || dwKeyBits != kKeyBytes * 8) return nullptr;
    return crypto::NewAes128Key(pKey).release();
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
    if (!crypto::RandomBytes(pNonce, kNonceBytes)) return FALSE;
    return crypto::Aes128Gcm(KeyOf(hCrypto), true, pNonce, pSource, pBody, dwLength, pBody + dwLength);
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
    if (!crypto::Aes128Gcm(KeyOf(hCrypto), false, abNonce, pOut, pOut, dwPlain, abTag)) {
        crypto::Cleanse(pOut, dwPlain);
        return FALSE;
    }
    if (pdwPlain) *pdwPlain = dwPlain;
    return TRUE;
}

int CKivCrypto::CryptoDestroy(KIV_HCRYPTO hCrypto) {
    crypto::AesKeyHandle(static_cast<crypto::AesKey *>(hCrypto));
    return TRUE;
}
