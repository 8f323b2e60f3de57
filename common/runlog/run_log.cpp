#include "common/runlog/run_log.h"

#include <cstdio>
#include <vector>

#include "common/text/text.h"

namespace runlog {
namespace {

constexpr char kSwitch[] = "/log=";

std::string Stamp(const platform::LocalTime& t) {
    char stamp[48];
    std::snprintf(stamp, sizeof(stamp), "%04u-%02u-%02u %02u:%02u:%02u", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return stamp;
}

// The system's text without the line break it ends in.
std::string OneLine(std::string text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

}  // namespace

std::optional<std::string> RunLogPath(const std::string& argument) {
    const std::size_t length = sizeof(kSwitch) - 1;
    if (argument.size() <= length || !text::StartsWithNoCase(argument, kSwitch)) return std::nullopt;
    return argument.substr(length);
}

RunLog::RunLog(platform::Platform& os, std::string path) : os_(&os), path_(std::move(path)) {}

void RunLog::Start(const std::string& program, const std::vector<std::string>& arguments) {
    std::string line = program;
    for (const std::string& argument : arguments) line += " " + argument;
    Write(line);
}

void RunLog::Step(int number, const std::string& name, const std::string& outcome, std::uint32_t error) {
    std::string line = "step " + std::to_string(number) + " " + name + ": " + outcome;
    if (error != 0 && os_ != nullptr) {
        line += ", error " + std::to_string(error);
        const std::string systemText = OneLine(os_->system.FormatSystemMessage(error));
        if (!systemText.empty()) line += ": " + systemText;
    }
    Write(line);
}

void RunLog::Note(const std::string& text) { Write(text); }

void RunLog::Exit(int status) { Write("exit status " + std::to_string(status)); }

void RunLog::Write(const std::string& text) {
    if (os_ == nullptr || path_.empty()) return;
    const std::string line = Stamp(os_->system.GetLocalTime()) + " " + text + "\r\n";
    // A log that cannot be written must never change how the run goes.
    (void)os_->files.AppendToFile(path_, std::vector<std::uint8_t>(line.begin(), line.end()));
}

}  // namespace runlog
