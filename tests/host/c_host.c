/* A host written in C: loads the library with dlopen, finds the plain export
 * GetLibXmlInterface and calls the document interface through its table of
 * operations by slot position. */
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <uchar.h>

typedef int32_t HRESULT;
typedef void *(*GetLibXmlInterfaceFn)(void);
typedef void (*LogSink)(void *context, int kind, const char16_t *text);
typedef void (*SetSinkFn)(LogSink sink, void *context);
typedef void (*FreeStringFn)(char16_t *bstr);
typedef uint32_t (*StringLenFn)(char16_t *bstr);

enum {
    kLoadFile = 0, kLoadFromText = 1, kCreate = 2, kSaveFile = 3, kGetNode = 4, kGetRootNode = 5,
    kSetEncryption = 6, kSetCompression = 7, kRelease = 8, kDumpDocInMemory = 9, kGetDumpText = 10
};

#define E_INVALIDARG ((HRESULT)0x80070057)

static int passed, failed;
static int errors_logged;

static void check(int condition, const char *what) {
    if (condition) {
        ++passed;
    } else {
        ++failed;
        printf("FAILED: %s\n", what);
    }
}

static void count_errors(void *context, int kind, const char16_t *text) {
    (void)context;
    (void)text;
    if (kind == 0) ++errors_logged;
}

/* The operation at slot `slot` of an interface object. */
static void *slot_of(void *object, int slot) { return (*(void ***)object)[slot]; }

static HRESULT call_text(void *object, int slot, const char16_t *text) {
    return ((HRESULT(*)(void *, const char16_t *))slot_of(object, slot))(object, text);
}

static void call_void(void *object, int slot) { ((void (*)(void *))slot_of(object, slot))(object); }

int main(int argc, char **argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s LIBRARY\n", argv[0]);
        return 2;
    }
    void *library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "dlopen: %s\n", dlerror());
        return 1;
    }
    GetLibXmlInterfaceFn get_interface = (GetLibXmlInterfaceFn)dlsym(library, "GetLibXmlInterface");
    SetSinkFn set_sink = (SetSinkFn)dlsym(library, "KivLogSetSink");
    FreeStringFn free_string = (FreeStringFn)dlsym(library, "SysFreeString");
    StringLenFn string_len = (StringLenFn)dlsym(library, "SysStringLen");
    check(get_interface && set_sink && free_string && string_len, "plain export names");
    if (!get_interface || !set_sink || !free_string || !string_len) return 1;
    set_sink(count_errors, NULL);

    void *doc = get_interface();
    check(doc != NULL, "GetLibXmlInterface returns a document");

    check(call_text(doc, kLoadFromText, u"<config><name>x</name></config>") == 0, "LoadFromText slot 1 loads");
    check(errors_logged == 0, "a good load logs nothing");
    check(call_text(doc, kLoadFromText, u"<config>") == E_INVALIDARG, "LoadFromText refuses broken XML");
    check(errors_logged == 1, "a failed load logs one error");
    check(call_text(doc, kLoadFromText, u"<a>\u00e9</a>") == 0, "LoadFromText loads again");

#if defined(ORVANE_EDITION_X86)
    {
        /* A CKivString is one automation-string pointer. */
        struct { char16_t *text; } dump = {NULL};
        int dumped = ((int32_t(*)(void *))slot_of(doc, kDumpDocInMemory))(doc);
        check(dumped == 1, "DumpDocInMemory slot 9 produces a dump");
        HRESULT hr = ((HRESULT(*)(void *, void *))slot_of(doc, kGetDumpText))(doc, &dump);
        check(hr == 0 && dump.text != NULL, "GetDumpText slot 10 fills the caller's string");
        static const char16_t expected[] = u"<?xml version=\"1.0\"?>\n<a>&#xE9;</a>\n";
        check(dump.text && string_len(dump.text) == sizeof expected / 2 - 1 &&
                  memcmp(dump.text, expected, sizeof expected) == 0,
              "dump text is the serialised document");
        free_string(dump.text);
    }
#endif

    call_void(doc, kRelease);
    set_sink(NULL, NULL);
    printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
