#include "setup/settings.h"

#include "common/profile/private_profile.h"

namespace setup {

void SetupSettings::Bind(platform::FileSystem& files, const std::string& settingsPath) {
    files_ = &files;
    path_ = settingsPath;
}

std::string SetupSettings::Read(const std::string& section, const std::string& key,
                                std::size_t capacity) const {
    if (files_ == nullptr) return {};
    return files_->GetPrivateProfileString(section, key, capacity, path_);
}

std::string ReadSetting(const SetupSettings& settings, const settings_keys::Key& key) {
    return settings.Read(key.section, key.name, key.capacity);
}

bool SettingIsOn(const SetupSettings& settings, const settings_keys::Key& key) {
    const std::string value = ReadSetting(settings, key);
    return !value.empty() && profile::ParseLeadingInt(value) != 0;
}

std::string PaperSizeForLocale(std::uint32_t lcid) {
    constexpr std::uint32_t kEnglishUnitedStates = 0x409;
    constexpr std::uint32_t kEnglishCanada = 0x1009;
    return (lcid == kEnglishUnitedStates || lcid == kEnglishCanada) ? "Letter" : "A4";
}

}  // namespace setup
