// Drives the installer's dialogs from inside the test program, as a person would: while a
// dialog runs its own loop, the test's steps find its windows, read their controls and
// press keys and buttons.
#pragma once

#include "platform/win32/windows_api.h"

#include <functional>
#include <string>
#include <vector>

namespace wintest {

// Runs steps one after the other while the thread is inside a dialog's loop. Each step
// starts once the thread has handled everything before it: a thread timer's message is
// handed out only when no other message waits, so what an earlier step posted has been
// handled, and the windows painted. A dialog that is still open some seconds after the
// last step is cancelled (and rescued() says so), so that a fault fails the test instead
// of hanging it.
class DialogScript {
public:
    using Step = std::function<void()>;
    explicit DialogScript(std::vector<Step> steps);
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    // Every step has run.
    bool finished() const { return next_ == steps_.size(); }
    // A dialog had to be cancelled after the last step.
    bool rescued() const { return rescued_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD);
    void Arm(UINT milliseconds);

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    UINT_PTR timer_ = 0;
    bool rescued_ = false;
};

// The visible top-level window of this thread with exactly this caption, or none.
HWND FindThreadWindow(const std::string& caption);
// The text of a window or control.
std::string TextOf(HWND window);
std::string ControlText(HWND dialog, int id);
// A key pressed and released on the window that has the focus, through the thread's queue
// (and so through the dialog's keyboard handling).
void PostKey(HWND window, WPARAM key);
// A click on the dialog's button `id`, as the mouse gives it, through the thread's queue:
// what the click opens (a message box) then runs in the dialog's loop, not in the step.
void Click(HWND dialog, int id);

}  // namespace wintest
