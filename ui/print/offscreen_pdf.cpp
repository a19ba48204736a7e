#include "ui/print/offscreen_pdf.h"

#include "ui/print/list_painter.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>

#include <cstdio>

namespace qzb {

namespace {

// The resolution the list was drawn for.
constexpr int kPdfResolution = 600;

// The platform's notes about the session (no runtime folder, no window manager) are no news on
// the command line; only real trouble reaches stderr.
void CommandLineMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "qzbctl: %s\n", qPrintable(message));
    }
}

void EnsureGuiApplication()
{
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qInstallMessageHandler(CommandLineMessages);
    // Fonts need a GUI application; it stays until the process ends, reachable from here.
    static int argc = 1;
    static char name[] = "qzbctl";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
}

} // namespace

MessageCode WriteListsPdfOffscreen(const std::filesystem::path& path,
                                   const CPrintSource& source,
                                   const CPrintSelection& selection,
                                   std::error_code* error)
{
    EnsureGuiApplication();
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    return WriteListsPdf(path, layout, kPdfResolution, source, selection, error);
}

} // namespace qzb
