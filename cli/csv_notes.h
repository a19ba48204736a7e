#pragma once

#include "addressbook/csv_exchange.h"
#include "base/message_codes.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace qzb {

// One stderr line for each entry a CSV export or import wrote or read otherwise than the source
// held it: "qzbctl: line 32 (SPD012): <reason>".
void PrintCsvNotes(std::ostream& err, const std::vector<CCsvNote>& notes);

// The stderr line that says how many entries of each kind an import read.
void PrintCsvReadSummary(std::ostream& err, const CCsvCounts& counts);

// The detail an error line gives about a CSV file: its name, and the system's reason when there is
// one ("book.csv: No such file or directory").
std::string CsvFileDetail(const std::filesystem::path& file, int systemError);

} // namespace qzb
