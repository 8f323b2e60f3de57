// Ghostscript for the PDF back-end: a registered installation, the converter program
// of the medium, or the medium's own copy in its "GNUGS" folder.
#pragma once

#include <cstdint>

#include "common/text/ansi_path.h"
#include "platform/platform.h"
#include "setup/install_state.h"
#include "setup/settings.h"
#include "setup/step_result.h"

namespace setup {

// The registry view a 32-bit program sees, where the 32-bit Ghostscript registers
// itself: the native one for the 32-bit installer, the forced 32-bit one for the 64-bit
// build.
platform::RegistryView GhostscriptView(bool programIs64Bit);

// The medium's Ghostscript DLL is accepted at exactly this size.
inline constexpr std::uint64_t kGhostscriptDllSize = 3510272;

// True when a Ghostscript version registered in the 32-bit registry view has
// "gswin32c.exe" beside its DLL. Roots are searched in a fixed order; the first match ends
// the search.
bool FindInstalledGhostscript(platform::Registry& registry, platform::FileSystem& files, platform::RegistryView view,
                              const text::LeadBytes& leadBytes);

struct PreparedGhostscript {
    StepResult result;
    bool deployed = false;  // the converter was started or the "GNUGS" folder was copied whole
};

// Makes Ghostscript available. With the setting "GNUGS" on, the medium's copy must be
// present and deployed; otherwise the run ends with 108.
PreparedGhostscript PrepareGhostscript(platform::Registry& registry, platform::FileSystem& files,
                                       platform::Processes& processes, const InstallState& state,
                                       const SetupSettings& settings, platform::RegistryView view,
                                       const text::LeadBytes& leadBytes);

}  // namespace setup
