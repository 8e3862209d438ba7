// The text of a node: the content of its first text or CDATA child.
#include "CKivXmlNode.h"
#include "support/CKivLog.h"
#include "support/Trace.h"
#include "text/TextConversion.h"

namespace {

constexpr const char16_t *kCDataMarker = u"<![CDATA[";

// A text stored as a CDATA section written out literally ("<![CDATA[" +
// content + "]]>") comes back as the content: every marker goes, then the
// three characters of the closing sequence. Trailing TAB and LF (the
// indentation before a closing tag) are dropped as well.
CKivString CleanText(CKivString strText) {
    if (strText.Find(kCDataMarker) >= 0) {
        strText.Replace(kCDataMarker, u"");
        strText = strText.Left(strText.GetLength() - 3);  // fewer than three left: empty
    }
    int nKeep = strText.GetLength();
    while (nKeep > 0 && (strText.GetAt(nKeep - 1) == u'\t' || strText.GetAt(nKeep - 1) == u'\n')) --nKeep;
    return strText.Left(nKeep);
}

}  // namespace

xmlNodePtr CKivXmlNode::FirstTextChild() const {
    for (xmlNodePtr pChild = m_pNode->children; pChild; pChild = pChild->next) {
        if (pChild->type == XML_TEXT_NODE || pChild->type == XML_CDATA_SECTION_NODE) return pChild;
    }
    return nullptr;
}

BSTR ORVANE_CALL CKivXmlNode::GetText() {
    Trace trace(u"CKivXmlNode::GetText(void)");
    if (!m_bValid) {
        Store(Fail(E_HANDLE, u"CKivXmlNode::GetText(...) Invalid CKivXmlNode"));
        return nullptr;
    }
    // No text child: the empty string.
    CKivString strText;
    if (xmlNodePtr pText = FirstTextChild()) {
        XmlText pContent(xmlNodeGetContent(pText));
        if (!pContent) {
            Store(E_FAIL);
            return nullptr;
        }
        Utf8ToWide(reinterpret_cast<const char *>(pContent.get()), strText);
        strText = CleanText(strText);
    }
    return MakeString(strText, u"CKivXmlNode::GetText(...) SysAllocString FAILED");
}

// The text is stored literally, not parsed: markup in it becomes text.
HRESULT ORVANE_CALL CKivXmlNode::SetText(LPCWSTR pstrText) {
    Trace trace(u"CKivXmlNode::SetText(LPCWSTR pstrText=%s)", pstrText);
    if (!m_bValid) return trace.Exit(Store(Fail(E_HANDLE, u"CKivXmlNode::SetText(...) Invalid CKivXmlNode")));
    if (!pstrText) return trace.Exit(Store(Fail(E_POINTER, u"CKivXmlNode::SetText pstrText=NULL")));
    Utf8Buffer text(pstrText);
    if (!text) return trace.Exit(Store(Fail(E_OUTOFMEMORY, u"CKivXmlNode::SetText pstrText too large, out of memory")));
    const xmlChar *pszText = reinterpret_cast<const xmlChar *>(text.get());
    if (!m_pNode->children) {
        if (!xmlAddChild(m_pNode, xmlNewText(pszText)))
            return trace.Exit(Store(Fail(E_OUTOFMEMORY, u"CKivXmlNode::SetText(...) xmlNewText FAILED")));
        return trace.Exit(Store(S_OK));
    }
    xmlNodePtr pText = FirstTextChild();
    if (!pText) return trace.Exit(Store(Fail(E_FAIL, u"CKivXmlNode::SetText(...) XML_TEXT_NODE Not found")));
    // A CDATA child stays a CDATA section, a text child a text node.
    xmlNodeSetContent(pText, pszText);
    return trace.Exit(Store(S_OK));
}
