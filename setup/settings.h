// The medium's optional settings file "Setup.Ini", read key by key with the system's
// private-profile reader: names without regard to case, empty for anything missing,
// values cut to capacity - 1.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"

namespace setup {

class SetupSettings {
public:
    // Every later read names this full path; until then everything reads as empty.
    void Bind(platform::FileSystem& files, const std::string& settingsPath);

    // The text of the key, cut to capacity - 1 characters, or the empty text.
    std::string Read(const std::string& section, const std::string& key,
                     std::size_t capacity) const;

private:
    platform::FileSystem* files_ = nullptr;
    std::string path_;
};

// The keys and capacities the installer reads.
namespace settings_keys {
struct Key {
    const char* section;
    const char* name;
    std::size_t capacity;
};
inline constexpr Key kAutoPaperSize{"Installation", "AutoPaperSize", 10};
inline constexpr Key kDestinationFolder{"Parameters", "DestinationFolder", 1000};
inline constexpr Key kQuilletPro{"Preferences", "Quillet_Pro", 15};
inline constexpr Key kCommand{"Parameters", "Command", 1000};
inline constexpr Key kArguments{"Parameters", "Arguments", 1000};
inline constexpr Key kGnuGs{"Parameters", "GNUGS", 10};
inline constexpr Key kPrintDirectly{"Installation", "PrintDirectly", 10};
// Shown by the system's list of installed programs; written only when given.
inline constexpr Key kDisplayVersion{"Installation", "DisplayVersion", 256};
inline constexpr Key kPublisher{"Installation", "Publisher", 256};
}  // namespace settings_keys

std::string ReadSetting(const SetupSettings& settings, const settings_keys::Key& key);

// True when the key's text is non-empty and its number (atoi) is not 0.
bool SettingIsOn(const SetupSettings& settings, const settings_keys::Key& key);

// "Letter" for English (United States) and English (Canada), "A4" for every other locale.
std::string PaperSizeForLocale(std::uint32_t lcid);

}  // namespace setup
