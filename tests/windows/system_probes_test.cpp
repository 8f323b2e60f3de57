// The installer's probes against the real system.
#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <wrl/client.h>

#include "platform/win32/win32_platform.h"
#include "setup/file_probes.h"
#include "setup/platform_selection.h"
#include "setup/shell_shortcut.h"
#include "tests/windows/scratch_folder.h"

namespace {

using platform::win32::Win32Platform;

class RealProbesTest : public ::testing::Test {
protected:
    Win32Platform windows;
    platform::Platform& os = windows.platform();
};

TEST_F(RealProbesTest, Wow64ProbeIsTruthfulForThisProcess) {
    // This build is 64-bit: native on 64-bit Windows, never WOW64.
    EXPECT_EQ(setup::IsRunningUnderWow64(os.system), 0);
}

TEST_F(RealProbesTest, DirectoryExistsTellsFoldersFromFilesAndMissingPaths) {
    wintest::ScratchFolder folder("probe_dir");
    folder.WriteFile("plain.txt", "x");
    CreateDirectoryA((folder / "sub").c_str(), nullptr);
    EXPECT_EQ(setup::DirectoryExists(os.files, folder.path()), 1);
    EXPECT_EQ(setup::DirectoryExists(os.files, folder / "sub"), 1);
    EXPECT_EQ(setup::DirectoryExists(os.files, folder / "plain.txt"), 0);
    EXPECT_EQ(setup::DirectoryExists(os.files, folder / "missing"), 0);
}

TEST_F(RealProbesTest, RelativeFolderOnlyInTheCurrentFolder) {
    wintest::ScratchFolder folder("probe_relative");
    CreateDirectoryA((folder / "here").c_str(), nullptr);
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(folder.path().c_str());
    EXPECT_EQ(setup::DirectoryExists(os.files, "here"), 1);
    // "system32" is on the search path but not in the current folder.
    EXPECT_EQ(setup::DirectoryExists(os.files, "system32"), 0);
    SetCurrentDirectoryA(previous);
}

TEST_F(RealProbesTest, ClearReadOnlyOnAReadOnlyHiddenFileLeavesNormal) {
    wintest::ScratchFolder folder("probe_readonly");
    folder.WriteFile("ro.txt", "x");
    folder.WriteFile("hidden.txt", "x");
    SetFileAttributesA((folder / "ro.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((folder / "hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);

    EXPECT_EQ(setup::ClearReadOnlyAttribute(os.files, folder / "ro.txt"), 1);
    // Windows then reports FILE_ATTRIBUTE_NORMAL; Wine reports FILE_ATTRIBUTE_ARCHIVE for
    // every plain file whose attributes it does not store. Either way nothing else is left.
    const DWORD after = GetFileAttributesA((folder / "ro.txt").c_str());
    EXPECT_EQ(after & ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL), 0u) << after;
    EXPECT_EQ(setup::ClearReadOnlyAttribute(os.files, folder / "hidden.txt"), 1);
    EXPECT_NE(GetFileAttributesA((folder / "hidden.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(setup::ClearReadOnlyAttribute(os.files, folder / "missing.txt"), 0);
}

struct LinkContent {
    std::string target;
    std::string arguments;
    std::string description;
};

// Reads a saved shortcut back through the shell's own link object.
LinkContent ReadLink(const std::string& path) {
    LinkContent content;
    using Microsoft::WRL::ComPtr;
    ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(link.GetAddressOf())))) {
        return content;
    }
    ComPtr<IPersistFile> file;
    if (FAILED(link.As(&file))) return content;
    const std::wstring wide(path.begin(), path.end());
    if (FAILED(file->Load(wide.c_str(), STGM_READ))) return content;
    char buffer[MAX_PATH] = {};
    if (SUCCEEDED(link->GetPath(buffer, MAX_PATH, nullptr, 0))) content.target = buffer;
    if (SUCCEEDED(link->GetArguments(buffer, MAX_PATH))) content.arguments = buffer;
    if (SUCCEEDED(link->GetDescription(buffer, MAX_PATH))) content.description = buffer;
    return content;
}

class ShortcutTest : public RealProbesTest {
protected:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(ShortcutTest, CreatesAndReplacesALink) {
    wintest::ScratchFolder folder("probe_link");
    folder.WriteFile("target.exe", "MZ");
    const std::string link = folder / "Uninstall.lnk";
    ASSERT_EQ(setup::CreateShellShortcut(os.shell, folder / "target.exe", link, "Shortcut to uninstall", nullptr),
              platform::kS_OK);
    LinkContent content = ReadLink(link);
    EXPECT_EQ(content.target, folder / "target.exe");
    EXPECT_EQ(content.arguments, "");
    EXPECT_EQ(content.description, "Shortcut to uninstall");

    ASSERT_EQ(setup::CreateShellShortcut(os.shell, folder / "target.exe", link, "Shortcut to uninstall",
                                         " /uninstall"),
              platform::kS_OK);
    content = ReadLink(link);
    EXPECT_EQ(content.arguments, " /uninstall");
}

TEST_F(ShortcutTest, LeavesTheThreadsComCountAsItFoundIt) {
    wintest::ScratchFolder folder("probe_link_com");
    folder.WriteFile("target.exe", "MZ");
    // SetUp initialised COM once; the shortcut's own CoInitialize answers S_FALSE.
    ASSERT_EQ(setup::CreateShellShortcut(os.shell, folder / "target.exe", folder / "a.lnk", "d", nullptr),
              platform::kS_OK);
    // Had the probe left an extra initialisation, this would still answer S_FALSE
    // after our own count is gone.
    CoUninitialize();
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
}

TEST_F(ShortcutTest, MissingFolderGivesAFailure) {
    wintest::ScratchFolder folder("probe_link_missing");
    EXPECT_LT(setup::CreateShellShortcut(os.shell, "C:\\windows\\notepad.exe", folder / "no\\x.lnk", "d", nullptr), 0);
}

}  // namespace
