#include "platform/file_io.h"
#include "tests/support/open_files.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quorel {
namespace {

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        names.push_back(item.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

mode_t permissionsOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(FileIo, ReplaceKeepsPermissionsAndLeavesNoTemporaryFile) {
    test::TempFolder folder;
    const int openBefore = test::openFileCount();
    const std::string path = folder.file("Quorel.ini");
    folder.write("Quorel.ini", "old content");
    ::chmod(path.c_str(), 0640);
    EXPECT_EQ(replaceFileContent(path, std::string("1\r\n\0x", 5)), "");
    EXPECT_EQ(folder.read("Quorel.ini"), std::string("1\r\n\0x", 5));
    EXPECT_EQ(permissionsOf(path), 0640u);

    const mode_t mask = ::umask(022);
    EXPECT_EQ(replaceFileContent(folder.file("new"), ""), "");
    ::umask(mask);
    EXPECT_EQ(permissionsOf(folder.file("new")), 0644u);

    // Renaming over a folder fails after the temporary file was written.
    std::filesystem::create_directory(folder.file("sub"));
    EXPECT_NE(replaceFileContent(folder.file("sub"), "x"), "");
    EXPECT_NE(replaceFileContent(folder.file("missing/file"), "x"), "");
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"Quorel.ini", "new", "sub"}));
    EXPECT_EQ(test::openFileCount(), openBefore);
}

TEST(FileIo, ReadWholeFileReturnsTheBytesOrTheReason) {
    test::TempFolder folder;
    const int openBefore = test::openFileCount();
    const std::string big(40000, 'q');
    folder.write("big", big);
    const FileReadResult read = readWholeFile(folder.file("big"));
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.bytes, big);

    const FileReadResult missing = readWholeFile(folder.file("missing"));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, systemErrorText(ENOENT));
    EXPECT_FALSE(missing.error.empty());
    EXPECT_EQ(test::openFileCount(), openBefore);
}

} // namespace
} // namespace quorel
