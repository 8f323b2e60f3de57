// A fake machine with a prepared installation medium (in C:\Medium unless told), and a
// run of the installer over it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/installlog/install_log.h"
#include "common/product/product_files.h"
#include "common/text/text.h"
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

// The product files of a medium, from the product-file table: the converter's builds,
// the rows every build copies and the uninstallers; with `wholeMedium` also README.TXT and
// the rows only some media hold or that a run writes itself (the install log, settings).
inline std::vector<std::string> MediumProductFiles(bool wholeMedium) {
    std::vector<std::string> names = {"pagemill64.exe", "pagemill32.exe", product::kUninstaller64,
                                      product::kUninstaller32};
    if (wholeMedium) names.push_back(product::kReadmeNames[0]);
    for (const product::ProductFile& file : product::kProductFiles) {
        const bool written = text::EqualsNoCase(file.name, product::kInstallLogName) ||
                             text::EqualsNoCase(file.name, product::kSettingsName);
        const bool copied = file.when != product::CopiedWhen::Never && *file.name != '\0';
        if (copied && (wholeMedium || (!file.onlyWhenOnMedium && !written))) names.push_back(file.name);
    }
    return names;
}

// The machine and one run of the installer on it; tests that try many machines make
// one per case.
class SetupMachine {
public:
    static constexpr const char* kMedium = "C:\\Medium\\";

    // `folder` ends in a backslash.
    explicit SetupMachine(std::string folder = kMedium) : mediumFolder(std::move(folder)) {
        windows.system.moduleFileName = mediumFolder + "Setup.exe";
        windows.files.AddFile(mediumFolder + "Setup.exe", "MZ");
        windows.files.AddFolder("C:\\Windows\\system32");
        windows.files.AddFolder("C:\\Program Files");
        // The product files every run copies; the tests add those only some builds copy.
        for (const std::string& name : MediumProductFiles(false)) windows.files.AddFile(mediumFolder + name, name);
        for (const char* name : kDriverFiles) windows.files.AddFile(mediumFolder + "Driver\\" + name, name);
        for (const auto& environment : windows.spooler.driverDirectories) windows.files.AddFolder(environment.second);
        // The product's monitor adds the port that the install log names.
        windows.spooler.portAddedByMonitor = "QLW1:";
        // The 32-bit Setup on 64-bit Windows runs under WOW64, where its own registry view
        // is the 32-bit one; only Force64 reaches the 64-bit view.
        windows.registry.nativeViewFollows = [this] {
            return !programIs64Bit && windows.system.RunsThirtyTwoBitProgramsUnderWow64();
        };
    }

    // The printer driver files of the medium: "Driver\" for the description files and the
    // 32-bit driver, "Driver\x64\" for the 64-bit driver program files.
    static constexpr const char* kDriverFiles[] = {
        "NIMBRAXW.PPD", "NIMBRAXW.SPD", "PSCRIPT5.DLL", "PS5UI.DLL", "PSCRIPT.HLP", "PSCRIPT.NTF",
        "PSCRIPT.DRV", "PSCRIPT.INI", "TESTPS.TXT", "FONTS.MFM", "ICONLIB.DLL", "PSMON.DLL",
        "x64\\PSCRIPT5.DLL", "x64\\PS5UI.DLL", "x64\\PSCRIPT.HLP", "x64\\PSCRIPT.NTF"};

    void WriteInstallLog(const installlog::InstallLog& log) {
        windows.files.AddFile(mediumFolder + "Setup.inf",
                              installlog::EncodeInstallLog(log, {0x5A, 0x00, 0xC3}));
    }
    void WriteSettings(const std::string& text) {
        windows.files.AddFile(mediumFolder + "Setup.Ini", text);
    }

    int Run(const std::vector<std::string>& arguments = {"/s"}) {
        windows.system.arguments = arguments;
        context = std::make_unique<setup::SetupContext>(windows.platform(), dialogs, programIs64Bit);
        return setup::RunInstallSequence(*context);
    }

    // A further run on the same machine, once the uninstall entry of the run before is
    // gone (as after the uninstaller), so that it is not taken for an installed product.
    int RunAgain(const std::vector<std::string>& arguments = {"/s"}) {
        const std::string entry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" +
                                  context->state.productName;
        for (const auto view : {platform::RegistryView::Force64, platform::RegistryView::Force32}) {
            (void)windows.registry.DeleteKey(platform::RegistryRoot::LocalMachine, entry, view);
        }
        return Run(arguments);
    }

    // The texts of the boxes shown so far, in order.
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : windows.ui.shown) texts.push_back(box.text);
        return texts;
    }

    const setup::InstallState& State() const { return context->state; }

    bool ProductKeyExists() const {
        return windows.registry.KeyExists(platform::RegistryRoot::LocalMachine, "SOFTWARE\\NIMBRAX Writer",
                                          platform::RegistryView::Force64);
    }

    const std::string mediumFolder;
    fake::FakeWindows windows;
    fake::FakeSetupDialogs dialogs{windows.journal};
    bool programIs64Bit = false;
    std::unique_ptr<setup::SetupContext> context;
};

class SetupFixture : public ::testing::Test, public SetupMachine {
protected:
    using SetupMachine::Run;  // not the test framework's own
};

}  // namespace testing_support
