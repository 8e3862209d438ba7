#include "AtomicFileWriter.h"

#include <chrono>
#include <cstdint>

namespace {

using namespace kernel32;

constexpr int kNameAttempts = 8;
// CKivFile counts in DWORD: larger blocks go in pieces.
constexpr size_t kPiece = 1u << 30;

// A number that differs between objects, attempts and moments, so that two
// saves into one folder, in one process or two, pick different names; a
// clash only costs another attempt, as the file is created exclusively.
uint64_t UniqueNumber(const void *pOwner, int iAttempt) {
    uint64_t x = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    x ^= static_cast<uint64_t>(reinterpret_cast<uintptr_t>(pOwner)) * 0x9E3779B97F4A7C15ull;
    x += static_cast<uint64_t>(iAttempt) * 0xBF58476D1CE4E5B9ull;
    // splitmix64 finaliser: every input bit reaches every output bit.
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

void AppendHex(CKivString &str, uint64_t value) {
    char16_t digits[17];
    for (int i = 15; i >= 0; --i, value >>= 4) digits[i] = u"0123456789abcdef"[value & 0xF];
    digits[16] = 0;
    str += digits;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(LPCWSTR pstrTarget) : m_strTarget(pstrTarget) {}

AtomicFileWriter::~AtomicFileWriter() {
    m_file.Close();
    if (m_bOnDisk) DeleteFileW(m_strNewFile);
}

bool AtomicFileWriter::Create() {
    const LPCWSTR pszName = m_strTarget.FindFileName();
    if (m_bOnDisk || !*pszName) return false;
    const CKivString strFolder = m_strTarget.Left(static_cast<int>(pszName - m_strTarget.GetString()));
    for (int iAttempt = 0; iAttempt < kNameAttempts && !m_bOnDisk; ++iAttempt) {
        m_strNewFile = strFolder;
        m_strNewFile += u".orvane-";
        AppendHex(m_strNewFile, UniqueNumber(this, iAttempt));
        m_strNewFile += u".tmp";
        m_bOnDisk = m_file.Attach(m_strNewFile) &&
                    m_file.Open(GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    return m_bOnDisk;
}

bool AtomicFileWriter::Write(const void *pBytes, size_t nCount) {
    const auto *p = static_cast<const BYTE *>(pBytes);
    while (nCount > 0) {
        const size_t nPiece = nCount < kPiece ? nCount : kPiece;
        if (!m_file.Write(p, static_cast<DWORD>(nPiece))) return false;
        p += nPiece;
        nCount -= nPiece;
    }
    return m_file.IsOpen();
}

bool AtomicFileWriter::Flush() { return m_file.Flush() && m_file.Close(); }

bool AtomicFileWriter::ReplaceTarget() {
    constexpr DWORD kFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (!m_bOnDisk || m_file.IsOpen()) return false;
    if (!MoveFileExW(m_strNewFile, m_strTarget, kFlags)) {
        // Windows refuses to replace a read-only file; the old content is
        // being replaced anyway, so its attribute goes first.
        SetFileAttributesW(m_strTarget, FILE_ATTRIBUTE_NORMAL);
        if (!MoveFileExW(m_strNewFile, m_strTarget, kFlags)) return false;
    }
    m_bOnDisk = false;
    return true;
}
