// The logging facility: failures, and in the x64 edition the entry and exit
// traces of the interface operations. Messages go to the host's sink
// (KivLogSetSink) or, without one, errors go to standard error.
#ifndef ORVANE_CKIVLOG_H
#define ORVANE_CKIVLOG_H

#include <orvane/KivXml.h>

class CKivLog {
public:
    enum Kind { kError = 0, kEnter = 1, kExit = 2 };

    static CKivLog *GetInstance();

    int AddError(const char16_t *pszFormat, ...);
    int EnterFunction(const char16_t *pszFormat, ...);
    // Ends a trace with a result; returns the result unchanged.
    int ExitFunction(int iResult);
    // Ends a trace of an operation that returns nothing.
    void ExitFunction();
    // Ends a trace with a fixed text.
    const char16_t *ExitFunction(const char16_t *pszText);

    void SetSink(KivLogSink sink, void *context);

private:
    void Emit(Kind kind, const char16_t *pszText);

    KivLogSink m_sink = nullptr;
    void *m_context = nullptr;
};

// Logs one failure message and returns hr, so a failure is one line:
//   return Fail(E_INVALIDARG, u"CKivXml::LoadFromText pstrText=NULL");
HRESULT Fail(HRESULT hr, const char16_t *pszFormat, ...);

#endif
