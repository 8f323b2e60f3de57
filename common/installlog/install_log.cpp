#include "common/installlog/install_log.h"

#include "common/product/product_files.h"
#include "common/product/registry_names.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>

namespace installlog {

const std::array<TextField, 7> kTextFields = {{
    {"PrinterName", &InstallLog::PrinterName, 63, true},
    {"PortName", &InstallLog::PortName, 63, true},
    {"PaperSizeName", &InstallLog::PaperSizeName, 31, false},
    {"ProductName", &InstallLog::ProductName, 263, true},
    {"DestinationSubfolder", &InstallLog::DestinationSubfolder, 259, false},
    {"ProgramGroup", &InstallLog::ProgramGroup, 259, false},
    {"SpareText", &InstallLog::SpareText, std::numeric_limits<std::size_t>::max(), false},
}};

const std::array<FlagField, 3> kFlagFields = {{
    {"ProgrammaticAccess", &InstallLog::ProgrammaticAccess},
    {"CreateShortcuts", &InstallLog::CreateShortcuts},
    {"ExtensionComponents", &InstallLog::ExtensionComponents},
}};

namespace {

// The uninstaller reads the texts up to and including ProgramGroup and nothing after.
constexpr std::size_t kTextsReadByUninstaller = 6;

// Thrown inside the parser when the bytes do not have the expected shape; carries
// what is wrong and where.
class Malformed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::int32_t DecodeInt32(std::span<const std::uint8_t, 4> bytes) {
    const std::uint32_t word = static_cast<std::uint32_t>(bytes[0]) |
                               (static_cast<std::uint32_t>(bytes[1]) << 8) |
                               (static_cast<std::uint32_t>(bytes[2]) << 16) |
                               (static_cast<std::uint32_t>(bytes[3]) << 24);
    return static_cast<std::int32_t>(word);  // two's complement, defined since C++20
}

void AppendInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
    const auto word = static_cast<std::uint32_t>(value);
    for (unsigned shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>((word >> shift) & 0xFFu));
    }
}

std::int32_t CheckedLength(std::size_t size, const char* what) {
    if (size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw std::length_error(std::string(what) + " is too long for a 32-bit length");
    }
    return static_cast<std::int32_t>(size);
}

// Reads little-endian words and runs of bytes from a buffer, never past its end.
// `container` names the buffer in problem texts ("file", "payload").
class ByteReader {
public:
    ByteReader(std::span<const std::uint8_t> bytes, const char* container)
        : bytes_(bytes), container_(container) {}

    std::int32_t ReadInt32(const std::string& what) {
        return DecodeInt32(Take(4, what).first<4>());
    }

    std::span<const std::uint8_t> ReadBytes(std::size_t count, const std::string& what) {
        return Take(count, what);
    }

private:
    std::span<const std::uint8_t> Take(std::size_t count, const std::string& what) {
        if (count > bytes_.size() - offset_) {
            throw Malformed(std::string(container_) + " ends inside " + what);
        }
        const auto taken = bytes_.subspan(offset_, count);
        offset_ += count;
        return taken;
    }

    std::span<const std::uint8_t> bytes_;
    const char* container_;
    std::size_t offset_ = 0;
};

// A key or payload length: at least 1.
std::size_t ReadOuterLength(ByteReader& file, const std::string& what) {
    const std::int32_t length = file.ReadInt32("the " + what + " length");
    if (length <= 0) {
        throw Malformed(what + " length is " + std::to_string(length));
    }
    return static_cast<std::size_t>(length);
}

// Reads the key and the payload of the outer layer and gives the payload unscrambled.
std::vector<std::uint8_t> Unscramble(const std::vector<std::uint8_t>& fileBytes) {
    ByteReader file(fileBytes, "file");
    const std::size_t keyLength = ReadOuterLength(file, "key");
    const auto key = file.ReadBytes(keyLength, "the key");
    const std::size_t payloadLength = ReadOuterLength(file, "payload");
    const auto scrambled = file.ReadBytes(payloadLength, "the payload");

    std::vector<std::uint8_t> payload(scrambled.begin(), scrambled.end());
    for (std::size_t i = 0; i < payload.size(); ++i) {
        payload[i] = static_cast<std::uint8_t>(payload[i] ^ key[i % key.size()]);
    }
    return payload;
}

std::string ReadText(ByteReader& payload, const TextField& field) {
    const std::string name = field.name;
    const std::int32_t length = payload.ReadInt32(name + " (length word)");
    if (length < 0) {
        throw Malformed(name + " length " + std::to_string(length) + " is negative");
    }
    const auto size = static_cast<std::size_t>(length);
    if (size > field.limit) {
        throw Malformed(name + " length " + std::to_string(size) + " exceeds its limit of " +
                        std::to_string(field.limit));
    }
    const auto bytes = payload.ReadBytes(size, name + " (text)");
    // The programs keep zero-terminated texts: whatever follows a zero byte is not part
    // of the name.
    std::string text(bytes.begin(), std::find(bytes.begin(), bytes.end(), std::uint8_t{0}));
    if (field.required && text.empty()) throw Malformed(name + " is empty");
    return text;
}

InstallLog ParsePayload(const std::vector<std::uint8_t>& plain, ReadScope scope) {
    ByteReader payload(plain, "payload");
    InstallLog log;
    const auto header = payload.ReadBytes(kHeaderSize, "the header");
    std::copy(header.begin(), header.end(), log.Header.begin());

    const std::size_t textCount =
        scope == ReadScope::Uninstaller ? kTextsReadByUninstaller : kTextFields.size();
    for (std::size_t i = 0; i < textCount; ++i) {
        log.*kTextFields[i].member = ReadText(payload, kTextFields[i]);
    }
    if (scope == ReadScope::Installer) {
        for (const FlagField& flag : kFlagFields) {
            log.*flag.member = payload.ReadInt32("the flags (" + std::string(flag.name) + ")");
        }
    }
    return log;
}

}  // namespace

UnscrambleResult UnscrambleInstallLog(const std::vector<std::uint8_t>& fileBytes) {
    try {
        return UnscrambleResult{Unscramble(fileBytes), {}};
    } catch (const Malformed& problem) {
        return UnscrambleResult{std::nullopt, problem.what()};
    }
}

ParseResult ParseInstallLogPayload(const std::vector<std::uint8_t>& payload, ReadScope scope) {
    try {
        return ParseResult{ParsePayload(payload, scope), {}};
    } catch (const Malformed& problem) {
        return ParseResult{std::nullopt, problem.what()};
    }
}

ParseResult ParseInstallLog(const std::vector<std::uint8_t>& fileBytes, ReadScope scope) {
    const UnscrambleResult unscrambled = UnscrambleInstallLog(fileBytes);
    if (!unscrambled.payload) return ParseResult{std::nullopt, unscrambled.problem};
    return ParseInstallLogPayload(*unscrambled.payload, scope);
}

std::vector<std::uint8_t> EncodeInstallLog(const InstallLog& log,
                                           const std::vector<std::uint8_t>& key) {
    if (key.empty()) throw std::invalid_argument("the install log key must not be empty");

    std::vector<std::uint8_t> payload(log.Header.begin(), log.Header.end());
    for (const TextField& field : kTextFields) {
        const std::string& text = log.*field.member;
        AppendInt32(payload, CheckedLength(text.size(), field.name));
        payload.insert(payload.end(), text.begin(), text.end());
    }
    for (const FlagField& flag : kFlagFields) AppendInt32(payload, log.*flag.member);

    std::vector<std::uint8_t> file;
    file.reserve(8 + key.size() + payload.size());
    AppendInt32(file, CheckedLength(key.size(), "the key"));
    file.insert(file.end(), key.begin(), key.end());
    AppendInt32(file, CheckedLength(payload.size(), "the payload"));
    for (std::size_t i = 0; i < payload.size(); ++i) {
        file.push_back(static_cast<std::uint8_t>(payload[i] ^ key[i % key.size()]));
    }
    return file;
}

std::optional<std::string> FindUnusableField(const InstallLog& log) {
    for (const TextField& field : kTextFields) {
        const std::string& text = log.*field.member;
        const std::string name = field.name;
        if (text.size() > field.limit) {
            return name + " is " + std::to_string(text.size()) + " bytes, over its limit of " +
                   std::to_string(field.limit);
        }
        if (field.required && text.empty()) return name + " is empty";
        // The programs keep the text up to its first zero byte: it would not read back whole.
        if (text.find('\0') != std::string::npos) return name + " holds a zero byte, where the programs' copy of it ends";
    }
    if (log.ProductName.size() > product::kLongestProductNameForKey) {
        return "ProductName is " + std::to_string(log.ProductName.size()) +
               " bytes, too long to name its uninstall entry in the registry (at most " +
               std::to_string(product::kLongestProductNameForKey) + ")";
    }
    if (log.ProductName.find('\\') != std::string::npos) {
        return "ProductName holds a backslash, which the name of its uninstall entry in the registry cannot";
    }
    return std::nullopt;
}

LoadResult LoadInstallLog(platform::FileSystem& files, const std::string& folder,
                          ReadScope scope) {
    const std::string path = folder + product::kInstallLogName;
    auto bytes = files.ReadWholeFile(path);
    if (!bytes) {
        return LoadResult{std::nullopt, bytes.error,
                          "cannot read " + path + " (error " + std::to_string(bytes.error) + ")"};
    }
    ParseResult parsed = ParseInstallLog(bytes.value(), scope);
    if (!parsed.log) {
        return LoadResult{std::nullopt, platform::kErrorInvalidData, std::move(parsed.problem)};
    }
    return LoadResult{std::move(parsed.log), platform::kErrorSuccess, {}};
}

}  // namespace installlog
