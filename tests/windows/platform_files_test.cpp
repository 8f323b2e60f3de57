// The real file system behind the boundary: the answers the logic relies on.
#include <gtest/gtest.h>

#include "platform/win32/win32_platform.h"
#include "tests/windows/scratch_folder.h"

namespace {

using platform::win32::Win32FileSystem;

TEST(Win32Files, ReadWholeFileGivesRawBytesOrTheError) {
    wintest::ScratchFolder folder("files_read");
    folder.WriteFile("data.bin", std::string("a\0b\r\n", 5));
    Win32FileSystem files;
    const auto read = files.ReadWholeFile(folder / "data.bin");
    ASSERT_TRUE(read);
    EXPECT_EQ(read.value(), (std::vector<std::uint8_t>{'a', 0, 'b', '\r', '\n'}));
    EXPECT_EQ(files.ReadWholeFile(folder / "missing.bin").error, platform::kErrorFileNotFound);
    EXPECT_EQ(files.ReadWholeFile(folder / "no\\such\\folder.bin").error, platform::kErrorPathNotFound);
}

TEST(Win32Files, AppendCreatesThenAddsAtTheEnd) {
    wintest::ScratchFolder folder("files_append");
    Win32FileSystem files;
    ASSERT_TRUE(files.AppendToFile(folder / "Error.log", {'A', '\r', '\n'}));
    ASSERT_TRUE(files.AppendToFile(folder / "Error.log", {'B', '\r', '\n'}));
    const auto read = files.ReadWholeFile(folder / "Error.log");
    EXPECT_EQ(std::string(read.value().begin(), read.value().end()), "A\r\nB\r\n");
    EXPECT_FALSE(files.AppendToFile(folder / "missing\\Error.log", {'A'}));
}

TEST(Win32Files, AttributesAndFolders) {
    wintest::ScratchFolder folder("files_attributes");
    Win32FileSystem files;
    ASSERT_TRUE(files.CreateDirectory(folder / "sub"));
    EXPECT_EQ(files.CreateDirectory(folder / "sub").error, platform::kErrorAlreadyExists);
    EXPECT_EQ(files.CreateDirectory(folder / "a\\b").error, platform::kErrorPathNotFound);
    const auto attributes = files.GetFileAttributes(folder / "sub");
    ASSERT_TRUE(attributes);
    EXPECT_NE(attributes.value() & platform::kFileAttributeDirectory, 0u);
    EXPECT_EQ(files.GetFileAttributes(folder / "none").error, platform::kErrorFileNotFound);
}

TEST(Win32Files, CopyOverwritesUnlessTold) {
    wintest::ScratchFolder folder("files_copy");
    folder.WriteFile("a.txt", "first");
    folder.WriteFile("b.txt", "second");
    Win32FileSystem files;
    EXPECT_FALSE(files.CopyFile(folder / "a.txt", folder / "b.txt", true));
    ASSERT_TRUE(files.CopyFile(folder / "a.txt", folder / "b.txt", false));
    const auto read = files.ReadWholeFile(folder / "b.txt");
    EXPECT_EQ(std::string(read.value().begin(), read.value().end()), "first");
    EXPECT_EQ(files.CopyFile(folder / "none.txt", folder / "c.txt", false).error, platform::kErrorFileNotFound);
}

TEST(Win32Files, SearchPathFindsFilesAndFoldersInTheGivenFolderOnly) {
    wintest::ScratchFolder folder("files_search");
    folder.WriteFile("file.txt", "x");
    CreateDirectoryA((folder / "sub").c_str(), nullptr);
    Win32FileSystem files;
    EXPECT_TRUE(files.SearchPath(folder.path(), "file.txt", MAX_PATH));
    EXPECT_TRUE(files.SearchPath(folder.path(), "sub", MAX_PATH));
    EXPECT_TRUE(files.SearchPath(folder.path(), folder / "sub", MAX_PATH));
    EXPECT_FALSE(files.SearchPath(folder.path(), "missing", MAX_PATH));
    // A result that does not fit is a failure, never a cut path.
    EXPECT_EQ(files.SearchPath(folder.path(), "file.txt", 5).error, platform::kErrorInsufficientBuffer);
}

}  // namespace
