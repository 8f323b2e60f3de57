// The platforms the installer tells apart, and everything that differs between them:
// one constant row each. The installer picks a row once and every step reads its
// fields; the uninstaller takes the 64-bit row, the only one it runs on.
#pragma once

#include <array>

#include "common/product/product_files.h"
#include "platform/registry.h"
#include "platform/shell.h"

namespace product {

enum class PlatformId { Windows4x, WindowsNtX86, WindowsX64, WindowsOnArm };

// What follows the uninstaller's path in the uninstall entry and its shortcut.
enum class UninstallArguments {
    InstallFolder,    // a space and the install folder (the 32-bit uninstaller)
    UninstallSwitch,  // " /uninstall" (the 64-bit uninstaller)
};

// What a failed copy of the uninstaller does to the run.
enum class UninstallerCopyFailure {
    PassedOver,     // Windows 98/Me can do without it
    EndsRun,        // ends the run with the uninstaller's own message
    EndsRunHelper,  // ends the run with the helper's "(Err-109)" text
};

struct PlatformRow {
    PlatformId id;
    const char* name;             // as the run log names it
    bool supported;               // refused before anything is written when false
    bool isNtFamily;              // Windows 2000 and later
    bool is64BitWindows;          // the 32-bit installer runs under WOW64
    const char* environment;      // the spooler environment of every spooler call
    const char* monitorDll;       // the port monitor DLL in the system folder
    bool monitorByHelper;         // the 64-bit copy helper puts it there, not Setup
    const char* converterOnMedium;  // the converter program built for the platform
    const char* uninstaller;      // the uninstaller copied into the install folder
    UninstallArguments uninstallArguments;
    bool uninstallerTakesSilent;  // the uninstaller is the project's own and knows " /s"
    UninstallerCopyFailure whenUninstallerCopyFails;
    const char* driverSubfolder;  // below the medium's "Driver\" for the driver programs
    bool bareDriverFileNames;     // the spooler takes driver files by bare name
    platform::RegistryView machineView;    // every HKEY_LOCAL_MACHINE key of the product
    platform::SpecialFolder programsFolder;  // where the Start-menu group goes
};

inline constexpr std::array<PlatformRow, 4> kPlatformRows = {{
    {PlatformId::Windows4x, "Windows 98/Me", true, false, false, "Windows 4.0", "nimbmon.dll", false,
     "pagemill.exe", kUninstaller32, UninstallArguments::InstallFolder, false,
     UninstallerCopyFailure::PassedOver, "", false,
     platform::RegistryView::Native, platform::SpecialFolder::UserPrograms},
    {PlatformId::WindowsNtX86, "Windows NT x86", true, true, false, "Windows NT x86", "nimbmon32.dll", false,
     "pagemill32.exe", kUninstaller32, UninstallArguments::InstallFolder, false,
     UninstallerCopyFailure::EndsRun, "", false,
     platform::RegistryView::Native, platform::SpecialFolder::CommonPrograms},
    {PlatformId::WindowsX64, "Windows x64", true, true, true, "Windows x64", "nimbmon64.dll", true,
     "pagemill64.exe", kUninstaller64, UninstallArguments::UninstallSwitch, true,
     UninstallerCopyFailure::EndsRunHelper, "x64\\", true,
     platform::RegistryView::Force64, platform::SpecialFolder::CommonPrograms},
    // 64-bit Windows on ARM also runs the 32-bit installer under WOW64, but its spooler
    // cannot load the x64 driver, monitor or helper: the product has nothing for it.
    {PlatformId::WindowsOnArm, "Windows on ARM", false, true, true, "Windows ARM64", "", false, "", "",
     UninstallArguments::UninstallSwitch, false, UninstallerCopyFailure::EndsRun, "", true, platform::RegistryView::Force64,
     platform::SpecialFolder::CommonPrograms},
}};

constexpr const PlatformRow& Row(PlatformId id) {
    return kPlatformRows[static_cast<std::size_t>(id)];
}

// The uninstaller is a 64-bit program: it runs on, and removes what Setup installed for,
// 64-bit Windows.
inline constexpr const PlatformRow& kUninstallerRow = Row(PlatformId::WindowsX64);

}  // namespace product
