// Automation strings with the Windows layout: a 32-bit byte count just
// before the first character, and a NUL unit after the last.
#include <cstdlib>
#include <cstring>

#include <orvane/KivString.h>

namespace {

constexpr uint32_t kMaxUnits = (0xFFFFFFFFu - 8) / 2;

uint32_t *Prefix(BSTR bstr) { return reinterpret_cast<uint32_t *>(bstr) - 1; }

}  // namespace

extern "C" {

ORVANE_API BSTR SysAllocStringLen(const OLECHAR *pch, uint32_t cch) {
    if (cch > kMaxUnits) return nullptr;
    auto *block = static_cast<uint32_t *>(std::malloc(sizeof(uint32_t) + (static_cast<size_t>(cch) + 1) * 2));
    if (!block) return nullptr;
    block[0] = cch * 2;
    BSTR text = reinterpret_cast<BSTR>(block + 1);
    if (pch) {
        std::memcpy(text, pch, static_cast<size_t>(cch) * 2);
    } else {
        std::memset(text, 0, static_cast<size_t>(cch) * 2);
    }
    text[cch] = 0;
    return text;
}

ORVANE_API BSTR SysAllocString(const OLECHAR *psz) {
    if (!psz) return nullptr;
    size_t n = 0;
    while (psz[n]) ++n;
    if (n > kMaxUnits) return nullptr;
    return SysAllocStringLen(psz, static_cast<uint32_t>(n));
}

ORVANE_API void SysFreeString(BSTR bstr) {
    if (bstr) std::free(Prefix(bstr));
}

ORVANE_API uint32_t SysStringLen(BSTR bstr) { return bstr ? *Prefix(bstr) / 2 : 0; }

}
