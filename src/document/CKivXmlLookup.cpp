// Node objects from the document: the root element, or an element by XPath.
#include "CKivXml.h"

HRESULT ORVANE_CALL CKivXml::GetRootNode(IKivXmlNode **) { return E_NOTIMPL; }

HRESULT ORVANE_CALL CKivXml::GetNode(LPCWSTR, IKivXmlNode **) { return E_NOTIMPL; }
