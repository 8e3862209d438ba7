// The 36-byte container header, held in memory exactly as it is stored:
// little-endian 32-bit fields after the 8-byte magic, no gaps.
#ifndef ORVANE_XMLFILEHEADER_H
#define ORVANE_XMLFILEHEADER_H

#include <orvane/KivTypes.h>

struct XML_FILE_HEADER {
    BYTE abMagic[8];          // "!QZWQZW!", no terminator
    DWORD dwHeaderSize;       // 36
    DWORD dwCompressed;       // payload is (or decrypts to) a gzip XML file
    DWORD dwEncrypted;        // payload is ciphertext
    DWORD dwCompressedSize;   // bytes of the gzip file
    DWORD dwProbeSize;        // size of a compressed save's first (probe) save
    DWORD dwCipherSize;       // bytes of ciphertext
    DWORD dwPlainSize;        // bytes that were encrypted
};

static_assert(sizeof(XML_FILE_HEADER) == 36, "the container header has no gaps");
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "the container header is stored as held in memory, which needs a little-endian machine"
#endif

inline constexpr BYTE kContainerMagic[8] = {'!', 'Q', 'Z', 'W', 'Q', 'Z', 'W', '!'};

// A new document's header: the magic, 36, zeros.
inline XML_FILE_HEADER InitialFileHeader() {
    XML_FILE_HEADER header{};
    for (int i = 0; i < 8; ++i) header.abMagic[i] = kContainerMagic[i];
    header.dwHeaderSize = sizeof(XML_FILE_HEADER);
    return header;
}

#endif
