#include "common/spooler/product_records.h"

#include "common/product/spooler_names.h"

namespace spooler {
namespace {

constexpr std::uint32_t kDriverVersionNt = 3;

}  // namespace

platform::DriverInfo3 ProductDriverRecord(const std::string& environment, std::uint32_t version) {
    platform::DriverInfo3 info;
    info.version = version;
    info.name = product::kDriverName;
    info.environment = environment;
    info.helpFile = "PSCRIPT.HLP";
    info.defaultDataType = product::kDatatype;
    return info;
}

platform::DriverInfo3 ProductNtDriverRecord(const std::string& environment, const std::string& folder) {
    platform::DriverInfo3 info = ProductDriverRecord(environment, kDriverVersionNt);
    info.driverPath = folder + "PSCRIPT5.DLL";
    info.dataFile = folder + "NIMBRAXW.PPD";
    info.configFile = folder + "PS5UI.DLL";
    info.dependentFiles = {"PSCRIPT.NTF"};
    return info;
}

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
