// The installer's dialogs with scripted answers, writing what they were asked to the
// fake machine's journal.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "setup/ui/setup_dialogs.h"
#include "tests/fake_windows/fake_windows.h"

namespace fake {

class FakeSetupDialogs : public setup::SetupDialogs {
public:
    explicit FakeSetupDialogs(Journal& journal) : journal_(journal) {}

    bool acceptLicence = true;
    bool licenceCanBeShown = true;
    // Nothing: the dialog is cancelled. A text: what the user leaves in the field.
    // Unset (the default): the proposed folder is taken as it is.
    std::optional<std::optional<std::string>> destinationAnswer;
    // The reasons OK was refused with; after a refusal the user cancels.
    std::vector<std::string> destinationRefusals;
    bool progressCanBeCreated = true;

    std::string licencePrompt;
    std::string licencePath;
    std::string proposedDestination;
    int progressSteps = 0;
    int progressCloses = 0;

    setup::LicenceAnswer RunLicenceAgreement(const std::string& prompt, const std::string& licencePath) override;
    std::optional<std::string> RunDestinationFolder(const std::string& proposed,
                                                    const setup::DestinationRefusal& refusal) override;
    std::unique_ptr<setup::InstallProgress> OpenProgress(const std::string& status) override;

    Journal& journal() { return journal_; }

private:
    Journal& journal_;
};

}  // namespace fake
