// Putting the product's files in place: the destination folder, the copy list with the
// uninstaller that fits the platform, and the flat copy of a medium folder.
#pragma once

#include <string>

#include "common/product/platform_rows.h"
#include "platform/platform.h"
#include "setup/destination.h"
#include "setup/install_state.h"
#include "setup/step_feedback.h"
#include "setup/step_result.h"

namespace setup {

inline constexpr char kPagemillFailedText[] = "Install Pagemill failed. (Err-109)";

// Creates `destinationFolder` with at most two missing levels above it. Fails with 404
// for a folder CheckDestinationFolder refuses (one the product may not be installed into,
// or one too long for the copy paths), with 403 when the parent cannot be made and has no
// usable parent of its own, with 404 when the destination is still missing afterwards.
StepResult CreateDestinationFolder(platform::FileSystem& files, const DestinationJudge& judge,
                                   const std::string& destination);

struct DeployedFiles {
    StepResult result;
    std::string uninstallerPath;  // where the uninstaller was copied to; empty when the copy list failed
};

// Copies the product files from the medium, registers the COM server and copies the
// uninstaller. Fails with 108 or 110, or with 109 after it has shown or logged the
// "(Err-109)" text itself.
DeployedFiles DeployProductFiles(platform::FileSystem& files, platform::Processes& processes,
                                 const product::PlatformRow& row, const InstallState& state, StepFeedback& feedback);

// Copies the plain files of the medium's folder `folderName` into the destination
// folder of the same name, clearing their read-only attribute. Subfolders are left out;
// a failed file does not stop the others. True when everything was copied.
bool CopyFolderFiles(platform::FileSystem& files, const InstallState& state, const std::string& folderName);

}  // namespace setup
