// The installer's windows that run their own loops: the licence agreement, the
// destination folder dialog and the progress window.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace setup {

class InstallProgress {
public:
    virtual ~InstallProgress() = default;
    // Handles pending window messages, then advances the bar by one step.
    virtual void StepIt() = 0;
    // Closes the window and re-enables the window that owned it.
    virtual void Close() = 0;
};

enum class LicenceAnswer {
    Accepted,
    Refused,   // No, Escape, the close box
    NotShown,  // the dialog could not be made: the licence was never seen
};

// Why a folder given in the destination dialog cannot be used, as a sentence for the
// person choosing; empty when it can be used.
using DestinationRefusal = std::function<std::string(const std::string& folder)>;

class SetupDialogs {
public:
    virtual ~SetupDialogs() = default;
    virtual LicenceAnswer RunLicenceAgreement(const std::string& prompt, const std::string& licencePath) = 0;
    // The folder chosen, or nothing when cancelled. OK with a folder that `refusal`
    // refuses shows its reason and keeps the dialog open.
    virtual std::optional<std::string> RunDestinationFolder(const std::string& proposed,
                                                            const DestinationRefusal& refusal) = 0;
    // The progress window (range 0 to 10, Cancel disabled), or nothing when it could
    // not be created; the run then goes on without it.
    virtual std::unique_ptr<InstallProgress> OpenProgress(const std::string& status) = 0;
};

}  // namespace setup
