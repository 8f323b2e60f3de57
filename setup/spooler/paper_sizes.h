// The install log's paper size name, as a form name for the NT family and as a paper
// code for the Windows 4.x family.
#pragma once

#include <cstdint>
#include <string>

namespace setup {

inline constexpr std::int16_t kDmPaperLetter = 1;
inline constexpr std::int16_t kDmPaperA3 = 8;
inline constexpr std::int16_t kDmPaperA4 = 9;
inline constexpr std::int16_t kDmPaperLegal = 5;

// "Letter" leaves the printer's global default form as it is on the NT family.
bool KeepsGlobalDefaultForm(const std::string& paperSizeName);

// The form for the global default: "A0" is the spooler's "ISO A0"; any other name is
// the form's own name (the device mode holds 31 characters of it).
std::string GlobalDefaultFormName(const std::string& paperSizeName);

// The DEVMODE paper code. "A0" has none that the 4.x drivers know; A3 is the largest they
// do. Names without a code of their own fall back to Letter.
std::int16_t PaperCode(const std::string& paperSizeName);

}  // namespace setup
