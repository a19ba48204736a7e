#include "ui/print/list_painter.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <cmath>

namespace qzb {

namespace {

QString FaceOnThisSystem(const QString& face)
{
    return QFontDatabase::hasFamily(face) ? face : QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

QFont CellFont(const QString& face, std::int32_t cellHeight, QPaintDevice* device)
{
    QFont font(FaceOnThisSystem(face));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(std::max(1, cellHeight));
    // A pixel size is the em; the line of most faces is taller, so shrink until it is the cell.
    const qreal line = QFontMetricsF(font, device).height();
    if (line > cellHeight) {
        font.setPixelSize(std::max(1, static_cast<int>(std::floor(cellHeight * cellHeight / line))));
    }
    return font;
}

void PaintPage(QPainter& painter, const CPrintPage& page, const CPrintFonts& fonts, std::int32_t pen)
{
    painter.setPen(QPen(Qt::black, pen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    for (const CPrintRect& frame : page.frames) {
        painter.drawRect(QRect(frame.left, frame.top, frame.width, frame.height));
    }
    for (const CPrintText& text : page.texts) {
        painter.setFont(fonts.Font(text.font));
        painter.drawText(QPoint(text.left, text.top + fonts.Ascent(text.font)), QString::fromStdU16String(text.text));
    }
}

} // namespace

CPrintFonts::CPrintFonts(const CPageGeometry& geometry, QPaintDevice* device)
    : m_device(device)
    , m_list(CellFont(QStringLiteral("Courier"), geometry.listFont, device))
    , m_small(CellFont(QStringLiteral("LinePrinter"), geometry.smallFont, device))
{
}

std::int32_t CPrintFonts::Ascent(PrintFont font) const
{
    return static_cast<std::int32_t>(std::lround(QFontMetricsF(Font(font), m_device).ascent()));
}

std::int32_t CPrintFonts::TextWidth(PrintFont font, std::u16string_view text) const
{
    const QString qtext = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
    return static_cast<std::int32_t>(std::ceil(QFontMetricsF(Font(font), m_device).horizontalAdvance(qtext)));
}

std::int32_t CPrintFonts::LineHeight(PrintFont font) const
{
    return static_cast<std::int32_t>(std::lround(QFontMetricsF(Font(font), m_device).height()));
}

CPageMetrics DeviceMetrics(const QPaintDevice& device)
{
    return {device.width(), device.height(), device.logicalDpiX(), device.logicalDpiY()};
}

bool PaintDocument(QPagedPaintDevice& device, const CPrintDocument& document, const CPrintFonts& fonts)
{
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    for (std::size_t i = 0; i < document.pages.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            return false;
        }
        PaintPage(painter, document.pages[i], fonts, document.geometry.pen);
    }
    return painter.end();
}

} // namespace qzb
