// The installer's small dialog layer, in place of an application framework's dialog
// class: a window made from a dialog template of the program's resources, run modally
// (DoModal) or created modeless, whose messages reach overridable members. Values move
// between members and controls through one exchange function, in either direction.
#pragma once

#include <string>

#include "platform/result.h"
#include "platform/win32/windows_api.h"

namespace setup::ui {

// The program's own resource `id` as the resource functions take it.
LPCSTR ResourceName(UINT id);

// The whole text of a window or control.
platform::Win32Value<std::string> WindowText(HWND window);

// String `id` of the program's string table, at most 255 characters; empty when there is
// no such string.
std::string LoadResourceString(UINT id);

// One exchange between a dialog's members and its controls: into the controls when the
// dialog opens, back into the members when its values are taken.
class DataExchange {
public:
    DataExchange(HWND dialog, bool fromControls) : dialog_(dialog), fromControls_(fromControls) {}

    bool fromControls() const { return fromControls_; }
    // Binds `control` to the dialog's control `id`.
    void Control(int id, HWND& control);
    // The text of control `id`: `value` into the control, or the control's text into `value`.
    void Text(int id, std::string& value);
    // False once a control was missing or could not be read or written.
    bool ok() const { return ok_; }

private:
    HWND dialog_;
    bool fromControls_;
    bool ok_ = true;
};

class Dialog {
public:
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog until it ends and returns how: IDOK, IDCANCEL, the value given to
    // EndDialog, or -1 when its window could not be made. Its owner, the safe owner of the
    // parent given at construction, cannot be used meanwhile.
    INT_PTR DoModal();

    // The window, or none before it is made and after it is gone.
    HWND GetSafeHwnd() const { return window_; }

    // The window that may own a popup for `window`: the nearest window at or above it that
    // is not a child window. None for none, and for a handle that names no window.
    static HWND GetSafeOwner(HWND window);

    // Places the window in the middle of its owner, or of the screen when it has none.
    void CenterWindow();

    // Exchanges the values; false when a control could not be read or written.
    bool UpdateData(bool fromControls);

    // Offered each message of the dialog's loop before it is dispatched (for a modeless
    // dialog, of the loop that pumps its messages); true when the dialog has handled it.
    // Here: the dialog keys (Tab, Enter, Escape, mnemonics).
    virtual bool PreTranslateMessage(MSG& message);

    // Destroys the window, when there is one.
    virtual void DestroyWindow();

protected:
    Dialog(UINT templateId, HWND parent);

    // Makes the window modeless, as a popup of `parent`: false when it could not be made.
    bool CreateModeless(HWND parent);
    // Disables `window` when it is enabled: true when this call disabled it.
    static bool DisableWindow(HWND window);
    // Ends a modal dialog with `result` once the message being handled returns; hides a
    // modeless one.
    void EndDialog(INT_PTR result);

    virtual void DoDataExchange(DataExchange& exchange);
    // Exchanges the values into the controls. TRUE lets the dialog manager give the focus to
    // the first control; FALSE when the dialog has set the focus itself.
    virtual BOOL OnInitDialog();
    // Takes the values back and ends the dialog with IDOK; stays open when they cannot be read.
    virtual void OnOK();
    // Ends the dialog with IDCANCEL, without taking the values.
    virtual void OnCancel();
    // A command of a control other than OK and Cancel.
    virtual void OnCommand(int id, int notification);
    // Any other message: true when handled, with what the dialog procedure returns in `result`.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool MakeWindow(HWND parent);
    void RunModalLoop();

    UINT templateId_;
    HWND parent_;
    HWND window_ = nullptr;
    bool modal_ = false;
    bool ended_ = false;
    INT_PTR result_ = IDCANCEL;
};

}  // namespace setup::ui
