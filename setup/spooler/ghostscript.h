// Ghostscript for the PDF back-end: a registered installation, the converter program
// of the medium, or the medium's own copy in its "GNUGS" folder.
#pragma once

#include <cstdint>

#include "setup/step_result.h"

namespace setup {

struct SetupContext;

// The medium's Ghostscript DLL is accepted at exactly this size.
inline constexpr std::uint64_t kGhostscriptDllSize = 3510272;

// True when a Ghostscript version registered in the 32-bit registry view has
// "gswin32c.exe" beside its DLL. Roots are searched in a fixed order; the first match ends
// the search.
bool FindInstalledGhostscript(SetupContext& context);

// Makes Ghostscript available and sets `ghostscriptDeployed` when the converter was
// started or the "GNUGS" folder was copied whole. With the setting "GNUGS" on, the
// medium's copy must be present and deployed; otherwise the run ends with 108.
StepResult PrepareGhostscript(SetupContext& context);

}  // namespace setup
