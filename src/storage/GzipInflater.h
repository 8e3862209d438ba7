// Decompresses a gzip file as a stream and hands the bytes on. The file may
// hold several gzip members back to back, as zlib's gzip file reader (and so
// libxml2) accepts; a stream that breaks off, fails its check or has other
// bytes after its last member is refused.
#ifndef ORVANE_GZIPINFLATER_H
#define ORVANE_GZIPINFLATER_H

#include <zlib.h>

#include "storage/ByteSink.h"

class GzipInflater final : public ByteSink {
public:
    explicit GzipInflater(ByteSink &output);
    ~GzipInflater();
    GzipInflater(const GzipInflater &) = delete;
    GzipInflater &operator=(const GzipInflater &) = delete;

    // Decompresses the next compressed bytes into the output. False when the
    // bytes are not gzip or the output refuses what they hold.
    bool Accept(const BYTE *pBytes, size_t nCount) override;
    // True when the input ended exactly at the end of a complete member.
    bool Finish() const { return m_bReady && !m_bFailed && m_bMemberEnded; }

private:
    bool InflateInput();
    bool Failed() {
        m_bFailed = true;
        return false;
    }

    ByteSink &m_output;
    z_stream m_stream{};
    bool m_bReady = false;
    bool m_bFailed = false;
    bool m_bMemberEnded = false;
    BYTE m_abOut[32 * 1024];
};

#endif
