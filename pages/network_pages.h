#pragma once

#include "pages/page.h"

#include <cstdint>

namespace qzb {

// The TCP/IP page and the protocol dialogs it opens.
const CPageDef& TcpIpSettingsPage();
const CPageDef& DnsSettingDialog();
const CPageDef& FtpSettingDialog();
const CPageDef& SmbSettingDialog();
const CPageDef& BonjourSettingDialog();
const CPageDef& IppSettingDialog();
const CPageDef& RawPortSettingDialog();
const CPageDef& SnmpSettingDialog();
const CPageDef& AddressFilterDialog();
const CPageDef& Ipv6Dialog();

// Why a four-field host address is refused: kFirstEmptyField when a field is empty, 0 for the
// first octet (0, 127, and 224 and above; with upperRangeAllowed only 224 and 255), 3 for a last
// octet of 0; -1 when the address is acceptable.
std::int32_t HostAddressFault(const COctets& octets, bool upperRangeAllowed);

// Ports the device keeps for its own services; neither the RAW port nor SNMP may take them.
bool IsReservedPort(std::int64_t port);

} // namespace qzb
