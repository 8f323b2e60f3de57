// Results of Windows operations carried as values: a Win32 error code, 0 for success.
// The real implementations read GetLastError() on the line after the failing call, so
// no hidden "last error" state crosses the boundary.
#pragma once

#include <cstdint>
#include <utility>

namespace platform {

// Win32 error codes the logic tests for by name.
inline constexpr std::uint32_t kErrorSuccess = 0;
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorPathNotFound = 3;
inline constexpr std::uint32_t kErrorAccessDenied = 5;
inline constexpr std::uint32_t kErrorInvalidData = 13;
inline constexpr std::uint32_t kErrorInvalidParameter = 87;
inline constexpr std::uint32_t kErrorInsufficientBuffer = 122;
inline constexpr std::uint32_t kErrorAlreadyExists = 183;
inline constexpr std::uint32_t kErrorFilenameExceedsRange = 206;
inline constexpr std::uint32_t kErrorMoreData = 234;

struct [[nodiscard]] Win32Result {
    std::uint32_t error = kErrorSuccess;
    explicit operator bool() const { return error == kErrorSuccess; }
};

// A value or the error that prevented it.
template <class T>
struct [[nodiscard]] Win32Value {
    T value{};
    std::uint32_t error = kErrorSuccess;

    static Win32Value Ok(T v) { return Win32Value{std::move(v), kErrorSuccess}; }
    static Win32Value Failed(std::uint32_t e) { return Win32Value{T{}, e}; }
    explicit operator bool() const { return error == kErrorSuccess; }
};

// COM results. Negative values are failures, as with SUCCEEDED()/FAILED().
using HResult = std::int32_t;
inline constexpr HResult kS_OK = 0;
inline constexpr HResult kS_FALSE = 1;
inline constexpr HResult kE_FAIL = static_cast<HResult>(0x80004005u);
inline constexpr bool Succeeded(HResult hr) { return hr >= 0; }
inline constexpr HResult HResultFromWin32(std::uint32_t error) {
    return error == 0 ? kS_OK
                      : static_cast<HResult>((error & 0x0000FFFFu) | 0x80070000u);
}

}  // namespace platform
