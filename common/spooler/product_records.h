// The record with which the product's printer is added to the spooler.
#pragma once

#include <string>

#include "platform/spooler.h"

namespace spooler {

// A local printer named `printerName` on `portName`, printing through the product's
// driver with the system's print processor and raw data.
platform::PrinterInfo2 ProductPrinterRecord(const std::string& printerName, const std::string& portName);

}  // namespace spooler
