#include "platform/file_io.h"
#include "tests/support/open_files.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

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

    // A FIFO without a writer would block the open for ever; the test returning at all matters.
    ASSERT_EQ(::mkfifo(folder.file("fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(folder.file("sub"));
    for (const char* name : {"fifo", "sub"}) {
        const FileReadResult refused = readWholeFile(folder.file(name));
        EXPECT_FALSE(refused.ok) << name;
        EXPECT_EQ(refused.error, "ce n'est pas un fichier ordinaire") << name;
    }
    EXPECT_EQ(test::openFileCount(), openBefore);
}

TEST(FileIo, ReplaceThroughSymbolicLinksReplacesTheFinalTarget) {
    test::TempFolder folder;
    std::filesystem::create_directory(folder.file("real"));
    std::filesystem::create_directory(folder.file("links"));
    folder.write("real/Quorel.ini", "old");
    ::chmod(folder.file("real/Quorel.ini").c_str(), 0640);
    std::filesystem::create_symlink("../real/Quorel.ini", folder.file("links/hop"));
    std::filesystem::create_symlink("hop", folder.file("links/Quorel.ini"));
    std::filesystem::create_symlink("real/created.ini", folder.file("dangling"));
    std::filesystem::create_symlink("loop", folder.file("loop"));

    // Watches where the temporaries are made: beside the final target, with a recognisable name.
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    for (const char* sub : {"", "real", "links"}) {
        ::inotify_add_watch(watch, folder.file(sub).c_str(), IN_CREATE);
    }
    EXPECT_EQ(replaceFileContent(folder.file("links/Quorel.ini"), "new"), "");
    EXPECT_EQ(replaceFileContent(folder.file("dangling"), "made"), "");
    EXPECT_EQ(replaceFileContent(folder.file("loop"), "x"), systemErrorText(ELOOP));
    alignas(inotify_event) char events[4096];
    const ssize_t got = ::read(watch, events, sizeof events);
    ::close(watch);
    std::vector<std::string> created;
    for (ssize_t at = 0; at < got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(events + at);
        created.push_back(event->name);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
    ASSERT_EQ(created.size(), 2u);
    EXPECT_EQ(created[0].substr(0, created[0].size() - 6), ".Quorel.ini.quorel-tmp-");
    EXPECT_EQ(created[1].substr(0, created[1].size() - 6), ".created.ini.quorel-tmp-");

    EXPECT_EQ(folder.read("real/Quorel.ini"), "new");
    EXPECT_EQ(permissionsOf(folder.file("real/Quorel.ini")), 0640u);
    EXPECT_EQ(folder.read("real/created.ini"), "made");
    for (const char* link : {"links/hop", "links/Quorel.ini", "dangling", "loop"}) {
        EXPECT_TRUE(std::filesystem::is_symlink(folder.file(link))) << link;
    }
    EXPECT_EQ(namesIn(folder.file("real")),
              (std::vector<std::string>{"Quorel.ini", "created.ini"}));
    EXPECT_EQ(namesIn(folder.file("links")), (std::vector<std::string>{"Quorel.ini", "hop"}));
}

TEST(FileIo, RemoveStaleTemporariesRemovesOnlyOldLeftovers) {
    test::TempFolder folder;
    const auto now = std::filesystem::file_time_type::clock::now();
    const struct {
        const char* name;
        int ageSeconds;
        bool removed;
    } cases[] = {
        {".Quorel.ini.quorel-tmp-a1B2c3", 120, true},
        {".VornAlmare.ini.quorel-tmp-ZZ09zz", 3600, true},
        {".Quorel.ini.quorel-tmp-x9y8z7", 0, false},
        {".Quorel.0.quorel-tmp-abcdef", 30, false},
        {"Quorel.ini.quorel-tmp-abcdef", 120, false},
        {".Quorel.ini.quorel-tmp-abcde", 120, false},
        {".Quorel.ini.quorel-tmp-abcdefg", 120, false},
        {".Quorel.ini.quorel-tmp-abc-de", 120, false},
        {".Quorel.ini.quorel-tmpXabcdef", 120, false},
        {"Quorel.0", 120, false},
    };
    for (const auto& item : cases) {
        folder.write(item.name, "x");
        std::filesystem::last_write_time(folder.file(item.name),
                                         now - std::chrono::seconds(item.ageSeconds));
    }
    removeStaleTemporaries(folder.path());
    removeStaleTemporaries(folder.file("missing"));
    for (const auto& item : cases) {
        EXPECT_EQ(folder.exists(item.name), !item.removed) << item.name;
    }
    // A shorter limit (and a folder named without its final separator) takes the younger one.
    removeStaleTemporaries(folder.path().substr(0, folder.path().size() - 1), 10);
    EXPECT_FALSE(folder.exists(".Quorel.0.quorel-tmp-abcdef"));
    EXPECT_TRUE(folder.exists(".Quorel.ini.quorel-tmp-x9y8z7"));
}

} // namespace
} // namespace quorel
