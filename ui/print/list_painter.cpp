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

// The scripts of the translated lists and of names in panel code.
constexpr QFontDatabase::WritingSystem kListScripts[] = {
    QFontDatabase::Latin, QFontDatabase::Cyrillic, QFontDatabase::Japanese};

// A face with the script's glyphs, a fixed-pitch one when there is one, so that the list's columns
// keep their look; empty when the system has none.
QString FaceForScript(QFontDatabase::WritingSystem script)
{
    QString proportional;
    for (const QString& family : QFontDatabase::families(script)) {
        if (QFontDatabase::isPrivateFamily(family) || !QFontDatabase::isScalable(family)) {
            continue;
        }
        if (QFontDatabase::isFixedPitch(family)) {
            return family;
        }
        if (proportional.isEmpty()) {
            proportional = family;
        }
    }
    return proportional;
}

// The list's face first, then for each script it lacks a face that has it: a character the face
// cannot draw is drawn with the first that can, in the printer's page and in a PDF, which embeds
// that face too. Latin texts keep the list's face alone.
QStringList FacesWithGlyphs(const QString& face)
{
    QStringList faces = {face};
    const QList<QFontDatabase::WritingSystem> own = QFontDatabase::writingSystems(face);
    for (const QFontDatabase::WritingSystem script : kListScripts) {
        if (own.contains(script)) {
            continue;
        }
        const QString other = FaceForScript(script);
        if (!other.isEmpty() && !faces.contains(other)) {
            faces.append(other);
        }
    }
    return faces;
}

QFont CellFont(const QString& face, std::int32_t cellHeight, QPaintDevice* device)
{
    QFont font;
    font.setFamilies(FacesWithGlyphs(FaceOnThisSystem(face)));
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
