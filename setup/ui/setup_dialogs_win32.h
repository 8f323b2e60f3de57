// The installer's dialogs and progress window as real windows.
#pragma once

#include "setup/ui/setup_dialogs.h"

namespace setup {

class Win32SetupDialogs : public SetupDialogs {
public:
    LicenceAnswer RunLicenceAgreement(const std::string& prompt, const std::string& licencePath) override;
    std::optional<std::string> RunDestinationFolder(const std::string& proposed,
                                                    const DestinationRefusal& refusal) override;
    std::unique_ptr<InstallProgress> OpenProgress(const std::string& status) override;
};

}  // namespace setup
