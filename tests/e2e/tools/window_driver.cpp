#include "tests/e2e/tools/window_driver.h"

#include "tests/e2e/tools/wintool_windows.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace wintool {
namespace {

constexpr int kExitDone = 0;
constexpr int kExitNotThere = 1;
constexpr int kExitUsage = 2;
constexpr DWORD kDefaultWait = 60000;
// How long a window may take to answer a question about its controls.
constexpr UINT kAnswerTime = 10000;

struct Search {
    const std::string* caption;
    HWND found;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    if (!IsWindowVisible(window)) return TRUE;
    // A top-level window's caption is read from the system, without asking its program.
    char text[512] = {};
    const int length = GetWindowTextA(window, text, static_cast<int>(sizeof(text)));
    if (length < 0 || std::string(text, static_cast<std::size_t>(length)) != *search.caption) return TRUE;
    search.found = window;
    return FALSE;
}

// The visible top-level window with exactly this caption, or none.
HWND FindShownWindow(const std::string& caption) {
    Search search{&caption, nullptr};
    EnumWindows(&MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits until `ready` answers true, at most `milliseconds`, asking again every 20 ms.
// Looking is all that can be done here: Wine (8.0) reports to other programs only that a
// window was made (EVENT_OBJECT_CREATE), not that it was shown, renamed or destroyed, and
// a window is made before it has its caption or is shown.
bool WaitUntil(const std::function<bool()>& ready, DWORD milliseconds) {
    constexpr DWORD kLookAgain = 20;
    const DWORD start = GetTickCount();
    for (;;) {
        if (ready()) return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return false;
        Sleep(std::min(kLookAgain, milliseconds - elapsed));
    }
}

bool ParseNumber(const std::string& text, unsigned long& number) {
    if (text.empty()) return false;
    char* end = nullptr;
    number = std::strtoul(text.c_str(), &end, 10);
    return end != nullptr && *end == '\0';
}

HWND RequireWindow(const std::string& caption) {
    const HWND window = FindShownWindow(caption);
    if (window == nullptr) std::fprintf(stderr, "wintool: no window \"%s\"\n", caption.c_str());
    return window;
}

// Control `id` of the window with this caption; none (and a word why) when either is missing.
HWND RequireControl(const std::string& caption, unsigned long id) {
    const HWND window = RequireWindow(caption);
    if (window == nullptr) return nullptr;
    const HWND control = GetDlgItem(window, static_cast<int>(id));
    if (control == nullptr) std::fprintf(stderr, "wintool: \"%s\" has no control %lu\n", caption.c_str(), id);
    return control;
}

int WaitForWindow(const std::string& caption, DWORD milliseconds) {
    HWND window = nullptr;
    if (!WaitUntil([&] { return (window = FindShownWindow(caption)) != nullptr; }, milliseconds)) {
        std::fprintf(stderr, "wintool: no window \"%s\" within %lu ms\n", caption.c_str(), milliseconds);
        return kExitNotThere;
    }
    RECT place{};
    if (!GetWindowRect(window, &place)) return kExitNotThere;
    std::printf("%ldx%ld+%ld+%ld\n", place.right - place.left, place.bottom - place.top, place.left, place.top);
    return kExitDone;
}

// A press as the button's click reports it: the button's command to its window.
int Press(const std::string& caption, unsigned long id) {
    const HWND button = RequireControl(caption, id);
    if (button == nullptr) return kExitNotThere;
    if (!IsWindowVisible(button) || !IsWindowEnabled(button)) {
        std::fprintf(stderr, "wintool: button %lu of \"%s\" cannot be pressed\n", id, caption.c_str());
        return kExitNotThere;
    }
    // Posted: the window may answer with a box of its own and wait for it.
    const WPARAM command = MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED);
    if (!PostMessageA(GetParent(button), WM_COMMAND, command, reinterpret_cast<LPARAM>(button))) {
        std::fprintf(stderr, "wintool: cannot press button %lu (error %lu)\n", id, GetLastError());
        return kExitNotThere;
    }
    return kExitDone;
}

int PrintText(const std::string& caption, unsigned long id) {
    const HWND control = RequireControl(caption, id);
    if (control == nullptr) return kExitNotThere;
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerTime, &length)) {
        std::fprintf(stderr, "wintool: control %lu does not answer\n", id);
        return kExitNotThere;
    }
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kAnswerTime, &copied)) {
        std::fprintf(stderr, "wintool: control %lu does not answer\n", id);
        return kExitNotThere;
    }
    text.resize(std::min<std::size_t>(copied, length));
    std::printf("%s\n", text.c_str());
    return kExitDone;
}

// The bar's answer comes when its program next handles its messages, so each question
// waits for the program's next step.
int WaitForProgress(const std::string& caption, unsigned long id, unsigned long minimum, DWORD milliseconds) {
    const HWND bar = RequireControl(caption, id);
    if (bar == nullptr) return kExitNotThere;
    const DWORD start = GetTickCount();
    DWORD_PTR position = 0;
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds ||
            !SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, milliseconds - elapsed, &position)) {
            std::fprintf(stderr, "wintool: progress %lu not reached within %lu ms\n", minimum, milliseconds);
            return kExitNotThere;
        }
        if (position >= minimum) break;
    }
    DWORD_PTR upper = 0;
    if (!SendMessageTimeoutA(bar, PBM_GETRANGE, FALSE, 0, SMTO_NORMAL, kAnswerTime, &upper)) return kExitNotThere;
    std::printf("%lu/%lu\n", static_cast<unsigned long>(position), static_cast<unsigned long>(upper));
    return kExitDone;
}

// Suspends or resumes the thread that owns the window. Its windows stay on the screen as
// last painted; nothing is asked of them meanwhile.
int HoldThread(const std::string& caption, bool hold) {
    const HWND window = RequireWindow(caption);
    if (window == nullptr) return kExitNotThere;
    const DWORD threadId = GetWindowThreadProcessId(window, nullptr);
    const OwnedHandle thread(OpenThread(THREAD_SUSPEND_RESUME, FALSE, threadId));
    if (thread.get() == nullptr) {
        std::fprintf(stderr, "wintool: cannot open the window's thread (error %lu)\n", GetLastError());
        return kExitNotThere;
    }
    const DWORD previous = hold ? SuspendThread(thread.get()) : ResumeThread(thread.get());
    if (previous == static_cast<DWORD>(-1)) {
        std::fprintf(stderr, "wintool: cannot %s the thread (error %lu)\n", hold ? "suspend" : "resume",
                     GetLastError());
        return kExitNotThere;
    }
    return kExitDone;
}

int Close(const std::string& caption) {
    const HWND window = RequireWindow(caption);
    if (window == nullptr) return kExitNotThere;
    if (!PostMessageA(window, WM_CLOSE, 0, 0)) return kExitNotThere;
    return kExitDone;
}

int RunOneCommand(const std::vector<std::string>& args) {
    if (args.size() < 2) return kExitUsage;
    const std::string& command = args[0];
    const std::string& caption = args[1];
    unsigned long number = 0;
    unsigned long wait = kDefaultWait;
    if (command == "window" && args.size() <= 3) {
        if (args.size() == 3 && !ParseNumber(args[2], wait)) return kExitUsage;
        return WaitForWindow(caption, wait);
    }
    if ((command == "press" || command == "text") && args.size() == 3 && ParseNumber(args[2], number)) {
        return command == "press" ? Press(caption, number) : PrintText(caption, number);
    }
    unsigned long minimum = 0;
    if (command == "progress" && (args.size() == 4 || args.size() == 5) && ParseNumber(args[2], number) &&
        ParseNumber(args[3], minimum) && (args.size() == 4 || ParseNumber(args[4], wait))) {
        return WaitForProgress(caption, number, minimum, wait);
    }
    if ((command == "hold" || command == "release") && args.size() == 2) return HoldThread(caption, command == "hold");
    if (command == "close" && args.size() == 2) return Close(caption);
    return kExitUsage;
}

}  // namespace

bool IsWindowCommand(const std::string& name) {
    for (const char* command : {"window", "press", "text", "progress", "hold", "release", "close"}) {
        if (name == command) return true;
    }
    return false;
}

int RunWindowCommand(const std::vector<std::string>& args) {
    std::vector<std::string> command;
    for (std::size_t i = 0; i <= args.size(); ++i) {
        if (i < args.size() && args[i] != "--") {
            command.push_back(args[i]);
            continue;
        }
        if (command.empty() || !IsWindowCommand(command[0])) return kExitUsage;
        const int status = RunOneCommand(command);
        if (status != kExitDone) return status;
        command.clear();
    }
    return kExitDone;
}

}  // namespace wintool
