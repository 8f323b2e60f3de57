// The destination folder: one editable path and a Browse button that opens the shell's
// folder browser at the folder last set. OK takes a path that is not empty and that the
// refusal (when one is set) does not refuse; Cancel, Escape and the close box end with
// IDCANCEL and leave the folder as it was set.
#pragma once

#include <string>

#include "setup/ui/setup_dialogs.h"

#include "setup/ui/dialog_win32.h"

namespace setup::ui {

class CDestinationFolderDlg : public Dialog {
public:
    explicit CDestinationFolderDlg(HWND parent = nullptr);

    // Set by the caller before DoModal, read after IDOK; Browse sets it too.
    std::string folder;
    // Asked on OK about the field's text: a reason keeps the dialog open behind a box
    // that gives it. Unset: only an empty field is refused.
    DestinationRefusal refusal;

    // The folder browser's callback: once the browser is up, it selects the path `data`.
    static int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM parameter, LPARAM data);

protected:
    void DoDataExchange(DataExchange& exchange) override;
    void OnOK() override;
    void OnCommand(int id, int notification) override;

private:
    void OnBrowse();

    HWND folderControl_ = nullptr;
};

}  // namespace setup::ui
