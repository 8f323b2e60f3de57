// The product's files: what the installer copies from the medium into the install
// folder, and what the uninstaller deletes there again. One list for both programs.
#pragma once

#include <array>
#include <string>

namespace product {

// When a row of the copy list is copied.
enum class CopiedWhen {
    Always,
    NtFamily,                            // not on Windows 98/Me
    ExtensionsOrProgrammaticAccess,      // either install-log flag is set
    ExtensionComponents,                 // the install log's extension flag is set
    ReadmeFound,                         // the medium has a readme (the row's name is the readme's)
};

// What a failed copy of the row does to the run.
enum class WhenCopyFails { EndsRun, PassedOver };

struct ProductFile {
    const char* name;         // in the install folder (and on the medium, but for the converter)
    CopiedWhen when;
    bool onlyWhenOnMedium;    // looked for first and skipped quietly when the medium lacks it
    WhenCopyFails whenCopyFails;
    bool registersComServer;  // registered with regsvr32 once copied
};

// The converter program; its file on the medium is the one built for the platform
// (see the platform rows).
inline constexpr char kConverterName[] = "pagemill.exe";

// The product files in the order the installer copies them; the uninstaller follows on
// its own (kUninstaller64, kUninstaller32).
inline constexpr std::array<ProductFile, 16> kProductCopyList = {{
    {kConverterName, CopiedWhen::Always, false, WhenCopyFails::EndsRun, false},
    {"QLWriter2.exe", CopiedWhen::NtFamily, false, WhenCopyFails::EndsRun, false},
    {"QLWFtp.dll", CopiedWhen::ExtensionsOrProgrammaticAccess, true, WhenCopyFails::EndsRun, true},
    {"", CopiedWhen::ReadmeFound, false, WhenCopyFails::EndsRun, false},
    {"setup.inf", CopiedWhen::Always, false, WhenCopyFails::EndsRun, false},
    {"setup.ini", CopiedWhen::Always, false, WhenCopyFails::PassedOver, false},
    {"message.txt", CopiedWhen::Always, false, WhenCopyFails::PassedOver, false},
    {"NimbExt.exe", CopiedWhen::ExtensionComponents, true, WhenCopyFails::EndsRun, false},
    {"iSEDQuickPDFSL.dll", CopiedWhen::ExtensionComponents, true, WhenCopyFails::EndsRun, false},
    {"QuillEncrypt.exe", CopiedWhen::ExtensionComponents, true, WhenCopyFails::EndsRun, false},
    {"QuillEncrypt.lan", CopiedWhen::ExtensionComponents, true, WhenCopyFails::PassedOver, false},
    {"PDFWrite.rsp", CopiedWhen::Always, false, WhenCopyFails::EndsRun, false},
    {"QLWriter1.exe", CopiedWhen::Always, false, WhenCopyFails::PassedOver, false},
    {"Quillet.dll", CopiedWhen::Always, false, WhenCopyFails::PassedOver, false},
    {"Preferences.exe", CopiedWhen::Always, false, WhenCopyFails::PassedOver, false},
    {"Preferences.lan", CopiedWhen::Always, false, WhenCopyFails::PassedOver, false},
}};

// The uninstallers: the 64-bit one on 64-bit Windows, the 32-bit one elsewhere.
inline constexpr char kUninstaller64[] = "unInstpm64.exe";
inline constexpr char kUninstaller32[] = "uninstpm.exe";

// The COM server of the copy list, unregistered by the uninstaller but left in place.
inline constexpr char kComServerName[] = "QLWFtp.dll";
// The medium's Ghostscript folder, deployed under the same name.
inline constexpr char kGhostscriptFolder[] = "GNUGS";
// The installer's error log in the install folder.
inline constexpr char kErrorLogName[] = "Error.log";

// The readmes the installer looks for on the medium, in this order.
inline constexpr std::array<const char*, 4> kReadmeNames = {"README.TXT", "README.HTM", "README.PDF",
                                                            "README.DOC"};

// The install log as the installer copies it into the install folder. The uninstaller
// deletes it after every other file, so that an interrupted removal can be run again.
inline constexpr char kInstalledLogName[] = "setup.inf";

// The files the uninstaller deletes from the install folder, in this order; the install
// log follows last.
inline constexpr std::array<const char*, 18> kRemovedProductFiles = {
    "setup.ini",       "message.txt",     "readme.txt",    "readme.htm",
    "readme.doc",  "readme.pdf",      "NimbExt.exe",     "iSEDQuickPDFSL.dll", "QuillEncrypt.exe",
    "QuillEncrypt.lan", "PDFWrite.rsp", "Preferences.exe", "Preferences.lan", "QLWriter1.exe",
    "Quillet.dll", "QLWriter2.exe",   kErrorLogName,     kConverterName};

// The Start-menu shortcuts in the program group; the uninstall shortcut's name holds
// the product name.
inline constexpr char kPreferencesShortcut[] = "Preferences.lnk";
inline constexpr char kReadmeShortcut[] = "Readme.lnk";
inline constexpr char kSecurityShortcut[] = "Security.lnk";
std::string UninstallShortcutName(const std::string& productName);

}  // namespace product
