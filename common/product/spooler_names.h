// The names under which the product's spooler objects are known: the installer adds
// them and the uninstaller removes them by the same names.
#pragma once

namespace product {

inline constexpr char kMonitorName[] = "NIMBRAX Writer Monitor x86";  // on every platform
inline constexpr char kDriverName[] = "NIMBRAX Writer";
inline constexpr char kPrintProcessor[] = "WinPrint";
inline constexpr char kDatatype[] = "RAW";

}  // namespace product
