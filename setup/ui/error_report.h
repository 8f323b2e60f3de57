// The texts of the installer's error reports and the error log's one write; the steps
// report through StepFeedback.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "setup/install_state.h"

namespace setup {

// Message 402 "Install %s failed." filled with the product name, then, when `lastError`
// is not 0 and the system has a text for it, a line break and that text.
std::string ComposeSetupErrorMessage(platform::Platform& os, const InstallState& state,
                                     std::uint32_t lastError);

// Appends `line` and CR LF to the error log. Writes nothing when the log cannot be
// opened, the path being empty included.
void AppendToErrorLog(platform::FileSystem& files, const std::string& errorLogPath,
                      std::string line);

// Text of one of the installer's own messages with its "%s" filled in.
std::string LoadMessage(platform::UserInterface& ui, std::uint32_t id, std::size_t capacity,
                        const std::string& productName);

}  // namespace setup
