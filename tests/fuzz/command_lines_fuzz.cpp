// Both programs' command lines. The input, split at its zero bytes, is the argument list
// (as Windows hands it over, after the program name). Each parser is held to the rules
// of its program, stated here independently of it:
// Setup: "/s" "\s" "-s" (any case, any longer argument so begun) is silent, else the same
// with "c" drops the shortcuts, else "-d" or "\"-d" names the destination: the rest of
// the last such argument, losing at most one leading quote, one trailing quote and one
// trailing backslash, never the trail byte of a double-byte character (checked in a
// single-byte and a double-byte code page). Arguments that match nothing change nothing.
// unInstpm64: "/copy", "/register", "/uninstall" anywhere in an argument (case-sensitive,
// tested in that order; "/uninstall" clears the other two); exactly "/s" is silent; the
// register arguments are plain arguments of the list; copy beats register beats uninstall.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "setup/command_line.h"
#include "tests/fuzz/fuzz_check.h"
#include "uninstall/uninstall_command_line.h"

namespace {

bool IsSwitch(const std::string& argument, char letter) {
    return argument.size() >= 2 && (argument[0] == '/' || argument[0] == '\\' || argument[0] == '-') &&
           (argument[1] == letter || argument[1] == fuzzing::UpperAscii(letter));
}

bool IsDestination(const std::string& argument) {
    const auto dashD = [](const std::string& text, std::size_t at) {
        return text.size() >= at + 2 && text[at] == '-' && (text[at + 1] == 'd' || text[at + 1] == 'D');
    };
    return dashD(argument, 0) || (!argument.empty() && argument[0] == '"' && dashD(argument, 1));
}

setup::InstallState ParseSetup(const std::vector<std::string>& arguments, const text::LeadBytes& leadBytes) {
    setup::InstallState state;
    setup::ParseSetupCommandLine(arguments, leadBytes, state);
    return state;
}

bool SameCommandLineState(const setup::InstallState& a, const setup::InstallState& b) {
    return a.silent == b.silent && a.createShortcuts == b.createShortcuts &&
           a.destinationGiven == b.destinationGiven && a.destinationFolder == b.destinationFolder;
}

void ExpectSetupRules(const std::vector<std::string>& arguments, const text::LeadBytes& leadBytes) {
    const setup::InstallState state = ParseSetup(arguments, leadBytes);
    bool silent = false;
    bool noShortcuts = false;
    const std::string* destination = nullptr;
    for (const std::string& argument : arguments) {
        if (IsSwitch(argument, 's')) {
            silent = true;
        } else if (IsSwitch(argument, 'c')) {
            noShortcuts = true;
        } else if (IsDestination(argument)) {
            destination = &argument;
        }
    }
    FUZZ_EXPECT(state.silent == silent);
    FUZZ_EXPECT(state.createShortcuts == !noShortcuts);
    FUZZ_EXPECT(state.destinationGiven == (destination != nullptr));
    if (destination != nullptr) {
        const std::size_t skip = (*destination)[0] == '"' ? 3 : 2;
        const std::string rest = destination->substr(skip);
        const std::string& folder = state.destinationFolder;
        // The folder is the rest, with at most one character off its front and two off its end.
        FUZZ_EXPECT(folder.size() <= rest.size() && folder.size() + 3 >= rest.size());
        const std::size_t front = rest.size() > folder.size() && !rest.empty() && rest[0] == '"' ? 1 : 0;
        FUZZ_EXPECT(rest.compare(front, folder.size(), folder) == 0);
        // Taking off the backslash never cuts a double-byte character in two.
        std::string unquoted = rest.substr(front);
        if (!unquoted.empty() && unquoted.back() == '"') unquoted.pop_back();
        if (!text::EndsInsideCharacter(unquoted, leadBytes)) FUZZ_EXPECT(!text::EndsInsideCharacter(folder, leadBytes));
    } else {
        FUZZ_EXPECT(state.destinationFolder.empty());
    }
    // Arguments that match nothing change nothing, before or after; the whole list given
    // twice reads the same as once.
    std::vector<std::string> padded = {"x", "/d", "d-"};
    padded.insert(padded.end(), arguments.begin(), arguments.end());
    padded.push_back("/x");
    FUZZ_EXPECT(SameCommandLineState(ParseSetup(padded, leadBytes), state));
    std::vector<std::string> twice = arguments;
    twice.insert(twice.end(), arguments.begin(), arguments.end());
    FUZZ_EXPECT(SameCommandLineState(ParseSetup(twice, leadBytes), state));
}

bool Contains(const std::string& argument, const char* text) { return argument.find(text) != std::string::npos; }

bool IsAmong(const std::string& text, const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == text) return true;
    }
    return false;
}

void ExpectUninstallerRules(const std::vector<std::string>& arguments) {
    const uninstall::UninstallerCommandLine commandLine = uninstall::ParseUninstallerCommandLine(arguments);
    bool copy = false;
    bool registerEntry = false;
    bool uninstallSwitch = false;
    bool silent = false;
    std::vector<std::string> plain;
    for (const std::string& argument : arguments) {
        if (Contains(argument, "/copy")) {
            copy = true;
        } else if (Contains(argument, "/register")) {
            registerEntry = true;
        } else if (Contains(argument, "/uninstall")) {
            uninstallSwitch = true;
            copy = registerEntry = false;
        } else {
            plain.push_back(argument);
            if (argument == "/s") silent = true;
        }
    }
    FUZZ_EXPECT(commandLine.copy == copy);
    FUZZ_EXPECT(commandLine.registerEntry == registerEntry);
    FUZZ_EXPECT(commandLine.uninstall == uninstallSwitch);
    FUZZ_EXPECT(commandLine.silent == silent);
    FUZZ_EXPECT(commandLine.uninstallCommand.empty() || IsAmong(commandLine.uninstallCommand, plain));
    FUZZ_EXPECT(commandLine.displayName.empty() || IsAmong(commandLine.displayName, plain));
    const uninstall::UninstallerMode mode = uninstall::SelectMode(commandLine);
    const uninstall::UninstallerMode expected = copy            ? uninstall::UninstallerMode::Copy
                                                : registerEntry ? uninstall::UninstallerMode::Register
                                                : uninstallSwitch ? uninstall::UninstallerMode::Uninstall
                                                                  : uninstall::UninstallerMode::None;
    FUZZ_EXPECT(mode == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments = fuzzing::SplitAtNul(fuzzing::Text(data, size));
    if (size == 0) arguments.clear();
    ExpectSetupRules(arguments, text::LeadBytes());
    ExpectSetupRules(arguments, fuzzing::DoubleByteCodePage());
    ExpectUninstallerRules(arguments);
    return 0;
}
