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
//   wintool shortcut <file.lnk>        the shell link's target, arguments and description
//
// Exit status: 0 done (regkey: the key exists), 1 the key does not exist or could not
// be created, 2 wrong command line or the program could not be started.
// A Windows exit status reaches Linux cut to 8 bits; "run" prints all 32 of them.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <winspool.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kExitDone = 0;
constexpr int kExitNotThere = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: wintool run <program> [args...]\n"
    "       wintool regkey <64|32> <HKLM path>\n"
    "       wintool mkkey <64|32> <HKLM path>\n"
    "       wintool rmkey <64|32> <HKLM path>\n"
    "       wintool printer <name>\n"
    "       wintool driver <environment> <name>\n"
    "       wintool monitors | ports\n"
    "       wintool shortcut <file.lnk>\n";

// Closes a kernel handle when it goes out of scope.
class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
    ~OwnedHandle() {
        if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

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

int RunProgram(const std::vector<std::string>& commandWords) {
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
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        std::fprintf(stderr, "wintool: cannot start %s (error %lu)\n", commandLine.c_str(),
                     GetLastError());
        return kExitUsage;
    }
    const OwnedHandle process(info.hProcess);
    const OwnedHandle thread(info.hThread);

    WaitForSingleObject(process.get(), INFINITE);
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

int PrintKey(REGSAM view, const std::string& path) {
    OwnedKey key;
    const LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, key.put());
    if (opened != ERROR_SUCCESS) return kExitNotThere;

    DWORD nameCapacity = 0;
    DWORD dataCapacity = 0;
    if (RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &nameCapacity, &dataCapacity, nullptr, nullptr) != ERROR_SUCCESS) {
        std::fprintf(stderr, "wintool: cannot read the key's sizes\n");
        return kExitUsage;
    }
    std::vector<char> name(nameCapacity + 1);
    std::vector<BYTE> data(dataCapacity + 1);
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        const LONG status = RegEnumValueA(key.get(), index, name.data(), &nameSize, nullptr, &type,
                                          data.data(), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) {
            std::fprintf(stderr, "wintool: cannot read value %lu (error %ld)\n", index, status);
            return kExitUsage;
        }
        const std::string valueName = nameSize == 0 ? "(default)" : std::string(name.data(), nameSize);
        std::printf("%s|%s|%s|%lu\n", valueName.c_str(), TypeName(type),
                    DescribeData(type, data, dataSize).c_str(), dataSize);
    }
    return kExitDone;
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

int PrintDriver(const std::string& environment, const std::string& name) {
    DWORD needed = 0;
    DWORD returned = 0;
    char* env = const_cast<char*>(environment.c_str());
    EnumPrinterDriversA(nullptr, env, 3, nullptr, 0, &needed, &returned);
    std::vector<BYTE> buffer(needed + 1);
    if (!EnumPrinterDriversA(nullptr, env, 3, buffer.data(), needed, &needed, &returned)) return kExitNotThere;
    const auto* drivers = reinterpret_cast<const DRIVER_INFO_3A*>(buffer.data());
    for (DWORD i = 0; i < returned; ++i) {
        if (name != Shown(drivers[i].pName)) continue;
        std::printf("version=%lu\ndriver=%s\ndata=%s\nconfig=%s\nhelp=%s\n", drivers[i].cVersion,
                    Shown(drivers[i].pDriverPath), Shown(drivers[i].pDataFile), Shown(drivers[i].pConfigFile),
                    Shown(drivers[i].pHelpFile));
        char directory[1024] = {};
        if (GetPrinterDriverDirectoryA(nullptr, env, 1, reinterpret_cast<BYTE*>(directory), sizeof(directory) - 1,
                                       &needed)) {
            std::printf("directory=%s\n", directory);
        }
        return kExitDone;
    }
    return kExitNotThere;
}

// EnumMonitorsA or EnumPortsA at level 1: the names, one a line.
template <class Enumerate>
int PrintNames(Enumerate enumerate) {
    DWORD needed = 0;
    DWORD returned = 0;
    enumerate(nullptr, 0, &needed, &returned);
    std::vector<BYTE> buffer(needed + 1);
    if (!enumerate(buffer.data(), needed, &needed, &returned)) {
        std::fprintf(stderr, "wintool: the spooler refused the list (error %lu)\n", GetLastError());
        return kExitUsage;
    }
    for (DWORD i = 0; i < returned; ++i) {
        // MONITOR_INFO_1A and PORT_INFO_1A are both one name pointer.
        std::printf("%s\n", Shown(reinterpret_cast<const MONITOR_INFO_1A*>(buffer.data())[i].pName));
    }
    return kExitDone;
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

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 2 && args[0] == "run") {
        return RunProgram(std::vector<std::string>(args.begin() + 1, args.end()));
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
    if (args.size() == 1 && args[0] == "monitors") {
        return PrintNames([](BYTE* buffer, DWORD bytes, DWORD* needed, DWORD* returned) {
            return EnumMonitorsA(nullptr, 1, buffer, bytes, needed, returned);
        });
    }
    if (args.size() == 1 && args[0] == "ports") {
        return PrintNames([](BYTE* buffer, DWORD bytes, DWORD* needed, DWORD* returned) {
            return EnumPortsA(nullptr, 1, buffer, bytes, needed, returned);
        });
    }
    std::fputs(kUsage, stderr);
    return kExitUsage;
}
