#include "tests/fake_windows/failure_switches.h"

#include <ostream>

#include "common/text/text.h"

namespace fake {

const char* Name(Op operation) {
    switch (operation) {
        case Op::GetFileAttributes: return "GetFileAttributes";
        case Op::SetFileAttributes: return "SetFileAttributes";
        case Op::GetCurrentDirectory: return "GetCurrentDirectory";
        case Op::SearchPath: return "SearchPath";
        case Op::CreateDirectory: return "CreateDirectory";
        case Op::CopyFile: return "CopyFile";
        case Op::DeleteFile: return "DeleteFile";
        case Op::ReadWholeFile: return "ReadWholeFile";
        case Op::AppendToFile: return "AppendToFile";
        case Op::FindFirstFile: return "FindFirstFile";
        case Op::FindNextFile: return "FindNextFile";
        case Op::GetFileSize: return "GetFileSize";
        case Op::RemoveDirectory: return "RemoveDirectory";
        case Op::MoveFileAtRestart: return "MoveFileAtRestart";
        case Op::WriteWholeFile: return "WriteWholeFile";
        case Op::WriteNewFile: return "WriteNewFile";
        case Op::OpenFileForUpdate: return "OpenFileForUpdate";
        case Op::MapFile: return "MapFile";
        case Op::SetEndOfFile: return "SetEndOfFile";
        case Op::GetTempPath: return "GetTempPath";
        case Op::GetTempFileName: return "GetTempFileName";
        case Op::GetShortPathName: return "GetShortPathName";
        case Op::GetPrivateProfileString: return "GetPrivateProfileString";
        case Op::OpenKey: return "OpenKey";
        case Op::CreateKey: return "CreateKey";
        case Op::DeleteKey: return "DeleteKey";
        case Op::SetValue: return "SetValue";
        case Op::QueryValue: return "QueryValue";
        case Op::DeleteValue: return "DeleteValue";
        case Op::EnumKey: return "EnumKey";
        case Op::GetVersionEx: return "GetVersionEx";
        case Op::IsWow64Process: return "IsWow64Process";
        case Op::IsWow64Process2: return "IsWow64Process2";
        case Op::EnumPorts: return "EnumPorts";
        case Op::QueryServiceState: return "QueryServiceState";
        case Op::AnsiToOem: return "AnsiToOem";
        case Op::CreateMutex: return "CreateMutex";
        case Op::GetSystemDirectory: return "GetSystemDirectory";
        case Op::GetWindowsDirectory: return "GetWindowsDirectory";
        case Op::GetModuleFileName: return "GetModuleFileName";
        case Op::GetCPInfo: return "GetCPInfo";
        case Op::SetForegroundLockTimeout: return "SetForegroundLockTimeout";
        case Op::GetSpecialFolderPath: return "GetSpecialFolderPath";
        case Op::OpenDocument: return "OpenDocument";
        case Op::CoInitialize: return "CoInitialize";
        case Op::CreateShellLink: return "CreateShellLink";
        case Op::QueryPersistFile: return "QueryPersistFile";
        case Op::SaveLink: return "SaveLink";
        case Op::CreateProcess: return "CreateProcess";
        case Op::SetThreadPriority: return "SetThreadPriority";
        case Op::ResumeThread: return "ResumeThread";
        case Op::SetPriorityClass: return "SetPriorityClass";
        case Op::EnumMonitors: return "EnumMonitors";
        case Op::AddMonitor: return "AddMonitor";
        case Op::AddPort: return "AddPort";
        case Op::EnumPrinterDrivers: return "EnumPrinterDrivers";
        case Op::GetPrinterDriverDirectory: return "GetPrinterDriverDirectory";
        case Op::AddPrinterDriver: return "AddPrinterDriver";
        case Op::AddPrinter: return "AddPrinter";
        case Op::OpenPrinter: return "OpenPrinter";
        case Op::GetPrinter2: return "GetPrinter2";
        case Op::GetPrinter8: return "GetPrinter8";
        case Op::SetPrinter2: return "SetPrinter2";
        case Op::SetPrinter8: return "SetPrinter8";
        case Op::DocumentProperties: return "DocumentProperties";
        case Op::DeletePrinter: return "DeletePrinter";
        case Op::DeletePrinterDriver: return "DeletePrinterDriver";
        case Op::DeletePrinterDriverEx: return "DeletePrinterDriverEx";
        case Op::DeletePort: return "DeletePort";
        case Op::DeleteMonitor: return "DeleteMonitor";
    }
    return "?";
}

std::ostream& operator<<(std::ostream& out, Op operation) { return out << Name(operation); }

std::string Normalize(const std::string& path) {
    std::string result;
    result.reserve(path.size());
    for (char c : path) result += c == '/' ? '\\' : text::ToLowerAscii(c);
    return result;
}

void FailureSwitches::Fail(Op operation, std::uint32_t error, const std::string& subjectPart, int times) {
    switches_.push_back({operation, error, Normalize(subjectPart), times});
}

std::optional<std::uint32_t> FailureSwitches::Check(Op operation, const std::string& subject) {
    const std::string normalized = Normalize(subject);
    for (auto it = switches_.begin(); it != switches_.end(); ++it) {
        if (it->operation != operation) continue;
        if (!it->subjectPart.empty() && normalized.find(it->subjectPart) == std::string::npos) continue;
        const std::uint32_t error = it->error;
        if (it->remaining > 0 && --it->remaining == 0) switches_.erase(it);
        return error;
    }
    return std::nullopt;
}

}  // namespace fake
