#pragma once

#include <nlohmann/json.hpp>

namespace qzb {

struct CAppContext;

// The whole decoded state as JSON: model, every settings page and key, the kept blocks and flags,
// the directory, the device information rows and the counters.
nlohmann::ordered_json DumpJson(const CAppContext& context);

} // namespace qzb
