#include "setup/spooler/paper_sizes.h"

namespace setup {

// The names compare exactly, case included: they are spooler form names.
bool KeepsGlobalDefaultForm(const std::string& paperSizeName) { return paperSizeName == "Letter"; }

std::string GlobalDefaultFormName(const std::string& paperSizeName) {
    if (paperSizeName == "A0") return "ISO A0";
    return paperSizeName;
}

std::int16_t PaperCode(const std::string& paperSizeName) {
    if (paperSizeName == "A4") return kDmPaperA4;
    if (paperSizeName == "Legal") return kDmPaperLegal;
    if (paperSizeName == "A0") return kDmPaperA3;
    return kDmPaperLetter;
}

}  // namespace setup
