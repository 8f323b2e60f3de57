// The libraries the programs load at run time come from the system folder.
#include <gtest/gtest.h>

#include <string>

#include "common/text/text.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/dll_search.h"

#include <commctrl.h>  // after the Windows headers it builds on

namespace {

std::string SystemFolder() {
    char folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder, length < MAX_PATH ? length : 0);
}

std::string ModulePath(HMODULE module) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : 0);
}

TEST(SystemLibraries, LoadedFromTheSystemFolderOrNotAtAll) {
    const HMODULE spooler = platform::win32::LoadSystemLibrary("winspool.drv");
    ASSERT_NE(spooler, nullptr);
    const std::string expected = SystemFolder() + "\\winspool.drv";
    EXPECT_TRUE(text::EqualsNoCase(ModulePath(spooler), expected)) << ModulePath(spooler);

    EXPECT_EQ(platform::win32::LoadSystemLibrary("no-such-library-beside-anything.dll"), nullptr);
}

TEST(SystemLibraries, CommonControlsRegisterTheProgressBar) {
    ASSERT_TRUE(platform::win32::InitCommonControlsAtRunTime(ICC_PROGRESS_CLASS));
    WNDCLASSEXA found{};
    found.cbSize = sizeof(found);
    EXPECT_NE(GetClassInfoExA(nullptr, PROGRESS_CLASSA, &found), FALSE);
}

}  // namespace
