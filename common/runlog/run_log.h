// The run log for deployments: "/log=PATH" on either program's command line appends one
// line per step of the run to PATH — the time, the step's number and name, what came of
// it, the Windows error and its text on failure — and, last, the exit status. Without
// the switch nothing is written. The file is plain text in the ANSI code page and is
// opened for each line, so that a run that stops midway leaves every line before.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace runlog {

// The path of a "/log=PATH" argument ("/log=" in any letter case), or nothing for any
// other argument. "/log=" with no path is not a run log either.
std::optional<std::string> RunLogPath(const std::string& argument);

class RunLog {
public:
    RunLog() = default;  // writes nothing
    RunLog(platform::Platform& os, std::string path);

    // "<time> <program> <arguments>" as the run starts.
    void Start(const std::string& program, const std::vector<std::string>& arguments);
    // "<time> step <number> <name>: <outcome>", then ", error <n>: <system text>" for a
    // non-zero error.
    void Step(int number, const std::string& name, const std::string& outcome, std::uint32_t error = 0);
    // "<time> <text>": what the run has to say outside its steps.
    void Note(const std::string& text);
    // "<time> exit status <status>".
    void Exit(int status);

private:
    void Write(const std::string& text);
    platform::Platform* os_ = nullptr;
    std::string path_;
};

}  // namespace runlog
