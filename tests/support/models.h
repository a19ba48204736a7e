#pragma once

#include <cstdint>

namespace qzb {

// The five models the utility knows, by model code.
inline constexpr std::int32_t kModels[] = {8313, 8314, 8315, 8329, 2152};

} // namespace qzb
