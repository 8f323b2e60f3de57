// The installer's windows that run their own loops: the licence agreement, the
// destination folder dialog and the progress window.
#pragma once

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

class SetupDialogs {
public:
    virtual ~SetupDialogs() = default;
    // False when the user refuses (No, Escape, close box).
    virtual bool RunLicenceAgreement(const std::string& prompt, const std::string& licencePath) = 0;
    // The folder chosen, or nothing when cancelled.
    virtual std::optional<std::string> RunDestinationFolder(const std::string& proposed) = 0;
    // The progress window (range 0 to 10, Cancel disabled), or nothing when it could
    // not be created; the run then goes on without it.
    virtual std::unique_ptr<InstallProgress> OpenProgress(const std::string& status) = 0;
};

}  // namespace setup
