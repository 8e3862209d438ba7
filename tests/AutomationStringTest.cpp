#include <cstring>

#include "OrvaneTest.h"

namespace {

TEST(AutomationString, WindowsLayout) {
    BSTR b = SysAllocString(u"h\u00e9llo");
    ASSERT_NE(b, nullptr);
    uint32_t nBytes;
    std::memcpy(&nBytes, reinterpret_cast<const char *>(b) - 4, 4);
    EXPECT_EQ(nBytes, 10u);
    EXPECT_EQ(SysStringLen(b), 5u);
    EXPECT_EQ(b[5], 0);
    SysFreeString(b);
}

TEST(AutomationString, EdgeCases) {
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);
    Bstr empty(SysAllocString(u""));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SysStringLen(empty.get()), 0u);
    Bstr zeroed(SysAllocStringLen(nullptr, 3));
    ASSERT_NE(zeroed, nullptr);
    EXPECT_EQ(SysStringLen(zeroed.get()), 3u);
    EXPECT_EQ(zeroed.get()[0], 0);
    Bstr counted(SysAllocStringLen(u"a\0b", 3));
    EXPECT_EQ(SysStringLen(counted.get()), 3u);
    EXPECT_EQ(counted.get()[2], u'b');
    EXPECT_EQ(SysAllocStringLen(u"", 0xFFFFFFFFu), nullptr);
}

}  // namespace
