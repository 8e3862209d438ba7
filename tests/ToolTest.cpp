// End-to-end tests of the orvane command-line tool: run the built binary as
// a user would and check its output, its errors and its exit status.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "OrvaneTest.h"

namespace fs = std::filesystem;
using ::testing::HasSubstr;

namespace {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

std::string Quote(const std::string &arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string ReadFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("orvane-tool-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        std::ofstream(folder / "plain.xml") << "<?xml version=\"1.0\"?>\n"
                                               "<config version=\"3\"><name>Orvane</name>"
                                               "<item id=\"1\">first</item><item id=\"2\">second</item></config>\n";
    }
    void TearDown() override { fs::remove_all(folder); }

    // Runs the tool with these arguments.
    ToolRun Tool(const std::vector<std::string> &args) {
        // A 32-bit tool may have to run under the same emulator as the tests.
        std::string command = std::string(ORVANE_TOOL_EMULATOR).empty() ? "" : Quote(ORVANE_TOOL_EMULATOR) + " ";
        command += Quote(ORVANE_TOOL_PATH);
        for (const std::string &a : args) command += " " + Quote(a);
        const fs::path errPath = folder / "stderr.txt";
        command += " 2>" + Quote(errPath.string());
        FILE *pipe = ::popen(command.c_str(), "r");
        std::string out;
        std::array<char, 4096> buffer;
        for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) out.append(buffer.data(), n);
        const int status = ::pclose(pipe);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, ReadFile(errPath)};
    }
    std::string P(const std::string &name) { return (folder / name).string(); }

    fs::path folder;
};

struct ModeCase {
    const char *name;
    std::vector<std::string> flags;
    const char *description;
};

void PrintTo(const ModeCase &c, std::ostream *os) { *os << c.name; }

class ToolModeTest : public ToolTest, public ::testing::WithParamInterface<ModeCase> {
protected:
    ToolRun Convert(const std::string &out) {
        std::vector<std::string> args = {"convert", P("plain.xml"), out};
        args.insert(args.end(), GetParam().flags.begin(), GetParam().flags.end());
        return Tool(args);
    }
};

TEST_P(ToolModeTest, ConvertInfoGetSetShowTreeRm) {
    const std::string file = P("caf\u00e9 \u00e9t\u00e9.cfg");
    ASSERT_EQ(Convert(file).status, 0);
    ToolRun info = Tool({"info", file});
    EXPECT_EQ(info.status, 0);
    EXPECT_THAT(info.out, HasSubstr(GetParam().description));

    EXPECT_EQ(Tool({"get", file, "/config/name"}).out, "Orvane\n");
    EXPECT_EQ(Tool({"get", file, "//item[2]", "--attr", "id"}).out, "2\n");

    ASSERT_EQ(Tool({"set", file, "/config/name", "--text", "\u00c5ngstr\u00f6m \u2603", "--attr", "lang=sv"}).status, 0);
    EXPECT_EQ(Tool({"get", file, "/config/name"}).out, "\u00c5ngstr\u00f6m \u2603\n");
    EXPECT_EQ(Tool({"get", file, "/config/name", "--attr", "lang"}).out, "sv\n");
    EXPECT_THAT(Tool({"info", file}).out, HasSubstr(GetParam().description)) << "set keeps the mode";

    ASSERT_EQ(Tool({"rm", file, "//item[1]"}).status, 0);
    ASSERT_EQ(Tool({"rm", file, "/config", "--attr", "version"}).status, 0);
    EXPECT_EQ(Tool({"tree", file}).out, "config\n  name lang=\"sv\": \u00c5ngstr\u00f6m \u2603\n  item id=\"2\": second\n");
    ToolRun show = Tool({"show", file});
    EXPECT_EQ(show.status, 0);
    EXPECT_THAT(show.out, HasSubstr("<item id=\"2\">second</item>"));
    EXPECT_THAT(Tool({"info", file}).out, HasSubstr(GetParam().description));
}

INSTANTIATE_TEST_SUITE_P(Modes, ToolModeTest,
                         ::testing::Values(ModeCase{"Plain", {}, "plain XML"},
                                           ModeCase{"Compressed", {"--compress"}, "compressed container"},
                                           ModeCase{"Encrypted", {"--encrypt"}, "encrypted container"},
                                           ModeCase{"Both", {"--compress", "--encrypt"},
                                                    "compressed and encrypted container"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ToolTest, CreateInEachMode) {
    EXPECT_EQ(Tool({"create", P("new.xml"), "settings"}).status, 0);
    EXPECT_EQ(Tool({"tree", P("new.xml")}).out, "settings\n");
    EXPECT_EQ(Tool({"create", P("new.bin"), "r\u00e9glages", "--compress", "--encrypt"}).status, 0);
    EXPECT_THAT(Tool({"info", P("new.bin")}).out, HasSubstr("compressed and encrypted container"));
    EXPECT_EQ(Tool({"tree", P("new.bin")}).out, "r\u00e9glages\n");
    ToolRun bad = Tool({"create", P("bad.xml"), "two words"});
    EXPECT_EQ(bad.status, 3);
    EXPECT_THAT(bad.err, HasSubstr("not an XML name"));
}

TEST_F(ToolTest, ErrorsInPlainWordsAndStatuses) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char *message;
    };
    std::ofstream(folder / "broken.xml") << "<a><b></a>";
    std::ofstream(folder / "short.cfg") << "!QZWQZW!abc";
    const Case cases[] = {
        {{"show", P("missing.xml")}, 3, "cannot load"},
        {{"show", P("broken.xml")}, 3, "not well-formed XML"},
        {{"show", P("short.cfg")}, 3, "damaged"},
        {{"show", folder.string()}, 3, "folder"},
        {{"get", P("plain.xml"), "/config/nothing"}, 1, "no element matches '/config/nothing'"},
        {{"get", P("plain.xml"), "/config", "--attr", "nothing"}, 1, "no attribute 'nothing'"},
        {{"rm", P("plain.xml"), "/config"}, 2, "root element"},
        {{"frobnicate"}, 2, ""},
        {{"get", P("plain.xml")}, 2, ""},
        {{"set", P("plain.xml"), "/config"}, 2, ""},
    };
    for (const Case &c : cases) {
        ToolRun run = Tool(c.args);
        EXPECT_EQ(run.status, c.status) << c.args[0] << " " << (c.args.size() > 1 ? c.args[1] : "");
        EXPECT_THAT(run.err, HasSubstr(c.message)) << c.args[0];
        EXPECT_EQ(run.out, "") << c.args[0];
    }
}

TEST_F(ToolTest, RenamedContainerSaysWhy) {
    ASSERT_EQ(Tool({"convert", P("plain.xml"), P("app.cfg"), "--encrypt"}).status, 0);
    fs::create_directories(folder / "elsewhere");
    fs::copy_file(folder / "app.cfg", folder / "elsewhere" / "app.cfg");
    fs::rename(folder / "app.cfg", folder / "renamed.cfg");
    EXPECT_EQ(Tool({"get", (folder / "elsewhere" / "app.cfg").string(), "/config/name"}).out, "Orvane\n")
        << "moved under its name it opens";
    ToolRun run = Tool({"show", P("renamed.cfg")});
    EXPECT_EQ(run.status, 3);
    EXPECT_THAT(run.err, HasSubstr("renamed"));
    EXPECT_EQ(Tool({"--verbose", "show", P("plain.xml")}).err, "");
}

TEST_F(ToolTest, HelpOnEverySubcommand) {
    for (const char *sub : {"show", "info", "get", "set", "rm", "tree", "convert", "create"}) {
        ToolRun run = Tool({sub, "--help"});
        EXPECT_EQ(run.status, 0) << sub;
        EXPECT_THAT(run.out, HasSubstr("Usage")) << sub;
    }
    EXPECT_THAT(Tool({"convert", "--help"}).out, HasSubstr("file name"));
}

}  // namespace
