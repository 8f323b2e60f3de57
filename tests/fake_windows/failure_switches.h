// Makes a fake operation fail with a chosen Win32 error, for every call or only for
// calls whose subject (a path, a key, a command line) contains a given text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fake {

class FailureSwitches {
public:
    // `times` = 0: every matching call fails; otherwise only the next `times` ones.
    void Fail(const std::string& operation, std::uint32_t error, const std::string& subjectPart = "",
              int times = 0);
    void Clear() { switches_.clear(); }
    // The error the call must fail with, if a switch matches it.
    std::optional<std::uint32_t> Check(const std::string& operation, const std::string& subject = "");

private:
    struct Switch {
        std::string operation;
        std::uint32_t error;
        std::string subjectPart;  // lower case
        int remaining;            // 0: unlimited
    };
    std::vector<Switch> switches_;
};

// Lower-case ASCII with forward slashes turned into backslashes: how the fakes compare
// paths and key names.
std::string Normalize(const std::string& path);

}  // namespace fake
