#include "ui/print/cups_printers.h"

#include <cups/cups.h>
#include <dlfcn.h>

namespace qzb {

namespace {

// libcups is opened the first time the queues are listed. Linked, it and what it pulls in (TLS,
// Kerberos, DNS-SD) would be loaded and relocated at every start of the window and of qzbctl, a
// tenth of a cold start, for a list only printing asks for.
struct CCupsCalls
{
    decltype(&cupsGetDests2) getDests = nullptr;
    decltype(&cupsGetOption) getOption = nullptr;
    decltype(&cupsFreeDests) freeDests = nullptr;

    bool Usable() const { return getDests != nullptr && getOption != nullptr && freeDests != nullptr; }
};

template <class TFunction>
void Bind(void* library, const char* name, TFunction& function)
{
    function = reinterpret_cast<TFunction>(dlsym(library, name));
}

const CCupsCalls& Cups()
{
    static const CCupsCalls calls = [] {
        CCupsCalls found;
        if (void* library = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL)) {
            Bind(library, "cupsGetDests2", found.getDests);
            Bind(library, "cupsGetOption", found.getOption);
            Bind(library, "cupsFreeDests", found.freeDests);
        }
        return found;
    }();
    return calls;
}

} // namespace

std::vector<CInstalledPrinter> CCupsPrinters::Printers() const
{
    std::vector<CInstalledPrinter> printers;
    const CCupsCalls& cups = Cups();
    // No CUPS library, like no service running, means no queues.
    if (!cups.Usable()) {
        return printers;
    }
    cups_dest_t* destinations = nullptr;
    const int count = cups.getDests(CUPS_HTTP_DEFAULT, &destinations);
    for (int i = 0; i < count; ++i) {
        const cups_dest_t& destination = destinations[i];
        if (destination.instance != nullptr) {
            continue; // an instance shares its queue's driver and port
        }
        const char* model = cups.getOption("printer-make-and-model", destination.num_options, destination.options);
        const char* uri = cups.getOption("device-uri", destination.num_options, destination.options);
        printers.push_back({destination.name != nullptr ? destination.name : "",
                            model != nullptr ? model : "",
                            uri != nullptr ? uri : ""});
    }
    cups.freeDests(count, destinations);
    return printers;
}

} // namespace qzb
