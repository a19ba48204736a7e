#pragma once

#include "pages/page_def.h"

namespace qzb {

// E-mail sending: sender, SMTP server and port, POP before SMTP and SMTP authentication.
const CPageDef& EmailSettingsPage();

// The LDAP directory server the device searches for addresses.
const CPageDef& LdapSettingsPage();

} // namespace qzb
