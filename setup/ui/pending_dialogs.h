// Stand-ins for the licence dialog, the destination dialog and the progress window
// until their windows are built: the licence counts as accepted, the proposed folder
// is taken, and the run goes on without a progress window.
#pragma once

#include "setup/ui/setup_dialogs.h"

namespace setup {

class PendingDialogs : public SetupDialogs {
public:
    bool RunLicenceAgreement(const std::string&, const std::string&) override { return true; }
    std::optional<std::string> RunDestinationFolder(const std::string& proposed) override { return proposed; }
    std::unique_ptr<InstallProgress> OpenProgress(const std::string&) override { return nullptr; }
};

}  // namespace setup
