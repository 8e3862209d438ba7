// The cryptographic primitives over Windows CNG (bcrypt).
#include "support/CryptoPrimitives.h"

#include <new>
#include <type_traits>

#include <windows.h>
#include <bcrypt.h>

namespace crypto {

namespace {

struct AlgorithmClose {
    void operator()(BCRYPT_ALG_HANDLE hAlgorithm) const { BCryptCloseAlgorithmProvider(hAlgorithm, 0); }
};
struct KeyDestroy {
    void operator()(BCRYPT_KEY_HANDLE hKey) const { BCryptDestroyKey(hKey); }
};
using Algorithm = std::unique_ptr<std::remove_pointer_t<BCRYPT_ALG_HANDLE>, AlgorithmClose>;
using Key = std::unique_ptr<std::remove_pointer_t<BCRYPT_KEY_HANDLE>, KeyDestroy>;

Algorithm OpenAlgorithm(const wchar_t *pszAlgorithm, ULONG dwFlags) {
    BCRYPT_ALG_HANDLE hAlgorithm = nullptr;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&hAlgorithm, pszAlgorithm, nullptr, dwFlags))) return nullptr;
    return Algorithm(hAlgorithm);
}

// CNG takes its input buffers as non-const PUCHAR and does not write them.
PUCHAR Bytes(const void *p) { return static_cast<PUCHAR>(const_cast<void *>(p)); }

}  // namespace

// The AES provider in GCM mode and a key made in it; the provider outlives
// the key (members are destroyed in reverse order).
class AesKey {
public:
    Algorithm algorithm;
    Key key;
};

void AesKeyDelete::operator()(AesKey *pKey) const { delete pKey; }

AesKeyHandle NewAes128Key(const std::uint8_t *pKey) {
    AesKeyHandle aes(new (std::nothrow) AesKey);
    if (!aes) return nullptr;
    aes->algorithm = OpenAlgorithm(BCRYPT_AES_ALGORITHM, 0);
    if (!aes->algorithm) return nullptr;
    if (!BCRYPT_SUCCESS(BCryptSetProperty(aes->algorithm.get(), BCRYPT_CHAINING_MODE, Bytes(BCRYPT_CHAIN_MODE_GCM),
                                          sizeof(BCRYPT_CHAIN_MODE_GCM), 0)))
        return nullptr;
    BCRYPT_KEY_HANDLE hKey = nullptr;
    if (!BCRYPT_SUCCESS(BCryptGenerateSymmetricKey(aes->algorithm.get(), &hKey, nullptr, 0, Bytes(pKey), 16, 0)))
        return nullptr;
    aes->key.reset(hKey);
    return aes;
}

bool Aes128Gcm(const AesKey &key, bool bEncrypt, const std::uint8_t *pNonce, const std::uint8_t *pIn,
               std::uint8_t *pOut, std::uint32_t nLength, std::uint8_t *pTag) {
    BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO info;
    BCRYPT_INIT_AUTH_MODE_INFO(info);
    info.pbNonce = Bytes(pNonce);
    info.cbNonce = 12;
    info.pbTag = pTag;
    info.cbTag = 16;
    ULONG cbResult = 0;
    const NTSTATUS status =
        bEncrypt ? BCryptEncrypt(key.key.get(), Bytes(pIn), nLength, &info, nullptr, 0, pOut, nLength, &cbResult, 0)
                 : BCryptDecrypt(key.key.get(), Bytes(pIn), nLength, &info, nullptr, 0, pOut, nLength, &cbResult, 0);
    return BCRYPT_SUCCESS(status) && cbResult == nLength;
}

bool Pbkdf2HmacSha256(const std::uint8_t *pPassword, std::size_t nPassword, const std::uint8_t *pSalt,
                      std::size_t nSalt, std::uint32_t nIterations, std::uint8_t *pOut, std::size_t nOut) {
    Algorithm hmac = OpenAlgorithm(BCRYPT_SHA256_ALGORITHM, BCRYPT_ALG_HANDLE_HMAC_FLAG);
    if (!hmac) return false;
    return BCRYPT_SUCCESS(BCryptDeriveKeyPBKDF2(hmac.get(), Bytes(pPassword), static_cast<ULONG>(nPassword),
                                                Bytes(pSalt), static_cast<ULONG>(nSalt), nIterations, pOut,
                                                static_cast<ULONG>(nOut), 0));
}

bool RandomBytes(std::uint8_t *pOut, std::size_t nOut) {
    return BCRYPT_SUCCESS(BCryptGenRandom(nullptr, pOut, static_cast<ULONG>(nOut), BCRYPT_USE_SYSTEM_PREFERRED_RNG));
}

void Cleanse(void *p, std::size_t n) { SecureZeroMemory(p, n); }

}  // namespace crypto
