#include "platform/win32/windows_api.h"
#include "platform/win32/win32_platform.h"

namespace platform::win32 {
namespace {

// The program's file name without folder and extension: the framework's title.
std::string ProgramTitle() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string title(path, length < MAX_PATH ? length : 0);
    const std::size_t slash = title.find_last_of("\\/");
    if (slash != std::string::npos) title.erase(0, slash + 1);
    const std::size_t dot = title.find_last_of('.');
    if (dot != std::string::npos) title.erase(dot);
    return title;
}

}  // namespace

MessageBoxAnswer Win32UserInterface::MessageBox(const std::string& text, const std::string& caption,
                                                MessageBoxButtons buttons) {
    const UINT type = buttons == MessageBoxButtons::YesNo ? MB_YESNO : MB_OK;
    return static_cast<MessageBoxAnswer>(MessageBoxA(nullptr, text.c_str(), caption.c_str(), type));
}

MessageBoxAnswer Win32UserInterface::ApplicationMessageBox(const std::string& text) {
    // The framework's box adds the exclamation icon to a plain OK box.
    return static_cast<MessageBoxAnswer>(
        MessageBoxA(nullptr, text.c_str(), ProgramTitle().c_str(), MB_OK | MB_ICONEXCLAMATION));
}

std::string Win32UserInterface::LoadString(std::uint32_t id, std::size_t capacity) {
    if (capacity == 0) return {};
    std::string buffer(capacity, '\0');
    const int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer.data(), static_cast<int>(capacity));
    buffer.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return buffer;
}

}  // namespace platform::win32
