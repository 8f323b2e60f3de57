#include "setup/step_feedback.h"

#include "common/product/product_files.h"
#include "setup/ui/error_report.h"

namespace setup {

void StepFeedback::Step() {
    if (!state_.silent && progress_) progress_->StepIt();
}

void StepFeedback::CloseProgress() {
    if (progress_) {
        progress_->Close();
        progress_.reset();
    }
}

void StepFeedback::PointErrorLogAt(const std::string& destinationFolder) {
    errorLogPath_ = destinationFolder + "\\" + product::kErrorLogName;
}

void StepFeedback::AppendToErrorLog(const std::string& line) {
    setup::AppendToErrorLog(os_.files, errorLogPath_, line);
}

void StepFeedback::ReportError(std::uint32_t lastError) {
    if (state_.silent) return;
    const std::string message = ComposeSetupErrorMessage(os_, state_, lastError);
    (void)os_.ui.MessageBox(message, SetupCaption(state_), platform::MessageBoxButtons::Ok);
}

bool StepFeedback::NobodyCanAnswer() {
    if (!state_.silent) return false;
    // A station whose flags cannot be read is taken for the visible one, as before.
    if (!stationVisible_) stationVisible_ = os_.ui.IsWindowStationVisible().ValueOr(true);
    return !*stationVisible_;
}

void StepFeedback::ShowEvenWhenSilent(const std::string& text, const std::string& caption) {
    if (NobodyCanAnswer()) {
        runLog_.Note("box not shown, no visible window station: " + text);
        AppendToErrorLog(text);
        return;
    }
    (void)os_.ui.MessageBox(text, caption, platform::MessageBoxButtons::Ok);
}

void StepFeedback::TellRefusal(const std::string& text, const std::string& caption) {
    if (state_.silent) {
        runLog_.Note(text);
    } else {
        (void)os_.ui.MessageBox(text, caption, platform::MessageBoxButtons::Ok);
    }
}

void StepFeedback::ReportFailure(const std::string& text) {
    if (state_.silent) {
        AppendToErrorLog(text);
    } else {
        (void)os_.ui.ApplicationMessageBox(text);
    }
}

}  // namespace setup
