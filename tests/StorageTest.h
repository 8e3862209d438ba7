// Fixture for the file storage tests: a fresh folder per test, and the
// container format written out by hand (header, gzip through zlib,
// encryption through the crypto facility), so that files are built and
// checked from the documented format rather than by the code under test.
#ifndef ORVANE_TEST_STORAGETEST_H
#define ORVANE_TEST_STORAGETEST_H

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <zlib.h>

#include "OrvaneTest.h"
#include "support/CKivCrypto.h"

namespace storage_test {

namespace fs = std::filesystem;

inline constexpr const char *kFileParseFailed = "CKivXml::LoadFile Invalid File or FileName xmlParseFile FAILED";
inline constexpr const char *kPayloadParseFailed = "CKivXml::LoadFile Invalid XML buffer xmlParseMemory FAILED";
inline constexpr const char *kNotOpen = "CKivXml::SaveFile m_bOpen=FALSE No File Open ?";

// A document with characters beyond ASCII, declared UTF-8 so that libxml2
// writes them as they are, and the exact text every save serialises it to.
inline constexpr const char *kText =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<config name=\"caf\u00e9\">\n  <item id=\"1\">\u4e2d\u6587 &amp; more</item>\n  <empty/>\n</config>\n";

// The 36-byte header, field by field.
struct Header {
    std::string magic = "!QZWQZW!";
    uint32_t headerSize = 36;
    uint32_t compressed = 0;
    uint32_t encrypted = 0;
    uint32_t compressedSize = 0;
    uint32_t probeSize = 0;
    uint32_t cipherSize = 0;
    uint32_t plainSize = 0;

    bool operator==(const Header &o) const {
        return magic == o.magic && headerSize == o.headerSize && compressed == o.compressed &&
               encrypted == o.encrypted && compressedSize == o.compressedSize && probeSize == o.probeSize &&
               cipherSize == o.cipherSize && plainSize == o.plainSize;
    }
    friend std::ostream &operator<<(std::ostream &os, const Header &h) {
        return os << "{" << h.magic << " size=" << h.headerSize << " compressed=" << h.compressed
                  << " encrypted=" << h.encrypted << " compressedSize=" << h.compressedSize
                  << " probeSize=" << h.probeSize << " cipherSize=" << h.cipherSize << " plainSize=" << h.plainSize
                  << "}";
    }
};

inline void PutLittleEndian(std::string &out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline uint32_t GetLittleEndian(const std::string &bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

inline std::string HeaderBytes(const Header &h) {
    std::string out = h.magic;
    for (uint32_t v : {h.headerSize, h.compressed, h.encrypted, h.compressedSize, h.probeSize, h.cipherSize,
                       h.plainSize})
        PutLittleEndian(out, v);
    return out;
}

inline Header HeaderOf(const std::string &file) {
    Header h;
    if (file.size() < 36) return Header{"<short>"};
    h.magic = file.substr(0, 8);
    uint32_t *fields[] = {&h.headerSize, &h.compressed,  &h.encrypted,  &h.compressedSize,
                          &h.probeSize,  &h.cipherSize,  &h.plainSize};
    for (size_t i = 0; i < 7; ++i) *fields[i] = GetLittleEndian(file, 8 + 4 * i);
    return h;
}

// One gzip member of text, as any gzip writer makes it (level 6 here: the
// reader must not care).
inline std::string Gzip(const std::string &text, int level = 6) {
    z_stream zs{};
    EXPECT_EQ(deflateInit2(&zs, level, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&zs, text.size()), '\0');
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(text.data()));
    zs.avail_in = static_cast<uInt>(text.size());
    zs.next_out = reinterpret_cast<Bytef *>(&out[0]);
    zs.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

// The text of a gzip file (members back to back); "<bad gzip>" otherwise.
inline std::string Gunzip(const std::string &gz) {
    z_stream zs{};
    inflateInit2(&zs, 16 + MAX_WBITS);
    std::string out;
    char block[4096];
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(gz.data()));
    zs.avail_in = static_cast<uInt>(gz.size());
    int ret = Z_OK;
    while (ret == Z_OK || (ret == Z_STREAM_END && zs.avail_in > 0)) {
        if (ret == Z_STREAM_END) inflateReset(&zs);
        zs.next_out = reinterpret_cast<Bytef *>(block);
        zs.avail_out = sizeof block;
        ret = inflate(&zs, Z_NO_FLUSH);
        out.append(block, sizeof block - zs.avail_out);
    }
    inflateEnd(&zs);
    return ret == Z_STREAM_END ? out : "<bad gzip>";
}

// Encryption and decryption under the key of a file name, through the
// crypto facility on its own.
class KeyOf {
public:
    explicit KeyOf(const std::u16string &fileName) {
        BYTE key[16];
        EXPECT_TRUE(m_crypto.CryptoDeriveKey(fileName.c_str(), KIV_KEYTYPE_FILE_NAME, key, nullptr, 0));
        m_h = m_crypto.CryptoCreate(KIV_ENCRYPTION_AES128_GCM, key, 128);
    }
    ~KeyOf() { m_crypto.CryptoDestroy(m_h); }
    std::string Encrypt(const std::string &plain) {
        std::string out(m_crypto.GetDestinationBufferSize(m_h, static_cast<DWORD>(plain.size())), '\0');
        EXPECT_TRUE(m_crypto.CryptoEncryptData(m_h, reinterpret_cast<const BYTE *>(plain.data()),
                                               reinterpret_cast<BYTE *>(&out[0]), static_cast<DWORD>(plain.size())));
        return out;
    }
    // The decrypted bytes, or "<not authentic>".
    std::string Decrypt(std::string cipher) {
        DWORD plain = 0;
        if (!m_crypto.CryptoDecryptData(m_h, reinterpret_cast<BYTE *>(&cipher[0]), static_cast<DWORD>(cipher.size()),
                                        nullptr, &plain))
            return "<not authentic>";
        return cipher.substr(0, plain);
    }

private:
    CKivCrypto m_crypto;
    KIV_HCRYPTO m_h = nullptr;
};

// What a saved file holds, read back by the format alone.
struct Decoded {
    std::string mode;  // plain, gzip, compressed, encrypted, compressed+encrypted
    std::string text;
};

inline std::string ReadBytes(const fs::path &file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const fs::path &file, const std::string &bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

inline Decoded Decode(const fs::path &file) {
    const std::string bytes = ReadBytes(file);
    if (bytes.compare(0, 8, "!QZWQZW!") != 0) {
        if (bytes.compare(0, 2, "\x1f\x8b") == 0) return {"gzip", Gunzip(bytes)};
        return {"plain", bytes};
    }
    const Header h = HeaderOf(bytes);
    std::string payload = bytes.substr(36);
    if (h.encrypted) {
        payload = KeyOf(file.filename().u16string()).Decrypt(payload).substr(0, h.plainSize);
        return {h.compressed ? "compressed+encrypted" : "encrypted", h.compressed ? Gunzip(payload) : payload};
    }
    return {h.compressed ? "compressed" : "<no flags>", Gunzip(payload)};
}

class StorageTest : public OrvaneTest {
protected:
    void SetUp() override {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        folder = fs::temp_directory_path() / ("orvane-" + std::to_string(std::random_device{}()) + "-" + name);
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ec;
        for (const auto &entry : fs::recursive_directory_iterator(folder, ec))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(folder, ec);
    }

    // The wide path of a name (UTF-8, may hold folders) in the test folder.
    std::u16string Path(const std::string &name) const { return File(name).u16string(); }
    fs::path File(const std::string &name) const { return folder / fs::u8path(name); }

    // Names in a folder (the test folder by default), sorted.
    std::vector<std::string> Listing(const fs::path &where = {}) const {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(where.empty() ? folder : where))
            names.push_back(entry.path().filename().u8string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // A document holding kText, saved in the mode the two settings choose.
    Document Saved(const std::string &name, BOOL bCompression, BOOL bEncryption) {
        Document doc = Load(kText);
        doc->SetCompression(bCompression);
        doc->SetEncryption(bEncryption);
        EXPECT_EQ(doc->SaveFile(Path(name).c_str()), S_OK);
        log.clear();
        return doc;
    }

    // What a document holds: it is saved beside the others in whatever mode
    // its settings give, read back by the format alone, and removed again.
    Decoded ContentOf(IKivXml *doc) {
        const std::string name = "content-check.xml";
        EXPECT_EQ(doc->SaveFile(Path(name).c_str()), S_OK);
        Decoded decoded = Decode(File(name));
        fs::remove(File(name));
        return decoded;
    }

    fs::path folder;
};

}  // namespace storage_test

#endif
