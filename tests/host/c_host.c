/* A host written in C: loads the library at run time (LoadLibraryW on
 * Windows, dlopen elsewhere), finds the plain export GetLibXmlInterface and
 * calls the document, node and attribute interfaces through their tables of
 * operations by slot position, with the COM calling convention. */
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
#define E_FAIL ((HRESULT)0x80004005)
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

enum {
    kNodeGetName = 0, kNodeSetName = 1, kAddChild = 2, kGetChildCount = 3, kGetXPath = 4, kGetChildAt = 5,
    kGetFirstChild = 6, kGetNextChild = 7, kRemoveChild = 8, kGetAttributeCount = 9, kGetFirstAttribute = 10,
    kGetNextAttribute = 11, kGetAttributeAt = 12, kGetAttribute = 13, kAddAttribute = 14, kRemoveAttribute = 15,
    kGetText = 16, kSetText = 17, kNodeRelease = 18, kNodeIsOK = 19
};

enum {
    kGetStringValue = 0, kGetLongValue = 1, kGetLong64Value = 2, kSetStringValue = 3, kSetLongValue = 4,
    kSetLong64Value = 5, kAttributeGetName = 6, kAttributeSetName = 7, kAttributeRelease = 8, kAttributeIsOK = 9
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

static HRESULT call_out(void *object, int slot, void **out) {
    return ((HRESULT(CALL *)(void *, void **))slot_of(object, slot))(object, out);
}

static HRESULT call_text_out(void *object, int slot, const char16 *text, void **out) {
    return ((HRESULT(CALL *)(void *, const char16 *, void **))slot_of(object, slot))(object, text, out);
}

static HRESULT call_index_out(void *object, int slot, int32_t index, void **out) {
    return ((HRESULT(CALL *)(void *, int32_t, void **))slot_of(object, slot))(object, index, out);
}

static HRESULT call_long_in(void *object, int slot, int32_t value) {
    return ((HRESULT(CALL *)(void *, int32_t))slot_of(object, slot))(object, value);
}

static HRESULT call_long64_in(void *object, int slot, int64_t value) {
    return ((HRESULT(CALL *)(void *, int64_t))slot_of(object, slot))(object, value);
}

static int32_t call_long(void *object, int slot) { return ((int32_t(CALL *)(void *))slot_of(object, slot))(object); }

static int64_t call_long64(void *object, int slot) { return ((int64_t(CALL *)(void *))slot_of(object, slot))(object); }

static FreeStringFn free_string;

/* Whether the string that the operation at `slot` returns is `expected`;
 * the string is freed. */
static int string_is(void *object, int slot, const char16 *expected) {
    char16 *text = ((char16 *(CALL *)(void *))slot_of(object, slot))(object);
    int same = text != NULL;
    size_t i = 0;
    for (; same && expected[i]; ++i) same = text[i] == expected[i];
    same = same && text[i] == 0;
    free_string(text);
    return same;
}

/* Node operations by slot, on <config><server port="8080">primary</server><b/></config>. */
static void exercise_nodes(void *doc) {
    void *root = NULL, *server = NULL, *child = NULL, *missing = &missing;
    check(call_out(doc, kGetRootNode, &root) == 0 && root != NULL, "GetRootNode slot 5 hands out the root");
    if (!root) return;
    check(string_is(root, kNodeGetName, U16("config")), "node GetName slot 0");
    check(call_long(root, kGetChildCount) == 2, "GetChildCount slot 3 counts element children");
    check(call_long(root, kNodeIsOK) == 0, "node isOK slot 19");

    check(call_text_out(doc, kGetNode, U16("config/server"), &server) == 0 && server != NULL,
          "GetNode slot 4 finds by XPath");
    check(call_text_out(doc, kGetNode, U16("/config/none"), &missing) == E_FAIL && missing == NULL,
          "GetNode slot 4 reports a path that selects nothing");
    if (!server) return;
    check(string_is(server, kGetXPath, U16("/config/server")), "GetXPath slot 4");
    check(string_is(server, kGetText, U16("primary")), "GetText slot 16");
    check(call_text(server, kSetText, U16("backup")) == 0 && string_is(server, kGetText, U16("backup")), "SetText slot 17");

    check(call_out(root, kGetFirstChild, &child) == 0 && string_is(child, kNodeGetName, U16("server")),
          "GetFirstChild slot 6");
    call_void(child, kNodeRelease);
    check(call_out(root, kGetNextChild, &child) == 0 && string_is(child, kNodeGetName, U16("b")), "GetNextChild slot 7");
    check(call_text(child, kNodeSetName, U16("renamed")) == 0 && string_is(child, kNodeGetName, U16("renamed")),
          "node SetName slot 1");
    call_void(child, kNodeRelease);
    check(call_out(root, kGetNextChild, &child) == E_INVALIDARG && child == NULL, "GetNextChild past the end");
    check(call_text_out(root, kAddChild, U16("added"), &child) == 0 && string_is(child, kGetXPath, U16("/config/added")),
          "AddChild slot 2");
    call_void(child, kNodeRelease);
    check(call_index_out(root, kGetChildAt, 2, &child) == 0 && string_is(child, kNodeGetName, U16("added")),
          "GetChildAt slot 5");
    call_void(child, kNodeRelease);
    check(call_long_in(root, kRemoveChild, 2) == 0 && call_long(root, kGetChildCount) == 2, "RemoveChild slot 8");

    call_void(server, kNodeRelease);
    call_void(root, kNodeRelease);
}

/* Attribute access by slot, node and attribute interfaces. */
static void exercise_attributes(void *doc) {
    void *server = NULL, *port = NULL, *attribute = NULL;
    if (call_text_out(doc, kGetNode, U16("/config/server"), &server) != 0) return;
    check(call_long(server, kGetAttributeCount) == 1, "GetAttributeCount slot 9");
    check(call_text_out(server, kGetAttribute, U16("port"), &port) == 0 && port != NULL, "GetAttribute slot 13");
    if (port) {
        check(call_long(port, kGetLongValue) == 8080, "GetLongValue slot 1");
        check(call_long_in(port, kSetLongValue, -8443) == 0 && string_is(port, kGetStringValue, U16("-8443")),
              "SetLongValue slot 4, GetStringValue slot 0");
        check(call_long64_in(port, kSetLong64Value, 1099511627776LL) == 0 &&
                  call_long64(port, kGetLong64Value) == 1099511627776LL,
              "SetLong64Value slot 5, GetLong64Value slot 2");
        check(call_text(port, kSetStringValue, U16("\uff14\uff12")) == 0 && call_long(port, kGetLongValue) == 42,
              "SetStringValue slot 3 reads full-width digits");
        check(call_text(port, kAttributeSetName, U16("p")) == 0 && string_is(port, kAttributeGetName, U16("p")),
              "attribute SetName slot 7, GetName slot 6");
        check(call_long(port, kAttributeIsOK) == 0, "attribute isOK slot 9");
        call_void(port, kAttributeRelease);
    }
    check(call_out(server, kGetFirstAttribute, &attribute) == 0 && string_is(attribute, kAttributeGetName, U16("p")),
          "GetFirstAttribute slot 10");
    call_void(attribute, kAttributeRelease);
    attribute = &attribute;
    check(call_out(server, kGetNextAttribute, &attribute) == E_FAIL && attribute == &attribute,
          "GetNextAttribute slot 11 past the end");
    check(call_text_out(server, kAddAttribute, U16("n"), &attribute) == 0 && string_is(attribute, kGetStringValue, U16(" ")),
          "AddAttribute slot 14");
    call_void(attribute, kAttributeRelease);
    check(call_index_out(server, kGetAttributeAt, 1, &attribute) == 0 && string_is(attribute, kAttributeGetName, U16("n")),
          "GetAttributeAt slot 12");
    call_void(attribute, kAttributeRelease);
    check(call_text(server, kRemoveAttribute, U16("n")) == 0 && call_long(server, kGetAttributeCount) == 1,
          "RemoveAttribute slot 15");
    call_void(server, kNodeRelease);
}

int main(int argc, char **argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s LIBRARY\n", argv[0]);
        return 2;
    }
    void *library = open_library(argv[1]);
    if (!library) return 1;
    GetLibXmlInterfaceFn get_interface = (GetLibXmlInterfaceFn)find(library, "GetLibXmlInterface");
    SetSinkFn set_sink = (SetSinkFn)find(library, "KivLogSetSink");
    free_string = (FreeStringFn)find_string_function(library, "SysFreeString");
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
    check(call_text(doc, kLoadFromText, U16("<config><server port=\"8080\">primary</server><b/></config>")) == 0,
          "LoadFromText loads again");
    errors_logged = 0;
    exercise_nodes(doc);
    exercise_attributes(doc);
    check(errors_logged == 1, "only the path that selects nothing logs");
    check(call_text(doc, kLoadFromText, U16("<a>\u00e9</a>")) == 0, "LoadFromText loads once more");

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
