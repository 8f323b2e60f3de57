// The records with which the product's printer driver and printer are added to the
// spooler.
#pragma once

#include <cstdint>
#include <string>

#include "platform/spooler.h"

namespace spooler {

// The product's driver for `environment` at driver `version`, with the help file and
// data type every version shares; the caller names the driver's own files.
platform::DriverInfo3 ProductDriverRecord(const std::string& environment, std::uint32_t version);

// The product's driver on the Windows NT family (version 3): the PostScript driver with
// the product's printer description. Its files are named with `folder` in front (empty:
// by their bare names, as the 64-bit spooler takes them from its driver directory).
platform::DriverInfo3 ProductNtDriverRecord(const std::string& environment, const std::string& folder);

// A local printer named `printerName` on `portName`, printing through the product's
// driver with the system's print processor and raw data.
platform::PrinterInfo2 ProductPrinterRecord(const std::string& printerName, const std::string& portName);

}  // namespace spooler
