#include "OrvaneTest.h"
#include "support/CKivLog.h"
#include "support/Trace.h"

namespace {

using ::testing::ElementsAre;

TEST(Log, SinkReceivesKindsAndFormattedText) {
    LogCapture log;
    CKivLog *p = CKivLog::GetInstance();
    p->AddError(u"CKivXml::X(...) Node %s Not found %d", u"/a\u00e9", 7);
    p->EnterFunction(u"CKivXmlNode::GetChildAt(LONG lIndex=%d,IKivXmlNode **ppNode)", -1);
    EXPECT_EQ(p->ExitFunction(static_cast<int>(E_INVALIDARG)), static_cast<int>(E_INVALIDARG));
    p->ExitFunction();
    EXPECT_STREQ(reinterpret_cast<const char *>(p->ExitFunction(u"fixed")), reinterpret_cast<const char *>(u"fixed"));
    EXPECT_THAT(log.errors(), ElementsAre("CKivXml::X(...) Node /a\u00e9 Not found 7"));
    EXPECT_THAT(log.traces(), ElementsAre("> CKivXmlNode::GetChildAt(LONG lIndex=-1,IKivXmlNode **ppNode)",
                                          "< -2147024809", "< ", "< fixed"));
}

TEST(Log, FailLogsAndReturnsTheCode) {
    LogCapture log;
    EXPECT_EQ(Fail(E_POINTER, u"CKivXml::GetNode(...) pstrNodePath=NULL"), E_POINTER);
    EXPECT_EQ(Fail(E_FAIL, u"100%% %s", u"sure"), E_FAIL);
    EXPECT_THAT(log.errors(), ElementsAre("CKivXml::GetNode(...) pstrNodePath=NULL", "100% sure"));
}

TEST(Log, DefaultWritesErrorsToStandardErrorAndDropsTraces) {
    ::testing::internal::CaptureStderr();
    CKivLog::GetInstance()->AddError(u"first %d", 1);
    CKivLog::GetInstance()->EnterFunction(u"trace");
    CKivLog::GetInstance()->ExitFunction(0);
    CKivLog::GetInstance()->AddError(u"second \u00e9");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "first 1\nsecond \xC3\xA9\n");
}

TEST(Log, TraceFollowsTheEdition) {
    LogCapture log;
    {
        Trace trace(u"CKivXml::SaveFile(LPCWSTR pstrXMLFile = %s)", u"a.xml");
        EXPECT_EQ(trace.Exit(E_HANDLE), E_HANDLE);
    }
    {
        Trace trace(u"CKivXml::SetCompression(BOOL bCompression)");
        trace.Exit();
    }
    if (edition::kTracesOperations) {
        EXPECT_THAT(log.traces(), ElementsAre("> CKivXml::SaveFile(LPCWSTR pstrXMLFile = a.xml)", "< -2147024890",
                                              "> CKivXml::SetCompression(BOOL bCompression)", "< "));
    } else {
        EXPECT_THAT(log.traces(), ::testing::IsEmpty());
    }
}

}  // namespace
