#include "cli/csv_notes.h"

#include <cstdio>
#include <cstring>

namespace qzb {

std::string CsvNoteText(const CCsvNote& note)
{
    switch (note.reason) {
        case CsvNoteReason::ControlCharacters:
            return "control characters written as spaces";
        case CsvNoteReason::TextCut:
            return "a text longer than its field was cut";
        case CsvNoteReason::PasswordLeftOut:
            return "password left out: it holds characters the import cannot read back";
        case CsvNoteReason::MemberOfOtherKind: {
            char member[16];
            std::snprintf(member, sizeof(member), "SPD%03d", static_cast<int>(note.member));
            return std::string("member ") + member + " left out: not of the kind of the group's first member";
        }
    }
    return "changed";
}

void PrintCsvNotes(std::ostream& err, const std::vector<CCsvNote>& notes)
{
    for (const CCsvNote& note : notes) {
        err << "qzbctl: entry " << note.key << ": " << CsvNoteText(note) << '\n';
    }
}

std::string CsvFileDetail(const std::filesystem::path& file, int systemError)
{
    std::string detail = file.string();
    if (systemError != 0) {
        detail += ": ";
        detail += std::strerror(systemError);
    }
    return detail;
}

} // namespace qzb
