#include "DecimalText.h"

#include <cstdint>
#include <limits>

namespace {

// White space is the Unicode White_Space set: the C0 controls TAB, LF, VT,
// FF, CR, the space, NEL, the no-break space, the Ogham space mark, the
// spaces U+2000 to U+200A, the line and paragraph separators, the narrow
// no-break space, the medium mathematical space and the ideographic space.
// This is what a wide-character runtime's iswspace classifies as space for
// Unicode text (the no-break spaces included), independent of any locale.
bool IsWhiteSpace(char16_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

// First characters of the runs of ten decimal digits that count as digits:
// ASCII, Arabic-Indic, extended Arabic-Indic, Devanagari, Bengali,
// Gurmukhi, Gujarati, Oriya, Telugu, Kannada, Malayalam, Thai, Lao,
// Tibetan, Myanmar, Khmer, Mongolian and the full-width digits.
constexpr char16_t kDigitZeros[] = {0x0030, 0x0660, 0x06F0, 0x0966, 0x09E6, 0x0A66, 0x0AE6, 0x0B66, 0x0C66,
                                    0x0CE6, 0x0D66, 0x0E50, 0x0ED0, 0x0F20, 0x1040, 0x17E0, 0x1810, 0xFF10};

// The digit's value, or -1 for any other character.
int DigitValue(char16_t c) {
    for (char16_t zero : kDigitZeros) {
        if (c >= zero && c <= zero + 9) return c - zero;
    }
    return -1;
}

// The number in the range [llMin, llMax] (llMin is -llMax - 1).
int64_t ParseSaturated(LPCWSTR p, int64_t llMax) {
    while (IsWhiteSpace(*p)) ++p;
    bool bNegative = false;
    if (*p == u'+' || *p == u'-') {
        bNegative = *p == u'-';
        ++p;
    }
    // Magnitudes are kept unsigned so that the negative limit, one more
    // than the positive one, is reached exactly.
    const uint64_t nLimit = static_cast<uint64_t>(llMax) + (bNegative ? 1 : 0);
    uint64_t nValue = 0;
    for (int iDigit; (iDigit = DigitValue(*p)) >= 0; ++p) {
        if (nValue > (nLimit - static_cast<uint64_t>(iDigit)) / 10) {
            nValue = nLimit;
            break;
        }
        nValue = nValue * 10 + static_cast<uint64_t>(iDigit);
    }
    if (!bNegative) return static_cast<int64_t>(nValue);
    return nValue == 0 ? 0 : -static_cast<int64_t>(nValue - 1) - 1;
}

}  // namespace

LONG ParseLong(LPCWSTR pszText) { return static_cast<LONG>(ParseSaturated(pszText, std::numeric_limits<LONG>::max())); }

LONGLONG ParseLong64(LPCWSTR pszText) { return ParseSaturated(pszText, std::numeric_limits<LONGLONG>::max()); }
