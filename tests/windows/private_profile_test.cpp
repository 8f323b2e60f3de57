// The system's private-profile reader, through the boundary, against the shared table of
// settings-file reads that the in-memory Windows must match.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/win32/win32_platform.h"
#include "tests/shared/private_profile_cases.h"
#include "tests/windows/scratch_folder.h"

namespace {

using profile_cases::Case;
using profile_cases::FileState;

bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// What this system should read: Wine's answer, or Windows' where the two are known to differ.
std::string Expected(const Case& c) {
    return (c.onWindows && !RunningUnderWine()) ? *c.onWindows : c.expected;
}

class Win32PrivateProfile : public ::testing::TestWithParam<Case> {};

TEST_P(Win32PrivateProfile, ReadsAsTheTableSays) {
    const Case& c = GetParam();
    if (c.westernCodePage && GetACP() != 1252) GTEST_SKIP() << "the ANSI code page is " << GetACP();
    wintest::ScratchFolder folder("profile_" + c.name);
    // Every case has a file name of its own: the reader keeps recently read files.
    std::string path = folder / (c.name + ".ini");
    if (c.state == FileState::Present) folder.WriteFile(c.name + ".ini", c.file);
    if (c.state == FileState::FolderMissing) path = folder / "missing\\Setup.Ini";

    platform::win32::Win32FileSystem files;
    EXPECT_EQ(files.GetPrivateProfileString(c.section, c.key, c.capacity, path), Expected(c));
}

// The count the call returns, beside the text: a value cut to the buffer counts
// capacity - 1, and a value whose closing quote was dropped counts what is left.
TEST(Win32PrivateProfileCall, CountsWhatItCopied) {
    wintest::ScratchFolder folder("profile_count");
    folder.WriteFile("Setup.Ini", "[Installation]\r\nCut=1234567890123\r\nQuoted=\"123456789\"\r\n");
    const std::string path = folder / "Setup.Ini";
    char buffer[10] = {};
    EXPECT_EQ(GetPrivateProfileStringA("Installation", "Cut", "", buffer, sizeof buffer, path.c_str()), 9u);
    EXPECT_STREQ(buffer, "123456789");
    const DWORD quoted = GetPrivateProfileStringA("Installation", "Quoted", "", buffer, sizeof buffer, path.c_str());
    EXPECT_EQ(quoted, std::strlen(buffer));
    EXPECT_EQ(GetPrivateProfileStringA("Installation", "None", "", buffer, sizeof buffer, path.c_str()), 0u);
    EXPECT_STREQ(buffer, "");
}

INSTANTIATE_TEST_SUITE_P(Cases, Win32PrivateProfile, ::testing::ValuesIn(profile_cases::AllCases()),
                         [](const ::testing::TestParamInfo<Case>& tested) { return tested.param.name; });

}  // namespace
