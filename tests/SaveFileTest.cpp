#if !defined(_WIN32)
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <tuple>

#include "StorageTest.h"
#include "support/Edition.h"

namespace storage_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char *kWriteFailed = "CKivXml::SaveFile CKivFile Write FAILED";

std::string PlainSaveFailed(const std::u16string &target) {
    return "CKivXml::SaveFile xmlSaveFormatFile FAILED FileName=" + U8(target.c_str());
}
std::string CreateFailed(const std::u16string &target) {
    return "CKivXml::SaveFile CreateFile FAILED FileName=" + U8(target.c_str());
}

enum Mode { kPlain, kCompressed, kEncrypted, kBoth };

struct ModeCase {
    const char *name;
    Mode mode;
    BOOL bCompression;
    BOOL bEncryption;
};

const ModeCase kModes[] = {
    {"Plain", kPlain, FALSE, FALSE},
    {"Compressed", kCompressed, TRUE, FALSE},
    {"Encrypted", kEncrypted, FALSE, TRUE},
    {"CompressedAndEncrypted", kBoth, TRUE, TRUE},
};

class SaveModeTest : public StorageTest, public ::testing::WithParamInterface<ModeCase> {};

// Every mode writes the documented layout, in a folder and under a name
// beyond ASCII, and the file loads again into the same document.
TEST_P(SaveModeTest, WritesTheDocumentedLayoutAndLoadsAgain) {
    const std::string name = "d\u00f6ssier-\u4e2d/c\u00f8nfig-\u00e9.xml";
    fs::create_directories(File(name).parent_path());
    Saved(name, GetParam().bCompression, GetParam().bEncryption);
    EXPECT_THAT(log.errors(), IsEmpty());

    const std::string file = ReadBytes(File(name));
    const std::string text = kText;
    const uint32_t n = static_cast<uint32_t>(text.size());
    const std::string payload = file.size() >= 36 ? file.substr(36) : "";
    const uint32_t k = static_cast<uint32_t>(payload.size());
    KeyOf key(File(name).filename().u16string());
    switch (GetParam().mode) {
        case kPlain:
            EXPECT_EQ(file, text);
            break;
        case kCompressed: {
            Header expected;
            expected.compressed = 1, expected.compressedSize = k, expected.probeSize = k;
            EXPECT_EQ(HeaderOf(file), expected);
            EXPECT_EQ(Gunzip(payload), text);
            break;
        }
        case kEncrypted: {
            Header expected;
            expected.encrypted = 1, expected.cipherSize = n + 28, expected.plainSize = n;
            EXPECT_EQ(HeaderOf(file), expected);
            EXPECT_EQ(payload.size(), n + 28);
            EXPECT_EQ(key.Decrypt(payload), text);
            break;
        }
        case kBoth: {
            const std::string gzip = key.Decrypt(payload);
            const uint32_t gz = static_cast<uint32_t>(gzip.size());
            Header expected;
            expected.compressed = 1, expected.encrypted = 1, expected.compressedSize = gz, expected.probeSize = n,
            expected.cipherSize = gz + 28, expected.plainSize = gz;
            EXPECT_EQ(HeaderOf(file), expected);
            EXPECT_EQ(payload.size(), gz + 28);
            EXPECT_EQ(Gunzip(gzip), text);
            break;
        }
    }

    Document again = NewDocument();
    EXPECT_EQ(again->LoadFile(Path(name).c_str()), S_OK);
    EXPECT_THAT(log.errors(), IsEmpty());
    EXPECT_EQ(ContentOf(again.get()).text, text);
    EXPECT_THAT(Listing(File(name).parent_path()), ElementsAre(File(name).filename().u8string()));
}

// After LoadFromText there is no file name: every mode fails, and nothing
// is written, not even in the current folder.
TEST_P(SaveModeTest, NullPathAfterLoadFromTextFails) {
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    Document doc = Load(kText);
    doc->SetCompression(GetParam().bCompression);
    doc->SetEncryption(GetParam().bEncryption);
    log.clear();
    const HRESULT hr = doc->SaveFile(nullptr);
    fs::current_path(before);
    switch (GetParam().mode) {
        case kPlain:
            EXPECT_EQ(hr, E_FAIL);
            EXPECT_THAT(log.errors(), ElementsAre(PlainSaveFailed(u"")));
            break;
        case kCompressed:
            EXPECT_EQ(hr, E_FAIL);
            EXPECT_THAT(log.errors(), IsEmpty());
            break;
        case kEncrypted:
        case kBoth:
            EXPECT_EQ(hr, E_HANDLE);
            EXPECT_THAT(log.errors(), ElementsAre(CreateFailed(u"")));
            break;
    }
    EXPECT_THAT(Listing(), IsEmpty());
}

TEST_P(SaveModeTest, ReadOnlyTargetIsReplaced) {
    WriteBytes(File("ro.xml"), "<old/>");
    fs::permissions(File("ro.xml"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    Saved("ro.xml", GetParam().bCompression, GetParam().bEncryption);
    EXPECT_EQ(Decode(File("ro.xml")).text, kText);
    EXPECT_THAT(Listing(), ElementsAre("ro.xml"));
}

INSTANTIATE_TEST_SUITE_P(Modes, SaveModeTest, ::testing::ValuesIn(kModes),
                         [](const auto &info) { return std::string(info.param.name); });

// A save that cannot complete leaves the previous file byte for byte and no
// new file beside it.
enum Failure { kFileSizeLimit, kFolderVanished, kTargetIsFolder };

struct FailureCase {
    const char *name;
    Failure failure;
};

class SaveFailureTest : public StorageTest, public ::testing::WithParamInterface<std::tuple<ModeCase, FailureCase>> {
protected:
    Mode mode() const { return std::get<0>(GetParam()).mode; }
    Failure failure() const { return std::get<1>(GetParam()).failure; }

    HRESULT ExpectedResult() const {
        if (mode() == kPlain || mode() == kCompressed || failure() == kFileSizeLimit) return E_FAIL;
        return E_HANDLE;
    }
    std::vector<std::string> ExpectedErrors(const std::u16string &target) const {
        if (mode() == kPlain) return {PlainSaveFailed(target)};
        if (mode() == kCompressed) return {};
        if (failure() == kFileSizeLimit) return {kWriteFailed};
        return {CreateFailed(target)};
    }

#if !defined(_WIN32)
    // Saves in a child process that may write no more than 40 bytes to any
    // file (enough for a header, not for a payload). The child reports
    // through its exit code whether the result and log were as expected.
    void SaveUnderFileSizeLimit(IKivXml *doc, const std::u16string &target) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit = {40, 40};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            log.clear();
            const HRESULT hr = doc->SaveFile(target.c_str());
            ::_exit(hr != ExpectedResult() ? 1 : log.errors() != ExpectedErrors(target) ? 2 : 0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "1: wrong result, 2: wrong log";
    }
#endif
};

TEST_P(SaveFailureTest, LeavesThePreviousFile) {
    const ModeCase &m = std::get<0>(GetParam());
    const std::string old = "<?xml version=\"1.0\"?>\n<old>previous content that must survive</old>\n";
    fs::create_directories(File("dir"));
    WriteBytes(File("dir/a.xml"), old);
    Document doc = NewDocument();
    ASSERT_EQ(doc->LoadFile(Path("dir/a.xml").c_str()), S_OK);
    ASSERT_EQ(doc->LoadFromText(U16(kText).c_str()), S_OK);
    doc->SetCompression(m.bCompression);
    doc->SetEncryption(m.bEncryption);
    log.clear();

    fs::path oldFolder = File("dir");
    std::u16string target = Path("dir/a.xml");
    switch (failure()) {
        case kFileSizeLimit:
#if !defined(_WIN32)
            SaveUnderFileSizeLimit(doc.get(), target);
#endif
            break;
        case kFolderVanished:
            fs::rename(File("dir"), File("moved"));
            oldFolder = File("moved");
            EXPECT_EQ(doc->SaveFile(target.c_str()), ExpectedResult());
            EXPECT_EQ(log.errors(), ExpectedErrors(target));
            EXPECT_FALSE(fs::exists(File("dir")));
            break;
        case kTargetIsFolder:
            fs::create_directories(File("dir/folder.xml"));
            target = Path("dir/folder.xml");
            EXPECT_EQ(doc->SaveFile(target.c_str()), ExpectedResult());
            EXPECT_EQ(log.errors(), ExpectedErrors(target));
            EXPECT_TRUE(fs::is_directory(File("dir/folder.xml")));
            EXPECT_THAT(Listing(File("dir/folder.xml")), IsEmpty());
            break;
    }
    EXPECT_EQ(ReadBytes(oldFolder / "a.xml"), old);
    std::vector<std::string> expected = {"a.xml"};
    if (failure() == kTargetIsFolder) expected.push_back("folder.xml");
    EXPECT_EQ(Listing(oldFolder), expected);
}

const FailureCase kFailures[] = {
#if !defined(_WIN32)
    // A file size limit for one process (setrlimit in a child) is POSIX's.
    {"FileSizeLimit", kFileSizeLimit},
#endif
    {"FolderVanished", kFolderVanished},
    {"TargetIsFolder", kTargetIsFolder},
};

INSTANTIATE_TEST_SUITE_P(Modes, SaveFailureTest,
                         ::testing::Combine(::testing::ValuesIn(kModes), ::testing::ValuesIn(kFailures)),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
                         });

class SaveFileTest : public StorageTest {};

TEST_F(SaveFileTest, ClosedDocumentIsRefused) {
    Document doc = NewDocument();
    EXPECT_EQ(doc->SaveFile(Path("a.xml").c_str()), E_HANDLE);
    EXPECT_THAT(log.errors(), ElementsAre(kNotOpen));
    EXPECT_THAT(Listing(), IsEmpty());
}

// SaveFile(NULL) writes to the file the document was loaded from.
TEST_F(SaveFileTest, NullPathSavesToTheLoadedFile) {
    WriteBytes(File("a.xml"), kText);
    Document doc = NewDocument();
    ASSERT_EQ(doc->LoadFile(Path("a.xml").c_str()), S_OK);
    doc->SetCompression(TRUE);
    EXPECT_EQ(doc->SaveFile(nullptr), S_OK);
    EXPECT_EQ(Decode(File("a.xml")).mode, "compressed");
    EXPECT_EQ(Decode(File("a.xml")).text, kText);
    EXPECT_THAT(Listing(), ElementsAre("a.xml"));
}

#if !defined(_WIN32)
// Tools nobody here wrote read what the library writes: the payload of a
// compressed-only container is a gzip file, and a plain save is XML. (The
// tools are run through a POSIX shell.)
TEST_F(SaveFileTest, ToolsReadTheFiles) {
    if (std::system("command -v gzip >/dev/null 2>&1 && command -v xmllint >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "gzip or xmllint missing";
    Saved("compressed.xml", TRUE, FALSE);
    Saved("plain.xml", FALSE, FALSE);
    const std::string dir = folder.string();
    ASSERT_EQ(std::system(("tail -c +37 '" + dir + "/compressed.xml' | gzip -dc > '" + dir + "/out.txt'").c_str()), 0);
    EXPECT_EQ(ReadBytes(File("out.txt")), kText);
    EXPECT_EQ(std::system(("xmllint --noout '" + dir + "/plain.xml'").c_str()), 0);
}
#endif

TEST_F(SaveFileTest, Traces) {
    Document doc = Load(kText);
    doc->SetEncryption(TRUE);
    log.clear();
    const std::u16string target = Path("e.xml");
    EXPECT_EQ(doc->SaveFile(target.c_str()), S_OK);
    if (edition::kTracesOperations) {
        EXPECT_THAT(log.traces(),
                    ElementsAre("> CKivXml::SaveFile(LPCWSTR pstrXMLFile = " + U8(target.c_str()) + ")",
                                "> CKivXml::SetCrypto(KIV_ENCRYPTION iCryptoAlgo=2,LPCTSTR pszPassword=e.xml,"
                                "KIV_KEYTYPE iKeyType=4)",
                                "< 0", "> CKivXml::DumpDocInMemory(void)", "< 1", "< 0"));
    } else {
        EXPECT_THAT(log.traces(), IsEmpty());
    }
}

#if defined(ORVANE_EDITION_X86)
// The dump of an encrypted-only save stays in the document.
TEST_F(SaveFileTest, EncryptedSaveKeepsItsDump) {
    Document doc = Saved("e.xml", FALSE, TRUE);
    CKivString text;
    doc->GetDumpText(text);
    EXPECT_EQ(U8(text), kText);
}
#endif

// The typical request: a protected configuration file is loaded, changed,
// switched to compression and saved in place, then loads again.
TEST_F(SaveFileTest, EditProtectedFileInPlace) {
    Saved("settings.xml", FALSE, TRUE);
    const std::u16string path = Path("settings.xml");

    Document doc = NewDocument();
    ASSERT_EQ(doc->LoadFile(path.c_str()), S_OK);
    const std::string edited = "<?xml version=\"1.0\"?>\n<config><item id=\"2\">changed</item></config>\n";
    ASSERT_EQ(doc->LoadFromText(U16(edited).c_str()), S_OK);  // the edit
    doc->SetCompression(TRUE);
    EXPECT_EQ(doc->SaveFile(path.c_str()), S_OK);
    doc.reset();
    EXPECT_THAT(log.errors(), IsEmpty());

    EXPECT_EQ(HeaderOf(ReadBytes(File("settings.xml"))).compressed, 1u);
    EXPECT_EQ(HeaderOf(ReadBytes(File("settings.xml"))).encrypted, 1u);
    Document again = NewDocument();
    ASSERT_EQ(again->LoadFile(path.c_str()), S_OK);
    EXPECT_EQ(ContentOf(again.get()).text, edited);
    EXPECT_THAT(Listing(), ElementsAre("settings.xml"));
}

}  // namespace
}  // namespace storage_test
