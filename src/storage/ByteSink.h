// Something that takes a stream of bytes, a block at a time: a parser, or a
// decompressor in front of one.
#ifndef ORVANE_BYTESINK_H
#define ORVANE_BYTESINK_H

#include <cstddef>

#include <orvane/KivTypes.h>

class ByteSink {
public:
    // Takes the next nCount bytes. False once the stream is known to be
    // bad; the caller then stops sending.
    virtual bool Accept(const BYTE *pBytes, size_t nCount) = 0;

protected:
    ~ByteSink() = default;
};

#endif
