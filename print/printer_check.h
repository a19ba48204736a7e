#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

// A print queue of the system as the print service lists it.
struct CInstalledPrinter
{
    std::string name;
    std::string makeAndModel; // the driver's make and model
    std::string deviceUri; // the port, such as "usb://..."
};

// The system's print queues; tests stand in for the print service.
class IInstalledPrinters
{
public:
    virtual ~IInstalledPrinters() = default;
    virtual std::vector<CInstalledPrinter> Printers() const = 0;
};

// True for a queue on a USB port: its device URI begins with "usb:", in any case.
bool IsUsbPort(std::string_view deviceUri);

// While the utility holds the device, a queue of this model on a USB port cannot print to it:
// true when a queue's driver begins with the profile's printer name and its port is USB.
bool DevicePrinterOnUsb(std::span<const CInstalledPrinter> printers, std::string_view printerName);

// After printing: true when the chosen queue's port is USB and some queue's driver begins with the
// profile's printer name.
bool ChosenPrinterMayBeDevice(std::span<const CInstalledPrinter> printers,
                              std::string_view chosen,
                              std::string_view printerName);

} // namespace qzb
