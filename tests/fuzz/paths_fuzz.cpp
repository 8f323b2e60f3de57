// The path helpers, in a single-byte code page and in a double-byte one whose trail
// bytes may have the value of a backslash (byte 0 of the input chooses; the rest is the
// path):
// - a backslash found is a character of its own, and every such backslash is found;
// - a resolved path holds no empty name, no "." or "..", no separator of its own in a
//   name and no name ending in a dot or blank; resolving what it names gives it back,
//   and letter case does not change the place;
// - a relative path that resolves never climbs above the folder it is put below: the
//   folder joined with it lies inside that folder, with exactly its names added.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/text/ansi_path.h"
#include "common/text/resolved_path.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using text::LeadBytes;
using text::ResolvedPath;

const LeadBytes kSingleByte;

// Which bytes of `path` start a character, found by walking it independently.
std::vector<bool> CharacterStarts(const std::string& path, const LeadBytes& leadBytes) {
    std::vector<bool> starts(path.size(), false);
    for (std::size_t i = 0; i < path.size(); ++i) {
        starts[i] = true;
        if (leadBytes.IsLead(path[i]) && i + 1 < path.size()) ++i;
    }
    return starts;
}

bool IsSeparatorCharacter(const std::string& name, const LeadBytes& leadBytes) {
    const std::vector<bool> starts = CharacterStarts(name, leadBytes);
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (starts[i] && (name[i] == '\\' || name[i] == '/')) return true;
    }
    return false;
}

// Upper case for the single-byte characters; the bytes of double-byte ones stay.
std::string UpperCharacters(const std::string& path, const LeadBytes& leadBytes) {
    std::string upper = path;
    const std::vector<bool> starts = CharacterStarts(path, leadBytes);
    for (std::size_t i = 0; i < path.size(); ++i) {
        const bool trail = !starts[i];
        const bool lead = starts[i] && leadBytes.IsLead(path[i]) && i + 1 < path.size();
        if (!trail && !lead) upper[i] = fuzzing::UpperAscii(path[i]);
    }
    return upper;
}

std::string Joined(const ResolvedPath& path) {
    std::string joined = path.root + "\\";
    for (std::size_t i = 0; i < path.folders.size(); ++i) {
        if (i > 0) joined += "\\";
        joined += path.folders[i];
    }
    return joined;
}

void ExpectBackslashesFound(const std::string& path, const LeadBytes& leadBytes) {
    const std::vector<bool> starts = CharacterStarts(path, leadBytes);
    std::vector<std::size_t> expected;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (starts[i] && path[i] == '\\') expected.push_back(i);
    }
    FUZZ_EXPECT(text::BackslashPositions(path, leadBytes) == expected);
    const std::size_t last = expected.empty() ? std::string::npos : expected.back();
    FUZZ_EXPECT(text::FindLastBackslash(path, leadBytes) == last);
    FUZZ_EXPECT(text::FolderOf(path, leadBytes) == (expected.empty() ? std::string() : path.substr(0, last + 1)));
}

void ExpectNamesAsWindowsReadsThem(const std::vector<std::string>& folders, const LeadBytes& leadBytes) {
    for (const std::string& name : folders) {
        FUZZ_EXPECT(!name.empty() && name != "." && name != "..");
        FUZZ_EXPECT(!IsSeparatorCharacter(name, leadBytes));
        // A last byte that is a character of its own (not the trail of a double-byte one).
        if (CharacterStarts(name, leadBytes).back()) FUZZ_EXPECT(name.back() != '.' && name.back() != ' ');
    }
}

void ExpectAbsoluteRules(const std::string& path, const LeadBytes& leadBytes) {
    const auto resolved = text::ResolveAbsolutePath(path, leadBytes);
    if (!resolved) return;
    FUZZ_EXPECT(!resolved->root.empty());
    ExpectNamesAsWindowsReadsThem(resolved->folders, leadBytes);
    FUZZ_EXPECT(text::SamePath(*resolved, *resolved, leadBytes));

    const auto again = text::ResolveAbsolutePath(Joined(*resolved), leadBytes);
    FUZZ_EXPECT(again.has_value());
    FUZZ_EXPECT(again->root == resolved->root && again->folders == resolved->folders);

    const auto upper = text::ResolveAbsolutePath(UpperCharacters(path, leadBytes), leadBytes);
    FUZZ_EXPECT(upper.has_value());
    FUZZ_EXPECT(text::SamePath(*upper, *resolved, leadBytes));
}

void ExpectRelativeStaysBelowItsFolder(const std::string& relative, const LeadBytes& leadBytes) {
    const auto folders = text::ResolveRelativePath(relative, leadBytes);
    if (!folders) return;
    ExpectNamesAsWindowsReadsThem(*folders, leadBytes);
    // A folder name that asks for an environment variable is refused as an absolute path.
    if (relative.find('%') != std::string::npos) return;
    const auto root = text::ResolveAbsolutePath("C:\\Program Files\\Quillet", leadBytes);
    const auto below = text::ResolveAbsolutePath("C:\\Program Files\\Quillet\\" + relative, leadBytes);
    FUZZ_EXPECT(root && below);
    FUZZ_EXPECT(text::IsSameOrInside(*below, *root, leadBytes));
    std::vector<std::string> expected = root->folders;
    expected.insert(expected.end(), folders->begin(), folders->end());
    FUZZ_EXPECT(below->folders == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const LeadBytes& leadBytes = (data[0] & 1) != 0 ? fuzzing::DoubleByteCodePage() : kSingleByte;
    const std::string path = fuzzing::Text(data + 1, size - 1);
    ExpectBackslashesFound(path, leadBytes);
    ExpectAbsoluteRules(path, leadBytes);
    ExpectRelativeStaysBelowItsFolder(path, leadBytes);
    return 0;
}
