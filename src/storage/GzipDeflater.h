// Compresses a block of bytes into one gzip member, as zlib's gzip file
// writer (and so libxml2's compressed save) stores it.
#ifndef ORVANE_GZIPDEFLATER_H
#define ORVANE_GZIPDEFLATER_H

#include "storage/ByteBuffer.h"

class GzipDeflater {
public:
    // Fills gzip with the gzip file of nCount bytes at iLevel (1 to 9).
    // False when memory runs out or the input is larger than a serialised
    // document can be (2 GiB).
    static bool Compress(const BYTE *pBytes, size_t nCount, int iLevel, ByteBuffer &gzip);
};

#endif
