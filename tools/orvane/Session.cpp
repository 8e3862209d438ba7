#include "Session.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "HostText.h"

namespace fs = std::filesystem;

namespace {

// Why a file that exists could not be loaded, from what its first bytes say.
std::string LoadFailureReason(const FileMode &mode) {
    switch (mode.kind) {
        case FileMode::kMissing: return "it cannot be read";
        case FileMode::kPlain:
        case FileMode::kGzip: return "it is not well-formed XML";
        case FileMode::kShortContainer: return "the container is damaged: it is shorter than its header";
        case FileMode::kContainer: break;
    }
    if (mode.encrypted)
        return "it cannot be decrypted. The key of an encrypted container comes from its file name, so it opens "
               "only under the name it was saved under: was it renamed? Otherwise it is damaged";
    if (mode.compressed) return "the container is damaged: its compressed payload cannot be read";
    return "the container is damaged: it is marked neither compressed nor encrypted";
}

}  // namespace

Session::Session(bool bVerbose) : m_bVerbose(bVerbose) {
    KivLogSetSink(&Session::Collect, this);
    m_document.reset(GetLibXmlInterface());
    if (!m_document) throw ToolError(kExitFile, "cannot create a document: out of memory");
}

Session::~Session() {
    m_document.reset();
    KivLogSetSink(nullptr, nullptr);
}

void Session::Collect(void *context, int kind, const char16_t *text) {
    auto *session = static_cast<Session *>(context);
    if (kind == 0 && session->m_bVerbose) std::fprintf(stderr, "orvane: library: %s\n", Narrow(text).c_str());
}

void Session::Load(const std::string &path) {
    m_path = path;
    m_mode = FileMode::Read(path);
    std::error_code error;
    if (!fs::exists(path, error)) throw ToolError(kExitFile, "cannot load '" + path + "': no such file");
    if (fs::is_directory(path, error)) throw ToolError(kExitFile, "cannot load '" + path + "': it is a folder");
    if (FAILED(m_document->LoadFile(Widen(path).c_str())))
        throw ToolError(kExitFile, "cannot load '" + path + "': " + LoadFailureReason(m_mode));
}

void Session::Save(const std::string &path, bool bCompress, bool bEncrypt) {
    m_document->SetCompression(bCompress ? TRUE : FALSE);
    m_document->SetEncryption(bEncrypt ? TRUE : FALSE);
    if (FAILED(m_document->SaveFile(Widen(path).c_str())))
        throw ToolError(kExitFile, "cannot save '" + path + "': its folder is missing or cannot be written");
}

void Session::SaveInPlace() {
    // Loading a compressed-and-encrypted container leaves the compression
    // setting as it was; a container is saved back in its own mode.
    if (m_mode.kind == FileMode::kContainer) m_document->SetCompression(m_mode.compressed ? TRUE : FALSE);
    if (FAILED(m_document->SaveFile(nullptr)))
        throw ToolError(kExitFile, "cannot save '" + m_path + "': its folder is missing or cannot be written");
}

std::string Session::Text() {
    // The interfaces serialise through a plain save: write one to a private
    // temporary file and read it back.
    std::random_device random;
    const fs::path temporary = fs::temp_directory_path() / ("orvane-show-" + std::to_string(random()) + ".xml");
    Save(temporary.string(), false, false);
    std::ifstream in(temporary, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    in.close();
    fs::remove(temporary);
    return text.str();
}

NodeHandle Session::Node(const std::string &xpath) {
    IKivXmlNode *node = nullptr;
    if (FAILED(m_document->GetNode(Widen(xpath).c_str(), &node)))
        throw ToolError(kExitNotFound, "no element matches '" + xpath + "' in '" + m_path + "'");
    return NodeHandle(node);
}

AttributeHandle Session::Attribute(IKivXmlNode &node, const std::string &name) {
    IKivXmlAttribute *attribute = nullptr;
    if (FAILED(node.GetAttribute(Widen(name).c_str(), &attribute))) return nullptr;
    return AttributeHandle(attribute);
}
