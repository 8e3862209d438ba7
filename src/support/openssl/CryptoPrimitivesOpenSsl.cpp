// The cryptographic primitives over OpenSSL's libcrypto.
#include "support/CryptoPrimitives.h"

#include <cstring>
#include <new>

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

namespace crypto {

class AesKey {
public:
    explicit AesKey(const std::uint8_t *pKey) { std::memcpy(m_abKey, pKey, sizeof m_abKey); }
    ~AesKey() { OPENSSL_cleanse(m_abKey, sizeof m_abKey); }
    const std::uint8_t *bytes() const { return m_abKey; }

private:
    std::uint8_t m_abKey[16];
};

void AesKeyDelete::operator()(AesKey *pKey) const { delete pKey; }

namespace {

struct CipherContextFree {
    void operator()(EVP_CIPHER_CTX *ctx) const { EVP_CIPHER_CTX_free(ctx); }
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree>;

}  // namespace

AesKeyHandle NewAes128Key(const std::uint8_t *pKey) { return AesKeyHandle(new (std::nothrow) AesKey(pKey)); }

bool Aes128Gcm(const AesKey &key, bool bEncrypt, const std::uint8_t *pNonce, const std::uint8_t *pIn,
               std::uint8_t *pOut, std::uint32_t nLength, std::uint8_t *pTag) {
    constexpr int kTagBytes = 16;
    CipherContext ctx(EVP_CIPHER_CTX_new());
    int n = 0;
    if (!ctx) return false;
    if (EVP_CipherInit_ex(ctx.get(), EVP_aes_128_gcm(), nullptr, key.bytes(), pNonce, bEncrypt ? 1 : 0) != 1)
        return false;
    if (nLength > 0 && EVP_CipherUpdate(ctx.get(), pOut, &n, pIn, static_cast<int>(nLength)) != 1) return false;
    if (!bEncrypt && EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_TAG, kTagBytes, pTag) != 1) return false;
    if (EVP_CipherFinal_ex(ctx.get(), pOut + n, &n) != 1) return false;
    return !bEncrypt || EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_GET_TAG, kTagBytes, pTag) == 1;
}

bool Pbkdf2HmacSha256(const std::uint8_t *pPassword, std::size_t nPassword, const std::uint8_t *pSalt,
                      std::size_t nSalt, std::uint32_t nIterations, std::uint8_t *pOut, std::size_t nOut) {
    return PKCS5_PBKDF2_HMAC(reinterpret_cast<const char *>(pPassword), static_cast<int>(nPassword), pSalt,
                             static_cast<int>(nSalt), static_cast<int>(nIterations), EVP_sha256(),
                             static_cast<int>(nOut), pOut) == 1;
}

bool RandomBytes(std::uint8_t *pOut, std::size_t nOut) { return RAND_bytes(pOut, static_cast<int>(nOut)) == 1; }

void Cleanse(void *p, std::size_t n) { OPENSSL_cleanse(p, n); }

}  // namespace crypto
