// Replaces a file as a whole: the new content goes to a new file under a
// unique name in the target's folder, is forced to the disk, and is then
// renamed over the target. Until that rename the target stays as it was; a
// write that fails leaves the old file and no new one behind.
#ifndef ORVANE_ATOMICFILEWRITER_H
#define ORVANE_ATOMICFILEWRITER_H

#include <cstddef>

#include "support/CKivFile.h"

class AtomicFileWriter {
public:
    explicit AtomicFileWriter(LPCWSTR pstrTarget);
    // Deletes the new file unless it has replaced the target.
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter &) = delete;
    AtomicFileWriter &operator=(const AtomicFileWriter &) = delete;

    // Creates the new, empty file. False when the target names no file or
    // its folder takes no new file.
    bool Create();
    // Appends nCount bytes. False unless all were written.
    bool Write(const void *pBytes, size_t nCount);
    // Forces the bytes to the disk and closes the new file.
    bool Flush();
    // Renames the new file over the target, which need not exist. A
    // read-only target is replaced too.
    bool ReplaceTarget();

private:
    CKivPathString m_strTarget;
    CKivPathString m_strNewFile;
    CKivFile m_file;
    bool m_bOnDisk = false;
};

#endif
