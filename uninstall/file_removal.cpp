#include "uninstall/file_removal.h"

#include "common/product/platform_rows.h"
#include "common/product/product_files.h"
#include "common/product/program_group.h"
#include "common/product/registry_names.h"
#include "uninstall/deferred_delete.h"

#include <optional>

namespace uninstall {
namespace {

// How long the unregistration of the COM server may take before its file is deleted
// regardless.
constexpr std::uint32_t kUnregistrationMilliseconds = 30000;

bool IsFolder(platform::FileSystem& files, const std::string& path) {
    const auto attributes = files.GetFileAttributes(path);
    return attributes && (attributes.value() & platform::kFileAttributeDirectory) != 0;
}

// Deletes `parent` + "\" + `name` when `parent` opens; a key with subkeys stays.
void DeleteSubkey(UninstallContext& context, const std::string& parent, const std::string& name) {
    const auto opened = context.os.registry.OpenKey(platform::RegistryRoot::LocalMachine, parent,
                                                    platform::RegistryAccess::AllAccess,
                                                    product::kUninstallerRow.machineView);
    if (!opened) return;
    (void)context.os.registry.DeleteKey(platform::RegistryRoot::LocalMachine, parent + "\\" + name,
                                        product::kUninstallerRow.machineView);
}

// The system's registration tool, by its full path, unregistering silently; waited for
// a while so that the file is free to delete. Nothing when it ended with 0; otherwise
// why the registration may still point at the file.
std::optional<std::string> UnregisterComServer(UninstallContext& context, const std::string& server) {
    const std::string commandLine = "\"" + context.systemFolder + "\\regsvr32.exe\" /s /u \"" + server + "\"";
    const platform::StartedProcess started =
        context.os.processes.CreateProcess(commandLine, platform::ShownAs(platform::WindowShow::Hide));
    if (!started) return "regsvr32 did not start, error " + std::to_string(started.error);
    if (started.process->WaitFor(kUnregistrationMilliseconds) != platform::kWaitObject0) {
        return std::string("regsvr32 did not end in time");
    }
    const auto exitCode = started.process->GetExitCode();
    if (!exitCode) return "regsvr32's exit status unknown, error " + std::to_string(exitCode.error);
    if (exitCode.value() != 0) return "regsvr32 ended with " + std::to_string(exitCode.value());
    return std::nullopt;
}

// Schedules `path` for the restart; the run then ends asking for one.
void ScheduleForRestart(UninstallContext& context, const std::string& path) {
    if (DeleteAtRestart(context.os, path)) {
        context.restartNeeded = true;
        context.runLog.Step(9, path, "in use: deleted at the next restart");
    } else {
        context.runLog.Step(9, path, "in use, and it could not be scheduled for the next restart");
    }
}

std::string WithoutTrailingBackslash(const std::string& folder) { return folder.substr(0, folder.size() - 1); }

}  // namespace

std::vector<std::string> DeleteMatchingFiles(platform::FileSystem& files, const std::string& pattern,
                                             const text::LeadBytes& leadBytes) {
    const std::string folder = text::FolderOf(pattern, leadBytes);
    std::vector<std::string> stayed;
    const platform::StartedSearch found = files.FindFirstFile(pattern);
    if (!found) return stayed;
    do {
        const platform::FindData& entry = found.search->Current();
        if ((entry.attributes & platform::kFileAttributeDirectory) == 0 && !files.DeleteFile(folder + entry.fileName)) {
            stayed.push_back(folder + entry.fileName);
        }
    } while (found.search->FindNext());
    return stayed;
}

void DeleteOrSchedule(UninstallContext& context, const std::string& pattern) {
    for (const std::string& path : DeleteMatchingFiles(context.os.files, pattern, context.leadBytes)) {
        const auto attributes = context.os.files.GetFileAttributes(path);
        if (!attributes) continue;  // gone meanwhile
        if ((attributes.value() & platform::kFileAttributeReadOnly) != 0) {
            context.runLog.Step(9, path, "read-only: stays");
            continue;
        }
        ScheduleForRestart(context, path);
    }
}

void RemoveRegistryEntries(UninstallContext& context) {
    DeleteSubkey(context, product::kUninstallKeyParent, context.productName);
    DeleteSubkey(context, product::kProductKeyPath, context.portName);
}

void RemoveShortcuts(UninstallContext& context) {
    // The installer's rule: without a group the shortcuts went into a folder named after
    // the product. A group outside the Programs folder was never used.
    const std::string group = product::ShortcutGroup(context.programGroup, context.productName);
    if (!product::IsGroupInsidePrograms(group, context.leadBytes)) return;
    const auto programs = context.os.shell.GetSpecialFolderPath(platform::SpecialFolder::CommonPrograms, true);
    if (!programs) return;
    const std::string folder = *programs + "\\" + group;
    if (!IsFolder(context.os.files, folder)) return;
    for (const std::string& name :
         {std::string(product::kReadmeShortcut), std::string(product::kSecurityShortcut),
          std::string(product::kPreferencesShortcut), product::UninstallShortcutName(context.productName)}) {
        (void)DeleteMatchingFiles(context.os.files, folder + "\\" + name, context.leadBytes);
    }
    (void)context.os.files.RemoveDirectory(folder);
}

void RemoveGhostscriptFolder(UninstallContext& context) {
    const std::string folder = context.installFolder + product::kGhostscriptFolder;
    if (!IsFolder(context.os.files, folder)) return;
    DeleteOrSchedule(context, folder + "\\*.*");
    // A folder whose files wait for the restart goes after them.
    if (!context.os.files.RemoveDirectory(folder) && context.restartNeeded) (void)DeleteAtRestart(context.os, folder);
}

void RemoveProductFiles(UninstallContext& context) {
    platform::FileSystem& files = context.os.files;
    const std::string& folder = context.installFolder;
    if (!IsFolder(files, folder)) return;
    for (const char* name : product::kRemovedProductFiles) DeleteOrSchedule(context, folder + name);
    // The COM server is unregistered first and then deleted like the other files, so
    // that it does not keep the install folder alive for good; while its registration may
    // still name it, it stays.
    const std::string server = folder + product::kComServerName;
    if (files.GetFileAttributes(server)) {
        if (const auto why = UnregisterComServer(context, server)) {
            context.runLog.Step(9, server, "stays: " + *why);
        } else {
            DeleteOrSchedule(context, server);
        }
    }
}

void RemoveInstallLogAndFolder(UninstallContext& context) {
    const std::string& folder = context.installFolder;
    if (!IsFolder(context.os.files, folder)) return;
    DeleteOrSchedule(context, folder + product::kInstallLogName);
    if (!context.os.files.RemoveDirectory(WithoutTrailingBackslash(folder))) {
        (void)DeleteAtRestart(context.os, WithoutTrailingBackslash(folder));
    }
}

}  // namespace uninstall
