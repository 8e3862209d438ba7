// A new document file holding an empty root element.
#include "CKivXml.h"

HRESULT CKivXml::Create(LPCWSTR, LPCWSTR, IKivXmlNode **) { return E_NOTIMPL; }
