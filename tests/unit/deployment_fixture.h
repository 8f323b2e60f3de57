// A fake machine with an install state as the sequence leaves it before the deployment
// steps: medium in C:\Medium, destination C:\Program Files\Quillet, and the platform
// chosen by the test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "setup/setup_context.h"
#include "tests/fake_windows/fake_dialogs.h"
#include "tests/fake_windows/fake_windows.h"

namespace testing_support {

class DeploymentFixture : public ::testing::Test {
protected:
    static constexpr const char* kMedium = "C:\\Medium\\";
    static constexpr const char* kDestination = "C:\\Program Files\\Quillet";

    DeploymentFixture() {
        setup::InstallState& state = context.state;
        state.sourceFolder = kMedium;
        state.destinationFolder = kDestination;
        state.systemFolder = "C:\\Windows\\system32\\";
        state.productName = "Quillet Writer";
        state.printerName = "Quillet Writer";
        state.portName = "QLW1:";
        state.silent = true;
        windows.files.AddFolder("C:\\Windows\\system32");
        windows.files.AddFolder(kDestination);
        On64BitWindows();
    }

    void On64BitWindows() { SetPlatform(true, true, 10); }
    void On32BitNt(std::uint32_t major = 5) { SetPlatform(true, false, major); }
    void OnWindows98() { SetPlatform(false, false, 4); }

    void AddToMedium(const std::string& name, std::uint32_t attributes = platform::kFileAttributeArchive) {
        windows.files.AddFile(std::string(kMedium) + name, name, attributes);
    }
    std::string Destination(const std::string& name) const { return std::string(kDestination) + "\\" + name; }
    bool Deployed(const std::string& name) const { return windows.files.Exists(Destination(name)); }
    // What a deployed file holds: the placeholders hold their own medium name.
    std::string DeployedContent(const std::string& name) const {
        return windows.files.Content(Destination(name)).value_or("<missing>");
    }

    fake::FakeWindows windows;
    fake::FakeSetupDialogs dialogs{windows.journal};
    setup::SetupContext context{windows.platform(), dialogs, false};

private:
    void SetPlatform(bool nt, bool wow64, std::uint32_t major) {
        context.state.isNtFamily = nt;
        context.state.isWow64 = wow64;
        context.state.osMajor = major;
        context.state.osMinor = nt ? 1 : 10;
        // The 32-bit installer on 64-bit Windows sees the 32-bit registry by default.
        windows.registry.nativeViewIs32Bit = wow64;
    }
};

}  // namespace testing_support
