// The product's files: what the installer copies from the medium into the install
// folder, and what the uninstaller deletes there again. One table for both programs.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace product {

// When a row of the product-file table is copied.
enum class CopiedWhen {
    Always,
    NtFamily,                            // not on Windows 98/Me
    ExtensionsOrProgrammaticAccess,      // either install-log flag is set
    ExtensionComponents,                 // the install log's extension flag is set
    ReadmeFound,                         // the medium has a readme (the row's name is the readme's)
    Never,                               // only the uninstaller knows the row: it deletes it
};

// What a failed copy of the row does to the run.
enum class WhenCopyFails { EndsRun, PassedOver };

struct ProductFile {
    const char* name;         // in the install folder (and on the medium, but for the converter)
    CopiedWhen when;
    bool onlyWhenOnMedium;    // looked for first and skipped quietly when the medium lacks it
    WhenCopyFails whenCopyFails;
    bool registersComServer;  // registered with regsvr32 once copied
    // Where the uninstaller deletes the file in its run over the install folder (1 first);
    // 0: not in that run (the readme row is deleted by its spellings, the COM server
    // after it is unregistered, the install log after everything else, so that a removal
    // stopped midway can be run again).
    std::size_t removedAt;
};

// The converter program; its file on the medium is the one built for the platform
// (see the platform rows).
inline constexpr char kConverterName[] = "pagemill.exe";

// Files of the table that other steps name: the shortcuts' targets, the port key's
// extension program, the COM server (unregistered by the uninstaller before it goes).
inline constexpr char kPreferencesProgram[] = "Preferences.exe";
inline constexpr char kSecurityProgram[] = "QuillEncrypt.exe";
inline constexpr char kExtensionProgram[] = "NimbExt.exe";
inline constexpr char kComServerName[] = "QLWFtp.dll";
// The installer's error log in the install folder.
inline constexpr char kErrorLogName[] = "Error.log";

// The medium's install log and settings file, its licence, and its Ghostscript folder
// (deployed under the same name). The uninstaller reads the log's copy by the same name.
inline constexpr char kInstallLogName[] = "Setup.inf";
inline constexpr char kSettingsName[] = "Setup.Ini";
inline constexpr char kLicenceName[] = "LICENSE.TXT";
inline constexpr char kGhostscriptFolder[] = "GNUGS";

// The readmes the installer looks for on the medium, in this order.
inline constexpr std::array<const char*, 4> kReadmeNames = {"README.TXT", "README.HTM", "README.PDF",
                                                            "README.DOC"};

// The product's files: the installer copies the rows in this order (the uninstaller
// follows on its own: kUninstaller64, kUninstaller32), the uninstaller deletes them in
// the order of their last column.
inline constexpr std::array<ProductFile, 21> kProductFiles = {{
    {kConverterName, CopiedWhen::Always, false, WhenCopyFails::EndsRun, false, 18},
    {"QLWriter2.exe", CopiedWhen::NtFamily, false, WhenCopyFails::EndsRun, false, 16},
    {kComServerName, CopiedWhen::ExtensionsOrProgrammaticAccess, true, WhenCopyFails::EndsRun, true, 0},
    {"", CopiedWhen::ReadmeFound, false, WhenCopyFails::EndsRun, false, 0},
    {"setup.inf", CopiedWhen::Always, false, WhenCopyFails::EndsRun, false, 0},
    {"setup.ini", CopiedWhen::Always, false, WhenCopyFails::PassedOver, false, 1},
    {"message.txt", CopiedWhen::Always, false, WhenCopyFails::PassedOver, false, 2},
    {kExtensionProgram, CopiedWhen::ExtensionComponents, true, WhenCopyFails::EndsRun, false, 7},
    {"iSEDQuickPDFSL.dll", CopiedWhen::ExtensionComponents, true, WhenCopyFails::EndsRun, false, 8},
    {kSecurityProgram, CopiedWhen::ExtensionComponents, true, WhenCopyFails::EndsRun, false, 9},
    {"QuillEncrypt.lan", CopiedWhen::ExtensionComponents, true, WhenCopyFails::PassedOver, false, 10},
    {"PDFWrite.rsp", CopiedWhen::Always, false, WhenCopyFails::EndsRun, false, 11},
    {"QLWriter1.exe", CopiedWhen::Always, false, WhenCopyFails::PassedOver, false, 14},
    {"Quillet.dll", CopiedWhen::Always, false, WhenCopyFails::PassedOver, false, 15},
    {kPreferencesProgram, CopiedWhen::Always, false, WhenCopyFails::PassedOver, false, 12},
    {"Preferences.lan", CopiedWhen::Always, false, WhenCopyFails::PassedOver, false, 13},
    // The readme in each spelling the uninstaller deletes, and the error log.
    {"readme.txt", CopiedWhen::Never, false, WhenCopyFails::PassedOver, false, 3},
    {"readme.htm", CopiedWhen::Never, false, WhenCopyFails::PassedOver, false, 4},
    {"readme.doc", CopiedWhen::Never, false, WhenCopyFails::PassedOver, false, 5},
    {"readme.pdf", CopiedWhen::Never, false, WhenCopyFails::PassedOver, false, 6},
    {kErrorLogName, CopiedWhen::Never, false, WhenCopyFails::PassedOver, false, 17},
}};

// The uninstallers: the 64-bit one on 64-bit Windows, the 32-bit one elsewhere.
inline constexpr char kUninstaller64[] = "unInstpm64.exe";
inline constexpr char kUninstaller32[] = "uninstpm.exe";

namespace detail {

constexpr std::size_t CountRemoved() {
    std::size_t count = 0;
    for (const ProductFile& file : kProductFiles) count += file.removedAt > 0 ? 1 : 0;
    return count;
}

constexpr bool EachRemovalPositionOnce() {
    for (std::size_t at = 1; at <= CountRemoved(); ++at) {
        std::size_t rows = 0;
        for (const ProductFile& file : kProductFiles) rows += file.removedAt == at ? 1 : 0;
        if (rows != 1) return false;
    }
    return true;
}
static_assert(EachRemovalPositionOnce(), "the removal positions run from 1 without gaps or repeats");

constexpr std::array<const char*, CountRemoved()> RemovedInOrder() {
    std::array<const char*, CountRemoved()> names{};
    for (const ProductFile& file : kProductFiles) {
        if (file.removedAt > 0) names[file.removedAt - 1] = file.name;
    }
    return names;
}

}  // namespace detail

// The files the uninstaller deletes from the install folder, in this order. The install
// log follows after all of them (see kInstallLogName).
inline constexpr std::array<const char*, detail::CountRemoved()> kRemovedProductFiles = detail::RemovedInOrder();

// The Start-menu shortcuts in the program group; the uninstall shortcut's name holds
// the product name.
inline constexpr char kPreferencesShortcut[] = "Preferences.lnk";
inline constexpr char kReadmeShortcut[] = "Readme.lnk";
inline constexpr char kSecurityShortcut[] = "Security.lnk";
std::string UninstallShortcutName(const std::string& productName);

}  // namespace product
