#include "StorageTest.h"
#include "support/Edition.h"

namespace storage_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char *kCreateParseFailed =
    "CKivXml::Create(...) LoadFromText FAILED Invalid buffer -> (invalid root name ?)";

class CreateTest : public StorageTest {};

TEST_F(CreateTest, WritesDeclarationAndEmptyRootAndHandsItOut) {
    Document doc = NewDocument();
    IKivXmlNode *root = nullptr;
    ASSERT_EQ(doc->Create(Path("new.xml").c_str(), u"config", &root), S_OK);
    Node owned(root);
    EXPECT_EQ(Take(root->GetName()), "config");
    EXPECT_EQ(ReadBytes(File("new.xml")), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<config>\n</config>\n");
    EXPECT_THAT(log.errors(), IsEmpty());

    // The document remembers its file: a save without a name goes there.
    IKivXmlNode *child = nullptr;
    ASSERT_EQ(root->AddChild(u"item", &child), S_OK);
    Node(child).reset();
    ASSERT_EQ(doc->SaveFile(nullptr), S_OK);
    EXPECT_EQ(ReadBytes(File("new.xml")),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<config>\n<item/></config>\n");
}

TEST_F(CreateTest, NonAsciiRootAndPath) {
    Document doc = NewDocument();
    IKivXmlNode *root = nullptr;
    ASSERT_EQ(doc->Create(Path("r\u00e9pertoire.xml").c_str(), u"r\u00e9glages\u4e2d", &root), S_OK);
    Node owned(root);
    EXPECT_EQ(Take(root->GetName()), "r\u00e9glages\u4e2d");
    EXPECT_EQ(Decode(File("r\u00e9pertoire.xml")).text,
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<r\u00e9glages\u4e2d>\n</r\u00e9glages\u4e2d>\n");
}

TEST_F(CreateTest, NullArgumentsChangeNothing) {
    Document doc = Load("<open/>");
    IKivXmlNode *root = reinterpret_cast<IKivXmlNode *>(0x1);
    EXPECT_EQ(doc->Create(nullptr, nullptr, &root), E_POINTER);
    EXPECT_EQ(doc->Create(Path("a.xml").c_str(), nullptr, &root), E_POINTER);
    EXPECT_EQ(doc->Create(Path("a.xml").c_str(), u"a", nullptr), E_POINTER);
    EXPECT_EQ(root, reinterpret_cast<IKivXmlNode *>(0x1));
    EXPECT_THAT(log.errors(), ElementsAre("CKivXml::Create(...) pstrXMLFile=NULL", "CKivXml::Create(...) pstrRootName=NULL",
                                          "CKivXml::Create(...) ppRootNode=NULL"));
    EXPECT_THAT(Listing(), IsEmpty());
    IKivXmlNode *open = nullptr;
    EXPECT_EQ(doc->GetRootNode(&open), S_OK) << "the open document stays open";
    Node(open).reset();
}

TEST_F(CreateTest, RootNameThatIsNoXmlNameLeavesTheDocumentClosed) {
    for (const char16_t *name : {u"", u"two words", u"1st", u"a><b", u"a/"}) {
        Document doc = Load("<open/>");
        IKivXmlNode *root = reinterpret_cast<IKivXmlNode *>(0x1);
        EXPECT_EQ(doc->Create(Path("bad.xml").c_str(), name, &root), E_FAIL) << U8(name);
        EXPECT_EQ(root, reinterpret_cast<IKivXmlNode *>(0x1));
        EXPECT_THAT(log.errors(),
                    ElementsAre("CKivXml::LoadFromText Invalid XML buffer xmlParseMemory FAILED", kCreateParseFailed));
        log.clear();
        EXPECT_EQ(doc->GetRootNode(&root), E_HANDLE) << "closed";
        log.clear();
    }
    EXPECT_THAT(Listing(), IsEmpty());
}

TEST_F(CreateTest, FailedSaveKeepsTheNewDocumentOpenWithoutAName) {
    Document doc = NewDocument();
    IKivXmlNode *root = reinterpret_cast<IKivXmlNode *>(0x1);
    const std::u16string target = Path("missing/new.xml");
    EXPECT_EQ(doc->Create(target.c_str(), u"config", &root), E_FAIL);
    EXPECT_EQ(root, reinterpret_cast<IKivXmlNode *>(0x1));
    EXPECT_THAT(log.errors(), ElementsAre("CKivXml::SaveFile xmlSaveFormatFile FAILED FileName=" + U8(target.c_str()),
                                          "CKivXml::Create(...) SaveFile FAILED"));
    ASSERT_EQ(doc->GetRootNode(&root), S_OK);
    Node owned(root);
    EXPECT_EQ(Take(root->GetName()), "config");
    log.clear();
    EXPECT_EQ(doc->SaveFile(nullptr), E_FAIL) << "no file name was recorded";
}

TEST_F(CreateTest, UsesTheProtectionSettingsAsTheyStand) {
    Document doc = Load("<earlier/>");
    doc->SetCompression(TRUE);
    doc->SetEncryption(TRUE);
    IKivXmlNode *root = nullptr;
    ASSERT_EQ(doc->Create(Path("new.cfg").c_str(), u"settings", &root), S_OK);
    Node(root).reset();
    const Decoded decoded = Decode(File("new.cfg"));
    EXPECT_EQ(decoded.mode, "compressed+encrypted");
    EXPECT_EQ(decoded.text, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<settings>\n</settings>\n");

    Document again = NewDocument();
    ASSERT_EQ(again->LoadFile(Path("new.cfg").c_str()), S_OK);
    ASSERT_EQ(again->GetRootNode(&root), S_OK);
    EXPECT_EQ(Take(Node(root)->GetName()), "settings");
}

TEST_F(CreateTest, TracesHoldTheCallsItMakes) {
    if (!edition::kTracesOperations) GTEST_SKIP() << "the x86 edition does not trace Create";
    Document doc = NewDocument();
    IKivXmlNode *root = nullptr;
    const std::string path = U8(Path("t.xml").c_str());
    ASSERT_EQ(doc->Create(Path("t.xml").c_str(), u"r", &root), S_OK);
    Node(root).reset();
    EXPECT_THAT(log.traces(),
                ElementsAre("> CKivXml::Create(LPCWSTR pstrXMLFile = " + path + ",LPCWSTR pstrRootName = r,IKivXmlNode **ppRootNode)",
                            "> CKivXml::LoadFromText pstrText=<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<r>\n</r>", "< 0",
                            "> CKivXml::SaveFile(LPCWSTR pstrXMLFile = " + path + ")", "< 0",
                            "> CKivXml::GetRootNode(IKivXmlNode **ppNode)", "< 0", "< 0"));
}

}  // namespace
}  // namespace storage_test
