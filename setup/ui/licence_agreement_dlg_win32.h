// The licence agreement: the medium's licence text and the question whether the user
// accepts it. Yes ends with IDOK; No, Escape and the close box with IDCANCEL.
#pragma once

#include <optional>
#include <string>

#include "setup/ui/dialog_win32.h"

namespace setup::ui {

// The bytes of the file at `path`, read whole; nothing when it cannot be opened or read, or
// is too large to hold. A read that ends early gives the bytes it read.
std::optional<std::string> ReadLicenceFile(const std::string& path);

class CLicenceAgreementDlg : public Dialog {
public:
    explicit CLicenceAgreementDlg(HWND parent = nullptr);

    // Set by the caller before DoModal: the question below the text, and the licence file.
    std::string questionText;
    std::string licencePath;

protected:
    void DoDataExchange(DataExchange& exchange) override;
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void ShowLicence(const std::string& text);
    bool OnPaint();

    HWND licenceText_ = nullptr;
    HICON icon_;  // shared with the system: loaded, never destroyed
};

}  // namespace setup::ui
