// A fake machine with an install state as the sequence leaves it before the deployment
// steps: medium in C:\Medium, destination C:\Program Files\Quillet, and the platform
// chosen by the test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "setup/file_deployment.h"
#include "setup/registry_records.h"
#include "setup/start_menu_shortcuts.h"
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

    void On64BitWindows() { SetPlatform(product::PlatformId::WindowsX64, 10); }
    void On32BitNt(std::uint32_t major = 5) { SetPlatform(product::PlatformId::WindowsNtX86, major); }
    void OnWindows98() { SetPlatform(product::PlatformId::Windows4x, 4); }

    const product::PlatformRow& Row() const { return *context.state.platformRow; }
    setup::DestinationJudge Judge() {
        return {windows.files, windows.shell, windows.registry, windows.system, Row(), context.leadBytes, context.state.sourceFolder};
    }
    // The steps as the sequence calls them.
    setup::DeployedFiles DeployProductFiles() {
        return setup::DeployProductFiles(windows.files, windows.processes, Row(), context.state, context.feedback);
    }
    setup::StepResult CreateDestinationFolder() {
        return setup::CreateDestinationFolder(windows.files, Judge(), context.state.destinationFolder);
    }
    bool CopyFolderFiles(const std::string& folderName) {
        return setup::CopyFolderFiles(windows.files, context.state, folderName);
    }
    setup::StepResult WriteProductKey() {
        return setup::WriteProductKey(windows.registry, Row(), context.state, context.settings);
    }
    void ClearTransientValues() { setup::ClearTransientValues(windows.registry, Row()); }
    void CreateEditionKey() { setup::CreateEditionKey(windows.registry, Row()); }
    platform::Win32Result RegisterUninstallEntry() {
        return setup::RegisterUninstallEntry(windows.registry, windows.files, Row(), context.state, context.settings);
    }
    setup::StepResult WritePortKey() { return setup::WritePortKey(windows.registry, windows.files, Row(), context.state); }
    std::string UninstallCommand() const { return setup::UninstallCommand(Row(), context.state); }
    void CreateStartMenuShortcuts() {
        setup::CreateStartMenuShortcuts({windows.shell, windows.files, Row(), context.state, context.leadBytes},
                                        context.feedback);
    }

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
    void SetPlatform(product::PlatformId id, std::uint32_t major) {
        context.state.platformRow = &product::Row(id);
        context.state.osMajor = major;
        context.state.osMinor = Row().isNtFamily ? 1 : 10;
        // The 32-bit installer on 64-bit Windows sees the 32-bit registry by default.
        windows.registry.nativeViewIs32Bit = Row().is64BitWindows;
    }
};

}  // namespace testing_support
