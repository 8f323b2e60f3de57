// How a step of the install sequence ends: done, or failed with the message id that
// names the failure and the Win32 error behind it.
#pragma once

#include <cstdint>

namespace setup {

struct [[nodiscard]] StepResult {
    std::uint32_t messageId = 0;     // 0: the step succeeded
    std::uint32_t error = 0;         // Win32 error shown with the report
    bool alreadyReported = false;    // the step showed or logged its own text

    static StepResult Done() { return {}; }
    static StepResult Failed(std::uint32_t id, std::uint32_t win32Error) {
        return {id, win32Error, false};
    }
    static StepResult FailedAndReported(std::uint32_t id) { return {id, 0, true}; }
    bool ok() const { return messageId == 0; }
};

}  // namespace setup
