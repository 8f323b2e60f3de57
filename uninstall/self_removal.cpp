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

std::string FolderWithoutBackslash(std::string folder) {
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

// An existing path as the command interpreter reads it from a batch file: in the OEM
// code page, not the ANSI one the program works in (an "é" of one is another character
// in the other). A path with a character the OEM page lacks is named by its short name;
// without one either, it stays as it is.
std::string ForCommandInterpreter(UninstallContext& context, const std::string& path) {
    if (const auto oem = context.os.system.AnsiToOem(path)) return oem.value();
    if (const auto shortPath = context.os.files.GetShortPathName(path)) {
        if (const auto oem = context.os.system.AnsiToOem(shortPath.value())) return oem.value();
    }
    return path;
}

// Writes the batch under the first free name in `folder`; nothing when none could be made.
std::optional<std::string> WriteBatchIn(UninstallContext& context, const std::string& folder, SelfRemovalPaths paths) {
    const std::uint32_t processId = context.os.system.GetCurrentProcessId();
    const std::string folderInBatch = ForCommandInterpreter(context, folder);
    for (int attempt = 0; attempt < kBatchNameTries; ++attempt) {
        const std::string batch = BatchName(folder, processId, attempt);
        paths.batch = BatchName(folderInBatch, processId, attempt);
        const std::string text = SelfRemovalBatch(paths);
        const auto written = context.os.files.WriteNewFile(batch, std::vector<std::uint8_t>(text.begin(), text.end()));
        if (written) return batch;
        if (written.error != platform::kErrorFileExists) return std::nullopt;
    }
    return std::nullopt;
}

// In the temporary folder or, without one (or where it cannot be written), in the
// install folder's parent: the batch must not lie in the folder it removes.
std::optional<std::string> WriteBatch(UninstallContext& context, const std::string& installFolder,
                                      const SelfRemovalPaths& paths) {
    if (const auto tempFolder = context.os.files.GetTempPath(kTempFolderCapacity);
        tempFolder && !tempFolder.value().empty()) {
        if (auto batch = WriteBatchIn(context, tempFolder.value(), paths)) return batch;
    }
    const std::string parent = text::FolderOf(installFolder, context.leadBytes);
    if (parent.empty()) return std::nullopt;
    return WriteBatchIn(context, parent, paths);
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
    paths.program = ForCommandInterpreter(context, context.ownPath);
    paths.installFolder = ForCommandInterpreter(context, FolderWithoutBackslash(context.installFolder));
    paths.systemFolder = ForCommandInterpreter(context, context.systemFolder);
    const auto batch = WriteBatch(context, FolderWithoutBackslash(context.installFolder), paths);
    if (!batch) return;

    // Started through the command interpreter by its full path, without the AutoRun
    // commands of the registry ("/d"), which would run with the uninstaller's rights; the
    // outer quotes are the ones "cmd /c" takes away, so the batch's own path stays quoted.
    platform::ProcessStart start;
    start.show = platform::WindowShow::Hide;
    start.inheritHandles = false;
    start.suspendedAtIdlePriority = true;
    start.currentDirectory = text::FolderOf(*batch, context.leadBytes);
    const platform::StartedProcess started = context.os.processes.CreateProcess(
        "\"" + context.systemFolder + "\\cmd.exe\" /d /c \"\"" + *batch + "\"\"", start);
    if (!started) return;
    // The batch waits at the lowest priority while the uninstaller finishes at the
    // highest; a failure here only makes the batch try a little longer.
    (void)started.process->SetMainThreadIdle();
    (void)context.os.processes.SetOwnThreadTimeCritical();
    (void)context.os.processes.SetOwnProcessHighPriority();
    (void)started.process->Resume();
}

}  // namespace uninstall
