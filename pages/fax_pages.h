#pragma once

#include "base/operation_block.h"
#include "pages/page_def.h"

#include <cstdint>

namespace qzb {

// Fax transmission and reception, and the forward location dialog the reception page opens.
const CPageDef& FaxTxSettingsPage();
const CPageDef& FaxRxSettingsPage();
const CPageDef& ForwardLocationDialog();

// The fax country (USER_FAX_PTT_SET) that changes the ring count scale and shows the line
// controls of the communication page.
inline constexpr std::int32_t kFaxCountryJapan = 19;

// The ring count slider: position = stored count + offset, within minimum ... maximum. The bound
// is the low four bits of byte 60 of the switch block.
struct CRingScale
{
    std::int32_t minimum;
    std::int32_t maximum;
    std::int32_t offset;
};
CRingScale RingScale(std::int32_t faxCountry, const COperationBlock& block);

} // namespace qzb
