// Results of Windows operations carried as values: a Win32 error code, 0 for success.
// The real implementations read GetLastError() on the line after the failing call, so
// no hidden "last error" state crosses the boundary.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <utility>

namespace platform {

// Win32 error codes the logic tests for by name.
inline constexpr std::uint32_t kErrorSuccess = 0;
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorPathNotFound = 3;
inline constexpr std::uint32_t kErrorAccessDenied = 5;
inline constexpr std::uint32_t kErrorCallNotImplemented = 120;
inline constexpr std::uint32_t kErrorInvalidData = 13;
inline constexpr std::uint32_t kErrorGenFailure = 31;
inline constexpr std::uint32_t kErrorFileExists = 80;
inline constexpr std::uint32_t kErrorInvalidParameter = 87;
inline constexpr std::uint32_t kErrorInsufficientBuffer = 122;
inline constexpr std::uint32_t kErrorDirNotEmpty = 145;
inline constexpr std::uint32_t kErrorBadPathname = 161;
inline constexpr std::uint32_t kErrorBusy = 170;
inline constexpr std::uint32_t kErrorAlreadyExists = 183;
inline constexpr std::uint32_t kErrorFilenameExceedsRange = 206;
inline constexpr std::uint32_t kErrorMoreData = 234;

// The answer of a call that yields nothing but success or its error. A failure is made
// only through Failed(), so that a call that failed without setting an error (last error
// still 0) cannot read as a success.
struct [[nodiscard]] Win32Result {
    constexpr Win32Result() = default;  // a success
    static constexpr Win32Result Ok() { return Win32Result(); }
    // A failure always carries an error; a call that failed without saying why counts
    // as ERROR_GEN_FAILURE rather than as a success.
    static constexpr Win32Result Failed(std::uint32_t e) {
        return Win32Result(e == kErrorSuccess ? kErrorGenFailure : e);
    }
    // A call's own status code (the registry's, say): 0 is its success.
    static constexpr Win32Result FromStatus(std::uint32_t status) {
        return status == kErrorSuccess ? Ok() : Failed(status);
    }

    std::uint32_t error = kErrorSuccess;
    explicit operator bool() const { return error == kErrorSuccess; }

private:
    explicit constexpr Win32Result(std::uint32_t e) : error(e) {}
};

// A value, or the error that prevented it. A failed result holds no value at all: there
// is nothing to read by mistake, and value() on a failure is a programming error that
// throws rather than handing out an empty or stale value.
template <class T>
class [[nodiscard]] Win32Value {
public:
    static Win32Value Ok(T v) { return Win32Value(std::move(v)); }
    // A failure always carries an error; a call that failed without saying why counts
    // as ERROR_GEN_FAILURE rather than as a success.
    static Win32Value Failed(std::uint32_t e) {
        return Win32Value(FailureTag{}, e == kErrorSuccess ? kErrorGenFailure : e);
    }

    // The Win32 error of a failure; kErrorSuccess with a value.
    std::uint32_t error = kErrorSuccess;

    explicit operator bool() const { return value_.has_value(); }

    const T& value() const& { RequireValue(); return *value_; }
    T& value() & { RequireValue(); return *value_; }
    T&& value() && { RequireValue(); return std::move(*value_); }
    // The value, or `fallback` for a failure.
    T ValueOr(T fallback) const { return value_ ? *value_ : std::move(fallback); }

private:
    struct FailureTag {};
    explicit Win32Value(T v) : value_(std::move(v)) {}
    Win32Value(FailureTag, std::uint32_t e) : error(e) {}
    void RequireValue() const {
        if (!value_) throw std::logic_error("the value of a failed Windows call was read");
    }
    std::optional<T> value_;
};

// The answer of a call that fills a caller's buffer (the spooler's Enum... and Get...
// calls): the bytes the call wants are known on success and on ERROR_INSUFFICIENT_BUFFER
// alike, the record only on success.
template <class T>
class [[nodiscard]] SizedValue : public Win32Value<T> {
public:
    static SizedValue Ok(T v, std::uint32_t bytesNeeded) { return SizedValue(Win32Value<T>::Ok(std::move(v)), bytesNeeded); }
    static SizedValue Failed(std::uint32_t e, std::uint32_t bytesNeeded = 0) {
        return SizedValue(Win32Value<T>::Failed(e), bytesNeeded);
    }
    std::uint32_t bytesNeeded() const { return bytesNeeded_; }
    // The call failed only because the buffer was too small, and said how large it must be.
    bool WantsLargerBuffer() const {
        return !*this && this->error == kErrorInsufficientBuffer && bytesNeeded_ != 0;
    }

private:
    SizedValue(Win32Value<T> base, std::uint32_t bytesNeeded)
        : Win32Value<T>(std::move(base)), bytesNeeded_(bytesNeeded) {}
    std::uint32_t bytesNeeded_ = 0;
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
