#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>

#include <ostream>
#include <string>
#include <vector>

namespace qzb {

class CCliApp;
struct CPageDef;

// `qzbctl page list`: the pages and setting dialogs of the running model.
nlohmann::ordered_json PageListJson(CCliApp& app);

// `qzbctl page show`: the page as it shows after loading the app's current data.
nlohmann::ordered_json PageShowJson(CCliApp& app, const CPageDef& def);

// The outcome of `qzbctl page set` before anything is saved.
struct CPageSetResult
{
    int status = 0; // the qzbctl exit status
    std::string message; // what went wrong, for stderr
};

// Applies ID=VALUE (or NAME=VALUE) assignments in order as a user would, then stores the page into
// the app's value store. A refused value is a usage error; a failed check names its control.
CPageSetResult ApplyPageAssignments(CCliApp& app, const CPageDef& def, const std::vector<std::string>& assignments);

} // namespace qzb
