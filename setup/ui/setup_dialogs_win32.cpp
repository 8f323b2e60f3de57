#include "setup/ui/setup_dialogs_win32.h"

#include "setup/ui/destination_folder_dlg_win32.h"
#include "setup/ui/install_progress_dlg_win32.h"
#include "setup/ui/licence_agreement_dlg_win32.h"

namespace setup {
namespace {

class Win32InstallProgress : public InstallProgress {
public:
    ui::CInstallProgressDlg window;

    void StepIt() override { window.StepIt(); }
    void Close() override { window.DestroyWindow(); }
};

}  // namespace

LicenceAnswer Win32SetupDialogs::RunLicenceAgreement(const std::string& prompt, const std::string& licencePath) {
    ui::CLicenceAgreementDlg dialog;
    dialog.questionText = prompt;
    dialog.licencePath = licencePath;
    switch (dialog.DoModal()) {
        case -1: return LicenceAnswer::NotShown;  // the window could not be made
        case IDCANCEL: return LicenceAnswer::Refused;
        default: return LicenceAnswer::Accepted;
    }
}

std::optional<std::string> Win32SetupDialogs::RunDestinationFolder(const std::string& proposed,
                                                                   const DestinationRefusal& refusal) {
    ui::CDestinationFolderDlg dialog;
    dialog.folder = proposed;
    dialog.refusal = refusal;
    if (dialog.DoModal() == IDCANCEL) return std::nullopt;
    return dialog.folder;
}

std::unique_ptr<InstallProgress> Win32SetupDialogs::OpenProgress(const std::string& status) {
    auto progress = std::make_unique<Win32InstallProgress>();
    // Owned by the window active now; with no window of the installer open there is none.
    if (!progress->window.Create(GetActiveWindow())) return nullptr;
    (void)EnableWindow(GetDlgItem(progress->window.GetSafeHwnd(), IDCANCEL), FALSE);
    progress->window.SetStep(1);
    progress->window.SetRange(0, 10);
    progress->window.SetStatus(status);
    // Painted now: the first steps copy files before the window's messages are handled.
    (void)UpdateWindow(progress->window.GetSafeHwnd());
    return progress;
}

}  // namespace setup
