#include "FileMode.h"

#include <cstring>
#include <fstream>

namespace {

uint32_t LittleEndian(const unsigned char *p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

FileMode FileMode::Read(const std::string &path) {
    FileMode mode;
    std::ifstream in(path, std::ios::binary);
    if (!in) return mode;
    unsigned char header[36] = {};
    in.read(reinterpret_cast<char *>(header), sizeof header);
    const std::streamsize n = in.gcount();
    if (n < 8 || std::memcmp(header, "!QZWQZW!", 8) != 0) {
        mode.kind = (n >= 2 && header[0] == 0x1F && header[1] == 0x8B) ? kGzip : kPlain;
        return mode;
    }
    if (n < 36) {
        mode.kind = kShortContainer;
        return mode;
    }
    mode.kind = kContainer;
    uint32_t *fields[] = {&mode.headerSize, &mode.compressed, &mode.encrypted, &mode.compressedSize,
                          &mode.probeSize,  &mode.cipherSize, &mode.plainSize};
    for (int i = 0; i < 7; ++i) *fields[i] = LittleEndian(header + 8 + 4 * i);
    return mode;
}

std::string FileMode::Describe() const {
    switch (kind) {
        case kMissing: return "missing";
        case kPlain: return "plain XML";
        case kGzip: return "plain XML, gzip-compressed";
        case kShortContainer: return "damaged container (shorter than its 36-byte header)";
        case kContainer: break;
    }
    if (encrypted && compressed) return "compressed and encrypted container";
    if (encrypted) return "encrypted container";
    if (compressed) return "compressed container";
    return "damaged container (neither compressed nor encrypted)";
}
