// An owned block of bytes whose allocation failure is a result, not an
// exception: sizes come from files and documents, and no exception may leave
// the library.
#ifndef ORVANE_BYTEBUFFER_H
#define ORVANE_BYTEBUFFER_H

#include <cstddef>
#include <memory>
#include <new>

#include <orvane/KivTypes.h>

class ByteBuffer {
public:
    // Replaces the block with nCount uninitialised bytes. False when memory
    // runs out; the buffer is then empty.
    bool Allocate(size_t nCount) {
        m_pBytes.reset(new (std::nothrow) BYTE[nCount ? nCount : 1]);
        m_nSize = m_pBytes ? nCount : 0;
        return m_pBytes != nullptr;
    }
    // Keeps only the first nCount bytes in view.
    void Truncate(size_t nCount) {
        if (nCount < m_nSize) m_nSize = nCount;
    }
    BYTE *get() const { return m_pBytes.get(); }
    size_t size() const { return m_nSize; }

private:
    std::unique_ptr<BYTE[]> m_pBytes;
    size_t m_nSize = 0;
};

#endif
