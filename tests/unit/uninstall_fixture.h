// A fake machine on which the installer has run silently from C:\Medium into
// C:\Program Files\Quillet (64-bit Windows), and runs of the installed uninstaller.
#pragma once

#include <string>
#include <vector>

#include "tests/unit/setup_fixture.h"
#include "uninstall/uninstaller.h"

namespace testing_support {

class InstalledMachine : public SetupMachine {
public:
    static constexpr const char* kInstallFolder = "C:\\Program Files\\Quillet\\";
    static constexpr const char* kProductKey = "SOFTWARE\\NIMBRAX Writer";
    static constexpr const char* kUninstallEntry =
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillet Writer";
    static constexpr const char* kPrograms = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
    static constexpr const char* kMonitorDll = "C:\\Windows\\system32\\nimbmon64.dll";

    // Installs from a medium holding `log` and the given extra files; the copy helper's
    // work (the monitor DLL in system32) is done by hand, as the fake starts no program.
    // Gives the installer's exit status.
    int Install(const installlog::InstallLog& log = SampleInstallLog(), const std::vector<std::string>& extra = {}) {
        WriteInstallLog(log);
        for (const std::string& name : extra) windows.files.AddFile(mediumFolder + name, name);
        const int installed = Run({"/s"});
        windows.files.AddFile(kMonitorDll, "monitor 64");
        windows.processes.started.clear();
        windows.journal.Clear();
        return installed;
    }

    // Runs the installed uninstaller (or the one at `program`) with its string table.
    int Uninstall(const std::vector<std::string>& arguments = {"/uninstall", "/s"},
                  const std::string& program = std::string(kInstallFolder) + "unInstpm64.exe") {
        windows.system.moduleFileName = program;
        windows.system.arguments = arguments;
        windows.ui.strings = fake::UninstallerStrings();
        windows.ui.shown.clear();
        return uninstall::RunUninstaller(windows.platform());
    }

    std::string Installed(const std::string& name) const { return std::string(kInstallFolder) + name; }
    bool KeyExists(const std::string& path) const {
        return windows.registry.KeyExists(platform::RegistryRoot::LocalMachine, path, platform::RegistryView::Force64);
    }
    bool Ran(const std::string& entry) const { return windows.journal.Contains(entry); }
    int Position(const std::string& entry) const { return windows.journal.IndexOf(entry); }
};

class UninstallFixture : public ::testing::Test, public InstalledMachine {
protected:
    using InstalledMachine::Run;  // not the test framework's own
};

}  // namespace testing_support
