// UTF-16 <-> UTF-8 conversion at the library's boundary.
#ifndef ORVANE_TEXTCONVERSION_H
#define ORVANE_TEXTCONVERSION_H

#include <cstdint>
#include <memory>
#include <string>

#include <orvane/KivString.h>

// Encodes nCount UTF-16 units into at most nCapacity bytes; returns the byte
// count, or 0 when either size is 0 or the output does not fit (nothing is
// written past the capacity). A surrogate pair becomes one 4-byte sequence,
// a lone surrogate U+FFFD. No unit needs more than three bytes.
uint32_t Utf16ToUtf8(const char16_t *pSource, uint32_t nCount, unsigned char *pDest, uint32_t nCapacity);

// Encodes a NUL-terminated string into pDest (at least 3 * length + 1 bytes)
// and terminates it; returns pDest.
char *WideToUtf8(const char16_t *pszSource, char *pDest);

// Decodes NUL-terminated UTF-8 (NULL allowed) into strTarget; the target is
// emptied when there is nothing to decode.
void Utf8ToWide(const char *pszSource, CKivString &strTarget);

// Length of a NUL-terminated UTF-16 string in code units.
size_t WideLength(const char16_t *psz);

// A NUL-terminated UTF-8 copy of a wide string, in a buffer of three bytes
// per UTF-16 unit plus three, released when it goes out of scope. get() is
// NULL only when the buffer could not be allocated.
class Utf8Buffer {
public:
    explicit Utf8Buffer(const char16_t *pszSource);
    const char *get() const { return m_pBytes.get(); }
    const unsigned char *bytes() const { return reinterpret_cast<const unsigned char *>(m_pBytes.get()); }
    explicit operator bool() const { return m_pBytes != nullptr; }
    // Bytes of the encoding, without the terminator.
    uint32_t size() const { return m_nSize; }

private:
    std::unique_ptr<char[]> m_pBytes;
    uint32_t m_nSize = 0;
};

// UTF-8 copy as a std::string, for the library's own diagnostics and paths.
std::string Utf16ToUtf8String(const char16_t *psz);

#endif
