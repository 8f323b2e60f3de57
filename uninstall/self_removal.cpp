#include "uninstall/self_removal.h"

#include <cstdio>

namespace uninstall {
namespace {

constexpr std::size_t kTempFolderCapacity = 261;
// Names tried for the batch before giving up; a name taken by any file is never reused.
constexpr int kBatchNameTries = 100;

// A path as the command interpreter must see it inside a batch file.
std::string ForBatch(const std::string& path) {
    std::string escaped;
    for (const char c : path) {
        escaped += c;
        if (c == '%') escaped += '%';
    }
    return escaped;
}

std::string BatchName(const std::string& tempFolder, std::uint32_t processId, int attempt) {
    char name[48];
    std::snprintf(name, sizeof(name), "DelUnist-%X-%d.bat", static_cast<unsigned>(processId), attempt);
    return tempFolder + name;
}

// Writes the batch under the first free name; nothing when none could be made.
std::optional<std::string> WriteBatch(UninstallContext& context, SelfRemovalPaths paths) {
    const auto tempFolder = context.os.files.GetTempPath(kTempFolderCapacity);
    if (!tempFolder || tempFolder.value().empty()) return std::nullopt;
    const std::uint32_t processId = context.os.system.GetCurrentProcessId();
    for (int attempt = 0; attempt < kBatchNameTries; ++attempt) {
        paths.batch = BatchName(tempFolder.value(), processId, attempt);
        const std::string text = SelfRemovalBatch(paths);
        const auto written = context.os.files.WriteNewFile(paths.batch, std::vector<std::uint8_t>(text.begin(), text.end()));
        if (written) return paths.batch;
        if (written.error != platform::kErrorFileExists) return std::nullopt;
    }
    return std::nullopt;
}

std::string FolderWithoutBackslash(std::string folder) {
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

}  // namespace

std::string SelfRemovalBatch(const SelfRemovalPaths& paths) {
    const std::string program = ForBatch(paths.program);
    const std::string limit = std::to_string(paths.tries);
    return "@echo off\r\n"
           "set DelUnistTries=0\r\n"
           ":Repeat\r\n"
           "del \"" + program + "\"\r\n"
           "if not exist \"" + program + "\" goto Removed\r\n"
           "set /a DelUnistTries+=1\r\n"
           "if %DelUnistTries% LSS " + limit + " \"" + ForBatch(paths.systemFolder) + "\\ping.exe\" -n 2 127.0.0.1 >nul\r\n"
           "if %DelUnistTries% LSS " + limit + " goto Repeat\r\n"
           ":Removed\r\n"
           "rmdir \"" + ForBatch(paths.installFolder) + "\"\r\n"
           "del \"" + ForBatch(paths.batch) + "\"\r\n";
}

void StartSelfRemoval(UninstallContext& context) {
    SelfRemovalPaths paths;
    paths.program = context.ownPath;
    paths.installFolder = FolderWithoutBackslash(context.installFolder);
    paths.systemFolder = context.systemFolder;
    const auto batch = WriteBatch(context, paths);
    if (!batch) return;

    // Started through the command interpreter by its full path; the outer quotes are
    // the ones "cmd /c" takes away, so the batch's own path stays quoted.
    platform::ProcessStart start;
    start.show = platform::WindowShow::Hide;
    start.inheritHandles = false;
    start.suspendedAtIdlePriority = true;
    start.currentDirectory = text::FolderOf(*batch, context.leadBytes);
    const platform::StartedProcess started = context.os.processes.CreateProcess(
        "\"" + context.systemFolder + "\\cmd.exe\" /c \"\"" + *batch + "\"\"", start);
    if (!started) return;
    // The batch waits at the lowest priority while the uninstaller finishes at the
    // highest; a failure here only makes the batch try a little longer.
    (void)started.process->SetMainThreadIdle();
    (void)context.os.processes.SetOwnThreadTimeCritical();
    (void)context.os.processes.SetOwnProcessHighPriority();
    (void)started.process->Resume();
}

}  // namespace uninstall
