// Makes a fake operation fail with a chosen Win32 error, for every call or only for
// calls whose subject (a path, a key, a command line) contains a given text.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace fake {

// Every operation of the fake machine that can be made to fail. An enum rather than
// names, so that a misspelt switch does not compile instead of silently checking nothing.
enum class Op {
    // files
    GetFileAttributes, SetFileAttributes, GetCurrentDirectory, SearchPath, CreateDirectory, CopyFile, DeleteFile,
    ReadWholeFile, AppendToFile, FindFirstFile, FindNextFile, GetFileSize, RemoveDirectory, MoveFileAtRestart,
    WriteWholeFile, WriteNewFile, OpenFileForUpdate, MapFile, SetEndOfFile, GetTempPath, GetTempFileName, GetShortPathName,
    GetPrivateProfileString,  // the file reads as if it could not be opened: empty
    // registry
    OpenKey, CreateKey, DeleteKey, SetValue, QueryValue, DeleteValue, EnumKey,
    // system
    GetVersionEx, IsWow64Process, IsWow64Process2, GetSystemDirectory, GetWindowsDirectory, GetModuleFileName, GetCPInfo,
    SetForegroundLockTimeout, QueryServiceState, AnsiToOem,
    // shell
    GetSpecialFolderPath, OpenDocument, CoInitialize, CreateShellLink, QueryPersistFile, SaveLink,
    // processes
    CreateProcess, SetThreadPriority, ResumeThread, SetPriorityClass, CreateMutex,
    // spooler
    EnumMonitors, EnumPorts, AddMonitor, AddPort, EnumPrinterDrivers, GetPrinterDriverDirectory, AddPrinterDriver,
    AddPrinter, OpenPrinter, GetPrinter2, GetPrinter8, SetPrinter2, SetPrinter8, DocumentProperties,
    DeletePrinter, DeletePrinterDriver, DeletePrinterDriverEx, DeletePort, DeleteMonitor,
};

// The operation's name, as the tests print it.
const char* Name(Op operation);
std::ostream& operator<<(std::ostream& out, Op operation);

class FailureSwitches {
public:
    // `times` = 0: every matching call fails; otherwise only the next `times` ones.
    void Fail(Op operation, std::uint32_t error, const std::string& subjectPart = "", int times = 0);
    void Clear() { switches_.clear(); }
    // The error the call must fail with, if a switch matches it.
    std::optional<std::uint32_t> Check(Op operation, const std::string& subject = "");

private:
    struct Switch {
        Op operation;
        std::uint32_t error;
        std::string subjectPart;  // lower case
        int remaining;            // 0: unlimited
    };
    std::vector<Switch> switches_;
};

// Lower-case ASCII with forward slashes turned into backslashes: how the fakes compare
// paths and key names.
std::string Normalize(const std::string& path);

}  // namespace fake
