// Loading and saving documents as files: plain XML or containers.
#include "document/CKivXml.h"

HRESULT CKivXml::LoadFile(LPCWSTR) { return E_NOTIMPL; }

HRESULT CKivXml::SaveFile(LPCWSTR) { return E_NOTIMPL; }
