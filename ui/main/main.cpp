#include "ui/main/qzb_app.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    // What ends start-up without a window (help, version, a usage error) is answered before the GUI
    // starts, so that it works without a display.
    {
        const QCoreApplication plain(argc, argv);
        QCoreApplication::setApplicationName("qzb");
        qzb::CQZBOptions options;
        if (const std::optional<int> early = qzb::CQZBApp::ParseOptions(QCoreApplication::arguments(), options, true)) {
            return *early;
        }
    }
    qzb::CQZBApp app(argc, argv);
    return app.Run();
}
