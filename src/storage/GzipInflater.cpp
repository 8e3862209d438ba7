#include "GzipInflater.h"

namespace {

// zlib counts in unsigned int: larger inputs go in pieces.
constexpr size_t kPiece = 1u << 30;
// Window bits for a gzip wrapper only.
constexpr int kGzipWindowBits = 16 + MAX_WBITS;

}  // namespace

GzipInflater::GzipInflater(ByteSink &output) : m_output(output) {
    m_bReady = inflateInit2(&m_stream, kGzipWindowBits) == Z_OK;
}

GzipInflater::~GzipInflater() {
    if (m_bReady) inflateEnd(&m_stream);
}

bool GzipInflater::Accept(const BYTE *pBytes, size_t nCount) {
    if (!m_bReady || m_bFailed) return false;
    while (nCount > 0) {
        // Bytes after a member's end start the next member.
        if (m_bMemberEnded) {
            if (inflateReset(&m_stream) != Z_OK) return Failed();
            m_bMemberEnded = false;
        }
        const size_t nPiece = nCount < kPiece ? nCount : kPiece;
        m_stream.next_in = const_cast<Bytef *>(pBytes);
        m_stream.avail_in = static_cast<uInt>(nPiece);
        if (!InflateInput()) return Failed();
        const size_t nUsed = nPiece - m_stream.avail_in;
        pBytes += nUsed;
        nCount -= nUsed;
    }
    return true;
}

// Inflates until the input is used up or the member ends, handing every
// block of output on.
bool GzipInflater::InflateInput() {
    for (;;) {
        m_stream.next_out = m_abOut;
        m_stream.avail_out = sizeof m_abOut;
        const int iResult = inflate(&m_stream, Z_NO_FLUSH);
        const size_t nProduced = sizeof m_abOut - m_stream.avail_out;
        if (nProduced > 0 && !m_output.Accept(m_abOut, nProduced)) return false;
        if (iResult == Z_STREAM_END) {
            m_bMemberEnded = true;
            return true;
        }
        // Z_BUF_ERROR only says that no progress was possible: input is needed.
        if (iResult != Z_OK && iResult != Z_BUF_ERROR) return false;
        if (m_stream.avail_in == 0 && m_stream.avail_out != 0) return true;
    }
}
