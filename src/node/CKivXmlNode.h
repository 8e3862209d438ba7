// The node object: the caller's handle on one element of a loaded document.
//
// It borrows the document's libxml2 tree (document and element) and owns
// neither. Its identity is fixed at construction by XPath: the root
// element, the first element a caller's path selects, or the element that
// an element's own node path selects. Objects that fail construction are
// invalid for good and never reach a caller (see HandOut).
#ifndef ORVANE_CKIVXMLNODE_H
#define ORVANE_CKIVXMLNODE_H

#include <orvane/KivXml.h>

#include "support/LibXml.h"

class CKivXmlNode final : public IKivXmlNode {
public:
    // The document's root element.
    explicit CKivXmlNode(xmlDocPtr XMLDoc);
    // The first element that pstrNodePath selects; a path not starting
    // with "/" is read from the document node.
    CKivXmlNode(xmlDocPtr XMLDoc, LPCWSTR pstrNodePath);
    // The element that pNode's own node path selects.
    CKivXmlNode(xmlDocPtr XMLDoc, xmlNodePtr pNode);
    ~CKivXmlNode() = default;
    CKivXmlNode(const CKivXmlNode &) = delete;
    CKivXmlNode &operator=(const CKivXmlNode &) = delete;

    // The creation rule of every creator: hands pNew (just allocated with
    // new (std::nothrow), so possibly NULL) out through ppNode when it is
    // valid; otherwise destroys it directly, sets *ppNode to NULL and logs
    // the creator's "<pszCreator>(...) FAILED ..." message. Returns S_OK or
    // E_FAIL.
    static HRESULT HandOut(CKivXmlNode *pNew, IKivXmlNode **ppNode, const char16_t *pszCreator);

    BSTR ORVANE_CALL GetName() override;
    HRESULT ORVANE_CALL SetName(LPCWSTR pstrNewName) override;
    HRESULT ORVANE_CALL AddChild(LPCWSTR pstrName, IKivXmlNode **ppNode) override;
    LONG ORVANE_CALL GetChildCount() override;
    BSTR ORVANE_CALL GetXPath() override;
    HRESULT ORVANE_CALL GetChildAt(LONG lIndex, IKivXmlNode **ppNode) override;
    HRESULT ORVANE_CALL GetFirstChild(IKivXmlNode **ppNode) override;
    HRESULT ORVANE_CALL GetNextChild(IKivXmlNode **ppNode) override;
    HRESULT ORVANE_CALL RemoveChild(LONG lIndex) override;
    LONG ORVANE_CALL GetAttributeCount() override;
    HRESULT ORVANE_CALL GetFirstAttribute(IKivXmlAttribute **ppAttribute) override;
    HRESULT ORVANE_CALL GetNextAttribute(IKivXmlAttribute **ppAttribute) override;
    HRESULT ORVANE_CALL GetAttributeAt(LONG lIndex, IKivXmlAttribute **ppAttribute) override;
    HRESULT ORVANE_CALL GetAttribute(LPCWSTR pstrName, IKivXmlAttribute **ppAttribute) override;
    HRESULT ORVANE_CALL AddAttribute(LPCWSTR pstrName, IKivXmlAttribute **ppAttribute) override;
    HRESULT ORVANE_CALL RemoveAttribute(LPCWSTR pstrName) override;
    BSTR ORVANE_CALL GetText() override;
    HRESULT ORVANE_CALL SetText(LPCWSTR pstrText) override;
    void ORVANE_CALL Release() override;
    HRESULT ORVANE_CALL isOK() override;

    // The child at lIndex as an object that is handed out with S_OK even
    // when it is not valid (RemoveChild decides what to do with it).
    HRESULT GetChildAt(LONG lIndex, CKivXmlNode **ppNode);
    // The element that Node's node path selects in this document, or NULL.
    xmlNodePtr GetNode(xmlNodePtr Node);

private:
    HRESULT Store(HRESULT hr) {
        m_hrLast = hr;
        return hr;
    }
    void Found(xmlNodePtr pNode);
    // A BSTR of pszText with S_OK stored, or NULL with E_OUTOFMEMORY stored
    // and pszFailure logged.
    BSTR MakeString(LPCWSTR pszText, const char16_t *pszFailure);
    // Steps shared by both forms of GetChildAt: validity, bound, walk.
    // S_OK with the element child at lIndex, or the failure (stored).
    HRESULT FindChildAt(LONG lIndex, xmlNodePtr &pChild);
    // The element child at lIndex in document order, or NULL.
    xmlNodePtr ElementChildAt(LONG lIndex) const;
    // The property at lIndex, or NULL.
    xmlAttrPtr PropertyAt(LONG lIndex) const;
    // Makes an attribute object for pstrName and hands it out if it is
    // valid; the failures are logged as pszCreator's.
    HRESULT HandOutAttribute(LPCWSTR pstrName, IKivXmlAttribute **ppAttribute, const char16_t *pszCreator);
    // The first text or CDATA child, or NULL.
    xmlNodePtr FirstTextChild() const;

    BOOL m_bValid = FALSE;
    HRESULT m_hrLast = E_FAIL;
    LONG m_lChildIndex = 0;
    LONG m_lAttrIndex = 0;
    xmlDocPtr m_pXMLDoc = nullptr;
    xmlNodePtr m_pNode = nullptr;
};

#endif
