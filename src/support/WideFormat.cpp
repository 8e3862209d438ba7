#include "WideFormat.h"

#include <cstdint>
#include <type_traits>

namespace {

template <typename Unsigned>
void AppendDecimal(std::u16string &out, bool bNegative, Unsigned value) {
    char16_t digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    if (bNegative) out += u'-';
    while (n > 0) out += digits[--n];
}

template <typename Signed>
void AppendSigned(std::u16string &out, Signed value) {
    using Unsigned = std::make_unsigned_t<Signed>;
    // Negate in the unsigned type so the most negative value survives.
    Unsigned magnitude = value < 0 ? Unsigned(0) - static_cast<Unsigned>(value) : static_cast<Unsigned>(value);
    AppendDecimal(out, value < 0, magnitude);
}

bool StartsWith(const char16_t *p, const char16_t *prefix) {
    for (; *prefix; ++p, ++prefix) {
        if (*p != *prefix) return false;
    }
    return true;
}

}  // namespace

std::u16string FormatWide(const char16_t *pszFormat, va_list args) {
    std::u16string out;
    if (!pszFormat) return out;
    for (const char16_t *p = pszFormat; *p; ++p) {
        if (*p != u'%') {
            out += *p;
            continue;
        }
        const char16_t *spec = p + 1;
        if (*spec == u's') {
            const char16_t *text = va_arg(args, const char16_t *);
            out += text ? text : u"(null)";
            p = spec;
        } else if (*spec == u'd') {
            AppendSigned(out, va_arg(args, int32_t));
            p = spec;
        } else if (*spec == u'u') {
            AppendDecimal(out, false, va_arg(args, uint32_t));
            p = spec;
        } else if (StartsWith(spec, u"I64d")) {
            AppendSigned(out, va_arg(args, int64_t));
            p = spec + 3;
        } else if (*spec == u'%') {
            out += u'%';
            p = spec;
        } else {
            out += u'%';
        }
    }
    return out;
}
