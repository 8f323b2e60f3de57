// The print spooler of the fake machine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/spooler.h"
#include "tests/fake_windows/failure_switches.h"
#include "tests/fake_windows/journal.h"

namespace fake {

class FakeSpooler : public platform::Spooler {
public:
    FakeSpooler(Journal& journal, FailureSwitches& failures) : journal_(journal), failures_(failures) {}
    std::vector<std::string> monitors = {"Local Port", "Standard TCP/IP Port", "USB Monitor"};
    std::vector<std::uint32_t> enumMonitorBufferSizes;  // what each call offered

    // The size of a level-1 list as a 64-bit spooler packs it: a pointer per entry and
    // the names with their NULs.
    std::uint32_t MonitorListBytes() const;
    platform::Win32Value<platform::MonitorEnumeration> EnumMonitors(std::uint32_t bufferBytes) override;

private:
    Journal& journal_;
    FailureSwitches& failures_;
};

}  // namespace fake
