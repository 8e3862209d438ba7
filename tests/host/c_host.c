/* A host written in C: loads the library with dlopen, finds the plain export
 * GetLibXmlInterface and calls the document, node and attribute interfaces
 * through their tables of operations by slot position. */
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

#define E_INVALIDARG ((HRESULT)0x80070057)
#define E_FAIL ((HRESULT)0x80004005)

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

static HRESULT call_out(void *object, int slot, void **out) {
    return ((HRESULT(*)(void *, void **))slot_of(object, slot))(object, out);
}

static HRESULT call_text_out(void *object, int slot, const char16_t *text, void **out) {
    return ((HRESULT(*)(void *, const char16_t *, void **))slot_of(object, slot))(object, text, out);
}

static HRESULT call_index_out(void *object, int slot, int32_t index, void **out) {
    return ((HRESULT(*)(void *, int32_t, void **))slot_of(object, slot))(object, index, out);
}

static HRESULT call_long_in(void *object, int slot, int32_t value) {
    return ((HRESULT(*)(void *, int32_t))slot_of(object, slot))(object, value);
}

static HRESULT call_long64_in(void *object, int slot, int64_t value) {
    return ((HRESULT(*)(void *, int64_t))slot_of(object, slot))(object, value);
}

static int32_t call_long(void *object, int slot) { return ((int32_t(*)(void *))slot_of(object, slot))(object); }

static int64_t call_long64(void *object, int slot) { return ((int64_t(*)(void *))slot_of(object, slot))(object); }

static FreeStringFn free_string;

/* Whether the string that the operation at `slot` returns is `expected`;
 * the string is freed. */
static int string_is(void *object, int slot, const char16_t *expected) {
    char16_t *text = ((char16_t * (*)(void *)) slot_of(object, slot))(object);
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
    check(string_is(root, kNodeGetName, u"config"), "node GetName slot 0");
    check(call_long(root, kGetChildCount) == 2, "GetChildCount slot 3 counts element children");
    check(call_long(root, kNodeIsOK) == 0, "node isOK slot 19");

    check(call_text_out(doc, kGetNode, u"config/server", &server) == 0 && server != NULL,
          "GetNode slot 4 finds by XPath");
    check(call_text_out(doc, kGetNode, u"/config/none", &missing) == E_FAIL && missing == NULL,
          "GetNode slot 4 reports a path that selects nothing");
    if (!server) return;
    check(string_is(server, kGetXPath, u"/config/server"), "GetXPath slot 4");
    check(string_is(server, kGetText, u"primary"), "GetText slot 16");
    check(call_text(server, kSetText, u"backup") == 0 && string_is(server, kGetText, u"backup"), "SetText slot 17");

    check(call_out(root, kGetFirstChild, &child) == 0 && string_is(child, kNodeGetName, u"server"),
          "GetFirstChild slot 6");
    call_void(child, kNodeRelease);
    check(call_out(root, kGetNextChild, &child) == 0 && string_is(child, kNodeGetName, u"b"), "GetNextChild slot 7");
    check(call_text(child, kNodeSetName, u"renamed") == 0 && string_is(child, kNodeGetName, u"renamed"),
          "node SetName slot 1");
    call_void(child, kNodeRelease);
    check(call_out(root, kGetNextChild, &child) == E_INVALIDARG && child == NULL, "GetNextChild past the end");
    check(call_text_out(root, kAddChild, u"added", &child) == 0 && string_is(child, kGetXPath, u"/config/added"),
          "AddChild slot 2");
    call_void(child, kNodeRelease);
    check(call_index_out(root, kGetChildAt, 2, &child) == 0 && string_is(child, kNodeGetName, u"added"),
          "GetChildAt slot 5");
    call_void(child, kNodeRelease);
    check(call_long_in(root, kRemoveChild, 2) == 0 && call_long(root, kGetChildCount) == 2, "RemoveChild slot 8");

    call_void(server, kNodeRelease);
    call_void(root, kNodeRelease);
}

/* Attribute access by slot, node and attribute interfaces. */
static void exercise_attributes(void *doc) {
    void *server = NULL, *port = NULL, *attribute = NULL;
    if (call_text_out(doc, kGetNode, u"/config/server", &server) != 0) return;
    check(call_long(server, kGetAttributeCount) == 1, "GetAttributeCount slot 9");
    check(call_text_out(server, kGetAttribute, u"port", &port) == 0 && port != NULL, "GetAttribute slot 13");
    if (port) {
        check(call_long(port, kGetLongValue) == 8080, "GetLongValue slot 1");
        check(call_long_in(port, kSetLongValue, -8443) == 0 && string_is(port, kGetStringValue, u"-8443"),
              "SetLongValue slot 4, GetStringValue slot 0");
        check(call_long64_in(port, kSetLong64Value, 1099511627776LL) == 0 &&
                  call_long64(port, kGetLong64Value) == 1099511627776LL,
              "SetLong64Value slot 5, GetLong64Value slot 2");
        check(call_text(port, kSetStringValue, u"\uff14\uff12") == 0 && call_long(port, kGetLongValue) == 42,
              "SetStringValue slot 3 reads full-width digits");
        check(call_text(port, kAttributeSetName, u"p") == 0 && string_is(port, kAttributeGetName, u"p"),
              "attribute SetName slot 7, GetName slot 6");
        check(call_long(port, kAttributeIsOK) == 0, "attribute isOK slot 9");
        call_void(port, kAttributeRelease);
    }
    check(call_out(server, kGetFirstAttribute, &attribute) == 0 && string_is(attribute, kAttributeGetName, u"p"),
          "GetFirstAttribute slot 10");
    call_void(attribute, kAttributeRelease);
    attribute = &attribute;
    check(call_out(server, kGetNextAttribute, &attribute) == E_FAIL && attribute == &attribute,
          "GetNextAttribute slot 11 past the end");
    check(call_text_out(server, kAddAttribute, u"n", &attribute) == 0 && string_is(attribute, kGetStringValue, u" "),
          "AddAttribute slot 14");
    call_void(attribute, kAttributeRelease);
    check(call_index_out(server, kGetAttributeAt, 1, &attribute) == 0 && string_is(attribute, kAttributeGetName, u"n"),
          "GetAttributeAt slot 12");
    call_void(attribute, kAttributeRelease);
    check(call_text(server, kRemoveAttribute, u"n") == 0 && call_long(server, kGetAttributeCount) == 1,
          "RemoveAttribute slot 15");
    call_void(server, kNodeRelease);
}

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
    free_string = (FreeStringFn)dlsym(library, "SysFreeString");
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
    check(call_text(doc, kLoadFromText, u"<config><server port=\"8080\">primary</server><b/></config>") == 0,
          "LoadFromText loads again");
    errors_logged = 0;
    exercise_nodes(doc);
    exercise_attributes(doc);
    check(errors_logged == 1, "only the path that selects nothing logs");
    check(call_text(doc, kLoadFromText, u"<a>\u00e9</a>") == 0, "LoadFromText loads once more");

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
