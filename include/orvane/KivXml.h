// Orvane: XML documents for host applications, over libxml2.
//
// A host calls GetLibXmlInterface for a document object and works through
// three interfaces. The order of the operations in each interface is the
// binary contract: hosts call them by slot position.
//
//  - Strings passed in are NUL-terminated UTF-16 and are not kept.
//  - Strings returned are automation strings (BSTR); free them with
//    SysFreeString.
//  - Operations return an HRESULT; those returning a string, a count or a
//    value return NULL or 0 on failure, and isOK() then gives the code.
//  - Every object handed out is new and owned by the caller, who destroys it
//    with its Release(). Release node and attribute objects before their
//    document; they point into its tree and are unusable once the document
//    is closed, loaded again or released.
//  - Every failure is also reported through the log (KivLogSetSink).
#ifndef ORVANE_KIVXML_H
#define ORVANE_KIVXML_H

#include "KivString.h"

struct IKivXmlAttribute {
    virtual BSTR ORVANE_CALL GetStringValue() = 0;                 // 0
    virtual LONG ORVANE_CALL GetLongValue() = 0;                   // 1
    virtual LONGLONG ORVANE_CALL GetLong64Value() = 0;             // 2
    virtual HRESULT ORVANE_CALL SetStringValue(LPCWSTR pstrValue) = 0;  // 3
    virtual HRESULT ORVANE_CALL SetLongValue(LONG lValue) = 0;     // 4
    virtual HRESULT ORVANE_CALL SetLong64Value(LONGLONG llValue) = 0;   // 5
    virtual BSTR ORVANE_CALL GetName() = 0;                        // 6
    virtual HRESULT ORVANE_CALL SetName(LPCWSTR pstrName) = 0;     // 7
    virtual void ORVANE_CALL Release() = 0;                        // 8
    virtual HRESULT ORVANE_CALL isOK() = 0;                        // 9

protected:
    ~IKivXmlAttribute() = default;
};

struct IKivXmlNode {
    virtual BSTR ORVANE_CALL GetName() = 0;                                            // 0
    virtual HRESULT ORVANE_CALL SetName(LPCWSTR pstrNewName) = 0;                      // 1
    virtual HRESULT ORVANE_CALL AddChild(LPCWSTR pstrName, IKivXmlNode **ppNode) = 0;  // 2
    virtual LONG ORVANE_CALL GetChildCount() = 0;                                      // 3
    virtual BSTR ORVANE_CALL GetXPath() = 0;                                           // 4
    virtual HRESULT ORVANE_CALL GetChildAt(LONG lIndex, IKivXmlNode **ppNode) = 0;     // 5
    virtual HRESULT ORVANE_CALL GetFirstChild(IKivXmlNode **ppNode) = 0;               // 6
    virtual HRESULT ORVANE_CALL GetNextChild(IKivXmlNode **ppNode) = 0;                // 7
    virtual HRESULT ORVANE_CALL RemoveChild(LONG lIndex) = 0;                          // 8
    virtual LONG ORVANE_CALL GetAttributeCount() = 0;                                  // 9
    virtual HRESULT ORVANE_CALL GetFirstAttribute(IKivXmlAttribute **ppAttribute) = 0; // 10
    virtual HRESULT ORVANE_CALL GetNextAttribute(IKivXmlAttribute **ppAttribute) = 0;  // 11
    virtual HRESULT ORVANE_CALL GetAttributeAt(LONG lIndex, IKivXmlAttribute **ppAttribute) = 0;     // 12
    virtual HRESULT ORVANE_CALL GetAttribute(LPCWSTR pstrName, IKivXmlAttribute **ppAttribute) = 0;  // 13
    virtual HRESULT ORVANE_CALL AddAttribute(LPCWSTR pstrName, IKivXmlAttribute **ppAttribute) = 0;  // 14
    virtual HRESULT ORVANE_CALL RemoveAttribute(LPCWSTR pstrName) = 0;                 // 15
    virtual BSTR ORVANE_CALL GetText() = 0;                                            // 16
    virtual HRESULT ORVANE_CALL SetText(LPCWSTR pstrText) = 0;                         // 17
    virtual void ORVANE_CALL Release() = 0;                                            // 18
    virtual HRESULT ORVANE_CALL isOK() = 0;                                            // 19

protected:
    ~IKivXmlNode() = default;
};

struct IKivXml {
    virtual HRESULT ORVANE_CALL LoadFile(LPCWSTR pstrXMLFile) = 0;          // 0
    virtual HRESULT ORVANE_CALL LoadFromText(LPCWSTR pstrText) = 0;         // 1
    virtual HRESULT ORVANE_CALL Create(LPCWSTR pstrXMLFile, LPCWSTR pstrRootName,
                                       IKivXmlNode **ppRootNode) = 0;       // 2
    virtual HRESULT ORVANE_CALL SaveFile(LPCWSTR pstrXMLFile) = 0;          // 3
    virtual HRESULT ORVANE_CALL GetNode(LPCWSTR pstrNodePath, IKivXmlNode **ppNode) = 0;  // 4
    virtual HRESULT ORVANE_CALL GetRootNode(IKivXmlNode **ppNode) = 0;      // 5
    virtual void ORVANE_CALL SetEncryption(BOOL bEncryption) = 0;           // 6
    virtual void ORVANE_CALL SetCompression(BOOL bCompression) = 0;         // 7
    virtual void ORVANE_CALL Release() = 0;                                 // 8
#if defined(ORVANE_EDITION_X86)
    // Serialises the document into memory: TRUE when a dump was produced.
    virtual BOOL ORVANE_CALL DumpDocInMemory() = 0;                         // 9
    // The text of the last dump (not of the current tree).
    virtual HRESULT ORVANE_CALL GetDumpText(CKivString &strText) = 0;       // 10
#endif

protected:
    ~IKivXml() = default;
};

// Log sink. kind: 0 error, 1 entry trace, 2 exit trace. text is the whole
// message as NUL-terminated UTF-16, valid during the call only. A NULL sink
// restores the default: each error written to standard error as one line,
// traces dropped.
typedef void (*KivLogSink)(void *context, int kind, const char16_t *text);

extern "C" {
// A new, closed document object, or NULL when it cannot be made.
ORVANE_API IKivXml *GetLibXmlInterface();
ORVANE_API void KivLogSetSink(KivLogSink sink, void *context);
}

#endif
