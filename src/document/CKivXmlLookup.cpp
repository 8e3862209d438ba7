// Node objects from the document: the root element, or an element by XPath.
#include "CKivXml.h"

HRESULT CKivXml::GetRootNode(IKivXmlNode **) { return E_NOTIMPL; }

HRESULT CKivXml::GetNode(LPCWSTR, IKivXmlNode **) { return E_NOTIMPL; }
