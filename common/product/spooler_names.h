// The names under which the product's spooler objects are known: the installer adds
// them and the uninstaller removes them by the same names.
#pragma once

namespace product {

inline constexpr char kMonitorName[] = "NIMBRAX Writer Monitor x86";  // on every platform
inline constexpr char kDriverName[] = "NIMBRAX Writer";
inline constexpr char kPrintProcessor[] = "WinPrint";
inline constexpr char kDatatype[] = "RAW";

// Spooler environments and the port-monitor DLL built for each.
inline constexpr char kEnvironment4x[] = "Windows 4.0";
inline constexpr char kEnvironmentNtX86[] = "Windows NT x86";
inline constexpr char kEnvironmentX64[] = "Windows x64";
inline constexpr char kMonitorDll4x[] = "nimbmon.dll";
inline constexpr char kMonitorDllNtX86[] = "nimbmon32.dll";
inline constexpr char kMonitorDllX64[] = "nimbmon64.dll";

}  // namespace product
