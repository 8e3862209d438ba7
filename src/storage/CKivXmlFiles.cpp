// Loading and saving documents as files: plain XML or containers.
#include "document/CKivXml.h"

HRESULT ORVANE_CALL CKivXml::LoadFile(LPCWSTR) { return E_NOTIMPL; }

HRESULT ORVANE_CALL CKivXml::SaveFile(LPCWSTR) { return E_NOTIMPL; }
