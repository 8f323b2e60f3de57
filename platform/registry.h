// The registry under HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER, in a chosen view.
// Keys close themselves when the RegistryKey object goes away.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/result.h"

namespace platform {

enum class RegistryRoot { LocalMachine, CurrentUser };

// Native: the process's own view. Force64 / Force32: KEY_WOW64_64KEY / KEY_WOW64_32KEY.
enum class RegistryView { Native, Force64, Force32 };

enum class RegistryAccess { Read, AllAccess };

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

inline constexpr std::uint32_t kErrorNoMoreItems = 259;

// How many bytes of a text value RegSetValueExA is told to store: the text alone, or
// the text and its terminating NUL.
enum class TextCount { WithoutNul, WithNul };

// The byte count handed to RegSetValueExA for `text`.
std::uint32_t TextValueCount(const std::string& text, TextCount count);

struct RegistryValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;  // exactly the bytes stored
};

class RegistryKey {
public:
    virtual ~RegistryKey() = default;  // RegCloseKey

    // RegSetValueExA with exactly these bytes (binary and number data).
    virtual Win32Result SetValue(const std::string& name, std::uint32_t type,
                                 const std::vector<std::uint8_t>& data) = 0;
    // RegSetValueExA with REG_SZ, the NUL-terminated text and TextValueCount(text, count).
    // The buffer always ends in its NUL, whatever the count: Windows NT then stores the
    // NUL even when the count leaves it out, and Windows 98/Me, which ignore the count
    // and read up to the NUL, read nothing past the text.
    virtual Win32Result SetTextValue(const std::string& name, const std::string& text,
                                     TextCount count) = 0;
    // RegQueryValueExA into a buffer of `capacity` bytes; ERROR_MORE_DATA when larger.
    virtual Win32Value<RegistryValue> QueryValue(const std::string& name,
                                                 std::size_t capacity) = 0;
    // RegDeleteValueA.
    virtual Win32Result DeleteValue(const std::string& name) = 0;
    // RegEnumKeyA: the name of the subkey at `index` into `capacity` characters
    // including the NUL; ERROR_NO_MORE_ITEMS past the last one.
    virtual Win32Value<std::string> EnumKey(std::uint32_t index, std::size_t capacity) = 0;
};

struct [[nodiscard]] OpenedKey {
    std::unique_ptr<RegistryKey> key;
    std::uint32_t error = kErrorSuccess;
    explicit operator bool() const { return key != nullptr; }
};

class Registry {
public:
    virtual ~Registry() = default;

    // RegOpenKeyExA.
    virtual OpenedKey OpenKey(RegistryRoot root, const std::string& path, RegistryAccess access,
                              RegistryView view) = 0;
    // RegCreateKeyExA: default class, non-volatile, default security, full access.
    // Creating an existing key opens it.
    virtual OpenedKey CreateKey(RegistryRoot root, const std::string& path,
                                RegistryView view) = 0;
    // RegDeleteKeyExA (a key without subkeys).
    virtual Win32Result DeleteKey(RegistryRoot root, const std::string& path,
                                  RegistryView view) = 0;
};

std::vector<std::uint8_t> DwordBytes(std::uint32_t value);

}  // namespace platform
