// The typical request from start to end on a real file: a protected
// configuration file edited in place and saved in the same mode.
#include "StorageTest.h"

namespace storage_test {
namespace {

using ::testing::IsEmpty;

class ProtectedFileScenarioTest : public StorageTest {};

TEST_F(ProtectedFileScenarioTest, EditInPlaceKeepsTheContainerCompressedAndEncrypted) {
    const std::u16string path = Path("r\u00e9glages/app.cfg");
    fs::create_directories(File("r\u00e9glages"));
    {
        Document writer = Load("<config><server port=\"8080\">primary</server></config>");
        writer->SetCompression(TRUE);
        writer->SetEncryption(TRUE);
        ASSERT_EQ(writer->SaveFile(path.c_str()), S_OK);
    }
    ASSERT_EQ(Decode(File("r\u00e9glages/app.cfg")).mode, "compressed+encrypted");
    log.clear();

    // 1-2: a new document loads the container.
    Document doc = NewDocument();
    ASSERT_EQ(doc->LoadFile(path.c_str()), S_OK);
    // 3: the element by XPath.
    IKivXmlNode *found = nullptr;
    ASSERT_EQ(doc->GetNode(u"/config/server", &found), S_OK);
    Node server(found);
    // 4: a numeric attribute read and written.
    IKivXmlAttribute *got = nullptr;
    ASSERT_EQ(server->GetAttribute(u"port", &got), S_OK);
    Attribute port(got);
    EXPECT_EQ(port->GetLongValue(), 8080);
    ASSERT_EQ(port->SetLongValue(8443), S_OK);
    // 5: the text replaced.
    ASSERT_EQ(server->SetText(u"backup \u2603"), S_OK);
    // 6: loading left compression as it was; switch it on and save in place.
    doc->SetCompression(TRUE);
    ASSERT_EQ(doc->SaveFile(path.c_str()), S_OK);
    // 7: objects before the document.
    port.reset();
    server.reset();
    doc.reset();
    EXPECT_THAT(log.errors(), IsEmpty());

    const Decoded decoded = Decode(File("r\u00e9glages/app.cfg"));
    EXPECT_EQ(decoded.mode, "compressed+encrypted");
    EXPECT_EQ(decoded.text, "<?xml version=\"1.0\"?>\n<config><server port=\"8443\">backup &#x2603;</server></config>\n");
    EXPECT_EQ(Listing(File("r\u00e9glages")), std::vector<std::string>{"app.cfg"});

    Document again = NewDocument();
    ASSERT_EQ(again->LoadFile(path.c_str()), S_OK);
    ASSERT_EQ(again->GetNode(u"/config/server", &found), S_OK);
    EXPECT_EQ(Take(Node(found)->GetText()), "backup \u2603");
}

}  // namespace
}  // namespace storage_test
