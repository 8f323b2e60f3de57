#include "setup/command_line.h"

#include "common/runlog/run_log.h"
#include "common/text/text.h"

namespace setup {
namespace {

bool StartsWithSwitch(const std::string& argument, char letter) {
    if (argument.size() < 2) return false;
    const char lead = argument[0];
    if (lead != '/' && lead != '\\' && lead != '-') return false;
    return text::ToLowerAscii(argument[1]) == letter;
}

// The folder after "-d" or "\"-d": one leading quote, one trailing quote and then one
// trailing backslash come off, each only when present. (No double-byte character ends
// in the byte of a quote.)
std::string DestinationFromSwitch(const std::string& argument, const text::LeadBytes& leadBytes) {
    const std::size_t skip = argument[0] == '"' ? 3 : 2;
    std::string folder = argument.substr(skip);
    if (!folder.empty() && folder.front() == '"') folder.erase(0, 1);
    if (!folder.empty() && folder.back() == '"') folder.pop_back();
    return text::WithoutTrailingBackslash(folder, leadBytes);
}

bool IsDestinationSwitch(const std::string& argument) {
    if (text::StartsWithNoCase(argument, "-d")) return true;
    return argument.size() >= 3 && argument[0] == '"' &&
           text::StartsWithNoCase(argument.substr(1), "-d");
}

}  // namespace

void ParseSetupCommandLine(const std::vector<std::string>& arguments, const text::LeadBytes& leadBytes,
                           InstallState& state) {
    for (const std::string& argument : arguments) {
        if (StartsWithSwitch(argument, 's')) {
            state.silent = true;
        } else if (StartsWithSwitch(argument, 'c')) {
            state.createShortcuts = false;
        } else if (IsDestinationSwitch(argument)) {
            state.destinationGiven = true;
            state.destinationFolder = DestinationFromSwitch(argument, leadBytes);
        } else if (const auto logPath = runlog::RunLogPath(argument)) {
            state.runLogPath = *logPath;
        }
    }
}

}  // namespace setup
