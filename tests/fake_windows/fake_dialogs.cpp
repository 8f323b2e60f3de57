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

bool FakeSetupDialogs::RunLicenceAgreement(const std::string& prompt, const std::string& path) {
    journal_.Add("LicenceDialog");
    licencePrompt = prompt;
    licencePath = path;
    return acceptLicence;
}

std::optional<std::string> FakeSetupDialogs::RunDestinationFolder(const std::string& proposed) {
    journal_.Add("DestinationDialog " + proposed);
    proposedDestination = proposed;
    if (destinationAnswer.has_value()) return *destinationAnswer;
    return proposed;
}

std::unique_ptr<setup::InstallProgress> FakeSetupDialogs::OpenProgress(const std::string& status) {
    journal_.Add("OpenProgress " + status);
    if (!progressCanBeCreated) return nullptr;
    return std::make_unique<FakeProgress>(*this);
}

}  // namespace fake
