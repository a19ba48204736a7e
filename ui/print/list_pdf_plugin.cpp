// The PDF writer that qzbctl print loads at run time: the list painter on a PDF writer, with a GUI
// application on the offscreen platform for the fonts.
#include "print/list_pdf_writer.h"
#include "ui/print/list_painter.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>

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

// An A4 portrait page without margins.
class CListPdfWriter final : public IListPdfWriter
{
public:
    CListPdfWriter()
    {
        m_buffer.open(QIODevice::WriteOnly);
        m_writer = std::make_unique<QPdfWriter>(&m_buffer);
        m_writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        m_writer->setResolution(kPdfResolution);
        m_writer->setCreator(QStringLiteral("qzb"));
    }

    CPageMetrics Metrics() const override { return DeviceMetrics(*m_writer); }

    const ITextMeasure& Measure(const CPageGeometry& geometry) override
    {
        m_fonts.emplace(geometry, m_writer.get());
        return *m_fonts;
    }

    bool Write(const CPrintDocument& document, std::vector<std::uint8_t>& pdf) override
    {
        if (!m_writer) {
            return false;
        }
        if (!m_fonts) {
            m_fonts.emplace(document.geometry, m_writer.get());
        }
        const bool painted = PaintDocument(*m_writer, document, *m_fonts);
        m_fonts.reset();
        m_writer.reset(); // the document is complete only once its writer is gone
        if (!painted) {
            return false;
        }
        const QByteArray& bytes = m_buffer.data();
        pdf.assign(bytes.constData(), bytes.constData() + bytes.size());
        return true;
    }

private:
    QBuffer m_buffer;
    std::unique_ptr<QPdfWriter> m_writer;
    std::optional<CPrintFonts> m_fonts;
};

} // namespace

} // namespace qzb

static_assert(std::string_view(qzb::kListPdfWriterEntry) == "qzb_create_list_pdf_writer");

extern "C" __attribute__((visibility("default"))) qzb::IListPdfWriter* qzb_create_list_pdf_writer()
{
    qzb::EnsureGuiApplication();
    return new qzb::CListPdfWriter();
}
