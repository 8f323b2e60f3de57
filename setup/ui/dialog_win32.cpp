#include "setup/ui/dialog_win32.h"

#include <algorithm>

namespace setup::ui {

LPCSTR ResourceName(UINT id) {
    return reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(id));
}

platform::Win32Value<std::string> WindowText(HWND window) {
    SetLastError(ERROR_SUCCESS);
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) {
        const DWORD error = GetLastError();
        if (error != ERROR_SUCCESS) return platform::Win32Value<std::string>::Failed(error);
        return platform::Win32Value<std::string>::Ok({});
    }
    // The length may count more than the text has (double-byte text), never less.
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SetLastError(ERROR_SUCCESS);
    const int copied = GetWindowTextA(window, text.data(), length + 1);
    if (copied <= 0) {
        const DWORD error = GetLastError();
        if (error != ERROR_SUCCESS) return platform::Win32Value<std::string>::Failed(error);
    }
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return platform::Win32Value<std::string>::Ok(std::move(text));
}

std::string LoadResourceString(UINT id) {
    char text[256] = {};
    const int length = LoadStringA(GetModuleHandleA(nullptr), id, text, static_cast<int>(sizeof(text)));
    return std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

// ---- exchange ------------------------------------------------------------------------

void DataExchange::Control(int id, HWND& control) {
    control = GetDlgItem(dialog_, id);
    if (control == nullptr) ok_ = false;
}

void DataExchange::Text(int id, std::string& value) {
    const HWND control = GetDlgItem(dialog_, id);
    if (control == nullptr) {
        ok_ = false;
        return;
    }
    if (!fromControls_) {
        if (!SetWindowTextA(control, value.c_str())) ok_ = false;
        return;
    }
    auto text = WindowText(control);
    if (text) {
        value = std::move(text).value();
    } else {
        ok_ = false;
    }
}

// ---- the dialog ------------------------------------------------------------------------

Dialog::Dialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

Dialog::~Dialog() {
    if (window_ == nullptr) return;
    // The object is going: the window's last messages no longer reach it.
    (void)SetWindowLongPtrA(window_, DWLP_USER, 0);
    (void)::DestroyWindow(window_);
    window_ = nullptr;
}

bool Dialog::DisableWindow(HWND window) {
    if (window == nullptr || !IsWindowEnabled(window)) return false;
    (void)EnableWindow(window, FALSE);  // answers the earlier state, not whether it worked
    return !IsWindowEnabled(window);
}

HWND Dialog::GetSafeOwner(HWND window) {
    if (window == nullptr || !IsWindow(window)) return nullptr;
    // A popup cannot be owned by a child window: climb to the window that holds it.
    while (window != nullptr && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0) {
        window = GetParent(window);
    }
    return window;
}

bool Dialog::MakeWindow(HWND parent) {
    ended_ = false;
    const HWND made = CreateDialogParamA(GetModuleHandleA(nullptr), ResourceName(templateId_), parent,
                                         &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
    // The procedure has kept the window since WM_INITDIALOG; a window destroyed while it was
    // being made counts as not made.
    return made != nullptr && window_ == made;
}

bool Dialog::CreateModeless(HWND parent) {
    modal_ = false;
    return MakeWindow(parent);
}

INT_PTR Dialog::DoModal() {
    const HWND owner = GetSafeOwner(parent_);
    // The owner is given back only what this dialog took from it.
    const bool ownerDisabled = DisableWindow(owner);
    modal_ = true;
    result_ = -1;
    if (MakeWindow(owner)) {
        result_ = IDCANCEL;  // a window that goes without an answer was not accepted
        // A template without the visible style is shown here, as the system's modal
        // dialogs are.
        if (!ended_ && !IsWindowVisible(window_)) (void)ShowWindow(window_, SW_SHOWNORMAL);
        RunModalLoop();
    }
    if (window_ != nullptr) {
        // Hidden before the owner takes its input back, so that the owner, not another
        // program, becomes the active window.
        (void)SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (ownerDisabled) (void)EnableWindow(owner, TRUE);
    if (owner != nullptr && window_ != nullptr && GetActiveWindow() == window_) (void)SetActiveWindow(owner);
    DestroyWindow();
    modal_ = false;
    return result_;
}

void Dialog::RunModalLoop() {
    MSG message{};
    while (!ended_ && window_ != nullptr) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == -1) {  // the queue cannot be read: the dialog cannot go on
            result_ = -1;
            return;
        }
        if (got == 0) {  // WM_QUIT belongs to the loop that runs the dialog: hand it on
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (!PreTranslateMessage(message)) {
            (void)TranslateMessage(&message);
            (void)DispatchMessageA(&message);
        }
    }
}

void Dialog::EndDialog(INT_PTR result) {
    result_ = result;
    ended_ = true;
    if (window_ == nullptr) return;
    if (modal_) {
        // Wakes the loop should the end come from a message sent by another thread, which
        // GetMessage handles without returning.
        (void)PostMessageA(window_, WM_NULL, 0, 0);
    } else {
        (void)ShowWindow(window_, SW_HIDE);
    }
}

void Dialog::DestroyWindow() {
    if (window_ != nullptr) {
        // WM_NCDESTROY clears window_; a window that is already gone is forgotten here.
        if (!::DestroyWindow(window_)) window_ = nullptr;
    }
}

void Dialog::CenterWindow() {
    RECT place{};
    RECT workArea{};
    if (!GetWindowRect(window_, &place) || !SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0)) return;
    // Over the owner when it can be seen, otherwise over the screen; never off the screen.
    RECT around = workArea;
    const HWND owner = GetWindow(window_, GW_OWNER);
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner) && !GetWindowRect(owner, &around)) {
        around = workArea;
    }
    const LONG width = place.right - place.left;
    const LONG height = place.bottom - place.top;
    LONG x = around.left + (around.right - around.left - width) / 2;
    LONG y = around.top + (around.bottom - around.top - height) / 2;
    x = std::max(workArea.left, std::min(x, workArea.right - width));
    y = std::max(workArea.top, std::min(y, workArea.bottom - height));
    (void)SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Dialog::UpdateData(bool fromControls) {
    if (window_ == nullptr) return false;
    DataExchange exchange(window_, fromControls);
    DoDataExchange(exchange);
    return exchange.ok();
}

bool Dialog::PreTranslateMessage(MSG& message) {
    return window_ != nullptr && IsDialogMessageA(window_, &message);
}

void Dialog::DoDataExchange(DataExchange&) {}

BOOL Dialog::OnInitDialog() {
    // A template that lacks a control the exchange names shows the values it could place.
    (void)UpdateData(false);
    return TRUE;
}

void Dialog::OnOK() {
    if (!UpdateData(true)) return;
    EndDialog(IDOK);
}

void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void Dialog::OnCommand(int, int) {}

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) {
    return false;
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<Dialog*>(lParam);
        SetLastError(ERROR_SUCCESS);
        if (SetWindowLongPtrA(window, DWLP_USER, lParam) == 0 && GetLastError() != ERROR_SUCCESS) {
            // Without its object the dialog could not answer anything: it is not made.
            (void)::DestroyWindow(window);
            return FALSE;
        }
        dialog->window_ = window;
        RECT before{};
        const bool placed = GetWindowRect(window, &before) != FALSE;
        const BOOL result = dialog->OnInitDialog();
        // A dialog that has not placed itself is centred, as the framework's dialogs are.
        RECT after{};
        if (placed && dialog->window_ != nullptr && GetWindowRect(window, &after) && EqualRect(&before, &after) &&
            (GetWindowLongA(window, GWL_STYLE) & (DS_CENTER | DS_ABSALIGN)) == 0) {
            dialog->CenterWindow();
        }
        return result;
    }
    auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (dialog == nullptr) return FALSE;  // messages before WM_INITDIALOG
    return dialog->Handle(message, wParam, lParam);
}

INT_PTR Dialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == IDOK) {
            OnOK();
        } else if (id == IDCANCEL) {
            OnCancel();
        } else {
            OnCommand(id, HIWORD(wParam));
        }
        return TRUE;
    }
    case WM_NCDESTROY:
        window_ = nullptr;
        return FALSE;
    default: {
        INT_PTR result = FALSE;
        return OnMessage(message, wParam, lParam, result) ? result : FALSE;
    }
    }
}

}  // namespace setup::ui
