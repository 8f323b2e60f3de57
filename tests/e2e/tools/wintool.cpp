// wintool: a small console helper that the end-to-end scripts run under Wine to look at
// the Windows side of a machine, independent of the product's own code.
//
//   wintool run <program> [args...]   start the program, wait, print "exit=<code>"
//   wintool regkey <64|32> <HKLM path> does the key exist in that registry view?
//                                      prints one line per value: name|type|data|bytes
//   wintool mkkey <64|32> <HKLM path>  create the key (and its missing parents)
//   wintool rmkey <64|32> <HKLM path>  delete the key (one without subkeys)
//   wintool printer <name>             the printer's port, driver, print processor,
//                                      attributes and global default form
//   wintool driver <environment> <name>  the driver's files and the driver directory
//   wintool monitors | ports           the spooler's port monitors or ports, one a line
//   wintool delport <name>             DeletePortA: the port's monitor removes it
//   wintool delmonitor <name>          DeleteMonitorA in the default environment
//   wintool delprinter <name>          DeletePrinter: the printer, as if deleted by hand
//   wintool shortcut <file.lnk>        the shell link's target, arguments and description
//   wintool snapshot                   everything the product can touch, as sorted lines
//                                      (see Snapshot below), for diffs of two states
//   wintool hold <file> <seconds>      keeps the file open (no sharing), then ends
//   wintool lock <name> <seconds>      holds a named mutex, then ends; both print "held"
//   wintool window | press | text | progress | hold | release | close ...
//                                      drive another program's windows (window_driver.h)
//
// Exit status: 0 done (regkey: the key exists), 1 the key does not exist or could not
// be created or deleted (delport, delmonitor: the spooler refused, its error on stderr),
// 2 wrong command line or the program could not be started.
// A Windows exit status reaches Linux cut to 8 bits; "run" prints all 32 of them.

#include "tests/e2e/tools/wintool_windows.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/tools/window_driver.h"

namespace {

using wintool::OwnedHandle;

constexpr int kExitDone = 0;
constexpr int kExitNotThere = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: wintool run <program> [args...]\n"
    "       wintool runhidden <ms> <program> [args...]\n"
    "       wintool regkey <64|32> <HKLM path>\n"
    "       wintool mkkey <64|32> <HKLM path>\n"
    "       wintool rmkey <64|32> <HKLM path>\n"
    "       wintool printer <name>\n"
    "       wintool driver <environment> <name>\n"
    "       wintool monitors | ports\n"
    "       wintool delport <name>\n"
    "       wintool delmonitor <name>\n"
    "       wintool delprinter <name>\n"
    "       wintool shortcut <file.lnk>\n"
    "       wintool snapshot\n"
    "       wintool window <caption> [ms]\n"
    "       wintool press <caption> <id> | text <caption> <id>\n"
    "       wintool progress <caption> <id> <min> [ms]\n"
    "       wintool hold <caption> | release <caption> | close <caption>\n";

// Closes a registry key when it goes out of scope.
class OwnedKey {
public:
    OwnedKey() = default;
    ~OwnedKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    OwnedKey(const OwnedKey&) = delete;
    OwnedKey& operator=(const OwnedKey&) = delete;
    HKEY get() const { return key_; }
    HKEY* put() { return &key_; }

private:
    HKEY key_ = nullptr;
};

// Quotes one argument so that the usual command-line splitting gives it back unchanged:
// backslashes count only in front of a double quote, where they are doubled.
std::string QuoteArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') backslashes = backslashes * 2 + 1;
        quoted.append(backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

// A window station of its own, made invisible as every station but WinSta0 is, with one
// desktop: what a service or a deployment tool's SYSTEM session gives its programs.
// Gives "station\desktop" for STARTUPINFO, or nothing.
std::string HiddenDesktop() {
    const char* station = "wintool-hidden";
    HWINSTA hidden = CreateWindowStationA(station, 0, WINSTA_ALL_ACCESS, nullptr);
    if (hidden == nullptr) return {};
    // A desktop is made in the calling process's own station: switch there for the call.
    HWINSTA own = GetProcessWindowStation();
    if (!SetProcessWindowStation(hidden)) return {};
    HDESK desktop = CreateDesktopA("hidden", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    SetProcessWindowStation(own);
    // Both stay open for the program's lifetime; the process's end closes them.
    return desktop != nullptr ? std::string(station) + "\\hidden" : std::string();
}

// Starts the program, on `desktop` when one is given, and prints "exit=<status>", or
// "exit=timeout" (and ends it) when it has not ended within `milliseconds`.
int RunProgram(const std::vector<std::string>& commandWords, const std::string& desktop = "",
               DWORD milliseconds = INFINITE) {
    std::string commandLine;
    for (const std::string& word : commandWords) {
        if (!commandLine.empty()) commandLine += ' ';
        commandLine += QuoteArgument(word);
    }
    // CreateProcessA may write into the command line, so it gets a writable copy.
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    std::vector<char> desktopName(desktop.begin(), desktop.end());
    desktopName.push_back('\0');
    if (!desktop.empty()) startup.lpDesktop = desktopName.data();
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        std::fprintf(stderr, "wintool: cannot start %s (error %lu)\n", commandLine.c_str(),
                     GetLastError());
        return kExitUsage;
    }
    const OwnedHandle process(info.hProcess);
    const OwnedHandle thread(info.hThread);

    if (WaitForSingleObject(process.get(), milliseconds) == WAIT_TIMEOUT) {
        TerminateProcess(process.get(), 1);
        std::printf("exit=timeout\n");
        return kExitDone;
    }
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process.get(), &exitCode)) {
        std::fprintf(stderr, "wintool: no exit code (error %lu)\n", GetLastError());
        return kExitUsage;
    }
    std::printf("exit=%lu\n", exitCode);
    return kExitDone;
}

// "64" and "32" name the registry views; anything else is a usage error.
bool ParseView(std::string_view text, REGSAM& view) {
    if (text == "64") {
        view = KEY_WOW64_64KEY;
        return true;
    }
    if (text == "32") {
        view = KEY_WOW64_32KEY;
        return true;
    }
    return false;
}

const char* TypeName(DWORD type) {
    switch (type) {
        case REG_NONE: return "REG_NONE";
        case REG_SZ: return "REG_SZ";
        case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
        case REG_BINARY: return "REG_BINARY";
        case REG_DWORD: return "REG_DWORD";
        case REG_DWORD_BIG_ENDIAN: return "REG_DWORD_BIG_ENDIAN";
        case REG_LINK: return "REG_LINK";
        case REG_MULTI_SZ: return "REG_MULTI_SZ";
        case REG_QWORD: return "REG_QWORD";
        default: return "REG_UNKNOWN";
    }
}

std::string HexBytes(const std::vector<BYTE>& data, DWORD size) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (DWORD i = 0; i < size; ++i) {
        hex += kDigits[data[i] >> 4];
        hex += kDigits[data[i] & 0x0f];
    }
    return hex;
}

// Strings are shown as text up to their first NUL (the byte count tells whether a NUL
// was stored), a DWORD as its decimal number, everything else as hex.
std::string DescribeData(DWORD type, const std::vector<BYTE>& data, DWORD size) {
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::string text(reinterpret_cast<const char*>(data.data()), size);
        const std::size_t nul = text.find('\0');
        if (nul != std::string::npos) text.resize(nul);
        return text;
    }
    if (type == REG_DWORD && size == sizeof(DWORD)) {
        const DWORD number = static_cast<DWORD>(data[0]) | (static_cast<DWORD>(data[1]) << 8) |
                             (static_cast<DWORD>(data[2]) << 16) |
                             (static_cast<DWORD>(data[3]) << 24);
        return std::to_string(number);
    }
    return HexBytes(data, size);
}

// One value of a key as RegEnumValueA gives it: data holds `size` bytes.
struct RegistryValue {
    std::string name;  // "(default)" for the unnamed value
    DWORD type = 0;
    std::vector<BYTE> data;
    DWORD size = 0;
};

// Calls `take` with every value of the key; false (and a message) when they cannot be read.
bool ForEachValue(HKEY key, const std::function<void(const RegistryValue&)>& take) {
    DWORD nameCapacity = 0;
    DWORD dataCapacity = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &nameCapacity,
                         &dataCapacity, nullptr, nullptr) != ERROR_SUCCESS) {
        std::fprintf(stderr, "wintool: cannot read the key's sizes\n");
        return false;
    }
    std::vector<char> name(nameCapacity + 1);
    RegistryValue value;
    value.data.resize(dataCapacity + 1);
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        value.size = static_cast<DWORD>(value.data.size());
        const LONG status = RegEnumValueA(key, index, name.data(), &nameSize, nullptr, &value.type,
                                          value.data.data(), &value.size);
        if (status == ERROR_NO_MORE_ITEMS) return true;
        if (status != ERROR_SUCCESS) {
            std::fprintf(stderr, "wintool: cannot read value %lu (error %ld)\n", index, status);
            return false;
        }
        value.name = nameSize == 0 ? "(default)" : std::string(name.data(), nameSize);
        take(value);
    }
}

int PrintKey(REGSAM view, const std::string& path) {
    OwnedKey key;
    const LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, key.put());
    if (opened != ERROR_SUCCESS) return kExitNotThere;
    const bool read = ForEachValue(key.get(), [](const RegistryValue& value) {
        std::printf("%s|%s|%s|%lu\n", value.name.c_str(), TypeName(value.type),
                    DescribeData(value.type, value.data, value.size).c_str(), value.size);
    });
    return read ? kExitDone : kExitUsage;
}

int MakeKey(REGSAM view, const std::string& path) {
    OwnedKey key;
    const LONG created = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr,
                                         REG_OPTION_NON_VOLATILE, KEY_WRITE | view, nullptr,
                                         key.put(), nullptr);
    if (created != ERROR_SUCCESS) {
        std::fprintf(stderr, "wintool: cannot create HKLM\\%s (error %ld)\n", path.c_str(), created);
        return kExitNotThere;
    }
    return kExitDone;
}

int RemoveKey(REGSAM view, const std::string& path) {
    const LONG deleted = RegDeleteKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), view, 0);
    return deleted == ERROR_SUCCESS ? kExitDone : kExitNotThere;
}

// ---- the spooler -------------------------------------------------------------------

class OwnedPrinter {
public:
    OwnedPrinter() = default;
    ~OwnedPrinter() {
        if (printer_ != nullptr) ClosePrinter(printer_);
    }
    OwnedPrinter(const OwnedPrinter&) = delete;
    OwnedPrinter& operator=(const OwnedPrinter&) = delete;
    HANDLE get() const { return printer_; }
    HANDLE* put() { return &printer_; }

private:
    HANDLE printer_ = nullptr;
};

const char* Shown(const char* text) { return text != nullptr ? text : ""; }

// GetPrinterA at `level` into a buffer of the size asked for; empty when it fails.
std::vector<BYTE> FetchPrinter(HANDLE printer, DWORD level) {
    DWORD needed = 0;
    GetPrinterA(printer, level, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    if (needed == 0 || !GetPrinterA(printer, level, buffer.data(), needed, &needed)) buffer.clear();
    return buffer;
}

int PrintPrinter(const std::string& name) {
    OwnedPrinter printer;
    PRINTER_DEFAULTSA defaults{};
    defaults.DesiredAccess = PRINTER_ACCESS_USE;
    if (!OpenPrinterA(const_cast<char*>(name.c_str()), printer.put(), &defaults)) return kExitNotThere;
    const std::vector<BYTE> record = FetchPrinter(printer.get(), 2);
    if (record.empty()) {
        std::fprintf(stderr, "wintool: GetPrinter level 2 failed (error %lu)\n", GetLastError());
        return kExitUsage;
    }
    const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(record.data());
    std::printf("port=%s\ndriver=%s\nprocessor=%s\ndatatype=%s\nattributes=0x%lx\n", Shown(info->pPortName),
                Shown(info->pDriverName), Shown(info->pPrintProcessor), Shown(info->pDatatype), info->Attributes);
    const std::vector<BYTE> global = FetchPrinter(printer.get(), 8);
    const auto* defaultsRecord = reinterpret_cast<const PRINTER_INFO_8A*>(global.data());
    if (global.empty() || defaultsRecord->pDevMode == nullptr) {
        std::printf("form=(none)\n");
    } else {
        const DEVMODEA* mode = defaultsRecord->pDevMode;
        std::printf("form=%.32s\npaper=%d\n", reinterpret_cast<const char*>(mode->dmFormName), mode->dmPaperSize);
    }
    return kExitDone;
}

// The records of one of the spooler's Enum...A calls, asked for their size first.
struct SpoolerList {
    std::vector<BYTE> buffer;
    DWORD count = 0;
    DWORD error = ERROR_SUCCESS;  // why the list could not be had

    template <class Record>
    const Record& at(DWORD index) const {
        return reinterpret_cast<const Record*>(buffer.data())[index];
    }
};

// `enumerate(buffer, bytes, needed, returned)` calls one Enum...A function.
template <class Enumerate>
SpoolerList ListOf(Enumerate enumerate) {
    SpoolerList list;
    DWORD needed = 0;
    enumerate(nullptr, 0, &needed, &list.count);
    list.buffer.resize(needed + 1);
    if (!enumerate(list.buffer.data(), needed, &needed, &list.count)) {
        list.error = GetLastError();
        list.count = 0;
    }
    return list;
}

SpoolerList Monitors(DWORD level) {
    return ListOf([level](BYTE* buffer, DWORD bytes, DWORD* needed, DWORD* returned) {
        return EnumMonitorsA(nullptr, level, buffer, bytes, needed, returned);
    });
}
SpoolerList Ports(DWORD level) {
    return ListOf([level](BYTE* buffer, DWORD bytes, DWORD* needed, DWORD* returned) {
        return EnumPortsA(nullptr, level, buffer, bytes, needed, returned);
    });
}
SpoolerList Drivers(const std::string& environment) {
    return ListOf([&environment](BYTE* buffer, DWORD bytes, DWORD* needed, DWORD* returned) {
        return EnumPrinterDriversA(nullptr, const_cast<char*>(environment.c_str()), 3, buffer, bytes, needed,
                                   returned);
    });
}
SpoolerList Printers() {
    return ListOf([](BYTE* buffer, DWORD bytes, DWORD* needed, DWORD* returned) {
        return EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer, bytes, needed, returned);
    });
}

int PrintDriver(const std::string& environment, const std::string& name) {
    const SpoolerList drivers = Drivers(environment);
    for (DWORD i = 0; i < drivers.count; ++i) {
        const auto& driver = drivers.at<DRIVER_INFO_3A>(i);
        if (name != Shown(driver.pName)) continue;
        std::printf("version=%lu\ndriver=%s\ndata=%s\nconfig=%s\nhelp=%s\n", driver.cVersion,
                    Shown(driver.pDriverPath), Shown(driver.pDataFile), Shown(driver.pConfigFile),
                    Shown(driver.pHelpFile));
        char directory[1024] = {};
        DWORD needed = 0;
        if (GetPrinterDriverDirectoryA(nullptr, const_cast<char*>(environment.c_str()), 1,
                                       reinterpret_cast<BYTE*>(directory), sizeof(directory) - 1, &needed)) {
            std::printf("directory=%s\n", directory);
        }
        return kExitDone;
    }
    return kExitNotThere;
}

// A level-1 list of monitors or ports: the names, one a line.
int PrintNames(const SpoolerList& list) {
    if (list.error != ERROR_SUCCESS) {
        std::fprintf(stderr, "wintool: the spooler refused the list (error %lu)\n", list.error);
        return kExitUsage;
    }
    // MONITOR_INFO_1A and PORT_INFO_1A are both one name pointer.
    for (DWORD i = 0; i < list.count; ++i) std::printf("%s\n", Shown(list.at<MONITOR_INFO_1A>(i).pName));
    return kExitDone;
}

// DeletePortA or DeleteMonitorA: done, or the spooler's error on stderr.
int Removed(BOOL deleted, const char* what, const std::string& name) {
    if (deleted) return kExitDone;
    std::fprintf(stderr, "wintool: %s %s not deleted (error %lu)\n", what, name.c_str(), GetLastError());
    return kExitNotThere;
}

// ---- shell links ------------------------------------------------------------------

// Releases a COM interface when it goes out of scope.
template <class Interface>
class OwnedInterface {
public:
    OwnedInterface() = default;
    ~OwnedInterface() {
        if (pointer_ != nullptr) pointer_->Release();
    }
    OwnedInterface(const OwnedInterface&) = delete;
    OwnedInterface& operator=(const OwnedInterface&) = delete;
    Interface* operator->() const { return pointer_; }
    void** put() { return reinterpret_cast<void**>(&pointer_); }

private:
    Interface* pointer_ = nullptr;
};

// Loads the link through the shell's own link object and prints what it holds:
// target=..., arguments=..., description=...
int PrintShortcut(const std::string& path) {
    if (FAILED(CoInitialize(nullptr))) return kExitUsage;
    int status = kExitUsage;
    {
        OwnedInterface<IShellLinkA> link;
        OwnedInterface<IPersistFile> file;
        wchar_t widePath[MAX_PATH] = {};
        char target[MAX_PATH] = {};
        char arguments[1024] = {};
        char description[1024] = {};
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            status = kExitNotThere;
        } else if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                              link.put())) &&
                   SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.put())) &&
                   MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH) != 0 &&
                   SUCCEEDED(file->Load(widePath, STGM_READ)) &&
                   SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
                   SUCCEEDED(link->GetArguments(arguments, sizeof(arguments))) &&
                   SUCCEEDED(link->GetDescription(description, sizeof(description)))) {
            std::printf("target=%s\narguments=%s\ndescription=%s\n", target, arguments, description);
            status = kExitDone;
        } else {
            std::fprintf(stderr, "wintool: cannot read the shortcut %s\n", path.c_str());
        }
    }
    CoUninitialize();
    return status;
}

// ---- the snapshot ------------------------------------------------------------------
//
// Everything the installer and the uninstaller can touch, one fact a line and no time
// stamps, so that two snapshots differ exactly where the machine changed:
//
//   registry <64|32> HKLM\<key>
//   registry <64|32> HKLM\<key> | <value name> | <type> | <stored bytes> | <data>
//   monitor <name> | <environment> | <DLL>
//   port <name> | <monitor> | <description>
//   driver <environment> | <name> | <version> | <driver> | <data file> | <configuration>
//          | <help> | <dependent files> | <monitor> | <datatype>
//   printer <name> | <port> | <driver> | <processor> | <datatype> | <attributes> | <form>
//   file <folder>\                      a folder, with its trailing backslash
//   file <path> | <bytes>
//   pending <path> -> <new path>        a move at the next restart ("(delete)": none)
//   wininit <section header> <line>     a line of WinInit.Ini's [Rename] section
//   <kind> (list refused, error <n>)    a spooler list that could not be had
//
// Registry keys: the product key, the edition key and the uninstall entries, recursively,
// in both registry views. Texts are shown whole, without one closing NUL; other control
// bytes as \xNN. A DWORD shows as its number, other types as hex. Spooler: every monitor,
// port and printer, and the drivers of the three environments. Files: Program Files (both),
// the common Start-menu Programs folder and the 64-bit driver directory recursively, the
// monitor DLL in system32, WinInit.Ini, and *.bat at the root of C: and in the temporary
// folders. The restart operations keep the order in which they will be performed; every
// other kind of line is sorted.

using Lines = std::vector<std::string>;

constexpr const char* kSnapshotKeys[] = {
    "SOFTWARE\\NIMBRAX Writer",
    "SOFTWARE\\Brindle Software Inc",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
};
constexpr const char* kDriverEnvironments[] = {"Windows x64", "Windows NT x86", "Windows 4.0"};

// Texts whole, one closing NUL left out, control bytes escaped so a line stays one line.
std::string SnapshotData(const RegistryValue& value) {
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ && value.type != REG_MULTI_SZ) {
        return DescribeData(value.type, value.data, value.size);
    }
    DWORD size = value.size;
    if (size > 0 && value.data[size - 1] == 0) --size;
    std::string text;
    for (DWORD i = 0; i < size; ++i) {
        const auto byte = value.data[i];
        if (byte < 0x20 || byte == 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\x%02x", byte);
            text += escaped;
        } else {
            text += static_cast<char>(byte);
        }
    }
    return text;
}

struct Snapshot {
    Lines registry;
    Lines spooler;
    Lines files;
    Lines restart;  // in the order of performance
    bool complete = true;
};

void SnapshotKey(REGSAM view, const char* viewName, const std::string& path, Snapshot& snapshot) {
    OwnedKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, key.put()) != ERROR_SUCCESS) return;
    const std::string shown = std::string("registry ") + viewName + " HKLM\\" + path;
    snapshot.registry.push_back(shown);
    const bool read = ForEachValue(key.get(), [&](const RegistryValue& value) {
        snapshot.registry.push_back(shown + " | " + value.name + " | " + TypeName(value.type) + " | " +
                                    std::to_string(value.size) + " | " + SnapshotData(value));
    });
    if (!read) snapshot.complete = false;
    Lines subkeys;
    for (DWORD index = 0;; ++index) {
        char name[256];  // a key name has at most 255 characters
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        subkeys.emplace_back(name, length);
    }
    for (const std::string& subkey : subkeys) SnapshotKey(view, viewName, path + "\\" + subkey, snapshot);
}

// A list the spooler refused is a fact of the machine too: it shows as one line.
bool Refused(const SpoolerList& list, const std::string& kind, Lines& lines) {
    if (list.error == ERROR_SUCCESS) return false;
    lines.push_back(kind + " (list refused, error " + std::to_string(list.error) + ")");
    return true;
}

void SnapshotSpooler(Lines& lines) {
    const SpoolerList monitors = Monitors(2);
    for (DWORD i = 0; !Refused(monitors, "monitor", lines) && i < monitors.count; ++i) {
        const auto& monitor = monitors.at<MONITOR_INFO_2A>(i);
        lines.push_back(std::string("monitor ") + Shown(monitor.pName) + " | " + Shown(monitor.pEnvironment) + " | " +
                        Shown(monitor.pDLLName));
    }
    const SpoolerList ports = Ports(2);
    for (DWORD i = 0; !Refused(ports, "port", lines) && i < ports.count; ++i) {
        const auto& port = ports.at<PORT_INFO_2A>(i);
        lines.push_back(std::string("port ") + Shown(port.pPortName) + " | " + Shown(port.pMonitorName) + " | " +
                        Shown(port.pDescription));
    }
    for (const char* environment : kDriverEnvironments) {
        const SpoolerList drivers = Drivers(environment);
        for (DWORD i = 0; !Refused(drivers, std::string("driver ") + environment, lines) && i < drivers.count; ++i) {
            const auto& driver = drivers.at<DRIVER_INFO_3A>(i);
            std::string dependent;
            for (const char* file = driver.pDependentFiles; file != nullptr && *file != '\0';
                 file += std::strlen(file) + 1) {
                dependent += dependent.empty() ? file : std::string(",") + file;
            }
            lines.push_back(std::string("driver ") + environment + " | " + Shown(driver.pName) + " | " +
                            std::to_string(driver.cVersion) + " | " + Shown(driver.pDriverPath) + " | " +
                            Shown(driver.pDataFile) + " | " + Shown(driver.pConfigFile) + " | " +
                            Shown(driver.pHelpFile) + " | " + dependent + " | " + Shown(driver.pMonitorName) +
                            " | " + Shown(driver.pDefaultDataType));
        }
    }
    const SpoolerList printers = Printers();
    for (DWORD i = 0; !Refused(printers, "printer", lines) && i < printers.count; ++i) {
        const auto& printer = printers.at<PRINTER_INFO_2A>(i);
        char attributes[16];
        std::snprintf(attributes, sizeof(attributes), "0x%lx", printer.Attributes);
        const std::string form = printer.pDevMode != nullptr
                                     ? std::string(reinterpret_cast<const char*>(printer.pDevMode->dmFormName),
                                                   strnlen(reinterpret_cast<const char*>(printer.pDevMode->dmFormName),
                                                           CCHFORMNAME))
                                     : std::string("(none)");
        lines.push_back(std::string("printer ") + Shown(printer.pPrinterName) + " | " + Shown(printer.pPortName) +
                        " | " + Shown(printer.pDriverName) + " | " + Shown(printer.pPrintProcessor) + " | " +
                        Shown(printer.pDatatype) + " | " + attributes + " | " + form);
    }
}

// Closes a folder search when it goes out of scope.
class OwnedSearch {
public:
    explicit OwnedSearch(HANDLE search) : search_(search) {}
    ~OwnedSearch() {
        if (search_ != INVALID_HANDLE_VALUE) FindClose(search_);
    }
    OwnedSearch(const OwnedSearch&) = delete;
    OwnedSearch& operator=(const OwnedSearch&) = delete;
    HANDLE get() const { return search_; }
    explicit operator bool() const { return search_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE search_;
};

std::string WithoutTrailingBackslash(std::string path) {
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

// The entries of `folder` matching `pattern`: files as "file <path> | <bytes>"; folders
// (with "." and "..") passed to `intoFolder`.
void SnapshotMatches(const std::string& folder, const char* pattern, Lines& lines,
                     const std::function<void(const std::string&)>& intoFolder) {
    WIN32_FIND_DATAA found{};
    const OwnedSearch search(FindFirstFileA((folder + "\\" + pattern).c_str(), &found));
    if (!search) return;
    do {
        const std::string path = folder + "\\" + found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            const unsigned long long size = (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) |
                                            found.nFileSizeLow;
            lines.push_back("file " + path + " | " + std::to_string(size));
        } else if (std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0) {
            intoFolder(path);
        }
    } while (FindNextFileA(search.get(), &found));
}

void SnapshotTree(const std::string& folder, Lines& lines) {
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return;
    lines.push_back("file " + folder + "\\");
    SnapshotMatches(folder, "*", lines, [&lines](const std::string& sub) { SnapshotTree(sub, lines); });
}

void SnapshotFilesMatching(const std::string& folder, const char* pattern, Lines& lines) {
    SnapshotMatches(folder, pattern, lines, [](const std::string&) {});
}

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return WithoutTrailingBackslash(path);
}

void SnapshotFiles(const std::string& windows, Snapshot& snapshot) {
    Lines& lines = snapshot.files;
    for (const int csidl : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86, CSIDL_COMMON_PROGRAMS}) {
        const std::string folder = ShellFolder(csidl);
        if (folder.empty()) {
            lines.push_back("file (shell folder " + std::to_string(csidl) + " unknown)");
            continue;
        }
        SnapshotTree(folder, lines);
    }
    char driverDirectory[MAX_PATH] = {};
    DWORD needed = 0;
    if (GetPrinterDriverDirectoryA(nullptr, const_cast<char*>("Windows x64"), 1, reinterpret_cast<BYTE*>(driverDirectory),
                                   sizeof(driverDirectory) - 1, &needed)) {
        SnapshotTree(WithoutTrailingBackslash(driverDirectory), lines);
    }
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    SnapshotFilesMatching(system, "nimbmon64.dll", lines);
    SnapshotFilesMatching(windows, "WinInit.Ini", lines);
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof(temp), temp);
    for (const std::string& folder : {std::string("C:"), WithoutTrailingBackslash(temp), windows + "\\temp"}) {
        SnapshotFilesMatching(folder, "*.bat", lines);
    }
}

// PendingFileRenameOperations: pairs of strings, the path and its new name (empty for a
// deletion), each in the system's "\??\" form.
void SnapshotPendingRenames(Snapshot& snapshot) {
    OwnedKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0,
                      KEY_READ | KEY_WOW64_64KEY, key.put()) != ERROR_SUCCESS) {
        return;
    }
    DWORD bytes = 0;
    if (RegQueryValueExA(key.get(), "PendingFileRenameOperations", nullptr, nullptr, nullptr, &bytes) != ERROR_SUCCESS) {
        return;
    }
    std::vector<char> data(bytes + 2, '\0');
    if (RegQueryValueExA(key.get(), "PendingFileRenameOperations", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(data.data()), &bytes) != ERROR_SUCCESS) {
        snapshot.complete = false;
        return;
    }
    // An empty new name is an empty string, so the strings run to the value's end; the NUL
    // that closes the list reads as one more, unpaired, empty string.
    Lines strings;
    for (std::size_t at = 0; at < bytes; at += strings.back().size() + 1) strings.emplace_back(data.data() + at);
    for (std::size_t i = 0; i + 1 < strings.size(); i += 2) {
        snapshot.restart.push_back("pending " + strings[i] + " -> " +
                                   (strings[i + 1].empty() ? std::string("(delete)") : strings[i + 1]));
    }
}

// The lines of every [Rename] section of WinInit.Ini, whatever the letter case of its
// header (which the header shows), in file order.
void SnapshotWinInit(const std::string& windows, Snapshot& snapshot) {
    std::FILE* file = std::fopen((windows + "\\WinInit.Ini").c_str(), "rb");
    if (file == nullptr) return;
    std::string text;
    char chunk[4096];
    for (std::size_t read; (read = std::fread(chunk, 1, sizeof(chunk), file)) > 0;) text.append(chunk, read);
    std::fclose(file);
    std::string header;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            header = line;
        } else if (!line.empty() && lstrcmpiA(header.c_str(), "[Rename]") == 0) {
            snapshot.restart.push_back("wininit " + header + " " + line);
        }
    }
}

void PrintSorted(Lines lines) {
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    for (const std::string& line : lines) std::printf("%s\n", line.c_str());
}

// Opens the printer with full access and deletes it; it goes when the handle closes.
int RemovePrinter(const std::string& name) {
    PRINTER_DEFAULTSA defaults{};
    defaults.DesiredAccess = PRINTER_ALL_ACCESS;
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(name.c_str()), &printer, &defaults) || printer == nullptr) {
        return Removed(FALSE, "printer", name);
    }
    const BOOL deleted = DeletePrinter(printer);
    const DWORD error = GetLastError();
    ClosePrinter(printer);
    SetLastError(error);
    return Removed(deleted, "printer", name);
}

int PrintSnapshot() {
    Snapshot snapshot;
    for (const char* path : kSnapshotKeys) {
        SnapshotKey(KEY_WOW64_64KEY, "64", path, snapshot);
        SnapshotKey(KEY_WOW64_32KEY, "32", path, snapshot);
    }
    SnapshotSpooler(snapshot.spooler);
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    SnapshotFiles(windows, snapshot);
    SnapshotPendingRenames(snapshot);
    SnapshotWinInit(windows, snapshot);

    PrintSorted(snapshot.registry);
    PrintSorted(snapshot.spooler);
    PrintSorted(snapshot.files);
    for (const std::string& line : snapshot.restart) std::printf("%s\n", line.c_str());
    if (!snapshot.complete) std::fprintf(stderr, "wintool: parts of the registry could not be read\n");
    return snapshot.complete ? kExitDone : kExitUsage;
}

// Holds `handle` (a file or mutex, 0 or INVALID_HANDLE_VALUE when it could not be made)
// for `seconds` and closes it.
int HoldFor(HANDLE handle, const std::string& seconds) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "wintool: error %lu\n", static_cast<unsigned long>(GetLastError()));
        return kExitUsage;
    }
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(std::strtoul(seconds.c_str(), nullptr, 10) * 1000));
    CloseHandle(handle);
    return kExitDone;
}

}  // namespace


int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 2 && args[0] == "run") {
        return RunProgram(std::vector<std::string>(args.begin() + 1, args.end()));
    }
    if (args.size() >= 3 && args[0] == "runhidden") {
        const std::string desktop = HiddenDesktop();
        if (desktop.empty()) {
            std::fprintf(stderr, "wintool: no hidden window station (error %lu)\n", GetLastError());
            return kExitUsage;
        }
        const DWORD milliseconds = static_cast<DWORD>(std::strtoul(args[1].c_str(), nullptr, 10));
        return RunProgram(std::vector<std::string>(args.begin() + 2, args.end()), desktop, milliseconds);
    }
    REGSAM view = 0;
    if (args.size() == 3 && ParseView(args[1], view)) {
        if (args[0] == "regkey") return PrintKey(view, args[2]);
        if (args[0] == "mkkey") return MakeKey(view, args[2]);
        if (args[0] == "rmkey") return RemoveKey(view, args[2]);
    }
    if (args.size() == 2 && args[0] == "printer") return PrintPrinter(args[1]);
    if (args.size() == 2 && args[0] == "shortcut") return PrintShortcut(args[1]);
    if (args.size() == 3 && args[0] == "driver") return PrintDriver(args[1], args[2]);
    if (args.size() == 1 && args[0] == "monitors") return PrintNames(Monitors(1));
    if (args.size() == 1 && args[0] == "ports") return PrintNames(Ports(1));
    if (args.size() == 2 && args[0] == "delport") {
        return Removed(DeletePortA(nullptr, nullptr, const_cast<char*>(args[1].c_str())), "port", args[1]);
    }
    if (args.size() == 2 && args[0] == "delprinter") return RemovePrinter(args[1]);
    if (args.size() == 2 && args[0] == "delmonitor") {
        return Removed(DeleteMonitorA(nullptr, nullptr, const_cast<char*>(args[1].c_str())), "monitor", args[1]);
    }
    if (args.size() == 1 && args[0] == "snapshot") return PrintSnapshot();
    if (args.size() == 3 && args[0] == "hold") {
        return HoldFor(CreateFileA(args[1].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), args[2]);
    }
    if (args.size() == 3 && args[0] == "lock") return HoldFor(CreateMutexA(nullptr, FALSE, args[1].c_str()), args[2]);
    if (!args.empty() && wintool::IsWindowCommand(args[0])) {
        const int status = wintool::RunWindowCommand(args);
        if (status != kExitUsage) return status;
    }
    std::fputs(kUsage, stderr);
    return kExitUsage;
}
