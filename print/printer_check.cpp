#include "print/printer_check.h"

#include <algorithm>
#include <cctype>

namespace qzb {

namespace {

bool DriverOfModel(const CInstalledPrinter& printer, std::string_view printerName)
{
    return !printerName.empty() && printer.makeAndModel.starts_with(printerName);
}

} // namespace

bool IsUsbPort(std::string_view deviceUri)
{
    constexpr std::string_view kScheme = "USB:";
    return deviceUri.size() >= kScheme.size() &&
           std::equal(kScheme.begin(), kScheme.end(), deviceUri.begin(), [](char wanted, char c) {
               return wanted == std::toupper(static_cast<unsigned char>(c));
           });
}

bool DevicePrinterOnUsb(std::span<const CInstalledPrinter> printers, std::string_view printerName)
{
    return std::any_of(printers.begin(), printers.end(), [&](const CInstalledPrinter& printer) {
        return DriverOfModel(printer, printerName) && IsUsbPort(printer.deviceUri);
    });
}

bool ChosenPrinterMayBeDevice(std::span<const CInstalledPrinter> printers,
                              std::string_view chosen,
                              std::string_view printerName)
{
    const auto queue = std::find_if(
        printers.begin(), printers.end(), [&](const CInstalledPrinter& printer) { return printer.name == chosen; });
    if (queue == printers.end() || !IsUsbPort(queue->deviceUri)) {
        return false;
    }
    return std::any_of(printers.begin(), printers.end(), [&](const CInstalledPrinter& printer) {
        return DriverOfModel(printer, printerName);
    });
}

} // namespace qzb
