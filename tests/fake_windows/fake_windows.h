// An in-memory Windows for host tests: files with attributes and case-insensitive
// paths, a registry with a 64-bit and a 32-bit view, the spooler's monitor list, shell
// folders and links, message boxes with scripted answers, started processes, and a
// failure switch for every operation. Every call is written to a journal so tests can
// check the order in which things happened.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/fake_windows/failure_switches.h"
#include "tests/fake_windows/journal.h"
#include "tests/fake_windows/fake_spooler.h"

namespace fake {

struct FakeFile {
    std::string path;  // as created
    std::uint32_t attributes = platform::kFileAttributeArchive;
    std::vector<std::uint8_t> bytes;
};

class FakeFileSystem : public platform::FileSystem {
public:
    FakeFileSystem(Journal& journal, FailureSwitches& failures) : journal_(journal), failures_(failures) {}

    // Test set-up: folders and files, with every missing parent folder.
    void AddFolder(const std::string& path);
    void AddFile(const std::string& path, const std::string& content,
                 std::uint32_t attributes = platform::kFileAttributeArchive);
    void AddFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                 std::uint32_t attributes = platform::kFileAttributeArchive);
    void Remove(const std::string& path) { entries_.erase(Key(path)); }
    bool Exists(const std::string& path) const;
    bool IsFolder(const std::string& path) const;
    std::optional<std::string> Content(const std::string& path) const;
    std::uint32_t Attributes(const std::string& path) const;
    std::vector<std::string> AllPaths() const;
    std::string currentDirectory = "C:\\";

    platform::Win32Value<std::uint32_t> GetFileAttributes(const std::string& path) override;
    platform::Win32Result SetFileAttributes(const std::string& path, std::uint32_t attributes) override;
    platform::Win32Value<std::string> GetCurrentDirectory() override;
    platform::Win32Value<std::string> GetLongPathName(const std::string& path) override;
    // Short (8.3) names of existing paths, as "C:\\PROGRA~1" -> "C:\\Program Files".
    std::map<std::string, std::string> shortNames;
    platform::Win32Value<std::string> SearchPath(const std::string& searchPath, const std::string& fileName,
                                                 std::size_t capacity) override;
    platform::Win32Result CreateDirectory(const std::string& path) override;
    platform::Win32Result CopyFile(const std::string& from, const std::string& to, bool failIfExists) override;
    platform::Win32Result DeleteFile(const std::string& path) override;
    platform::Win32Result RemoveDirectory(const std::string& path) override;
    platform::Win32Result MoveFileAtRestart(const std::string& path, const std::optional<std::string>& newName) override;
    platform::Win32Result WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) override;
    platform::Win32Result WriteNewFile(const std::string& path, const std::vector<std::uint8_t>& bytes) override;
    platform::OpenedFile OpenFileForUpdate(const std::string& path) override;
    platform::Win32Value<std::string> GetTempPath(std::size_t capacity) override;
    // The short form of a path of shortNames; any other path keeps its name.
    platform::Win32Value<std::string> GetShortPathName(const std::string& path) override;
    platform::Win32Value<std::string> GetTempFileName(const std::string& folder, const std::string& prefix) override;

    // Renames and deletions waiting for the next restart, in the order asked for: the
    // path and the new name ("" to delete).
    std::vector<std::pair<std::string, std::string>> pendingAtRestart;
    std::string tempPath = "C:\\Users\\user\\AppData\\Local\\Temp\\";
    // Used by the file objects.
    FakeFile* FindFile(const std::string& path);
    Journal& journal() { return journal_; }
    FailureSwitches& failures() { return failures_; }
    platform::Win32Value<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) override;
    platform::Win32Result AppendToFile(const std::string& path, const std::vector<std::uint8_t>& bytes) override;
    // Patterns: a folder followed by "*.*" or "*" (every entry, "." and ".." first
    // outside a drive root), or by one exact name.
    platform::StartedSearch FindFirstFile(const std::string& pattern) override;
    platform::Win32Value<std::uint64_t> GetFileSize(const std::string& path) override;
    // Reads the file's bytes with the rules of tests/fake_windows/fake_private_profile.h.
    std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                        std::size_t capacity, const std::string& path) override;

    int openSearches = 0;  // searches started and not yet closed

private:
    // Creates the file (replacing one that is there only when `mayReplace`) with `bytes`.
    platform::Win32Result WriteCreatedFile(Op operation, const std::string& path, const std::vector<std::uint8_t>& bytes,
                                           bool mayReplace);
    bool ParentExists(const std::string& normalizedPath) const;
    std::optional<FakeFile> Entry(const std::string& path) const;
    // The normalized full path: relative paths are taken from the current folder.
    std::string Key(const std::string& path) const;
    Journal& journal_;
    FailureSwitches& failures_;
    std::map<std::string, FakeFile> entries_;  // by normalized path
};

struct FakeValue {
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;  // what Windows NT stores
    std::uint32_t countGiven = 0;    // the byte count the program passed to RegSetValueExA
};

// A text's bytes followed by its terminating NUL: how every non-empty text value of the
// product's keys ends up stored on Windows NT.
std::vector<std::uint8_t> BytesWithNul(const std::string& text);

struct FakeKey {
    std::string path;  // as created
    std::map<std::string, FakeValue> values;  // by lower-case name
};

class FakeRegistry : public platform::Registry {
public:
    FakeRegistry(Journal& journal, FailureSwitches& failures) : journal_(journal), failures_(failures) {}

    // Which view the process itself sees: a 32-bit program on 64-bit Windows sees the
    // 32-bit one (WOW6432Node). When `nativeViewFollows` is set it decides instead, at
    // every call, so that the view follows the machine a test sets up before its run.
    bool nativeViewIs32Bit = false;
    std::function<bool()> nativeViewFollows;

    // For test checks. `view` is Force64 or Force32 (Native is the process's own view).
    bool KeyExists(platform::RegistryRoot root, const std::string& path, platform::RegistryView view) const;
    std::optional<FakeValue> Value(platform::RegistryRoot root, const std::string& path,
                                   const std::string& name, platform::RegistryView view) const;
    std::vector<std::string> ValueNames(platform::RegistryRoot root, const std::string& path,
                                        platform::RegistryView view) const;
    std::size_t KeyCount() const { return keys_.size(); }
    // Every key as "64|HKLM|path" or "32|HKLM|path", lower case, sorted.
    std::vector<std::string> AllKeys() const;
    // Set-up helpers.
    void AddKey(platform::RegistryRoot root, const std::string& path, platform::RegistryView view);
    void AddStringValue(platform::RegistryRoot root, const std::string& path, const std::string& name,
                        const std::string& value, platform::RegistryView view);
    void AddDwordValue(platform::RegistryRoot root, const std::string& path, const std::string& name,
                       std::uint32_t value, platform::RegistryView view);

    platform::OpenedKey OpenKey(platform::RegistryRoot root, const std::string& path,
                                platform::RegistryAccess access, platform::RegistryView view) override;
    platform::OpenedKey CreateKey(platform::RegistryRoot root, const std::string& path,
                                  platform::RegistryView view) override;
    platform::Win32Result DeleteKey(platform::RegistryRoot root, const std::string& path,
                                    platform::RegistryView view) override;

    // Used by the key objects.
    FakeKey* Find(const std::string& fullKey);
    // Names of the direct subkeys, as created, in the order of their normalized names.
    std::vector<std::string> SubkeyNames(const std::string& fullKey) const;
    Journal& journal() { return journal_; }
    FailureSwitches& failures() { return failures_; }

private:
    std::string FullKey(platform::RegistryRoot root, const std::string& path, platform::RegistryView view) const;
    Journal& journal_;
    FailureSwitches& failures_;
    std::map<std::string, FakeKey> keys_;  // by "view|root|normalized path"
};

class FakeSystemInfo : public platform::SystemInfo {
public:
    FakeSystemInfo(Journal& journal, FailureSwitches& failures) : journal_(journal), failures_(failures) {}

    platform::OsVersion version{10, 0};
    bool hasIsWow64Process = true;
    bool isWow64 = true;
    // The machine IsWow64Process2 reports; kMachineUnknown: Windows older than 10 1709,
    // whose kernel32 lacks the call.
    std::uint16_t nativeMachine = platform::kMachineUnknown;
    std::uint32_t lcid = 0x409;
    platform::LocalTime localTime{2026, 12, 8, 9, 5, 7};
    std::string systemDirectory = "C:\\Windows\\system32";
    std::string windowsDirectory = "C:\\Windows";
    std::vector<platform::LeadByteRange> leadByteRanges;  // a single-byte code page unless a test sets some
    std::string moduleFileName = "C:\\Medium\\Setup.exe";
    std::uint32_t processId = 4242;
    std::vector<std::string> arguments;
    std::map<std::uint32_t, std::string> systemMessages = {
        {2, "The system cannot find the file specified.\r\n"},
        {3, "The system cannot find the path specified.\r\n"},
        {5, "Access is denied.\r\n"},
        {13, "The data is invalid.\r\n"},
        {161, "The specified path is invalid.\r\n"},
        {1722, "The RPC server is unavailable.\r\n"}};
    std::optional<std::uint32_t> foregroundLockTimeout;  // set by the program
    int isWow64ProcessCalls = 0;

    platform::Win32Value<platform::OsVersion> GetVersionEx() override;
    // The machine is 64-bit Windows to a 32-bit program: its probe (IsWow64Process,
    // asked from Windows XP on) says so.
    bool RunsThirtyTwoBitProgramsUnderWow64() const {
        return hasIsWow64Process && isWow64 && (version.major > 5 || (version.major == 5 && version.minor >= 1));
    }

    bool HasIsWow64Process() override { return hasIsWow64Process; }
    platform::Win32Value<bool> IsWow64Process() override;
    platform::Win32Value<platform::ProcessMachines> IsWow64Process2() override;
    std::uint32_t GetUserDefaultLcid() override { return lcid; }
    platform::LocalTime GetLocalTime() override { return localTime; }
    platform::Win32Value<std::string> GetSystemDirectory(std::size_t capacity) override;
    platform::Win32Value<std::string> GetWindowsDirectory(std::size_t capacity) override;
    platform::Win32Value<std::vector<platform::LeadByteRange>> GetAnsiLeadByteRanges() override;
    std::uint32_t GetCurrentProcessId() override { return processId; }
    platform::Win32Value<std::string> GetModuleFileName(std::size_t capacity) override;
    std::vector<std::string> GetCommandLineArguments() override { return arguments; }
    std::string FormatSystemMessage(std::uint32_t error) override;
    platform::Win32Result SetForegroundLockTimeout(std::uint32_t milliseconds) override;
    platform::Win32Value<platform::ServiceState> QueryServiceState(const std::string& name) override;
    // A Western machine: Windows-1252 as the ANSI page, 850 as the OEM page. Bytes below
    // 0x80 are the same in both; of the others only these have an OEM form.
    std::map<std::uint8_t, std::uint8_t> oemBytes = {{0xE9, 0x82}, {0xFC, 0x81}, {0xC9, 0x90}};  // é ü É
    platform::Win32Value<std::string> AnsiToOem(const std::string& text) override;
    // The services the service control manager knows; the spooler runs by default.
    std::map<std::string, platform::ServiceState> services = {
        {"Spooler", {platform::kServiceRunning, 2}}};  // SERVICE_AUTO_START

private:
    Journal& journal_;
    FailureSwitches& failures_;
};

struct ShownBox {
    std::string text;
    std::string caption;  // the program title for application boxes
    platform::MessageBoxButtons buttons = platform::MessageBoxButtons::Ok;
    bool applicationBox = false;
};

// The uninstaller's string table, for a machine that runs the uninstaller.
std::map<std::uint32_t, std::string> UninstallerStrings();

class FakeUserInterface : public platform::UserInterface {
public:
    // Application boxes take their caption from the program's path, as the framework does.
    FakeUserInterface(Journal& journal, const FakeSystemInfo& system);

    std::map<std::uint32_t, std::string> strings;  // the string table; the installer's by default
    std::vector<ShownBox> shown;
    // Answers given in turn; when none is left an OK box answers Ok and a Yes/No box Yes.
    std::deque<platform::MessageBoxAnswer> answers;

    platform::MessageBoxAnswer MessageBox(const std::string& text, const std::string& caption,
                                          platform::MessageBoxButtons buttons) override;
    platform::MessageBoxAnswer ApplicationMessageBox(const std::string& text) override;
    std::string LoadString(std::uint32_t id, std::size_t capacity) override;
    platform::Win32Value<bool> IsWindowStationVisible() override;
    bool windowStationVisible = true;  // false: a service's or a SYSTEM session's station
    std::uint32_t windowStationError = 0;  // not 0: the station's flags cannot be read

private:
    Journal& journal_;
    const FakeSystemInfo& system_;
};

class FakeShell : public platform::Shell {
public:
    FakeShell(Journal& journal, FailureSwitches& failures, FakeFileSystem& files)
        : journal_(journal), failures_(failures), files_(files) {}

    std::map<platform::SpecialFolder, std::string> specialFolders = {
        {platform::SpecialFolder::ProgramFiles, "C:\\Program Files"},
        {platform::SpecialFolder::CommonPrograms, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"},
        {platform::SpecialFolder::UserPrograms, "C:\\Users\\user\\Start Menu\\Programs"}};
    std::vector<std::string> openedDocuments;
    int comInitCount = 0;          // CoInitialize calls not yet balanced
    bool comAlreadyInitialised = false;

    std::optional<std::string> GetSpecialFolderPath(platform::SpecialFolder folder, bool create) override;
    platform::Win32Result OpenDocument(const std::string& path) override;
    platform::HResult CoInitialize() override;
    void CoUninitialize() override;
    platform::ShellLinkResult CreateShellLink() override;
    platform::Win32Value<std::wstring> AnsiToWide(const std::string& text, std::size_t capacity) override;

    // Links are saved as files whose content reads "target|arguments|description".
    Journal& journal() { return journal_; }
    FailureSwitches& failures() { return failures_; }
    FakeFileSystem& files() { return files_; }

private:
    Journal& journal_;
    FailureSwitches& failures_;
    FakeFileSystem& files_;
};

struct StartedCommand {
    std::string commandLine;
    platform::ProcessStart start;
    bool mainThreadIdle = false;
    bool resumed = false;
    std::vector<std::uint32_t> waits;  // the time-outs it was waited for with, in order
};

class FakeProcesses : public platform::Processes {
public:
    FakeProcesses(Journal& journal, FailureSwitches& failures) : journal_(journal), failures_(failures) {}
    std::vector<StartedCommand> started;
    std::uint32_t waitResult = platform::kWaitObject0;  // what every wait answers
    std::uint32_t exitCode = 0;
    int terminated = 0;
    bool ownThreadTimeCritical = false;
    bool ownProcessHighPriority = false;

    platform::StartedProcess CreateProcess(const std::string& commandLine, const platform::ProcessStart& start) override;
    platform::Win32Result SetOwnThreadTimeCritical() override;
    platform::Win32Result SetOwnProcessHighPriority() override;
    platform::CreatedMutex CreateNamedMutex(const std::string& name) override;
    // Names of the mutexes open now, with how many handles each has; other programs'
    // are added by the tests.
    std::map<std::string, int> openMutexes;
    Journal& journal() { return journal_; }
    FailureSwitches& failures() { return failures_; }

private:
    Journal& journal_;
    FailureSwitches& failures_;
};

// The whole fake machine.
class FakeWindows {
public:
    FakeWindows();

    Journal journal;
    FailureSwitches failures;
    FakeFileSystem files{journal, failures};
    FakeRegistry registry{journal, failures};
    FakeSystemInfo system{journal, failures};
    FakeUserInterface ui{journal, system};
    FakeShell shell{journal, failures, files};
    FakeProcesses processes{journal, failures};
    FakeSpooler spooler{journal, failures};

    platform::Platform& platform() { return platform_; }

private:
    platform::Platform platform_;
};

}  // namespace fake
