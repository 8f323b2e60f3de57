#include "setup/ui/install_progress_dlg_win32.h"

#include <commctrl.h>

#include "platform/win32/common_controls.h"
#include "resources/setup/setup_dialog_ids.h"
#include "resources/setup/setup_strings.h"

namespace setup::ui {

CInstallProgressDlg::CInstallProgressDlg(UINT captionId) : CInstallProgressDlg(captionId, IDD_INSTALL_PROGRESS) {}

CInstallProgressDlg::CInstallProgressDlg(UINT captionId, UINT templateId)
    : Dialog(templateId, nullptr), captionId_(captionId != 0 ? captionId : IDS_PROGRESS_CAPTION) {}

CInstallProgressDlg::~CInstallProgressDlg() {
    CInstallProgressDlg::DestroyWindow();
}

BOOL CInstallProgressDlg::Create(HWND parent) {
    owner_ = GetSafeOwner(parent);
    ownerDisabled_ = DisableWindow(owner_);
    // The bar's window class; when it cannot be registered the window is not made either.
    (void)platform::win32::InitCommonControlsAtRunTime(ICC_PROGRESS_CLASS);
    if (!CreateModeless(parent)) {
        GiveOwnerBack();
        return FALSE;
    }
    return TRUE;
}

void CInstallProgressDlg::DoDataExchange(DataExchange& exchange) {
    exchange.Control(IDC_PROGRESS_BAR, progressBar_);
}

BOOL CInstallProgressDlg::OnInitDialog() {
    Dialog::OnInitDialog();
    SendRange();
    (void)SendMessageA(progressBar_, PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
    (void)SendMessageA(progressBar_, PBM_SETPOS, static_cast<WPARAM>(lower_), 0);
    (void)SetWindowTextA(GetSafeHwnd(), LoadResourceString(captionId_).c_str());
    return TRUE;
}

void CInstallProgressDlg::SetRange(int lower, int upper) {
    lower_ = lower;
    upper_ = upper;
    SendRange();
}

// The bounds travel as 16-bit halves of one value.
void CInstallProgressDlg::SendRange() {
    const auto low = static_cast<WORD>(lower_);
    const auto high = static_cast<WORD>(upper_);
    (void)SendMessageA(progressBar_, PBM_SETRANGE, 0, static_cast<LPARAM>(MAKELONG(low, high)));
}

void CInstallProgressDlg::SetStep(int step) {
    step_ = step;
    (void)SendMessageA(progressBar_, PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
}

void CInstallProgressDlg::StepIt() {
    PumpMessages();
    (void)SendMessageA(progressBar_, PBM_STEPIT, 0, 0);
}

void CInstallProgressDlg::SetStatus(const std::string& text) {
    (void)SetDlgItemTextA(GetSafeHwnd(), IDC_PROGRESS_STATUS, text.c_str());
}

void CInstallProgressDlg::PumpMessages() {
    MSG message{};
    bool quit = false;
    int quitCode = 0;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {  // kept for the loop it belongs to
            quit = true;
            quitCode = static_cast<int>(message.wParam);
            continue;
        }
        if (!PreTranslateMessage(message)) {
            (void)TranslateMessage(&message);
            (void)DispatchMessageA(&message);
        }
    }
    if (quit) PostQuitMessage(quitCode);
}

void CInstallProgressDlg::OnOK() {}

void CInstallProgressDlg::OnCancel() {}

void CInstallProgressDlg::DestroyWindow() {
    // The owner first, so that it becomes the active window when this one goes.
    GiveOwnerBack();
    Dialog::DestroyWindow();
}

void CInstallProgressDlg::GiveOwnerBack() {
    if (ownerDisabled_ && owner_ != nullptr) (void)EnableWindow(owner_, TRUE);
    ownerDisabled_ = false;
}

}  // namespace setup::ui
