// What a file holds, told from its first bytes: plain XML, gzip XML, or a
// container with its header fields.
#ifndef ORVANE_TOOL_FILEMODE_H
#define ORVANE_TOOL_FILEMODE_H

#include <cstdint>
#include <string>

struct FileMode {
    enum Kind { kMissing, kPlain, kGzip, kContainer, kShortContainer };

    Kind kind = kMissing;
    // Container header fields, in file order.
    uint32_t headerSize = 0, compressed = 0, encrypted = 0, compressedSize = 0, probeSize = 0, cipherSize = 0,
             plainSize = 0;

    static FileMode Read(const std::string &path);
    // "plain XML", "compressed container", ...
    std::string Describe() const;
};

#endif
