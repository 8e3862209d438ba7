#include <cstdio>
#include <string>
#include <vector>

#include "OrvaneTest.h"
#include "support/CKivCrypto.h"

namespace {

std::string Hex(const BYTE *p, size_t n) {
    std::string out;
    char two[3];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(two, sizeof two, "%02x", p[i]);
        out += two;
    }
    return out;
}

class CryptoTest : public ::testing::Test {
protected:
    // A context for the key of a file name, destroyed with the test.
    KIV_HCRYPTO ContextFor(const char16_t *pszName) {
        BYTE key[16];
        EXPECT_TRUE(crypto.CryptoDeriveKey(pszName, KIV_KEYTYPE_FILE_NAME, key, nullptr, 0));
        KIV_HCRYPTO h = crypto.CryptoCreate(KIV_ENCRYPTION_AES128_GCM, key, 128);
        EXPECT_NE(h, nullptr);
        contexts.push_back(h);
        return h;
    }
    std::vector<BYTE> Encrypt(KIV_HCRYPTO h, const std::string &plain) {
        std::vector<BYTE> out(crypto.GetDestinationBufferSize(h, static_cast<DWORD>(plain.size())));
        EXPECT_TRUE(crypto.CryptoEncryptData(h, reinterpret_cast<const BYTE *>(plain.data()), out.data(),
                                             static_cast<DWORD>(plain.size())));
        return out;
    }
    void TearDown() override {
        for (KIV_HCRYPTO h : contexts) crypto.CryptoDestroy(h);
    }

    CKivCrypto crypto;
    std::vector<KIV_HCRYPTO> contexts;
};

// The derivation is documented so other implementations can read the files:
// PBKDF2-HMAC-SHA-256, UTF-16LE name, salt "Orvane container key", 1000.
TEST_F(CryptoTest, KeyFromFileNameIsFixed) {
    BYTE key[16];
    ASSERT_TRUE(crypto.CryptoDeriveKey(u"config.xml", KIV_KEYTYPE_FILE_NAME, key, nullptr, 0));
    EXPECT_EQ(Hex(key, 16), "a01c440d450a1326443010f334a279e2");
    ASSERT_TRUE(crypto.CryptoDeriveKey(u"\u00e9.xml", KIV_KEYTYPE_FILE_NAME, key, nullptr, 0));
    EXPECT_EQ(Hex(key, 16), "a83d60e26eb0a7ff9b7ddc07bcf995f6");
}

TEST_F(CryptoTest, RefusesWhatItDoesNotKnow) {
    BYTE key[16] = {};
    EXPECT_FALSE(crypto.CryptoDeriveKey(nullptr, KIV_KEYTYPE_FILE_NAME, key, nullptr, 0));
    EXPECT_FALSE(crypto.CryptoDeriveKey(u"a", static_cast<KIV_KEYTYPE>(1), key, nullptr, 0));
    EXPECT_EQ(crypto.CryptoCreate(static_cast<KIV_ENCRYPTION>(1), key, 128), nullptr);
    EXPECT_EQ(crypto.CryptoCreate(KIV_ENCRYPTION_AES128_GCM, key, 256), nullptr);
}

TEST_F(CryptoTest, RoundTripInPlace) {
    KIV_HCRYPTO h = ContextFor(u"config.xml");
    for (const std::string &plain : {std::string(), std::string("<a/>"), std::string(100000, 'x')}) {
        std::vector<BYTE> cipher = Encrypt(h, plain);
        ASSERT_EQ(cipher.size(), plain.size() + 28);
        DWORD dwPlain = 0;
        ASSERT_TRUE(crypto.CryptoDecryptData(h, cipher.data(), static_cast<DWORD>(cipher.size()), nullptr, &dwPlain));
        EXPECT_EQ(dwPlain, plain.size());
        EXPECT_EQ(std::string(cipher.begin(), cipher.begin() + dwPlain), plain);
    }
}

TEST_F(CryptoTest, FreshNonceEveryTime) {
    KIV_HCRYPTO h = ContextFor(u"config.xml");
    EXPECT_NE(Encrypt(h, "same text"), Encrypt(h, "same text"));
}

TEST_F(CryptoTest, WrongKeyOrAlteredBytesFail) {
    const std::vector<BYTE> cipher = Encrypt(ContextFor(u"config.xml"), "<config/>");
    KIV_HCRYPTO other = ContextFor(u"config2.xml");
    std::vector<BYTE> copy = cipher;
    EXPECT_FALSE(crypto.CryptoDecryptData(other, copy.data(), static_cast<DWORD>(copy.size()), nullptr));
    KIV_HCRYPTO same = ContextFor(u"config.xml");
    for (size_t i : {size_t(0), size_t(12), cipher.size() - 1}) {
        copy = cipher;
        copy[i] ^= 0x01;
        EXPECT_FALSE(crypto.CryptoDecryptData(same, copy.data(), static_cast<DWORD>(copy.size()), nullptr)) << i;
    }
    copy = cipher;
    EXPECT_FALSE(crypto.CryptoDecryptData(same, copy.data(), 27, nullptr));
}

}  // namespace
