// A prepared installer context for the spooler steps: the medium with its driver files,
// the install log's names in the install state, and the spooler platform selected for
// one of the Windows versions the installer supports.
#pragma once

#include <string>
#include <vector>

#include "setup/platform_selection.h"
#include "setup/setup_context.h"
#include "setup/spooler/port_monitor.h"
#include "setup/spooler/printer.h"
#include "setup/spooler/printer_driver.h"
#include "tests/unit/setup_fixture.h"

namespace testing_support {

enum class TestPlatform { Windows64, Nt32, Windows98 };

class SpoolerStepFixture : public SetupFixture {
protected:
    static constexpr const char* kDestination = "C:\\Program Files\\Quillet";
    static constexpr const char* kErrorLog = "C:\\Program Files\\Quillet\\Error.log";

    void Prepare(TestPlatform platform, bool silent = true) {
        switch (platform) {
            case TestPlatform::Windows64: windows.system.version = {10, 0}; windows.system.isWow64 = true; break;
            case TestPlatform::Nt32: windows.system.version = {6, 1}; windows.system.isWow64 = false; break;
            case TestPlatform::Windows98: windows.system.version = {4, 10}; break;
        }
        windows.files.AddFolder(kDestination);
        context = std::make_unique<setup::SetupContext>(windows.platform(), dialogs, false);
        setup::InstallState& state = context->state;
        state.silent = silent;
        state.productName = "Quillet Writer";
        state.printerName = "Quillet Writer";
        state.portName = "QLW1:";
        state.paperSizeName = "A4";
        state.sourceFolder = kMedium;
        state.settingsPath = std::string(kMedium) + "Setup.Ini";
        state.systemFolder = "C:\\Windows\\system32\\";
        state.destinationFolder = kDestination;
        context->feedback.PointErrorLogAt(state.destinationFolder);
        context->settings.Bind(windows.files, state.settingsPath);
        const setup::SelectedPlatform selected = setup::SelectPlatformRow(windows.system, false);
        ASSERT_NE(selected.row, nullptr);
        state.platformRow = selected.row;
        state.osMajor = selected.version.major;
        state.osMinor = selected.version.minor;
    }

    const product::PlatformRow& Row() const { return *context->state.platformRow; }
    // The steps as the sequence calls them.
    void DeployPortMonitor() {
        setup::DeployPortMonitor(windows.files, windows.processes, Row(), context->state);
    }
    platform::Win32Result RegisterPortMonitor() {
        return setup::RegisterPortMonitor(windows.spooler, Row(), context->feedback);
    }
    bool InstallPrinterDriver() {
        return setup::InstallPrinterDriver({windows.spooler, windows.files, Row(), context->state}, context->feedback);
    }
    setup::PrinterSetup PrinterSteps() {
        return {windows.spooler, context->feedback, Row(), context->state, context->settings};
    }
    bool InstallPrinter() { return setup::InstallPrinter(PrinterSteps()); }
    void WriteLegacyDefaultDevMode() {
        setup::WriteLegacyDefaultDevMode(windows.files, windows.registry, context->state);
    }

    std::string ErrorLog() const { return windows.files.Content(kErrorLog).value_or(""); }
};

}  // namespace testing_support
