#include "platform/win32/windows_api.h"

#include <wrl/client.h>

#include "platform/win32/win32_platform.h"

namespace platform::win32 {
namespace {

using Microsoft::WRL::ComPtr;

int Csidl(SpecialFolder folder) {
    switch (folder) {
        case SpecialFolder::ProgramFiles: return CSIDL_PROGRAM_FILES;
        case SpecialFolder::CommonPrograms: return CSIDL_COMMON_PROGRAMS;
        case SpecialFolder::UserPrograms: return CSIDL_PROGRAMS;
    }
    return CSIDL_PROGRAMS;
}

class Win32PersistFile : public PersistFile {
public:
    explicit Win32PersistFile(ComPtr<IPersistFile> file) : file_(std::move(file)) {}
    HResult Save(const std::wstring& path, bool remember) override {
        return file_->Save(path.c_str(), remember ? TRUE : FALSE);
    }

private:
    ComPtr<IPersistFile> file_;
};

class Win32ShellLink : public ShellLink {
public:
    explicit Win32ShellLink(ComPtr<IShellLinkA> link) : link_(std::move(link)) {}
    HResult SetPath(const std::string& target) override { return link_->SetPath(target.c_str()); }
    HResult SetDescription(const std::string& description) override {
        return link_->SetDescription(description.c_str());
    }
    HResult SetArguments(const std::string& arguments) override { return link_->SetArguments(arguments.c_str()); }
    PersistFileResult QueryPersistFile() override {
        ComPtr<IPersistFile> file;
        const HRESULT hr = link_.As(&file);
        if (FAILED(hr)) return {nullptr, hr};
        return {std::make_unique<Win32PersistFile>(std::move(file)), hr};
    }

private:
    ComPtr<IShellLinkA> link_;
};

}  // namespace

std::optional<std::string> Win32Shell::GetSpecialFolderPath(SpecialFolder folder, bool create) {
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, Csidl(folder), create ? TRUE : FALSE)) return std::nullopt;
    return std::string(path);
}

Win32Result Win32Shell::OpenDocument(const std::string& path) {
    const HINSTANCE result = ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    const auto code = reinterpret_cast<INT_PTR>(result);
    if (code > 32) return {};
    // 0 is ShellExecute's "out of memory or resources", a failure like any code up to 32.
    return Win32Result::Failed(static_cast<std::uint32_t>(code));
}

HResult Win32Shell::CoInitialize() { return ::CoInitialize(nullptr); }

void Win32Shell::CoUninitialize() { ::CoUninitialize(); }

ShellLinkResult Win32Shell::CreateShellLink() {
    ComPtr<IShellLinkA> link;
    const HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                        reinterpret_cast<void**>(link.GetAddressOf()));
    if (FAILED(hr)) return {nullptr, hr};
    return {std::make_unique<Win32ShellLink>(std::move(link)), hr};
}

Win32Value<std::wstring> Win32Shell::AnsiToWide(const std::string& text, std::size_t capacity) {
    std::wstring buffer(capacity, L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, buffer.data(), static_cast<int>(capacity));
    if (length == 0) return Win32Value<std::wstring>::Failed(GetLastError());
    buffer.resize(static_cast<std::size_t>(length - 1));  // without the NUL
    return Win32Value<std::wstring>::Ok(buffer);
}

}  // namespace platform::win32
