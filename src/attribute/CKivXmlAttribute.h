// The attribute object: one named attribute of one element.
//
// It never holds the libxml2 attribute: it keeps the element and the name
// and finds the attribute again by name on every call, so changes to the
// element's attributes never leave it pointing at freed memory. Objects
// that fail construction are invalid for good and never reach a caller.
#ifndef ORVANE_CKIVXMLATTRIBUTE_H
#define ORVANE_CKIVXMLATTRIBUTE_H

#include <orvane/KivXml.h>

#include "support/LibXml.h"
#include "text/TextConversion.h"

class CKivXmlAttribute final : public IKivXmlAttribute {
public:
    // Valid when pNode, found again by its node path in XMLDoc, carries
    // the attribute strAttrName.
    CKivXmlAttribute(xmlDocPtr XMLDoc, xmlNodePtr pNode, LPCWSTR strAttrName);
    ~CKivXmlAttribute() = default;
    CKivXmlAttribute(const CKivXmlAttribute &) = delete;
    CKivXmlAttribute &operator=(const CKivXmlAttribute &) = delete;

    // The creation rule: hands pNew (just allocated with new (std::nothrow),
    // so possibly NULL) out through ppAttribute when it is valid; otherwise
    // destroys it directly, sets *ppAttribute to NULL and logs the
    // creator's "<pszCreator>(...) FAILED ..." message. S_OK or E_FAIL.
    static HRESULT HandOut(CKivXmlAttribute *pNew, IKivXmlAttribute **ppAttribute, const char16_t *pszCreator);

    BSTR ORVANE_CALL GetStringValue() override;
    LONG ORVANE_CALL GetLongValue() override;
    LONGLONG ORVANE_CALL GetLong64Value() override;
    HRESULT ORVANE_CALL SetStringValue(LPCWSTR pstrValue) override;
    HRESULT ORVANE_CALL SetLongValue(LONG lValue) override;
    HRESULT ORVANE_CALL SetLong64Value(LONGLONG llValue) override;
    BSTR ORVANE_CALL GetName() override;
    HRESULT ORVANE_CALL SetName(LPCWSTR pstrName) override;
    void ORVANE_CALL Release() override;
    HRESULT ORVANE_CALL isOK() override;

private:
    HRESULT Store(HRESULT hr) {
        m_hrLast = hr;
        return hr;
    }
    const xmlChar *Utf8Name() const { return m_name.bytes(); }
    // The value under the current name (libxml2's copy), or NULL.
    XmlText ReadProperty() const;
    // The value under the current name into strValue: S_OK, or E_FAIL with
    // pszMissing logged (its %s, if any, is the name). Stores nothing.
    HRESULT ReadValue(CKivString &strValue, const char16_t *pszMissing) const;
    // Sets the value under the current name, creating the attribute when it
    // is missing: S_OK, or E_FAIL with pszFailure logged (its two %s are
    // the name and pstrValue, the wide form of pszUtf8Value).
    HRESULT WriteValue(const char *pszUtf8Value, LPCWSTR pstrValue, const char16_t *pszFailure);
    HRESULT WriteNumber(const CKivString &strNumber, const char16_t *pszFailure);
    BSTR ReadStringValue();

    BOOL m_bValid = FALSE;
    HRESULT m_hrLast = E_FAIL;
    xmlDocPtr m_pXMLDoc = nullptr;
    xmlNodePtr m_pNode = nullptr;
    CKivString m_strName;
    // m_strName as libxml2 takes it, made once per name.
    Utf8Buffer m_name{u""};
};

#endif
