#include "common/product/registry_names.h"

namespace product {

std::string UninstallKeyPath(const std::string& productName) {
    return std::string(kUninstallKeyParent) + "\\" + productName;
}

std::string PortKeyPath(const std::string& portName) { return std::string(kProductKeyPath) + "\\" + portName; }

}  // namespace product
