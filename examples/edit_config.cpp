// A host that edits a protected configuration file in place:
//
//   edit_config FILE
//
// loads FILE (plain XML or any Orvane container), raises the port of
// /config/server by one, marks the server's text as edited, and saves the
// file back in the mode it was stored in. Copy it as a starting point.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include <orvane/KivXml.h>

namespace {

// Every object the library hands out is released by its own Release(); an
// owning pointer does that on every path. Objects are released before their
// document, which the declaration order below guarantees.
struct Release {
    template <typename T>
    void operator()(T *object) const { object->Release(); }
};
template <typename T>
using Owned = std::unique_ptr<T, Release>;

// UTF-8 path from the command line to the UTF-16 the interfaces take
// (ASCII and Latin-1 letters are enough for this example).
std::u16string Widen(const char *text) {
    std::u16string out;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(text); *p; ++p) {
        if (*p >= 0xC0 && p[1]) {
            out += static_cast<char16_t>(((*p & 0x1F) << 6) | (p[1] & 0x3F));
            ++p;
        } else {
            out += static_cast<char16_t>(*p);
        }
    }
    return out;
}

// True when the file is a compressed container: loading does not switch
// compression on for a container that is also encrypted, so the host
// restores it before saving.
bool IsCompressedContainer(const char *path) {
    unsigned char header[16] = {};
    FILE *file = std::fopen(path, "rb");
    if (!file) return false;
    const size_t n = std::fread(header, 1, sizeof header, file);
    std::fclose(file);
    return n == sizeof header && std::equal(header, header + 8, "!QZWQZW!") && header[12] != 0;
}

int Fail(const char *what, HRESULT hr) {
    std::fprintf(stderr, "edit_config: %s failed (0x%08X)\n", what, static_cast<unsigned>(hr));
    return 1;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: edit_config FILE\n");
        return 2;
    }
    const std::u16string path = Widen(argv[1]);

    // 1. A new, closed document.
    Owned<IKivXml> doc(GetLibXmlInterface());
    if (!doc) return Fail("GetLibXmlInterface", E_OUTOFMEMORY);

    // 2. Load the file; an encrypted container is decrypted with the key of
    //    its own file name.
    HRESULT hr = doc->LoadFile(path.c_str());
    if (FAILED(hr)) return Fail("LoadFile", hr);

    {
        // 3. The element, by XPath.
        IKivXmlNode *found = nullptr;
        hr = doc->GetNode(u"/config/server", &found);
        if (FAILED(hr)) return Fail("GetNode /config/server", hr);
        Owned<IKivXmlNode> server(found);

        // 4. A numeric attribute: read, then write.
        IKivXmlAttribute *attribute = nullptr;
        hr = server->GetAttribute(u"port", &attribute);
        if (FAILED(hr)) return Fail("GetAttribute port", hr);
        Owned<IKivXmlAttribute> port(attribute);
        const LONG value = port->GetLongValue();
        if (FAILED(port->isOK())) return Fail("GetLongValue", port->isOK());
        hr = port->SetLongValue(value + 1);
        if (FAILED(hr)) return Fail("SetLongValue", hr);

        // 5. The element's text.
        hr = server->SetText(u"edited");
        if (FAILED(hr)) return Fail("SetText", hr);
        std::printf("port %d -> %d\n", static_cast<int>(value), static_cast<int>(value + 1));
    }  // the node and attribute objects are released here, before the document

    // 6. Save in the same mode and under the same name (the key of an
    //    encrypted container comes from that name).
    if (IsCompressedContainer(argv[1])) doc->SetCompression(TRUE);
    hr = doc->SaveFile(nullptr);
    if (FAILED(hr)) return Fail("SaveFile", hr);
    return 0;
    // 7. The document is released last, by its owner.
}
