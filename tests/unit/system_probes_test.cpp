// The installer's probes over the in-memory Windows: the shared table the real calls pass
// under Wine, then the failures only the fake can make.
#include <gtest/gtest.h>

#include "setup/file_probes.h"
#include "setup/platform_selection.h"
#include "setup/shell_shortcut.h"
#include "tests/fake_windows/fake_windows.h"
#include "tests/shared/system_probe_cases.h"

namespace {

using namespace setup;
using probe_cases::Case;
using probe_cases::LinkCase;

using FakeProbes = ::testing::TestWithParam<Case>;

TEST_P(FakeProbes, AnswerAsTheRealCallsDo) {
    const Case& c = GetParam();
    fake::FakeWindows windows;
    const std::string folder = "C:\\Cases\\" + c.name;
    windows.files.AddFolder(folder);
    windows.files.AddFolder(windows.system.systemDirectory);
    for (const probe_cases::Entry& entry : c.entries) {
        if (entry.folder) {
            windows.files.AddFolder(folder + "\\" + entry.name);
        } else {
            windows.files.AddFile(folder + "\\" + entry.name, "x",
                                  entry.attributes != 0 ? entry.attributes : platform::kFileAttributeArchive);
        }
    }
    std::string path = c.path.empty() ? folder : folder + "\\" + c.path;
    if (c.relative) {
        windows.files.currentDirectory = folder;
        path = c.path;
    }
    const int answer = c.probe == probe_cases::Probe::DirectoryExists ? DirectoryExists(windows.files, path)
                                                                       : ClearReadOnlyAttribute(windows.files, path);
    EXPECT_EQ(answer, c.expected);
    if (c.attributesAfter) {
        const std::uint32_t plain = platform::kFileAttributeArchive | platform::kFileAttributeNormal;
        EXPECT_EQ(windows.files.Attributes(path) & ~plain, *c.attributesAfter);
        // What the probe asks for, which Windows then reports (Wine reports "archive").
        if (*c.attributesAfter == 0) {
            EXPECT_EQ(windows.files.Attributes(path), platform::kFileAttributeNormal);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FakeProbes, ::testing::ValuesIn(probe_cases::AllCases()), probe_cases::NameOf());

using FakeShortcut = ::testing::TestWithParam<LinkCase>;

// Links are the fake's files "target|arguments|description".
TEST_P(FakeShortcut, SavesAsTheShellDoes) {
    const LinkCase& c = GetParam();
    fake::FakeWindows windows;
    const std::string folder = "C:\\Cases\\" + c.name;
    const std::string target = folder + "\\target.exe";
    const std::string link = folder + "\\" + c.link;
    windows.files.AddFile(target, "MZ");
    windows.shell.comAlreadyInitialised = c.comAlreadyInitialised;
    if (c.replaces) {
        ASSERT_EQ(CreateShellShortcut(windows.shell, target, link, probe_cases::kLinkDescription, nullptr),
                  platform::kS_OK);
    }
    const platform::HResult result =
        CreateShellShortcut(windows.shell, target, link, probe_cases::kLinkDescription, c.arguments);
    EXPECT_EQ(platform::Succeeded(result), c.saved) << result;
    EXPECT_EQ(windows.files.Exists(link), c.saved);
    if (c.saved) {
        EXPECT_EQ(windows.files.Content(link), target + "|" + (c.arguments ? c.arguments : "") + "|" +
                                                   probe_cases::kLinkDescription);
    }
    EXPECT_EQ(windows.shell.comInitCount, 0) << "COM left initialised";
}

INSTANTIATE_TEST_SUITE_P(Cases, FakeShortcut, ::testing::ValuesIn(probe_cases::AllLinkCases()), probe_cases::NameOf());

// ---- what only the fake can make fail ------------------------------------------------------

TEST(FakeProbeFailures, Wow64ProbeFollowsTheSystemFunction) {
    fake::FakeWindows windows;
    windows.system.hasIsWow64Process = false;
    EXPECT_EQ(IsRunningUnderWow64(windows.system), 0);
    EXPECT_EQ(windows.system.isWow64ProcessCalls, 0);
    windows.system.hasIsWow64Process = true;
    windows.system.isWow64 = false;
    EXPECT_EQ(IsRunningUnderWow64(windows.system), 0);
    windows.system.isWow64 = true;
    EXPECT_EQ(IsRunningUnderWow64(windows.system), 1);
    windows.failures.Fail(fake::Op::IsWow64Process, 6);
    EXPECT_EQ(IsRunningUnderWow64(windows.system), 0);
}

// A failed attribute change is passed over; a failed search or current folder is "no
// such folder".
TEST(FakeProbeFailures, FileProbesAnswerOnAfterAFailedCall) {
    fake::FakeWindows windows;
    windows.files.AddFile("C:\\d\\ro.txt", "x", platform::kFileAttributeReadOnly);
    windows.failures.Fail(fake::Op::SetFileAttributes, 5);
    EXPECT_EQ(ClearReadOnlyAttribute(windows.files, "C:\\d\\ro.txt"), 1);
    EXPECT_EQ(windows.files.Attributes("C:\\d\\ro.txt"), platform::kFileAttributeReadOnly);

    for (const fake::Op operation : {fake::Op::SearchPath, fake::Op::GetCurrentDirectory}) {
        windows.failures.Clear();
        windows.failures.Fail(operation, 5);
        EXPECT_EQ(DirectoryExists(windows.files, "C:\\d"), 0);
    }
}

TEST(FakeProbeFailures, EachFailingShortcutStepGivesItsResultAndBalancesCom) {
    fake::FakeWindows windows;
    windows.files.AddFolder("C:\\Menu");
    const auto make = [&] {
        return CreateShellShortcut(windows.shell, "C:\\t.exe", "C:\\Menu\\x.lnk", "d", nullptr);
    };
    windows.failures.Fail(fake::Op::CoInitialize, 5, "", 1);
    EXPECT_EQ(make(), platform::HResultFromWin32(5));
    EXPECT_FALSE(windows.journal.Contains("CoUninitialize"));  // nothing to balance
    const std::pair<fake::Op, std::uint32_t> steps[] = {
        {fake::Op::CreateShellLink, 6}, {fake::Op::QueryPersistFile, 7}, {fake::Op::SaveLink, 8}};
    for (const auto& [operation, error] : steps) {
        windows.failures.Fail(operation, error, "", 1);
        EXPECT_EQ(make(), platform::HResultFromWin32(error));
    }
    EXPECT_EQ(windows.shell.comInitCount, 0);
    EXPECT_FALSE(windows.files.Exists("C:\\Menu\\x.lnk"));
}

TEST(FileEntry, FoldersAreNotFiles) {
    EXPECT_EQ(IsFileEntry(platform::kFileAttributeArchive), 1);
    EXPECT_EQ(IsFileEntry(platform::kFileAttributeNormal), 1);
    EXPECT_EQ(IsFileEntry(platform::kFileAttributeDirectory), 0);
    EXPECT_EQ(IsFileEntry(platform::kFileAttributeDirectory | platform::kFileAttributeHidden), 0);
}

}  // namespace
