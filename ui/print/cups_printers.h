#pragma once

#include "print/printer_check.h"

namespace qzb {

// The print queues the CUPS service knows, with their drivers and device URIs.
class CCupsPrinters : public IInstalledPrinters
{
public:
    std::vector<CInstalledPrinter> Printers() const override;
};

} // namespace qzb
