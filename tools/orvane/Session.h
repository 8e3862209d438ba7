// One document as the tool works on it: loads with errors in plain words,
// keeps the library's log to itself unless asked to show it, saves in the
// mode the file was loaded in.
#ifndef ORVANE_TOOL_SESSION_H
#define ORVANE_TOOL_SESSION_H

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <orvane/KivXml.h>

#include "FileMode.h"

// Exit statuses of the tool.
enum ExitStatus { kExitOk = 0, kExitNotFound = 1, kExitUsage = 2, kExitFile = 3 };

// A failure the tool reports on standard error and exits with.
class ToolError : public std::runtime_error {
public:
    ToolError(ExitStatus status, const std::string &message) : std::runtime_error(message), m_status(status) {}
    ExitStatus status() const { return m_status; }

private:
    ExitStatus m_status;
};

struct ReleaseObject {
    template <typename T>
    void operator()(T *p) const { p->Release(); }
};
using NodeHandle = std::unique_ptr<IKivXmlNode, ReleaseObject>;
using AttributeHandle = std::unique_ptr<IKivXmlAttribute, ReleaseObject>;

class Session {
public:
    explicit Session(bool bVerbose);
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    IKivXml &document() { return *m_document; }

    // Loads a file; throws ToolError saying why it cannot be loaded.
    void Load(const std::string &path);
    // Saves to path (the loaded file when empty) in the mode given.
    void Save(const std::string &path, bool bCompress, bool bEncrypt);
    // Saves back to the loaded file in the mode it was loaded in.
    void SaveInPlace();
    // The document as XML text.
    std::string Text();

    // The element at an XPath, or ToolError(kExitNotFound).
    NodeHandle Node(const std::string &xpath);
    // The attribute of an element, or NULL.
    AttributeHandle Attribute(IKivXmlNode &node, const std::string &name);

private:
    static void Collect(void *context, int kind, const char16_t *text);
    // The library's last messages, for an error report under --verbose.
    std::string TakeMessages();

    bool m_bVerbose;
    std::vector<std::string> m_messages;
    std::unique_ptr<IKivXml, ReleaseObject> m_document;
    std::string m_path;
    FileMode m_mode;
};

#endif
