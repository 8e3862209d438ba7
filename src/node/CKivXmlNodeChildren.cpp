// Child elements of a node: counting, reaching by position, enumerating,
// adding and removing. Only element children count; text, CDATA, comments
// and processing instructions take no index.
#include <memory>
#include <new>

#include "CKivXmlNode.h"
#include "support/CKivLog.h"
#include "support/Trace.h"
#include "text/TextConversion.h"

xmlNodePtr CKivXmlNode::ElementChildAt(LONG lIndex) const {
    if (lIndex < 0) return nullptr;
    for (xmlNodePtr pChild = m_pNode->children; pChild; pChild = pChild->next) {
        if (pChild->type == XML_ELEMENT_NODE && lIndex-- == 0) return pChild;
    }
    return nullptr;
}

HRESULT ORVANE_CALL CKivXmlNode::AddChild(LPCWSTR pstrName, IKivXmlNode **ppNode) {
    Trace trace(u"CKivXmlNode::AddChild(LPCWSTR pstrName = %s, IKivXmlNode **ppNode)", pstrName);
    if (!ppNode) return trace.Exit(Store(Fail(E_POINTER, u"CKivXmlNode::AddChild(...) ppNode=NULL")));
    *ppNode = nullptr;
    if (!m_bValid) return trace.Exit(Store(Fail(E_HANDLE, u"CKivXmlNode::AddChild(...) Invalid CKivXmlNode")));
    if (!pstrName) return trace.Exit(Store(Fail(E_POINTER, u"CKivXmlNode::AddChild pstrName=NULL")));
    Utf8Buffer name(pstrName);
    if (!name)
        return trace.Exit(Store(Fail(E_OUTOFMEMORY, u"CKivXmlNode::AddChild pstrName too large, out of memory")));
    // The name is taken as it is: no namespace, a colon stays part of it.
    XmlNodeHandle pNew(xmlNewNode(nullptr, reinterpret_cast<const xmlChar *>(name.get())));
    if (!pNew || !xmlAddChild(m_pNode, pNew.get()))
        return trace.Exit(Store(Fail(E_FAIL, u"CKivXmlNode::AddChild xmlAddChild FAILED")));
    xmlNodePtr pAdded = pNew.release();
    // The element stays in the tree even when no object can be made for it.
    return trace.Exit(
        Store(HandOut(new (std::nothrow) CKivXmlNode(m_pXMLDoc, pAdded), ppNode, u"CKivXmlNode::AddChild")));
}

LONG ORVANE_CALL CKivXmlNode::GetChildCount() {
    Trace trace(u"CKivXmlNode::GetChildCount(void)");
    if (!m_bValid) {
        Store(Fail(E_HANDLE, u"CKivXmlNode::GetChildCount(...) Invalid CKivXmlNode"));
        return trace.Exit(0);
    }
    LONG lCount = 0;
    for (xmlNodePtr pChild = m_pNode->children; pChild; pChild = pChild->next) {
        if (pChild->type == XML_ELEMENT_NODE) ++lCount;
    }
    Store(S_OK);
    return trace.Exit(lCount);
}

HRESULT CKivXmlNode::FindChildAt(LONG lIndex, xmlNodePtr &pChild) {
    if (!m_bValid) return Fail(E_HANDLE, u"CKivXmlNode::GetChildAt(...) Invalid CKivXmlNode");
    // The count comes through the interface. Only the upper bound is
    // tested: a negative index goes on to the walk, which never meets it.
    IKivXmlNode *pSelf = this;
    if (lIndex > pSelf->GetChildCount() - 1) return E_INVALIDARG;
    pChild = ElementChildAt(lIndex);
    if (pChild) return S_OK;
    if (lIndex < 0) return E_FAIL;
    return Fail(E_FAIL, u"CKivXmlNode::GetChildAt(...) FAILED lCount=lIndex but Child=NULL");
}

HRESULT ORVANE_CALL CKivXmlNode::GetChildAt(LONG lIndex, IKivXmlNode **ppNode) {
    Trace trace(u"CKivXmlNode::GetChildAt(LONG lIndex=%d,IKivXmlNode **ppNode)", lIndex);
    if (!ppNode) return trace.Exit(Store(Fail(E_POINTER, u"CKivXmlNode::GetChildAt(...) ppNode=NULL")));
    *ppNode = nullptr;
    xmlNodePtr pChild = nullptr;
    HRESULT hr = FindChildAt(lIndex, pChild);
    if (FAILED(hr)) return trace.Exit(Store(hr));
    // The child is looked up again by its path and the object made for
    // what that lookup gives (NULL leaves it invalid).
    return trace.Exit(
        Store(HandOut(new (std::nothrow) CKivXmlNode(m_pXMLDoc, GetNode(pChild)), ppNode, u"CKivXmlNode::GetChildAt")));
}

HRESULT CKivXmlNode::GetChildAt(LONG lIndex, CKivXmlNode **ppNode) {
    Trace trace(u"CKivXmlNode::GetChildAt(LONG lIndex=%d,CKivXmlNode **ppNode)", lIndex);
    *ppNode = nullptr;
    xmlNodePtr pChild = nullptr;
    HRESULT hr = FindChildAt(lIndex, pChild);
    if (FAILED(hr)) return trace.Exit(Store(hr));
    // Handed out as made: not tested for validity, NULL when not allocated.
    *ppNode = new (std::nothrow) CKivXmlNode(m_pXMLDoc, GetNode(pChild));
    return trace.Exit(Store(S_OK));
}

HRESULT ORVANE_CALL CKivXmlNode::GetFirstChild(IKivXmlNode **ppNode) {
    Trace trace(u"CKivXmlNode::GetFirstChild(IKivXmlNode **ppNode)");
    if (!ppNode) return trace.Exit(Store(Fail(E_POINTER, u"CKivXmlNode::GetFirstChild(...) ppNode=NULL")));
    if (!m_bValid) return trace.Exit(Store(Fail(E_HANDLE, u"CKivXmlNode::GetFirstChild(...) Invalid CKivXmlNode")));
    m_lChildIndex = 1;
    IKivXmlNode *pSelf = this;
    Store(pSelf->GetChildAt(0, ppNode));
    return trace.Exit(m_hrLast);
}

// The cursor moves on before the call, whatever it returns; the end of an
// enumeration shows as E_INVALIDARG and the cursor keeps growing.
HRESULT ORVANE_CALL CKivXmlNode::GetNextChild(IKivXmlNode **ppNode) {
    Trace trace(u"CKivXmlNode::GetNextChild(IKivXmlNode **ppNode)");
    if (!ppNode) return trace.Exit(Store(Fail(E_POINTER, u"CKivXmlNode::GetNextChild(...) ppNode=NULL")));
    if (!m_bValid) return trace.Exit(Store(Fail(E_HANDLE, u"CKivXmlNode::GetNextChild(...) Invalid CKivXmlNode")));
    LONG lIndex = m_lChildIndex++;
    IKivXmlNode *pSelf = this;
    Store(pSelf->GetChildAt(lIndex, ppNode));
    return trace.Exit(m_hrLast);
}

HRESULT ORVANE_CALL CKivXmlNode::RemoveChild(LONG lIndex) {
    Trace trace(u"CKivXmlNode::RemoveChild(LONG lIndex=%d)", lIndex);
    if (!m_bValid) return trace.Exit(Store(Fail(E_HANDLE, u"CKivXmlNode::RemoveChild(...) Invalid CKivXmlNode")));
    CKivXmlNode *pFound = nullptr;
    HRESULT hr = GetChildAt(lIndex, &pFound);
    std::unique_ptr<CKivXmlNode> pChild(pFound);
    // Only the child at lIndex is ever freed. The object for it may be
    // missing (not allocated) or invalid (its path cannot be evaluated), or
    // stand for another element when a name given through SetName makes the
    // path designate one ("." designates this very element): the tree is
    // then left as it is.
    if (hr != S_OK || !pChild || !pChild->m_bValid || pChild->m_pNode != ElementChildAt(lIndex))
        return trace.Exit(Store(Fail(E_INVALIDARG, u"CKivXmlNode::RemoveChild(...) Child not found")));
    xmlUnlinkNode(pChild->m_pNode);
    xmlFreeNode(pChild->m_pNode);
    IKivXmlNode *pRemoved = pChild.release();
    pRemoved->Release();
    return trace.Exit(Store(S_OK));
}
