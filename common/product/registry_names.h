// The registry keys and values the installer writes under HKEY_LOCAL_MACHINE and the
// uninstaller removes: one place for both programs, so that they name the same keys.
#pragma once

#include <array>
#include <string>

namespace product {

inline constexpr char kProductKeyPath[] = "SOFTWARE\\NIMBRAX Writer";
inline constexpr char kUninstallKeyParent[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr char kEditionKeyPath[] = "SOFTWARE\\Brindle Software Inc\\Quillet Writer";

// The values of the product key that live only while the installer's spooler steps run.
inline constexpr std::array<const char*, 6> kTransientValueNames = {
    "Port Name", "Printer Name", "Destination Folder", "Programmatic Access", "Command", "Arguments"};

// The product's uninstall entry: the Uninstall key's subkey named after the product.
std::string UninstallKeyPath(const std::string& productName);
// The port's settings: the product key's subkey named after the port.
std::string PortKeyPath(const std::string& portName);

// The longest product name whose uninstall entry Windows accepts: a key path counts at
// most 255 characters, and the entry's path begins with the Uninstall key's.
inline constexpr std::size_t kLongestProductNameForKey = 255 - (sizeof(kUninstallKeyParent) - 1) - 1;

}  // namespace product
