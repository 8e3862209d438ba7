#include <functional>
#include <random>

#include "StorageTest.h"
#include "support/Edition.h"

namespace storage_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kSmall = "<?xml version=\"1.0\"?>\n<a>small</a>\n";

// Container files built from the format: header and payload.
std::string CompressedContainer(const std::string &gzip, Header h = {}) {
    h.compressed = 1, h.compressedSize = static_cast<uint32_t>(gzip.size()), h.probeSize = h.compressedSize;
    return HeaderBytes(h) + gzip;
}

std::string EncryptedContainer(const std::string &fileName, const std::string &plain, bool bCompressed, Header h = {}) {
    const std::string cipher = KeyOf(U16(fileName)).Encrypt(plain);
    h.encrypted = 1, h.compressed = bCompressed ? 1 : 0;
    h.cipherSize = static_cast<uint32_t>(cipher.size()), h.plainSize = static_cast<uint32_t>(plain.size());
    if (bCompressed) h.compressedSize = h.plainSize;
    return HeaderBytes(h) + cipher;
}

class LoadFileTest : public StorageTest {
protected:
    // A document with something open, so that a load's closing shows.
    Document OpenDocument() { return Load(kSmall); }
    // Whether a document is open, asked the way a host can.
    static bool IsOpen(IKivXml *doc) { return doc->SaveFile(nullptr) != E_HANDLE; }
};

TEST_F(LoadFileTest, NullPathKeepsTheOpenDocument) {
    WriteBytes(File("a.xml"), kSmall);
    Document doc = NewDocument();
    ASSERT_EQ(doc->LoadFile(Path("a.xml").c_str()), S_OK);
    EXPECT_EQ(doc->LoadFile(nullptr), E_INVALIDARG);
    EXPECT_THAT(log.errors(), ElementsAre("CKivXml::LoadFile pstrXMLFile=NULL"));
    EXPECT_EQ(doc->SaveFile(nullptr), S_OK) << "still open, with its file name";
}

// Files whose bytes hold a document, in the shapes a plain file can take,
// and the containers built by hand from the documented format.
struct GoodFile {
    const char *name;
    std::function<std::string(const std::string &fileName)> bytes;
    std::string text;       // what the document then holds
    std::string resavedAs;  // the mode the settings a fresh document gets then choose
};

const GoodFile kGoodFiles[] = {
    {"PlainXml", [](const std::string &) { return std::string(kText); }, kText, "plain"},
    {"Utf16WithBom", [](const std::string &) { return std::string("\xff\xfe<\0a\0>\0\xe9\0<\0/\0a\0>\0", 18); },
     "<?xml version=\"1.0\"?>\n<a>&#xE9;</a>\n", "plain"},
    {"Latin1",
     [](const std::string &) { return std::string("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xe9</a>"); },
     "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<a>\xe9</a>\n", "plain"},
    // A bare gzip file is read like libxml2 reads it, and written back as gzip.
    {"BareGzip", [](const std::string &) { return Gzip(kText); }, kText, "gzip"},
    {"BareGzipTwoMembers",
     [](const std::string &) { return Gzip("<?xml version=\"1.0\"?>\n<a>one ") + Gzip("two</a>\n"); },
     "<?xml version=\"1.0\"?>\n<a>one two</a>\n", "gzip"},
    {"Compressed", [](const std::string &) { return CompressedContainer(Gzip(kText)); }, kText, "compressed"},
    {"CompressedTwoMembers",
     [](const std::string &) {
         return CompressedContainer(Gzip("<?xml version=\"1.0\"?>\n<a>one ") + Gzip("two</a>\n"));
     },
     "<?xml version=\"1.0\"?>\n<a>one two</a>\n", "compressed"},
    {"Encrypted", [](const std::string &name) { return EncryptedContainer(name, kText, false); }, kText, "encrypted"},
    // Compression stays off after a compressed-and-encrypted container.
    {"CompressedAndEncrypted", [](const std::string &name) { return EncryptedContainer(name, Gzip(kText), true); },
     kText, "encrypted"},
    // Bytes after the announced payload are not part of it.
    {"TrailingBytes", [](const std::string &name) { return EncryptedContainer(name, kText, false) + "junk"; }, kText,
     "encrypted"},
};

class GoodFileTest : public LoadFileTest, public ::testing::WithParamInterface<GoodFile> {};

TEST_P(GoodFileTest, Loads) {
    const std::string name = "f\u00eble.xml";
    WriteBytes(File(name), GetParam().bytes(name));
    Document doc = NewDocument();
    ASSERT_EQ(doc->LoadFile(Path(name).c_str()), S_OK);
    EXPECT_THAT(log.errors(), IsEmpty());
    const Decoded content = ContentOf(doc.get());
    EXPECT_EQ(content.text, GetParam().text);
    EXPECT_EQ(content.mode, GetParam().resavedAs);
    EXPECT_THAT(Listing(), ElementsAre(name));
}

INSTANTIATE_TEST_SUITE_P(Files, GoodFileTest, ::testing::ValuesIn(kGoodFiles),
                         [](const auto &info) { return std::string(info.param.name); });

// A header is read as it is: its header size is not examined, and the next
// save writes it back.
TEST_F(LoadFileTest, HeaderSizeIsKept) {
    Header h;
    h.headerSize = 99;
    WriteBytes(File("odd.xml"), CompressedContainer(Gzip(kText), h));
    Document doc = NewDocument();
    ASSERT_EQ(doc->LoadFile(Path("odd.xml").c_str()), S_OK);
    EXPECT_EQ(doc->SaveFile(nullptr), S_OK);
    EXPECT_EQ(HeaderOf(ReadBytes(File("odd.xml"))).headerSize, 99u);
    EXPECT_EQ(Decode(File("odd.xml")).text, kText);
}

// Files that do not load. Each closes the document that was open and leaves
// nothing on disk.
struct BadFile {
    const char *name;
    std::function<std::string(const std::string &fileName)> bytes;
    HRESULT hr;
    std::vector<std::string> errors;
};

// The probe reads eight bytes: a shorter file is plain XML in the x86
// edition and refused without a message in the x64 edition.
const HRESULT kUnprobedResult = edition::kLoadsUnprobedFileAsPlain ? E_INVALIDARG : E_FAIL;
const std::vector<std::string> kUnprobedErrors =
    edition::kLoadsUnprobedFileAsPlain ? std::vector<std::string>{kFileParseFailed} : std::vector<std::string>{};

std::string WithHeader(std::string file, size_t field, uint32_t value) {
    std::string bytes;
    PutLittleEndian(bytes, value);
    return file.replace(8 + 4 * field, 4, bytes);
}
constexpr size_t kCompressedSizeField = 3, kCipherSizeField = 5, kPlainSizeField = 6;

std::string Flipped(std::string bytes, size_t at) {
    bytes[at] = static_cast<char>(bytes[at] ^ 0x01);
    return bytes;
}

const BadFile kBadFiles[] = {
    {"Empty", [](const std::string &) { return std::string(); }, kUnprobedResult, kUnprobedErrors},
    {"ShorterThanProbe", [](const std::string &) { return std::string("<a"); }, kUnprobedResult, kUnprobedErrors},
    {"NotXml", [](const std::string &) { return std::string("just some words"); }, E_INVALIDARG, {kFileParseFailed}},
    {"BareGzipGarbage",
     [](const std::string &) { return std::string("\x1f\x8bgarbage that is no deflate"); },
     E_INVALIDARG,
     {kFileParseFailed}},
    {"BareGzipTruncated",
     [](const std::string &) {
         std::string g = Gzip(kText);
         return g.substr(0, g.size() - 6);
     },
     E_INVALIDARG,
     {kFileParseFailed}},
    {"MagicOnly", [](const std::string &) { return std::string("!QZWQZW!"); }, E_FAIL, {}},
    {"ShorterThanHeader", [](const std::string &) { return HeaderBytes(Header{}).substr(0, 30); }, E_FAIL, {}},
    {"NoFlags", [](const std::string &) { return HeaderBytes(Header{}) + Gzip(kText); }, E_FAIL, {}},
    {"CompressedSizeBeyondFile",
     [](const std::string &) {
         const std::string g = Gzip(kText);
         return WithHeader(CompressedContainer(g), kCompressedSizeField, static_cast<uint32_t>(g.size() + 1));
     },
     E_FAIL,
     {}},
    {"CipherSizeOf4GiB",
     [](const std::string &name) {
         return WithHeader(EncryptedContainer(name, kText, false), kCipherSizeField, 0xFFFFFFF0u);
     },
     E_FAIL,
     {}},
    {"PlainSizeBeyondDecrypted",
     [](const std::string &name) {
         return WithHeader(EncryptedContainer(name, kText, false), kPlainSizeField,
                           static_cast<uint32_t>(std::string(kText).size() + 1));
     },
     E_FAIL,
     {}},
    {"PlainSizeCutsTheText",
     [](const std::string &name) { return WithHeader(EncryptedContainer(name, kText, false), kPlainSizeField, 20); },
     E_INVALIDARG,
     {kPayloadParseFailed}},
    {"CompressedSizeCutsTheGzip",
     [](const std::string &) {
         const std::string g = Gzip(kText);
         return WithHeader(CompressedContainer(g), kCompressedSizeField, static_cast<uint32_t>(g.size() - 4));
     },
     E_INVALIDARG,
     {kPayloadParseFailed}},
    {"ZeroCipherSize",
     [](const std::string &name) { return WithHeader(EncryptedContainer(name, kText, false), kCipherSizeField, 0); },
     E_FAIL,
     {}},
    {"FlippedNonce",
     [](const std::string &name) { return Flipped(EncryptedContainer(name, kText, false), 36); },
     E_FAIL,
     {}},
    {"FlippedCiphertext",
     [](const std::string &name) { return Flipped(EncryptedContainer(name, kText, true), 60); },
     E_FAIL,
     {}},
    {"FlippedTag",
     [](const std::string &name) {
         const std::string file = EncryptedContainer(name, kText, false);
         return Flipped(file, file.size() - 1);
     },
     E_FAIL,
     {}},
    {"KeyOfAnotherName", [](const std::string &) { return EncryptedContainer("other.xml", kText, false); }, E_FAIL, {}},
    {"GzipGarbage",
     [](const std::string &) { return CompressedContainer("\x1f\x8b\x08 not really deflate data"); },
     E_INVALIDARG,
     {kPayloadParseFailed}},
    {"FlippedGzipByte",
     [](const std::string &) {
         const std::string g = Gzip(kText);
         return CompressedContainer(Flipped(g, g.size() - 6));
     },
     E_INVALIDARG,
     {kPayloadParseFailed}},
    {"BytesAfterGzip",
     [](const std::string &) { return CompressedContainer(Gzip(kText) + "xyz"); },
     E_INVALIDARG,
     {kPayloadParseFailed}},
    {"CompressedBrokenXml",
     [](const std::string &) { return CompressedContainer(Gzip("<a><b></a>")); },
     E_INVALIDARG,
     {kPayloadParseFailed}},
    {"EncryptedBrokenXml",
     [](const std::string &name) { return EncryptedContainer(name, "<a><b></a>", false); },
     E_INVALIDARG,
     {kPayloadParseFailed}},
    {"EncryptedNotGzip",
     [](const std::string &name) { return EncryptedContainer(name, kText, true); },
     E_INVALIDARG,
     {kPayloadParseFailed}},
};

class BadFileTest : public LoadFileTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadFileTest, IsRefused) {
    const std::string name = "bad.xml";
    const std::string bytes = GetParam().bytes(name);
    WriteBytes(File(name), bytes);
    Document doc = OpenDocument();
    EXPECT_EQ(doc->LoadFile(Path(name).c_str()), GetParam().hr);
    EXPECT_EQ(log.errors(), GetParam().errors);
    EXPECT_FALSE(IsOpen(doc.get()));
    EXPECT_THAT(Listing(), ElementsAre(name));
    EXPECT_EQ(ReadBytes(File(name)), bytes);
}

INSTANTIATE_TEST_SUITE_P(Files, BadFileTest, ::testing::ValuesIn(kBadFiles),
                         [](const auto &info) { return std::string(info.param.name); });

// A path that names no readable file takes each edition's own way: the x86
// edition tries it as plain XML, the x64 edition refuses it silently.
TEST_F(LoadFileTest, PathsThatAreNoFile) {
    fs::create_directories(File("folder.xml"));
    for (const std::string name : {"folder.xml", "missing.xml", "no-such-folder/a.xml"}) {
        SCOPED_TRACE(name);
        Document doc = OpenDocument();
        log.clear();
        EXPECT_EQ(doc->LoadFile(Path(name).c_str()), kUnprobedResult);
        EXPECT_EQ(log.errors(), kUnprobedErrors);
        EXPECT_FALSE(IsOpen(doc.get()));
    }
    EXPECT_THAT(Listing(), ElementsAre("folder.xml"));
}

// A short file that is XML loads only where the probe's failure leads to
// the plain load.
TEST_F(LoadFileTest, ShortXmlFile) {
    WriteBytes(File("s.xml"), "<a/>");
    Document doc = NewDocument();
    EXPECT_EQ(doc->LoadFile(Path("s.xml").c_str()), edition::kLoadsUnprobedFileAsPlain ? S_OK : E_FAIL);
    EXPECT_THAT(log.errors(), IsEmpty());
}

TEST_F(LoadFileTest, ReadOnlyFilesLoad) {
    WriteBytes(File("plain.xml"), kText);
    Saved("container.xml", TRUE, TRUE);
    for (const std::string name : {"plain.xml", "container.xml"}) {
        fs::permissions(File(name), fs::perms::owner_read);
        Document doc = NewDocument();
        EXPECT_EQ(doc->LoadFile(Path(name).c_str()), S_OK) << name;
    }
    EXPECT_THAT(log.errors(), IsEmpty());
}

// The key follows the file name: moved to another folder a container loads,
// under another name it does not. A file that happens to carry the name the
// old temporary file had is left alone.
TEST_F(LoadFileTest, EncryptedContainerNeedsItsName) {
    for (const BOOL bCompression : {FALSE, TRUE}) {
        SCOPED_TRACE(bCompression);
        fs::remove_all(folder);
        fs::create_directories(File("elsewhere"));
        Saved("secret.xml", bCompression, TRUE);
        WriteBytes(File("elsewhere/secret.xml.tmp"), "keep me");
        fs::rename(File("secret.xml"), File("elsewhere/secret.xml"));
        Document doc = NewDocument();
        EXPECT_EQ(doc->LoadFile(Path("elsewhere/secret.xml").c_str()), S_OK);
        EXPECT_EQ(ReadBytes(File("elsewhere/secret.xml.tmp")), "keep me");

        fs::rename(File("elsewhere/secret.xml"), File("elsewhere/renamed.xml"));
        EXPECT_EQ(doc->LoadFile(Path("elsewhere/renamed.xml").c_str()), E_FAIL);
        EXPECT_THAT(log.errors(), IsEmpty());
        EXPECT_THAT(Listing(File("elsewhere")), ElementsAre("renamed.xml", "secret.xml.tmp"));
    }
}

// What a load leaves in the settings shows in the mode of the next save.
struct SettingsCase {
    const char *name;
    void (*before)(IKivXml *);  // on an open document, before the load
    const char *file;
    const char *mode;
};

class SettingsAfterLoadTest : public LoadFileTest, public ::testing::WithParamInterface<SettingsCase> {
protected:
    void SetUp() override {
        LoadFileTest::SetUp();
        WriteBytes(File("plain.xml"), kText);
        WriteBytes(File("gzip.xml"), Gzip(kText));
        Saved("compressed.xml", TRUE, FALSE);
        Saved("encrypted.xml", FALSE, TRUE);
        Saved("both.xml", TRUE, TRUE);
    }
};

TEST_P(SettingsAfterLoadTest, NextSaveMode) {
    Document doc = OpenDocument();
    GetParam().before(doc.get());
    ASSERT_EQ(doc->LoadFile(Path(GetParam().file).c_str()), S_OK);
    EXPECT_EQ(ContentOf(doc.get()).mode, GetParam().mode);
}

void Nothing(IKivXml *) {}
void CompressionOn(IKivXml *doc) { doc->SetCompression(TRUE); }
void EncryptionOn(IKivXml *doc) { doc->SetEncryption(TRUE); }

const SettingsCase kSettingsCases[] = {
    {"PlainKeepsSettingsOff", Nothing, "plain.xml", "plain"},
    {"PlainKeepsCompression", CompressionOn, "plain.xml", "compressed"},
    {"PlainKeepsEncryption", EncryptionOn, "plain.xml", "encrypted"},
    {"GzipIsWrittenAsGzip", Nothing, "gzip.xml", "gzip"},
    {"CompressedSwitchesCompressionOn", Nothing, "compressed.xml", "compressed"},
    {"CompressedSwitchesEncryptionOff", EncryptionOn, "compressed.xml", "compressed"},
    {"EncryptedSwitchesEncryptionOn", Nothing, "encrypted.xml", "encrypted"},
    {"EncryptedKeepsCompression", CompressionOn, "encrypted.xml", "compressed+encrypted"},
    {"BothLeavesCompressionOff", Nothing, "both.xml", "encrypted"},
    {"BothKeepsCompression", CompressionOn, "both.xml", "compressed+encrypted"},
};

INSTANTIATE_TEST_SUITE_P(Files, SettingsAfterLoadTest, ::testing::ValuesIn(kSettingsCases),
                         [](const auto &info) { return std::string(info.param.name); });

// A document read from gzip bytes is written as gzip by a plain save, as
// libxml2 would: after an encrypted container's key is dropped, too.
TEST_F(LoadFileTest, GzipDocumentStaysGzipWhenEncryptionIsDropped) {
    Saved("both.xml", TRUE, TRUE);
    Document doc = NewDocument();
    ASSERT_EQ(doc->LoadFile(Path("both.xml").c_str()), S_OK);
    doc->SetEncryption(FALSE);
    const Decoded content = ContentOf(doc.get());
    EXPECT_EQ(content.mode, "gzip");
    EXPECT_EQ(content.text, kText);
}

// Documents larger than every block size on the way (file reads, gzip
// output, parser chunks) arrive whole, in every shape.
TEST_F(LoadFileTest, LargeDocuments) {
    std::mt19937 random(7);
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<big>";
    while (text.size() < 600 * 1024)
        text += "<n v=\"" + std::to_string(random()) + "\">\u00e9" + std::to_string(random()) + "</n>";
    text += "</big>\n";
    WriteBytes(File("plain.xml"), text);
    WriteBytes(File("gzip.xml"), Gzip(text.substr(0, 1000)) + Gzip(text.substr(1000)));
    ASSERT_GT(fs::file_size(File("gzip.xml")), 128u * 1024);
    Document source = NewDocument();
    ASSERT_EQ(source->LoadFile(Path("plain.xml").c_str()), S_OK);
    for (const BOOL bEncryption : {FALSE, TRUE}) {
        source->SetCompression(TRUE);
        source->SetEncryption(bEncryption);
        ASSERT_EQ(source->SaveFile(Path(bEncryption ? "both.xml" : "compressed.xml").c_str()), S_OK);
    }
    for (const char *name : {"plain.xml", "gzip.xml", "compressed.xml", "both.xml"}) {
        Document doc = NewDocument();
        ASSERT_EQ(doc->LoadFile(Path(name).c_str()), S_OK) << name;
        EXPECT_TRUE(ContentOf(doc.get()).text == text) << name;
    }
    EXPECT_THAT(log.errors(), IsEmpty());
}

// Containers saved by each edition (tests/data), loaded by both: the format
// does not depend on the edition. Each keeps the name it was saved under,
// which is its key.
TEST_F(LoadFileTest, ContainersOfBothEditions) {
    const fs::path data = ORVANE_TEST_DATA_DIR;
    for (const std::string edition : {"x86", "x64"}) {
        for (const std::string mode : {"compressed", "encrypted", "both"}) {
            const std::string name = edition + "-" + mode + ".xml";
            fs::copy_file(data / name, File(name));
            Document doc = NewDocument();
            ASSERT_EQ(doc->LoadFile(Path(name).c_str()), S_OK) << name;
            EXPECT_EQ(ContentOf(doc.get()).text, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<fixture edition=\"" +
                                                     edition + "\" mode=\"" + mode + "\">h\u00e9llo</fixture>\n")
                << name;
        }
    }
    EXPECT_THAT(log.errors(), IsEmpty());
}

TEST_F(LoadFileTest, Traces) {
    Saved("e.xml", FALSE, TRUE);
    const std::u16string path = Path("e.xml");
    Document doc = NewDocument();
    doc->LoadFile(path.c_str());
    doc->LoadFile(nullptr);
    doc->LoadFile(Path("missing.xml").c_str());
    if (edition::kTracesOperations) {
        EXPECT_THAT(log.traces(),
                    ElementsAre("> CKivXml::LoadFile pstrXMLFile=" + U8(path.c_str()),
                                "> CKivXml::SetCrypto(KIV_ENCRYPTION iCryptoAlgo=2,LPCTSTR pszPassword=e.xml,"
                                "KIV_KEYTYPE iKeyType=4)",
                                "< 0", "< 0", "> CKivXml::LoadFile pstrXMLFile=(null)", "< -2147024809",
                                "> CKivXml::LoadFile pstrXMLFile=" + U8(Path("missing.xml").c_str()), "< -2147467259"));
    } else {
        EXPECT_THAT(log.traces(), IsEmpty());
    }
}

}  // namespace
}  // namespace storage_test
