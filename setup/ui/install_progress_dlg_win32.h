// The progress window: a status line and a bar, modeless, while the installation works.
// The installer has no message loop of its own, so this window pumps the thread's
// messages at every step. While it is open its owner is disabled, as for a modal dialog.
// The window only shows how far the work is: a call on it that fails leaves it showing less
// and the work goes on.
#pragma once

#include <string>

#include "setup/ui/dialog_win32.h"

namespace setup::ui {

class CInstallProgressDlg : public Dialog {
public:
    // The caption is string `captionId` of the string table; 0 means "Pagemill Setup".
    explicit CInstallProgressDlg(UINT captionId = 0);
    ~CInstallProgressDlg() override;

    // Creates and shows the window as a popup of `parent`, disabling its safe owner when
    // that is enabled. FALSE when the window could not be made; the owner is then as it was.
    BOOL Create(HWND parent);

    // The calls below need the window (a successful Create).
    void SetRange(int lower, int upper);
    void SetStep(int step);
    // Handles the pending messages of the thread, then advances the bar by one step.
    void StepIt();
    void SetStatus(const std::string& text);
    // Handles every message waiting for any window of the thread, and returns when none is left.
    void PumpMessages();

    // Gives the owner back its input (only when Create took it), then closes the window.
    void DestroyWindow() override;

protected:
    // For a window made from another template (`templateId`).
    CInstallProgressDlg(UINT captionId, UINT templateId);

    void DoDataExchange(DataExchange& exchange) override;
    BOOL OnInitDialog() override;
    // OK and Cancel, however they arrive, leave the window open and the work going on.
    void OnOK() override;
    void OnCancel() override;

private:
    void SendRange();
    void GiveOwnerBack();

    HWND progressBar_ = nullptr;
    UINT captionId_;
    int lower_ = 0;
    int upper_ = 100;
    int step_ = 10;
    HWND owner_ = nullptr;
    bool ownerDisabled_ = false;  // TRUE while this window has disabled its owner
};

}  // namespace setup::ui
