#pragma once

#include "base/operation_block.h"

#include <cstdint>

namespace qzb {

class CValueStore;

// Seeds the store items the block carries and repairs out-of-range fields of the block in place.
// Returns the dial mode code.
std::int32_t SeedFromOperationBlock(COperationBlock& block, CValueStore& store);

} // namespace qzb
