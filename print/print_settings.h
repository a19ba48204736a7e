#pragma once

#include "pages/page_def.h"
#include "print/list_layout.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

class CPage;
class CValueStore;
struct CAppContext;

// The print choices live on this value-store page so that the selection dialog reopens with them.
inline constexpr std::string_view kPrintItemPage = "SELECT_PRINT_ITEM_DLG";

// The lists the print settings choose and, for each, its numbers: every number in "all numbers"
// mode, else those of its selected-numbers text.
CPrintSelection ReadPrintSelection(const CValueStore& store);

// The selection dialog CSelectPriItemDlg: per list a check box, the all / selected radios, the
// numbers edit and its range text, enabled only while the list is checked.
const CPageDef& SelectPrintItemDialog();
// OK is enabled only while at least one list is checked.
bool SelectPrintItemAccepts(const CPage& page);

// What the lists are printed from: the book, the date format, the panel language and the texts.
CPrintSource PrintSourceOf(const CAppContext& context, std::u16string userName, std::uint16_t today);
// The name the user logged on with; empty when the system does not tell.
std::u16string LoggedOnUserName();

// The text keys printing looks up.
std::vector<std::string> PrintTextKeys();

} // namespace qzb
