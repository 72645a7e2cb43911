// log_record.cpp - the names of log levels and log groups.
#include "logging/log_record.h"

#include <array>

namespace Brix {

namespace {

constexpr std::array<std::string_view, 4> kLevelNames = {"  OKAY", "  WARN", " ERROR", "ALWAYS"};
constexpr std::array<std::string_view, 8> kGroupNames = {"DBG", "GEN", "XTR", "PRF",
                                                         "MEM", "DSK", "NET", "TST"};

}  // namespace

std::string_view LevelName(int32_t level) noexcept {
    if (level < 0 || static_cast<size_t>(level) >= kLevelNames.size()) {
        return "  ????";
    }
    return kLevelNames[static_cast<size_t>(level)];
}

std::string_view GroupName(int bit) noexcept {
    if (bit < 0 || static_cast<size_t>(bit) >= kGroupNames.size()) {
        return "???";
    }
    return kGroupNames[static_cast<size_t>(bit)];
}

}  // namespace Brix
