// The attributes of a node's element: counting, reaching by position,
// enumerating, finding by name, adding and removing. Every attribute handed
// out is a new attribute object that finds its attribute again by name.
#include <new>

#include "CKivXmlNode.h"
#include "attribute/CKivXmlAttribute.h"
#include "support/CKivLog.h"
#include "support/Trace.h"
#include "text/TextConversion.h"

HRESULT CKivXmlNode::HandOutAttribute(LPCWSTR pstrName, IKivXmlAttribute **ppAttribute, const char16_t *pszCreator) {
    return CKivXmlAttribute::HandOut(new (std::nothrow) CKivXmlAttribute(m_pXMLDoc, m_pNode, pstrName), ppAttribute,
                                     pszCreator);
}

xmlAttrPtr CKivXmlNode::PropertyAt(LONG lIndex) const {
    if (lIndex < 0) return nullptr;
    xmlAttrPtr pProperty = m_pNode->properties;
    for (; pProperty && lIndex > 0; --lIndex) pProperty = pProperty->next;
    return pProperty;
}

LONG ORVANE_CALL CKivXmlNode::GetAttributeCount() {
    Trace trace(u"CKivXmlNode::GetAttributeCount(void)");
    if (!m_bValid) {
        Store(Fail(E_HANDLE, u"CKivXmlNode::GetAttributeCount(...) Invalid CKivXmlNode"));
        return trace.Exit(0);
    }
    LONG lCount = 0;
    for (xmlAttrPtr pProperty = m_pNode->properties; pProperty; pProperty = pProperty->next) ++lCount;
    Store(S_OK);
    return trace.Exit(lCount);
}

HRESULT ORVANE_CALL CKivXmlNode::GetFirstAttribute(IKivXmlAttribute **ppAttribute) {
    Trace trace(u"CKivXmlNode::GetFirstAttribute(IKivXmlAttribute **ppAttribute)");
    if (!ppAttribute)
        return trace.Exit(Store(Fail(E_POINTER, u"CKivXmlNode::GetFirstAttribute(...) ppAttribute=NULL")));
    if (!m_bValid) return trace.Exit(Store(Fail(E_HANDLE, u"CKivXmlNode::GetFirstAttribute(...) Invalid CKivXmlNode")));
    m_lAttrIndex = 1;
    IKivXmlNode *pSelf = this;
    return trace.Exit(Store(pSelf->GetAttributeAt(0, ppAttribute)));
}

// The cursor moves on before the call, whatever it returns; only
// GetFirstAttribute sets it back.
HRESULT ORVANE_CALL CKivXmlNode::GetNextAttribute(IKivXmlAttribute **ppAttribute) {
    Trace trace(
        u"CKivXmlNode::GetNextAttribute(IKivXmlAttribute **ppAttribute) EXIT -> return "
        u"(GetAttributeAt(m_lAttrIndex++,ppAttribute))");
    if (!ppAttribute) return trace.Exit(Store(Fail(E_POINTER, u"CKivXmlNode::GetNextAttribute(...) ppAttribute=NULL")));
    if (!m_bValid) return trace.Exit(Store(Fail(E_HANDLE, u"CKivXmlNode::GetNextAttribute(...) Invalid CKivXmlNode")));
    LONG lIndex = m_lAttrIndex++;
    IKivXmlNode *pSelf = this;
    return trace.Exit(Store(pSelf->GetAttributeAt(lIndex, ppAttribute)));
}

// Past the end *ppAttribute is left as it was; a negative index, which the
// walk never meets, sets it to NULL.
HRESULT ORVANE_CALL CKivXmlNode::GetAttributeAt(LONG lIndex, IKivXmlAttribute **ppAttribute) {
    Trace trace(u"CKivXmlNode::GetAttributeAt(LONG lIndex=%d,IKivXmlAttribute **ppAttribute)", lIndex);
    if (!ppAttribute) return trace.Exit(Store(Fail(E_POINTER, u"CKivXmlNode::GetAttributeAt(...) ppAttribute=NULL")));
    if (!m_bValid) return trace.Exit(Store(Fail(E_HANDLE, u"CKivXmlNode::GetAttributeAt(...) Invalid CKivXmlNode")));
    IKivXmlNode *pSelf = this;
    if (lIndex > pSelf->GetAttributeCount() - 1) return trace.Exit(Store(E_FAIL));
    xmlAttrPtr pProperty = PropertyAt(lIndex);
    if (!pProperty) {
        *ppAttribute = nullptr;
        if (lIndex < 0) return trace.Exit(Store(E_FAIL));
        return trace.Exit(Store(Fail(E_FAIL, u"CKivXmlNode::GetAttributeAt(...) FAILED lCount=lIndex but Node=NULL")));
    }
    // The object addresses the attribute by its local name from now on.
    CKivString strName;
    Utf8ToWide(reinterpret_cast<const char *>(pProperty->name), strName);
    return trace.Exit(Store(HandOutAttribute(strName, ppAttribute, u"CKivXmlNode::GetAttributeAt")));
}

HRESULT ORVANE_CALL CKivXmlNode::GetAttribute(LPCWSTR pstrName, IKivXmlAttribute **ppAttribute) {
    Trace trace(u"CKivXmlNode::GetAttribute(LPCTSTR pstrName=%s,IKivXmlAttribute **ppAttribute)", pstrName);
    if (!ppAttribute) return trace.Exit(Store(Fail(E_POINTER, u"CKivXmlNode::GetAttribute(...) ppAttribute=NULL")));
    *ppAttribute = nullptr;
    if (!m_bValid) return trace.Exit(Store(Fail(E_HANDLE, u"CKivXmlNode::GetAttribute(...) Invalid CKivXmlNode")));
    if (!pstrName) return trace.Exit(Store(Fail(E_POINTER, u"CKivXmlNode::GetAttribute pstrName=NULL")));
    // A missing attribute shows as an object that is not valid.
    return trace.Exit(Store(HandOutAttribute(pstrName, ppAttribute, u"CKivXmlNode::GetAttribute")));
}

// A new attribute gets the value of one blank and comes last; an existing
// one of that name gets the blank in its own place.
HRESULT ORVANE_CALL CKivXmlNode::AddAttribute(LPCWSTR pstrName, IKivXmlAttribute **ppAttribute) {
    Trace trace(u"CKivXmlNode::AddAttribute(LPCTSTR pstrName=%s,IKivXmlAttribute **ppAttribute)", pstrName);
    if (!ppAttribute) return trace.Exit(Store(Fail(E_POINTER, u"CKivXmlNode::AddAttribute(...) ppAttribute=NULL")));
    *ppAttribute = nullptr;
    if (!m_bValid) return trace.Exit(Store(Fail(E_HANDLE, u"CKivXmlNode::AddAttribute(...) Invalid CKivXmlNode")));
    if (!pstrName) return trace.Exit(Store(Fail(E_POINTER, u"CKivXmlNode::AddAttribute pstrName=NULL")));
    Utf8Buffer name(pstrName);
    if (!name)
        return trace.Exit(Store(Fail(E_OUTOFMEMORY, u"CKivXmlNode::AddAttribute pstrName too large, out of memory")));
    if (!xmlSetProp(m_pNode, reinterpret_cast<const xmlChar *>(name.get()), reinterpret_cast<const xmlChar *>(" ")))
        return trace.Exit(Store(Fail(E_FAIL, u"CKivXmlNode::AddAttribute(...) xmlSetProp FAILED ")));
    // The attribute stays set even when no object can be made for it.
    return trace.Exit(Store(HandOutAttribute(pstrName, ppAttribute, u"CKivXmlNode::AddAttribute")));
}

HRESULT ORVANE_CALL CKivXmlNode::RemoveAttribute(LPCWSTR pstrName) {
    Trace trace(u"CKivXmlNode::RemoveAttribute(LPCWSTR pstrName=%s)", pstrName);
    if (!m_bValid) return trace.Exit(Store(Fail(E_HANDLE, u"CKivXmlNode::RemoveAttribute(...) Invalid CKivXmlNode")));
    if (!pstrName) return trace.Exit(Store(Fail(E_POINTER, u"CKivXmlNode::RemoveAttribute pstrName=NULL")));
    Utf8Buffer name(pstrName);
    if (!name)
        return trace.Exit(
            Store(Fail(E_OUTOFMEMORY, u"CKivXmlNode::RemoveAttribute pstrName too large, out of memory")));
    if (xmlUnsetProp(m_pNode, reinterpret_cast<const xmlChar *>(name.get())) != 0)
        return trace.Exit(Store(Fail(E_FAIL, u"CKivXmlNode::RemoveAttribute(...) xmlUnsetProp FAILED")));
    return trace.Exit(Store(S_OK));
}
