// The encryption facility.
//
// Algorithm 2 is AES-128-GCM. Key type 4 derives the 16-byte key from a
// password (a container's file name): PBKDF2-HMAC-SHA-256 over the
// password's UTF-16LE bytes, salt "Orvane container key", 1000 iterations.
// The file name is no secret: the key keeps casual readers out, not anyone
// who has this library.
//
// Ciphertext of N plain bytes: a random 12-byte nonce, the N encrypted
// bytes, the 16-byte tag; M = N + 28.
#ifndef ORVANE_CKIVCRYPTO_H
#define ORVANE_CKIVCRYPTO_H

#include <orvane/KivTypes.h>

enum KIV_ENCRYPTION { KIV_ENCRYPTION_AES128_GCM = 2 };
enum KIV_KEYTYPE { KIV_KEYTYPE_FILE_NAME = 4 };
typedef void *KIV_HCRYPTO;

class CKivCrypto {
public:
    static constexpr DWORD kKeyBytes = 16;
    static constexpr DWORD kNonceBytes = 12;
    static constexpr DWORD kTagBytes = 16;
    static constexpr DWORD kOverhead = kNonceBytes + kTagBytes;
    static constexpr int kIterations = 1000;
    static constexpr char kSalt[] = "Orvane container key";

    CKivCrypto() = default;
    virtual ~CKivCrypto() = default;

    // Writes the key for pszPassword into pKey (16 bytes). Nonzero on success.
    int CryptoDeriveKey(LPCWSTR pszPassword, KIV_KEYTYPE iKeyType, BYTE *pKey, BYTE *pSecond, DWORD dwLength);
    // A context for the key, or NULL. dwKeyBits must be 128.
    KIV_HCRYPTO CryptoCreate(KIV_ENCRYPTION iAlgorithm, const BYTE *pKey, DWORD dwKeyBits);
    // Bytes needed for the ciphertext of dwPlain bytes (0 when it would not
    // fit in 32 bits).
    DWORD GetDestinationBufferSize(KIV_HCRYPTO hCrypto, DWORD dwPlain);
    // Encrypts dwLength bytes into pDest, which holds the destination size.
    int CryptoEncryptData(KIV_HCRYPTO hCrypto, const BYTE *pSource, BYTE *pDest, DWORD dwLength);
    // Decrypts dwLength bytes of ciphertext. Without pDest the plain bytes
    // replace the start of pSource. Zero when the bytes are not authentic
    // (wrong key, altered data, too short). pdwPlain receives the plain size.
    int CryptoDecryptData(KIV_HCRYPTO hCrypto, BYTE *pSource, DWORD dwLength, BYTE *pDest,
                          DWORD *pdwPlain = nullptr);
    int CryptoDestroy(KIV_HCRYPTO hCrypto);
};

#endif
