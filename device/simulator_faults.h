#pragma once

#include "device/simulated_device.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace qzb {

// Why a fault named as KIND[=N] (the --sim-fault option of qzb and qzbctl) was not taken.
enum class FaultRefusal : std::uint8_t { None, UnknownKind, TakesNoNumber, NeedsNumber, OutOfRange };

struct CFaultParse
{
    FaultRefusal refusal = FaultRefusal::None;
    std::size_t lowest = 0; // the range, for OutOfRange
    std::size_t highest = std::numeric_limits<std::size_t>::max();
};

// busy, damaged, status=N (0-255), country=N (0-255), split=N (1 or more), cut=N, cut-every=N.
// The faults change only when the whole text is taken.
CFaultParse ApplySimulatorFault(CSimulatorFaults& faults, std::string_view fault);

} // namespace qzb
