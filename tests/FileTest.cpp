#include <filesystem>
#include <fstream>
#include <random>

#include "OrvaneTest.h"
#include "support/CKivFile.h"

namespace fs = std::filesystem;
using namespace kernel32;

namespace {

class FileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("orvane-file-" + std::to_string(std::random_device{}()) + "-" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    std::u16string Wide(const fs::path &p) { return p.u16string(); }

    fs::path folder;
};

TEST_F(FileTest, CreateDispositions) {
    const std::u16string path = Wide(folder / u"f\u00e9.bin");
    EXPECT_EQ(CreateFileW(path.c_str(), FILE_ALL_ACCESS, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
              INVALID_HANDLE_VALUE);
    HANDLE h = CreateFileW(path.c_str(), FILE_ALL_ACCESS, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_TRUE(fs::exists(folder / u"f\u00e9.bin"));
    EXPECT_EQ(CreateFileW(path.c_str(), FILE_ALL_ACCESS, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileW(Wide(folder).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE)
        << "a folder is not a file";
    EXPECT_TRUE(DeleteFileW(path.c_str()));
    EXPECT_FALSE(DeleteFileW(path.c_str()));
}

TEST_F(FileTest, NormalAttributeClearsReadOnly) {
    const fs::path file = folder / "ro.xml";
    std::ofstream(file) << "x";
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_TRUE(SetFileAttributesW(Wide(file).c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_NE(fs::status(file).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_TRUE(SetFileAttributesW(Wide(file).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::owner_write, fs::perms::none);
    // Cleared again, the file can be deleted (Windows refuses to delete a
    // read-only file): what replacing a file relies on.
    EXPECT_TRUE(SetFileAttributesW(Wide(file).c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(DeleteFileW(Wide(file).c_str()));
    EXPECT_FALSE(SetFileAttributesW(Wide(folder / "missing").c_str(), FILE_ATTRIBUTE_NORMAL));
}

TEST_F(FileTest, MoveReplacesAtomically) {
    std::ofstream(folder / "new") << "new";
    std::ofstream(folder / "old") << "old";
    EXPECT_FALSE(MoveFileExW(Wide(folder / "new").c_str(), Wide(folder / "old").c_str(), 0));
    EXPECT_TRUE(MoveFileExW(Wide(folder / "new").c_str(), Wide(folder / "old").c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    std::ifstream in(folder / "old");
    std::string text;
    in >> text;
    EXPECT_EQ(text, "new");
    EXPECT_FALSE(fs::exists(folder / "new"));
}

TEST_F(FileTest, KivFileReadsWritesAndSeeks) {
    const std::u16string path = Wide(folder / "data.bin");
    CKivFile file;
    EXPECT_FALSE(file.Open(FILE_ALL_ACCESS, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr))
        << "nothing attached";
    ASSERT_TRUE(file.Attach(path.c_str()));
    ASSERT_TRUE(file.Open(FILE_ALL_ACCESS, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(file.Write("0123456789", 10));
    EXPECT_EQ(file.GetFileSize(), 10);
    EXPECT_TRUE(file.Close());

    ASSERT_TRUE(file.Attach(path.c_str()));
    ASSERT_TRUE(file.Open(GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    char buffer[16] = {};
    EXPECT_TRUE(file.Read(buffer, 8));
    EXPECT_EQ(std::string(buffer, 8), "01234567");
    DWORD dwRead = 0;
    EXPECT_FALSE(file.Read(buffer, 8, &dwRead)) << "a short read fails";
    EXPECT_EQ(dwRead, 2u);
    file.SeekSimple(0, FILE_BEGIN);
    EXPECT_TRUE(file.Read(buffer, 10));
    EXPECT_FALSE(file.Write("x", 1)) << "opened for reading only";
}

TEST_F(FileTest, ClosesOnDestruction) {
    const std::u16string path = Wide(folder / "held.bin");
    {
        CKivFile file(path.c_str());
        ASSERT_TRUE(file.Open(FILE_ALL_ACCESS, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        EXPECT_TRUE(file.Write("abc", 3));
    }
    EXPECT_EQ(fs::file_size(folder / "held.bin"), 3u);
}

}  // namespace
