#pragma once

#include <nlohmann/json.hpp>

#include <string_view>

namespace qzb {

struct CAppContext;

// The whole decoded state as JSON: model, every settings page and key, the kept blocks and flags,
// the directory, the device information rows and the counters.
nlohmann::ordered_json DumpJson(const CAppContext& context);

// One value as the dump shows it, {"number", "text"}; null for a page or key the store lacks.
nlohmann::ordered_json SettingJson(const CAppContext& context, std::string_view page, std::string_view key);

} // namespace qzb
