#include "tests/fake_windows/fake_dialogs.h"

namespace fake {
namespace {

class FakeProgress : public setup::InstallProgress {
public:
    explicit FakeProgress(FakeSetupDialogs& owner) : owner_(owner) {}
    void StepIt() override {
        ++owner_.progressSteps;
        owner_.journal().Add("StepIt");
    }
    void Close() override {
        ++owner_.progressCloses;
        owner_.journal().Add("CloseProgress");
    }

private:
    FakeSetupDialogs& owner_;
};

}  // namespace

setup::LicenceAnswer FakeSetupDialogs::RunLicenceAgreement(const std::string& prompt, const std::string& path) {
    journal_.Add(licenceCanBeShown ? "LicenceDialog" : "LicenceDialog not shown");
    licencePrompt = prompt;
    licencePath = path;
    if (!licenceCanBeShown) return setup::LicenceAnswer::NotShown;
    return acceptLicence ? setup::LicenceAnswer::Accepted : setup::LicenceAnswer::Refused;
}

std::optional<std::string> FakeSetupDialogs::RunDestinationFolder(const std::string& proposed,
                                                                  const setup::DestinationRefusal& refusal) {
    journal_.Add("DestinationDialog " + proposed);
    proposedDestination = proposed;
    const std::optional<std::string> entered = destinationAnswer.value_or(proposed);
    // OK with the entered folder, as the real dialog asks.
    const std::string reason = entered ? refusal(*entered) : std::string();
    if (reason.empty()) return entered;
    journal_.Add("DestinationRefused " + *entered);
    destinationRefusals.push_back(reason);
    return std::nullopt;
}

std::unique_ptr<setup::InstallProgress> FakeSetupDialogs::OpenProgress(const std::string& status) {
    journal_.Add("OpenProgress " + status);
    if (!progressCanBeCreated) return nullptr;
    return std::make_unique<FakeProgress>(*this);
}

}  // namespace fake
