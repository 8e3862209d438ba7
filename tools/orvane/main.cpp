// orvane: inspect and edit XML documents and Orvane containers.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "FileMode.h"
#include "HostText.h"
#include "Session.h"

namespace {

void Print(const std::string &text) { std::fwrite(text.data(), 1, text.size(), stdout); }

int Show(Session &session, const std::string &file) {
    session.Load(file);
    Print(session.Text());
    return kExitOk;
}

int Info(const std::string &file) {
    const FileMode mode = FileMode::Read(file);
    if (mode.kind == FileMode::kMissing) throw ToolError(kExitFile, "cannot read '" + file + "'");
    Print(file + ": " + mode.Describe() + "\n");
    if (mode.kind != FileMode::kContainer) return kExitOk;
    const std::pair<const char *, uint32_t> fields[] = {
        {"header size", mode.headerSize}, {"compressed", mode.compressed},   {"encrypted", mode.encrypted},
        {"compressed size", mode.compressedSize}, {"probe size", mode.probeSize}, {"cipher size", mode.cipherSize},
        {"plain size", mode.plainSize}};
    for (const auto &[name, value] : fields) Print("  " + std::string(name) + ": " + std::to_string(value) + "\n");
    return kExitOk;
}

int Get(Session &session, const std::string &file, const std::string &xpath, const std::string &attr) {
    session.Load(file);
    NodeHandle node = session.Node(xpath);
    if (attr.empty()) {
        Print(TakeString(node->GetText()) + "\n");
        return kExitOk;
    }
    AttributeHandle attribute = session.Attribute(*node, attr);
    if (!attribute) throw ToolError(kExitNotFound, "'" + xpath + "' has no attribute '" + attr + "'");
    Print(TakeString(attribute->GetStringValue()) + "\n");
    return kExitOk;
}

int Set(Session &session, const std::string &file, const std::string &xpath, const std::vector<std::string> &texts,
        const std::vector<std::string> &attrs) {
    session.Load(file);
    NodeHandle node = session.Node(xpath);
    for (const std::string &text : texts) {
        if (FAILED(node->SetText(Widen(text).c_str())))
            throw ToolError(kExitNotFound, "'" + xpath + "' has child elements and no text to replace");
    }
    for (const std::string &assignment : attrs) {
        const size_t equals = assignment.find('=');
        const std::string name = assignment.substr(0, equals);
        const std::string value = assignment.substr(equals + 1);
        AttributeHandle attribute = session.Attribute(*node, name);
        IKivXmlAttribute *added = nullptr;
        if (!attribute && SUCCEEDED(node->AddAttribute(Widen(name).c_str(), &added))) attribute.reset(added);
        if (!attribute || FAILED(attribute->SetStringValue(Widen(value).c_str())))
            throw ToolError(kExitUsage, "cannot set attribute '" + name + "' on '" + xpath + "'");
    }
    session.SaveInPlace();
    return kExitOk;
}

// The index of node among its parent's element children, found by path.
LONG IndexInParent(IKivXmlNode &parent, const std::string &path) {
    IKivXmlNode *child = nullptr;
    for (LONG index = 0; SUCCEEDED(index == 0 ? parent.GetFirstChild(&child) : parent.GetNextChild(&child));
         ++index) {
        NodeHandle owned(child);
        if (TakeString(owned->GetXPath()) == path) return index;
    }
    return -1;
}

int Remove(Session &session, const std::string &file, const std::string &xpath, const std::string &attr) {
    session.Load(file);
    NodeHandle node = session.Node(xpath);
    if (!attr.empty()) {
        if (FAILED(node->RemoveAttribute(Widen(attr).c_str())))
            throw ToolError(kExitNotFound, "'" + xpath + "' has no attribute '" + attr + "'");
        session.SaveInPlace();
        return kExitOk;
    }
    const std::string path = TakeString(node->GetXPath());
    const size_t slash = path.rfind('/');
    if (slash == 0 || slash == std::string::npos) throw ToolError(kExitUsage, "cannot remove the root element");
    NodeHandle parent = session.Node(path.substr(0, slash));
    const LONG index = IndexInParent(*parent, path);
    if (index < 0 || FAILED(parent->RemoveChild(index)))
        throw ToolError(kExitNotFound, "cannot remove '" + xpath + "': its element cannot be addressed");
    session.SaveInPlace();
    return kExitOk;
}

void PrintTree(IKivXmlNode &node, int depth) {
    std::string line(2 * depth, ' ');
    line += TakeString(node.GetName());
    IKivXmlAttribute *attribute = nullptr;
    for (HRESULT hr = node.GetFirstAttribute(&attribute); SUCCEEDED(hr); hr = node.GetNextAttribute(&attribute)) {
        AttributeHandle owned(attribute);
        line += " " + TakeString(owned->GetName()) + "=\"" + TakeString(owned->GetStringValue()) + "\"";
    }
    const std::string text = TakeString(node.GetText());
    if (text.find_first_not_of(" \t\r\n") != std::string::npos) line += ": " + text;
    Print(line + "\n");
    IKivXmlNode *child = nullptr;
    for (HRESULT hr = node.GetFirstChild(&child); SUCCEEDED(hr); hr = node.GetNextChild(&child)) {
        NodeHandle owned(child);
        PrintTree(*owned, depth + 1);
    }
}

int Tree(Session &session, const std::string &file, const std::string &xpath) {
    session.Load(file);
    NodeHandle node = session.Node(xpath.empty() ? "/*" : xpath);
    PrintTree(*node, 0);
    return kExitOk;
}

int Convert(Session &session, const std::string &in, const std::string &out, bool bCompress, bool bEncrypt) {
    session.Load(in);
    session.Save(out, bCompress, bEncrypt);
    return kExitOk;
}

int Create(Session &session, const std::string &file, const std::string &root, bool bCompress, bool bEncrypt) {
    IKivXml &doc = session.document();
    // Settings apply to an open document: open a scratch one to carry them
    // into Create.
    doc.LoadFromText(u"<scratch/>");
    doc.SetCompression(bCompress ? TRUE : FALSE);
    if (bEncrypt) doc.SetEncryption(TRUE);
    IKivXmlNode *node = nullptr;
    if (FAILED(doc.Create(Widen(file).c_str(), Widen(root).c_str(), &node)))
        throw ToolError(kExitFile, "cannot create '" + file + "': '" + root +
                                       "' is not an XML name, or the folder is missing or cannot be written");
    NodeHandle owned(node);
    return kExitOk;
}

}  // namespace

int main(int argc, char **argv) {
    CLI::App app{"orvane: inspect and edit XML documents and Orvane containers (plain, gzip, compressed and/or "
                 "encrypted). Paths and text are UTF-8."};
    app.require_subcommand(1);
    bool bVerbose = false;
    app.add_flag("-v,--verbose", bVerbose, "Show the library's own messages on standard error");

    std::string file, out, xpath, attr, root;
    std::vector<std::string> texts, attrs;
    bool bCompress = false, bEncrypt = false;
    std::function<int(Session &)> run;

    CLI::App *show = app.add_subcommand("show", "Print the document as XML, whatever the file's mode");
    show->add_option("FILE", file, "Document or container")->required();
    show->callback([&] { run = [&](Session &s) { return Show(s, file); }; });

    CLI::App *info = app.add_subcommand("info", "Tell the storage mode and every header field of a container");
    info->add_option("FILE", file, "Document or container")->required();
    info->callback([&] { run = [&](Session &) { return Info(file); }; });

    CLI::App *get = app.add_subcommand("get", "Print an element's text, or one of its attributes");
    get->add_option("FILE", file, "Document or container")->required();
    get->add_option("XPATH", xpath, "XPath of the element")->required();
    get->add_option("--attr", attr, "Attribute to print instead of the text");
    get->callback([&] { run = [&](Session &s) { return Get(s, file, xpath, attr); }; });

    CLI::App *set = app.add_subcommand("set", "Change an element's text and attributes; the file keeps its mode");
    set->add_option("FILE", file, "Document or container")->required();
    set->add_option("XPATH", xpath, "XPath of the element")->required();
    set->add_option("--text", texts, "New text of the element")->take_last();
    set->add_option("--attr", attrs, "NAME=VALUE: set (or add) an attribute; may be repeated")
        ->check([](const std::string &v) { return v.find('=') == std::string::npos ? "expected NAME=VALUE" : ""; });
    set->callback([&] {
        if (texts.empty() && attrs.empty()) throw CLI::ValidationError("set", "give --text or --attr");
        run = [&](Session &s) { return Set(s, file, xpath, texts, attrs); };
    });

    CLI::App *rm = app.add_subcommand("rm", "Remove an element, or one of its attributes");
    rm->add_option("FILE", file, "Document or container")->required();
    rm->add_option("XPATH", xpath, "XPath of the element")->required();
    rm->add_option("--attr", attr, "Remove this attribute instead of the element");
    rm->callback([&] { run = [&](Session &s) { return Remove(s, file, xpath, attr); }; });

    CLI::App *tree = app.add_subcommand("tree", "Print the element tree below a node, with attributes and text");
    tree->add_option("FILE", file, "Document or container")->required();
    tree->add_option("XPATH", xpath, "XPath of the top element (default: the root)");
    tree->callback([&] { run = [&](Session &s) { return Tree(s, file, xpath); }; });

    CLI::App *convert = app.add_subcommand(
        "convert", "Store a document in another mode (plain unless --compress or --encrypt). The key of an "
                   "encrypted container comes from OUT's file name: the container opens only under that name.");
    convert->add_option("IN", file, "Document or container to read")->required();
    convert->add_option("OUT", out, "File to write")->required();
    convert->add_flag("--compress", bCompress, "Store gzip-compressed in a container");
    convert->add_flag("--encrypt", bEncrypt, "Encrypt with the key of OUT's file name");
    convert->callback([&] { run = [&](Session &s) { return Convert(s, file, out, bCompress, bEncrypt); }; });

    CLI::App *create = app.add_subcommand(
        "create", "Create a document holding an empty root element. The key of an encrypted container comes from "
                  "FILE's file name.");
    create->add_option("FILE", file, "File to write")->required();
    create->add_option("ROOT", root, "Name of the root element")->required();
    create->add_flag("--compress", bCompress, "Store gzip-compressed in a container");
    create->add_flag("--encrypt", bEncrypt, "Encrypt with the key of FILE's file name");
    create->callback([&] { run = [&](Session &s) { return Create(s, file, root, bCompress, bEncrypt); }; });

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp &e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp &e) {
        return app.exit(e);
    } catch (const CLI::ParseError &e) {
        app.exit(e);
        return kExitUsage;
    }
    try {
        Session session(bVerbose);
        return run(session);
    } catch (const ToolError &e) {
        std::fprintf(stderr, "orvane: %s\n", e.what());
        return e.status();
    }
}
