// Attribute objects: the value as text and as 32-bit and 64-bit integers,
// the name, and how they behave when the attribute goes away.
#include <cstdint>
#include <limits>

#include "NodeTest.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr LONG kLongMax = std::numeric_limits<LONG>::max();
constexpr LONG kLongMin = std::numeric_limits<LONG>::min();
constexpr LONGLONG kLong64Max = std::numeric_limits<LONGLONG>::max();
constexpr LONGLONG kLong64Min = std::numeric_limits<LONGLONG>::min();

class AttributeTest : public NodeTest {
protected:
    // An attribute v="0" on the root element of a fresh document.
    void SetUp() override {
        m_doc = Load("<a v=\"0\" w=\"1\" x=\"2\"/>");
        m_node = Root(m_doc.get());
        m_attribute = AttributeOf(m_node.get(), u"v");
        ASSERT_TRUE(m_attribute);
        log.clear();
    }

    Document m_doc;
    Node m_node;
    Attribute m_attribute;
};

struct NumberCase {
    const char *name;
    std::u16string text;
    LONG lValue;
    LONGLONG llValue;
};

class IntegerGetterTest : public AttributeTest, public ::testing::WithParamInterface<NumberCase> {};

// No text makes a getter fail: what cannot be read gives 0 and S_OK.
TEST_P(IntegerGetterTest, ReadsLikeARuntimeNumberParser) {
    const NumberCase &c = GetParam();
    ASSERT_EQ(m_attribute->SetStringValue(c.text.c_str()), S_OK);
    EXPECT_EQ(m_attribute->GetLongValue(), c.lValue);
    EXPECT_EQ(m_attribute->isOK(), S_OK);
    EXPECT_EQ(m_attribute->GetLong64Value(), c.llValue);
    EXPECT_EQ(m_attribute->isOK(), S_OK);
    EXPECT_THAT(log.errors(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IntegerGetterTest,
    ::testing::Values(
        NumberCase{"Plain", u"42", 42, 42}, NumberCase{"LeadingBlankTrailingText", u" 42abc", 42, 42},
        NumberCase{"Plus", u"+7", 7, 7}, NumberCase{"Minus", u"-15", -15, -15},
        NumberCase{"LeadingZeros", u"000123", 123, 123}, NumberCase{"MinusZero", u"-0", 0, 0},
        NumberCase{"StopsAtBlank", u"12 34", 12, 12}, NumberCase{"StopsAtPoint", u"3.9", 3, 3},
        NumberCase{"HexIsNotRead", u"0x1A", 0, 0}, NumberCase{"Letters", u"abc", 0, 0}, NumberCase{"Empty", u"", 0, 0},
        NumberCase{"SignOnly", u"-", 0, 0}, NumberCase{"TwoSigns", u"+-5", 0, 0},
        NumberCase{"BlankAfterSign", u"- 5", 0, 0}, NumberCase{"ControlWhiteSpace", u"\t\n\v\f\r-3", -3, -3},
        NumberCase{"UnicodeWhiteSpace", u"\u00a0\u2003\u3000 5", 5, 5}, NumberCase{"NotWhiteSpace", u"\u200b5", 0, 0},
        NumberCase{"FullWidth", u"\uff14\uff12", 42, 42}, NumberCase{"ArabicIndic", u"-\u0661\u0669", -19, -19},
        NumberCase{"Devanagari", u"\u0967\u0966", 10, 10}, NumberCase{"MixedRuns", u"1\u0e52\u17e3\u1819", 1239, 1239},
        NumberCase{"LastOfEachRunEdge", u"\u06f9\u0d6f\u0f29\u1049", 9999, 9999},
        NumberCase{"JustOutsideARun", u"\u065f1", 0, 0}, NumberCase{"FullWidthColon", u"\uff1a1", 0, 0},
        NumberCase{"LongMax", u"2147483647", kLongMax, 2147483647LL},
        NumberCase{"LongMaxPlusOne", u"2147483648", kLongMax, 2147483648LL},
        NumberCase{"LongMin", u"-2147483648", kLongMin, -2147483648LL},
        NumberCase{"LongMinMinusOne", u"-2147483649", kLongMin, -2147483649LL},
        NumberCase{"Long64Max", u"9223372036854775807", kLongMax, kLong64Max},
        NumberCase{"Long64MaxPlusOne", u"9223372036854775808", kLongMax, kLong64Max},
        NumberCase{"Long64Min", u"-9223372036854775808", kLongMin, kLong64Min},
        NumberCase{"HugeNegative", u"-99999999999999999999", kLongMin, kLong64Min},
        NumberCase{"HugeWithTail", u"99999999999999999999999x7", kLongMax, kLong64Max}),
    [](const auto &info) { return std::string(info.param.name); });

struct SetterCase {
    const char *name;
    bool wide;
    LONGLONG value;
    const char *text;
};

class IntegerSetterTest : public AttributeTest, public ::testing::WithParamInterface<SetterCase> {};

TEST_P(IntegerSetterTest, WritesPlainDecimal) {
    const SetterCase &c = GetParam();
    HRESULT hr = c.wide ? m_attribute->SetLong64Value(c.value) : m_attribute->SetLongValue(static_cast<LONG>(c.value));
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(m_attribute->isOK(), S_OK);
    EXPECT_EQ(ValueOf(m_attribute.get()), c.text);
    EXPECT_EQ(m_attribute->GetLong64Value(), c.wide ? c.value : static_cast<LONG>(c.value));
}

INSTANTIATE_TEST_SUITE_P(Values, IntegerSetterTest,
                         ::testing::Values(SetterCase{"Negative", false, -5, "-5"}, SetterCase{"Zero", false, 0, "0"},
                                           SetterCase{"LongMax", false, kLongMax, "2147483647"},
                                           SetterCase{"LongMin", false, kLongMin, "-2147483648"},
                                           SetterCase{"Long64Max", true, kLong64Max, "9223372036854775807"},
                                           SetterCase{"Long64Min", true, kLong64Min, "-9223372036854775808"},
                                           SetterCase{"Long64Small", true, 12, "12"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(AttributeTest, StringValueRoundTrip) {
    EXPECT_EQ(ValueOf(m_attribute.get()), "0");
    for (const char16_t *value : {u"", u" ", u"a<b & \"c\"", u"caf\u00e9 \u20ac \xD83D\xDE00"}) {
        EXPECT_EQ(m_attribute->SetStringValue(value), S_OK);
        BSTR read = m_attribute->GetStringValue();
        ASSERT_NE(read, nullptr) << "an empty value is an empty string";
        EXPECT_EQ(Take(read), U8(value));
        EXPECT_EQ(m_attribute->isOK(), S_OK);
    }
    EXPECT_THAT(log.errors(), IsEmpty());
}

TEST_F(AttributeTest, AttributeRemovedFromTheElement) {
    ASSERT_EQ(m_node->RemoveAttribute(u"v"), S_OK);
    log.clear();
    EXPECT_EQ(m_attribute->GetStringValue(), nullptr);
    EXPECT_EQ(m_attribute->isOK(), E_FAIL);
    EXPECT_EQ(m_attribute->GetLongValue(), 0);
    EXPECT_EQ(m_attribute->GetLong64Value(), 0);
    EXPECT_EQ(m_attribute->SetName(u"other"), E_FAIL);
    EXPECT_EQ(Take(m_attribute->GetName()), "v") << "the held name answers";
    EXPECT_EQ(m_attribute->isOK(), S_OK);
    EXPECT_THAT(log.errors(),
                ElementsAre("CKivXmlAttribute::GetStringValue(...) xmlGetProp FAILED AttrValue=NULL",
                            "CKivXmlAttribute::GetLongValue(...) xmlGetProp FAILED AttrValue=NULL",
                            "CKivXmlAttribute::GetLong64Value(...) xmlGetProp FAILED AttrValue=NULL Name=v",
                            "CKivXmlAttribute::SetName(...) xmlGetProp FAILED Name=v"));
    // A setter creates it again, as the last attribute.
    EXPECT_EQ(m_attribute->SetStringValue(u"back"), S_OK);
    EXPECT_EQ(m_attribute->isOK(), S_OK);
    EXPECT_THAT(AttributesOf(m_node.get()), ElementsAre("w=1", "x=2", "v=back"));
    EXPECT_EQ(m_attribute->SetLongValue(3), S_OK);
    EXPECT_EQ(ValueOf(m_attribute.get()), "3");
}

struct RenameCase {
    const char *name;
    std::u16string newName;
    std::vector<std::string> attributes;  // of the element afterwards
    std::string objectName;
};

class AttributeRenameTest : public AttributeTest, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(AttributeRenameTest, MovesTheValue) {
    const RenameCase &c = GetParam();
    EXPECT_EQ(m_attribute->SetName(c.newName.c_str()), S_OK);
    EXPECT_EQ(m_attribute->isOK(), S_OK);
    EXPECT_EQ(Take(m_attribute->GetName()), c.objectName);
    EXPECT_EQ(ValueOf(m_attribute.get()), "0");
    EXPECT_EQ(AttributesOf(m_node.get()), c.attributes);
    EXPECT_THAT(log.errors(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Names, AttributeRenameTest,
                         ::testing::Values(
                             // The re-created attribute comes last.
                             RenameCase{"NewName", u"n\u00e9w", {"w=1", "x=2", "n\u00e9w=0"}, "n\u00e9w"},
                             // An attribute of that name takes the value in its own place.
                             RenameCase{"ExistingName", u"x", {"w=1", "x=0"}, "x"},
                             // Left as it is instead of being deleted.
                             RenameCase{"SameName", u"v", {"v=0", "w=1", "x=2"}, "v"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(AttributeTest, NullArgumentsChangeNothing) {
    EXPECT_EQ(m_attribute->SetStringValue(nullptr), E_POINTER);
    EXPECT_EQ(m_attribute->isOK(), E_POINTER);
    EXPECT_EQ(m_attribute->SetName(nullptr), E_POINTER);
    EXPECT_THAT(log.errors(), ElementsAre("CKivXmlAttribute::SetStringValue pstrValue=NULL",
                                          "CKivXmlAttribute::SetName pstrName=NULL"));
    EXPECT_THAT(AttributesOf(m_node.get()), ElementsAre("v=0", "w=1", "x=2"));
    EXPECT_EQ(Take(m_attribute->GetName()), "v");
}

// An attribute object refers to the element, not to the node object.
TEST_F(AttributeTest, OutlivesItsNodeObject) {
    m_node.reset();
    EXPECT_EQ(m_attribute->SetLongValue(77), S_OK);
    EXPECT_EQ(ValueOf(AttributeOf(Root(m_doc.get()).get(), u"v").get()), "77");
}

// The x86 edition traces GetStringValue on every path, with fixed texts.
TEST_F(AttributeTest, GetStringValueTraceOfAFailure) {
    ASSERT_EQ(m_node->RemoveAttribute(u"v"), S_OK);
    log.clear();
    EXPECT_EQ(m_attribute->GetStringValue(), nullptr);
    if (edition::kTracesOperations) {
        EXPECT_THAT(log.traces(), ElementsAre("> CKivXmlAttribute::GetStringValue(void)"));
    } else {
        EXPECT_THAT(log.traces(), ElementsAre("> CKivXmlAttribute::GetStringValue(void)",
                                              "< CKivXmlAttribute::GetStringValue(void) return NULL"));
    }
}

TEST_F(AttributeTest, TracesOfEveryOperation) {
    ValueOf(m_attribute.get());
    m_attribute->GetLongValue();
    m_attribute->GetLong64Value();
    m_attribute->SetStringValue(u"s");
    m_attribute->SetLongValue(-1);
    m_attribute->SetLong64Value(kLong64Min);
    Take(m_attribute->GetName());
    m_attribute->SetName(u"v2");
    m_attribute->isOK();
    if (edition::kTracesOperations) {
        EXPECT_THAT(log.traces(),
                    ElementsAre("> CKivXmlAttribute::GetStringValue(void)", "> CKivXmlAttribute::GetLongValue(void)",
                                "> CKivXmlAttribute::GetLong64Value(void)",
                                "> CKivXmlAttribute::SetStringValue(LPCTSTR pstrValue=s)", "< 0",
                                "> CKivXmlAttribute::SetLongValue(LONG lValue=-1)", "< 0",
                                "> CKivXmlAttribute::SetLong64Value(LONGLONG llValue=-9223372036854775808)", "< 0",
                                "> CKivXmlAttribute::GetName(void)", "> CKivXmlAttribute::SetName(LPCTSTR pstrName=v2)",
                                "< 0"));
    } else {
        // Only GetStringValue, with its fixed exit text.
        EXPECT_THAT(log.traces(), ElementsAre("> CKivXmlAttribute::GetStringValue(void)",
                                              "< CKivXmlAttribute::GetStringValue(void)"));
    }
}

}  // namespace
