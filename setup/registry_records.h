// What the installer records in the registry under HKEY_LOCAL_MACHINE: the product key
// with its transient values, the port key, the uninstall entry and the edition key.
#pragma once

#include <string>

#include "platform/registry.h"
#include "setup/step_result.h"

namespace setup {

struct SetupContext;
struct InstallState;

inline constexpr char kProductKeyPath[] = "SOFTWARE\\NIMBRAX Writer";
inline constexpr char kUninstallKeyRoot[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr char kEditionKeyPath[] = "SOFTWARE\\Brindle Software Inc\\Quillet Writer";

// The values of the product key that live only while the spooler steps run.
inline constexpr const char* kTransientValueNames[] = {
    "Port Name", "Printer Name", "Destination Folder", "Programmatic Access", "Command",
    "Arguments"};

// Every machine-wide key is addressed in the 64-bit view on 64-bit Windows.
platform::RegistryView MachineView(const InstallState& state);

std::string UninstallKeyPath(const std::string& productName);

// Creates the product key and writes its transient values. Fails (113) when the key
// cannot be created or opened.
StepResult WriteProductKey(SetupContext& context);

// Deletes the six transient values, written or not. Nothing happens when the key
// cannot be opened.
void ClearTransientValues(SetupContext& context);

// Still to be built: each succeeds without doing anything yet.
void CreateEditionKey(SetupContext& context);
void RegisterUninstallEntry(SetupContext& context);
StepResult WritePortKey(SetupContext& context);

}  // namespace setup
