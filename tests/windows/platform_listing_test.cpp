// The real folder listing, file size and subkey enumeration behind the boundary.
#include <gtest/gtest.h>

#include <set>
#include <string>

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
    EXPECT_EQ(size.value, 70000u);
    EXPECT_EQ(files.GetFileSize(folder / "missing").error, platform::kErrorFileNotFound);
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
            names.insert(name.value);
        }
        EXPECT_EQ(root.key->EnumKey(2, 261).error, platform::kErrorNoMoreItems);
    }
    EXPECT_EQ(names, (std::set<std::string>{"8.54", "9.05"}));
    EXPECT_FALSE(registry.OpenKey(RegistryRoot::LocalMachine, kRoot, RegistryAccess::Read, RegistryView::Force64));

    for (const char* version : {"8.54", "9.05"}) {
        (void)registry.DeleteKey(RegistryRoot::LocalMachine, std::string(kRoot) + "\\" + version,
                                 RegistryView::Force32);
    }
    (void)registry.DeleteKey(RegistryRoot::LocalMachine, kRoot, RegistryView::Force32);
}

}  // namespace
