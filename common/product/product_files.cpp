#include "common/product/product_files.h"

namespace product {

std::string ConverterOnMedium(bool isWow64, bool isNtFamily) {
    if (isWow64) return "pagemill64.exe";
    return isNtFamily ? "pagemill32.exe" : kConverterName;
}

std::string UninstallShortcutName(const std::string& productName) {
    return "Uninstall " + productName + ".lnk";
}

}  // namespace product
