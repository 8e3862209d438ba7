// A new document file holding an empty root element.
#include "CKivXml.h"

HRESULT ORVANE_CALL CKivXml::Create(LPCWSTR, LPCWSTR, IKivXmlNode **) { return E_NOTIMPL; }
