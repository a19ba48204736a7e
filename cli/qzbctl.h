#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace qzb {

// Exit statuses of qzbctl.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitFailed = 2;

// Runs one qzbctl command line (arguments without the program name) with the given streams.
int RunQzbctl(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace qzb
