#pragma once

#include <QWidget>

namespace qzb {

class CMessenger;
class CQZBSession;
class IInstalledPrinters;
struct CAppContext;

// The print command: the address-book lists the selection dialog chooses, on a printer or in a
// PDF file, after the print dialog and a preview.
class CPrintListsCommand
{
public:
    CPrintListsCommand(QWidget& window, CAppContext& context, CMessenger& messenger, const CQZBSession& session);

    // The print queues checked for the device's own; the system's by default.
    void SetInstalledPrinters(const IInstalledPrinters* printers) { m_printers = printers; }
    void Run();

private:
    QWidget& m_window;
    CAppContext& m_context;
    CMessenger& m_messenger;
    const CQZBSession& m_session;
    const IInstalledPrinters* m_printers = nullptr;
};

} // namespace qzb
