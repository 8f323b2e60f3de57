// The benchmark's floor: the least an installation of the printer has to do, and no
// more. It copies a staged payload into place and makes the spooler calls that register
// the port monitor, its port, the driver and the printer; "uninstall" makes the
// spooler's deletions and removes the copied files. No checks, no messages, no records,
// no child programs: what Setup and the uninstaller take beyond this is their own cost.
//
//   floor install PAYLOAD INSTALL_FOLDER PORT PRINTER
//   floor uninstall PAYLOAD INSTALL_FOLDER PORT PRINTER
//
// PAYLOAD holds what an installation leaves on the machine, by destination:
//   install\  the install folder's files and folders
//   driver\   the files of the driver directory ("Windows x64")
//   system\   the files of the system folder (the port monitor)
// Exit status 0 when every call succeeded, otherwise the number of the failed call.
#include "platform/win32/windows_api.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "common/product/platform_rows.h"
#include "common/product/registry_names.h"
#include "common/product/spooler_names.h"
#include "common/spooler/product_records.h"
#include "platform/platform.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/win32_platform.h"

namespace {

// The floor does what Setup does on 64-bit Windows.
constexpr const product::PlatformRow& kRow = product::Row(product::PlatformId::WindowsX64);

constexpr std::uint32_t kDriverDirectoryBytes = 1024;

struct Paths {
    std::string payload;
    std::string installFolder;
    std::string systemFolder;
    std::string driverFolder;
    std::string port;
    std::string printer;
};

// Calls each file (not folder) of `folder` with its name; folders with `onFolder`.
void ForEachEntry(platform::FileSystem& files, const std::string& folder,
                  const std::function<void(const std::string&)>& onFile,
                  const std::function<void(const std::string&)>& onFolder) {
    platform::StartedSearch search = files.FindFirstFile(folder + "\\*");
    if (!search) return;
    do {
        const platform::FindData& entry = search.search->Current();
        if (entry.fileName == "." || entry.fileName == "..") continue;
        if ((entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            onFolder(entry.fileName);
        } else {
            onFile(entry.fileName);
        }
    } while (search.search->FindNext());
}

// Copies the tree `from` into `to`, creating the folders that are not there yet; false
// on the first failure.
bool CopyTree(platform::FileSystem& files, const std::string& from, const std::string& to) {
    const platform::Win32Result made = files.CreateDirectory(to);
    bool ok = made || made.error == ERROR_ALREADY_EXISTS;
    const auto copyFile = [&](const std::string& name) {
        ok = ok && files.CopyFile(from + "\\" + name, to + "\\" + name, false);
    };
    const auto copyFolder = [&](const std::string& name) {
        ok = ok && CopyTree(files, from + "\\" + name, to + "\\" + name);
    };
    ForEachEntry(files, from, copyFile, copyFolder);
    return ok;
}

// Deletes the tree `folder` whole.
bool DeleteTree(platform::FileSystem& files, const std::string& folder) {
    bool ok = true;
    ForEachEntry(
        files, folder, [&](const std::string& name) { ok = files.DeleteFile(folder + "\\" + name) && ok; },
        [&](const std::string& name) { ok = DeleteTree(files, folder + "\\" + name) && ok; });
    return files.RemoveDirectory(folder) && ok;
}

// The test port monitor learns the port to add from the product key, as Setup tells it.
bool SetPortForMonitor(platform::Registry& registry, const std::string& port) {
    platform::OpenedKey key = registry.CreateKey(platform::RegistryRoot::LocalMachine, product::kProductKeyPath,
                                                 platform::RegistryView::Native);
    return key && key.key->SetTextValue(product::kPortNameRecord.name, port, platform::TextCount::WithNul);
}

// Runs the calls in order and answers the number (from 1) of the first that failed.
int FirstFailure(const std::vector<std::function<bool()>>& calls) {
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (!calls[i]()) {
            std::fprintf(stderr, "floor: call %zu failed (error %lu)\n", i + 1, GetLastError());
            return static_cast<int>(i + 1);
        }
    }
    return 0;
}

int Install(platform::Platform& os, const Paths& paths) {
    return FirstFailure({
        [&] { return CopyTree(os.files, paths.payload + "\\install", paths.installFolder); },
        [&] { return CopyTree(os.files, paths.payload + "\\system", paths.systemFolder); },
        [&] { return CopyTree(os.files, paths.payload + "\\driver", paths.driverFolder); },
        [&] { return SetPortForMonitor(os.registry, paths.port); },
        [&] {
            // A monitor left by an earlier run refuses to be added again, as for Setup.
            (void)os.spooler.AddMonitor({product::kMonitorName, kRow.environment, kRow.monitorDll});
            return static_cast<bool>(os.spooler.AddPort(product::kMonitorName));
        },
        [&] {
            // The 64-bit spooler takes the driver's files by their bare names.
            return static_cast<bool>(
                os.spooler.AddPrinterDriver(spooler::ProductNtDriverRecord(kRow.environment, "")));
        },
        [&] { return static_cast<bool>(os.spooler.AddPrinter(spooler::ProductPrinterRecord(paths.printer, paths.port))); },
    });
}

int Uninstall(platform::Platform& os, const Paths& paths) {
    return FirstFailure({
        [&] {
            platform::OpenedPrinter printer = os.spooler.OpenPrinter(paths.printer, platform::kPrinterAllAccess);
            return printer && printer.printer->DeletePrinter();
        },
        [&] { return static_cast<bool>(os.spooler.DeletePrinterDriver(kRow.environment, product::kDriverName)); },
        [&] { return static_cast<bool>(os.spooler.DeletePort(paths.port)); },
        [&] { return static_cast<bool>(os.spooler.DeleteMonitor(product::kMonitorName)); },
        [&] { return static_cast<bool>(os.files.DeleteFile(paths.systemFolder + "\\" + kRow.monitorDll)); },
        [&] { return DeleteTree(os.files, paths.installFolder); },
        [&] {
            return static_cast<bool>(os.registry.DeleteKey(platform::RegistryRoot::LocalMachine,
                                                           product::kProductKeyPath, platform::RegistryView::Native));
        },
    });
}

}  // namespace

int main(int argc, char** argv) {
    platform::win32::RestrictDllSearchToSystemFolder();
    if (argc != 6) {
        std::fprintf(stderr, "usage: floor install|uninstall PAYLOAD INSTALL_FOLDER PORT PRINTER\n");
        return 100;
    }
    platform::win32::Win32Platform windows;
    platform::Platform& os = windows.platform();
    Paths paths{argv[2], argv[3], "", "", argv[4], argv[5]};
    char system[MAX_PATH] = {};
    if (GetSystemDirectoryA(system, MAX_PATH) == 0) return 101;
    paths.systemFolder = system;
    const auto driverFolder = os.spooler.GetPrinterDriverDirectory(kRow.environment, kDriverDirectoryBytes);
    if (!driverFolder) return 102;
    paths.driverFolder = driverFolder.value();

    const std::string mode = argv[1];
    if (mode == "install") return Install(os, paths);
    if (mode == "uninstall") return Uninstall(os, paths);
    return 100;
}
