// A new document file holding an XML declaration and an empty root element.
#include "CKivXml.h"

#include "support/CKivLog.h"
#include "support/Trace.h"

HRESULT ORVANE_CALL CKivXml::Create(LPCWSTR pstrXMLFile, LPCWSTR pstrRootName, IKivXmlNode **ppRootNode) {
    Trace trace(u"CKivXml::Create(LPCWSTR pstrXMLFile = %s,LPCWSTR pstrRootName = %s,IKivXmlNode **ppRootNode)",
                pstrXMLFile, pstrRootName);
    if (!pstrXMLFile) return trace.Exit(Fail(E_POINTER, u"CKivXml::Create(...) pstrXMLFile=NULL"));
    if (!pstrRootName) return trace.Exit(Fail(E_POINTER, u"CKivXml::Create(...) pstrRootName=NULL"));
    if (!ppRootNode) return trace.Exit(Fail(E_POINTER, u"CKivXml::Create(...) ppRootNode=NULL"));

    // The name goes in verbatim: a name that is no XML name fails to parse.
    CKivString strText;
    strText.Format(u"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<%s>\n</%s>", pstrRootName, pstrRootName);
    if (FAILED(LoadFromText(strText)))
        return trace.Exit(Fail(E_FAIL, u"CKivXml::Create(...) LoadFromText FAILED Invalid buffer -> (invalid root name ?)"));
    // Saved with the protection settings as they stand.
    if (FAILED(SaveFile(pstrXMLFile))) return trace.Exit(Fail(E_FAIL, u"CKivXml::Create(...) SaveFile FAILED"));
    m_strFileName = pstrXMLFile;
    return trace.Exit(GetRootNode(ppRootNode));
}
