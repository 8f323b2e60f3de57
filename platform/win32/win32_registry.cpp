#include "platform/win32/system_function.h"
#include "platform/win32/unique_handles.h"
#include "platform/win32/windows_api.h"
#include "platform/win32/win32_platform.h"

namespace platform::win32 {
namespace {

HKEY RootKey(RegistryRoot root) {
    return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

REGSAM ViewFlag(RegistryView view) {
    switch (view) {
        case RegistryView::Force64: return KEY_WOW64_64KEY;
        case RegistryView::Force32: return KEY_WOW64_32KEY;
        case RegistryView::Native: break;
    }
    return 0;
}

// The key's default value is named by a null pointer.
const char* ValueName(const std::string& name) { return name.empty() ? nullptr : name.c_str(); }

class Win32RegistryKey : public RegistryKey {
public:
    explicit Win32RegistryKey(UniqueKey key) : key_(std::move(key)) {}

    Win32Result SetValue(const std::string& name, std::uint32_t type,
                         const std::vector<std::uint8_t>& data) override {
        const LSTATUS status = RegSetValueExA(key_.get(), ValueName(name), 0, type,
                                              data.data(), static_cast<DWORD>(data.size()));
        return Win32Result::FromStatus(static_cast<std::uint32_t>(status));
    }

    Win32Result SetTextValue(const std::string& name, const std::string& text, TextCount count) override {
        // c_str(): the byte after the counted text is always the terminator, never
        // whatever follows a copy of it on the heap.
        const LSTATUS status = RegSetValueExA(key_.get(), ValueName(name), 0, REG_SZ,
                                              reinterpret_cast<const BYTE*>(text.c_str()),
                                              TextValueCount(text, count));
        return Win32Result::FromStatus(static_cast<std::uint32_t>(status));
    }

    Win32Value<RegistryValue> QueryValue(const std::string& name, std::size_t capacity) override {
        RegistryValue value;
        value.data.resize(capacity);
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(capacity);
        const LSTATUS status = RegQueryValueExA(key_.get(), ValueName(name), nullptr,
                                                &type, value.data.data(), &size);
        if (status != ERROR_SUCCESS) return Win32Value<RegistryValue>::Failed(static_cast<std::uint32_t>(status));
        value.type = type;
        value.data.resize(size);
        return Win32Value<RegistryValue>::Ok(std::move(value));
    }

    Win32Result DeleteValue(const std::string& name) override {
        return Win32Result::FromStatus(static_cast<std::uint32_t>(RegDeleteValueA(key_.get(), name.c_str())));
    }

    Win32Value<std::string> EnumKey(std::uint32_t index, std::size_t capacity) override {
        std::string name(capacity, '\0');
        const LSTATUS status = RegEnumKeyA(key_.get(), index, name.data(), static_cast<DWORD>(capacity));
        if (status != ERROR_SUCCESS) return Win32Value<std::string>::Failed(static_cast<std::uint32_t>(status));
        name.resize(name.find('\0'));
        return Win32Value<std::string>::Ok(std::move(name));
    }

private:
    UniqueKey key_;
};

OpenedKey Opened(UniqueKey key, LSTATUS status) {
    if (status != ERROR_SUCCESS) return {nullptr, static_cast<std::uint32_t>(status)};
    return {std::make_unique<Win32RegistryKey>(std::move(key)), kErrorSuccess};
}

// RegDeleteKeyExA is missing before Windows XP x64; it is looked up, not imported, so
// that the installer still starts on older systems.
using RegDeleteKeyExAFunction = LSTATUS(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);

}  // namespace

OpenedKey Win32Registry::OpenKey(RegistryRoot root, const std::string& path, RegistryAccess access,
                                 RegistryView view) {
    const REGSAM rights = (access == RegistryAccess::Read ? KEY_READ : KEY_ALL_ACCESS) | ViewFlag(view);
    UniqueKey key;
    const LSTATUS status = RegOpenKeyExA(RootKey(root), path.c_str(), 0, rights, key.put());
    return Opened(std::move(key), status);
}

OpenedKey Win32Registry::CreateKey(RegistryRoot root, const std::string& path, RegistryView view) {
    UniqueKey key;
    DWORD disposition = 0;
    const LSTATUS status = RegCreateKeyExA(RootKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_ALL_ACCESS | ViewFlag(view), nullptr, key.put(), &disposition);
    return Opened(std::move(key), status);
}

Win32Result Win32Registry::DeleteKey(RegistryRoot root, const std::string& path, RegistryView view) {
    if (view == RegistryView::Native) {
        return Win32Result::FromStatus(static_cast<std::uint32_t>(RegDeleteKeyA(RootKey(root), path.c_str())));
    }
    static const auto deleteKeyEx = FindSystemFunction<RegDeleteKeyExAFunction>("advapi32", "RegDeleteKeyExA");
    if (deleteKeyEx == nullptr) return Win32Result::Failed(ERROR_CALL_NOT_IMPLEMENTED);
    return Win32Result::FromStatus(static_cast<std::uint32_t>(deleteKeyEx(RootKey(root), path.c_str(), ViewFlag(view), 0)));
}

}  // namespace platform::win32
