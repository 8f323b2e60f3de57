// The install log "Setup.inf": the identity of one build of the product, stored as a
// scrambled binary record. Read by Setup from its medium and by the uninstaller from
// the install folder; written only by the medium preparer's tool.
//
// Layout: K (int32) | K key bytes | N (int32) | N payload bytes, each XOR key[i % K].
// Payload: 10 header bytes | seven texts, each int32 length + bytes | three int32 flags.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"

namespace installlog {

inline constexpr std::size_t kHeaderSize = 10;

struct InstallLog {
    std::array<std::uint8_t, kHeaderSize> Header{};
    std::string PrinterName;
    std::string PortName;
    std::string PaperSizeName;
    std::string ProductName;
    std::string DestinationSubfolder;
    std::string ProgramGroup;
    std::string SpareText;
    // Flag words as stored; any non-zero value means on.
    std::int32_t ProgrammaticAccess = 0;
    std::int32_t CreateShortcuts = 0;
    std::int32_t ExtensionComponents = 0;
};

// The texts in the order they are stored, with the longest text each field holds.
struct TextField {
    const char* name;
    std::string InstallLog::*member;
    std::size_t limit;  // bytes, not counting a terminator
    // An empty printer, port or product name would make both programs address the
    // parent of the object they mean (the Uninstall key, the product key itself).
    bool required;
};
extern const std::array<TextField, 7> kTextFields;

struct FlagField {
    const char* name;
    std::int32_t InstallLog::*member;
};
extern const std::array<FlagField, 3> kFlagFields;

// The uninstaller keeps only the first six texts and never reads the flags, so a file
// cut after ProgramGroup is complete for it.
enum class ReadScope { Installer, Uninstaller };

struct ParseResult {
    std::optional<InstallLog> log;
    std::string problem;  // what is wrong and where, when log is empty
};

// The outer layer alone: the payload of a whole file, unscrambled, or what is wrong.
struct UnscrambleResult {
    std::optional<std::vector<std::uint8_t>> payload;
    std::string problem;
};
UnscrambleResult UnscrambleInstallLog(const std::vector<std::uint8_t>& fileBytes);

// The payload alone, unscrambled: header, texts and (installer) flags.
ParseResult ParseInstallLogPayload(const std::vector<std::uint8_t>& payload, ReadScope scope);

// Unscrambles and parses the bytes of a whole file. Rejects a malformed file: key or
// payload length zero or negative, a file shorter than its lengths say, a text length
// running past the payload, a text longer than its field holds, an empty printer, port
// or product name. The record holds zero-terminated texts: a text stored with a zero
// byte in it ends there.
ParseResult ParseInstallLog(const std::vector<std::uint8_t>& fileBytes, ReadScope scope);

// The bytes of a file holding `log`, scrambled with `key` (not empty). Values the
// programs cannot use are the caller's to refuse (see FindUnusableField). Throws
// std::invalid_argument for an empty key and std::length_error for a length that does
// not fit a 32-bit word.
std::vector<std::uint8_t> EncodeInstallLog(const InstallLog& log,
                                           const std::vector<std::uint8_t>& key);

// What makes the first unusable text of `log` unusable, naming the field, or nothing: a
// text longer than its field holds, an empty printer, port or product name, a text
// holding a zero byte (the programs' copy would end there), or a
// product name that cannot name the product's uninstall entry (a registry key name of
// at most product::kLongestProductNameForKey bytes, without a backslash).
std::optional<std::string> FindUnusableField(const InstallLog& log);

struct LoadResult {
    std::optional<InstallLog> log;
    std::uint32_t error = 0;  // Win32 error when the file could not be read or was malformed
    std::string problem;
};

// Reads folder + "Setup.inf" (folder ends in a backslash). A malformed file is refused
// as if it could not be read.
LoadResult LoadInstallLog(platform::FileSystem& files, const std::string& folder,
                          ReadScope scope);

}  // namespace installlog
