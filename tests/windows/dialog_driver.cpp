#include "tests/windows/dialog_driver.h"

namespace wintest {
namespace {

constexpr UINT kRescueAfter = 5000;
DialogScript* running = nullptr;  // the thread's one script; timers carry no data of their own

struct ThreadSearch {
    const std::string* caption;
    HWND found;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<ThreadSearch*>(parameter);
    if (IsWindowVisible(window) && TextOf(window) == *search.caption) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CancelShown(HWND window, LPARAM) {
    if (IsWindowVisible(window)) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

}  // namespace

DialogScript::DialogScript(std::vector<Step> steps) : steps_(std::move(steps)) {
    running = this;
    Arm(USER_TIMER_MINIMUM);
}

DialogScript::~DialogScript() {
    if (timer_ != 0) KillTimer(nullptr, timer_);
    running = nullptr;
}

void DialogScript::Arm(UINT milliseconds) {
    timer_ = SetTimer(nullptr, 0, milliseconds, &DialogScript::Tick);
}

void CALLBACK DialogScript::Tick(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    DialogScript* script = running;
    if (script == nullptr || script->timer_ != timer) return;
    script->timer_ = 0;
    if (script->finished()) {
        // Still running after the last step: end whatever the thread shows.
        script->rescued_ = true;
        EnumThreadWindows(GetCurrentThreadId(), &CancelShown, 0);
        return;
    }
    const std::size_t step = script->next_++;
    script->steps_[step]();
    if (running == script) script->Arm(script->finished() ? kRescueAfter : USER_TIMER_MINIMUM);
}

HWND FindThreadWindow(const std::string& caption) {
    ThreadSearch search{&caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string TextOf(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

std::string ControlText(HWND dialog, int id) {
    return TextOf(GetDlgItem(dialog, id));
}

void PostKey(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

void Click(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

}  // namespace wintest
