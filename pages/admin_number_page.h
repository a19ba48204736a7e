#pragma once

#include "pages/page_def.h"

namespace qzb {

// The administrator number page: the number as six digits, stored back only when all six are.
const CPageDef& AdminNumberPage();

inline constexpr std::int32_t kAdminNumberEditId = 2193;

} // namespace qzb
