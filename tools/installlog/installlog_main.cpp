// installlog: writes the install log "Setup.inf" of a medium from a readable INI file,
// and reads one back into that form.
//
//   installlog encode IN.ini OUT.inf [--key HEX]
//   installlog decode IN.inf
//
// Exit status: 0 done, 1 the input was refused or a file could not be read or
// written (one line on stderr), 2 the command line was wrong.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "common/installlog/install_log.h"
#include "tools/installlog/install_log_ini.h"

namespace {

using installlog::tool::FormatHexBytes;

constexpr int kExitDone = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

constexpr std::size_t kRandomKeySize = 16;

constexpr const char* kUsage =
    "usage: installlog encode IN.ini OUT.inf [--key HEX] | installlog decode IN.inf";

constexpr const char* kHelp = R"(installlog encode IN.ini OUT.inf [--key HEX]
    Writes the install log OUT.inf from section [InstallLog] of IN.ini, with keys
    PrinterName (at most 63 bytes), PortName (63), PaperSizeName (31),
    ProductName (263), DestinationSubfolder (259), ProgramGroup (259), SpareText,
    ProgrammaticAccess, CreateShortcuts, ExtensionComponents (32-bit numbers:
    decimal from -2147483648 to 4294967295, or 0x and up to 8 hex digits) and
    Header (20 hex digits, the 10 header bytes; all zero when missing).
    Missing texts are empty, missing numbers 0. A text over its limit, an unknown
    key or a number that does not parse is refused.
    The scrambling key is HEX (an even number of hex digits, at least 2), or 16
    random bytes. Texts may hold any byte except CR and LF; INI values cannot
    begin or end with blanks, as those are trimmed.

installlog decode IN.inf
    Prints the content of IN.inf as such an INI file, after a comment line with
    the key, so that encoding it again with --key gives back the same values.

Exit status: 0 done, 1 refused (one line on stderr), 2 wrong command line.
)";

int UsageError() {
    std::cerr << kUsage << "\n";
    return kExitUsage;
}

// One line on stderr naming the file and what is wrong with it.
int Refuse(const std::string& file, const std::string& problem) {
    std::cerr << file << ": " << problem << "\n";
    return kExitRefused;
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<char> chars{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(chars.size());
    for (const char c : chars) bytes.push_back(static_cast<std::uint8_t>(c));
    return bytes;
}

bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const std::uint8_t byte : bytes) out.put(static_cast<char>(byte));
    out.close();
    return static_cast<bool>(out);
}

std::vector<std::uint8_t> RandomKey() {
    std::random_device source;
    std::uniform_int_distribution<unsigned> byteValue(0, 255);
    std::vector<std::uint8_t> key(kRandomKeySize);
    for (auto& byte : key) byte = static_cast<std::uint8_t>(byteValue(source));
    return key;
}

int Encode(const std::string& iniPath, const std::string& outPath,
           const std::vector<std::uint8_t>& key) {
    const auto iniBytes = ReadFileBytes(iniPath);
    if (!iniBytes) return Refuse(iniPath, "cannot be read");
    const installlog::tool::IniReadResult read =
        installlog::tool::ReadInstallLogIni(std::string(iniBytes->begin(), iniBytes->end()));
    if (!read.log) return Refuse(iniPath, read.problem);
    if (const auto unusable = installlog::FindUnusableField(*read.log)) return Refuse(iniPath, *unusable);
    if (!WriteFileBytes(outPath, installlog::EncodeInstallLog(*read.log, key))) {
        return Refuse(outPath, "cannot be written");
    }
    return kExitDone;
}

// The key exactly as stored in a file that parsed: K bytes after the length word.
std::vector<std::uint8_t> StoredKey(const std::vector<std::uint8_t>& fileBytes) {
    const auto keyLength = static_cast<std::size_t>(fileBytes[0]) |
                           (static_cast<std::size_t>(fileBytes[1]) << 8) |
                           (static_cast<std::size_t>(fileBytes[2]) << 16) |
                           (static_cast<std::size_t>(fileBytes[3]) << 24);
    return {fileBytes.begin() + 4, fileBytes.begin() + 4 + static_cast<std::ptrdiff_t>(keyLength)};
}

int Decode(const std::string& inPath) {
    const auto bytes = ReadFileBytes(inPath);
    if (!bytes) return Refuse(inPath, "cannot be read");
    const installlog::ParseResult parsed =
        installlog::ParseInstallLog(*bytes, installlog::ReadScope::Installer);
    if (!parsed.log) return Refuse(inPath, parsed.problem);
    if (const auto broken = installlog::tool::FindTextWithLineBreak(*parsed.log)) {
        return Refuse(inPath, *broken + " holds a line break, which an INI value cannot carry");
    }
    for (const std::string& name : installlog::tool::FindTextsWithEdgeBlanks(*parsed.log)) {
        std::cerr << inPath << ": warning: " << name
                  << " begins or ends with blanks, which an INI value loses\n";
    }
    std::cout << installlog::tool::WriteInstallLogIni(*parsed.log, StoredKey(*bytes));
    return std::cout.flush() ? kExitDone : kExitRefused;
}

// encode IN OUT [--key HEX], the options in any place after the command.
int RunEncode(const std::vector<std::string>& args) {
    std::vector<std::string> paths;
    std::optional<std::vector<std::uint8_t>> key;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--key") {
            if (key || i + 1 == args.size()) return UsageError();
            key = installlog::tool::ParseHexBytes(args[++i]);
            if (!key) {
                std::cerr << "--key needs an even number of hex digits, at least 2\n";
                return UsageError();
            }
        } else if (args[i].starts_with("--")) {
            return UsageError();
        } else {
            paths.push_back(args[i]);
        }
    }
    if (paths.size() != 2) return UsageError();
    return Encode(paths[0], paths[1], key ? *key : RandomKey());
}

int Run(const std::vector<std::string>& args) {
    if (args.empty()) return UsageError();
    const std::string& command = args[0];
    if (command == "--help" || command == "-h") {
        std::cout << kHelp;
        return kExitDone;
    }
    if (command == "encode") return RunEncode(args);
    if (command == "decode" && args.size() == 2 && !args[1].starts_with("--")) {
        return Decode(args[1]);
    }
    return UsageError();
}

}  // namespace

int main(int argc, char* argv[]) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    try {
        return Run(args);
    } catch (const std::exception& error) {
        std::cerr << "installlog: " << error.what() << "\n";
        return kExitRefused;
    }
}
