// The real folder listing, file size and subkey enumeration behind the boundary.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "tests/windows/scratch_folder.h"

namespace {

using platform::RegistryAccess;
using platform::RegistryRoot;
using platform::RegistryView;

TEST(Win32Listing, SearchListsEveryEntryWithItsAttributesThenEnds) {
    wintest::ScratchFolder folder("listing");
    folder.WriteFile("a.dll", "a");
    folder.WriteFile("b.txt", "bb");
    CreateDirectoryA((folder / "sub").c_str(), nullptr);
    platform::win32::Win32FileSystem files;

    std::set<std::string> names;
    std::set<std::string> folders;
    {
        const auto search = files.FindFirstFile(folder / "*.*");
        ASSERT_TRUE(search) << search.error;
        platform::Win32Result next;
        do {
            const platform::FindData& entry = search.search->Current();
            names.insert(entry.fileName);
            if ((entry.attributes & platform::kFileAttributeDirectory) != 0) folders.insert(entry.fileName);
        } while ((next = search.search->FindNext()));
        EXPECT_EQ(next.error, platform::kErrorNoMoreFiles);
    }
    EXPECT_EQ(names, (std::set<std::string>{".", "..", "a.dll", "b.txt", "sub"}));
    EXPECT_EQ(folders, (std::set<std::string>{".", "..", "sub"}));
    // The search handle is closed: the folder can go.
    EXPECT_TRUE(RemoveDirectoryA((folder / "sub").c_str()));
}

TEST(Win32Listing, SearchOfAMissingFolderFails) {
    wintest::ScratchFolder folder("listing_missing");
    platform::win32::Win32FileSystem files;
    const auto search = files.FindFirstFile(folder / "none\\*.*");
    EXPECT_FALSE(search);
    EXPECT_EQ(search.error, platform::kErrorPathNotFound);
}

TEST(Win32Listing, FileSizeIsExactAndAMissingFileFails) {
    wintest::ScratchFolder folder("file_size");
    folder.WriteFile("dll", std::string(70000, 'x'));
    platform::win32::Win32FileSystem files;
    const auto size = files.GetFileSize(folder / "dll");
    ASSERT_TRUE(size) << size.error;
    EXPECT_EQ(size.value(), 70000u);
    EXPECT_EQ(files.GetFileSize(folder / "missing").error, platform::kErrorFileNotFound);
}

TEST(Win32Listing, SearchOfAnEmptyFolderStillFindsItsDotEntries) {
    wintest::ScratchFolder folder("listing_empty");
    CreateDirectoryA((folder / "empty").c_str(), nullptr);
    platform::win32::Win32FileSystem files;
    std::set<std::string> names;
    {
        const auto search = files.FindFirstFile(folder / "empty\\*.*");
        ASSERT_TRUE(search) << search.error;
        do {
            names.insert(search.search->Current().fileName);
        } while (search.search->FindNext());
    }
    EXPECT_EQ(names, (std::set<std::string>{".", ".."}));
}

// A drive given as "C:" or "C:\" is an existing folder, which the destination step relies on
// when the destination sits right below a drive.
TEST(Win32Files, DriveIsAnExistingFolder) {
    platform::win32::Win32FileSystem files;
    for (const char* drive : {"C:", "C:\\"}) {
        const auto attributes = files.GetFileAttributes(drive);
        ASSERT_TRUE(attributes) << drive << ": " << attributes.error;
        EXPECT_NE(attributes.value() & platform::kFileAttributeDirectory, 0u) << drive;
    }
    EXPECT_FALSE(files.CreateDirectory("C:\\"));
}

// A copy keeps the source's attributes, and a folder can be neither the target nor the
// source. (Windows also refuses to overwrite a read-only or hidden file; Wine as run here
// overwrites both, so that part is the fake's alone.)
TEST(Win32Files, CopyKeepsAttributesAndRefusesFolders) {
    wintest::ScratchFolder folder("copy_targets");
    folder.WriteFile("source", "new");
    platform::win32::Win32FileSystem files;
    ASSERT_TRUE(files.SetFileAttributes(folder / "source", platform::kFileAttributeReadOnly));
    ASSERT_TRUE(files.CopyFile(folder / "source", folder / "copy", false));
    EXPECT_NE(files.GetFileAttributes(folder / "copy").value() & platform::kFileAttributeReadOnly, 0u);
    ASSERT_TRUE(files.SetFileAttributes(folder / "source", platform::kFileAttributeNormal));

    CreateDirectoryA((folder / "sub").c_str(), nullptr);
    EXPECT_FALSE(files.CopyFile(folder / "source", folder / "sub", false));
    EXPECT_FALSE(files.CopyFile(folder / "sub", folder / "fromfolder", false));
    EXPECT_FALSE(files.GetFileAttributes(folder / "fromfolder"));
}

constexpr const char* kRoot = "SOFTWARE\\PdfPrinterSetupEnumTests";

TEST(Win32Registry, EnumKeyGivesEverySubkeyThenNoMoreItems) {
    platform::win32::Win32Registry registry;
    for (const char* version : {"8.54", "9.05"}) {
        ASSERT_TRUE(registry.CreateKey(RegistryRoot::LocalMachine, std::string(kRoot) + "\\" + version,
                                       RegistryView::Force32));
    }
    std::set<std::string> names;
    {
        const auto root = registry.OpenKey(RegistryRoot::LocalMachine, kRoot, RegistryAccess::Read,
                                           RegistryView::Force32);
        ASSERT_TRUE(root);
        for (std::uint32_t index = 0; index < 2; ++index) {
            const auto name = root.key->EnumKey(index, 261);
            ASSERT_TRUE(name) << name.error;
            names.insert(name.value());
        }
        EXPECT_EQ(root.key->EnumKey(2, 261).error, platform::kErrorNoMoreItems);
    }
    EXPECT_EQ(names, (std::set<std::string>{"8.54", "9.05"}));
    EXPECT_FALSE(registry.OpenKey(RegistryRoot::LocalMachine, kRoot, RegistryAccess::Read, RegistryView::Force64));
}

// Windows promises no order, but lists subkeys sorted without regard to case, as the fake
// does: "10.00" before "9.05", "9a" before "9B" whatever the order of creation.
TEST(Win32Registry, EnumKeyGivesSubkeysSortedWithoutRegardToCase) {
    platform::win32::Win32Registry registry;
    const std::vector<std::string> created = {"9.05", "9B", "9a", "10.00", "8.54"};
    for (const auto& version : created) {
        ASSERT_TRUE(registry.CreateKey(RegistryRoot::LocalMachine, std::string(kRoot) + "\\" + version,
                                       RegistryView::Force32));
    }
    std::vector<std::string> names;
    {
        const auto root = registry.OpenKey(RegistryRoot::LocalMachine, kRoot, RegistryAccess::Read,
                                           RegistryView::Force32);
        ASSERT_TRUE(root);
        for (std::uint32_t index = 0;; ++index) {
            const auto name = root.key->EnumKey(index, 261);
            if (!name) break;
            names.push_back(name.value());
        }
    }
    for (const auto& version : created) {
        (void)registry.DeleteKey(RegistryRoot::LocalMachine, std::string(kRoot) + "\\" + version,
                                 RegistryView::Force32);
    }
    (void)registry.DeleteKey(RegistryRoot::LocalMachine, kRoot, RegistryView::Force32);
    EXPECT_EQ(names, (std::vector<std::string>{"10.00", "8.54", "9.05", "9a", "9B"}));

    for (const char* version : {"8.54", "9.05"}) {
        (void)registry.DeleteKey(RegistryRoot::LocalMachine, std::string(kRoot) + "\\" + version,
                                 RegistryView::Force32);
    }
    (void)registry.DeleteKey(RegistryRoot::LocalMachine, kRoot, RegistryView::Force32);
}

}  // namespace
