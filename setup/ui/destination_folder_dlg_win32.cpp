#include "setup/ui/destination_folder_dlg_win32.h"

#include "platform/win32/application_box.h"
#include "platform/win32/unique_handles.h"
#include "resources/setup/setup_dialog_ids.h"

namespace setup::ui {
namespace {

constexpr DWORD kPathCapacity = MAX_PATH + 1;  // 261 characters, as the shell's paths

}  // namespace

CDestinationFolderDlg::CDestinationFolderDlg(HWND parent) : Dialog(IDD_DESTINATION_FOLDER, parent) {}

void CDestinationFolderDlg::DoDataExchange(DataExchange& exchange) {
    exchange.Control(IDC_DESTINATION_FOLDER, folderControl_);
    exchange.Text(IDC_DESTINATION_FOLDER, folder);
}

void CDestinationFolderDlg::OnOK() {
    // A field that cannot be read is treated as empty. A folder the installation would
    // refuse once the work has begun is refused here, while another can still be chosen.
    const auto typed = WindowText(folderControl_);
    std::string reason = "Please enter a destination folder.";
    if (typed && !typed.value().empty()) reason = refusal ? refusal(typed.value()) : std::string();
    if (!reason.empty()) {
        (void)platform::win32::ShowApplicationMessageBox(GetSafeHwnd(), reason);
        return;
    }
    Dialog::OnOK();
}

void CDestinationFolderDlg::OnCommand(int id, int notification) {
    if (id == IDC_BROWSE && notification == BN_CLICKED) OnBrowse();
}

void CDestinationFolderDlg::OnBrowse() {
    char displayName[kPathCapacity] = {};
    BROWSEINFOA browse{};
    browse.hwndOwner = GetSafeHwnd();
    browse.pidlRoot = nullptr;  // the desktop
    browse.pszDisplayName = displayName;
    browse.lpszTitle = "Select Folder";
    browse.ulFlags = 0;
    browse.lpfn = &CDestinationFolderDlg::BrowseCallback;
    // The folder as last set by the caller or by Browse, not what has been typed since.
    browse.lParam = reinterpret_cast<LPARAM>(folder.c_str());

    const platform::win32::ComApartment com;  // the browser is made of shell objects
    const platform::win32::UniqueItemList chosen(SHBrowseForFolderA(&browse));
    if (!chosen) return;  // cancelled
    char path[kPathCapacity] = {};
    // A folder without a file-system path (a virtual folder) gives an empty path, which OK
    // then refuses.
    if (!SHGetPathFromIDListA(chosen.get(), path)) path[0] = '\0';
    // The field and the member change together, or neither does.
    if (SetWindowTextA(folderControl_, path)) folder = path;
}

int CALLBACK CDestinationFolderDlg::BrowseCallback(HWND browser, UINT message, LPARAM, LPARAM data) {
    // TRUE: the data is a path, not an item list.
    if (message == BFFM_INITIALIZED) (void)SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

}  // namespace setup::ui
