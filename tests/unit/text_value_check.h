// Checks a text value the installer wrote to the fake registry: REG_SZ, the byte count
// passed to RegSetValueExA (the text's length, or length + 1 with its NUL), and the
// bytes Windows NT keeps, which end in the NUL either way.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/fake_windows/fake_windows.h"

namespace testing_support {

inline testing::AssertionResult IsTextValue(const std::optional<fake::FakeValue>& value, const std::string& text,
                                            platform::TextCount count) {
    if (!value) return testing::AssertionFailure() << "no such value";
    const std::uint32_t expectedCount =
        static_cast<std::uint32_t>(text.size() + (count == platform::TextCount::WithNul ? 1 : 0));
    if (value->type != platform::kRegSz) return testing::AssertionFailure() << "type " << value->type;
    if (value->countGiven != expectedCount) {
        return testing::AssertionFailure() << "count given " << value->countGiven << ", expected " << expectedCount;
    }
    if (value->data != fake::BytesWithNul(text)) {
        const std::string stored(value->data.begin(), value->data.end());
        return testing::AssertionFailure() << "stored \"" << stored.c_str() << "\" (" << value->data.size()
                                           << " bytes), expected \"" << text << "\" and its NUL";
    }
    return testing::AssertionSuccess();
}

}  // namespace testing_support
