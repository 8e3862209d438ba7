#include "GzipDeflater.h"

#include <climits>

#include <zlib.h>

namespace {

constexpr int kGzipWindowBits = 16 + MAX_WBITS;
constexpr int kMemoryLevel = 8;  // zlib's default, as its gzip writer uses

// Ends a deflate stream on every path.
class DeflateStream {
public:
    explicit DeflateStream(int iLevel) {
        m_bReady =
            deflateInit2(&m_stream, iLevel, Z_DEFLATED, kGzipWindowBits, kMemoryLevel, Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~DeflateStream() {
        if (m_bReady) deflateEnd(&m_stream);
    }
    DeflateStream(const DeflateStream &) = delete;
    DeflateStream &operator=(const DeflateStream &) = delete;
    explicit operator bool() const { return m_bReady; }
    z_stream *operator->() { return &m_stream; }
    z_stream *get() { return &m_stream; }

private:
    z_stream m_stream{};
    bool m_bReady = false;
};

}  // namespace

bool GzipDeflater::Compress(const BYTE *pBytes, size_t nCount, int iLevel, ByteBuffer &gzip) {
    if (nCount > static_cast<size_t>(INT_MAX)) return false;
    DeflateStream stream(iLevel);
    if (!stream) return false;
    // One pass into a buffer of zlib's bound always completes the stream.
    const uLong nBound = deflateBound(stream.get(), static_cast<uLong>(nCount));
    if (!gzip.Allocate(nBound)) return false;
    stream->next_in = const_cast<Bytef *>(pBytes);
    stream->avail_in = static_cast<uInt>(nCount);
    stream->next_out = gzip.get();
    stream->avail_out = static_cast<uInt>(nBound);
    if (deflate(stream.get(), Z_FINISH) != Z_STREAM_END) return false;
    gzip.Truncate(stream->total_out);
    return true;
}
