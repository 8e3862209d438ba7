#include "TextConversion.h"

#include <limits>
#include <new>
#include <vector>

#include "support/Kernel32.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Writes the UTF-8 form of one code point; false when it would pass nCapacity.
bool PutCodePoint(char32_t cp, unsigned char *pDest, uint32_t nCapacity, uint32_t &nWritten) {
    unsigned char bytes[4];
    uint32_t n;
    if (cp < 0x80) {
        bytes[0] = static_cast<unsigned char>(cp);
        n = 1;
    } else if (cp < 0x800) {
        bytes[0] = static_cast<unsigned char>(0xC0 | (cp >> 6));
        bytes[1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        n = 2;
    } else if (cp < 0x10000) {
        bytes[0] = static_cast<unsigned char>(0xE0 | (cp >> 12));
        bytes[1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
        bytes[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        n = 3;
    } else {
        bytes[0] = static_cast<unsigned char>(0xF0 | (cp >> 18));
        bytes[1] = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
        bytes[2] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
        bytes[3] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        n = 4;
    }
    if (n > nCapacity - nWritten) return false;
    for (uint32_t i = 0; i < n; ++i) pDest[nWritten++] = bytes[i];
    return true;
}

}  // namespace

size_t WideLength(const char16_t *psz) {
    size_t n = 0;
    while (psz[n]) ++n;
    return n;
}

uint32_t Utf16ToUtf8(const char16_t *pSource, uint32_t nCount, unsigned char *pDest, uint32_t nCapacity) {
    if (nCount == 0 || nCapacity == 0) return 0;
    uint32_t nWritten = 0;
    for (uint32_t i = 0; i < nCount; ++i) {
        char32_t cp = pSource[i];
        if (IsHighSurrogate(pSource[i]) && i + 1 < nCount && IsLowSurrogate(pSource[i + 1])) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (pSource[i + 1] - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(pSource[i]) || IsLowSurrogate(pSource[i])) {
            cp = kReplacement;
        }
        if (!PutCodePoint(cp, pDest, nCapacity, nWritten)) return 0;
    }
    return nWritten;
}

char *WideToUtf8(const char16_t *pszSource, char *pDest) {
    uint32_t n = static_cast<uint32_t>(WideLength(pszSource));
    uint32_t b = Utf16ToUtf8(pszSource, n, reinterpret_cast<unsigned char *>(pDest), 3 * n);
    pDest[b] = '\0';
    return pDest;
}

void Utf8ToWide(const char *pszSource, CKivString &strTarget) {
    int m = kernel32::MultiByteToWideChar(kernel32::CP_UTF8, 0, pszSource, -1, nullptr, 0);
    if (m < 2) {
        strTarget.Empty();
        return;
    }
    std::vector<char16_t> buffer(static_cast<size_t>(m) + 1);
    kernel32::MultiByteToWideChar(kernel32::CP_UTF8, 0, pszSource, -1, buffer.data(), m);
    strTarget = buffer.data();
}

Utf8Buffer::Utf8Buffer(const char16_t *pszSource) {
    size_t n = WideLength(pszSource);
    if (n > (std::numeric_limits<uint32_t>::max() - 3) / 3) return;
    m_pBytes.reset(new (std::nothrow) char[3 * n + 3]);
    if (!m_pBytes) return;
    WideToUtf8(pszSource, m_pBytes.get());
    m_nSize = static_cast<uint32_t>(std::char_traits<char>::length(m_pBytes.get()));
}

std::string Utf16ToUtf8String(const char16_t *psz) {
    Utf8Buffer utf8(psz ? psz : u"");
    return utf8 ? std::string(utf8.get(), utf8.size()) : std::string();
}
