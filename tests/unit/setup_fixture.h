// A fake machine with a prepared installation medium in C:\Medium, and a run of the
// installer over it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/installlog/install_log.h"
#include "setup/install_sequence.h"
#include "tests/fake_windows/fake_dialogs.h"
#include "tests/fake_windows/fake_windows.h"

namespace testing_support {

inline installlog::InstallLog SampleInstallLog() {
    installlog::InstallLog log;
    log.PrinterName = "Quillet Writer";
    log.PortName = "QLW1:";
    log.PaperSizeName = "Letter";
    log.ProductName = "Quillet Writer";
    log.DestinationSubfolder = "Quillet";
    log.ProgramGroup = "Brindle\\Quillet Writer";
    log.SpareText = "spare";
    log.ProgrammaticAccess = 0;
    log.CreateShortcuts = 1;
    log.ExtensionComponents = 0;
    return log;
}

class SetupFixture : public ::testing::Test {
protected:
    static constexpr const char* kMedium = "C:\\Medium\\";

    SetupFixture() {
        windows.system.moduleFileName = std::string(kMedium) + "Setup.exe";
        windows.files.AddFile(std::string(kMedium) + "Setup.exe", "MZ");
        windows.files.AddFolder("C:\\Windows\\system32");
        windows.files.AddFolder("C:\\Program Files");
    }

    void WriteInstallLog(const installlog::InstallLog& log) {
        windows.files.AddFile(std::string(kMedium) + "Setup.inf",
                              installlog::EncodeInstallLog(log, {0x5A, 0x00, 0xC3}));
    }
    void WriteSettings(const std::string& text) {
        windows.files.AddFile(std::string(kMedium) + "Setup.Ini", text);
    }

    int Run(const std::vector<std::string>& arguments = {"/s"}) {
        windows.system.arguments = arguments;
        context = std::make_unique<setup::SetupContext>(windows.platform(), dialogs, programIs64Bit);
        return setup::RunInstallSequence(*context);
    }

    const setup::InstallState& State() const { return context->state; }

    bool ProductKeyExists() const {
        return windows.registry.KeyExists(platform::RegistryRoot::LocalMachine, "SOFTWARE\\NIMBRAX Writer",
                                          platform::RegistryView::Force64);
    }

    fake::FakeWindows windows;
    fake::FakeSetupDialogs dialogs{windows.journal};
    bool programIs64Bit = false;
    std::unique_ptr<setup::SetupContext> context;
};

}  // namespace testing_support
