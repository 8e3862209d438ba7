/* A host written in C: loads the library at run time (LoadLibraryW on
 * Windows, dlopen elsewhere), finds the plain export GetLibXmlInterface and
 * calls the document interface through its table of operations by slot
 * position, with the COM calling convention. */
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#if defined(_WIN32)
#include <windows.h>
#include <oleauto.h>
/* UTF-16 literals: wchar_t is UTF-16 on Windows. */
typedef wchar_t char16;
#define U16(text) L##text
#define CALL __stdcall
#else
#include <dlfcn.h>
#include <uchar.h>
typedef char16_t char16;
#define U16(text) u##text
#define CALL
typedef int32_t HRESULT;
#define E_INVALIDARG ((HRESULT)0x80070057)
#endif

typedef void *(*GetLibXmlInterfaceFn)(void);
typedef void (*LogSink)(void *context, int kind, const char16 *text);
typedef void (*SetSinkFn)(LogSink sink, void *context);
typedef void(CALL *FreeStringFn)(char16 *bstr);
typedef uint32_t(CALL *StringLenFn)(char16 *bstr);

enum {
    kLoadFile = 0, kLoadFromText = 1, kCreate = 2, kSaveFile = 3, kGetNode = 4, kGetRootNode = 5,
    kSetEncryption = 6, kSetCompression = 7, kRelease = 8, kDumpDocInMemory = 9, kGetDumpText = 10
};

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

static void count_errors(void *context, int kind, const char16 *text) {
    (void)context;
    (void)text;
    if (kind == 0) ++errors_logged;
}

/* The operation at slot `slot` of an interface object. */
static void *slot_of(void *object, int slot) { return (*(void ***)object)[slot]; }

static HRESULT call_text(void *object, int slot, const char16 *text) {
    return ((HRESULT(CALL *)(void *, const char16 *))slot_of(object, slot))(object, text);
}

static void call_void(void *object, int slot) { ((void(CALL *)(void *))slot_of(object, slot))(object); }

/* The library and the automation-string functions: on Windows the system's
 * (oleaut32), elsewhere the library's own. */
#if defined(_WIN32)
static void *open_library(const char *path) {
    wchar_t wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_UTF8, 0, path, -1, wide, MAX_PATH)) return NULL;
    HMODULE library = LoadLibraryW(wide);
    if (!library) fprintf(stderr, "LoadLibraryW failed: %lu\n", (unsigned long)GetLastError());
    return library;
}
static void *find(void *library, const char *name) { return (void *)GetProcAddress((HMODULE)library, name); }
static void *find_string_function(void *library, const char *name) {
    (void)library;
    return find(LoadLibraryW(L"oleaut32.dll"), name);
}
#else
static void *open_library(const char *path) {
    void *library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!library) fprintf(stderr, "dlopen: %s\n", dlerror());
    return library;
}
static void *find(void *library, const char *name) { return dlsym(library, name); }
static void *find_string_function(void *library, const char *name) { return find(library, name); }
#endif

int main(int argc, char **argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s LIBRARY\n", argv[0]);
        return 2;
    }
    void *library = open_library(argv[1]);
    if (!library) return 1;
    GetLibXmlInterfaceFn get_interface = (GetLibXmlInterfaceFn)find(library, "GetLibXmlInterface");
    SetSinkFn set_sink = (SetSinkFn)find(library, "KivLogSetSink");
    FreeStringFn free_string = (FreeStringFn)find_string_function(library, "SysFreeString");
    StringLenFn string_len = (StringLenFn)find_string_function(library, "SysStringLen");
    check(get_interface && set_sink && free_string && string_len, "plain export names");
    if (!get_interface || !set_sink || !free_string || !string_len) return 1;
    set_sink(count_errors, NULL);

    void *doc = get_interface();
    check(doc != NULL, "GetLibXmlInterface returns a document");

    check(call_text(doc, kLoadFromText, U16("<config><name>x</name></config>")) == 0, "LoadFromText slot 1 loads");
    check(errors_logged == 0, "a good load logs nothing");
    check(call_text(doc, kLoadFromText, U16("<config>")) == E_INVALIDARG, "LoadFromText refuses broken XML");
    check(errors_logged == 1, "a failed load logs one error");
    check(call_text(doc, kLoadFromText, U16("<a>\u00e9</a>")) == 0, "LoadFromText loads again");

#if defined(ORVANE_EDITION_X86)
    {
        /* A CKivString is one automation-string pointer. */
        struct { char16 *text; } dump = {NULL};
        int dumped = ((int32_t(CALL *)(void *))slot_of(doc, kDumpDocInMemory))(doc);
        check(dumped == 1, "DumpDocInMemory slot 9 produces a dump");
        HRESULT hr = ((HRESULT(CALL *)(void *, void *))slot_of(doc, kGetDumpText))(doc, &dump);
        check(hr == 0 && dump.text != NULL, "GetDumpText slot 10 fills the caller's string");
        static const char16 expected[] = U16("<?xml version=\"1.0\"?>\n<a>&#xE9;</a>\n");
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
