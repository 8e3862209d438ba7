// GoogleTest's main for the Windows builds. GoogleTest hands every failure
// and skip message to OutputDebugStringA as well, which raises an exception
// for a debugger to catch. Under wine's 32-bit loader run by qemu-i386 (how
// scripts/test-windows runs the x86 tests on kernels without 32-bit
// support) unwinding from that exception crashes the program. This main
// keeps GoogleTest's printer for everything else and prints the messages
// itself, without that call.
#include <cstdio>

#include <gtest/gtest.h>

namespace {

using ::testing::TestEventListener;
using ::testing::TestInfo;
using ::testing::TestPartResult;
using ::testing::TestSuite;
using ::testing::UnitTest;

class MessagePrinter : public TestEventListener {
public:
    explicit MessagePrinter(TestEventListener *pPrinter) : m_pPrinter(pPrinter) {}
    ~MessagePrinter() override { delete m_pPrinter; }
    MessagePrinter(const MessagePrinter &) = delete;
    MessagePrinter &operator=(const MessagePrinter &) = delete;

    void OnTestPartResult(const TestPartResult &result) override {
        if (result.type() == TestPartResult::kSuccess) return;
        std::printf("%s:%d: %s\n%s\n", result.file_name() ? result.file_name() : "unknown file", result.line_number(),
                    result.skipped() ? "Skipped" : "Failure", result.message());
        std::fflush(stdout);
    }

    void OnTestProgramStart(const UnitTest &test) override { m_pPrinter->OnTestProgramStart(test); }
    void OnTestIterationStart(const UnitTest &test, int iteration) override {
        m_pPrinter->OnTestIterationStart(test, iteration);
    }
    void OnEnvironmentsSetUpStart(const UnitTest &test) override { m_pPrinter->OnEnvironmentsSetUpStart(test); }
    void OnEnvironmentsSetUpEnd(const UnitTest &test) override { m_pPrinter->OnEnvironmentsSetUpEnd(test); }
    void OnTestSuiteStart(const TestSuite &suite) override { m_pPrinter->OnTestSuiteStart(suite); }
    void OnTestCaseStart(const TestSuite &suite) override { m_pPrinter->OnTestCaseStart(suite); }
    void OnTestStart(const TestInfo &info) override { m_pPrinter->OnTestStart(info); }
    void OnTestDisabled(const TestInfo &info) override { m_pPrinter->OnTestDisabled(info); }
    void OnTestEnd(const TestInfo &info) override { m_pPrinter->OnTestEnd(info); }
    void OnTestSuiteEnd(const TestSuite &suite) override { m_pPrinter->OnTestSuiteEnd(suite); }
    void OnTestCaseEnd(const TestSuite &suite) override { m_pPrinter->OnTestCaseEnd(suite); }
    void OnEnvironmentsTearDownStart(const UnitTest &test) override { m_pPrinter->OnEnvironmentsTearDownStart(test); }
    void OnEnvironmentsTearDownEnd(const UnitTest &test) override { m_pPrinter->OnEnvironmentsTearDownEnd(test); }
    void OnTestIterationEnd(const UnitTest &test, int iteration) override {
        m_pPrinter->OnTestIterationEnd(test, iteration);
    }
    void OnTestProgramEnd(const UnitTest &test) override { m_pPrinter->OnTestProgramEnd(test); }

private:
    TestEventListener *m_pPrinter;
};

}  // namespace

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::TestEventListeners &listeners = UnitTest::GetInstance()->listeners();
    listeners.Append(new MessagePrinter(listeners.Release(listeners.default_result_printer())));
    return RUN_ALL_TESTS();
}
