#pragma once

#include "pages/page_def.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

// One node of the page host: its type code, the page class and store page name, the size ratio
// key, and the models whose tree has the node. Group nodes carry no page.
struct CRegistryRow
{
    std::uint32_t typeCode;
    std::string_view className; // empty for a node without page
    std::string_view pageName;
    std::string_view ratioKey;
    std::uint32_t modelMask;
};

// In host order, the group nodes included.
std::span<const CRegistryRow> PageRegistry();

// Every page and setting dialog that has a model, in registry order, then the setting dialogs.
std::span<const CPageDef* const> PageDefs();
// The pages and dialogs the running model has.
std::vector<const CPageDef*> PageDefsForModel(std::uint32_t modelBit);
const CPageDef* FindPageDef(std::string_view name);
// The page of the model with a control the model shows that opens the setting dialog; null when
// none does.
const CPageDef* PageOpeningDialog(std::string_view dialog, std::uint32_t modelBit);
const CPageDef* FindPageDef(std::uint32_t typeCode);

// Every text key the pages look up: their titles, ratios, label texts and choices, the texts
// their rules compose, and the texts of the service-man dialogs.
std::vector<std::string> PageTextKeys();

} // namespace qzb
