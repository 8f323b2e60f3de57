#include "common/product/product_files.h"

namespace product {

std::string UninstallShortcutName(const std::string& productName) {
    return "Uninstall " + productName + ".lnk";
}

}  // namespace product
