// Entry and exit tracing of an interface operation. The x64 edition writes
// the entry trace when the scope is made and the exit trace through Exit;
// the x86 edition writes nothing. An operation reads:
//
//   Trace trace(u"CKivXml::SaveFile(LPCWSTR pstrXMLFile = %s)", pstrXMLFile);
//   ...
//   return trace.Exit(hr);
#ifndef ORVANE_TRACE_H
#define ORVANE_TRACE_H

#include "CKivLog.h"
#include "Edition.h"

class Trace {
public:
    template <typename... Args>
    explicit Trace(const char16_t *pszFormat, Args... args) {
        if constexpr (edition::kTracesOperations) CKivLog::GetInstance()->EnterFunction(pszFormat, args...);
    }
    Trace(const Trace &) = delete;
    Trace &operator=(const Trace &) = delete;

    // Exit trace with the result (an HRESULT or a count); returns what the
    // logging facility hands back, which is the result itself.
    int32_t Exit(int32_t iResult) {
        if constexpr (edition::kTracesOperations) return CKivLog::GetInstance()->ExitFunction(iResult);
        return iResult;
    }
    // Exit trace of an operation that returns nothing.
    void Exit() {
        if constexpr (edition::kTracesOperations) CKivLog::GetInstance()->ExitFunction();
    }
};

#endif
