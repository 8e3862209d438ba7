// The cryptographic primitives that CKivCrypto is built on, one
// implementation per platform: OpenSSL's libcrypto (openssl/) and Windows
// CNG (win32/). CKivCrypto.cpp fixes how they are combined, so both give the
// same bytes.
//
// The header uses only standard types, so that the Windows implementation
// can include windows.h beside it.
#ifndef ORVANE_CRYPTOPRIMITIVES_H
#define ORVANE_CRYPTOPRIMITIVES_H

#include <cstddef>
#include <cstdint>
#include <memory>

namespace crypto {

// An AES-128 key ready for GCM.
class AesKey;
struct AesKeyDelete {
    void operator()(AesKey *pKey) const;
};
using AesKeyHandle = std::unique_ptr<AesKey, AesKeyDelete>;

// A key from 16 bytes; null on failure.
AesKeyHandle NewAes128Key(const std::uint8_t *pKey);

// AES-128-GCM with a 12-byte nonce and no additional data, over nLength
// bytes from pIn to pOut (which may be the same buffer). Encrypting writes
// the 16-byte tag to pTag; decrypting checks it and fails on a mismatch.
bool Aes128Gcm(const AesKey &key, bool bEncrypt, const std::uint8_t *pNonce, const std::uint8_t *pIn,
               std::uint8_t *pOut, std::uint32_t nLength, std::uint8_t *pTag);

// PBKDF2 with HMAC-SHA-256.
bool Pbkdf2HmacSha256(const std::uint8_t *pPassword, std::size_t nPassword, const std::uint8_t *pSalt,
                      std::size_t nSalt, std::uint32_t nIterations, std::uint8_t *pOut, std::size_t nOut);

// Bytes from the system's cryptographic random generator.
bool RandomBytes(std::uint8_t *pOut, std::size_t nOut);

// Overwrites memory in a way the compiler does not drop.
void Cleanse(void *p, std::size_t n);

}  // namespace crypto

#endif
