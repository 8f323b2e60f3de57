// What the installer records in the registry under HKEY_LOCAL_MACHINE: the product key
// with its transient values, the port key, the uninstall entry and the edition key.
#pragma once

#include <string>

#include "platform/registry.h"
#include "setup/step_result.h"

namespace setup {

struct SetupContext;
struct InstallState;

// Every machine-wide key is addressed in the 64-bit view on 64-bit Windows.
platform::RegistryView MachineView(const InstallState& state);

// Creates the product key and writes its transient values. Fails (113) when the key
// cannot be created or opened.
StepResult WriteProductKey(SetupContext& context);

// Deletes the six transient values, written or not. Nothing happens when the key
// cannot be opened.
void ClearTransientValues(SetupContext& context);

// Creates the professional edition's key, empty. Never fails the run.
void CreateEditionKey(SetupContext& context);

// The uninstall entry's command: the uninstaller's quoted path, then " /uninstall" on
// 64-bit Windows, else a space and the destination folder.
std::string UninstallCommand(const InstallState& state);

// Writes the uninstall entry "DisplayName" and "UninstallString", both counted with
// their NUL. Nothing is written when the entry cannot be created, and a value that
// cannot be written does not stop the other. Gives success only when the entry is
// complete, else the first error (key or value); the step itself passes it over.
platform::Win32Result RegisterUninstallEntry(SetupContext& context);

// The values the system's list of installed programs shows beside the name: the icon
// (the uninstaller), the install location, the silent uninstall command (64-bit), no
// modify or repair, the size of the install folder in KiB, and the settings file's
// "DisplayVersion" and "Publisher" when it gives them. Failures are passed over.
void DescribeInstallation(SetupContext& context, platform::RegistryKey& entry);

// Creates the port key and writes its values, counted without their NUL. Fails (113) when the
// key cannot be created.
StepResult WritePortKey(SetupContext& context);

}  // namespace setup
