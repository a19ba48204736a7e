#include "ui/print/list_painter.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace qzb {

namespace {

QString FaceOnThisSystem(const QString& face)
{
    return QFontDatabase::hasFamily(face) ? face : QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

// The scripts of the translated lists and of names in panel code, each with the marks of the face
// names made for it: the Han characters of Japanese take their Japanese forms only from a Japanese
// face, where a face of the whole CJK range may draw the Chinese forms.
struct CListScript
{
    QFontDatabase::WritingSystem script;
    QLatin1String nameMarks[2];
};
const CListScript kListScripts[] = {
    {QFontDatabase::Latin, {}},
    {QFontDatabase::Cyrillic, {}},
    {QFontDatabase::Japanese, {QLatin1String("JP"), QLatin1String("IPA")}},
};

// A face with the script's glyphs, empty when the system has none: one made for the script before
// others, and among those a fixed-pitch one, so that the list's columns keep their look.
QString FaceForScript(const CListScript& script)
{
    QString best;
    int bestRank = -1;
    for (const QString& family : QFontDatabase::families(script.script)) {
        if (QFontDatabase::isPrivateFamily(family) || !QFontDatabase::isScalable(family)) {
            continue;
        }
        const bool madeForScript =
            std::any_of(std::begin(script.nameMarks), std::end(script.nameMarks), [&family](QLatin1String mark) {
                return !mark.isEmpty() && family.contains(mark);
            });
        const int rank = (madeForScript ? 2 : 0) + (QFontDatabase::isFixedPitch(family) ? 1 : 0);
        if (rank > bestRank) {
            best = family;
            bestRank = rank;
        }
    }
    return best;
}

// The list's face first, then for each script it lacks a face that has it: a character the face
// cannot draw is drawn with the first that can, in the printer's page and in a PDF, which embeds
// that face too. Latin texts keep the list's face alone.
QStringList FacesWithGlyphs(const QString& face)
{
    QStringList faces = {face};
    const QList<QFontDatabase::WritingSystem> own = QFontDatabase::writingSystems(face);
    for (const CListScript& script : kListScripts) {
        if (own.contains(script.script)) {
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
