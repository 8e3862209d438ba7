// Windows types and result codes as the Orvane interfaces use them.
//
// Strings are NUL-terminated UTF-16. A host on Windows gets the system's own
// types from windows.h. The library itself (ORVANE_BUILDING) and hosts
// elsewhere get the few types defined below, with WCHAR = char16_t: the same
// 16-bit layout as Windows' wchar_t, so the binary interface is the same.
// LONG is 32 bits everywhere.
#ifndef ORVANE_KIVTYPES_H
#define ORVANE_KIVTYPES_H

#include <stdint.h>

#if defined(_WIN32) && !defined(ORVANE_BUILDING)
#include <windows.h>
#include <oleauto.h>
#else
typedef int32_t HRESULT;
typedef int32_t BOOL;
typedef int32_t LONG;
typedef int64_t LONGLONG;
typedef uint32_t DWORD;
typedef unsigned char BYTE;
typedef char16_t WCHAR;
typedef char16_t OLECHAR;
typedef const WCHAR *LPCWSTR;
typedef WCHAR *BSTR;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

#define S_OK ((HRESULT)0)
#define E_FAIL ((HRESULT)0x80004005)
#define E_INVALIDARG ((HRESULT)0x80070057)
#define E_HANDLE ((HRESULT)0x80070006)
#define E_POINTER ((HRESULT)0x80004003)
#define E_OUTOFMEMORY ((HRESULT)0x8007000E)
#define E_NOTIMPL ((HRESULT)0x80004001)

#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)
#endif

#if defined(_WIN32) && defined(ORVANE_BUILDING)
#define ORVANE_API __declspec(dllexport)
#define ORVANE_CALL __stdcall
#elif defined(_WIN32)
#define ORVANE_API __declspec(dllimport)
#define ORVANE_CALL __stdcall
#else
#define ORVANE_API __attribute__((visibility("default")))
#define ORVANE_CALL
#endif

// Which edition the host compiles against. The x86 edition's document
// interface has two more slots (DumpDocInMemory, GetDumpText). Builds of the
// library define one of these; a host that does not gets the edition that
// matches its pointer width.
#if !defined(ORVANE_EDITION_X86) && !defined(ORVANE_EDITION_X64)
#if UINTPTR_MAX > 0xFFFFFFFFu
#define ORVANE_EDITION_X64 1
#else
#define ORVANE_EDITION_X86 1
#endif
#endif

#endif
