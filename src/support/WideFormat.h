// printf-style formatting over UTF-16, for log messages and CKivString.
#ifndef ORVANE_WIDEFORMAT_H
#define ORVANE_WIDEFORMAT_H

#include <cstdarg>
#include <string>

// %s takes a NUL-terminated UTF-16 string ("(null)" for NULL), %d a 32-bit
// and %I64d a 64-bit signed integer, %u a 32-bit unsigned one, %% a percent
// sign. Anything else is copied as it stands.
std::u16string FormatWide(const char16_t *pszFormat, va_list args);

#endif
