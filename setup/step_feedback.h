// What the steps tell the person at the machine while they run: the progress bar, the
// error box and the error log "Error.log" in the destination folder. One object per run,
// handed to the steps that report or advance the bar.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/runlog/run_log.h"
#include "platform/platform.h"
#include "setup/install_state.h"
#include "setup/ui/setup_dialogs.h"

namespace setup {

class StepFeedback {
public:
    // Reads whether the run is silent and the product's name from `state` as the
    // sequence fills it in; `runLog` is the run's log, whatever it is set to later.
    StepFeedback(platform::Platform& os, const InstallState& state, runlog::RunLog& runLog)
        : os_(os), state_(state), runLog_(runLog) {}

    // The progress window from now on; nothing shows when `progress` is empty.
    void ShowProgress(std::unique_ptr<InstallProgress> progress) { progress_ = std::move(progress); }
    // Advances the progress window by one step, handling pending messages first. Nothing
    // when silent or when there is no window.
    void Step();
    // Closes the progress window if it is shown; a step that reports its own failure
    // text closes it first.
    void CloseProgress();

    // From now on the error log is "Error.log" in `destinationFolder`.
    void PointErrorLogAt(const std::string& destinationFolder);
    const std::string& ErrorLogPath() const { return errorLogPath_; }
    // Appends `line` and CR LF to the error log; nothing before it is pointed anywhere.
    void AppendToErrorLog(const std::string& line);

    // The generic error box: message 402 "Install %s failed." and, when `lastError` is
    // not 0 and the system has a text for it, that text. Nothing in silent mode.
    void ReportError(std::uint32_t lastError);
    // A step's own failure text: an OK box when interactive, a line of the error log when
    // silent, never both.
    void ReportFailure(const std::string& text);
    // An OK box that is shown also in silent mode. A silent run on a window station
    // nobody sees (a service's, a deployment tool's SYSTEM session) would wait for it for
    // ever: there its text goes to the run log and the error log instead, and the run
    // goes on as after the box.
    void ShowEvenWhenSilent(const std::string& text, const std::string& caption);
    // Why the run ends before it has changed anything: an OK box when interactive, a line
    // of the run log when silent.
    void TellRefusal(const std::string& text, const std::string& caption);
    // A silent run on an invisible window station: nobody can answer a box.
    bool NobodyCanAnswer();

private:
    platform::Platform& os_;
    const InstallState& state_;
    runlog::RunLog& runLog_;
    std::optional<bool> stationVisible_;  // asked once, when first needed
    std::unique_ptr<InstallProgress> progress_;
    std::string errorLogPath_;  // empty until the destination folder exists
};

}  // namespace setup
