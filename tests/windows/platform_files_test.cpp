// The real file system behind the boundary: the answers the logic relies on.
#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

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

// The short name Windows gives a long folder name comes back in its long form; a
// missing path is an error, not the path as given.
TEST(Win32Files, LongPathNamesOfShortOnesThatExist) {
    wintest::ScratchFolder folder("files_long");
    const std::string longFolder = folder / "A long folder name";
    ASSERT_TRUE(CreateDirectoryA(longFolder.c_str(), nullptr));
    char shortName[MAX_PATH] = {};
    const DWORD length = GetShortPathNameA(longFolder.c_str(), shortName, MAX_PATH);
    ASSERT_GT(length, 0u);
    ASSERT_NE(std::string(shortName), longFolder);  // a short name exists to be read back
    Win32FileSystem files;
    const auto longName = files.GetLongPathName(std::string(shortName) + "\\");
    ASSERT_TRUE(longName) << longName.error;
    EXPECT_EQ(_stricmp(longName.value().c_str(), (longFolder + "\\").c_str()), 0) << longName.value();
    const auto missing = files.GetLongPathName(folder / "missing\\below");
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.error == platform::kErrorFileNotFound || missing.error == platform::kErrorPathNotFound);
    // And the other way: the platform's short name is the system's.
    EXPECT_EQ(files.GetShortPathName(longFolder).value(), std::string(shortName));
    const auto noShort = files.GetShortPathName(folder / "missing\\below");
    EXPECT_TRUE(noShort.error == platform::kErrorFileNotFound || noShort.error == platform::kErrorPathNotFound);
    RemoveDirectoryA(longFolder.c_str());
}

// GetFileSize answers in two halves, and a low half of 0xFFFFFFFF is also how it reports
// a failure: sizes at and past 4 GiB must come back whole, and a real failure as its error.
TEST(Win32Files, FileSizesKeepTheHighHalfAndFailuresTheirError) {
    wintest::ScratchFolder folder("files_size");
    ASSERT_TRUE(folder.WriteSizedFile("low_half_all_ones.bin", 0xFFFFFFFFULL));
    ASSERT_TRUE(folder.WriteSizedFile("past_4_gib.bin", 0x100000005ULL));
    Win32FileSystem files;

    const auto allOnes = files.GetFileSize(folder / "low_half_all_ones.bin");
    ASSERT_TRUE(allOnes) << allOnes.error;
    EXPECT_EQ(allOnes.value(), 0xFFFFFFFFULL);
    const auto large = files.GetFileSize(folder / "past_4_gib.bin");
    ASSERT_TRUE(large) << large.error;
    EXPECT_EQ(large.value(), 0x100000005ULL);
    // Read whole, the large file is refused as too large, not taken for its 5 low bytes.
    EXPECT_EQ(files.ReadWholeFile(folder / "past_4_gib.bin").error, platform::kErrorInvalidData);
    EXPECT_EQ(files.ReadWholeFile(folder / "low_half_all_ones.bin").error, platform::kErrorInvalidData);

    // A pipe opens like a file but has no size (Wine answers ERROR_INVALID_FUNCTION).
    const std::string pipe = "\\\\.\\pipe\\files_size_" + std::to_string(GetCurrentProcessId());
    // One pipe instance for each of the two opens below.
    const HANDLE servers[] = {
        CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 2, 0, 0, 0, nullptr),
        CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 2, 0, 0, 0, nullptr)};
    for (const HANDLE server : servers) ASSERT_NE(server, INVALID_HANDLE_VALUE) << GetLastError();
    const auto pipeSize = files.GetFileSize(pipe);
    const auto pipeBytes = files.ReadWholeFile(pipe);
    for (const HANDLE server : servers) CloseHandle(server);
    EXPECT_FALSE(pipeSize);
    EXPECT_EQ(pipeSize.error, static_cast<std::uint32_t>(ERROR_INVALID_FUNCTION));
    EXPECT_EQ(pipeBytes.error, static_cast<std::uint32_t>(ERROR_INVALID_FUNCTION));
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
