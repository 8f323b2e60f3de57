#include "uninstall/file_removal.h"

#include "common/product/platform_rows.h"
#include "common/product/product_files.h"
#include "common/product/program_group.h"
#include "common/product/registry_names.h"
#include "uninstall/deferred_delete.h"

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
// a while so that the file is free to delete.
void UnregisterComServer(UninstallContext& context, const std::string& server) {
    const std::string commandLine = "\"" + context.systemFolder + "\\regsvr32.exe\" /s /u \"" + server + "\"";
    const platform::StartedProcess started =
        context.os.processes.CreateProcess(commandLine, platform::ShownAs(platform::WindowShow::Hide));
    if (started) (void)started.process->WaitFor(kUnregistrationMilliseconds);
}

}  // namespace

bool DeleteMatchingFiles(platform::FileSystem& files, const std::string& pattern, const text::LeadBytes& leadBytes) {
    const std::string folder = text::FolderOf(pattern, leadBytes);
    const platform::StartedSearch found = files.FindFirstFile(pattern);
    if (!found) return false;
    do {
        const platform::FindData& entry = found.search->Current();
        if ((entry.attributes & platform::kFileAttributeDirectory) == 0) {
            (void)files.DeleteFile(folder + entry.fileName);
        }
    } while (found.search->FindNext());
    return true;
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
    (void)DeleteMatchingFiles(context.os.files, folder + "\\*.*", context.leadBytes);
    (void)context.os.files.RemoveDirectory(folder);
}

void RemoveProductFiles(UninstallContext& context) {
    platform::FileSystem& files = context.os.files;
    const std::string& folder = context.installFolder;
    if (!IsFolder(files, folder)) return;
    for (const char* name : product::kRemovedProductFiles) {
        (void)DeleteMatchingFiles(files, folder + name, context.leadBytes);
    }
    // The COM server is unregistered first and then deleted like the other files, so
    // that it does not keep the install folder alive for good.
    const std::string server = folder + product::kComServerName;
    if (files.GetFileAttributes(server)) {
        UnregisterComServer(context, server);
        (void)DeleteMatchingFiles(files, server, context.leadBytes);
    }
    const std::string withoutBackslash = folder.substr(0, folder.size() - 1);
    if (!files.RemoveDirectory(withoutBackslash)) (void)DeleteAtRestart(context.os, withoutBackslash);
}

}  // namespace uninstall
