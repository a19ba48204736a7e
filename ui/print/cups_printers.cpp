#include "ui/print/cups_printers.h"

#include <cups/cups.h>

namespace qzb {

std::vector<CInstalledPrinter> CCupsPrinters::Printers() const
{
    std::vector<CInstalledPrinter> printers;
    cups_dest_t* destinations = nullptr;
    // No service running means no queues.
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &destinations);
    for (int i = 0; i < count; ++i) {
        const cups_dest_t& destination = destinations[i];
        if (destination.instance != nullptr) {
            continue; // an instance shares its queue's driver and port
        }
        const char* model = cupsGetOption("printer-make-and-model", destination.num_options, destination.options);
        const char* uri = cupsGetOption("device-uri", destination.num_options, destination.options);
        printers.push_back({destination.name != nullptr ? destination.name : "",
                            model != nullptr ? model : "",
                            uri != nullptr ? uri : ""});
    }
    cupsFreeDests(count, destinations);
    return printers;
}

} // namespace qzb
