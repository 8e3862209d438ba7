// Construction, identity, name and path of a node object.
#include "CKivXmlNode.h"

#include <memory>

#include "ElementLookup.h"
#include "XPathSelection.h"
#include "support/CKivLog.h"
#include "support/Trace.h"
#include "text/TextConversion.h"

CKivXmlNode::CKivXmlNode(xmlDocPtr XMLDoc) : m_pXMLDoc(XMLDoc) {
    xmlNodePtr pRoot = xmlDocGetRootElement(XMLDoc);
    if (!pRoot) {
        Fail(E_FAIL, u"CKivXmlNode::CKivXmlNode(xmlDocPtr XMLDoc) xmlDocGetRootElement return NULL");
        return;
    }
    Found(pRoot);
}

CKivXmlNode::CKivXmlNode(xmlDocPtr XMLDoc, LPCWSTR pstrNodePath) : m_pXMLDoc(XMLDoc) {
    // Anchor the path at the document: "a/b" is read as "/a/b", "" as "/".
    CKivString strPath(pstrNodePath);
    if (strPath.Left(1).CompareNoCase(u"/") != 0) {
        strPath = u"/";
        strPath += pstrNodePath;
    }
    Utf8Buffer path(strPath);
    if (!path) {
        Fail(E_OUTOFMEMORY,
             u"CKivXmlNode::CKivXmlNode(xmlDocPtr XMLDoc,LPCWSTR pstrNodePath) pstrNodePath too large, out of memory");
        return;
    }
    XPathSelection selection(XMLDoc, path.get());
    switch (selection.GetStatus()) {
        case XPathSelection::kNoContext:
            Fail(E_FAIL, u"CKivXmlNode::CKivXmlNode(xmlDocPtr XMLDoc,LPCWSTR pstrNodePath) xmlXPathNewContext FAILED");
            return;
        case XPathSelection::kNoResult:
        case XPathSelection::kNotNodeSet:
            Fail(E_FAIL, u"CKivXmlNode::CKivXmlNode(xmlDocPtr XMLDoc,LPCWSTR pstrNodePath) Node %s Not Found",
                 pstrNodePath);
            return;
        case XPathSelection::kNodeSet:
            // Attribute, text and other nodes in the set are passed over; a set
            // without elements leaves the object invalid without a message.
            if (xmlNodePtr pElement = selection.FirstElement()) Found(pElement);
            return;
    }
}

CKivXmlNode::CKivXmlNode(xmlDocPtr XMLDoc, xmlNodePtr pNode) : m_pXMLDoc(XMLDoc) {
    ElementLookup lookup(XMLDoc, pNode);
    switch (lookup.GetStatus()) {
        case ElementLookup::kNoPath:
            return;
        case ElementLookup::kNoContext:
            Fail(E_FAIL, u"CKivXmlNode::CKivXmlNode(xmlDocPtr XMLDoc,xmlNodePtr pNode) xmlXPathNewContext FAILED");
            return;
        case ElementLookup::kNotEvaluable: {
            CKivString strPath;
            Utf8ToWide(lookup.GetPath(), strPath);
            Fail(E_FAIL, u"CKivXmlNode::CKivXmlNode(xmlDocPtr XMLDoc,xmlNodePtr pNode) Node %s Not found ",
                 strPath.GetString());
            return;
        }
        case ElementLookup::kEvaluated:
            if (xmlNodePtr pElement = lookup.LastElement()) Found(pElement);
            return;
    }
}

void CKivXmlNode::Found(xmlNodePtr pNode) {
    m_pNode = pNode;
    m_lChildIndex = 0;
    m_lAttrIndex = 0;
    m_hrLast = S_OK;
    m_bValid = TRUE;
}

HRESULT CKivXmlNode::HandOut(CKivXmlNode *pNew, IKivXmlNode **ppNode, const char16_t *pszCreator) {
    std::unique_ptr<CKivXmlNode> pNode(pNew);
    *ppNode = nullptr;
    if (!pNode) return Fail(E_FAIL, u"%s(...) FAILED create new CKivXmlNode pNode=NULL", pszCreator);
    if (!pNode->m_bValid) return Fail(E_FAIL, u"%s(...) FAILED pNode->isOK()=FALSE Invalid return node", pszCreator);
    *ppNode = pNode.release();
    return S_OK;
}

xmlNodePtr CKivXmlNode::GetNode(xmlNodePtr Node) {
    Trace trace(u"CKivXmlNode::GetNode(xmlNodePtr Node)");
    return ElementLookup(m_pXMLDoc, Node).FirstElement();
}

BSTR CKivXmlNode::MakeString(LPCWSTR pszText, const char16_t *pszFailure) {
    BSTR bstr = SysAllocString(pszText);
    Store(bstr ? S_OK : Fail(E_OUTOFMEMORY, pszFailure));
    return bstr;
}

BSTR ORVANE_CALL CKivXmlNode::GetName() {
    Trace trace(u"CKivXmlNode::GetName(void)");
    if (!m_bValid) {
        Store(Fail(E_HANDLE, u"CKivXmlNode::GetName(...) Invalid CKivXmlNode"));
        return nullptr;
    }
    CKivString strName;
    Utf8ToWide(reinterpret_cast<const char *>(m_pNode->name), strName);
    return MakeString(strName, u"CKivXmlNode::GetName(...) BSTR create FAILED");
}

// Any text becomes the name, a colon included; the namespace stays. Names
// that are no XPath name test make later lookups of the element (and its
// descendants) by path fail, which those lookups report.
HRESULT ORVANE_CALL CKivXmlNode::SetName(LPCWSTR pstrNewName) {
    if (!pstrNewName) return Fail(E_INVALIDARG, u"CKivXmlNode::SetName pstrNewName=NULL");
    Utf8Buffer name(pstrNewName);
    if (!name) return Fail(E_OUTOFMEMORY, u"CKivXmlNode::SetName pstrNewName too large, out of memory");
    xmlNodeSetName(m_pNode, reinterpret_cast<const xmlChar *>(name.get()));
    return S_OK;
}

BSTR ORVANE_CALL CKivXmlNode::GetXPath() {
    Trace trace(u"CKivXmlNode::GetXPath(void)");
    if (!m_bValid) {
        Store(Fail(E_HANDLE, u"CKivXmlNode::GetXPath(...) Invalid CKivXmlNode"));
        return nullptr;
    }
    XmlText pPath(xmlGetNodePath(m_pNode));
    if (!pPath) {
        Store(E_FAIL);
        return nullptr;
    }
    CKivString strPath;
    Utf8ToWide(reinterpret_cast<const char *>(pPath.get()), strPath);
    return MakeString(strPath, u"CKivXmlNode::GetXPath(...) SysAllocString FAILED");
}

void ORVANE_CALL CKivXmlNode::Release() { delete this; }

HRESULT ORVANE_CALL CKivXmlNode::isOK() { return m_hrLast; }
