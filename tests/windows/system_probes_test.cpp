// The installer's probes against the real system, through the shared table the
// in-memory Windows must match.
#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <wrl/client.h>

#include "platform/win32/win32_platform.h"
#include "setup/file_probes.h"
#include "setup/shell_shortcut.h"
#include "tests/shared/system_probe_cases.h"
#include "tests/windows/scratch_folder.h"

namespace {

using platform::win32::Win32Platform;
using probe_cases::Case;
using probe_cases::LinkCase;

using Win32Probes = ::testing::TestWithParam<Case>;

TEST_P(Win32Probes, AnswerAsTheTableSays) {
    const Case& c = GetParam();
    Win32Platform windows;
    platform::Platform& os = windows.platform();
    wintest::ScratchFolder folder("probe_" + c.name);
    for (const probe_cases::Entry& entry : c.entries) {
        if (entry.folder) {
            ASSERT_TRUE(CreateDirectoryA((folder / entry.name).c_str(), nullptr));
        } else {
            folder.WriteFile(entry.name, "x");
            if (entry.attributes != 0) {
                ASSERT_TRUE(SetFileAttributesA((folder / entry.name).c_str(), entry.attributes));
            }
        }
    }
    std::string path = c.path.empty() ? folder.path() : folder / c.path;
    char previous[MAX_PATH] = {};
    if (c.relative) {
        ASSERT_NE(GetCurrentDirectoryA(MAX_PATH, previous), 0u);
        ASSERT_TRUE(SetCurrentDirectoryA(folder.path().c_str()));
        path = c.path;
    }
    const int answer = c.probe == probe_cases::Probe::DirectoryExists
                           ? setup::DirectoryExists(os.files, path)
                           : setup::ClearReadOnlyAttribute(os.files, path);
    const DWORD after = GetFileAttributesA(path.c_str());
    if (c.relative) SetCurrentDirectoryA(previous);
    EXPECT_EQ(answer, c.expected);
    if (c.attributesAfter) {
        EXPECT_EQ(after & ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL), *c.attributesAfter)
            << after;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Win32Probes, ::testing::ValuesIn(probe_cases::AllCases()), probe_cases::NameOf());

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

using Win32Shortcut = ::testing::TestWithParam<LinkCase>;

TEST_P(Win32Shortcut, SavesAsTheTableSays) {
    const LinkCase& c = GetParam();
    Win32Platform windows;
    platform::Platform& os = windows.platform();
    wintest::ScratchFolder folder("probe_link_" + c.name);
    folder.WriteFile("target.exe", "MZ");
    const std::string target = folder / "target.exe";
    const std::string link = folder / c.link;
    if (c.comAlreadyInitialised) {
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
    }
    if (c.replaces) {
        ASSERT_EQ(setup::CreateShellShortcut(os.shell, target, link, probe_cases::kLinkDescription, nullptr),
                  platform::kS_OK);
    }
    const platform::HResult result =
        setup::CreateShellShortcut(os.shell, target, link, probe_cases::kLinkDescription, c.arguments);
    if (c.comAlreadyInitialised) CoUninitialize();
    // Had the probe left an initialisation of its own, this would answer S_FALSE.
    const HRESULT again = CoInitialize(nullptr);
    EXPECT_EQ(again, S_OK) << "COM left initialised";
    EXPECT_EQ(platform::Succeeded(result), c.saved) << result;
    EXPECT_EQ(GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES, c.saved);
    if (c.saved) {
        const LinkContent content = ReadLink(link);
        EXPECT_EQ(content.target, target);
        EXPECT_EQ(content.arguments, c.arguments ? c.arguments : "");
        EXPECT_EQ(content.description, probe_cases::kLinkDescription);
    }
    if (SUCCEEDED(again)) CoUninitialize();
}

INSTANTIATE_TEST_SUITE_P(Cases, Win32Shortcut, ::testing::ValuesIn(probe_cases::AllLinkCases()), probe_cases::NameOf());

}  // namespace
