#include "common/spooler/printer_record.h"

#include "common/product/spooler_names.h"

namespace spooler {

platform::PrinterInfo2 ProductPrinterRecord(const std::string& printerName, const std::string& portName) {
    platform::PrinterInfo2 info;
    info.printerName = printerName;
    info.portName = portName;
    info.driverName = product::kDriverName;
    info.printProcessor = product::kPrintProcessor;
    info.datatype = product::kDatatype;
    info.attributes = platform::kPrinterAttributeLocal;
    return info;
}

}  // namespace spooler
