// The real registry behind the boundary: views, stored bytes and missing keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/unique_handles.h"
#include "platform/win32/win32_platform.h"

namespace {

using platform::RegistryAccess;
using platform::RegistryRoot;
using platform::RegistryView;
using platform::TextCount;

constexpr const char* kTestKey = "SOFTWARE\\PdfPrinterSetupTests";

std::vector<std::uint8_t> WithNul(const std::string& text) {
    return std::vector<std::uint8_t>(text.c_str(), text.c_str() + text.size() + 1);
}

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
    ASSERT_TRUE(key.SetTextValue("Text", "C:\\Dest", TextCount::WithNul));
    const auto number = key.QueryValue("Number", 16);
    ASSERT_TRUE(number);
    EXPECT_EQ(number.value().type, platform::kRegDword);
    EXPECT_EQ(number.value().data, platform::DwordBytes(1));
    const auto text = key.QueryValue("Text", 261);
    ASSERT_TRUE(text);
    EXPECT_EQ(text.value().data, WithNul("C:\\Dest"));
    EXPECT_EQ(key.QueryValue("Text", 3).error, platform::kErrorMoreData);

    EXPECT_TRUE(key.DeleteValue("Text"));
    EXPECT_EQ(key.DeleteValue("Text").error, platform::kErrorFileNotFound);
    EXPECT_EQ(key.QueryValue("Text", 261).error, platform::kErrorFileNotFound);
}

TEST_F(Win32RegistryTest, ReadOnlyKeyRefusesWrites) {
    ASSERT_TRUE(registry.CreateKey(RegistryRoot::LocalMachine, kTestKey, RegistryView::Force64));
    auto opened = registry.OpenKey(RegistryRoot::LocalMachine, kTestKey, RegistryAccess::Read, RegistryView::Force64);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened.key->SetTextValue("x", "y", TextCount::WithoutNul).error,
              platform::kErrorAccessDenied);
}

// ---- text values: what the registry keeps of the count given ---------------------------

// What RegSetValueExA itself does with a string (Windows NT and Wine alike): with a
// count that leaves out a NUL that follows the text, the NUL is stored too; with any
// other byte after the counted ones, exactly the count is stored. This is why a text
// must always be handed over NUL-terminated.
TEST_F(Win32RegistryTest, RegSetValueExAStoresTheNulThatFollowsTheCountedText) {
    platform::win32::UniqueKey key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTestKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    const BYTE terminated[] = {'a', 'b', 'c', 0};
    const BYTE followedByMore[] = {'a', 'b', 'c', 'X', 0};
    ASSERT_EQ(RegSetValueExA(key.get(), "Terminated", 0, REG_SZ, terminated, 3), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key.get(), "FollowedByMore", 0, REG_SZ, followedByMore, 3), ERROR_SUCCESS);
    for (const auto& [name, expected] : {std::pair<const char*, DWORD>{"Terminated", 4}, {"FollowedByMore", 3}}) {
        DWORD size = 0;
        ASSERT_EQ(RegQueryValueExA(key.get(), name, nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
        EXPECT_EQ(size, expected) << name;
    }
}

// Heap blocks of about `size` bytes, filled with non-zero bytes and freed again, so that
// a copy of a text the implementation might make in a fresh block is likely to be
// followed by junk rather than by a zero.
void LeaveJunkOnTheHeap(std::size_t size) {
    std::vector<std::unique_ptr<char[]>> blocks;
    for (const std::size_t extra : {0u, 1u, 8u, 16u, 32u}) {
        blocks.push_back(std::make_unique<char[]>(size + extra));
        std::fill_n(blocks.back().get(), size + extra, '#');
    }
}

// A text whose buffer goes on past its end: spare capacity full of non-zero bytes
// after the terminator std::string keeps.
std::string TextWithSpareCapacity(std::size_t length, char letter) {
    std::string text(length + 64, '#');
    text.resize(length);
    std::fill(text.begin(), text.end(), letter);
    return text;
}

// Every run stores the same size: length + 1 with either count, the NUL included.
TEST_F(Win32RegistryTest, TextValuesAreStoredWithTheirNulOnEveryRun) {
    auto created = registry.CreateKey(RegistryRoot::LocalMachine, kTestKey, RegistryView::Force64);
    ASSERT_TRUE(created);
    platform::RegistryKey& key = *created.key;
    int wrong = 0;
    for (int run = 0; run < 100; ++run) {
        const std::size_t length = 1 + static_cast<std::size_t>(run * 37 % 260);
        const char letter = static_cast<char>('A' + run % 26);
        for (const TextCount count : {TextCount::WithoutNul, TextCount::WithNul}) {
            LeaveJunkOnTheHeap(length);
            const std::string text = run % 2 == 0 ? TextWithSpareCapacity(length, letter) : std::string(length, letter);
            ASSERT_TRUE(key.SetTextValue("Text", text, count)) << "run " << run;
            const auto stored = key.QueryValue("Text", 1024);
            ASSERT_TRUE(stored) << "run " << run;
            EXPECT_EQ(stored.value().type, platform::kRegSz);
            if (stored.value().data != WithNul(text)) {
                ADD_FAILURE() << "run " << run << ", length " << length << ", count "
                              << (count == TextCount::WithNul ? "with" : "without") << " NUL: stored "
                              << stored.value().data.size() << " bytes";
                if (++wrong == 5) return;
            }
        }
    }
}

// The one text that ends up without a NUL: an empty one counted without it stores
// nothing at all.
TEST_F(Win32RegistryTest, EmptyTextIsStoredAsNothingOrAsItsNul) {
    auto created = registry.CreateKey(RegistryRoot::LocalMachine, kTestKey, RegistryView::Force64);
    ASSERT_TRUE(created);
    ASSERT_TRUE(created.key->SetTextValue("WithoutNul", "", TextCount::WithoutNul));
    ASSERT_TRUE(created.key->SetTextValue("WithNul", "", TextCount::WithNul));
    const auto withoutNul = created.key->QueryValue("WithoutNul", 16);
    const auto withNul = created.key->QueryValue("WithNul", 16);
    ASSERT_TRUE(withoutNul);
    ASSERT_TRUE(withNul);
    EXPECT_EQ(withoutNul.value().data.size(), 0u);
    EXPECT_EQ(withNul.value().data, WithNul(""));
}

TEST_F(Win32RegistryTest, DeletingAMissingKeyReportsNotFound) {
    EXPECT_EQ(registry.DeleteKey(RegistryRoot::LocalMachine, kTestKey, RegistryView::Force64).error,
              platform::kErrorFileNotFound);
}

}  // namespace
