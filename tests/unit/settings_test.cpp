#include <gtest/gtest.h>

#include "setup/settings.h"
#include "tests/fake_windows/fake_windows.h"

namespace {

using namespace setup;

class SettingsTest : public ::testing::Test {
protected:
    SetupSettings Load(const std::string& text) {
        windows.files.AddFile("C:\\Medium\\Setup.Ini", text);
        SetupSettings settings;
        settings.Bind(windows.files, "C:\\Medium\\Setup.Ini");
        return settings;
    }
    fake::FakeWindows windows;
};

TEST_F(SettingsTest, MissingFileReadsEmptyEverywhere) {
    SetupSettings settings;
    settings.Bind(windows.files, "C:\\Medium\\Setup.Ini");
    EXPECT_EQ(ReadSetting(settings, settings_keys::kCommand), "");
    EXPECT_FALSE(SettingIsOn(settings, settings_keys::kAutoPaperSize));
}

TEST_F(SettingsTest, UnreadableFileOrUnboundSettingsReadEmpty) {
    const auto settings = Load("[Parameters]\nCommand=run.exe\n");
    windows.failures.Fail(fake::Op::GetPrivateProfileString, platform::kErrorAccessDenied, "Setup.Ini");
    EXPECT_EQ(ReadSetting(settings, settings_keys::kCommand), "");
    EXPECT_EQ(ReadSetting(SetupSettings(), settings_keys::kCommand), "");
}

TEST_F(SettingsTest, EveryReadNamesTheFullPathOfTheFile) {
    windows.files.currentDirectory = "C:\\Elsewhere";
    windows.files.AddFile("C:\\Elsewhere\\Setup.Ini", "[Parameters]\nCommand=wrong.exe\n");
    const auto settings = Load("[Parameters]\nCommand=run.exe\n");
    EXPECT_EQ(ReadSetting(settings, settings_keys::kCommand), "run.exe");
    EXPECT_TRUE(windows.journal.Contains("GetPrivateProfileString C:\\Medium\\Setup.Ini [Parameters] Command"));
}

TEST_F(SettingsTest, NamesMatchWithoutRegardToCase) {
    const auto settings = Load("[parameters]\r\ncommand=run.exe\r\n[INSTALLATION]\r\nAUTOPAPERSIZE=1\r\n");
    EXPECT_EQ(ReadSetting(settings, settings_keys::kCommand), "run.exe");
    EXPECT_TRUE(SettingIsOn(settings, settings_keys::kAutoPaperSize));
}

TEST_F(SettingsTest, ValuesAreCutToCapacityMinusOne) {
    const std::string longCommand(1200, 'c');
    const auto settings = Load("[Parameters]\nCommand=" + longCommand + "\nGNUGS=123456789012\n");
    EXPECT_EQ(ReadSetting(settings, settings_keys::kCommand), std::string(999, 'c'));
    EXPECT_EQ(ReadSetting(settings, settings_keys::kGnuGs), "123456789");
}

TEST_F(SettingsTest, QuotesAroundAValueAreDropped) {
    const auto settings = Load("[Parameters]\r\nDestinationFolder=\"C:\\Quoted Dir\"\r\n"
                               "Arguments=/quiet \"%1\"\r\n");
    EXPECT_EQ(ReadSetting(settings, settings_keys::kDestinationFolder), "C:\\Quoted Dir");
    EXPECT_EQ(ReadSetting(settings, settings_keys::kArguments), "/quiet \"%1\"");
}

TEST_F(SettingsTest, NumbersFollowTheCLibrary) {
    EXPECT_TRUE(SettingIsOn(Load("[Installation]\nAutoPaperSize= 1\n"), settings_keys::kAutoPaperSize));
    EXPECT_TRUE(SettingIsOn(Load("[Installation]\nAutoPaperSize=\t7x\n"), settings_keys::kAutoPaperSize));
    EXPECT_TRUE(SettingIsOn(Load("[Installation]\nAutoPaperSize=-1\n"), settings_keys::kAutoPaperSize));
    EXPECT_FALSE(SettingIsOn(Load("[Installation]\nAutoPaperSize=0\n"), settings_keys::kAutoPaperSize));
    EXPECT_FALSE(SettingIsOn(Load("[Installation]\nAutoPaperSize=no\n"), settings_keys::kAutoPaperSize));
    EXPECT_FALSE(SettingIsOn(Load("[Installation]\nAutoPaperSize=\n"), settings_keys::kAutoPaperSize));
    EXPECT_FALSE(SettingIsOn(Load("[Parameters]\nGNUGS=0\n"), settings_keys::kGnuGs));
}

TEST(PaperSize, LetterOnlyForUnitedStatesAndCanadianEnglish) {
    EXPECT_EQ(PaperSizeForLocale(0x409), "Letter");
    EXPECT_EQ(PaperSizeForLocale(0x1009), "Letter");
    EXPECT_EQ(PaperSizeForLocale(0x407), "A4");   // German
    EXPECT_EQ(PaperSizeForLocale(0x809), "A4");   // English (United Kingdom)
    EXPECT_EQ(PaperSizeForLocale(0xC0C), "A4");   // French (Canada)
}

}  // namespace
