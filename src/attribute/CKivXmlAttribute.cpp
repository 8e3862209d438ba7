#include "CKivXmlAttribute.h"

#include <cstring>
#include <memory>

#include "DecimalText.h"
#include "node/ElementLookup.h"
#include "support/CKivLog.h"
#include "support/Edition.h"
#include "support/Trace.h"

namespace {

constexpr const char16_t *kGetStringValue = u"CKivXmlAttribute::GetStringValue(void)";
// Constructor messages carry the full parameter list.
constexpr const char16_t *kConstructor =
    u"CKivXmlAttribute::CKivXmlAttribute(xmlDocPtr XMLDoc,xmlNodePtr pNode,LPCTSTR strAttrName)";

// The x86 edition traces GetStringValue, and only it, ending the trace with
// one of three fixed texts; the x64 edition writes no exit trace for it.
void ExitGetStringValue(const char16_t *pszText) {
    if constexpr (edition::kGuardsGetStringValue) CKivLog::GetInstance()->ExitFunction(pszText);
}

}  // namespace

CKivXmlAttribute::CKivXmlAttribute(xmlDocPtr XMLDoc, xmlNodePtr pNode, LPCWSTR strAttrName) : m_pXMLDoc(XMLDoc) {
    ElementLookup lookup(XMLDoc, pNode);
    switch (lookup.GetStatus()) {
        case ElementLookup::kNoPath:
            Fail(E_FAIL, u"%s xmlGetNodePath FAILED Invalid node path", kConstructor);
            return;
        case ElementLookup::kNoContext:
            Fail(E_FAIL, u"%s xmlXPathNewContext FAILED", kConstructor);
            return;
        case ElementLookup::kNotEvaluable:
            Fail(E_FAIL, u"%s Node Not found", kConstructor);
            return;
        case ElementLookup::kEvaluated:
            break;
    }
    Utf8Buffer name(strAttrName);
    if (!name) {
        Fail(E_OUTOFMEMORY, u"%s strAttrName too large, out of memory", kConstructor);
        return;
    }
    // The first element of the set that carries the attribute is the one;
    // each element before it without the attribute is reported.
    lookup.ForEachElement([&](xmlNode *pElement) {
        m_pNode = pElement;
        if (!XmlText(xmlGetProp(pElement, name.bytes()))) {
            Fail(E_FAIL, u"%s Attribute %s Not found", kConstructor, strAttrName);
            return true;
        }
        m_strName = strAttrName;
        m_name = std::move(name);
        m_hrLast = S_OK;
        m_bValid = TRUE;
        return false;
    });
}

HRESULT CKivXmlAttribute::HandOut(CKivXmlAttribute *pNew, IKivXmlAttribute **ppAttribute, const char16_t *pszCreator) {
    std::unique_ptr<CKivXmlAttribute> pAttr(pNew);
    *ppAttribute = nullptr;
    if (!pAttr) return Fail(E_FAIL, u"%s(...) FAILED create new CKivXmlAttribute pAttr=NULL", pszCreator);
    if (!pAttr->m_bValid)
        return Fail(E_FAIL, u"%s(...) FAILED pAttr->isOK()=FALSE Invalid return Attribute", pszCreator);
    *ppAttribute = pAttr.release();
    return S_OK;
}

XmlText CKivXmlAttribute::ReadProperty() const { return XmlText(xmlGetProp(m_pNode, Utf8Name())); }

HRESULT CKivXmlAttribute::ReadValue(CKivString &strValue, const char16_t *pszMissing) const {
    XmlText pValue = ReadProperty();
    if (!pValue) return Fail(E_FAIL, pszMissing, m_strName.GetString());
    Utf8ToWide(reinterpret_cast<const char *>(pValue.get()), strValue);
    return S_OK;
}

HRESULT CKivXmlAttribute::WriteValue(const char *pszUtf8Value, LPCWSTR pstrValue, const char16_t *pszFailure) {
    if (!xmlSetProp(m_pNode, Utf8Name(), reinterpret_cast<const xmlChar *>(pszUtf8Value)))
        return Fail(E_FAIL, pszFailure, m_strName.GetString(), pstrValue);
    return S_OK;
}

HRESULT CKivXmlAttribute::WriteNumber(const CKivString &strNumber, const char16_t *pszFailure) {
    // At most 20 characters ("-9223372036854775808"), three bytes each at
    // most, and the terminator.
    char utf8[3 * 20 + 1];
    return WriteValue(WideToUtf8(strNumber, utf8), strNumber, pszFailure);
}

BSTR ORVANE_CALL CKivXmlAttribute::GetStringValue() {
    if constexpr (edition::kGuardsGetStringValue) {
        CKivLog::GetInstance()->EnterFunction(kGetStringValue);
        try {
            return ReadStringValue();
        } catch (...) {
            Store(E_OUTOFMEMORY);
            ExitGetStringValue(u"CKivXmlAttribute::GetStringValue(void) Catch Error");
            return nullptr;
        }
    }
    Trace trace(kGetStringValue);
    return ReadStringValue();
}

BSTR CKivXmlAttribute::ReadStringValue() {
    if (!m_bValid) {
        Store(Fail(E_HANDLE, u"CKivXmlAttribute::GetStringValue(...) Invalid CKivXmlAttribute"));
        ExitGetStringValue(u"CKivXmlAttribute::GetStringValue(void) return NULL");
        return nullptr;
    }
    CKivString strValue;
    if (FAILED(Store(ReadValue(strValue, u"CKivXmlAttribute::GetStringValue(...) xmlGetProp FAILED AttrValue=NULL")))) {
        ExitGetStringValue(u"CKivXmlAttribute::GetStringValue(void) return NULL");
        return nullptr;
    }
    BSTR bstr = SysAllocString(strValue);
    if (!bstr) {
        Store(E_OUTOFMEMORY);
        ExitGetStringValue(u"CKivXmlAttribute::GetStringValue(void) Catch Error");
        return nullptr;
    }
    Store(S_OK);
    ExitGetStringValue(kGetStringValue);
    return bstr;
}

LONG ORVANE_CALL CKivXmlAttribute::GetLongValue() {
    Trace trace(u"CKivXmlAttribute::GetLongValue(void)");
    if (!m_bValid) {
        Store(Fail(E_HANDLE, u"CKivXmlAttribute::GetLongValue(...) Invalid CKivXmlAttribute"));
        return 0;
    }
    CKivString strValue;
    if (FAILED(Store(ReadValue(strValue, u"CKivXmlAttribute::GetLongValue(...) xmlGetProp FAILED AttrValue=NULL"))))
        return 0;
    return ParseLong(strValue);
}

LONGLONG ORVANE_CALL CKivXmlAttribute::GetLong64Value() {
    Trace trace(u"CKivXmlAttribute::GetLong64Value(void)");
    if (!m_bValid) {
        Store(Fail(E_HANDLE, u"CKivXmlAttribute::GetLong64Value(...) Invalid CKivXmlAttribute"));
        return 0;
    }
    CKivString strValue;
    if (FAILED(Store(
            ReadValue(strValue, u"CKivXmlAttribute::GetLong64Value(...) xmlGetProp FAILED AttrValue=NULL Name=%s"))))
        return 0;
    return ParseLong64(strValue);
}

HRESULT ORVANE_CALL CKivXmlAttribute::SetStringValue(LPCWSTR pstrValue) {
    Trace trace(u"CKivXmlAttribute::SetStringValue(LPCTSTR pstrValue=%s)", pstrValue);
    if (!m_bValid)
        return trace.Exit(Store(Fail(E_HANDLE, u"CKivXmlAttribute::SetStringValue(...) Invalid CKivXmlAttribute")));
    if (!pstrValue) return trace.Exit(Store(Fail(E_POINTER, u"CKivXmlAttribute::SetStringValue pstrValue=NULL")));
    Utf8Buffer value(pstrValue);
    if (!value)
        return trace.Exit(
            Store(Fail(E_OUTOFMEMORY, u"CKivXmlAttribute::SetStringValue pstrValue too large, out of memory")));
    return trace.Exit(Store(WriteValue(value.get(), pstrValue,
                                       u"CKivXmlAttribute::SetStringValue(...) xmlSetProp FAILED Name=%s Value=%s")));
}

HRESULT ORVANE_CALL CKivXmlAttribute::SetLongValue(LONG lValue) {
    Trace trace(u"CKivXmlAttribute::SetLongValue(LONG lValue=%d)", lValue);
    if (!m_bValid)
        return trace.Exit(Store(Fail(E_HANDLE, u"CKivXmlAttribute::SetLongValue(...) Invalid CKivXmlAttribute")));
    CKivString strNumber;
    strNumber.Format(u"%d", lValue);
    return trace.Exit(
        Store(WriteNumber(strNumber, u"CKivXmlAttribute::SetLongValue(...) xmlSetProp FAILED Name=%s Value=%s")));
}

HRESULT ORVANE_CALL CKivXmlAttribute::SetLong64Value(LONGLONG llValue) {
    Trace trace(u"CKivXmlAttribute::SetLong64Value(LONGLONG llValue=%I64d)", llValue);
    if (!m_bValid)
        return trace.Exit(Store(Fail(E_HANDLE, u"CKivXmlAttribute::SetLong64Value(...) Invalid CKivXmlAttribute")));
    CKivString strNumber;
    strNumber.Format(u"%I64d", llValue);
    return trace.Exit(
        Store(WriteNumber(strNumber, u"CKivXmlAttribute::SetLong64Value(...) xmlSetProp FAILED Name=%s Value=%s")));
}

// The held name, without consulting the document: it answers also after the
// attribute was removed from the element.
BSTR ORVANE_CALL CKivXmlAttribute::GetName() {
    Trace trace(u"CKivXmlAttribute::GetName(void)");
    if (!m_bValid) {
        Store(Fail(E_HANDLE, u"CKivXmlAttribute::GetName(...) Invalid CKivXmlAttribute"));
        return nullptr;
    }
    BSTR bstr = SysAllocString(m_strName);
    Store(bstr ? S_OK : E_OUTOFMEMORY);
    return bstr;
}

// The value moves to the new name, which comes last among the element's
// attributes unless the element has one of that name already (that one
// takes the value in its own place); the old name goes.
HRESULT ORVANE_CALL CKivXmlAttribute::SetName(LPCWSTR pstrName) {
    Trace trace(u"CKivXmlAttribute::SetName(LPCTSTR pstrName=%s)", pstrName);
    if (!m_bValid) return trace.Exit(Store(Fail(E_HANDLE, u"CKivXmlAttribute::SetName(...) Invalid CKivXmlAttribute")));
    if (!pstrName) return trace.Exit(Store(Fail(E_POINTER, u"CKivXmlAttribute::SetName pstrName=NULL")));
    Utf8Buffer name(pstrName);
    if (!name)
        return trace.Exit(Store(Fail(E_OUTOFMEMORY, u"CKivXmlAttribute::SetName pstrName too large, out of memory")));
    XmlText pValue = ReadProperty();
    if (!pValue)
        return trace.Exit(
            Store(Fail(E_FAIL, u"CKivXmlAttribute::SetName(...) xmlGetProp FAILED Name=%s", m_strName.GetString())));
    // The same name for libxml2: setting and then removing it would delete
    // the attribute, so it is left as it is.
    if (std::strcmp(name.get(), m_name.get()) == 0) return trace.Exit(Store(S_OK));
    if (!xmlSetProp(m_pNode, name.bytes(), pValue.get())) {
        CKivString strValue;
        Utf8ToWide(reinterpret_cast<const char *>(pValue.get()), strValue);
        return trace.Exit(Store(Fail(E_FAIL, u"CKivXmlAttribute::SetName(...) xmlSetProp FAILED Name=%s Value=%s",
                                     m_strName.GetString(), strValue.GetString())));
    }
    xmlUnsetProp(m_pNode, Utf8Name());
    m_strName = pstrName;
    m_name = std::move(name);
    return trace.Exit(Store(S_OK));
}

void ORVANE_CALL CKivXmlAttribute::Release() { delete this; }

HRESULT ORVANE_CALL CKivXmlAttribute::isOK() { return m_hrLast; }
