#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>

// The texts of the import reports: catalogue texts with "%s" inserts, shared by the CSV and the
// contacts imports.

namespace qzb {

// Puts each insert in place of the next "%s"; the inserts are taken literally.
std::u16string FillInserts(std::u16string text, std::initializer_list<std::u16string> inserts);

// A count as the reports write it.
std::u16string CountText(std::size_t count);

} // namespace qzb
