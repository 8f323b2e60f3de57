#include "platform/win32/windows_api.h"
#include "platform/win32/application_box.h"
#include "platform/win32/system_function.h"
#include "platform/win32/win32_platform.h"

namespace platform::win32 {
namespace {

// The framework's title, from the program's own path; empty when that path is not known.
std::string ProgramTitle() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return ApplicationTitle(std::string(path, length < MAX_PATH ? length : 0));
}

}  // namespace

MessageBoxAnswer ShowApplicationMessageBox(HWND owner, const std::string& text) {
    // The framework's box adds the exclamation icon to a plain OK box.
    return static_cast<MessageBoxAnswer>(
        MessageBoxA(owner, text.c_str(), ProgramTitle().c_str(), MB_OK | MB_ICONEXCLAMATION));
}

MessageBoxAnswer Win32UserInterface::MessageBox(const std::string& text, const std::string& caption,
                                                MessageBoxButtons buttons) {
    const UINT type = buttons == MessageBoxButtons::YesNo ? MB_YESNO : MB_OK;
    return static_cast<MessageBoxAnswer>(MessageBoxA(nullptr, text.c_str(), caption.c_str(), type));
}

MessageBoxAnswer Win32UserInterface::ApplicationMessageBox(const std::string& text) {
    return ShowApplicationMessageBox(nullptr, text);
}

Win32Value<bool> Win32UserInterface::IsWindowStationVisible() {
    // Windows 98/Me have no window stations: their one desktop is the visible one.
    using GetStation = HWINSTA(WINAPI*)();
    using GetInformation = BOOL(WINAPI*)(HANDLE, int, PVOID, DWORD, LPDWORD);
    static const auto getStation = FindSystemFunction<GetStation>("user32", "GetProcessWindowStation");
    static const auto getInformation = FindSystemFunction<GetInformation>("user32", "GetUserObjectInformationA");
    if (getStation == nullptr || getInformation == nullptr) return Win32Value<bool>::Ok(true);
    const HWINSTA station = getStation();  // not to be closed
    if (station == nullptr) return Win32Value<bool>::Failed(GetLastError());
    USEROBJECTFLAGS flags{};
    DWORD needed = 0;
    if (!getInformation(station, UOI_FLAGS, &flags, sizeof(flags), &needed)) {
        return Win32Value<bool>::Failed(GetLastError());
    }
    return Win32Value<bool>::Ok((flags.dwFlags & WSF_VISIBLE) != 0);
}

std::string Win32UserInterface::LoadString(std::uint32_t id, std::size_t capacity) {
    if (capacity == 0) return {};
    std::string buffer(capacity, '\0');
    const int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer.data(), static_cast<int>(capacity));
    buffer.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return buffer;
}

}  // namespace platform::win32
