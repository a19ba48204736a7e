#pragma once

#include <cstdint>

namespace qzb {

class CValueStore;

// Adjusts the initial values for the running model (bit from its profile).
void ApplyModelDefaults(CValueStore& store, std::uint32_t modelBit);

} // namespace qzb
