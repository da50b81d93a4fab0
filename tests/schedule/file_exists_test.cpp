#include "schedule/file_exists.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quorel {
namespace {

TEST(FileExists, IsTrueOnlyForAnOrdinaryVisibleFile) {
    test::TempFolder folder;
    folder.write("Quorel.0", "");
    folder.write(".hidden", "x");
    std::filesystem::create_directory(folder.file("sub"));

    EXPECT_TRUE(FileExists(folder.file("Quorel.0")));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists("   \t "));
    EXPECT_FALSE(FileExists(folder.file("sub")));
    EXPECT_FALSE(FileExists(folder.file(".hidden")));
    EXPECT_FALSE(FileExists(folder.file("missing")));
    EXPECT_FALSE(FileExists(folder.file("Quorel.0/below")));
    EXPECT_FALSE(FileExists(std::string(5000, 'a')));
    EXPECT_FALSE(FileExists(folder.file("Quor") + std::string(1, '\0') + "el.0"));
    EXPECT_FALSE(FileExists("/dev/null"));
    // The path is looked up untrimmed: blanks around a real name make another name.
    EXPECT_FALSE(FileExists(" " + folder.file("Quorel.0")));
}

} // namespace
} // namespace quorel
