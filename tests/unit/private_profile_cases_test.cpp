// The in-memory Windows' private-profile reader against the table the real call passes
// under Wine, read through the fake file system as the installer reads its settings.
#include <gtest/gtest.h>

#include "tests/fake_windows/fake_windows.h"
#include "tests/shared/private_profile_cases.h"

namespace {

using profile_cases::Case;
using profile_cases::FileState;

class FakePrivateProfile : public ::testing::TestWithParam<Case> {
protected:
    fake::FakeWindows windows;
};

TEST_P(FakePrivateProfile, ReadsAsTheRealCallDoes) {
    const Case& c = GetParam();
    windows.files.AddFolder("C:\\Cases");
    std::string path = "C:\\Cases\\" + c.name + ".ini";
    if (c.state == FileState::Present) windows.files.AddFile(path, c.file);
    if (c.state == FileState::FolderMissing) path = "C:\\Cases\\missing\\Setup.Ini";
    EXPECT_EQ(windows.files.GetPrivateProfileString(c.section, c.key, c.capacity, path), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FakePrivateProfile, ::testing::ValuesIn(profile_cases::AllCases()),
                         [](const ::testing::TestParamInfo<Case>& tested) { return tested.param.name; });

// What only the fake has: a folder in the file's place and a switched-off file.
TEST(FakePrivateProfileFile, FolderOrUnopenableFileReadsEmpty) {
    fake::FakeWindows windows;
    windows.files.AddFolder("C:\\Medium\\Setup.Ini");
    EXPECT_EQ(windows.files.GetPrivateProfileString("Parameters", "Command", 1000, "C:\\Medium\\Setup.Ini"), "");

    windows.files.AddFile("C:\\Other\\Setup.Ini", "[Parameters]\r\nCommand=run.exe\r\n");
    windows.failures.Fail(fake::Op::GetPrivateProfileString, 32 /* ERROR_SHARING_VIOLATION */, "other", 1);
    EXPECT_EQ(windows.files.GetPrivateProfileString("Parameters", "Command", 1000, "C:\\Other\\Setup.Ini"), "");
    EXPECT_EQ(windows.files.GetPrivateProfileString("Parameters", "Command", 1000, "C:\\Other\\Setup.Ini"),
              "run.exe");
}

}  // namespace
