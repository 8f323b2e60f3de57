// The real registry behind the boundary: views, stored bytes and missing keys.
#include <gtest/gtest.h>

#include "platform/win32/win32_platform.h"

namespace {

using platform::RegistryAccess;
using platform::RegistryRoot;
using platform::RegistryView;

constexpr const char* kTestKey = "SOFTWARE\\PdfPrinterSetupTests";

class Win32RegistryTest : public ::testing::Test {
protected:
    ~Win32RegistryTest() override {
        (void)registry.DeleteKey(RegistryRoot::LocalMachine, kTestKey, RegistryView::Force64);
        (void)registry.DeleteKey(RegistryRoot::LocalMachine, kTestKey, RegistryView::Force32);
    }
    platform::win32::Win32Registry registry;
};

TEST_F(Win32RegistryTest, SixtyFourBitKeyIsNotSeenInThe32BitView) {
    auto created = registry.CreateKey(RegistryRoot::LocalMachine, kTestKey, RegistryView::Force64);
    ASSERT_TRUE(created) << created.error;
    created.key.reset();
    EXPECT_TRUE(registry.OpenKey(RegistryRoot::LocalMachine, kTestKey, RegistryAccess::Read, RegistryView::Force64));
    const auto in32 = registry.OpenKey(RegistryRoot::LocalMachine, kTestKey, RegistryAccess::Read, RegistryView::Force32);
    EXPECT_FALSE(in32);
    EXPECT_EQ(in32.error, platform::kErrorFileNotFound);
}

TEST_F(Win32RegistryTest, ValuesRoundTripWithTypeAndDeleteOnce) {
    auto created = registry.CreateKey(RegistryRoot::LocalMachine, kTestKey, RegistryView::Force64);
    ASSERT_TRUE(created);
    platform::RegistryKey& key = *created.key;
    ASSERT_TRUE(key.SetValue("Number", platform::kRegDword, platform::DwordBytes(1)));
    ASSERT_TRUE(key.SetValue("Text", platform::kRegSz, platform::TextBytesWithNul("C:\\Dest")));
    const auto number = key.QueryValue("Number", 16);
    ASSERT_TRUE(number);
    EXPECT_EQ(number.value().type, platform::kRegDword);
    EXPECT_EQ(number.value().data, platform::DwordBytes(1));
    const auto text = key.QueryValue("Text", 261);
    ASSERT_TRUE(text);
    EXPECT_EQ(text.value().data, platform::TextBytesWithNul("C:\\Dest"));
    EXPECT_EQ(key.QueryValue("Text", 3).error, platform::kErrorMoreData);

    EXPECT_TRUE(key.DeleteValue("Text"));
    EXPECT_EQ(key.DeleteValue("Text").error, platform::kErrorFileNotFound);
    EXPECT_EQ(key.QueryValue("Text", 261).error, platform::kErrorFileNotFound);
}

TEST_F(Win32RegistryTest, ReadOnlyKeyRefusesWrites) {
    ASSERT_TRUE(registry.CreateKey(RegistryRoot::LocalMachine, kTestKey, RegistryView::Force64));
    auto opened = registry.OpenKey(RegistryRoot::LocalMachine, kTestKey, RegistryAccess::Read, RegistryView::Force64);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened.key->SetValue("x", platform::kRegSz, platform::TextBytes("y")).error,
              platform::kErrorAccessDenied);
}

TEST_F(Win32RegistryTest, DeletingAMissingKeyReportsNotFound) {
    EXPECT_EQ(registry.DeleteKey(RegistryRoot::LocalMachine, kTestKey, RegistryView::Force64).error,
              platform::kErrorFileNotFound);
}

}  // namespace
