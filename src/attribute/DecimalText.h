// Reading a decimal number from attribute text, as a host's runtime reads
// one: leading white space, an optional sign, digits (ASCII and the Unicode
// decimal-digit runs), stop at the first other character, saturate at the
// type's limits. No text makes it fail: without digits it gives 0.
#ifndef ORVANE_DECIMALTEXT_H
#define ORVANE_DECIMALTEXT_H

#include <orvane/KivTypes.h>

LONG ParseLong(LPCWSTR pszText);
LONGLONG ParseLong64(LPCWSTR pszText);

#endif
