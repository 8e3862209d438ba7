#include "CKivLog.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "WideFormat.h"
#include "text/TextConversion.h"

namespace {

std::u16string FormatText(const char16_t *pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    std::u16string text = FormatWide(pszFormat, args);
    va_end(args);
    return text;
}

void WriteErrorLine(const char16_t *pszText) {
    std::string line = Utf16ToUtf8String(pszText);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace

CKivLog *CKivLog::GetInstance() {
    static CKivLog log;
    return &log;
}

void CKivLog::SetSink(KivLogSink sink, void *context) {
    m_sink = sink;
    m_context = context;
}

void CKivLog::Emit(Kind kind, const char16_t *pszText) {
    if (m_sink) {
        m_sink(m_context, kind, pszText);
    } else if (kind == kError) {
        WriteErrorLine(pszText);
    }
}

int CKivLog::AddError(const char16_t *pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    std::u16string text = FormatWide(pszFormat, args);
    va_end(args);
    Emit(kError, text.c_str());
    return 0;
}

int CKivLog::EnterFunction(const char16_t *pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    std::u16string text = FormatWide(pszFormat, args);
    va_end(args);
    Emit(kEnter, text.c_str());
    return 0;
}

int CKivLog::ExitFunction(int iResult) {
    Emit(kExit, FormatText(u"%d", static_cast<int32_t>(iResult)).c_str());
    return iResult;
}

void CKivLog::ExitFunction() { Emit(kExit, u""); }

const char16_t *CKivLog::ExitFunction(const char16_t *pszText) {
    Emit(kExit, pszText ? pszText : u"");
    return pszText;
}

HRESULT Fail(HRESULT hr, const char16_t *pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    std::u16string text = FormatWide(pszFormat, args);
    va_end(args);
    CKivLog::GetInstance()->AddError(u"%s", text.c_str());
    return hr;
}

extern "C" ORVANE_API void KivLogSetSink(KivLogSink sink, void *context) {
    CKivLog::GetInstance()->SetSink(sink, context);
}
