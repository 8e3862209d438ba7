// The smallest host: load a document from text, dump it, print it.
#include <cstdio>
#include <string>

#include <orvane/KivXml.h>

// UTF-16 literals: wchar_t on Windows (windows.h types), char16_t elsewhere.
#if defined(_WIN32)
#define TEXT16(text) L##text
#else
#define TEXT16(text) u##text
#endif

#if defined(ORVANE_EDITION_X86)
namespace {

// Host-side UTF-16 -> UTF-8 for printing (BMP text is enough here).
std::string Narrow(const WCHAR *text) {
    std::string out;
    for (; *text; ++text) {
        char32_t c = *text;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace
#endif

int main() {
    IKivXml *doc = GetLibXmlInterface();
    if (!doc) return 1;
    HRESULT hr = doc->LoadFromText(TEXT16("<config version=\"2\"><name>Orvane</name><greeting>Grüß dich</greeting></config>"));
    if (FAILED(hr)) {
        std::fprintf(stderr, "LoadFromText failed: 0x%08X\n", static_cast<unsigned>(hr));
        doc->Release();
        return 1;
    }
#if defined(ORVANE_EDITION_X86)
    CKivString text;
    doc->DumpDocInMemory();
    doc->GetDumpText(text);
    std::printf("%s", Narrow(text).c_str());
#else
    std::printf("document loaded (the x64 edition keeps its dump to itself)\n");
#endif
    doc->Release();
    return 0;
}
