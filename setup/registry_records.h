// What the installer records in the registry under HKEY_LOCAL_MACHINE: the product key
// with its transient values, the port key, the uninstall entry and the edition key.
#pragma once

#include <string>

#include "common/product/platform_rows.h"
#include "platform/platform.h"
#include "setup/install_state.h"
#include "setup/settings.h"
#include "setup/step_result.h"

namespace setup {

// Every machine-wide key is addressed in the row's view: the 64-bit one on 64-bit Windows.

// Creates the product key and writes its transient values. Fails (113) when the key
// cannot be created or opened.
StepResult WriteProductKey(platform::Registry& registry, const product::PlatformRow& row,
                           const InstallState& state, const SetupSettings& settings);

// Deletes the six transient values, written or not. Nothing happens when the key
// cannot be opened.
void ClearTransientValues(platform::Registry& registry, const product::PlatformRow& row);

// Creates the professional edition's key, empty. Never fails the run.
void CreateEditionKey(platform::Registry& registry, const product::PlatformRow& row);

// The uninstall entry's command: the uninstaller's quoted path, then " /uninstall" on
// 64-bit Windows, else a space and the destination folder.
std::string UninstallCommand(const product::PlatformRow& row, const InstallState& state);

// Writes the uninstall entry "DisplayName" and "UninstallString", both counted with
// their NUL. Nothing is written when the entry cannot be created, and a value that
// cannot be written does not stop the other. Gives success only when the entry is
// complete, else the first error (key or value); the step itself passes it over.
platform::Win32Result RegisterUninstallEntry(platform::Registry& registry, platform::FileSystem& files,
                                             const product::PlatformRow& row, const InstallState& state,
                                             const SetupSettings& settings);

// The values the system's list of installed programs shows beside the name: the icon
// (the uninstaller), the install location, the silent uninstall command (64-bit), no
// modify or repair, the size of the install folder in KiB, and the settings file's
// "DisplayVersion" and "Publisher" when it gives them. Failures are passed over.
void DescribeInstallation(platform::FileSystem& files, const product::PlatformRow& row, const InstallState& state,
                          const SetupSettings& settings, platform::RegistryKey& entry);

// Creates the port key and writes its values, counted without their NUL. Fails (113) when the
// key cannot be created.
StepResult WritePortKey(platform::Registry& registry, platform::FileSystem& files, const product::PlatformRow& row,
                        const InstallState& state);

}  // namespace setup
