// Node objects from the document: the root element, or an element by XPath.
#include <new>

#include "CKivXml.h"
#include "node/CKivXmlNode.h"
#include "support/CKivLog.h"
#include "support/Trace.h"

HRESULT ORVANE_CALL CKivXml::GetRootNode(IKivXmlNode **ppNode) {
    Trace trace(u"CKivXml::GetRootNode(IKivXmlNode **ppNode)");
    if (!ppNode) return trace.Exit(Fail(E_POINTER, u"CKivXml::GetRootNode(...) ppNode=NULL"));
    if (!m_bOpen) return trace.Exit(Fail(E_HANDLE, u"CKivXml::GetRootNode(...) m_bOpen=FALSE No document open ?"));
    return trace.Exit(
        CKivXmlNode::HandOut(new (std::nothrow) CKivXmlNode(m_pXMLDoc.get()), ppNode, u"CKivXml::GetRootNode"));
}

// Only the backslash is refused here, before anything else about the
// document; what else the path holds is for the XPath engine to judge.
HRESULT ORVANE_CALL CKivXml::GetNode(LPCWSTR pstrNodePath, IKivXmlNode **ppNode) {
    Trace trace(u"CKivXml::GetNode(LPCWSTR pstrNodePath = %s, IKivXmlNode **ppNode)", pstrNodePath);
    if (!ppNode) return trace.Exit(Fail(E_POINTER, u"CKivXml::GetNode(...) ppNode=NULL"));
    if (!pstrNodePath) return trace.Exit(Fail(E_POINTER, u"CKivXml::GetNode(...) pstrNodePath=NULL"));
    if (CKivString(pstrNodePath).Find(u"\\") >= 0)
        return trace.Exit(Fail(E_INVALIDARG, u"CKivXml::GetNode(...) Invalid XPath Expression"));
    if (!m_bOpen) return trace.Exit(Fail(E_HANDLE, u"CKivXml::GetNode(...) m_bOpen=FALSE No document open ?"));
    return trace.Exit(CKivXmlNode::HandOut(new (std::nothrow) CKivXmlNode(m_pXMLDoc.get(), pstrNodePath), ppNode,
                                           u"CKivXml::GetNode"));
}
