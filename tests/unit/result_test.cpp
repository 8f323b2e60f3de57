// Results of Windows calls: a failure carries an error and no value to read by mistake.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/result.h"

namespace {

using platform::SizedValue;
using platform::Win32Result;
using platform::Win32Value;

TEST(Win32Value, AFailureHasNoValueToRead) {
    const auto failed = Win32Value<std::string>::Failed(platform::kErrorAccessDenied);
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.error, platform::kErrorAccessDenied);
    EXPECT_THROW((void)failed.value(), std::logic_error);
    EXPECT_EQ(failed.ValueOr("fallback"), "fallback");

    const auto ok = Win32Value<std::string>::Ok("C:\\Medium\\Setup.exe");
    EXPECT_TRUE(ok);
    EXPECT_EQ(ok.value(), "C:\\Medium\\Setup.exe");
    EXPECT_EQ(ok.ValueOr("fallback"), "C:\\Medium\\Setup.exe");
}

TEST(Win32Value, AFailureWithoutAnErrorIsStillAFailure) {
    // A call that failed but left no last error must not pass for a success.
    const auto failed = Win32Value<std::uint32_t>::Failed(platform::kErrorSuccess);
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.error, platform::kErrorGenFailure);

    const struct {
        const char* name;
        Win32Result result;
        std::uint32_t error;  // kErrorSuccess: a success
    } cases[] = {
        {"success", Win32Result::Ok(), platform::kErrorSuccess},
        {"failure without an error", Win32Result::Failed(platform::kErrorSuccess), platform::kErrorGenFailure},
        {"failure", Win32Result::Failed(platform::kErrorAccessDenied), platform::kErrorAccessDenied},
        {"status 0", Win32Result::FromStatus(platform::kErrorSuccess), platform::kErrorSuccess},
        {"status 2", Win32Result::FromStatus(platform::kErrorFileNotFound), platform::kErrorFileNotFound},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(static_cast<bool>(c.result), c.error == platform::kErrorSuccess) << c.name;
        EXPECT_EQ(c.result.error, c.error) << c.name;
    }
}

TEST(SizedValue, TheSizeWantedIsKnownOnlyForATooSmallBuffer) {
    const auto tooSmall = SizedValue<std::string>::Failed(platform::kErrorInsufficientBuffer, 300);
    EXPECT_TRUE(tooSmall.WantsLargerBuffer());
    EXPECT_EQ(tooSmall.bytesNeeded(), 300u);
    EXPECT_FALSE(SizedValue<std::string>::Failed(platform::kErrorAccessDenied, 300).WantsLargerBuffer());
    EXPECT_FALSE(SizedValue<std::string>::Failed(platform::kErrorInsufficientBuffer, 0).WantsLargerBuffer());
    EXPECT_FALSE(SizedValue<std::string>::Ok("x", 2).WantsLargerBuffer());
}

}  // namespace
