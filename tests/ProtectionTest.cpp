#include "StorageTest.h"
#include "support/Edition.h"

namespace storage_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ProtectionTest : public StorageTest {};

// The settings belong to an open document: on a closed one they log and
// change nothing.
TEST_F(ProtectionTest, SettingsNeedAnOpenDocument) {
    Document doc = NewDocument();
    doc->SetCompression(TRUE);
    doc->SetEncryption(TRUE);
    EXPECT_THAT(log.errors(), ElementsAre("CKivXml::SetCompression(...) m_bOpen=FALSE No File Open ?",
                                          "CKivXml::SetEncryption(...) m_bOpen=FALSE No File Open ?"));
    if (edition::kTracesOperations) {
        EXPECT_THAT(log.traces(), ElementsAre("> CKivXml::SetCompression(BOOL bCompression)", "< ",
                                              "> CKivXml::SetEncryption(BOOL bEncryption)", "< "));
    } else {
        EXPECT_THAT(log.traces(), IsEmpty());
    }
    ASSERT_EQ(doc->LoadFromText(U16(kText).c_str()), S_OK);
    EXPECT_EQ(ContentOf(doc.get()).mode, "plain");
}

// The settings as a host switches them, and the mode of the save that
// follows.
struct SettingsCase {
    const char *name;
    void (*steps)(IKivXml *doc, const std::u16string &scratch);
    const char *mode;
};

const SettingsCase kSettingsCases[] = {
    {"None", [](IKivXml *, const std::u16string &) {}, "plain"},
    {"Compression", [](IKivXml *doc, const std::u16string &) { doc->SetCompression(TRUE); }, "compressed"},
    {"CompressionAnyNonzero", [](IKivXml *doc, const std::u16string &) { doc->SetCompression(5); }, "compressed"},
    {"CompressionOnThenOff",
     [](IKivXml *doc, const std::u16string &) {
         doc->SetCompression(TRUE);
         doc->SetCompression(FALSE);
     },
     "plain"},
    {"Encryption", [](IKivXml *doc, const std::u16string &) { doc->SetEncryption(TRUE); }, "encrypted"},
    {"Both",
     [](IKivXml *doc, const std::u16string &) {
         doc->SetEncryption(TRUE);
         doc->SetCompression(TRUE);
     },
     "compressed+encrypted"},
    // Encryption is switched off only where a key has been made.
    {"EncryptionOffBeforeAnyKey",
     [](IKivXml *doc, const std::u16string &) {
         doc->SetEncryption(TRUE);
         doc->SetEncryption(FALSE);
     },
     "encrypted"},
    {"EncryptionOffAfterEncryptedSave",
     [](IKivXml *doc, const std::u16string &scratch) {
         doc->SetEncryption(TRUE);
         doc->SaveFile(scratch.c_str());
         doc->SetEncryption(FALSE);
     },
     "plain"},
    // A close keeps the settings, and the knowledge that a key was made.
    {"SettingsSurviveANewLoad",
     [](IKivXml *doc, const std::u16string &) {
         doc->SetEncryption(TRUE);
         doc->SetCompression(TRUE);
         doc->LoadFromText(U16(kText).c_str());
     },
     "compressed+encrypted"},
    {"EncryptionOffAfterReload",
     [](IKivXml *doc, const std::u16string &scratch) {
         doc->SetEncryption(TRUE);
         doc->SaveFile(scratch.c_str());
         doc->LoadFromText(U16(kText).c_str());
         doc->SetEncryption(FALSE);
     },
     "plain"},
};

class SettingsTest : public ProtectionTest, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(SettingsTest, ChooseTheMode) {
    Document doc = Load(kText);
    GetParam().steps(doc.get(), Path("scratch.xml"));
    const Decoded content = ContentOf(doc.get());
    EXPECT_EQ(content.mode, GetParam().mode);
    EXPECT_EQ(content.text, kText);
    EXPECT_THAT(log.errors(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Steps, SettingsTest, ::testing::ValuesIn(kSettingsCases),
                         [](const auto &info) { return std::string(info.param.name); });

// Each encrypted save makes the key of its own target; the document can be
// saved again and again, then released (the sanitizer build checks that
// every key, context and buffer is released once).
TEST_F(ProtectionTest, EveryEncryptedSaveUsesItsTargetsKey) {
    Document doc = Load(kText);
    doc->SetEncryption(TRUE);
    for (const char *name : {"one.xml", "two.xml", "one.xml"}) EXPECT_EQ(doc->SaveFile(Path(name).c_str()), S_OK);
    doc->SetCompression(TRUE);
    EXPECT_EQ(doc->SaveFile(Path("three.xml").c_str()), S_OK);
    doc.reset();
    for (const char *name : {"one.xml", "two.xml", "three.xml"}) EXPECT_EQ(Decode(File(name)).text, kText) << name;
    EXPECT_THAT(log.errors(), IsEmpty());
}

}  // namespace
}  // namespace storage_test
