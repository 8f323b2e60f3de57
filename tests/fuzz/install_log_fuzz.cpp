// The install log reader, both scopes, fed every input twice:
// - as the bytes of a "Setup.inf": whatever it accepts keeps every text within its field
//   and every required name non-empty, the uninstaller accepts what the installer
//   accepts and reads the same names, the two-stage reading (unscramble, then parse the
//   payload, as the uninstaller does through its temporary file) agrees with the
//   one-stage one, and a record read is written back by the encoder into a file that
//   reads the same;
// - as the description of a record and a key: the encoder's file reads back exactly as
//   the field rules say (texts up to their first zero byte, refused when over a limit
//   or when a required name is empty).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/installlog/install_log.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using installlog::InstallLog;
using installlog::kFlagFields;
using installlog::kTextFields;
using installlog::ParseResult;
using installlog::ReadScope;

// The uninstaller reads the texts up to and including ProgramGroup.
constexpr std::size_t kUninstallerTexts = 6;

bool SameResult(const ParseResult& a, const ParseResult& b) {
    if (a.log.has_value() != b.log.has_value() || a.problem != b.problem) return false;
    if (!a.log) return true;
    for (const auto& field : kTextFields) {
        if ((*a.log).*field.member != (*b.log).*field.member) return false;
    }
    for (const auto& flag : kFlagFields) {
        if ((*a.log).*flag.member != (*b.log).*flag.member) return false;
    }
    return a.log->Header == b.log->Header;
}

void ExpectTextsWithinTheirFields(const InstallLog& log, std::size_t textsRead) {
    for (std::size_t i = 0; i < kTextFields.size(); ++i) {
        const std::string& text = log.*kTextFields[i].member;
        FUZZ_EXPECT(text.size() <= kTextFields[i].limit);
        FUZZ_EXPECT(text.find('\0') == std::string::npos);
        if (i < textsRead && kTextFields[i].required) FUZZ_EXPECT(!text.empty());
        if (i >= textsRead) FUZZ_EXPECT(text.empty());
    }
}

// The stored key of a file the reader accepted.
std::vector<std::uint8_t> KeyOf(const std::vector<std::uint8_t>& file) {
    const std::size_t length = static_cast<std::size_t>(file[0]) | (static_cast<std::size_t>(file[1]) << 8) |
                               (static_cast<std::size_t>(file[2]) << 16) |
                               (static_cast<std::size_t>(file[3]) << 24);
    return {file.begin() + 4, file.begin() + 4 + static_cast<std::ptrdiff_t>(length)};
}

void ReadAsAFile(const std::vector<std::uint8_t>& file) {
    const ParseResult installer = installlog::ParseInstallLog(file, ReadScope::Installer);
    const ParseResult uninstaller = installlog::ParseInstallLog(file, ReadScope::Uninstaller);

    const installlog::UnscrambleResult unscrambled = installlog::UnscrambleInstallLog(file);
    if (unscrambled.payload) {
        const std::vector<std::uint8_t>& payload = *unscrambled.payload;
        FUZZ_EXPECT(SameResult(installer, installlog::ParseInstallLogPayload(payload, ReadScope::Installer)));
        FUZZ_EXPECT(SameResult(uninstaller, installlog::ParseInstallLogPayload(payload, ReadScope::Uninstaller)));
        FUZZ_EXPECT(payload.size() + 8 <= file.size());
    } else {
        FUZZ_EXPECT(!unscrambled.problem.empty());
        FUZZ_EXPECT(!installer.log && installer.problem == unscrambled.problem);
        FUZZ_EXPECT(!uninstaller.log && uninstaller.problem == unscrambled.problem);
    }
    if (!installer.log) FUZZ_EXPECT(!installer.problem.empty());
    if (!uninstaller.log) FUZZ_EXPECT(!uninstaller.problem.empty());

    if (uninstaller.log) {
        ExpectTextsWithinTheirFields(*uninstaller.log, kUninstallerTexts);
        for (const auto& flag : kFlagFields) FUZZ_EXPECT((*uninstaller.log).*flag.member == 0);
    }
    if (!installer.log) return;
    ExpectTextsWithinTheirFields(*installer.log, kTextFields.size());
    // The installer reads everything the uninstaller reads, and more.
    FUZZ_EXPECT(uninstaller.log.has_value());
    for (std::size_t i = 0; i < kUninstallerTexts; ++i) {
        FUZZ_EXPECT((*installer.log).*kTextFields[i].member == (*uninstaller.log).*kTextFields[i].member);
    }
    // Written again with the file's own key, the record reads the same, and the file is
    // no longer than the one it came from (which may carry bytes nobody reads).
    const std::vector<std::uint8_t> rewritten = installlog::EncodeInstallLog(*installer.log, KeyOf(file));
    FUZZ_EXPECT(rewritten.size() <= file.size());
    FUZZ_EXPECT(SameResult(installer, installlog::ParseInstallLog(rewritten, ReadScope::Installer)));
}

// A record and a key made from the input: the file the encoder writes for them reads back
// as the field rules say.
void EncodeAndReadBack(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    InstallLog log;
    for (auto& byte : log.Header) byte = input.ConsumeIntegral<std::uint8_t>();
    for (const auto& field : kTextFields) {
        // Around every limit: up to 300 bytes, zero bytes included.
        log.*field.member = input.ConsumeRandomLengthString(300);
    }
    for (const auto& flag : kFlagFields) log.*flag.member = input.ConsumeIntegral<std::int32_t>();
    std::vector<std::uint8_t> key = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(1, 40));
    if (key.empty()) key.push_back(0);

    bool readable = true;
    InstallLog expected = log;
    for (const auto& field : kTextFields) {
        std::string& text = expected.*field.member;
        if (text.size() > field.limit) readable = false;
        text = text.substr(0, text.find('\0'));
        if (field.required && text.empty()) readable = false;
    }
    const std::vector<std::uint8_t> file = installlog::EncodeInstallLog(log, key);
    const ParseResult parsed = installlog::ParseInstallLog(file, ReadScope::Installer);
    FUZZ_EXPECT(parsed.log.has_value() == readable);
    if (readable) FUZZ_EXPECT(SameResult(parsed, ParseResult{expected, {}}));
    // What the install log tool lets through (it asks FindUnusableField) reads back whole.
    if (!installlog::FindUnusableField(log)) FUZZ_EXPECT(SameResult(parsed, ParseResult{log, {}}));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReadAsAFile(fuzzing::Bytes(data, size));
    EncodeAndReadBack(data, size);
    return 0;
}
