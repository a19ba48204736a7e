#include "cli/csv_notes.h"

#include "app/english_texts.h"
#include "app/messenger.h"
#include "model/text_codec.h"

#include <cstdio>
#include <cstring>

namespace qzb {

std::string CsvNoteText(const CCsvNote& note)
{
    // The wording the window shows too, in the English the utility ships.
    std::u16string text = EnglishText(CsvNoteTextKey(note.reason));
    if (note.reason == CsvNoteReason::MemberOfOtherKind) {
        char member[16];
        std::snprintf(member, sizeof(member), "SPD%03d", static_cast<int>(note.member));
        text = InsertText(text, Utf8ToUtf16(member));
    }
    return Utf16ToUtf8(text);
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
