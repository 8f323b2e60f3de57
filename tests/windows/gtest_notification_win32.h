// GoogleTest's Notification, on a Win32 event. GoogleTest builds its own on std::mutex and
// std::condition_variable, which the C++ library of MinGW's win32 thread model (the
// compilers whose programs load on old Windows) does not have. GoogleTest only uses it to
// start threads in its own thread tests. Forced into every source that includes GoogleTest,
// so it names no Windows type.
#pragma once

namespace testing::internal {

class Notification {
public:
    Notification();
    ~Notification();
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify();
    void WaitForNotification();

private:
    void* event_;  // the event's HANDLE
};

}  // namespace testing::internal
