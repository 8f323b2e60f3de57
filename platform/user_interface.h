// Message boxes and the program's string table.
#pragma once

#include <cstdint>
#include <string>

#include "platform/result.h"

namespace platform {

enum class MessageBoxButtons { Ok, YesNo };

// What MessageBox returns (IDOK, IDCANCEL, IDYES, IDNO).
enum class MessageBoxAnswer : int { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // MessageBoxA without an owner window and without an icon.
    virtual MessageBoxAnswer MessageBox(const std::string& text, const std::string& caption,
                                        MessageBoxButtons buttons) = 0;
    // The framework's application message box: OK only, captioned with the program's
    // title (ApplicationTitle of its own path).
    virtual MessageBoxAnswer ApplicationMessageBox(const std::string& text) = 0;
    // LoadStringA from the program's own string table, at most `capacity` - 1 characters.
    virtual std::string LoadString(std::uint32_t id, std::size_t capacity) = 0;
    // Whether the process's window station is the visible one (GetProcessWindowStation,
    // GetUserObjectInformationA UOI_FLAGS, WSF_VISIBLE). A box on an invisible one, as a
    // service or a deployment tool's SYSTEM session has, is never seen and never answered.
    virtual Win32Value<bool> IsWindowStationVisible() = 0;
};

// The framework's application title: the program's file name without its folder and
// extension ("C:\Medium\Setup.exe" gives "Setup").
std::string ApplicationTitle(const std::string& modulePath);

}  // namespace platform
