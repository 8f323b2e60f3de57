// One table of the installer's system probes (folders, read-only files, shortcuts), run
// against the real calls under Wine (tests/windows) and against the in-memory Windows
// (tests/unit), so that the fake answers as the system does. Each case names what a
// fresh folder holds, the path probed in it and the answer.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace probe_cases {

enum class Probe { DirectoryExists, ClearReadOnlyAttribute };

struct Entry {
    std::string name;
    bool folder = false;
    std::uint32_t attributes = 0;  // set on a file after it is written, when not 0
};

struct Case {
    std::string name;  // letters, digits and underscores: the test's name
    Probe probe;
    std::vector<Entry> entries;  // what the case's fresh folder holds
    std::string path;            // probed below the folder ("" the folder itself)
    int expected;
    // The path is given as it is, relative, with the case's folder as the current one.
    bool relative = false;
    // The attributes the path is left with, but for "archive" and "normal", which Wine
    // reports for plain files whose attributes it does not store.
    std::optional<std::uint32_t> attributesAfter{};
};

inline void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

inline std::vector<Case> AllCases() {
    using P = Probe;
    constexpr std::uint32_t kReadOnly = platform::kFileAttributeReadOnly;
    constexpr std::uint32_t kHidden = platform::kFileAttributeHidden;
    const Entry sub{"sub", true};
    return {
        {"FolderItself", P::DirectoryExists, {}, "", 1},
        {"Subfolder", P::DirectoryExists, {sub}, "sub", 1},
        {"SubfolderInOtherCase", P::DirectoryExists, {sub}, "SUB", 1},
        {"FileIsNoFolder", P::DirectoryExists, {{"plain.txt"}}, "plain.txt", 0},
        {"MissingFolder", P::DirectoryExists, {}, "missing", 0},
        {"RelativeFolderInTheCurrentFolder", P::DirectoryExists, {sub}, "sub", 1, true},
        // "system32" is on the search path, but not in the current folder.
        {"RelativeFolderOnlyOnTheSearchPath", P::DirectoryExists, {}, "system32", 0, true},
        {"ReadOnlyHiddenFileIsLeftNormal", P::ClearReadOnlyAttribute, {{"ro.txt", false, kReadOnly | kHidden}},
         "ro.txt", 1, false, 0},
        {"HiddenFileStaysHidden", P::ClearReadOnlyAttribute, {{"hidden.txt", false, kHidden}}, "hidden.txt", 1, false,
         kHidden},
        {"MissingFileToClear", P::ClearReadOnlyAttribute, {}, "missing.txt", 0},
    };
}

// A shortcut to "target.exe" in the case's folder, saved as `link` there.
struct LinkCase {
    std::string name;
    std::string link;        // below the case's folder
    const char* arguments;   // may be null
    bool saved;              // else a failure and no file
    bool replaces = false;   // a link of that name is there already
    bool comAlreadyInitialised = false;  // by the thread, before the probe
};

inline void PrintTo(const LinkCase& c, std::ostream* out) { *out << c.name; }

// The test framework's name for a case's test: the case's name.
struct NameOf {
    template <class TestParamInfo>
    std::string operator()(const TestParamInfo& tested) const {
        return tested.param.name;
    }
};

inline constexpr const char* kLinkDescription = "Shortcut to uninstall";

inline std::vector<LinkCase> AllLinkCases() {
    return {
        {"WithoutArguments", "a.lnk", nullptr, true},
        {"WithArgumentsReplacingALink", "a.lnk", " /uninstall", true, true},
        {"ComAlreadyInitialised", "a.lnk", nullptr, true, false, true},
        {"InAMissingFolder", "no\\a.lnk", nullptr, false},
        // The UTF-16 name the link is saved under would not fit MAX_PATH.
        {"PathTooLong", std::string(260, 'n') + ".lnk", nullptr, false},
    };
}

}  // namespace probe_cases
