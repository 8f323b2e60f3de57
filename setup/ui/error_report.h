// How the installer tells about a failed step: the generic error box, a step's own text
// shown or logged, and the error log "Error.log" in the destination folder.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "setup/install_state.h"

namespace setup {

struct SetupContext;

// Message 402 "Install %s failed." filled with the product name, then, when `lastError`
// is not 0 and the system has a text for it, a line break and that text. Shows nothing
// in silent mode. Always gives 0. `messageId` names the failing step; the box shows
// message 402 whatever it is.
int ReportSetupError(SetupContext& context, std::uint32_t messageId, std::uint32_t lastError);

// The text of the ReportSetupError box (without showing it).
std::string ComposeSetupErrorMessage(platform::Platform& os, const InstallState& state,
                                     std::uint32_t lastError);

// Appends `line` and CR LF to the error log. Writes nothing when the log cannot be
// opened, the path being empty included.
void AppendToErrorLog(platform::FileSystem& files, const std::string& errorLogPath,
                      std::string line);

// A step's own failure text: an OK box when interactive, a line of the error log when
// silent, never both.
void ReportComposedFailure(SetupContext& context, const std::string& text);

// Text of one of the installer's own messages with its "%s" filled in.
std::string LoadMessage(platform::UserInterface& ui, std::uint32_t id, std::size_t capacity,
                        const std::string& productName);

}  // namespace setup
